#pragma once
// Scripted backend services for interaction tests: a pointer and keyboard the test moves and
// presses, timers the test ticks by hand, and windows that sit at a fixed screen position.
// TScriptedHost installs all three for its lifetime; Move, Press and Release route the input
// through the form exactly as a backend does, keeping the pointer position in step.

#include <map>
#include <memory>
#include <set>

#include "platform/Forms.h"
#include "platform/Services.h"

namespace permora::testing_support {

class TScriptedInput final : public IInputState {
 public:
  TPoint CursorPos() const override { return Cursor; }
  bool KeyIsDown(int virtualKey) const override { return Keys.count(virtualKey) != 0; }
  TPoint Cursor{-1000, -1000};
  std::set<int> Keys;
};

class TScriptedTimers final : public ITimerService {
 public:
  int StartTimer(uint32_t interval, std::function<void()> tick) override {
    const int id = ++FLastId;
    FRunning[id] = {interval, std::move(tick)};
    return id;
  }
  void StopTimer(int id) override { FRunning.erase(id); }
  std::size_t Running() const { return FRunning.size(); }
  // The interval of the only running timer, or 0.
  uint32_t Interval() const { return FRunning.size() == 1 ? FRunning.begin()->second.interval : 0; }
  // One tick of every running timer.
  void TickAll() {
    std::vector<int> ids;
    for (const auto& [id, t] : FRunning) ids.push_back(id);
    for (int id : ids) {
      auto it = FRunning.find(id);
      if (it == FRunning.end()) continue;
      auto tick = it->second.tick;  // the tick may stop its own timer
      tick();
    }
  }

 private:
  struct TRunning {
    uint32_t interval = 0;
    std::function<void()> tick;
  };
  std::map<int, TRunning> FRunning;
  int FLastId = 0;
};

class TScriptedWindow final : public IFormWindow {
 public:
  explicit TScriptedWindow(TPoint origin) : FOrigin(origin) {}
  void Show() override {}
  void Hide() override {}
  void SetCaption(const String&) override {}
  void Present(const TRect&) override {}
  void SchedulePaint() override {}
  TPoint ClientOrigin() const override { return FOrigin; }

 private:
  TPoint FOrigin;
};

class TScriptedWindows final : public IWindowFactory {
 public:
  std::unique_ptr<IFormWindow> CreateWindow(TCustomForm&) override {
    return std::make_unique<TScriptedWindow>(Origin);
  }
  TPoint Origin{100, 50};
};

class TScriptedHost {
 public:
  TScriptedHost() {
    auto& services = PlatformServices();
    FSaved = services;
    services.Input = &Input;
    services.Timers = &Timers;
    services.Windows = &Windows;
  }
  ~TScriptedHost() { PlatformServices() = FSaved; }
  TScriptedHost(const TScriptedHost&) = delete;
  TScriptedHost& operator=(const TScriptedHost&) = delete;

  // The pointer moves to p (client coordinates of form) and the form hears of it.
  void Move(TCustomForm& form, TPoint p) {
    Input.Cursor = Screen(form, p);
    form.MouseInput(WM_MOUSEMOVE, Shift(), p);
  }
  // The pointer jumps without the form hearing of it (it left faster than any notification).
  void Warp(TCustomForm& form, TPoint p) { Input.Cursor = Screen(form, p); }
  void Press(TCustomForm& form, TPoint p, uint32_t msg = WM_LBUTTONDOWN) {
    Input.Cursor = Screen(form, p);
    Input.Keys.insert(KeyOf(msg));
    form.MouseInput(msg, Shift(), p);
  }
  void Release(TCustomForm& form, TPoint p, uint32_t msg = WM_LBUTTONUP) {
    Input.Cursor = Screen(form, p);
    Input.Keys.erase(KeyOf(msg));
    form.MouseInput(msg, Shift(), p);
  }
  void Click(TCustomForm& form, TPoint p) {
    Press(form, p);
    Release(form, p);
  }

  TScriptedInput Input;
  TScriptedTimers Timers;
  TScriptedWindows Windows;

 private:
  TPoint Screen(const TCustomForm& form, TPoint p) const { return form.ClientToScreen(p); }
  static int KeyOf(uint32_t msg) {
    switch (msg) {
      case WM_RBUTTONDOWN:
      case WM_RBUTTONUP:
      case WM_RBUTTONDBLCLK:
        return VK_RBUTTON;
      case WM_MBUTTONDOWN:
      case WM_MBUTTONUP:
      case WM_MBUTTONDBLCLK:
        return VK_MBUTTON;
      default:
        return VK_LBUTTON;
    }
  }
  TShiftState Shift() const {
    TShiftState s;
    if (Input.KeyIsDown(VK_LBUTTON)) s.Include(ssLeft);
    if (Input.KeyIsDown(VK_RBUTTON)) s.Include(ssRight);
    if (Input.KeyIsDown(VK_MBUTTON)) s.Include(ssMiddle);
    if (Input.KeyIsDown(VK_SHIFT)) s.Include(ssShift);
    if (Input.KeyIsDown(VK_CONTROL)) s.Include(ssCtrl);
    if (Input.KeyIsDown(VK_MENU)) s.Include(ssAlt);
    return s;
  }
  TPlatformServices FSaved;
};

}  // namespace permora::testing_support
