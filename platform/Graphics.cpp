#include "platform/Graphics.h"

#include <algorithm>
#include <charconv>
#include <map>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace permora {

// ---- Colours -------------------------------------------------------------------------------------

namespace {

class TClassicSystemColors final : public ISystemColors {
 public:
  TColor SysColor(int n) const override {
    // red, green, blue of the classic Windows scheme
    static constexpr uint8_t table[25][3] = {
        {192, 192, 192}, {0, 128, 128},   {0, 0, 128},     {128, 128, 128}, {192, 192, 192},
        {255, 255, 255}, {0, 0, 0},       {0, 0, 0},       {0, 0, 0},       {255, 255, 255},
        {192, 192, 192}, {192, 192, 192}, {128, 128, 128}, {0, 0, 128},     {255, 255, 255},
        {192, 192, 192}, {128, 128, 128}, {128, 128, 128}, {0, 0, 0},       {192, 192, 192},
        {255, 255, 255}, {0, 0, 0},       {192, 192, 192}, {0, 0, 0},       {255, 255, 225},
    };
    if (n < 0 || n >= 25) return clBlack;
    const auto* c = table[n];
    return static_cast<TColor>(c[0]) | static_cast<TColor>(c[1]) << 8 | static_cast<TColor>(c[2]) << 16;
  }
};

const ISystemColors* gSystemColors = nullptr;
const ITextRenderer* gTextRenderer = nullptr;

struct TColorName {
  TColor Color;
  const char* Name;
};

constexpr TColorName kColorNames[] = {
    {clBlack, "clBlack"},
    {clMaroon, "clMaroon"},
    {clGreen, "clGreen"},
    {clOlive, "clOlive"},
    {clNavy, "clNavy"},
    {clPurple, "clPurple"},
    {clTeal, "clTeal"},
    {clGray, "clGray"},
    {clSilver, "clSilver"},
    {clRed, "clRed"},
    {clLime, "clLime"},
    {clYellow, "clYellow"},
    {clBlue, "clBlue"},
    {clFuchsia, "clFuchsia"},
    {clAqua, "clAqua"},
    {clWhite, "clWhite"},
    {clNone, "clNone"},
    {clDefault, "clDefault"},
    {clScrollBar, "clScrollBar"},
    {clBackground, "clBackground"},
    {clActiveCaption, "clActiveCaption"},
    {clInactiveCaption, "clInactiveCaption"},
    {clMenu, "clMenu"},
    {clWindow, "clWindow"},
    {clWindowFrame, "clWindowFrame"},
    {clMenuText, "clMenuText"},
    {clWindowText, "clWindowText"},
    {clCaptionText, "clCaptionText"},
    {clActiveBorder, "clActiveBorder"},
    {clInactiveBorder, "clInactiveBorder"},
    {clAppWorkSpace, "clAppWorkSpace"},
    {clHighlight, "clHighlight"},
    {clHighlightText, "clHighlightText"},
    {clBtnFace, "clBtnFace"},
    {clBtnShadow, "clBtnShadow"},
    {clGrayText, "clGrayText"},
    {clBtnText, "clBtnText"},
    {clInactiveCaptionText, "clInactiveCaptionText"},
    {clBtnHighlight, "clBtnHighlight"},
    {cl3DDkShadow, "cl3DDkShadow"},
    {cl3DLight, "cl3DLight"},
    {clInfoText, "clInfoText"},
    {clInfoBk, "clInfoBk"},
};

}  // namespace

const ISystemColors& ClassicSystemColors() {
  static const TClassicSystemColors classic;
  return classic;
}

void SetSystemColors(const ISystemColors* colors) { gSystemColors = colors; }

TColor ColorToRGB(TColor color) {
  if ((color & 0x80000000u) == 0) return color;
  const ISystemColors& colors = gSystemColors ? *gSystemColors : ClassicSystemColors();
  // All of the low 31 bits name the system colour: 0x80000105 is colour 261 (none, so black),
  // not colour 5.
  const uint32_t n = color & 0x7FFFFFFFu;
  if (n > 0xFFFFu) return clBlack;
  return colors.SysColor(static_cast<int>(n)) & 0x00FFFFFFu;
}

