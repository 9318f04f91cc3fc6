#pragma once
// Modal message boxes as QMessageBox: the request's caption and text, the icon of its kind and its
// buttons with their Japanese texts; Yes (else OK) is the default, Esc answers No (else Cancel, else
// OK). While a box is open the windows of the forms stop staying on top, so the box shows above.

#include "platform/Dialogs.h"

namespace permora {

class TQtMessageBoxes final : public IMessageBoxes {
 public:
  int ShowModal(const TMessageBoxRequest& request) override;
};

}  // namespace permora
