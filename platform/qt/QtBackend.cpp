#include "platform/qt/QtBackend.h"

#include "platform/qt/QtDisplay.h"

namespace permora {

bool TQtBackend::FirstShowActivates() {
  const QString platform = QGuiApplication::platformName();
  if (platform == "xcb") return !X11WindowManagerRunning();
  // Wayland compositors always hand out focus; the offscreen and minimal platforms have nobody who
  // would.
  return platform != "wayland";
}

TQtBackend::TQtBackend(const char* programName)
    : FArgv{const_cast<char*>(programName), nullptr},
      FApplication(FArgc, FArgv),
      FWindows(FirstShowActivates()),
      FPreviousPlatform(PlatformServices()),
      FPreviousDialogs(DialogServices()),
      FPreviousLoop(MessageLoop()) {
  // The program closes its window itself; the loop ends when the main form is closed.
  QApplication::setQuitOnLastWindowClosed(false);
  PlatformServices().Windows = &FWindows;
  PlatformServices().Timers = &FTimers;
  PlatformServices().Input = &FInput;
  SetSystemColors(&FColors);
  DialogServices() = TDialogServices{&FBoxes, &FSound, &FShell};
  SetMessageLoop(&FLoop);
}

TQtBackend::~TQtBackend() {
  SetMessageLoop(FPreviousLoop);
  DialogServices() = FPreviousDialogs;
  SetSystemColors(nullptr);
  PlatformServices() = FPreviousPlatform;
}

}  // namespace permora
