#include "platform/Classes.h"

#include <algorithm>

#include "platform/TypInfo.h"

namespace permora {

const TClassInfo& TObject::StaticClassInfo() {
  static const TClassInfo info("TObject", nullptr);
  return info;
}

const TClassInfo& TObject::ClassInfo() const { return StaticClassInfo(); }

const String& TObject::ClassName() const { return ClassInfo().Name(); }

bool TObject::InheritsFrom(const TClassInfo& info) const { return ClassInfo().InheritsFrom(info); }

const TClassInfo& TPersistent::StaticClassInfo() {
  static const TClassInfo info("TPersistent", &TObject::StaticClassInfo());
  return info;
}

void TPersistent::Assign(const TPersistent* Source) {
  if (Source == nullptr) AssignError(nullptr);
  Source->AssignTo(this);
}

void TPersistent::ReadPictureData(const std::vector<String>&) {
  throw EReadError(ClassName() + " has no picture data");
}

void TPersistent::AssignTo(TPersistent* Dest) const { Dest->AssignError(this); }

void TPersistent::AssignError(const TPersistent* Source) const {
  const String sourceName = Source ? Source->ClassName() : String("nil");
  throw EAssignError(FormatMessage(FormatMessage(messages::AssignError, sourceName), ClassName()));
}

const TClassInfo& TComponent::StaticClassInfo() {
  using namespace published;
  static const TClassInfo info("TComponent", &TPersistent::StaticClassInfo(),
                               {
                                   // The object line of a layout file holds the name.
                                   NotStored(Str<TComponent>("Name", &TComponent::Name, &TComponent::SetName)),
                                   Integer<TComponent>("Tag", &TComponent::Tag, &TComponent::SetTag, 0),
                               });
  return info;
}

TComponent::TComponent(TComponent* AOwner) {
  if (AOwner) AOwner->InsertComponent(this);
}

TComponent::~TComponent() {
  FDestroying = true;
  DestroyComponents();
  if (FOwner) FOwner->RemoveComponent(this);
}

void TComponent::DestroyComponents() {
  // The last created goes first; each one takes itself off the list as it goes.
  while (!FComponents.empty()) delete FComponents.back();
}

TComponent* TComponent::FindComponent(const String& name) const {
  if (name.empty()) return nullptr;
  for (TComponent* c : FComponents)
    if (c->FName == name) return c;
  return nullptr;
}

void TComponent::SetName(const String& value) { FName = value; }

void TComponent::SetParentComponent(TComponent*) {}

void TComponent::Loaded() { FLoading = false; }

void TComponent::InsertComponent(TComponent* component) {
  component->FOwner = this;
  FComponents.push_back(component);
}

void TComponent::RemoveComponent(TComponent* component) {
  auto it = std::find(FComponents.begin(), FComponents.end(), component);
  if (it != FComponents.end()) FComponents.erase(it);
  component->FOwner = nullptr;
}

}  // namespace permora
