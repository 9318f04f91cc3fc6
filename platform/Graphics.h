#pragma once
// Colours, fonts, bitmaps and the canvas that draws on them.
// Pixels are 32-bit values 0x00RRGGBB (bytes blue, green, red, unused in memory); row 0 is the top row.

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/Classes.h"
#include "platform/TypInfo.h"

namespace permora {

// ---- Colours -------------------------------------------------------------------------------------

// 0x00BBGGRR for an RGB colour; 0x80000000 + n names system colour n.
using TColor = uint32_t;

inline constexpr TColor clBlack = 0x00000000;
inline constexpr TColor clMaroon = 0x00000080;
inline constexpr TColor clGreen = 0x00008000;
inline constexpr TColor clOlive = 0x00008080;
inline constexpr TColor clNavy = 0x00800000;
inline constexpr TColor clPurple = 0x00800080;
inline constexpr TColor clTeal = 0x00808000;
inline constexpr TColor clGray = 0x00808080;
inline constexpr TColor clSilver = 0x00C0C0C0;
inline constexpr TColor clRed = 0x000000FF;
inline constexpr TColor clLime = 0x0000FF00;
inline constexpr TColor clYellow = 0x0000FFFF;
inline constexpr TColor clBlue = 0x00FF0000;
inline constexpr TColor clFuchsia = 0x00FF00FF;
inline constexpr TColor clAqua = 0x00FFFF00;
inline constexpr TColor clWhite = 0x00FFFFFF;
inline constexpr TColor clNone = 0x1FFFFFFF;
inline constexpr TColor clDefault = 0x20000000;

inline constexpr TColor SystemColor(int n) { return 0x80000000u + static_cast<uint32_t>(n); }
inline constexpr TColor clScrollBar = SystemColor(0);
inline constexpr TColor clBackground = SystemColor(1);
inline constexpr TColor clActiveCaption = SystemColor(2);
inline constexpr TColor clInactiveCaption = SystemColor(3);
inline constexpr TColor clMenu = SystemColor(4);
inline constexpr TColor clWindow = SystemColor(5);
inline constexpr TColor clWindowFrame = SystemColor(6);
inline constexpr TColor clMenuText = SystemColor(7);
inline constexpr TColor clWindowText = SystemColor(8);
inline constexpr TColor clCaptionText = SystemColor(9);
inline constexpr TColor clActiveBorder = SystemColor(10);
inline constexpr TColor clInactiveBorder = SystemColor(11);
inline constexpr TColor clAppWorkSpace = SystemColor(12);
inline constexpr TColor clHighlight = SystemColor(13);
inline constexpr TColor clHighlightText = SystemColor(14);
inline constexpr TColor clBtnFace = SystemColor(15);
inline constexpr TColor clBtnShadow = SystemColor(16);
inline constexpr TColor clGrayText = SystemColor(17);
inline constexpr TColor clBtnText = SystemColor(18);
inline constexpr TColor clInactiveCaptionText = SystemColor(19);
inline constexpr TColor clBtnHighlight = SystemColor(20);
inline constexpr TColor cl3DDkShadow = SystemColor(21);
inline constexpr TColor cl3DLight = SystemColor(22);
inline constexpr TColor clInfoText = SystemColor(23);
inline constexpr TColor clInfoBk = SystemColor(24);

// Where system colours come from: the fixed classic table unless a backend installs its palette.
class ISystemColors {
 public:
  virtual ~ISystemColors() = default;
  // The RGB value (0x00BBGGRR) of system colour n.
  virtual TColor SysColor(int n) const = 0;
};
const ISystemColors& ClassicSystemColors();
// Installs the source of system colours (null: the classic table again). Not owned.
void SetSystemColors(const ISystemColors* colors);

// Resolves a system colour to its current RGB value; other values are returned as they are.
TColor ColorToRGB(TColor color);
// The pixel (0x00RRGGBB) of a colour, system colours resolved.
uint32_t ColorToPixelValue(TColor color);
// The colour (0x00BBGGRR) of a pixel, its fourth byte ignored.
TColor PixelToColor(uint32_t pixel);

// Colour names for layout files ("clBtnFace"); a colour without a name is written in hex.
String ColorToString(TColor color);
// Accepts a colour name, a decimal number or "$" followed by hex digits; false when it is neither.
bool StringToColor(const String& text, TColor& color);

// ---- Geometry ------------------------------------------------------------------------------------

struct TPoint {
  int32_t X = 0;
  int32_t Y = 0;
  friend bool operator==(const TPoint&, const TPoint&) = default;
};

struct TSize {
  int32_t cx = 0;
  int32_t cy = 0;
  friend bool operator==(const TSize&, const TSize&) = default;
};

// Right and bottom are exclusive.
struct TRect {
  int32_t Left = 0;
  int32_t Top = 0;
  int32_t Right = 0;
  int32_t Bottom = 0;
  int32_t Width() const { return Right - Left; }
  int32_t Height() const { return Bottom - Top; }
  bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
  bool Contains(TPoint p) const { return p.X >= Left && p.X < Right && p.Y >= Top && p.Y < Bottom; }
  friend bool operator==(const TRect&, const TRect&) = default;
};

inline TRect Rect(int32_t left, int32_t top, int32_t right, int32_t bottom) { return {left, top, right, bottom}; }
inline TRect Bounds(int32_t left, int32_t top, int32_t width, int32_t height) {
  return {left, top, left + width, top + height};
}
TRect IntersectRect(const TRect& a, const TRect& b);

// Nearest-pixel stretching: target pixel d of D takes source pixel floor((2d + 1) * S / (2D)) of S.
// The canvas and every decoder that samples while it decodes use this one choice.
inline int32_t StretchSourceIndex(int64_t d, int64_t targetSize, int64_t sourceSize) {
  return static_cast<int32_t>(((2 * d + 1) * sourceSize) / (2 * targetSize));
}

// ---- Fonts ---------------------------------------------------------------------------------------

enum class TFontStyle : uint8_t { fsBold, fsItalic, fsUnderline, fsStrikeOut };
using TFontStyles = TSet<TFontStyle>;
const TEnumInfo& FontStyleInfo();

using TFontCharset = uint8_t;
inline constexpr TFontCharset DEFAULT_CHARSET = 1;
inline constexpr TFontCharset SHIFTJIS_CHARSET = 128;

// Name, height, style, colour and character set of a text. The defaults are the platform's:
// "ＭＳ Ｐゴシック", 12 pixels high, Shift-JIS, window-text colour, no style.
class TFont : public TPersistent {
 public:
  TFont();
  static const TClassInfo& StaticClassInfo();
  const TClassInfo& ClassInfo() const override { return StaticClassInfo(); }
  void Assign(const TPersistent* Source) override;

