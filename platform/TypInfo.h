#pragma once
// Published descriptions of classes: their properties (in published order, with declared defaults),
// their published fields and handler methods, and the registry of classes by name.
// Layout files are read and written through these descriptions alone.

#include <cstdint>
#include <functional>
#include <optional>
#include <type_traits>
#include <typeindex>
#include <vector>

#include "platform/Classes.h"

namespace permora {

enum class TTypeKind { tkInteger, tkBoolean, tkEnumeration, tkSet, tkString, tkColor, tkClass, tkMethod };

// Names of an enumeration's values, value i being Names[i]; also the elements of a set type.
struct TEnumInfo {
  String TypeName;
  std::vector<String> Names;
  int ValueOf(const String& name) const;  // -1 when unknown
};

struct TMethodInfo {
  String Name;
  std::type_index EventType = typeid(void);
  // Stores a method pointer of EventType, bound to `root`, into *event.
  std::function<void(TComponent* root, void* event)> Bind;
};

struct TFieldInfo {
  String Name;
  const TClassInfo* FieldClass = nullptr;
  std::function<void(TComponent* root, TComponent* component)> Assign;
};

struct TPropInfo {
  String Name;
  TTypeKind Kind = TTypeKind::tkInteger;
  const TEnumInfo* Enum = nullptr;  // tkEnumeration: its values; tkSet: its elements

  // The declared default; a property without one is always stored.
  std::optional<int64_t> OrdDefault;   // ordinal kinds: integer, boolean, enumeration, set bits, colour
  std::optional<String> StrDefault;    // tkString
  bool HasDefault() const { return OrdDefault.has_value() || StrDefault.has_value() || Kind == TTypeKind::tkMethod; }

  // Ordinal kinds (a set as its bit mask: element i is bit i).
  std::function<int64_t(const TPersistent&)> GetOrd;
  std::function<void(TPersistent&, int64_t)> SetOrd;
  // tkString.
  std::function<String(const TPersistent&)> GetStr;
  std::function<void(TPersistent&, const String&)> SetStr;
  // tkClass: the nested object, filled in place by the reader.
  std::function<TPersistent*(const TPersistent&)> GetObject;
  // tkMethod.
  std::type_index EventType = typeid(void);
  std::function<String(const TPersistent&)> GetMethodName;            // "" when unassigned
  std::function<void(TPersistent&, TComponent* root, const TMethodInfo&)> SetMethod;

  // False for a property that layout files never hold as a property line (a component's Name,
  // which the object line carries).
  bool Stored = true;

  // True when the writer leaves the property out: it equals its declared default.
  bool IsDefault(const TPersistent& instance) const;
};

class TClassInfo {
 public:
  using Factory = std::function<TComponent*(TComponent* owner)>;

  TClassInfo(String name, const TClassInfo* parent, std::vector<TPropInfo> properties = {},
             Factory create = {}, std::vector<TMethodInfo> methods = {}, std::vector<TFieldInfo> fields = {});

  const String& Name() const { return FName; }
  const TClassInfo* Parent() const { return FParent; }
  bool InheritsFrom(const TClassInfo& other) const;

  // Published properties: the parent's first, then this class's own, in declaration order.
  std::vector<const TPropInfo*> Properties() const;
  const TPropInfo* FindProperty(const String& name) const;
  const TMethodInfo* FindMethod(const String& name) const;
  const TFieldInfo* FindField(const String& name) const;
  // Creates a component of this class; null for classes that are not components.
  TComponent* Create(TComponent* owner) const { return FCreate ? FCreate(owner) : nullptr; }
  bool CanCreate() const { return static_cast<bool>(FCreate); }

 private:
  String FName;
  const TClassInfo* FParent;
  std::vector<TPropInfo> FProperties;
  Factory FCreate;
  std::vector<TMethodInfo> FMethods;
  std::vector<TFieldInfo> FFields;
};

// The class registry that layout files create components from.
void RegisterClass(const TClassInfo& info);
const TClassInfo* FindClass(const String& name);
// Registration on a page of the design-time component palette; it registers the classes too.
void RegisterComponents(const String& page, const std::vector<const TClassInfo*>& classes);
String PalettePage(const String& className);  // "" when not on the palette

// A set of enumeration values, stored as a bit mask (value i is bit i).
template <class E>
class TSet {
 public:
  constexpr TSet() = default;
  constexpr TSet(std::initializer_list<E> values) {
    for (E v : values) FBits |= Bit(v);
  }
  static constexpr TSet FromBits(uint64_t bits) {
    TSet s;
    s.FBits = bits;
    return s;
  }
  constexpr uint64_t Bits() const { return FBits; }
  constexpr bool Contains(E v) const { return (FBits & Bit(v)) != 0; }
  constexpr TSet& Include(E v) { FBits |= Bit(v); return *this; }
  constexpr TSet& Exclude(E v) { FBits &= ~Bit(v); return *this; }
  constexpr bool Empty() const { return FBits == 0; }
  friend constexpr bool operator==(TSet a, TSet b) { return a.FBits == b.FBits; }