uint32_t ColorToPixelValue(TColor color) {
  const TColor rgb = ColorToRGB(color);
  return (rgb & 0xFFu) << 16 | (rgb & 0xFF00u) | (rgb >> 16 & 0xFFu);
}

TColor PixelToColor(uint32_t pixel) { return (pixel & 0xFFu) << 16 | (pixel & 0xFF00u) | (pixel >> 16 & 0xFFu); }

String ColorToString(TColor color) {
  for (const auto& n : kColorNames)
    if (n.Color == color) return n.Name;
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "$%08X", color);
  return buffer;
}

bool StringToColor(const String& text, TColor& color) {
  for (const auto& n : kColorNames)
    if (text == n.Name) {
      color = n.Color;
      return true;
    }
  // Only "$" and hex digits, or decimal digits with an optional "-": no blanks, "+" or "0x".
  if (text.empty()) return false;
  const bool hex = text[0] == '$';
  const char* first = text.data() + (hex ? 1 : 0);
  const char* last = text.data() + text.size();
  if (first == last || (hex && *first == '-')) return false;
  int64_t value = 0;
  const auto [end, error] = std::from_chars(first, last, value, hex ? 16 : 10);
  if (error != std::errc() || end != last || value < INT32_MIN || value > int64_t{0xFFFFFFFF}) return false;
  color = static_cast<TColor>(value);
  return true;
}

TRect IntersectRect(const TRect& a, const TRect& b) {
  TRect r{std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right), std::min(a.Bottom, b.Bottom)};
  if (r.IsEmpty()) return TRect{};
  return r;
}

// ---- Fonts ---------------------------------------------------------------------------------------

const TEnumInfo& FontStyleInfo() {
  static const TEnumInfo info{"TFontStyle", {"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"}};
  return info;
}

TFont::TFont()
    : FName("ＭＳ Ｐゴシック"), FHeight(-12), FColor(clWindowText), FCharset(SHIFTJIS_CHARSET) {}

const TClassInfo& TFont::StaticClassInfo() {
  namespace p = published;
  static const TClassInfo info("TFont", &TPersistent::StaticClassInfo(),
                               {
                                   p::Integer<TFont>("Charset", [](const TFont& f) { return int32_t{f.Charset()}; },
                                                  [](TFont& f, int32_t v) { f.SetCharset(static_cast<TFontCharset>(v)); }),
                                   p::Color<TFont>("Color", &TFont::Color, &TFont::SetColor),
                                   p::Integer<TFont>("Height", &TFont::Height, &TFont::SetHeight),
                                   p::Str<TFont>("Name", &TFont::Name, &TFont::SetName),
                                   p::Set<TFont, TFontStyle>("Style", FontStyleInfo(), &TFont::Style, &TFont::SetStyle),
                               });
  return info;
}

void TFont::Assign(const TPersistent* Source) {
  if (Source && Source->InheritsFrom(TFont::StaticClassInfo())) {
    const auto& f = static_cast<const TFont&>(*Source);
    FName = f.FName;
    FHeight = f.FHeight;
    FStyle = f.FStyle;
    FColor = f.FColor;
    FCharset = f.FCharset;
    Changed();
    return;
  }
  TPersistent::Assign(Source);
}

void TFont::SetName(const String& value) {
  if (value == FName) return;
  FName = value;
  Changed();
}

void TFont::SetHeight(int32_t value) {
  if (value == FHeight) return;
  FHeight = value;
  Changed();
}

namespace {

// a * b / c rounded to the nearest, halves away from zero (c > 0), as points and pixels convert.
int32_t MulDiv(int64_t a, int64_t b, int64_t c) {
  const int64_t product = a * b;
  return static_cast<int32_t>((product >= 0 ? product + c / 2 : product - c / 2) / c);
}

}  // namespace

int32_t TFont::Size() const { return -MulDiv(FHeight, 72, 96); }

