#include "platform/Icon.h"

namespace permora {

const TClassInfo& TIcon::StaticClassInfo() {
  static const TClassInfo info("TIcon", &TUnreadableGraphic::StaticClassInfo());
  return info;
}

}  // namespace permora
