#include "ui/pictures.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QtMath>

namespace kestrum::ui {

namespace {

QPixmap Blank(int size) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  return pixmap;
}

}  // namespace

QPixmap WeatherPicture(int size) {
  QPixmap pixmap = Blank(size);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  p.scale(size / 48.0, size / 48.0);
  // Sun with rays, upper left.
  const QPointF sun(18, 18);
  p.setPen(QPen(QColor(232, 160, 0), 2.2, Qt::SolidLine, Qt::RoundCap));
  for (int i = 0; i < 8; ++i) {
    const double a = i * M_PI / 4;
    p.drawLine(sun + QPointF(12 * std::cos(a), 12 * std::sin(a)),
               sun + QPointF(16.5 * std::cos(a), 16.5 * std::sin(a)));
  }
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(255, 196, 0));
  p.drawEllipse(sun, 9, 9);
  // Cloud, lower right.
  QPainterPath cloud;
  cloud.addEllipse(QPointF(24, 34), 8, 7);
  cloud.addEllipse(QPointF(33, 29), 9, 9);
  cloud.addEllipse(QPointF(41, 35), 6, 6);
  cloud.addRoundedRect(QRectF(17, 33, 30, 9), 4.5, 4.5);
  p.setBrush(QColor(235, 240, 245));
  p.setPen(QPen(QColor(90, 110, 130), 1.4));
  p.drawPath(cloud.simplified());
  return pixmap;
}

QPixmap TablePicture(int size) {
  QPixmap pixmap = Blank(size);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  p.scale(size / 48.0, size / 48.0);
  const QRectF sheet(6, 6, 36, 36);
  p.setPen(Qt::NoPen);
  p.setBrush(Qt::white);
  p.drawRect(sheet);
  p.setBrush(QColor(0, 128, 128));
  p.drawRect(QRectF(6, 6, 36, 8));  // header row
  p.setPen(QPen(QColor(0, 96, 96), 1.2));
  p.setBrush(Qt::NoBrush);
  p.drawRect(sheet);
  for (int row = 1; row < 5; ++row) p.drawLine(QPointF(6, 6 + 8 + row * 5.6), QPointF(42, 6 + 8 + row * 5.6));
  for (int col = 1; col < 4; ++col) p.drawLine(QPointF(6 + col * 9, 6), QPointF(6 + col * 9, 42));
  return pixmap;
}

QPixmap HelpPicture(int size) {
  QPixmap pixmap = Blank(size);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0, 110, 190));
  p.drawEllipse(QRectF(1, 1, size - 2, size - 2));
  QFont font = p.font();
  font.setBold(true);
  font.setPixelSize(size * 2 / 3);
  p.setFont(font);
  p.setPen(Qt::white);
  p.drawText(QRectF(0, 0, size, size), Qt::AlignCenter, QStringLiteral("?"));
  return pixmap;
}

QWidget* MakeBanner(const QPixmap& picture, const QString& text, QWidget* parent) {
  auto* banner = new QWidget(parent);
  auto* row = new QHBoxLayout(banner);
  row->setContentsMargins(0, 0, 0, 0);
  row->setSpacing(6);
  auto* image = new QLabel(banner);
  image->setPixmap(picture);
  image->setFixedSize(picture.size());
  auto* words = new QLabel(text, banner);
  words->setWordWrap(true);
  words->setAlignment(Qt::AlignCenter);
  words->setStyleSheet(QStringLiteral("color: #008080;"));
  row->addWidget(image, 0, Qt::AlignVCenter);
  row->addWidget(words, 1);
  return banner;
}

}  // namespace kestrum::ui