void TFont::SetSize(int32_t value) { SetHeight(-MulDiv(value, 96, 72)); }

void TFont::SetStyle(TFontStyles value) {
  if (value == FStyle) return;
  FStyle = value;
  Changed();
}

void TFont::SetColor(TColor value) {
  if (value == FColor) return;
  FColor = value;
  Changed();
}

void TFont::SetCharset(TFontCharset value) {
  if (value == FCharset) return;
  FCharset = value;
  Changed();
}

void TFont::Changed() {
  if (OnChange) OnChange(this);
}

String SubstituteFontFamily(const String& name) {
  if (name == "ＭＳ Ｐゴシック") return "IPAPGothic";
  if (name == "ＭＳ ゴシック") return "IPAGothic";
  if (name == "MS Sans Serif" || name == "Tahoma") return "DejaVu Sans";
  return name;
}

// ---- Graphics and bitmaps --------------------------------------------------------------------------

const TClassInfo& TGraphic::StaticClassInfo() {
  static const TClassInfo info("TGraphic", &TPersistent::StaticClassInfo());
  return info;
}

void TGraphic::SaveToFile(const String& fileName) const {
  throw EInvalidGraphic(FormatMessage(messages::FileCreate, DisplayableText(fileName)));
}

void TGraphic::Changed() {
  if (OnChange) OnChange(this);
}

TBitmap::TBitmap() = default;

TBitmap::TBitmap(int32_t width, int32_t height) { SetSize(width, height); }

TBitmap::~TBitmap() = default;

const TClassInfo& TBitmap::StaticClassInfo() {
  static const TClassInfo info("TBitmap", &TGraphic::StaticClassInfo());
  return info;
}

void TBitmap::Assign(const TPersistent* Source) {
  if (Source && Source->InheritsFrom(TBitmap::StaticClassInfo())) {
    const auto& b = static_cast<const TBitmap&>(*Source);
    if (&b == this) return;
    FWidth = b.FWidth;
    FHeight = b.FHeight;
    FPixels = b.FPixels;
    FPixelFormat = b.FPixelFormat;
    FHandleType = b.FHandleType;
    FTransparent = b.FTransparent;
    FTransparentColor = b.FTransparentColor;
    FTransparentMode = b.FTransparentMode;
    Changed();
    return;
  }
  if (Source && Source->InheritsFrom(TGraphic::StaticClassInfo())) {
    // Any other picture is drawn onto a bitmap of its size.
    const auto& g = static_cast<const TGraphic&>(*Source);
    FWidth = g.Width();
    FHeight = g.Height();
    FPixels.assign(static_cast<std::size_t>(FWidth) * static_cast<std::size_t>(FHeight), 0x00FFFFFFu);
    if (!g.Empty()) {
      TCanvas canvas(*this);
      g.Draw(canvas, Rect(0, 0, FWidth, FHeight));
    }
    Changed();
    return;
  }
  TGraphic::Assign(Source);
}

void TBitmap::SetSize(int32_t width, int32_t height) {
  width = std::max(width, 0);
  height = std::max(height, 0);
  if (width == FWidth && height == FHeight) return;
  std::vector<uint32_t> pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0);
  const int32_t keepW = std::min(width, FWidth);
  const int32_t keepH = std::min(height, FHeight);
  for (int32_t y = 0; y < keepH; ++y)
    std::copy_n(FPixels.begin() + static_cast<std::ptrdiff_t>(y) * FWidth, keepW,
                pixels.begin() + static_cast<std::ptrdiff_t>(y) * width);
  FPixels = std::move(pixels);
  FWidth = width;
  FHeight = height;
  Changed();
}

uint32_t* TBitmap::ScanLine(int32_t y) { return FPixels.data() + static_cast<std::ptrdiff_t>(y) * FWidth; }

const uint32_t* TBitmap::ScanLine(int32_t y) const {
  return FPixels.data() + static_cast<std::ptrdiff_t>(y) * FWidth;
}

