#include "platform/qt/QtFormWindow.h"

#include <gtest/gtest.h>

#include <QCloseEvent>
#include <QGuiApplication>
#include <QImage>
#include <QKeyEvent>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include "platform/Application.h"
#include "platform/Button.h"
#include "platform/qt/QtMessageBoxes.h"
#include "platform/qt/QtShell.h"
#include "platform/qt/QtSystemColors.h"
#include "platform/qt/QtTimerService.h"
#include "platform/qt/QtWindowFactory.h"
#include "support/BlockTextRenderer.h"
#include "support/QtTestApplication.h"

namespace permora {
namespace {

using testing_support::TestApplication;

// Fills its area with one colour and counts the palette changes it hears of.
class TColourPatch : public TGraphicControl {
 public:
  explicit TColourPatch(TComponent* owner) : TGraphicControl(owner) {}
  TColor Colour = clRed;
  int SysColorChanges = 0;
  void Dispatch(TMessage& message) override {
    if (message.Msg == CM_SYSCOLORCHANGE) ++SysColorChanges;
    TGraphicControl::Dispatch(message);
  }

 protected:
  void Paint() override {
    Canvas().Brush.Color = Colour;
    Canvas().FillRect(ClientRect());
  }
};

class TCountingForm : public TForm {
 public:
  explicit TCountingForm(TComponent* owner) : TForm(owner) { OnActivate = TNotifyEvent(this, &TCountingForm::Activated); }
  int Activations = 0;
  int Clicks = 0;
  void Clicked(TObject*) { ++Clicks; }

 private:
  void Activated(TObject*) { ++Activations; }
};

struct QtWindowFixture : testing::Test {
  QApplication& qt = TestApplication();
  const char* argv[1] = {"/usr/bin/permora"};
  TApplication application{1, argv};
  TQtWindowFactory factory{true};
  TPlatformServices saved = PlatformServices();
  TCountingForm* form = nullptr;
  TColourPatch* patch = nullptr;

  void SetUp() override {
    PlatformServices().Windows = &factory;
    application.SetTitle("ペルモラ");
    application.CreateForm(form);
    form->SetClientWidth(600);
    form->SetClientHeight(600);
    form->SetColor(clWhite);
    form->SetBorderStyle(TFormBorderStyle::bsToolWindow);
    form->SetFormStyle(TFormStyle::fsStayOnTop);
    form->SetPosition(TPosition::poDesktopCenter);
    form->SetCaption("ペルモラ - 処理中はパソコンに触らないでネ！");
    patch = new TColourPatch(form);
    patch->SetBounds(75, 100, 75, 100);
    patch->SetParent(form);
  }
  void TearDown() override { PlatformServices() = saved; }

