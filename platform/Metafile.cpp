#include "platform/Metafile.h"

namespace permora {

const TClassInfo& TMetafile::StaticClassInfo() {
  static const TClassInfo info("TMetafile", &TUnreadableGraphic::StaticClassInfo());
  return info;
}

}  // namespace permora