void TBitmap::SetPixelFormat(TPixelFormat value) {
  if (value == FPixelFormat) return;
  FPixelFormat = value;
  if (value == TPixelFormat::pf1bit) {
    // The nearer of black and white.
    for (auto& p : FPixels) {
      const unsigned sum = (p & 0xFF) + (p >> 8 & 0xFF) + (p >> 16 & 0xFF);
      p = sum >= 383 ? 0x00FFFFFFu : 0u;
    }
  }
  Changed();
}

void TBitmap::SetMonochrome(bool value) {
  if (value == Monochrome()) return;
  SetPixelFormat(value ? TPixelFormat::pf1bit : TPixelFormat::pfDevice);
}

void TBitmap::SetHandleType(TBitmapHandleType value) {
  if (value == FHandleType) return;
  FHandleType = value;
  Changed();
}

void TBitmap::SetTransparent(bool value) {
  if (value == FTransparent) return;
  FTransparent = value;
  Changed();
}

TColor TBitmap::TransparentColor() const {
  if (FTransparentMode == TTransparentMode::tmFixed) return FTransparentColor;
  if (Empty()) return clDefault;
  return PixelToColor(Pixel(0, FHeight - 1));
}

void TBitmap::SetTransparentColor(TColor value) {
  if (value == FTransparentColor && FTransparentMode == TTransparentMode::tmFixed) return;
  FTransparentColor = value;
  FTransparentMode = value == clDefault ? TTransparentMode::tmAuto : TTransparentMode::tmFixed;
  Changed();
}

void TBitmap::SetTransparentMode(TTransparentMode value) {
  if (value == FTransparentMode) return;
  FTransparentMode = value;
  if (value == TTransparentMode::tmAuto) FTransparentColor = clDefault;
  Changed();
}

TCanvas& TBitmap::Canvas() {
  if (!FCanvas) FCanvas = std::make_unique<TCanvas>(*this);
  return *FCanvas;
}

void TBitmap::Draw(TCanvas& canvas, const TRect& rect) const { canvas.StretchBitmap(rect, *this, FTransparent); }

// ---- Bitmap picture data -------------------------------------------------------------------------

namespace {

const TEnumInfo& PixelFormatNames() {
  static const TEnumInfo info{"TPixelFormat",
                              {"pfDevice", "pf1bit", "pf4bit", "pf8bit", "pf15bit", "pf16bit", "pf24bit", "pf32bit",
                               "pfCustom"}};
  return info;
}

const TEnumInfo& HandleTypeNames() {
  static const TEnumInfo info{"TBitmapHandleType", {"bmDIB", "bmDDB"}};
  return info;
}

const TEnumInfo& TransparentModeNames() {
  static const TEnumInfo info{"TTransparentMode", {"tmAuto", "tmFixed"}};
  return info;
}

std::vector<std::string_view> SplitWords(std::string_view line) {
  std::vector<std::string_view> words;
  std::size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
    const std::size_t start = i;
    while (i < line.size() && line[i] != ' ' && line[i] != '\t') ++i;
    if (i > start) words.push_back(line.substr(start, i - start));
  }
  return words;
}

[[noreturn]] void BadBitmapData(const String& what) { throw EReadError("bitmap data: " + what); }

// The bitmap's header line of picture data as its named values.
class TBitmapHeader {
 public:
  explicit TBitmapHeader(std::string_view line) {
    for (std::string_view word : SplitWords(line)) {
      const std::size_t equals = word.find('=');
      if (equals == std::string_view::npos) BadBitmapData("expected Key=Value, not " + String(word));
      const String key(word.substr(0, equals));
      if (!FValues.emplace(key, String(word.substr(equals + 1))).second) BadBitmapData(key + " is given twice");
    }
  }

