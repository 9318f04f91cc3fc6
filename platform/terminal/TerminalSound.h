#pragma once
// The terminal's bell: the BEL character on standard error, only when that is a terminal, so that
// redirected output stays clean.

#include <ostream>

#include "platform/Dialogs.h"

namespace permora {

class TTerminalSound final : public ISound {
 public:
  TTerminalSound(std::ostream& err, bool errIsTerminal) : FErr(err), FErrIsTerminal(errIsTerminal) {}
  void Beep() override;

 private:
  std::ostream& FErr;
  bool FErrIsTerminal;
};

}  // namespace permora
