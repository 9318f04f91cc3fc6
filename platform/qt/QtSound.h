#pragma once
// The desktop's bell.

#include "platform/Dialogs.h"

namespace permora {

class TQtSound final : public ISound {
 public:
  void Beep() override;
};

}  // namespace permora
