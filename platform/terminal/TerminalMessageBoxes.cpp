#include "platform/terminal/TerminalMessageBoxes.h"

#include <string>

namespace permora {

namespace {
String Trimmed(const String& s) {
  const char* blanks = " \t\r\n";
  const std::size_t first = s.find_first_not_of(blanks);
  if (first == String::npos) return {};
  return s.substr(first, s.find_last_not_of(blanks) - first + 1);
}
}  // namespace

bool TTerminalMessageBoxes::IsYesAnswer(const String& line) {
  const String answer = LowerCaseAscii(Trimmed(line));
  return answer == "y" || answer == "yes" || answer == "はい";
}

int TTerminalMessageBoxes::ShowModal(const TMessageBoxRequest& request) {
  std::ostream& stream = request.Type == mtError ? FErr : FOut;
  stream << DisplayableText(request.Text) << '\n';
  stream.flush();
  if (!request.Buttons.Contains(mbYes)) return request.Buttons.Contains(mbOK) ? mrOk : EscapeResult(request.Buttons);
  String line;
  if (!std::getline(FIn, line)) return EscapeResult(request.Buttons);
  return IsYesAnswer(line) ? mrYes : EscapeResult(request.Buttons);
}

}  // namespace permora