  QWidget* Widget() const { return static_cast<TQtFormWindow*>(form->Window())->Widget(); }
  void ShowAndSettle() {
    form->Show();
    QCoreApplication::processEvents();
  }
  // What the window system holds of the window, without asking the window to paint again.
  QImage OnScreen() const { return Widget()->screen()->grabWindow(Widget()->winId()).toImage(); }
};

TEST_F(QtWindowFixture, IsAFixedToolWindowThatStaysOnTopCentredWithItsCaption) {
  ShowAndSettle();
  QWidget* w = Widget();
  EXPECT_TRUE(w->isVisible());
  EXPECT_EQ(w->windowType(), Qt::Tool);
  EXPECT_TRUE(w->windowFlags() & Qt::WindowStaysOnTopHint);
  EXPECT_EQ(w->size(), QSize(600, 600));
  EXPECT_EQ(w->minimumSize(), QSize(600, 600));
  EXPECT_EQ(w->maximumSize(), QSize(600, 600));
  const QRect desktop = w->screen()->virtualGeometry();
  EXPECT_EQ(w->geometry().center(), desktop.center());
  EXPECT_EQ(w->windowTitle().toStdString(), "ペルモラ - 処理中はパソコンに触らないでネ！");
  form->SetCaption("ペルモラ - 2 枚目を処理中です...");
  EXPECT_EQ(w->windowTitle().toStdString(), "ペルモラ - 2 枚目を処理中です...");
}

TEST_F(QtWindowFixture, RepaintReachesTheScreenBeforeItReturns) {
  ShowAndSettle();
  ASSERT_EQ(OnScreen().pixel(100, 150) & 0xFFFFFF, 0xFF0000u);
  patch->Colour = clBlue;
  patch->Refresh();
  const QImage shown = OnScreen();
  EXPECT_EQ(shown.pixel(100, 150) & 0xFFFFFF, 0x0000FFu);
  EXPECT_EQ(shown.pixel(10, 10) & 0xFFFFFF, 0xFFFFFFu);
}

TEST_F(QtWindowFixture, InvalidatedAreasArePaintedFromTheEventLoop) {
  ShowAndSettle();
  patch->Colour = clLime;
  patch->Invalidate();
  EXPECT_EQ(OnScreen().pixel(100, 150) & 0xFFFFFF, 0xFF0000u);
  QCoreApplication::processEvents();
  EXPECT_EQ(OnScreen().pixel(100, 150) & 0xFFFFFF, 0x00FF00u);
}

TEST_F(QtWindowFixture, TheFirstShowActivatesOnceWhereNobodyHandsOutFocus) {
  ShowAndSettle();
  EXPECT_EQ(form->Activations, 1);
  Widget()->hide();
  form->Show();
  Widget()->activateWindow();
  QCoreApplication::processEvents();
  EXPECT_EQ(form->Activations, 1);
}

TEST(QtWindowActivation, WithAWindowManagerTheRunWaitsForTheActivation) {
  TestApplication();
  TQtWindowFactory factory{false};
  const TPlatformServices saved = PlatformServices();
  PlatformServices().Windows = &factory;
  {
    TCountingForm form(nullptr);
    form.SetClientWidth(50);
    form.SetClientHeight(50);
    form.Show();
    auto* widget = static_cast<TQtFormWindow*>(form.Window())->Widget();
    const bool activeAtOnce = widget->isActiveWindow();
    const int beforeEvents = form.Activations;
    QCoreApplication::processEvents();
    if (!activeAtOnce) {
      widget->activateWindow();
      QCoreApplication::processEvents();
    }
    QCoreApplication::processEvents();
    EXPECT_EQ(beforeEvents, 0);
    if (widget->isActiveWindow()) {
      EXPECT_EQ(form.Activations, 1);
    } else {
      EXPECT_EQ(form.Activations, 0);
    }
  }
  PlatformServices() = saved;
}

TEST_F(QtWindowFixture, MouseAndKeysReachTheControls) {
  const testing_support::TBlockTextRenderer text;
  SetTextRenderer(&text);
  auto* button = new TButton(form);
  button->SetBounds(300, 300, 75, 25);
  button->SetCaption("&Save");
  button->SetParent(form);
  button->OnClick = TNotifyEvent(form, &TCountingForm::Clicked);
  ShowAndSettle();

  const QPointF inside(310, 310);
  QMouseEvent press(QEvent::MouseButtonPress, inside, Widget()->mapToGlobal(inside), Qt::LeftButton, Qt::LeftButton,
                    Qt::NoModifier);
  QMouseEvent release(QEvent::MouseButtonRelease, inside, Widget()->mapToGlobal(inside), Qt::LeftButton,
                      Qt::NoButton, Qt::NoModifier);
  QKeyEvent alt(QEvent::KeyPress, Qt::Key_S, Qt::AltModifier);
  QApplication::sendEvent(Widget(), &press);
  QApplication::sendEvent(Widget(), &release);
  EXPECT_EQ(form->Clicks, 1);
  QApplication::sendEvent(Widget(), &alt);
  EXPECT_EQ(form->Clicks, 2);

  button->SetVisible(false);
  QApplication::sendEvent(Widget(), &press);
  QApplication::sendEvent(Widget(), &release);
  QApplication::sendEvent(Widget(), &alt);
  EXPECT_EQ(form->Clicks, 2);
  SetTextRenderer(nullptr);
}

TEST_F(QtWindowFixture, ClosingTheWindowClosesTheForm) {
  ShowAndSettle();
  QCloseEvent close;
  QApplication::sendEvent(Widget(), &close);
  EXPECT_TRUE(form->Closed());
  EXPECT_FALSE(Widget()->isVisible());
}

// ---- Message boxes -------------------------------------------------------------------------------

struct BoxSeen {
  bool shown = false;
  QString title;
  QString text;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QStringList buttons;
  QString defaultButton;
  QString escapeButton;
  bool mainWindowOnTop = true;
};

struct QtBoxFixture : QtWindowFixture {
  TQtMessageBoxes boxes;
  BoxSeen seen;

  // Runs the box; while it is open, looks at it and then does `act` to it.
  int Show(const TMessageBoxRequest& request, std::function<void(QMessageBox&)> act) {
    seen = {};
    QTimer::singleShot(0, [this, act] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (!box) return;
      seen.shown = true;
      seen.title = box->windowTitle();
      seen.text = box->text();
      seen.icon = box->icon();
      for (QAbstractButton* b : box->buttons()) seen.buttons << b->text();
      if (box->defaultButton()) seen.defaultButton = box->defaultButton()->text();
      if (box->escapeButton()) seen.escapeButton = box->escapeButton()->text();
      seen.mainWindowOnTop = Widget()->windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint);
      act(*box);
    });
    return boxes.ShowModal(request);
  }
};

