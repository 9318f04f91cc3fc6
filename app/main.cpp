// The program entry: the backend for this display, the application and its main window, the
// message loop; the exit status tells whether the run ended with the error display.

#include "app/Mainwindow1.h"
#include "platform/Application.h"
#include "platform/qt/QtBackend.h"
#include "platform/qt/QtDisplay.h"
#include "platform/terminal/TerminalBackend.h"

namespace {

int RunDroplet(int argc, char** argv) {
  permora::TApplication application(argc, argv);
  try {
    application.Initialize();
    application.SetTitle("ペルモラ");
    application.CreateForm(permora::MainForm1);
    application.Run();
  } catch (const std::exception& error) {
    application.HandleException(error);
  }
  return application.ExitCode();
}

}  // namespace

int main(int argc, char** argv) {
  // Qt aborts on a display it cannot open, so the terminal runs unless one opens here.
  if (permora::DisplayCanBeOpened()) {
    const permora::TQtBackend backend(argc > 0 ? argv[0] : "permora");
    return RunDroplet(argc, argv);
  }
  const permora::TTerminalBackend backend;
  return RunDroplet(argc, argv);
}
