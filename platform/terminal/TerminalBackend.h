#pragma once
// The backend for a terminal without a display: forms live off-screen, boxes print (and the
// confirmation reads standard input), the bell rings on a terminal, shell requests print.
// Installs its services while it lives.

#include "platform/terminal/TerminalMessageBoxes.h"
#include "platform/terminal/TerminalShell.h"
#include "platform/terminal/TerminalSound.h"

namespace permora {

class TTerminalBackend {
 public:
  TTerminalBackend();
  ~TTerminalBackend();
  TTerminalBackend(const TTerminalBackend&) = delete;
  TTerminalBackend& operator=(const TTerminalBackend&) = delete;

 private:
  TTerminalMessageBoxes FBoxes;
  TTerminalSound FSound;
  TTerminalShell FShell;
  TDialogServices FPrevious;
};

}  // namespace permora
