#include "platform/qt/QtWindowFactory.h"

#include "platform/qt/QtFormWindow.h"

namespace permora {

std::unique_ptr<IFormWindow> TQtWindowFactory::CreateWindow(TCustomForm& form) {
  return std::make_unique<TQtFormWindow>(form, FFirstShowActivates);
}

}  // namespace permora
