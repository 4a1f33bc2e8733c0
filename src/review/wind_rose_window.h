// TfrmWindRose: the wind direction profile. The hours of the reviewed run per sector as a
// wind rose and a column of percentages; a sector can be dragged in or out to rescale it.
#pragma once

#include <QDialog>
#include <QPoint>

#include "review/wind_rose.h"
#include "review/wind_sectors.h"

class QPushButton;
class QTableWidget;

namespace kestrum::chart {
class WindRoseView;
}

namespace kestrum {

inline constexpr int kWindRoseNarrowWidth = 327;
inline constexpr int kWindRoseWideWidth = 454;
inline constexpr int kWindRoseHeight = 372;

class TfrmWindRose : public QDialog {
  Q_OBJECT

 public:
  // Opens narrow, centred on mainWindow.
  TfrmWindRose(const WindSectorCounts& counts, QWidget* mainWindow = nullptr);

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

  chart::WindRoseView* Chart1 = nullptr;
  QTableWidget* sgWindDir = nullptr;
  QPushButton* btnShowWindNums = nullptr;
  QPushButton* btnReCalcPercent = nullptr;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void ShowValuesInGrid(const WindRoseValues& shown);

  WindSectorCounts counts_;
  WindRoseValues values_{};
  QPoint centre_;
  bool selected_ = false;
  int selectedSector_ = 0;
  double pickDistance_ = 0.0;
  bool placed_ = false;
};

}  // namespace kestrum