  int32_t Size(const String& key) {
    const String text = Take(key);
    int32_t value = -1;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < 0 || value > kMaxSide)
      BadBitmapData(key + " must be a number from 0 to " + IntToStr(kMaxSide));
    return value;
  }

  int Enum(const String& key, const TEnumInfo& info) {
    const String text = Take(key);
    const int value = info.ValueOf(text);
    if (value < 0) BadBitmapData(key + " must be a name of " + info.TypeName);
    return value;
  }

  bool Boolean(const String& key) {
    const String text = Take(key);
    if (text != "True" && text != "False") BadBitmapData(key + " must be True or False");
    return text == "True";
  }

  TColor Color(const String& key) {
    TColor color = 0;
    if (!StringToColor(Take(key), color)) BadBitmapData(key + " must be a colour");
    return color;
  }

  void CheckAllTaken() const {
    if (!FValues.empty()) BadBitmapData("unknown key " + FValues.begin()->first);
  }

 private:
  static constexpr int32_t kMaxSide = 65535;

  String Take(const String& key) {
    const auto it = FValues.find(key);
    if (it == FValues.end()) BadBitmapData(key + " is missing");
    String value = it->second;
    FValues.erase(it);
    return value;
  }

  std::map<String, String> FValues;
};

uint32_t ParsePixel(std::string_view word, int32_t row) {
  uint32_t value = 0;
  const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value, 16);
  if (word.size() != 8 || error != std::errc() || end != word.data() + word.size())
    BadBitmapData("row " + IntToStr(row) + ": a pixel is 8 hex digits, not " + String(word));
  return value;
}

}  // namespace

std::vector<String> TBitmap::WritePictureData() const {
  const bool emptyState = FWidth == 0 && FHeight == 0 && FPixelFormat == TPixelFormat::pfDevice &&
                          FHandleType == TBitmapHandleType::bmDIB && !FTransparent &&
                          FTransparentMode == TTransparentMode::tmAuto && FTransparentColor == clDefault;
  if (emptyState) return {};
  std::vector<String> lines;
  lines.push_back("Width=" + IntToStr(FWidth) + " Height=" + IntToStr(FHeight) +
                  " PixelFormat=" + PixelFormatNames().Names[static_cast<std::size_t>(FPixelFormat)] +
                  " HandleType=" + HandleTypeNames().Names[static_cast<std::size_t>(FHandleType)] +
                  " Transparent=" + (FTransparent ? "True" : "False") +
                  " TransparentMode=" + TransparentModeNames().Names[static_cast<std::size_t>(FTransparentMode)] +
                  " TransparentColor=" + ColorToString(FTransparentColor));
  for (int32_t y = 0; y < FHeight && FWidth > 0; ++y) {
    String row;
    const uint32_t* pixels = ScanLine(y);
    for (int32_t x = 0; x < FWidth; ++x) {
      char word[10];
      std::snprintf(word, sizeof word, "%08X", pixels[x]);
      if (x > 0) row += ' ';
      row += word;
    }
    lines.push_back(std::move(row));
  }
  return lines;
}

void TBitmap::ReadPictureData(const std::vector<String>& lines) {
  if (lines.empty()) BadBitmapData("the header line is missing");
  TBitmapHeader header(lines[0]);
  const int32_t width = header.Size("Width");
  const int32_t height = header.Size("Height");
  const auto pixelFormat = static_cast<TPixelFormat>(header.Enum("PixelFormat", PixelFormatNames()));
  const auto handleType = static_cast<TBitmapHandleType>(header.Enum("HandleType", HandleTypeNames()));
  const bool transparent = header.Boolean("Transparent");
  const auto transparentMode = static_cast<TTransparentMode>(header.Enum("TransparentMode", TransparentModeNames()));
  const TColor transparentColor = header.Color("TransparentColor");
  header.CheckAllTaken();

  const std::size_t rows = width > 0 ? static_cast<std::size_t>(height) : 0;
  if (lines.size() - 1 != rows)
    BadBitmapData(IntToStr(static_cast<int64_t>(lines.size() - 1)) + " rows of pixels for a height of " +
                  IntToStr(rows));
  std::vector<uint32_t> pixels;
  pixels.reserve(rows * static_cast<std::size_t>(width));
  for (std::size_t y = 0; y < rows; ++y) {
    const auto words = SplitWords(lines[y + 1]);
    if (words.size() != static_cast<std::size_t>(width))
      BadBitmapData("row " + IntToStr(static_cast<int64_t>(y)) + " has " + IntToStr(static_cast<int64_t>(words.size())) +
                    " pixels for a width of " + IntToStr(width));
    for (std::string_view word : words) pixels.push_back(ParsePixel(word, static_cast<int32_t>(y)));
  }
  // Everything was valid: take it as it was written, without the setters' conversions.
  FWidth = width;
  FHeight = height;
  FPixels = std::move(pixels);
  FPixels.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0);
  FPixelFormat = pixelFormat;
  FHandleType = handleType;
  FTransparent = transparent;
  FTransparentMode = transparentMode;
  FTransparentColor = transparentColor;
  Changed();
}

