#include "platform/qt/QtFormWindow.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScreen>
#include <QWidget>
#include <QWindow>

#include "platform/Application.h"

namespace permora {

namespace {

TShiftState ShiftStateOf(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons) {
  TShiftState shift;
  if (modifiers & Qt::ShiftModifier) shift.Include(ssShift);
  if (modifiers & Qt::ControlModifier) shift.Include(ssCtrl);
  if (modifiers & Qt::AltModifier) shift.Include(ssAlt);
  if (buttons & Qt::LeftButton) shift.Include(ssLeft);
  if (buttons & Qt::RightButton) shift.Include(ssRight);
  if (buttons & Qt::MiddleButton) shift.Include(ssMiddle);
  return shift;
}

uint32_t PressMessage(Qt::MouseButton button, bool doubleClick) {
  switch (button) {
    case Qt::RightButton:
      return doubleClick ? WM_RBUTTONDBLCLK : WM_RBUTTONDOWN;
    case Qt::MiddleButton:
      return doubleClick ? WM_MBUTTONDBLCLK : WM_MBUTTONDOWN;
    default:
      return doubleClick ? WM_LBUTTONDBLCLK : WM_LBUTTONDOWN;
  }
}

uint32_t ReleaseMessage(Qt::MouseButton button) {
  switch (button) {
    case Qt::RightButton:
      return WM_RBUTTONUP;
    case Qt::MiddleButton:
      return WM_MBUTTONUP;
    default:
      return WM_LBUTTONUP;
  }
}

TPoint PointOf(const QMouseEvent* event) {
  const QPoint p = event->position().toPoint();
  return {p.x(), p.y()};
}

}  // namespace

class TQtFormWidget final : public QWidget {
 public:
  TQtFormWidget(TCustomForm& form, bool firstShowActivates) : FForm(form), FFirstShowActivates(firstShowActivates) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
  }

 protected:
  void paintEvent(QPaintEvent* event) override {
    const TBitmap& surface = FForm.Surface();
    if (surface.Width() == 0 || surface.Height() == 0) return;
    // The surface's pixels are 0x00RRGGBB words, which is the layout of QImage::Format_RGB32.
    const QImage image(reinterpret_cast<const uchar*>(surface.ScanLine(0)), surface.Width(), surface.Height(),
                       surface.Width() * 4, QImage::Format_RGB32);
    QPainter painter(this);
    painter.drawImage(event->rect(), image, event->rect());
  }

  void showEvent(QShowEvent* event) override {
    QWidget::showEvent(event);
    if (FFirstShowActivates) StartActivationOnce();
  }

  void changeEvent(QEvent* event) override {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) StartActivationOnce();
  }

  void closeEvent(QCloseEvent* event) override {
    // The form decides; its Close hides this window.
    event->ignore();
    DispatchGuarded([this] { FForm.CloseQuery(); });
  }

  void mousePressEvent(QMouseEvent* event) override { Mouse(PressMessage(event->button(), false), event); }
  void mouseDoubleClickEvent(QMouseEvent* event) override { Mouse(PressMessage(event->button(), true), event); }
  void mouseReleaseEvent(QMouseEvent* event) override { Mouse(ReleaseMessage(event->button()), event); }
  void mouseMoveEvent(QMouseEvent* event) override { Mouse(WM_MOUSEMOVE, event); }
  void leaveEvent(QEvent*) override {
    DispatchGuarded([this] { FForm.MouseExit(); });
  }

  void keyPressEvent(QKeyEvent* event) override {
    const uint32_t character = CharacterOf(event);
    if (character == 0) return;
    DispatchGuarded([this, character] { FForm.DialogChar(character); });
  }

 private:
  // Letters and digits by their key, so that Alt+S gives "S" even where the text is empty.
  static uint32_t CharacterOf(const QKeyEvent* event) {
    const int key = event->key();
    if ((key >= Qt::Key_0 && key <= Qt::Key_9) || (key >= Qt::Key_A && key <= Qt::Key_Z)) return static_cast<uint32_t>(key);
    const QString text = event->text();
    if (text.size() == 1 && text.at(0).isPrint()) return text.at(0).unicode();
    return 0;
  }

  void Mouse(uint32_t message, const QMouseEvent* event) {
    const TShiftState shift = ShiftStateOf(event->modifiers(), event->buttons());
    const TPoint p = PointOf(event);
    DispatchGuarded([this, message, shift, p] { FForm.MouseInput(message, shift, p); });
  }

  // The run that hangs on the activation starts from the event loop, once the window system has
  // finished with the activation itself; later activations (after a box, after switching back)
  // are no new start.
  void StartActivationOnce() {
    if (FActivationStarted) return;
    FActivationStarted = true;
    QMetaObject::invokeMethod(
        this, [this] { DispatchGuarded([this] { FForm.Activate(); }); }, Qt::QueuedConnection);
  }

  TCustomForm& FForm;
  bool FFirstShowActivates;
  bool FActivationStarted = false;
};

