#include "chart/chart_picture.h"

#include <QClipboard>
#include <QFileDialog>
#include <QGuiApplication>
#include <QImage>
#include <QMenu>
#include <QMessageBox>
#include <QPixmap>
#include <QWidget>

namespace kestrum::chart {

QImage PictureOf(QWidget& source) { return source.grab().toImage(); }

bool SavePicture(QWidget& source, const QString& path) {
  return PictureOf(source).save(path, "PNG");
}

void CopyPicture(QWidget& source) { QGuiApplication::clipboard()->setImage(PictureOf(source)); }

QString ChoosePngFile(QWidget* parent) {
  QString path = QFileDialog::getSaveFileName(parent, QStringLiteral("Save chart as PNG"),
                                              QString(), QStringLiteral("PNG pictures (*.png)"));
  if (!path.isEmpty() && !path.endsWith(QStringLiteral(".png"), Qt::CaseInsensitive)) {
    path += QStringLiteral(".png");
  }
  return path;
}

QMenu* MakePictureMenu(QWidget& source, QWidget* parent, const SavePathChooser& chooser) {
  auto* menu = new QMenu(parent);
  menu->setAttribute(Qt::WA_DeleteOnClose);
  QWidget* target = &source;
  QObject::connect(menu->addAction(QString::fromLatin1(kSaveAsPngText)), &QAction::triggered,
                   parent, [target, parent, chooser] {
                     const QString path = chooser ? chooser(parent) : ChoosePngFile(parent);
                     if (path.isEmpty()) return;
                     if (!SavePicture(*target, path)) {
                       QMessageBox::warning(parent, QGuiApplication::applicationDisplayName(),
                                            QStringLiteral("Cannot write ") + path);
                     }
                   });
  QObject::connect(menu->addAction(QString::fromLatin1(kCopyText)), &QAction::triggered, parent,
                   [target] { CopyPicture(*target); });
  return menu;
}

}  // namespace kestrum::chart
