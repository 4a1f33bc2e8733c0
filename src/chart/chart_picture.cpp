#include "chart/chart_picture.h"

#include <QClipboard>
#include <QFileDialog>
#include <QGraphicsView>
#include <QGuiApplication>
#include <QImage>
#include <QMenu>
#include <QMessageBox>
#include <QPainter>

namespace kestrum::chart {

namespace {

constexpr int kCaptionPixels = 13;

QFont CaptionFont() {
  QFont font = QGuiApplication::font();
  font.setPixelSize(kCaptionPixels);
  font.setBold(true);
  return font;
}

}  // namespace

int CaptionBandHeight() { return kCaptionPixels + 12; }

void PaintCaptionBand(QPainter& painter, int width, const QString& caption) {
  painter.save();
  painter.setFont(CaptionFont());
  painter.setPen(QColor(40, 40, 40));
  painter.drawText(QRect(0, 0, width, CaptionBandHeight()), Qt::AlignCenter, caption);
  painter.restore();
}

QImage ScenePicture(QGraphicsView& view, const QString& caption, const QString& title) {
  const qreal ratio = view.devicePixelRatioF();
  const int band = caption.isEmpty() ? 0 : CaptionBandHeight();
  const QSize size(view.viewport()->width(), view.viewport()->height() + band);
  QImage picture(size * ratio, QImage::Format_ARGB32_Premultiplied);
  picture.setDevicePixelRatio(ratio);
  picture.fill(Qt::white);
  QPainter painter(&picture);
  painter.setRenderHints(view.renderHints());
  if (band > 0) PaintCaptionBand(painter, size.width(), caption);
  // The scene only: widgets laid over the view (buttons, the rubber band) are not part of it.
  view.render(&painter, QRectF(0, band, size.width(), size.height() - band),
              view.viewport()->rect());
  painter.end();
  picture.setText(QString::fromLatin1(kPictureTitleKey), title.isEmpty() ? caption : title);
  return picture;
}

bool SavePicture(const QImage& picture, const QString& path) { return picture.save(path, "PNG"); }

void CopyPicture(const QImage& picture) { QGuiApplication::clipboard()->setImage(picture); }

QString ChoosePngFile(QWidget* parent) {
  QString path = QFileDialog::getSaveFileName(parent, QStringLiteral("Save chart as PNG"),
                                              QString(), QStringLiteral("PNG pictures (*.png)"));
  if (!path.isEmpty() && !path.endsWith(QStringLiteral(".png"), Qt::CaseInsensitive)) {
    path += QStringLiteral(".png");
  }
  return path;
}

QMenu* MakePictureMenu(PictureMaker make, QWidget* parent, const SavePathChooser& chooser) {
  auto* menu = new QMenu(parent);
  menu->setAttribute(Qt::WA_DeleteOnClose);
  QObject::connect(menu->addAction(QString::fromLatin1(kSaveAsPngText)), &QAction::triggered,
                   parent, [make, parent, chooser] {
                     const QString path = chooser ? chooser(parent) : ChoosePngFile(parent);
                     if (path.isEmpty()) return;
                     if (!SavePicture(make(), path)) {
                       QMessageBox::warning(parent, QGuiApplication::applicationDisplayName(),
                                            QStringLiteral("Cannot write ") + path);
                     }
                   });
  QObject::connect(menu->addAction(QString::fromLatin1(kCopyText)), &QAction::triggered, parent,
                   [make] { CopyPicture(make()); });
  return menu;
}

}  // namespace kestrum::chart
