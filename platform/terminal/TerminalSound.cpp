#include "platform/terminal/TerminalSound.h"

namespace permora {

void TTerminalSound::Beep() {
  if (!FErrIsTerminal) return;
  FErr << '\a';
  FErr.flush();
}

}  // namespace permora
