#include "platform/qt/QtSystemColors.h"

#include <QApplication>
#include <QEvent>
#include <QPalette>

#include "platform/Application.h"
#include "platform/Forms.h"

namespace permora {

namespace {

struct TPaletteSource {
  QPalette::ColorGroup Group;
  QPalette::ColorRole Role;
};

// Windows' system colours 0 to 24 by the palette role that plays their part; the desktop has no
// role and keeps its classic colour.
constexpr TPaletteSource kSources[25] = {
    {QPalette::Active, QPalette::Button},           // 0 scroll bar
    {QPalette::Active, QPalette::NoRole},           // 1 desktop
    {QPalette::Active, QPalette::Highlight},        // 2 active caption
    {QPalette::Inactive, QPalette::Mid},            // 3 inactive caption
    {QPalette::Active, QPalette::Button},           // 4 menu
    {QPalette::Active, QPalette::Base},             // 5 window
    {QPalette::Active, QPalette::Shadow},           // 6 window frame
    {QPalette::Active, QPalette::WindowText},       // 7 menu text
    {QPalette::Active, QPalette::Text},             // 8 window text
    {QPalette::Active, QPalette::HighlightedText},  // 9 caption text
    {QPalette::Active, QPalette::Button},           // 10 active border
    {QPalette::Inactive, QPalette::Button},         // 11 inactive border
    {QPalette::Active, QPalette::Dark},             // 12 application workspace
    {QPalette::Active, QPalette::Highlight},        // 13 highlight
    {QPalette::Active, QPalette::HighlightedText},  // 14 highlight text
    {QPalette::Active, QPalette::Button},           // 15 button face
    {QPalette::Active, QPalette::Dark},             // 16 button shadow
    {QPalette::Disabled, QPalette::Text},           // 17 grey text
    {QPalette::Active, QPalette::ButtonText},       // 18 button text
    {QPalette::Inactive, QPalette::Light},          // 19 inactive caption text
    {QPalette::Active, QPalette::Light},            // 20 button highlight
    {QPalette::Active, QPalette::Shadow},           // 21 3-D dark shadow
    {QPalette::Active, QPalette::Midlight},         // 22 3-D light
    {QPalette::Active, QPalette::ToolTipText},      // 23 info text
    {QPalette::Active, QPalette::ToolTipBase},      // 24 info background
};

}  // namespace

TQtSystemColors::TQtSystemColors() {
  if (QCoreApplication* app = QCoreApplication::instance()) app->installEventFilter(this);
}

TColor TQtSystemColors::SysColor(int n) const {
  if (n < 0 || n >= 25) return clBlack;
  const TPaletteSource& source = kSources[n];
  if (source.Role == QPalette::NoRole) return ClassicSystemColors().SysColor(n);
  const QColor c = QApplication::palette().color(source.Group, source.Role);
  return static_cast<TColor>(c.red()) | static_cast<TColor>(c.green()) << 8 | static_cast<TColor>(c.blue()) << 16;
}

bool TQtSystemColors::eventFilter(QObject* watched, QEvent* event) {
  if (watched == QCoreApplication::instance() && event->type() == QEvent::ApplicationPaletteChange) {
    DispatchGuarded(SystemColorsChanged);
  }
  return false;
}

}  // namespace permora