  const String& Name() const { return FName; }
  void SetName(const String& value);
  // Height is the negative character height in pixels; Size is in points at 96 pixels per inch.
  int32_t Height() const { return FHeight; }
  void SetHeight(int32_t value);
  int32_t Size() const;
  void SetSize(int32_t value);
  TFontStyles Style() const { return FStyle; }
  void SetStyle(TFontStyles value);
  TColor Color() const { return FColor; }
  void SetColor(TColor value);
  TFontCharset Charset() const { return FCharset; }
  void SetCharset(TFontCharset value);
  // The character height in pixels (|Height|).
  int32_t PixelHeight() const { return FHeight < 0 ? -FHeight : FHeight; }

  TNotifyEvent OnChange;

 private:
  void Changed();
  String FName;
  int32_t FHeight;
  TFontStyles FStyle;
  TColor FColor;
  TFontCharset FCharset;
};

// The fonts that Debian ships for the names of the original's fonts.
String SubstituteFontFamily(const String& name);

// ---- Bitmaps ---------------------------------------------------------------------------------------

class TCanvas;

// A picture that can be drawn, loaded and saved.
class TGraphic : public TPersistent {
 public:
  static const TClassInfo& StaticClassInfo();
  const TClassInfo& ClassInfo() const override { return StaticClassInfo(); }

