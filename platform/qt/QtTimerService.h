#pragma once
// Message-loop timers on QTimer; each tick runs under the application's guard.

#include <QObject>
#include <map>

#include "platform/Services.h"

class QTimer;

namespace permora {

class TQtTimerService final : public ITimerService {
 public:
  TQtTimerService() = default;
  ~TQtTimerService() override;
  int StartTimer(uint32_t interval, std::function<void()> tick) override;
  void StopTimer(int id) override;

 private:
  QObject FOwner;  // parent of the running timers
  std::map<int, QTimer*> FTimers;
  int FNextId = 1;
};

}  // namespace permora
