#pragma once
// Windows metafiles (.wmf, .emf) have a place in the picture formats but no reader on this platform.

#include "platform/UnreadableGraphic.h"

namespace permora {

class TMetafile : public TUnreadableGraphic {
 public:
  TMetafile() : TUnreadableGraphic("メタファイルが不正です") {}
  static const TClassInfo& StaticClassInfo();
  const TClassInfo& ClassInfo() const override { return StaticClassInfo(); }
};

}  // namespace permora
