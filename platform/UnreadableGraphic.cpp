#include "platform/UnreadableGraphic.h"

#include "platform/SystemFiles.h"

namespace permora {

const TClassInfo& TUnreadableGraphic::StaticClassInfo() {
  static const TClassInfo info("TUnreadableGraphic", &TGraphic::StaticClassInfo());
  return info;
}

void TUnreadableGraphic::Assign(const TPersistent* Source) {
  // Nothing is ever loaded, so another empty picture of the same class has nothing to give.
  if (Source && Source->InheritsFrom(ClassInfo())) return;
  TGraphic::Assign(Source);
}

void TUnreadableGraphic::LoadFromFile(const String& fileName) {
  // The file must be there and readable like any other picture; its content is not understood.
  SystemFiles().ReadRegularFile(fileName);
  throw EInvalidGraphic(FInvalidMessage);
}

}  // namespace permora
