#include "ui/picker_rules.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>

namespace kestrum::ui {

QString InitialFolderFor(const QString& fieldText, const QString& currentDir) {
  const QFileInfo file(fieldText);
  if (fieldText.isEmpty() || file.isRelative()) return currentDir;  // no directory part
  const QString dir = file.path();
  return QFileInfo(dir).isDir() ? dir : currentDir;
}

QString HelpPagePath(const QString& programDir) {
  return programDir + QLatin1Char('/') + QLatin1String(kHelpPageName);
}

QUrl HelpPageUrl(const QString& target) {
  const qsizetype hash = target.indexOf(QLatin1Char('#'));
  QUrl url = QUrl::fromLocalFile(hash < 0 ? target : target.left(hash));
  if (hash >= 0) url.setFragment(target.mid(hash + 1));
  return url;
}

bool OpenHelpPage(const QString& target) {
  return QDesktopServices::openUrl(HelpPageUrl(target));
}

}  // namespace kestrum::ui
