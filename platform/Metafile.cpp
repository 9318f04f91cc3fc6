#include "platform/Metafile.h"

#include "platform/SystemFiles.h"

namespace permora {

const TClassInfo& TMetafile::StaticClassInfo() {
  static const TClassInfo info("TMetafile", &TGraphic::StaticClassInfo());
  return info;
}

void TMetafile::Assign(const TPersistent* Source) {
  if (Source && Source->InheritsFrom(TMetafile::StaticClassInfo())) return;
  TGraphic::Assign(Source);
}

void TMetafile::LoadFromFile(const String& fileName) {
  // The file must be there and readable like any other picture; its content is not understood.
  SystemFiles().ReadRegularFile(fileName);
  throw EInvalidGraphic("メタファイルが不正です");
}

}  // namespace permora