const TMessageBoxRequest kConfirmation{"確認", "インフォメーションを参照しますか？", mtConfirmation, {mbYes, mbNo}};

TEST_F(QtBoxFixture, ConfirmationHasItsCaptionIconAndButtonsAndYesIsTheDefault) {
  ShowAndSettle();
  const int result = Show(kConfirmation, [](QMessageBox& box) { box.defaultButton()->click(); });
  ASSERT_TRUE(seen.shown);
  EXPECT_EQ(result, mrYes);
  EXPECT_EQ(seen.title.toStdString(), "確認");
  EXPECT_EQ(seen.text.toStdString(), "インフォメーションを参照しますか？");
  EXPECT_EQ(seen.icon, QMessageBox::Question);
  ASSERT_EQ(seen.buttons.size(), 2);
  EXPECT_TRUE(seen.buttons.contains("はい(&Y)"));
  EXPECT_TRUE(seen.buttons.contains("いいえ(&N)"));
  EXPECT_EQ(seen.defaultButton.toStdString(), "はい(&Y)");
  EXPECT_EQ(seen.escapeButton.toStdString(), "いいえ(&N)");
  EXPECT_FALSE(seen.mainWindowOnTop);
  EXPECT_TRUE(Widget()->windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint));
}

TEST_F(QtBoxFixture, EscapeAndTheCloseButtonAnswerNo) {
  ShowAndSettle();
  EXPECT_EQ(Show(kConfirmation,
                 [](QMessageBox& box) {
                   QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
                   QApplication::sendEvent(&box, &esc);
                 }),
            mrNo);
  EXPECT_TRUE(seen.shown);
  EXPECT_EQ(Show(kConfirmation, [](QMessageBox& box) { box.close(); }), mrNo);
  EXPECT_TRUE(seen.shown);
}

TEST_F(QtBoxFixture, PlainBoxAndErrorDisplay) {
  ShowAndSettle();
  EXPECT_EQ(Show({"ペルモラ", "フォルダの中に画像ファイルは存在しませんでした。", mtCustom, {mbOK}},
                 [](QMessageBox& box) { box.defaultButton()->click(); }),
            mrOk);
  ASSERT_TRUE(seen.shown);
  EXPECT_EQ(seen.title.toStdString(), "ペルモラ");
  EXPECT_EQ(seen.icon, QMessageBox::NoIcon);
  EXPECT_EQ(seen.buttons, QStringList{"OK"});

  EXPECT_EQ(Show({"ペルモラ", "ビットマップイメージが不正です.", mtError, {mbOK}}, [](QMessageBox& box) { box.close(); }),
            mrOk);
  ASSERT_TRUE(seen.shown);
  EXPECT_EQ(seen.icon, QMessageBox::Critical);
  EXPECT_EQ(seen.text.toStdString(), "ビットマップイメージが不正です.");
}

// ---- System colours, timers, shell ----------------------------------------------------------------

TEST_F(QtWindowFixture, PaletteChangesResolveSystemColoursAndReachEveryControl) {
  TQtSystemColors colours;
  SetSystemColors(&colours);
  const QPalette original = QApplication::palette();
  QPalette changed = original;
  changed.setColor(QPalette::All, QPalette::Button, QColor(10, 20, 30));
  QApplication::setPalette(changed);
  QCoreApplication::processEvents();
  EXPECT_EQ(ColorToRGB(clBtnFace), TColor{0x001E140A});
  EXPECT_GE(patch->SysColorChanges, 1);
  QApplication::setPalette(original);
  SetSystemColors(nullptr);
}

TEST(QtTimers, TickFromTheEventLoopUntilStoppedEvenFromTheirOwnTick) {
  TestApplication();
  TQtTimerService timers;
  int ticks = 0;
  QEventLoop loop;
  int id = 0;
  id = timers.StartTimer(1, [&] {
    if (++ticks == 3) {
      timers.StopTimer(id);
      QTimer::singleShot(20, &loop, &QEventLoop::quit);
    }
  });
  loop.exec();
  EXPECT_EQ(ticks, 3);
}

TEST(QtShellUrls, FoldersBecomeFileUrlsAndWebAddressesStay) {
  EXPECT_EQ(TQtShell::UrlOf("/tmp/a b/ペルモラ/"), "file:///tmp/a%20b/%E3%83%9A%E3%83%AB%E3%83%A2%E3%83%A9/");
  EXPECT_EQ(TQtShell::UrlOf("https://permora.example.org/info.php?pf=w&sn=sheets"),
            "https://permora.example.org/info.php?pf=w&sn=sheets");
}

}  // namespace
}  // namespace permora
