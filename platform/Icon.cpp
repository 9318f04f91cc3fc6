#include "platform/Icon.h"

#include "platform/SystemFiles.h"

namespace permora {

const TClassInfo& TIcon::StaticClassInfo() {
  static const TClassInfo info("TIcon", &TGraphic::StaticClassInfo());
  return info;
}

void TIcon::Assign(const TPersistent* Source) {
  if (Source && Source->InheritsFrom(TIcon::StaticClassInfo())) return;
  TGraphic::Assign(Source);
}

void TIcon::LoadFromFile(const String& fileName) {
  // The file must be there and readable like any other picture; its content is not understood.
  SystemFiles().ReadRegularFile(fileName);
  throw EInvalidGraphic("アイコンイメージが不正です");
}

}  // namespace permora
