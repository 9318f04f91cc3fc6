#include "platform/Timer.h"

#include "platform/Services.h"

namespace permora {

TTimer::TTimer(TComponent* AOwner) : TComponent(AOwner) {}

TTimer::~TTimer() { StopServiceTimer(); }

const TClassInfo& TTimer::StaticClassInfo() {
  namespace p = published;
  static const TClassInfo info(
      "TTimer", &TComponent::StaticClassInfo(),
      {
          p::Boolean<TTimer>("Enabled", &TTimer::Enabled, &TTimer::SetEnabled, true),
          p::Integer<TTimer>("Interval", [](const TTimer& t) { return static_cast<int32_t>(t.Interval()); },
                             [](TTimer& t, int32_t v) { t.SetInterval(static_cast<uint32_t>(v)); }, 1000),
          p::Event<TTimer, TNotifyEvent>("OnTimer", &TTimer::OnTimer, &TTimer::SetOnTimer),
      },
      published::ComponentFactory<TTimer>());
  return info;
}

void TTimer::SetEnabled(bool value) {
  if (value == FEnabled) return;
  FEnabled = value;
  UpdateTimer();
}

void TTimer::SetInterval(uint32_t value) {
  if (value == FInterval) return;
  FInterval = value;
  UpdateTimer();
}

void TTimer::SetOnTimer(const TNotifyEvent& value) {
  FOnTimer = value;
  UpdateTimer();
}

void TTimer::Timer() {
  if (FOnTimer) FOnTimer(this);
}

void TTimer::StopServiceTimer() {
  if (FTimerId < 0) return;
  FService->StopTimer(FTimerId);
  FTimerId = -1;
  FService = nullptr;
}

void TTimer::UpdateTimer() {
  StopServiceTimer();
  if (!FEnabled || FInterval == 0 || !FOnTimer) return;
  ITimerService* service = PlatformServices().Timers;
  if (!service) return;
  // The handler may free this timer; nothing of it is touched after Timer() returns.
  FTimerId = service->StartTimer(FInterval, [this] { Timer(); });
  FService = service;
}

}  // namespace permora
