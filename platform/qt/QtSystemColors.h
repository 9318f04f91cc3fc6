#pragma once
// System colours from the application's Qt palette. When the palette changes every form and its
// controls get CM_SYSCOLORCHANGE, so that what they painted with the old colours is painted again.

#include <QObject>

#include "platform/Graphics.h"

namespace permora {

class TQtSystemColors final : public QObject, public ISystemColors {
 public:
  TQtSystemColors();
  TColor SysColor(int n) const override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace permora
