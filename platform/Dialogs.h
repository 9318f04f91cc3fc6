#pragma once
// Message boxes, the beep and shell requests: services that only a backend can give. The Qt
// backend shows real boxes; the terminal backend prints; tests may install scripted ones.
// Nothing is owned here: whoever installs a service keeps it alive.

#include <cstdint>

#include "platform/SysUtils.h"
#include "platform/TypInfo.h"

namespace permora {

enum class TMsgDlgType : uint8_t { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };
using enum TMsgDlgType;

enum class TMsgDlgBtn : uint8_t { mbYes, mbNo, mbOK, mbCancel, mbAbort, mbRetry, mbIgnore, mbAll, mbNoToAll, mbYesToAll, mbHelp };
using enum TMsgDlgBtn;
using TMsgDlgButtons = TSet<TMsgDlgBtn>;

// The results of a modal box.
inline constexpr int mrNone = 0;
inline constexpr int mrOk = 1;
inline constexpr int mrCancel = 2;
inline constexpr int mrAbort = 3;
inline constexpr int mrRetry = 4;
inline constexpr int mrIgnore = 5;
inline constexpr int mrYes = 6;
inline constexpr int mrNo = 7;

// One modal box: its caption, its text, its kind (which also picks the icon) and its buttons.
struct TMessageBoxRequest {
  String Caption;
  String Text;
  TMsgDlgType Type = mtCustom;
  TMsgDlgButtons Buttons{mbOK};
};

class IMessageBoxes {
 public:
  virtual ~IMessageBoxes() = default;
  // Shows the box and returns once it is closed, with the mr value of the button chosen; closing the
  // box without a button answers as Esc does (No, Cancel or OK, the first the box has).
  virtual int ShowModal(const TMessageBoxRequest& request) = 0;
};

class ISound {
 public:
  virtual ~ISound() = default;
  // The platform's default sound; returns at once.
  virtual void Beep() = 0;
};

class IShell {
 public:
  virtual ~IShell() = default;
  // Asks the desktop to open a web address or a folder in its default viewer; failures go unnoticed.
  virtual void Open(const String& target) = 0;
};

struct TDialogServices {
  IMessageBoxes* Boxes = nullptr;  // none: boxes are not shown and answer as Esc does
  ISound* Sound = nullptr;         // none: silence
  IShell* Shell = nullptr;         // none: requests are dropped
};

TDialogServices& DialogServices();

// What a box without a chosen button answers.
int EscapeResult(TMsgDlgButtons buttons);
// The caption a box of this kind carries; mtCustom boxes carry the application title.
String MessageDlgCaption(TMsgDlgType type);

// A plain box: the application title as caption, no icon, one button "OK".
void ShowMessage(const String& text);
// A box of the given kind and buttons; the result is mrYes exactly when Yes was chosen.
int MessageDlg(const String& text, TMsgDlgType type, TMsgDlgButtons buttons, int32_t helpContext);
// MessageBeep(0): the default sound.
void MessageBeep(uint32_t type);
// ShellExecute with the verb "OPEN"; other verbs are not offered.
void ShellExecute(const String& verb, const String& target);

}  // namespace permora
