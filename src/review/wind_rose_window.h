// TfrmWindRose: the wind direction profile. The hours of the reviewed run per sector as a
// wind rose and a column of percentages; a sector can be dragged in or out to rescale it.
#pragma once

#include <QDialog>
#include <QImage>
#include <QPoint>
#include <QString>

#include "review/wind_rose.h"
#include "review/wind_sectors.h"

class QLabel;
class QPushButton;
class QTableWidget;

namespace kestrum::chart {
class WindRoseView;
}

namespace kestrum {

inline constexpr int kWindRoseNarrowWidth = 327;
inline constexpr int kWindRoseWideWidth = 454;
inline constexpr int kWindRoseHeight = 372;

// Whose hours the profile counts: the run's name and the data charted ("final data").
struct WindRoseSubject {
  QString runName;  // empty: none named
  QString data;
};

// "Wind Direction Profile: NAME" ("Wind Direction Profile" without a name).
QString WindRoseCaption(const QString& runName);

class TfrmWindRose : public QDialog {
  Q_OBJECT

 public:
  // Opens narrow, centred on mainWindow.
  TfrmWindRose(const WindSectorCounts& counts, WindRoseSubject subject = {},
               QWidget* mainWindow = nullptr);

  void FormCreate();
  void Series1Click(int sector, QPoint pixel);
  void Chart1MouseUp(QPoint pixel);
  void btnReCalcPercentClick();
  void btnShowWindNumsClick();

  bool sectorSelected() const { return selected_; }
  int selectedSector() const { return selectedSector_; }
  QPoint chartCentre() const { return centre_; }
  // The rose's sector values.
  const WindRoseValues& values() const { return values_; }

  // The picture of the profile alone: the rose and the percentages beside it, under the
  // caption with the run's name and its data; none of the buttons.
  QImage picture();

  chart::WindRoseView* Chart1 = nullptr;
  QTableWidget* sgWindDir = nullptr;
  QPushButton* btnShowWindNums = nullptr;
  QPushButton* btnReCalcPercent = nullptr;
  QLabel* lblRoseRun = nullptr;  // the run and its data, below the rose

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void ShowValuesInGrid(const WindRoseValues& shown);

  WindSectorCounts counts_;
  WindRoseSubject subject_;
  WindRoseValues values_{};
  QPoint centre_;
  bool selected_ = false;
  int selectedSector_ = 0;
  double pickDistance_ = 0.0;
  bool placed_ = false;
};

}  // namespace kestrum
