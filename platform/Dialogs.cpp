#include "platform/Dialogs.h"

#include "platform/Application.h"

namespace permora {

TDialogServices& DialogServices() {
  static TDialogServices services;
  return services;
}

int EscapeResult(TMsgDlgButtons buttons) {
  if (buttons.Contains(mbNo)) return mrNo;
  if (buttons.Contains(mbCancel)) return mrCancel;
  if (buttons.Contains(mbOK)) return mrOk;
  return mrCancel;
}

String MessageDlgCaption(TMsgDlgType type) {
  switch (type) {
    case mtWarning:
      return "警告";
    case mtError:
      return "エラー";
    case mtInformation:
      return "情報";
    case mtConfirmation:
      return "確認";
    case mtCustom:
      break;
  }
  return Application ? Application->Title() : String();
}

namespace {
int ShowBox(const TMessageBoxRequest& request) {
  IMessageBoxes* boxes = DialogServices().Boxes;
  return boxes ? boxes->ShowModal(request) : EscapeResult(request.Buttons);
}
}  // namespace

void ShowMessage(const String& text) {
  ShowBox({MessageDlgCaption(mtCustom), text, mtCustom, {mbOK}});
}

int MessageDlg(const String& text, TMsgDlgType type, TMsgDlgButtons buttons, int32_t /*helpContext*/) {
  return ShowBox({MessageDlgCaption(type), text, type, buttons});
}

void MessageBeep(uint32_t /*type*/) {
  if (ISound* sound = DialogServices().Sound) sound->Beep();
}

void ShellExecute(const String& verb, const String& target) {
  if (UpperCaseAscii(verb) != "OPEN") return;
  if (IShell* shell = DialogServices().Shell) shell->Open(target);
}

}  // namespace permora
