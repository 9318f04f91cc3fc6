#include "platform/terminal/TerminalBackend.h"

#include <unistd.h>

#include <iostream>

namespace permora {

TTerminalBackend::TTerminalBackend()
    : FBoxes(std::cin, std::cout, std::cerr),
      FSound(std::cerr, isatty(STDERR_FILENO) == 1),
      FShell(std::cout),
      FPrevious(DialogServices()) {
  DialogServices() = TDialogServices{&FBoxes, &FSound, &FShell};
}

TTerminalBackend::~TTerminalBackend() { DialogServices() = FPrevious; }

}  // namespace permora
