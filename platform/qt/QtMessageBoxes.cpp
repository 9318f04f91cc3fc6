#include "platform/qt/QtMessageBoxes.h"

#include <QMessageBox>
#include <QPushButton>

#include <utility>
#include <vector>

#include "platform/Application.h"
#include "platform/qt/QtFormWindow.h"

namespace permora {

namespace {

struct TButtonText {
  TMsgDlgBtn Button;
  const char* Text;
  QMessageBox::ButtonRole Role;
  int Result;
};

constexpr TButtonText kButtons[] = {
    {mbYes, "はい(&Y)", QMessageBox::YesRole, mrYes},
    {mbNo, "いいえ(&N)", QMessageBox::NoRole, mrNo},
    {mbOK, "OK", QMessageBox::AcceptRole, mrOk},
    {mbCancel, "キャンセル", QMessageBox::RejectRole, mrCancel},
    {mbAbort, "中止(&A)", QMessageBox::RejectRole, mrAbort},
    {mbRetry, "再試行(&R)", QMessageBox::AcceptRole, mrRetry},
    {mbIgnore, "無視(&I)", QMessageBox::AcceptRole, mrIgnore},
};

QMessageBox::Icon IconOf(TMsgDlgType type) {
  switch (type) {
    case mtWarning:
      return QMessageBox::Warning;
    case mtError:
      return QMessageBox::Critical;
    case mtInformation:
      return QMessageBox::Information;
    case mtConfirmation:
      return QMessageBox::Question;
    case mtCustom:
      break;
  }
  return QMessageBox::NoIcon;
}

void SuspendStayOnTop(bool suspended) {
  for (TCustomForm* form : AllForms()) {
    if (auto* window = dynamic_cast<TQtFormWindow*>(form->Window())) window->SuspendStayOnTop(suspended);
  }
}

// The forms' windows give up staying on top while the box is open, and take it up again after.
class TStayOnTopSuspension {
 public:
  TStayOnTopSuspension() { SuspendStayOnTop(true); }
  ~TStayOnTopSuspension() { SuspendStayOnTop(false); }
  TStayOnTopSuspension(const TStayOnTopSuspension&) = delete;
  TStayOnTopSuspension& operator=(const TStayOnTopSuspension&) = delete;
};

QWidget* VisibleMainWindow() {
  if (!Application || !Application->MainForm()) return nullptr;
  auto* window = dynamic_cast<TQtFormWindow*>(Application->MainForm()->Window());
  if (!window || !window->Widget()->isVisible()) return nullptr;
  return window->Widget();
}

}  // namespace

int TQtMessageBoxes::ShowModal(const TMessageBoxRequest& request) {
  const TStayOnTopSuspension suspension;
  // Over the centred main window the box is centred too; without one Qt centres it on the screen.
  QMessageBox box(VisibleMainWindow());
  box.setWindowTitle(QString::fromUtf8(DisplayableText(request.Caption)));
  box.setText(QString::fromUtf8(DisplayableText(request.Text)));
  box.setTextFormat(Qt::PlainText);
  box.setIcon(IconOf(request.Type));
  box.setWindowModality(Qt::ApplicationModal);

  std::vector<std::pair<QPushButton*, int>> results;
  for (const TButtonText& b : kButtons) {
    if (!request.Buttons.Contains(b.Button)) continue;
    results.emplace_back(box.addButton(QString::fromUtf8(b.Text), b.Role), b.Result);
  }
  auto buttonFor = [&results](int result) -> QPushButton* {
    for (const auto& [button, r] : results)
      if (r == result) return button;
    return nullptr;
  };
  if (QPushButton* yes = buttonFor(mrYes)) {
    box.setDefaultButton(yes);
  } else if (QPushButton* ok = buttonFor(mrOk)) {
    box.setDefaultButton(ok);
  }
  const int escape = EscapeResult(request.Buttons);
  if (QPushButton* escapeButton = buttonFor(escape)) box.setEscapeButton(escapeButton);

  box.exec();
  for (const auto& [button, result] : results)
    if (box.clickedButton() == button) return result;
  return escape;
}

}  // namespace permora
