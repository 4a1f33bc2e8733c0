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

QString PageName(const QUrl& page) {
  if (!page.isLocalFile()) return page.toString();
  const QString file = QDir::toNativeSeparators(page.toLocalFile());
  return page.hasFragment() ? file + QLatin1Char('#') + page.fragment() : file;
}

bool OpenPageOrSay(const QUrl& page, const std::function<void(const QString&)>& tell) {
  if (QDesktopServices::openUrl(page)) return true;
  if (tell) {
    tell(QStringLiteral("No web browser or other program could be started to show the page ") +
         PageName(page) + QStringLiteral("."));
  }
  return false;
}

}  // namespace kestrum::ui
