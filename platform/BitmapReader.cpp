#include "platform/Graphics.h"

namespace permora {

// Placeholder until the bitmap file reader lands.
void TBitmap::LoadFromFile(const String& fileName) {
  throw EFOpenError(FormatMessage(messages::FileOpen, DisplayableText(fileName)));
}

}  // namespace permora
