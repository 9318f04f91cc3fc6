#pragma once
// Windows icons (.ico) have a place in the picture formats but no reader on this platform.

#include "platform/UnreadableGraphic.h"

namespace permora {

class TIcon : public TUnreadableGraphic {
 public:
  TIcon() : TUnreadableGraphic("アイコンイメージが不正です") {}
  static const TClassInfo& StaticClassInfo();
  const TClassInfo& ClassInfo() const override { return StaticClassInfo(); }
};

}  // namespace permora
