#pragma once
// Objects, persistent objects, components and their events: the ground of the class library.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <deque>
#include <typeindex>
#include <vector>

#include "platform/SysUtils.h"

namespace permora {

class TClassInfo;
class TComponent;

class TObject {
 public:
  virtual ~TObject() = default;
  TObject() = default;
  TObject(const TObject&) = delete;
  TObject& operator=(const TObject&) = delete;

  // The class's published description: its name, parent class and published properties.
  virtual const TClassInfo& ClassInfo() const;
  static const TClassInfo& StaticClassInfo();
  const String& ClassName() const;
  // True when this object's class is `info` or derives from it.
  bool InheritsFrom(const TClassInfo& info) const;
};

// A method pointer: an object plus one of its handlers, as a component's event holds it.
// `var` parameters of a handler are references.
template <class... Args>
class TMethodPointer {
 public:
  TMethodPointer() = default;
  TMethodPointer(std::nullptr_t) {}
  template <class C>
  TMethodPointer(C* object, void (C::*method)(Args...), String name = {})
      : FData(object),
        FName(std::move(name)),
        FIdentity(MethodIdentity(method)),
        FCode([object, method](Args... args) { (object->*method)(std::forward<Args>(args)...); }) {}

  bool Assigned() const { return static_cast<bool>(FCode); }
  explicit operator bool() const { return Assigned(); }
  void operator()(Args... args) const { FCode(std::forward<Args>(args)...); }

  // The object whose method this is, and the handler's published name (empty when bound in code).
  const void* Data() const { return FData; }
  const String& MethodName() const { return FName; }

  friend bool operator==(const TMethodPointer& a, const TMethodPointer& b) {
    return a.FData == b.FData && a.FIdentity == b.FIdentity;
  }

 private:
  template <class M>
  static String MethodIdentity(M method) {
    return String(reinterpret_cast<const char*>(&method), sizeof method);
  }

  const void* FData = nullptr;
  String FName;
  String FIdentity;
  std::function<void(Args...)> FCode;
};

template <class... Args>
bool Assigned(const TMethodPointer<Args...>& event) {
  return event.Assigned();
}

using TNotifyEvent = TMethodPointer<TObject*>;

// An object whose values can be copied into another (Assign) and streamed in layout files.
class TPersistent : public TObject {
 public:
  static const TClassInfo& StaticClassInfo();
  const TClassInfo& ClassInfo() const override { return StaticClassInfo(); }

  // Takes the values of Source; a source that this class cannot take from raises EAssignError.
  virtual void Assign(const TPersistent* Source);

  // Picture data: values that a class streams as one block of text lines of its own making (a
  // bitmap's size, format and pixels), stored in layout files as the object's "Data".
  // True when the class has picture data; the default has none.
  virtual bool DefinesPictureData() const { return false; }
  // The lines to store; none when the object is in its empty state and nothing need be stored.
  virtual std::vector<String> WritePictureData() const { return {}; }
  // Takes the lines that WritePictureData made; bad data raises EReadError and changes nothing.
  virtual void ReadPictureData(const std::vector<String>& lines);

 protected:
  // Gives this object's values to Dest; the default refuses with EAssignError.
  virtual void AssignTo(TPersistent* Dest) const;
  [[noreturn]] void AssignError(const TPersistent* Source) const;
  friend class TPersistentAccess;
};

enum class TComponentState : uint8_t { csLoading = 1, csDestroying = 2 };

// A persistent object with an owner. The owner frees its components, the last created first.
class TComponent : public TPersistent {
 public:
  explicit TComponent(TComponent* AOwner);
  ~TComponent() override;

  static const TClassInfo& StaticClassInfo();
  const TClassInfo& ClassInfo() const override { return StaticClassInfo(); }

  TComponent* Owner() const { return FOwner; }
  int ComponentCount() const { return static_cast<int>(FComponents.size()); }
  TComponent* Components(int index) const { return FComponents.at(static_cast<std::size_t>(index)); }
  TComponent* FindComponent(const String& name) const;

  const String& Name() const { return FName; }
  virtual void SetName(const String& value);
  int32_t Tag() const { return FTag; }
  void SetTag(int32_t value) { FTag = value; }

  // A layout file names the component that encloses this one; controls take it as their parent.
  virtual void SetParentComponent(TComponent* parent);
  // The component that encloses this one in a layout file (the control's parent); null: the root.
  virtual TComponent* GetParentComponent() const { return nullptr; }

  // Frees the owned components now, the last created first. A class whose components refer back
  // to parts of it calls this first in its destructor, while those parts still exist.
  void DestroyComponents();

  bool Loading() const { return FLoading; }
  bool Destroying() const { return FDestroying; }
  // Called once a layout file has given the component all its stored values.
  virtual void Loaded();

 private:
  friend class TLayoutReader;
  void InsertComponent(TComponent* component);
  void RemoveComponent(TComponent* component);

  TComponent* FOwner = nullptr;
  std::vector<TComponent*> FComponents;
  String FName;
  int32_t FTag = 0;
  bool FLoading = false;
  bool FDestroying = false;
};

// An ordered list of strings, as the platform's components keep them.
class TStringList : public TPersistent {
 public:
  int Count() const { return static_cast<int>(FItems.size()); }
  const String& Strings(int index) const { return FItems.at(static_cast<std::size_t>(index)); }
  int Add(const String& s) {
    FItems.push_back(s);
    return Count() - 1;
  }
  void Delete(int index) { FItems.erase(FItems.begin() + index); }
  void Clear() { FItems.clear(); }

 private:
  // Searches take their queue from the front, so removal there must be cheap.
  std::deque<String> FItems;
};

}  // namespace permora
