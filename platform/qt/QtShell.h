#pragma once
// Shell requests through the desktop's URL handlers: web addresses as they are, folders as file URLs.

#include "platform/Dialogs.h"

namespace permora {

class TQtShell final : public IShell {
 public:
  void Open(const String& target) override;
  // The URL a target is opened as.
  static String UrlOf(const String& target);
};

}  // namespace permora
