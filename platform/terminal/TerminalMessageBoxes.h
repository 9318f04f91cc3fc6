#pragma once
// Message boxes on a terminal: a box prints its text on a line of its own (the error display on
// standard error, every other box on standard output); a box with Yes among its buttons asks and
// reads one answer line.

#include <istream>
#include <ostream>

#include "platform/Dialogs.h"

namespace permora {

class TTerminalMessageBoxes final : public IMessageBoxes {
 public:
  TTerminalMessageBoxes(std::istream& in, std::ostream& out, std::ostream& err) : FIn(in), FOut(out), FErr(err) {}
  int ShowModal(const TMessageBoxRequest& request) override;

  // "y", "yes" or "はい", in any letter case and with surrounding blanks, is Yes.
  static bool IsYesAnswer(const String& line);

 private:
  std::istream& FIn;
  std::ostream& FOut;
  std::ostream& FErr;
};

}  // namespace permora
