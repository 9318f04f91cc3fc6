#pragma once
// The pointer's position and the keyboard and mouse-button state, as Qt knows them.

#include "platform/Services.h"

namespace permora {

class TQtInputState final : public IInputState {
 public:
  TPoint CursorPos() const override;
  bool KeyIsDown(int virtualKey) const override;
};

}  // namespace permora
