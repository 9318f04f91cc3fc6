#pragma once
// Shell requests on a terminal: there is no desktop to open anything in, so the target is printed
// on a line of its own for the user to open.

#include <ostream>

#include "platform/Dialogs.h"

namespace permora {

class TTerminalShell final : public IShell {
 public:
  explicit TTerminalShell(std::ostream& out) : FOut(out) {}
  void Open(const String& target) override;

 private:
  std::ostream& FOut;
};

}  // namespace permora
