#include "platform/Application.h"

#include <unistd.h>

#include <array>

#include "platform/Dialogs.h"

namespace permora {

TApplication* Application = nullptr;

namespace {

IMessageLoop* gMessageLoop = nullptr;

// The path the program was started by, made absolute; a bare name came through PATH, so the
// system's record of the running file answers then.
String ExecutablePath(const char* argv0) {
  const String given = argv0 ? argv0 : "";
  if (given.find('/') != String::npos) return ExpandFileName(given);
  std::array<char, 4096> buffer{};
  const ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size() - 1);
  if (length > 0) return String(buffer.data(), static_cast<std::size_t>(length));
  return given;
}

}  // namespace

void SetMessageLoop(IMessageLoop* loop) { gMessageLoop = loop; }
IMessageLoop* MessageLoop() { return gMessageLoop; }

TApplication::TApplication(int argc, const char* const* argv) : TComponent(nullptr) {
  FArguments.push_back(ExecutablePath(argc > 0 ? argv[0] : nullptr));
  for (int i = 1; i < argc; ++i) FArguments.emplace_back(argv[i]);
  Application = this;
}

TApplication::~TApplication() {
  if (Application == this) Application = nullptr;
}

String TApplication::ParamStr(int index) const {
  if (index < 0 || index >= static_cast<int>(FArguments.size())) return {};
  return FArguments[static_cast<std::size_t>(index)];
}

void TApplication::Run() {
  if (!FMainForm || FRunning) return;
  FRunning = true;
  struct ClearOnExit {
    bool& running;
    ~ClearOnExit() { running = false; }
  } clear{FRunning};
  Dispatch([this] { FMainForm->Show(); });
  if (ShouldStop()) return;
  if (IMessageLoop* loop = MessageLoop()) {
    loop->Run();
  } else {
    RunOffScreen();
  }
}

void TApplication::RunOffScreen() {
  // Off-screen nobody can interact with the form, so its one activation is all there is.
  Dispatch([this] { FMainForm->Activate(); });
}

void TApplication::Terminate() {
  FTerminated = true;
  if (FRunning) {
    if (IMessageLoop* loop = MessageLoop()) loop->Quit();
  }
}

bool TApplication::ShouldStop() const { return FTerminated || (FMainForm && FMainForm->Closed()); }

void TApplication::Dispatch(const std::function<void()>& handler) {
  try {
    handler();
  } catch (const EAbort&) {
    // The silent stop ends the handler and nothing else.
  } catch (const std::exception& error) {
    HandleException(error);
  }
  if (FRunning && ShouldStop()) Terminate();
}

void TApplication::HandleException(const std::exception& error) {
  const auto* platformError = dynamic_cast<const Exception*>(&error);
  const String message = platformError ? platformError->Message() : String();
  FErrorShown = true;
  TMessageBoxRequest request;
  request.Caption = FTitle;
  request.Text = ErrorDisplayText(message);
  request.Type = mtError;
  request.Buttons = {mbOK};
  if (IMessageBoxes* boxes = DialogServices().Boxes) boxes->ShowModal(request);
}

int ParamCount() { return Application ? Application->ParamCount() : 0; }

String ParamStr(int index) { return Application ? Application->ParamStr(index) : String(); }

void DispatchGuarded(const std::function<void()>& handler) {
  if (Application) {
    Application->Dispatch(handler);
  } else {
    handler();
  }
}

}  // namespace permora