 private:
  static constexpr uint64_t Bit(E v) { return uint64_t{1} << static_cast<unsigned>(v); }
  uint64_t FBits = 0;
};

// Builders of property, method and field descriptions; C is the publishing class.
namespace published {

template <class C, class G, class S, class T>
TPropInfo Ordinal(String name, TTypeKind kind, G get, S set, std::optional<T> def, const TEnumInfo* info = nullptr) {
  TPropInfo p;
  p.Name = std::move(name);
  p.Kind = kind;
  p.Enum = info;
  if (def) p.OrdDefault = static_cast<int64_t>(*def);
  p.GetOrd = [get](const TPersistent& o) {
    return static_cast<int64_t>(std::invoke(get, static_cast<const C&>(o)));
  };
  p.SetOrd = [set](TPersistent& o, int64_t v) {
    using Arg = std::remove_cvref_t<decltype(std::invoke(std::declval<G>(), std::declval<const C&>()))>;
    std::invoke(set, static_cast<C&>(o), static_cast<Arg>(v));
  };
  return p;
}

template <class C, class G, class S>
TPropInfo Integer(String name, G get, S set, std::optional<int32_t> def = std::nullopt) {
  return Ordinal<C>(std::move(name), TTypeKind::tkInteger, get, set, def);
}

template <class C, class G, class S>
TPropInfo Boolean(String name, G get, S set, std::optional<bool> def = std::nullopt) {
  return Ordinal<C>(std::move(name), TTypeKind::tkBoolean, get, set, def);
}

template <class C, class E, class G, class S>
TPropInfo Enumeration(String name, const TEnumInfo& info, G get, S set, std::optional<E> def = std::nullopt) {
  return Ordinal<C>(std::move(name), TTypeKind::tkEnumeration, get, set, def, &info);
}

template <class C, class E, class G, class S>
TPropInfo Set(String name, const TEnumInfo& elements, G get, S set, std::optional<TSet<E>> def = std::nullopt) {
  TPropInfo p;
  p.Name = std::move(name);
  p.Kind = TTypeKind::tkSet;
  p.Enum = &elements;
  if (def) p.OrdDefault = static_cast<int64_t>(def->Bits());
  p.GetOrd = [get](const TPersistent& o) { return static_cast<int64_t>(std::invoke(get, static_cast<const C&>(o)).Bits()); };
  p.SetOrd = [set](TPersistent& o, int64_t v) {
    std::invoke(set, static_cast<C&>(o), TSet<E>::FromBits(static_cast<uint64_t>(v)));
  };
  return p;
}

template <class C, class G, class S>
TPropInfo Color(String name, G get, S set, std::optional<uint32_t> def = std::nullopt) {
  TPropInfo p;
  p.Name = std::move(name);
  p.Kind = TTypeKind::tkColor;
  if (def) p.OrdDefault = static_cast<int64_t>(*def);
  p.GetOrd = [get](const TPersistent& o) { return static_cast<int64_t>(static_cast<uint32_t>(std::invoke(get, static_cast<const C&>(o)))); };
  p.SetOrd = [set](TPersistent& o, int64_t v) { std::invoke(set, static_cast<C&>(o), static_cast<uint32_t>(v)); };
  return p;
}

template <class C, class G, class S>
TPropInfo Str(String name, G get, S set, std::optional<String> def = std::nullopt) {
  TPropInfo p;
  p.Name = std::move(name);
  p.Kind = TTypeKind::tkString;
  p.StrDefault = std::move(def);
  p.GetStr = [get](const TPersistent& o) { return String(std::invoke(get, static_cast<const C&>(o))); };
  p.SetStr = [set](TPersistent& o, const String& v) { std::invoke(set, static_cast<C&>(o), v); };
  return p;
}

// A nested persistent object (a font, a colour set, a bitmap) that the reader fills in place.
template <class C, class G>
TPropInfo Object(String name, G get) {
  TPropInfo p;
  p.Name = std::move(name);
  p.Kind = TTypeKind::tkClass;
  p.GetObject = [get](const TPersistent& o) -> TPersistent* { return std::invoke(get, static_cast<const C&>(o)); };
  return p;
}

template <class C, class E, class G, class S>
TPropInfo Event(String name, G get, S set) {
  TPropInfo p;
  p.Name = std::move(name);
  p.Kind = TTypeKind::tkMethod;
  p.EventType = typeid(E);
  p.GetMethodName = [get](const TPersistent& o) {
    const E& e = std::invoke(get, static_cast<const C&>(o));
    return e.Assigned() ? e.MethodName() : String();
  };
  p.SetMethod = [set](TPersistent& o, TComponent* root, const TMethodInfo& m) {
    E e;
    m.Bind(root, &e);
    std::invoke(set, static_cast<C&>(o), e);
  };
  return p;
}

// A handler that layout files may bind events to by its name.
template <class C, class... Args>
TMethodInfo Method(String name, void (C::*method)(Args...)) {
  using E = TMethodPointer<Args...>;
  TMethodInfo m;
  m.Name = name;
  m.EventType = typeid(E);
  m.Bind = [method, name](TComponent* root, void* event) {
    *static_cast<E*>(event) = E(static_cast<C*>(root), method, name);
  };
  return m;
}

// A member of the root that the reader points at the component of that name.
template <class C, class T>
TFieldInfo Field(String name, T* C::*member) {
  TFieldInfo f;
  f.Name = std::move(name);
  f.FieldClass = &T::StaticClassInfo();
  f.Assign = [member](TComponent* root, TComponent* component) {
    static_cast<C*>(root)->*member = static_cast<T*>(component);
  };
  return f;
}

// The same property, left out of layout files.
inline TPropInfo NotStored(TPropInfo p) {
  p.Stored = false;
  return p;
}

template <class C>
TClassInfo::Factory ComponentFactory() {
  return [](TComponent* owner) -> TComponent* { return new C(owner); };
}

}  // namespace published
}  // namespace permora
