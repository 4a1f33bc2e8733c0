#include "review/wind_rose_window.h"

#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QShowEvent>
#include <QTableWidget>

#include "chart/chart_picture.h"
#include "chart/wind_rose_view.h"
#include "ui/window_placement.h"

namespace kestrum {

namespace {

constexpr int kChartSize = 320;
constexpr int kGridLeft = 330;
constexpr int kRowHeight = 19;
const QColor kPickedColour(0, 255, 255);  // aqua
const QColor kReleasedColour(0, 0, 255);  // blue
const QColor kSeriesColour(220, 0, 0);

QTableWidgetItem* FixedCell(const QString& text) {
  auto* item = new QTableWidgetItem(text);
  item->setFlags(Qt::ItemIsEnabled);
  return item;
}

}  // namespace

QString WindRoseCaption(const QString& runName) {
  const QString caption = QStringLiteral("Wind Direction Profile");
  return runName.isEmpty() ? caption : caption + QStringLiteral(": ") + runName;
}

TfrmWindRose::TfrmWindRose(const WindSectorCounts& counts, WindRoseSubject subject,
                           QWidget* mainWindow)
    : QDialog(mainWindow), counts_(counts), subject_(std::move(subject)) {
  setObjectName(QStringLiteral("frmWindRose"));
  setWindowTitle(WindRoseCaption(subject_.runName));
  setFixedSize(kWindRoseNarrowWidth, kWindRoseHeight);

  Chart1 = new chart::WindRoseView(this);
  Chart1->setObjectName(QStringLiteral("Chart1"));
  Chart1->setGeometry(2, 2, kChartSize, kChartSize);
  Chart1->setSeriesColor(kSeriesColour);
  Chart1->setPictureMaker([this] { return picture(); });

  sgWindDir = new QTableWidget(17, 2, this);
  sgWindDir->setObjectName(QStringLiteral("sgWindDir"));
  sgWindDir->horizontalHeader()->hide();
  sgWindDir->verticalHeader()->hide();
  sgWindDir->verticalHeader()->setDefaultSectionSize(kRowHeight);
  sgWindDir->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  sgWindDir->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  sgWindDir->setEditTriggers(QAbstractItemView::NoEditTriggers);
  sgWindDir->setGeometry(kGridLeft, 2, 50 + 60 + 2 * sgWindDir->frameWidth(),
                         17 * kRowHeight + 2 * sgWindDir->frameWidth());

  btnShowWindNums = new QPushButton(QStringLiteral(">>>"), this);
  btnShowWindNums->setObjectName(QStringLiteral("btnShowWindNums"));
  btnShowWindNums->setGeometry(kWindRoseNarrowWidth - 52, kChartSize + 12, 46, 26);
  // The caption may be cut by a narrow title bar: the run is named below the rose too.
  lblRoseRun = new QLabel(this);
  lblRoseRun->setObjectName(QStringLiteral("lblRoseRun"));
  lblRoseRun->setGeometry(8, kChartSize + 12, kWindRoseNarrowWidth - 52 - 16, 26);
  if (!subject_.runName.isEmpty()) {
    const QString text = subject_.data.isEmpty()
                             ? subject_.runName
                             : subject_.runName + QStringLiteral(": ") + subject_.data;
    lblRoseRun->setToolTip(text);
    lblRoseRun->setText(lblRoseRun->fontMetrics().elidedText(text, Qt::ElideMiddle,
                                                             lblRoseRun->width()));
  }
  btnReCalcPercent = new QPushButton(QStringLiteral("Recalculate %"), this);
  btnReCalcPercent->setObjectName(QStringLiteral("btnReCalcPercent"));
  btnReCalcPercent->setGeometry(kGridLeft, kChartSize + 12, 50 + 60 + 4, 26);

  connect(Chart1, &chart::WindRoseView::pointPressed, this,
          [this](int k, QPoint pixel) { Series1Click(k, pixel); });
  connect(Chart1, &chart::WindRoseView::released, this,
          [this](QPoint pixel) { Chart1MouseUp(pixel); });
  connect(btnShowWindNums, &QPushButton::clicked, this, [this] { btnShowWindNumsClick(); });
  connect(btnReCalcPercent, &QPushButton::clicked, this, [this] { btnReCalcPercentClick(); });
  FormCreate();
}

void TfrmWindRose::FormCreate() {
  selected_ = false;
  selectedSector_ = 0;
  pickDistance_ = 0.0;
  sgWindDir->setColumnWidth(0, 50);
  sgWindDir->setColumnWidth(1, 60);
  sgWindDir->setItem(0, 0, FixedCell(QString()));
  sgWindDir->setItem(0, 1, FixedCell(QStringLiteral("Percent")));
  for (int k = 0; k < kWindSectors; ++k) {
    sgWindDir->setItem(k + 1, 0, FixedCell(QString::fromLatin1(kWindSectorNames[k])));
  }
  for (int c = 0; c < 2; ++c) sgWindDir->item(0, c)->setBackground(palette().button());
  for (int r = 1; r <= kWindSectors; ++r) sgWindDir->item(r, 0)->setBackground(palette().button());

  values_ = RoseValuesFromCounts(counts_);
  Chart1->setValues(QList<double>(values_.begin(), values_.end()));
  // The chart's centre in its own pixels, fixed with its size.
  centre_ = QPoint(Chart1->width() / 2, Chart1->height() / 2);
  ShowValuesInGrid(values_);
}

void TfrmWindRose::ShowValuesInGrid(const WindRoseValues& shown) {
  for (int k = 0; k < kWindSectors; ++k) {
    auto* cell = new QTableWidgetItem(QString::fromStdString(PercentText(shown[k])));
    cell->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    cell->setFlags(Qt::ItemIsEnabled);
    sgWindDir->setItem(k + 1, 1, cell);
  }
}

void TfrmWindRose::Series1Click(int sector, QPoint pixel) {
  const double d0 = PixelDistance(centre_.x(), centre_.y(), pixel.x(), pixel.y());
  if (d0 == 0.0) return;  // a pick at the centre has no distance to scale by
  Chart1->setPointColor(sector, kPickedColour);
  selectedSector_ = sector;
  selected_ = true;
  pickDistance_ = d0;
  Chart1->repaint();
}

void TfrmWindRose::Chart1MouseUp(QPoint pixel) {
  if (!selected_) return;
  selected_ = false;
  Chart1->setPointColor(selectedSector_, kReleasedColour);
  const double d1 = PixelDistance(centre_.x(), centre_.y(), pixel.x(), pixel.y());
  values_[selectedSector_] = RescaledValue(values_[selectedSector_], pickDistance_, d1);
  Chart1->setValue(selectedSector_, values_[selectedSector_]);
  btnReCalcPercentClick();
}

void TfrmWindRose::btnReCalcPercentClick() { ShowValuesInGrid(SharesInPercent(values_)); }

void TfrmWindRose::btnShowWindNumsClick() {
  if (width() <= 400) {
    setFixedSize(kWindRoseWideWidth, height());
    btnShowWindNums->setText(QStringLiteral("<<<"));
  } else {
    setFixedSize(kWindRoseNarrowWidth, height());
    btnShowWindNums->setText(QStringLiteral(">>>"));
  }
  // Widened near the screen's edge, the window moves back inside.
  if (isVisible()) ui::KeepInWorkArea(*this, parentWidget());
}

QImage TfrmWindRose::picture() {
  QString caption = WindRoseCaption(subject_.runName);
  if (!subject_.data.isEmpty()) caption += QStringLiteral(" (") + subject_.data + QLatin1Char(')');
  const QImage rose = chart::ScenePicture(*Chart1, QString());
  const int band = chart::CaptionBandHeight();
  const QRect grid(kGridLeft, band + 2, kWindRoseWideWidth - kGridLeft - 6, 17 * kRowHeight);
  const QSize size(kWindRoseWideWidth, band + std::max(kChartSize, grid.height()) + 6);
  const qreal ratio = rose.devicePixelRatio();
  QImage picture(size * ratio, QImage::Format_ARGB32_Premultiplied);
  picture.setDevicePixelRatio(ratio);
  picture.fill(Qt::white);
  QPainter painter(&picture);
  chart::PaintCaptionBand(painter, size.width(), caption);
  painter.drawImage(QPoint(2, band + 2), rose);
  // The percentages as the grid shows them, North to NNW.
  painter.setFont(sgWindDir->font());
  painter.setPen(QColor(40, 40, 40));
  const int nameWidth = 50;
  painter.drawText(QRect(grid.left() + nameWidth, grid.top(), grid.width() - nameWidth, kRowHeight),
                   Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("Percent"));
  for (int row = 1; row <= kWindSectors; ++row) {
    const QRect line(grid.left(), grid.top() + row * kRowHeight, grid.width(), kRowHeight);
    painter.setPen(QColor(225, 225, 225));
    painter.drawLine(line.topLeft(), line.topRight());
    painter.setPen(QColor(40, 40, 40));
    painter.drawText(line.adjusted(2, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter,
                     sgWindDir->item(row, 0)->text());
    painter.drawText(line.adjusted(nameWidth, 0, -2, 0), Qt::AlignRight | Qt::AlignVCenter,
                     sgWindDir->item(row, 1)->text());
  }
  painter.end();
  picture.setText(QString::fromLatin1(chart::kPictureTitleKey), caption);
  return picture;
}

void TfrmWindRose::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (placed_) return;
  placed_ = true;
  if (QWidget* main = parentWidget()) {
    ui::CentreInWorkArea(*this, ui::FrameOf(*main->window()).center(), main);
  } else {
    ui::KeepInWorkArea(*this);
  }
}

}  // namespace kestrum
