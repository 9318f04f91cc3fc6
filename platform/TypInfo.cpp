#include "platform/TypInfo.h"

#include <map>

namespace permora {

int TEnumInfo::ValueOf(const String& name) const {
  for (std::size_t i = 0; i < Names.size(); ++i)
    if (Names[i] == name) return static_cast<int>(i);
  return -1;
}

bool TPropInfo::IsDefault(const TPersistent& instance) const {
  switch (Kind) {
    case TTypeKind::tkString:
      return StrDefault && GetStr(instance) == *StrDefault;
    case TTypeKind::tkClass:
      return false;
    case TTypeKind::tkMethod:
      return GetMethodName(instance).empty();
    default:
      return OrdDefault && GetOrd(instance) == *OrdDefault;
  }
}

TClassInfo::TClassInfo(String name, const TClassInfo* parent, std::vector<TPropInfo> properties, Factory create,
                       std::vector<TMethodInfo> methods, std::vector<TFieldInfo> fields)
    : FName(std::move(name)),
      FParent(parent),
      FProperties(std::move(properties)),
      FCreate(std::move(create)),
      FMethods(std::move(methods)),
      FFields(std::move(fields)) {}

bool TClassInfo::InheritsFrom(const TClassInfo& other) const {
  for (const TClassInfo* c = this; c; c = c->FParent)
    if (c == &other) return true;
  return false;
}

std::vector<const TPropInfo*> TClassInfo::Properties() const {
  std::vector<const TPropInfo*> result = FParent ? FParent->Properties() : std::vector<const TPropInfo*>();
  for (const TPropInfo& p : FProperties) result.push_back(&p);
  return result;
}

const TPropInfo* TClassInfo::FindProperty(const String& name) const {
  for (const TClassInfo* c = this; c; c = c->FParent)
    for (const TPropInfo& p : c->FProperties)
      if (p.Name == name) return &p;
  return nullptr;
}

const TMethodInfo* TClassInfo::FindMethod(const String& name) const {
  for (const TClassInfo* c = this; c; c = c->FParent)
    for (const TMethodInfo& m : c->FMethods)
      if (m.Name == name) return &m;
  return nullptr;
}

const TFieldInfo* TClassInfo::FindField(const String& name) const {
  for (const TClassInfo* c = this; c; c = c->FParent)
    for (const TFieldInfo& f : c->FFields)
      if (f.Name == name) return &f;
  return nullptr;
}

namespace {

struct Registry {
  std::map<String, const TClassInfo*> classes;
  std::map<String, String> pages;
};

Registry& TheRegistry() {
  static Registry registry;
  return registry;
}

}  // namespace

void RegisterClass(const TClassInfo& info) { TheRegistry().classes[info.Name()] = &info; }

const TClassInfo* FindClass(const String& name) {
  const auto& classes = TheRegistry().classes;
  const auto it = classes.find(name);
  return it == classes.end() ? nullptr : it->second;
}

void RegisterComponents(const String& page, const std::vector<const TClassInfo*>& classes) {
  for (const TClassInfo* info : classes) {
    RegisterClass(*info);
    TheRegistry().pages[info->Name()] = page;
  }
}

String PalettePage(const String& className) {
  const auto& pages = TheRegistry().pages;
  const auto it = pages.find(className);
  return it == pages.end() ? String() : it->second;
}

}  // namespace permora
