#include "platform/qt/QtInputState.h"

#include <QCursor>
#include <QGuiApplication>

namespace permora {

TPoint TQtInputState::CursorPos() const {
  const QPoint p = QCursor::pos();
  return {p.x(), p.y()};
}

bool TQtInputState::KeyIsDown(int virtualKey) const {
  const Qt::MouseButtons buttons = QGuiApplication::mouseButtons();
  const Qt::KeyboardModifiers modifiers = QGuiApplication::queryKeyboardModifiers();
  switch (virtualKey) {
    case VK_LBUTTON:
      return buttons & Qt::LeftButton;
    case VK_RBUTTON:
      return buttons & Qt::RightButton;
    case VK_MBUTTON:
      return buttons & Qt::MiddleButton;
    case VK_SHIFT:
      return modifiers & Qt::ShiftModifier;
    case VK_CONTROL:
      return modifiers & Qt::ControlModifier;
    case VK_MENU:
      return modifiers & Qt::AltModifier;
    default:
      return false;
  }
}

}  // namespace permora
