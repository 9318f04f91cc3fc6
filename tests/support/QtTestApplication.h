#pragma once
// The one QApplication of a test program, made on first use (tests run on the offscreen platform).

#include <QApplication>

namespace permora::testing_support {

inline QApplication& TestApplication() {
  if (auto* existing = qobject_cast<QApplication*>(QCoreApplication::instance())) return *existing;
  static int argc = 1;
  static char name[] = "permora-tests";
  static char* argv[] = {name, nullptr};
  static QApplication application(argc, argv);
  return application;
}

}  // namespace permora::testing_support
