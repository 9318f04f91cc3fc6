#pragma once
// The Qt backend: the QApplication and every service it gives (windows, timers, input state,
// system colours, boxes, bell, shell, the message loop), installed while the backend lives.

#include <QApplication>

#include "platform/Application.h"
#include "platform/Dialogs.h"
#include "platform/qt/QtInputState.h"
#include "platform/qt/QtMessageBoxes.h"
#include "platform/qt/QtMessageLoop.h"
#include "platform/qt/QtShell.h"
#include "platform/qt/QtSound.h"
#include "platform/qt/QtSystemColors.h"
#include "platform/qt/QtTimerService.h"
#include "platform/qt/QtWindowFactory.h"

namespace permora {

class TQtBackend {
 public:
  // Qt sees the program's name only: the program's arguments are folders, never Qt options.
  explicit TQtBackend(const char* programName);
  ~TQtBackend();
  TQtBackend(const TQtBackend&) = delete;
  TQtBackend& operator=(const TQtBackend&) = delete;

  // Where no window manager hands out focus, a window's first show counts as its activation.
  static bool FirstShowActivates();

 private:
  int FArgc = 1;  // QApplication keeps references to both
  char* FArgv[2];
  QApplication FApplication;
  TQtWindowFactory FWindows;
  TQtTimerService FTimers;
  TQtInputState FInput;
  TQtSystemColors FColors;
  TQtMessageBoxes FBoxes;
  TQtSound FSound;
  TQtShell FShell;
  TQtMessageLoop FLoop;
  TPlatformServices FPreviousPlatform;
  TDialogServices FPreviousDialogs;
  IMessageLoop* FPreviousLoop;
};

}  // namespace permora