// ---- Text ------------------------------------------------------------------------------------------

void SetTextRenderer(const ITextRenderer* renderer) { gTextRenderer = renderer; }

const ITextRenderer& TextRenderer() {
  if (!gTextRenderer) throw EInvalidOperation("no text renderer is installed");
  return *gTextRenderer;
}

// ---- Canvas ----------------------------------------------------------------------------------------

TCanvas::TCanvas(TBitmap& target) : FTarget(&target), FClip{0, 0, INT32_MAX, INT32_MAX} {}

TCanvas::TCanvas(TBitmap& target, TPoint origin, const TRect& clip) : FTarget(&target) { SetOrigin(origin, clip); }

void TCanvas::SetOrigin(TPoint origin, const TRect& clip) {
  FOrigin = origin;
  FClip = {clip.Left + origin.X, clip.Top + origin.Y, clip.Right + origin.X, clip.Bottom + origin.Y};
}

TRect TCanvas::ClipRect() const {
  const TRect visible = IntersectRect(FClip, Rect(0, 0, FTarget->Width(), FTarget->Height()));
  return {visible.Left - FOrigin.X, visible.Top - FOrigin.Y, visible.Right - FOrigin.X, visible.Bottom - FOrigin.Y};
}

void TCanvas::Changed() {
  // Drawing on a bitmap's own canvas is a change of that bitmap.
  FTarget->Modified();
}

uint32_t TCanvas::Pixel(int32_t x, int32_t y) const {
  const TRect clip = ClipRect();
  if (!clip.Contains({x, y})) return 0;
  return FTarget->Pixel(x + FOrigin.X, y + FOrigin.Y);
}

void TCanvas::SetPixel(int32_t x, int32_t y, TColor color) {
  if (!ClipRect().Contains({x, y})) return;
  FTarget->SetPixel(x + FOrigin.X, y + FOrigin.Y, ColorToPixelValue(color));
  Changed();
}

void TCanvas::FillRect(const TRect& rect) {
  const TRect r = IntersectRect(rect, ClipRect());
  if (r.IsEmpty()) return;
  const uint32_t value = ColorToPixelValue(Brush.Color);
  for (int32_t y = r.Top; y < r.Bottom; ++y) {
    uint32_t* row = FTarget->ScanLine(y + FOrigin.Y) + FOrigin.X;
    std::fill(row + r.Left, row + r.Right, value);
  }
  Changed();
}

void TCanvas::MoveTo(int32_t x, int32_t y) { FPenPos = {x, y}; }

void TCanvas::LineTo(int32_t x, int32_t y) {
  // Bresenham from the pen position to (x, y), the end point left out.
  const TRect clip = ClipRect();
  const uint32_t value = ColorToPixelValue(Pen.Color);
  int32_t x0 = FPenPos.X, y0 = FPenPos.Y;
  const int32_t dx = std::abs(x - x0), sx = x0 < x ? 1 : -1;
  const int32_t dy = -std::abs(y - y0), sy = y0 < y ? 1 : -1;
  int32_t err = dx + dy;
  while (x0 != x || y0 != y) {
    if (clip.Contains({x0, y0})) FTarget->SetPixel(x0 + FOrigin.X, y0 + FOrigin.Y, value);
    const int32_t e2 = 2 * err;
    if (e2 >= dy) {
      err += dy;
      x0 += sx;
    }
    if (e2 <= dx) {
      err += dx;
      y0 += sy;
    }
  }
  FPenPos = {x, y};
  Changed();
}

