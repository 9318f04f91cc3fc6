#include "platform/qt/QtTimerService.h"

#include <QTimer>

#include "platform/Application.h"

namespace permora {

TQtTimerService::~TQtTimerService() = default;  // FOwner frees the timers

int TQtTimerService::StartTimer(uint32_t interval, std::function<void()> tick) {
  const int id = FNextId++;
  auto* timer = new QTimer(&FOwner);
  timer->setInterval(static_cast<int>(interval));
  QObject::connect(timer, &QTimer::timeout, timer, [tick = std::move(tick)] { DispatchGuarded(tick); });
  timer->start();
  FTimers[id] = timer;
  return id;
}

void TQtTimerService::StopTimer(int id) {
  const auto it = FTimers.find(id);
  if (it == FTimers.end()) return;
  QTimer* timer = it->second;
  FTimers.erase(it);
  timer->stop();
  // A tick may be stopping its own timer: the timer goes once its signal has returned.
  timer->deleteLater();
}

}  // namespace permora
