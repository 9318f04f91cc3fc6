#include "platform/qt/QtSound.h"

#include <QApplication>

namespace permora {

void TQtSound::Beep() { QApplication::beep(); }

}  // namespace permora
