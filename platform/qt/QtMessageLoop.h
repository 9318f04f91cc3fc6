#pragma once
// The Qt event loop as the application's message loop.

#include "platform/Application.h"

namespace permora {

class TQtMessageLoop final : public IMessageLoop {
 public:
  void Run() override;
  void Quit() override;
};

}  // namespace permora