void TCanvas::Rectangle(const TRect& rect) {
  if (Brush.Style == TBrushStyle::bsSolid) {
    const TColor saved = Brush.Color;
    FillRect({rect.Left + 1, rect.Top + 1, rect.Right - 1, rect.Bottom - 1});
    Brush.Color = saved;
  }
  MoveTo(rect.Left, rect.Top);
  LineTo(rect.Right - 1, rect.Top);
  LineTo(rect.Right - 1, rect.Bottom - 1);
  LineTo(rect.Left, rect.Bottom - 1);
  LineTo(rect.Left, rect.Top);
}

void TCanvas::FrameRect(const TRect& rect) {
  FillRect({rect.Left, rect.Top, rect.Right, rect.Top + 1});
  FillRect({rect.Left, rect.Bottom - 1, rect.Right, rect.Bottom});
  FillRect({rect.Left, rect.Top, rect.Left + 1, rect.Bottom});
  FillRect({rect.Right - 1, rect.Top, rect.Right, rect.Bottom});
}

namespace {

// The rectangle with its corners ordered; a reversed rectangle means a mirrored picture.
TRect NormalizedRect(const TRect& r) {
  return {std::min(r.Left, r.Right), std::min(r.Top, r.Bottom), std::max(r.Left, r.Right), std::max(r.Top, r.Bottom)};
}

// The source pixels of a nearest-pixel stretch over `extent` target pixels (negative: mirrored),
// for the `count` target pixels from `first` on; only the visible part is mapped, so that a
// huge rectangle mostly outside the target costs nothing.

std::vector<int32_t> SourceIndices(int64_t extent, int32_t sourceSize, int64_t first, int32_t count) {
  const int64_t n = extent < 0 ? -extent : extent;
  std::vector<int32_t> map(static_cast<std::size_t>(count));
  for (int32_t i = 0; i < count; ++i) {
    const int64_t position = first + i;
    map[static_cast<std::size_t>(i)] = StretchSourceIndex(extent < 0 ? n - 1 - position : position, n, sourceSize);
  }
  return map;
}

}  // namespace

void TCanvas::StretchBitmap(const TRect& rect, const TBitmap& bitmap, bool transparent) {
  const int64_t width = int64_t{rect.Right} - rect.Left, height = int64_t{rect.Bottom} - rect.Top;
  if (bitmap.Empty() || width == 0 || height == 0) return;
  const uint32_t key = ColorToPixelValue(bitmap.TransparentColor());
  const TRect normal = NormalizedRect(rect);
  const TRect visible = IntersectRect(normal, ClipRect());
  if (visible.IsEmpty()) return;
  const auto columns = SourceIndices(width, bitmap.Width(), int64_t{visible.Left} - normal.Left, visible.Width());
  const auto rows = SourceIndices(height, bitmap.Height(), int64_t{visible.Top} - normal.Top, visible.Height());
  for (int32_t y = visible.Top; y < visible.Bottom; ++y) {
    const uint32_t* source = bitmap.ScanLine(rows[static_cast<std::size_t>(y - visible.Top)]);
    uint32_t* target = FTarget->ScanLine(y + FOrigin.Y) + FOrigin.X;
    for (int32_t x = visible.Left; x < visible.Right; ++x) {
      const uint32_t p = source[columns[static_cast<std::size_t>(x - visible.Left)]];
      if (transparent && (p & 0x00FFFFFFu) == key) continue;
      target[x] = p & 0x00FFFFFFu;
    }
  }
  Changed();
}

