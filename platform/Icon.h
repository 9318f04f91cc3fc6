#pragma once
// Windows icons (.ico) have a place in the picture formats but no reader on this platform:
// loading one fails as an invalid picture.

#include "platform/Graphics.h"

namespace permora {

class TIcon : public TGraphic {
 public:
  static const TClassInfo& StaticClassInfo();
  const TClassInfo& ClassInfo() const override { return StaticClassInfo(); }
  void Assign(const TPersistent* Source) override;
  int32_t Width() const override { return 0; }
  int32_t Height() const override { return 0; }
  void Draw(TCanvas&, const TRect&) const override {}
  // Raises EInvalidGraphic "アイコンイメージが不正です".
  void LoadFromFile(const String& fileName) override;
};

}  // namespace permora
