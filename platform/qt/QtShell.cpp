#include "platform/qt/QtShell.h"

#include <QDesktopServices>
#include <QUrl>

namespace permora {

namespace {
bool IsWebAddress(const String& target) {
  const String lower = LowerCaseAscii(target);
  return lower.starts_with("http://") || lower.starts_with("https://");
}

QUrl QUrlOf(const String& target) {
  if (IsWebAddress(target)) return QUrl(QString::fromUtf8(target));
  // Local paths are byte strings; QFile's encoding maps them back to the same bytes.
  return QUrl::fromLocalFile(QString::fromLocal8Bit(target));
}
}  // namespace

String TQtShell::UrlOf(const String& target) { return QUrlOf(target).toEncoded().toStdString(); }

void TQtShell::Open(const String& target) { QDesktopServices::openUrl(QUrlOf(target)); }

}  // namespace permora