  virtual int32_t Width() const = 0;
  virtual int32_t Height() const = 0;
  virtual bool Empty() const { return Width() == 0 || Height() == 0; }
  // Draws the whole picture stretched into rect of the canvas.
  virtual void Draw(TCanvas& canvas, const TRect& rect) const = 0;
  virtual void LoadFromFile(const String& fileName) = 0;
  virtual void SaveToFile(const String& fileName) const;

  TNotifyEvent OnChange;

 protected:
  void Changed();
};

enum class TPixelFormat : uint8_t { pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit, pfCustom };
enum class TBitmapHandleType : uint8_t { bmDIB, bmDDB };
enum class TTransparentMode : uint8_t { tmAuto, tmFixed };

class TBitmap : public TGraphic {
 public:
  TBitmap();
  TBitmap(int32_t width, int32_t height);
  ~TBitmap() override;
  static const TClassInfo& StaticClassInfo();
  const TClassInfo& ClassInfo() const override { return StaticClassInfo(); }

  void Assign(const TPersistent* Source) override;
  int32_t Width() const override { return FWidth; }
  int32_t Height() const override { return FHeight; }
  void SetWidth(int32_t value) { SetSize(value, FHeight); }
  void SetHeight(int32_t value) { SetSize(FWidth, value); }
  // New pixels are black; pixels that stay inside keep their values.
  void SetSize(int32_t width, int32_t height);
  void Draw(TCanvas& canvas, const TRect& rect) const override;
  // Reads a Windows bitmap file (.bmp).
  void LoadFromFile(const String& fileName) override;

  // Row y, from the top: Width pixels.
  uint32_t* ScanLine(int32_t y);
  const uint32_t* ScanLine(int32_t y) const;
  uint32_t Pixel(int32_t x, int32_t y) const { return ScanLine(y)[x]; }
  void SetPixel(int32_t x, int32_t y, uint32_t value) { ScanLine(y)[x] = value; }

  // The format the bitmap holds its pixels in. Pixels are always kept as 32-bit values; a
  // format of fewer bits reduces them (pf1bit: black and white) when it is set.
  TPixelFormat PixelFormat() const { return FPixelFormat; }
  void SetPixelFormat(TPixelFormat value);
  bool Monochrome() const { return FPixelFormat == TPixelFormat::pf1bit; }
  void SetMonochrome(bool value);
  TBitmapHandleType HandleType() const { return FHandleType; }
  void SetHandleType(TBitmapHandleType value);

  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool value);
  // tmAuto: the colour of the bottom-left pixel; tmFixed: the colour set last.
  TColor TransparentColor() const;
  void SetTransparentColor(TColor value);
  TTransparentMode TransparentMode() const { return FTransparentMode; }
  void SetTransparentMode(TTransparentMode value);

  // Layout files keep a bitmap as picture data: a line "Width=.. Height=.. PixelFormat=..
  // HandleType=.. Transparent=.. TransparentMode=.. TransparentColor=..", then one line per row
  // of pixels, each pixel 8 hex digits (0xXXRRGGBB, the fourth byte kept).
  bool DefinesPictureData() const override { return true; }
  std::vector<String> WritePictureData() const override;
  void ReadPictureData(const std::vector<String>& lines) override;

  // A canvas drawing on this bitmap; drawing on it raises OnChange.
  TCanvas& Canvas();
  // Raises OnChange; for code that wrote pixels through ScanLine.
  void Modified() { Changed(); }

 private:
  int32_t FWidth = 0;
  int32_t FHeight = 0;
  std::vector<uint32_t> FPixels;
  TPixelFormat FPixelFormat = TPixelFormat::pfDevice;
  TBitmapHandleType FHandleType = TBitmapHandleType::bmDIB;
  bool FTransparent = false;
  TColor FTransparentColor = clDefault;
  TTransparentMode FTransparentMode = TTransparentMode::tmAuto;
  std::unique_ptr<TCanvas> FCanvas;
};

// ---- Text ------------------------------------------------------------------------------------------

