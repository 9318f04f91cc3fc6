#include "platform/Image.h"

namespace permora {

TImage::TImage(TComponent* AOwner) : TGraphicControl(AOwner) {
  SetBounds(0, 0, 105, 105);
  FPicture.OnChange = TNotifyEvent(this, &TImage::PictureChanged);
}

TImage::~TImage() { FPicture.OnChange = nullptr; }

const TClassInfo& TImage::StaticClassInfo() {
  namespace p = published;
  static const TClassInfo info("TImage", &TGraphicControl::StaticClassInfo(),
                               {
                                   TControl::PublishedProperty("Left"),
                                   TControl::PublishedProperty("Top"),
                                   TControl::PublishedProperty("Width"),
                                   TControl::PublishedProperty("Height"),
                                   p::Boolean<TImage>("Center", &TImage::Center, &TImage::SetCenter, false),
                                   p::Boolean<TImage>("Proportional", &TImage::Proportional, &TImage::SetProportional,
                                                      false),
                                   p::Boolean<TImage>("Stretch", &TImage::Stretch, &TImage::SetStretch, false),
                                   TControl::PublishedProperty("Visible"),
                                   TControl::PublishedProperty("OnClick"),
                                   TControl::PublishedProperty("OnDblClick"),
                                   TControl::PublishedProperty("OnMouseDown"),
                                   TControl::PublishedProperty("OnMouseMove"),
                                   TControl::PublishedProperty("OnMouseUp"),
                               },
                               published::ComponentFactory<TImage>());
  return info;
}

void TImage::SetStretch(bool value) {
  if (value == FStretch) return;
  FStretch = value;
  Invalidate();
}

void TImage::SetProportional(bool value) {
  if (value == FProportional) return;
  FProportional = value;
  Invalidate();
}

void TImage::SetCenter(bool value) {
  if (value == FCenter) return;
  FCenter = value;
  Invalidate();
}

void TImage::PictureChanged(TObject*) { Invalidate(); }

TCanvas& TImage::Canvas() {
  TGraphic* graphic = FPicture.Graphic();
  if (!graphic) {
    TBitmap& bitmap = FPicture.Bitmap();
    bitmap.SetSize(Width(), Height());
    return bitmap.Canvas();
  }
  if (!graphic->InheritsFrom(TBitmap::StaticClassInfo()))
    throw EInvalidOperation("Can only modify an image if it contains a bitmap");
  return static_cast<TBitmap*>(graphic)->Canvas();
}

TRect TImage::DestRect() const {
  int64_t w = FPicture.Width();
  int64_t h = FPicture.Height();
  const int64_t cw = ClientRect().Width();
  const int64_t ch = ClientRect().Height();
  const bool larger = w > cw || h > ch;
  if (FStretch || (FProportional && larger)) {
    if (FProportional && w > 0 && h > 0) {
      // The largest size of the picture's proportions that fits.
      if (cw * h <= ch * w) {
        h = h * cw / w;
        w = cw;
      } else {
        w = w * ch / h;
        h = ch;
      }
    } else {
      w = cw;
      h = ch;
    }
  }
  int64_t x = 0;
  int64_t y = 0;
  if (FCenter) {
    x = (cw - w) / 2;
    y = (ch - h) / 2;
  }
  return Bounds(static_cast<int32_t>(x), static_cast<int32_t>(y), static_cast<int32_t>(w), static_cast<int32_t>(h));
}

void TImage::Paint() {
  const TGraphic* graphic = FPicture.Graphic();
  if (!graphic || graphic->Empty()) return;
  graphic->Draw(TGraphicControl::Canvas(), DestRect());
}

}  // namespace permora
