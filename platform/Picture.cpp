#include "platform/Picture.h"

#include <vector>

#include "platform/Icon.h"
#include "platform/JPEG.h"
#include "platform/Metafile.h"

namespace permora {
namespace {

struct TFileFormat {
  String Extension;
  String Description;
  TPicture::TGraphicFactory Create;
  const TClassInfo* Class;
};

template <class G>
TFileFormat Format(const char* extension, const char* description) {
  return {extension, description, [] { return std::make_unique<G>(); }, &G::StaticClassInfo()};
}

// In the order of registration; later entries win.
std::vector<TFileFormat>& FileFormats() {
  static std::vector<TFileFormat> formats{
      Format<TMetafile>("wmf", "Metafiles"),     Format<TMetafile>("emf", "Enhanced Metafiles"),
      Format<TIcon>("ico", "Icons"),              Format<TBitmap>("bmp", "Bitmaps"),
      Format<TJPEGImage>("jpeg", "JPEG Image File"), Format<TJPEGImage>("jpg", "JPEG Image File"),
  };
  return formats;
}

const TFileFormat* FormatForExtension(const String& extension) {
  const String lower = LowerCaseAscii(extension);
  const auto& formats = FileFormats();
  for (auto it = formats.rbegin(); it != formats.rend(); ++it)
    if (it->Extension == lower) return &*it;
  return nullptr;
}

// A new, empty graphic of the same class as `graphic`, from the formats' factories.
std::unique_ptr<TGraphic> NewGraphicLike(const TGraphic& graphic) {
  for (const TFileFormat& format : FileFormats())
    if (format.Class == &graphic.ClassInfo()) return format.Create();
  return nullptr;
}

}  // namespace

TPicture::TPicture() = default;

TPicture::~TPicture() = default;

const TClassInfo& TPicture::StaticClassInfo() {
  static const TClassInfo info("TPicture", &TPersistent::StaticClassInfo());
  return info;
}

void TPicture::RegisterFileFormat(const String& extension, const String& description, TGraphicFactory factory) {
  const std::unique_ptr<TGraphic> sample = factory();
  FileFormats().push_back({LowerCaseAscii(extension), description, std::move(factory), &sample->ClassInfo()});
}

void TPicture::SetGraphic(std::unique_ptr<TGraphic> graphic) {
  FGraphic = std::move(graphic);
  if (FGraphic) FGraphic->OnChange = TNotifyEvent(this, &TPicture::GraphicChanged);
  Changed();
}

TBitmap& TPicture::Bitmap() {
  if (!FGraphic || !FGraphic->InheritsFrom(TBitmap::StaticClassInfo())) SetGraphic(std::make_unique<TBitmap>());
  return static_cast<TBitmap&>(*FGraphic);
}

void TPicture::LoadFromFile(const String& fileName) {
  const String dotted = ExtractFileExt(fileName);
  const String extension = dotted.empty() ? String() : dotted.substr(1);
  const TFileFormat* format = FormatForExtension(extension);
  if (!format) throw EInvalidGraphic(FormatMessage(messages::UnknownExtension, DisplayableText(extension)));
  std::unique_ptr<TGraphic> graphic = format->Create();
  graphic->LoadFromFile(fileName);
  SetGraphic(std::move(graphic));
}

void TPicture::SaveToFile(const String& fileName) const {
  if (!FGraphic) throw EInvalidGraphic(FormatMessage(messages::FileCreate, DisplayableText(fileName)));
  FGraphic->SaveToFile(fileName);
}

void TPicture::Assign(const TPersistent* Source) {
  if (Source == nullptr) {
    SetGraphic(nullptr);
    return;
  }
  if (Source == this) return;
  const TGraphic* graphic = nullptr;
  if (Source->InheritsFrom(TPicture::StaticClassInfo()))
    graphic = static_cast<const TPicture&>(*Source).Graphic();
  else if (Source->InheritsFrom(TGraphic::StaticClassInfo()))
    graphic = static_cast<const TGraphic*>(Source);
  else
    TPersistent::Assign(Source);
  if (!graphic) {
    SetGraphic(nullptr);
    return;
  }
  std::unique_ptr<TGraphic> copy = NewGraphicLike(*graphic);
  if (!copy) AssignError(Source);
  copy->Assign(graphic);
  SetGraphic(std::move(copy));
}

void TPicture::GraphicChanged(TObject*) { Changed(); }

void TPicture::Changed() {
  if (OnChange) OnChange(this);
}

}  // namespace permora
