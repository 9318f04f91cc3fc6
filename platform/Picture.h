#pragma once
// A picture of any registered format: holds at most one graphic and loads files by extension.

#include <functional>
#include <memory>

#include "platform/Graphics.h"

namespace permora {

class TPicture : public TPersistent {
 public:
  using TGraphicFactory = std::function<std::unique_ptr<TGraphic>()>;

  TPicture();
  ~TPicture() override;
  static const TClassInfo& StaticClassInfo();
  const TClassInfo& ClassInfo() const override { return StaticClassInfo(); }

  // Null when the picture is empty.
  TGraphic* Graphic() const { return FGraphic.get(); }
  // Takes the graphic (null empties the picture).
  void SetGraphic(std::unique_ptr<TGraphic> graphic);
  // The graphic as a bitmap; a picture that holds no bitmap gets a new, empty one first.
  TBitmap& Bitmap();
  int32_t Width() const { return FGraphic ? FGraphic->Width() : 0; }
  int32_t Height() const { return FGraphic ? FGraphic->Height() : 0; }

  // Loads the file with the graphic class registered for its extension (the characters after
  // the last dot, compared in lower case; the most recently registered match wins). The new
  // graphic replaces the old one only once it has loaded. "拡張子 .%s の画像形式は処理できません"
  // (EInvalidGraphic) when no class is registered for the extension.
  void LoadFromFile(const String& fileName);
  // Raises EInvalidGraphic when the picture is empty.
  void SaveToFile(const String& fileName) const;

  // Takes a copy of a TPicture's or a TGraphic's picture; null empties.
  void Assign(const TPersistent* Source) override;

  // Adds a format: files with this extension (lower case, no dot) load into factory's graphics.
  static void RegisterFileFormat(const String& extension, const String& description, TGraphicFactory factory);

  // Raised when the graphic is replaced or changes.
  TNotifyEvent OnChange;

 private:
  void GraphicChanged(TObject* Sender);
  void Changed();
  std::unique_ptr<TGraphic> FGraphic;
};

}  // namespace permora
