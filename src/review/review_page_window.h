// The behaviour of the tab "Review Converted Data": the list of finished runs, loading the
// overview chart from a run's review files, the wind-sector counts, and opening the
// detailed chart and the wind direction profile.
#pragma once

#include <QObject>
#include <QString>
#include <functional>

#include "review/chart_selection.h"
#include "review/wind_sectors.h"

class QWidget;

namespace kestrum::ui {
struct ReviewTab;
}

namespace kestrum {

// What the tab takes from the rest of the program.
struct ReviewHooks {
  std::function<QString()> interimDir;  // the text of edInterimPath
  std::function<int()> moistureKind;    // MoistureKind of the latest conversion (0: none yet)
  std::function<void(const QString&)> notice;  // a message that waits for acknowledgement
  std::function<void(const QString&)> error;   // an error that ended the action
};

class ReviewPage : public QObject {
  Q_OBJECT

 public:
  // Connects the tab's controls; windows open over dialogParent.
  ReviewPage(ui::ReviewTab& tab, ReviewHooks hooks, QWidget* dialogParent);

  void tsReviewEnter();
  void cbResultsListChange();
  void btnMoreResultsClick();
  void rbFinalDataClick();
  void btnLoadGraphClick();
  void btnBigChartClick();
  void btnDispWindRoseClick();

  // The run selected in the list, and its review files.
  QString baseName() const;
  QString originalPath() const;
  QString finalPath() const;
  ReviewDataType dataType() const;
  const WindSectorCounts& windSectorCounts() const { return windSectorCounts_; }
  const OverviewSelection& selection() const { return selection_; }

 private:
  ui::ReviewTab& tab_;
  ReviewHooks hooks_;
  QWidget* dialogParent_;
  WindSectorCounts windSectorCounts_{};
  OverviewSelection selection_;
};

}  // namespace kestrum
