#pragma once
// A timer component: raises OnTimer every Interval milliseconds while Enabled, from the event loop
// of the backend's timer service (PlatformServices().Timers). Without a service it never fires.

#include <cstdint>

#include "platform/Classes.h"
#include "platform/TypInfo.h"

namespace permora {

class ITimerService;

class TTimer : public TComponent {
 public:
  explicit TTimer(TComponent* AOwner);
  ~TTimer() override;
  static const TClassInfo& StaticClassInfo();
  const TClassInfo& ClassInfo() const override { return StaticClassInfo(); }

  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool value);
  uint32_t Interval() const { return FInterval; }
  void SetInterval(uint32_t value);
  const TNotifyEvent& OnTimer() const { return FOnTimer; }
  void SetOnTimer(const TNotifyEvent& value);

  // True while the service calls this timer back: enabled, a non-zero interval and a handler.
  bool Running() const { return FTimerId >= 0; }

 protected:
  virtual void Timer();

 private:
  // Stops the service's timer and starts a new one when the timer should run.
  void UpdateTimer();
  void StopServiceTimer();

  uint32_t FInterval = 1000;
  bool FEnabled = true;
  TNotifyEvent FOnTimer;
  ITimerService* FService = nullptr;  // the service that runs FTimerId
  int FTimerId = -1;
};

}  // namespace permora