void TCanvas::CopyRect(const TRect& dest, const TCanvas& source, const TRect& sourceRect) {
  const int64_t destWidth = int64_t{dest.Right} - dest.Left, destHeight = int64_t{dest.Bottom} - dest.Top;
  const int64_t sourceWidth = int64_t{sourceRect.Right} - sourceRect.Left;
  const int64_t sourceHeight = int64_t{sourceRect.Bottom} - sourceRect.Top;
  if (destWidth == 0 || destHeight == 0 || sourceWidth == 0 || sourceHeight == 0) return;
  const TRect normal = NormalizedRect(dest);
  const TRect visible = IntersectRect(normal, ClipRect());
  if (visible.IsEmpty()) return;
  // Mirrored in a direction where exactly one of the two rectangles is reversed.
  const bool flipX = (sourceWidth < 0) != (destWidth < 0);
  const bool flipY = (sourceHeight < 0) != (destHeight < 0);
  const int64_t width = destWidth < 0 ? -destWidth : destWidth, height = destHeight < 0 ? -destHeight : destHeight;
  const auto columns = SourceIndices(flipX ? -width : width, static_cast<int32_t>(std::abs(sourceWidth)),
                                     int64_t{visible.Left} - normal.Left, visible.Width());
  const auto rows = SourceIndices(flipY ? -height : height, static_cast<int32_t>(std::abs(sourceHeight)),
                                  int64_t{visible.Top} - normal.Top, visible.Height());
  const TRect from = NormalizedRect(sourceRect);
  // Everything is read before anything is written, so that a canvas may copy within itself.
  std::vector<uint32_t> pixels;
  pixels.reserve(columns.size() * rows.size());
  for (const int32_t row : rows)
    for (const int32_t column : columns) pixels.push_back(source.Pixel(from.Left + column, from.Top + row));
  auto next = pixels.begin();
  for (int32_t y = visible.Top; y < visible.Bottom; ++y) {
    uint32_t* target = FTarget->ScanLine(y + FOrigin.Y) + FOrigin.X;
    for (int32_t x = visible.Left; x < visible.Right; ++x) target[x] = *next++ & 0x00FFFFFFu;
  }
  Changed();
}

void TCanvas::Draw(int32_t x, int32_t y, const TGraphic& graphic) {
  graphic.Draw(*this, Bounds(x, y, graphic.Width(), graphic.Height()));
}

void TCanvas::StretchDraw(const TRect& rect, const TGraphic& graphic) { graphic.Draw(*this, rect); }

void TCanvas::PaintThroughMask(int32_t x, int32_t y, const TBitmap& mask, TColor color) {
  const TRect visible = IntersectRect(Bounds(x, y, mask.Width(), mask.Height()), ClipRect());
  if (visible.IsEmpty()) return;
  const uint32_t value = ColorToPixelValue(color);
  for (int32_t ty = visible.Top; ty < visible.Bottom; ++ty) {
    const uint32_t* m = mask.ScanLine(ty - y);
    uint32_t* target = FTarget->ScanLine(ty + FOrigin.Y) + FOrigin.X;
    for (int32_t tx = visible.Left; tx < visible.Right; ++tx)
      if ((m[tx - x] & 0x00FFFFFFu) == 0x00FFFFFFu) target[tx] = value;
  }
  Changed();
}

void TCanvas::TextOut(int32_t x, int32_t y, const String& text) {
  const TSize size = TextExtent(text);
  TRect box = Bounds(x, y, size.cx, size.cy);
  DrawText(text, box, DT_LEFT | DT_NOPREFIX | DT_SINGLELINE);
}

TSize TCanvas::TextExtent(const String& text) const {
  return TextRenderer().Measure(FFont, text, DT_NOPREFIX | DT_SINGLELINE);
}

void TCanvas::DrawText(const String& text, TRect& rect, uint32_t flags) {
  const ITextRenderer& renderer = TextRenderer();
  if (flags & DT_CALCRECT) {
    const TSize size = renderer.Measure(FFont, text, flags);
    rect.Right = rect.Left + size.cx;
    rect.Bottom = rect.Top + size.cy;
    return;
  }
  const TRect box{rect.Left + FOrigin.X, rect.Top + FOrigin.Y, rect.Right + FOrigin.X, rect.Bottom + FOrigin.Y};
  renderer.Draw(*FTarget, IntersectRect(FClip, Rect(0, 0, FTarget->Width(), FTarget->Height())), FFont, text, box,
                flags);
  Changed();
}

}  // namespace permora
