#pragma once
// A control that shows a picture: at its own size, centred, stretched into the control's
// rectangle or scaled keeping its proportions. An empty picture draws nothing, so whatever lies
// below shows.

#include "platform/Controls.h"
#include "platform/Picture.h"

namespace permora {

class TImage : public TGraphicControl {
 public:
  explicit TImage(TComponent* AOwner);
  ~TImage() override;
  static const TClassInfo& StaticClassInfo();
  const TClassInfo& ClassInfo() const override { return StaticClassInfo(); }

  TPicture& Picture() { return FPicture; }
  const TPicture& Picture() const { return FPicture; }
  void SetPicture(const TPicture& value) { FPicture.Assign(&value); }

  bool Stretch() const { return FStretch; }
  void SetStretch(bool value);
  bool Proportional() const { return FProportional; }
  void SetProportional(bool value);
  bool Center() const { return FCenter; }
  void SetCenter(bool value);

  // The canvas of the picture's bitmap (not of the control's area): an image without a picture
  // first gets a bitmap of the control's size. EInvalidOperation when the picture holds another
  // kind of graphic.
  TCanvas& Canvas();

  // Where the picture is drawn, in client coordinates.
  TRect DestRect() const;

 protected:
  void Paint() override;

 private:
  void PictureChanged(TObject* Sender);
  TPicture FPicture;
  bool FStretch = false;
  bool FProportional = false;
  bool FCenter = false;
};

}  // namespace permora
