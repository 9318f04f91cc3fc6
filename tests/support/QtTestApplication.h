#pragma once
// The one QApplication of a test program, made on first use (tests run on the offscreen platform)
// and destroyed when the test program's run ends, before main returns: a QApplication left to
// static destruction outlives the platform plugin and crashes on its way out.

#include <gtest/gtest.h>

#include <QApplication>
#include <memory>

namespace permora::testing_support {

class TQtTestEnvironment final : public testing::Environment {
 public:
  QApplication& Application() {
    if (!FApplication) FApplication = std::make_unique<QApplication>(FArgc, FArgv);
    return *FApplication;
  }
  void TearDown() override { FApplication.reset(); }

 private:
  int FArgc = 1;
  char FName[14] = "permora-tests";
  char* FArgv[2] = {FName, nullptr};
  std::unique_ptr<QApplication> FApplication;
};

inline QApplication& TestApplication() {
  if (auto* existing = qobject_cast<QApplication*>(QCoreApplication::instance())) return *existing;
  // gtest owns the environment and tears it down at the end of the run.
  static auto* environment =
      static_cast<TQtTestEnvironment*>(testing::AddGlobalTestEnvironment(new TQtTestEnvironment));
  return environment->Application();
}

}  // namespace permora::testing_support
