#include "platform/qt/QtMessageLoop.h"

#include <QApplication>

namespace permora {

void TQtMessageLoop::Run() { QApplication::exec(); }

void TQtMessageLoop::Quit() { QCoreApplication::exit(0); }

}  // namespace permora
