#pragma once
// The application object: the title, the forms it owns and its main form, the command line, the
// message loop of the backend and the guard around every event, which shows what escapes a
// handler in the error display.

#include <functional>
#include <vector>

#include "platform/Forms.h"

namespace permora {

// The backend's event loop. Without one the application runs off-screen: the main form is shown
// and activated once, and the run ends when the activation returns.
class IMessageLoop {
 public:
  virtual ~IMessageLoop() = default;
  // Delivers events until Quit.
  virtual void Run() = 0;
  virtual void Quit() = 0;
};

class TApplication : public TComponent {
 public:
  // argv[0] is the program; the rest are its arguments, unchanged. Becomes `Application`.
  TApplication(int argc, const char* const* argv);
  ~TApplication() override;

  const String& Title() const { return FTitle; }
  void SetTitle(const String& value) { FTitle = value; }

  void Initialize() {}
  // Creates a form owned by the application; the first one becomes the main form.
  template <class T>
  void CreateForm(T*& reference) {
    reference = new T(this);
    if (!FMainForm) FMainForm = reference;
  }
  TCustomForm* MainForm() const { return FMainForm; }

  // Shows the main form and delivers events until the application terminates: Terminate was
  // called, or the main form was closed.
  void Run();
  void Terminate();
  bool Terminated() const { return FTerminated; }

  // Runs an event handler under the guard: an exception that leaves it goes to HandleException,
  // and a closed main form ends the message loop.
  void Dispatch(const std::function<void()>& handler);
  // The error display: the message (with the final "." rule), the title as caption, the stop icon
  // and "OK". An exception of another family shows an empty message.
  void HandleException(const std::exception& error);
  // 1 once the error display was shown, else 0.
  int ExitCode() const { return FErrorShown ? 1 : 0; }

  int ParamCount() const { return static_cast<int>(FArguments.size()) - 1; }
  // Argument i unchanged; for 0 the executable's full path; "" out of range.
  String ParamStr(int index) const;

 private:
  void RunOffScreen();
  bool ShouldStop() const;
  String FTitle;
  std::vector<String> FArguments;
  TCustomForm* FMainForm = nullptr;
  bool FTerminated = false;
  bool FErrorShown = false;
  bool FRunning = false;
};

// The one application object, or null while none exists.
extern TApplication* Application;

// The backend's loop; null off-screen. Not owned.
void SetMessageLoop(IMessageLoop* loop);
IMessageLoop* MessageLoop();

int ParamCount();
String ParamStr(int index);

// What a backend calls for every event: the application's guard when there is an application,
// else the handler itself.
void DispatchGuarded(const std::function<void()>& handler);

}  // namespace permora
