#pragma once
// The services that only a backend can give: the window surface and its events, timers, the
// pointer and the keyboard. The Qt backend and the terminal backend install theirs; tests may
// install scripted ones. Nothing is owned here: whoever installs a service keeps it alive.

#include <cstdint>
#include <functional>

#include "platform/Graphics.h"

namespace permora {

class TCustomForm;

// One top-level window showing a form's surface bitmap.
class IFormWindow {
 public:
  virtual ~IFormWindow() = default;
  virtual void Show() = 0;
  virtual void Hide() = 0;
  virtual void SetCaption(const String& caption) = 0;
  // Copies the given client rectangle of the form's surface to the screen before it returns.
  virtual void Present(const TRect& rect) = 0;
  // Asks for a later TCustomForm::PaintInvalidated from the event loop.
  virtual void SchedulePaint() = 0;
  // Screen position of the client area's top-left corner.
  virtual TPoint ClientOrigin() const = 0;
};

class IWindowFactory {
 public:
  virtual ~IWindowFactory() = default;
  // A window for the form; the form owns it and destroys it before itself.
  virtual std::unique_ptr<IFormWindow> CreateWindow(TCustomForm& form) = 0;
};

class ITimerService {
 public:
  virtual ~ITimerService() = default;
  // Calls tick every interval milliseconds from the event loop until stopped; returns its id.
  virtual int StartTimer(uint32_t interval, std::function<void()> tick) = 0;
  virtual void StopTimer(int id) = 0;
};

class IInputState {
 public:
  virtual ~IInputState() = default;
  virtual TPoint CursorPos() const = 0;              // screen coordinates
  virtual bool KeyIsDown(int virtualKey) const = 0;  // the high bit of GetKeyState
};

// Virtual keys that the keyboard state is asked for.
enum TVirtualKey : int { VK_LBUTTON = 0x01, VK_RBUTTON = 0x02, VK_MBUTTON = 0x04, VK_SHIFT = 0x10, VK_CONTROL = 0x11, VK_MENU = 0x12 };

struct TPlatformServices {
  IWindowFactory* Windows = nullptr;  // none: forms live off-screen, painted into their bitmap only
  ITimerService* Timers = nullptr;    // none: timers never fire
  IInputState* Input = nullptr;       // none: the pointer stays at (-1, -1) and no key is down
};

TPlatformServices& PlatformServices();

}  // namespace permora
