#pragma once
// A picture format that has a place in the format table but no reader on this platform:
// loading a file of it fails as an invalid picture, after the file was found readable.

#include "platform/Graphics.h"

namespace permora {

class TUnreadableGraphic : public TGraphic {
 public:
  static const TClassInfo& StaticClassInfo();
  const TClassInfo& ClassInfo() const override { return StaticClassInfo(); }
  void Assign(const TPersistent* Source) override;
  int32_t Width() const override { return 0; }
  int32_t Height() const override { return 0; }
  void Draw(TCanvas&, const TRect&) const override {}
  // Raises EFOpenError when the file cannot be read, else EInvalidGraphic with the format's message.
  void LoadFromFile(const String& fileName) override;

 protected:
  explicit TUnreadableGraphic(String invalidMessage) : FInvalidMessage(std::move(invalidMessage)) {}

 private:
  String FInvalidMessage;
};

}  // namespace permora
