#include "platform/terminal/TerminalShell.h"

namespace permora {

void TTerminalShell::Open(const String& target) {
  FOut << DisplayableText(target) << '\n';
  FOut.flush();
}

}  // namespace permora
