#pragma once
// Makes the real windows of forms.

#include "platform/Services.h"

namespace permora {

class TQtWindowFactory final : public IWindowFactory {
 public:
  explicit TQtWindowFactory(bool firstShowActivates) : FFirstShowActivates(firstShowActivates) {}
  std::unique_ptr<IFormWindow> CreateWindow(TCustomForm& form) override;

 private:
  bool FFirstShowActivates;
};

}  // namespace permora
