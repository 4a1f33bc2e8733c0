// The behaviour of the tab "Review Converted Data": the list of finished runs (kept to the
// runs whose files are still there), loading the overview chart from a run's review files,
// the wind-sector counts, and opening the detailed chart and the wind direction profile.
#pragma once

#include <QObject>
#include <QString>
#include <functional>

#include "review/chart_selection.h"
#include "review/wind_rose_window.h"
#include "review/wind_sectors.h"

class QWidget;

namespace kestrum::ui {
struct ReviewTab;
}

namespace kestrum {

// What the tab takes from the rest of the program.
struct ReviewHooks {
  std::function<QString()> interimDir;  // the text of edInterimPath
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
  // The user chose another interim directory: the list shows the runs found there.
  void interimDirectoryChanged();

  // The run selected in the list, and its review files.
  QString baseName() const;
  QString originalPath() const;
  QString finalPath() const;
  ReviewDataType dataType() const;
  const WindSectorCounts& windSectorCounts() const { return windSectorCounts_; }
  const OverviewSelection& selection() const { return selection_; }

 private:
  // When the selected run's original-data file is gone: removes the run from the list,
  // says so, and reviews the first run left. True when it was gone.
  bool DropRunIfGone();

  ui::ReviewTab& tab_;
  ReviewHooks hooks_;
  QWidget* dialogParent_;
  WindSectorCounts windSectorCounts_{};
  WindRoseSubject countedData_;  // whose hours windSectorCounts_ holds
  OverviewSelection selection_;
};

}  // namespace kestrum