TQtFormWindow::TQtFormWindow(TCustomForm& form, bool firstShowActivates)
    : FForm(form), FWidget(std::make_unique<TQtFormWidget>(form, firstShowActivates)) {}

TQtFormWindow::~TQtFormWindow() = default;

QWidget* TQtFormWindow::Widget() const { return FWidget.get(); }

void TQtFormWindow::ApplyWindowSettings() {
  Qt::WindowFlags flags = Qt::Window;
  const TFormBorderStyle border = FForm.BorderStyle();
  if (border == TFormBorderStyle::bsToolWindow || border == TFormBorderStyle::bsSizeToolWin) flags = Qt::Tool;
  if (border == TFormBorderStyle::bsNone) flags |= Qt::FramelessWindowHint;
  if (FForm.FormStyle() == TFormStyle::fsStayOnTop) flags |= Qt::WindowStaysOnTopHint;
  FWidget->setWindowFlags(flags);

  const QSize client(FForm.ClientWidth(), FForm.ClientHeight());
  const bool sizeable = border == TFormBorderStyle::bsSizeable || border == TFormBorderStyle::bsSizeToolWin;
  if (sizeable) {
    FWidget->resize(client);
  } else {
    FWidget->setFixedSize(client);
  }

  QPoint topLeft(FForm.Left(), FForm.Top());
  const TPosition position = FForm.Position();
  if (position == TPosition::poDesktopCenter || position == TPosition::poScreenCenter ||
      position == TPosition::poMainFormCenter || position == TPosition::poOwnerFormCenter) {
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
      const QRect area = position == TPosition::poDesktopCenter ? screen->virtualGeometry() : screen->geometry();
      topLeft = QPoint(area.x() + (area.width() - client.width()) / 2, area.y() + (area.height() - client.height()) / 2);
    }
  }
  // The client area, not the frame, goes to the computed place.
  FWidget->setGeometry(QRect(topLeft, client));
}

void TQtFormWindow::Show() {
  if (!FSettingsApplied) {
    ApplyWindowSettings();
    FSettingsApplied = true;
  }
  FWidget->show();
}

void TQtFormWindow::Hide() { FWidget->hide(); }

void TQtFormWindow::SetCaption(const String& caption) {
  FWidget->setWindowTitle(QString::fromUtf8(DisplayableText(caption)));
}

void TQtFormWindow::Present(const TRect& rect) {
  if (!FWidget->isVisible()) return;
  FWidget->repaint(QRect(rect.Left, rect.Top, rect.Width(), rect.Height()));
}

void TQtFormWindow::SchedulePaint() {
  QMetaObject::invokeMethod(
      FWidget.get(), [this] { DispatchGuarded([this] { FForm.PaintInvalidated(); }); }, Qt::QueuedConnection);
}

TPoint TQtFormWindow::ClientOrigin() const {
  const QPoint origin = FWidget->mapToGlobal(QPoint(0, 0));
  return {origin.x(), origin.y()};
}

void TQtFormWindow::SuspendStayOnTop(bool suspended) {
  if (FForm.FormStyle() != TFormStyle::fsStayOnTop) return;
  QWindow* window = FWidget->windowHandle();
  if (!window) return;
  // Changing the native window's flags keeps it mapped, where QWidget::setWindowFlags would hide it.
  window->setFlag(Qt::WindowStaysOnTopHint, !suspended);
}

}  // namespace permora
