#include "platform/qt/QtTextRenderer.h"

#include <QFont>
#include <QFontInfo>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <memory>
#include <vector>

namespace permora {

// ---- The application -------------------------------------------------------------------------------

namespace {

// Kept until the program ends; Qt's own globals, made while it starts, outlive it.
std::unique_ptr<QGuiApplication>& OwnedGuiApplication() {
  static std::unique_ptr<QGuiApplication> app;
  return app;
}

}  // namespace

void EnsureGuiApplication() {
  if (qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return;
  if (QCoreApplication::instance()) throw EInvalidOperation("a Qt application without a GUI is running");
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static int argc = 1;
  static char name[] = "permora";
  static char* argv[] = {name, nullptr};
  OwnedGuiApplication() = std::make_unique<QGuiApplication>(argc, argv);
}

// ---- Layout of a text --------------------------------------------------------------------------------

namespace {

struct TUnderline {
  int Start;   // index of the first QChar in the line
  int Length;  // one character: one QChar, or two for a surrogate pair
};

struct TTextLine {
  QString Text;
  std::vector<TUnderline> Underlines;
};

bool IsLineBreak(QChar c) { return c == u'\r' || c == u'\n'; }

// Splits the text into the lines that are drawn, with the prefix characters taken out.
std::vector<TTextLine> SplitLines(const String& text, uint32_t flags) {
  QString s = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
  // One line: the breaks are left out.
  if (flags & DT_SINGLELINE) s.removeIf(IsLineBreak);
  const bool prefix = !(flags & DT_NOPREFIX);
  std::vector<TTextLine> lines;
  bool open = false;  // a line has begun and not yet ended
  for (qsizetype i = 0; i < s.size(); ++i) {
    const QChar c = s[i];
    if (IsLineBreak(c)) {
      if (!open) lines.emplace_back();
      open = false;
      if (c == u'\r' && i + 1 < s.size() && s[i + 1] == u'\n') ++i;
      continue;
    }
    if (!open) {
      lines.emplace_back();
      open = true;
    }
    TTextLine& line = lines.back();
    if (c == u'\t') {
      line.Text += u' ';
      continue;
    }
    if (prefix && c == u'&') {
      const bool atEnd = i + 1 >= s.size() || IsLineBreak(s[i + 1]);
      if (atEnd) continue;
      ++i;
      if (s[i] != u'&') {
        const int length = s[i].isHighSurrogate() && i + 1 < s.size() ? 2 : 1;
        line.Underlines.push_back({static_cast<int>(line.Text.size()), length});
        line.Text += s.mid(i, length);
        i += length - 1;
        continue;
      }
    }
    line.Text += c;
  }
  return lines;
}

QFont ToQFont(const TFont& font) {
  QFont f(QString::fromStdString(SubstituteFontFamily(font.Name())));
  // The character height in pixels; a height of 0 asks for the platform's usual 12 pixels.
  f.setPixelSize(font.PixelHeight() > 0 ? font.PixelHeight() : 12);
  const TFontStyles style = font.Style();
  f.setBold(style.Contains(TFontStyle::fsBold));
  f.setItalic(style.Contains(TFontStyle::fsItalic));
  f.setUnderline(style.Contains(TFontStyle::fsUnderline));
  f.setStrikeOut(style.Contains(TFontStyle::fsStrikeOut));
  f.setStyleStrategy(QFont::NoAntialias);
  return f;
}

// Where each line goes: one layout for measuring and drawing.
struct TTextLayout {
  std::vector<TTextLine> Lines;
  std::vector<int32_t> Widths;
  int32_t LineHeight = 0;
  int32_t Width = 0;  // of the widest line
  int32_t Height() const { return LineHeight * static_cast<int32_t>(Lines.size()); }
};

// Measured on an image, the device the text is drawn on.
const QImage& MeasuringDevice() {
  static const QImage device(1, 1, QImage::Format_ARGB32_Premultiplied);
  return device;
}

TTextLayout LayOut(const QFont& font, const String& text, uint32_t flags) {
  TTextLayout layout;
  layout.Lines = SplitLines(text, flags);
  const QFontMetrics metrics(font, &MeasuringDevice());
  layout.LineHeight = metrics.ascent() + metrics.descent();
  for (const TTextLine& line : layout.Lines) {
    const int32_t w = metrics.horizontalAdvance(line.Text);
    layout.Widths.push_back(w);
    layout.Width = std::max(layout.Width, w);
  }
  return layout;
}

int32_t LineLeft(const TRect& box, int32_t width, uint32_t flags) {
  if (flags & DT_CENTER) return box.Left + (box.Width() - width) / 2;
  if (flags & DT_RIGHT) return box.Right - width;
  return box.Left;
}

int32_t FirstLineTop(const TRect& box, const TTextLayout& layout, uint32_t flags) {
  if ((flags & DT_SINGLELINE) && (flags & DT_VCENTER)) return box.Top + (box.Height() - layout.LineHeight) / 2;
  return box.Top;
}

// Paints the lines in white on a transparent image that covers `area` of the target.
QImage RenderCoverage(const QFont& font, const TTextLayout& layout, const TRect& box, const TRect& area,
                      uint32_t flags) {
  QImage coverage(area.Width(), area.Height(), QImage::Format_ARGB32_Premultiplied);
  coverage.fill(Qt::transparent);
  QPainter painter(&coverage);
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.setRenderHint(QPainter::TextAntialiasing, false);
  painter.setFont(font);
  painter.setPen(Qt::white);
  painter.translate(-area.Left, -area.Top);
  const QFontMetrics metrics(font, &coverage);
  const int32_t thickness = std::max(1, metrics.lineWidth());
  int32_t top = FirstLineTop(box, layout, flags);
  for (std::size_t i = 0; i < layout.Lines.size(); ++i) {
    const TTextLine& line = layout.Lines[i];
    const int32_t left = LineLeft(box, layout.Widths[i], flags);
    const int32_t baseline = top + metrics.ascent();
    painter.drawText(QPoint(left, baseline), line.Text);
    // The accelerator's underline stays inside its own line.
    const int32_t underlineTop = std::min(baseline + std::max(1, metrics.underlinePos()), top + layout.LineHeight - thickness);
    for (const TUnderline& u : line.Underlines) {
      const int32_t from = metrics.horizontalAdvance(line.Text.left(u.Start));
      const int32_t to = metrics.horizontalAdvance(line.Text.left(u.Start + u.Length));
      painter.fillRect(QRect(left + from, underlineTop, to - from, thickness), Qt::white);
    }
    top += layout.LineHeight;
  }
  return coverage;
}

}  // namespace

// ---- TQtTextRenderer ---------------------------------------------------------------------------------

TQtTextRenderer::TQtTextRenderer() {
  if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
    throw EInvalidOperation("text needs a QGuiApplication");
}

String TQtTextRenderer::MatchedFamily(const TFont& font) { return QFontInfo(ToQFont(font)).family().toStdString(); }

TSize TQtTextRenderer::Measure(const TFont& font, const String& text, uint32_t flags) const {
  const TTextLayout layout = LayOut(ToQFont(font), text, flags);
  return {layout.Width, layout.Height()};
}

void TQtTextRenderer::Draw(TBitmap& target, const TRect& clip, const TFont& font, const String& text,
                           const TRect& box, uint32_t flags) const {
  const TRect area = IntersectRect(IntersectRect(box, clip), Rect(0, 0, target.Width(), target.Height()));
  if (area.IsEmpty()) return;
  const QFont qfont = ToQFont(font);
  const TTextLayout layout = LayOut(qfont, text, flags);
  if (layout.Lines.empty()) return;
  const QImage coverage = RenderCoverage(qfont, layout, box, area, flags);
  // Only fully covered pixels are set, and only to the font's colour.
  const uint32_t colour = ColorToPixelValue(font.Color());
  for (int32_t y = 0; y < area.Height(); ++y) {
    const auto* source = reinterpret_cast<const QRgb*>(coverage.constScanLine(y));
    uint32_t* row = target.ScanLine(area.Top + y) + area.Left;
    for (int32_t x = 0; x < area.Width(); ++x)
      if (qAlpha(source[x]) >= 128) row[x] = colour;
  }
}

}  // namespace permora