// Flags of DrawText, as far as the platform offers them.
enum TTextFlag : uint32_t {
  DT_LEFT = 0x0,
  DT_CENTER = 0x1,
  DT_RIGHT = 0x2,
  DT_VCENTER = 0x4,
  DT_SINGLELINE = 0x20,
  DT_CALCRECT = 0x400,
  DT_NOPREFIX = 0x800,
};

// Measures and draws text; given by a backend (Qt's GUI module) and shared by every canvas.
class ITextRenderer {
 public:
  virtual ~ITextRenderer() = default;
  // The size of the text's box: the widest line and the sum of the line heights.
  virtual TSize Measure(const TFont& font, const String& text, uint32_t flags) const = 0;
  // Draws the text into box on target, in the font's colour, clipped to box and clip.
  virtual void Draw(TBitmap& target, const TRect& clip, const TFont& font, const String& text, const TRect& box,
                    uint32_t flags) const = 0;
};
void SetTextRenderer(const ITextRenderer* renderer);  // not owned
// The installed renderer; raises EInvalidOperation when none is installed.
const ITextRenderer& TextRenderer();

// ---- Canvas ----------------------------------------------------------------------------------------

enum class TBrushStyle : uint8_t { bsSolid, bsClear };

struct TPen {
  TColor Color = clBlack;
};

struct TBrush {
  TColor Color = clWhite;
  TBrushStyle Style = TBrushStyle::bsSolid;
};

// Draws on a bitmap. Coordinates are relative to Origin; everything clips to the bitmap and ClipRect.
class TCanvas {
 public:
  explicit TCanvas(TBitmap& target);
  TCanvas(TBitmap& target, TPoint origin, const TRect& clip);
  TCanvas(const TCanvas&) = delete;
  TCanvas& operator=(const TCanvas&) = delete;

  TBitmap& Target() const { return *FTarget; }
  TPoint Origin() const { return FOrigin; }
  // The clip rectangle in the canvas's own coordinates.
  TRect ClipRect() const;

  TPen Pen;
  TBrush Brush;
  TFont& Font() { return FFont; }
  // Moves the drawing to another place of the bitmap (the bounds of a control on its form).
  void SetOrigin(TPoint origin, const TRect& clip);

  uint32_t Pixel(int32_t x, int32_t y) const;  // 0 outside the target
  void SetPixel(int32_t x, int32_t y, TColor color);
  void FillRect(const TRect& rect);                      // with Brush.Color
  void MoveTo(int32_t x, int32_t y);
  void LineTo(int32_t x, int32_t y);                     // with Pen.Color, the end point left out
  TPoint PenPos() const { return FPenPos; }
  void Rectangle(const TRect& rect);                     // outline in Pen.Color, inside filled unless bsClear
  void FrameRect(const TRect& rect);                     // one-pixel outline in Brush.Color
  // Copies source rect onto dest; stretched (nearest pixel) when the sizes differ.
  void CopyRect(const TRect& dest, const TCanvas& source, const TRect& sourceRect);
  // The graphic at its own size; a transparent bitmap leaves out its transparent colour.
  void Draw(int32_t x, int32_t y, const TGraphic& graphic);
  void StretchDraw(const TRect& rect, const TGraphic& graphic);
  // Where the mask is white the target takes color; where it is black the target stays.
  void PaintThroughMask(int32_t x, int32_t y, const TBitmap& mask, TColor color);

  void TextOut(int32_t x, int32_t y, const String& text);
  TSize TextExtent(const String& text) const;
  // Text in a box by the flags; with DT_CALCRECT it only measures, setting rect's right and bottom.
  void DrawText(const String& text, TRect& rect, uint32_t flags);

  // Used by the bitmaps' own drawing: the bitmap's pixels stretched into rect, with or without its
  // transparent colour.
  void StretchBitmap(const TRect& rect, const TBitmap& bitmap, bool transparent);

 private:
  void Changed();
  TBitmap* FTarget;
  TPoint FOrigin;
  TRect FClip;  // in target coordinates
  TPoint FPenPos;
  TFont FFont;
};

}  // namespace permora
