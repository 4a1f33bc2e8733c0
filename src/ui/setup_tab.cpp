#include "ui/setup_tab.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "ui/form_parts.h"
#include "ui/qt_text.h"

namespace kestrum::ui {

namespace {

constexpr int kRowHeight = 20;
constexpr int kFlagColumnWidth = 40;

struct RowCaption {
  const char* label;
  const char* hint;
};
constexpr RowCaption kRows[kCleanedSeries] = {
    {"Drybulb T (F)", "Drybulb Temperature in degrees F"},
    {"DP/WB T (F)", "Dew Point or Wet Bulb Temperature (F)"},
    {"Solar Horiz.", "Global solar radiation on a horizontal plane W/m^2"},
    {"Wind Speed", nullptr},
    {"Wind Direction", nullptr},
};

QTableWidget* MakeGrid(const QString& name, int columns, int columnWidth, QWidget* parent) {
  auto* grid = new QTableWidget(kCleanedSeries, columns, parent);
  grid->setObjectName(name);
  grid->horizontalHeader()->setVisible(false);
  grid->verticalHeader()->setVisible(false);
  grid->horizontalHeader()->setDefaultSectionSize(columnWidth);
  grid->horizontalHeader()->setMinimumSectionSize(20);
  grid->verticalHeader()->setDefaultSectionSize(kRowHeight);
  grid->verticalHeader()->setMinimumSectionSize(kRowHeight);
  grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  grid->setEditTriggers(QAbstractItemView::AllEditTriggers);
  grid->setSelectionMode(QAbstractItemView::SingleSelection);
  grid->setTabKeyNavigation(true);
  for (int r = 0; r < kCleanedSeries; ++r) {
    for (int c = 0; c < columns; ++c) grid->setItem(r, c, new QTableWidgetItem());
  }
  const int frame = 2 * grid->frameWidth();
  grid->setFixedSize(columns * columnWidth + frame, kCleanedSeries * kRowHeight + frame);
  return grid;
}

// Captions over the columns of a grid, each as wide as its column.
QWidget* ColumnCaptions(QTableWidget* grid, const std::initializer_list<std::pair<const char*, const char*>>& captions,
                        int columnWidth, QWidget* parent) {
  auto* strip = new QWidget(parent);
  auto* row = new QHBoxLayout(strip);
  row->setContentsMargins(grid->frameWidth(), 0, 0, 0);
  row->setSpacing(0);
  for (const auto& [text, hint] : captions) {
    auto* label = new QLabel(QString::fromLatin1(text), strip);
    label->setFixedWidth(columnWidth);
    label->setAlignment(Qt::AlignCenter);
    if (hint != nullptr) label->setToolTip(QString::fromLatin1(hint));
    row->addWidget(label);
  }
  row->addStretch(1);
  return strip;
}

}  // namespace

SetupTab SetupTab::Build(QWidget* parent) {
  SetupTab t;
  t.page = new QWidget(parent);
  t.page->setObjectName(QStringLiteral("tsSetup"));
  auto* column = new QVBoxLayout(t.page);
  column->setContentsMargins(8, 6, 8, 6);
  column->setSpacing(4);

  auto* title = new QLabel(
      QStringLiteral("<b>Data Field Specifications</b>&nbsp;&nbsp;for replacing missing &amp; bad data"),
      t.page);
  title->setObjectName(QStringLiteral("lblDataFieldSpecs"));
  column->addWidget(title);

  t.sgWthData = MakeGrid(QStringLiteral("sgWthData"), 4, kLimitsColumnWidth, t.page);
  t.sgBadData = MakeGrid(QStringLiteral("sgBadData"), kMissingFlags, kFlagColumnWidth, t.page);

  auto* grids = new QGridLayout();
  grids->setHorizontalSpacing(8);
  grids->setVerticalSpacing(1);
  grids->addWidget(ColumnCaptions(t.sgWthData,
                                  {{"Min", nullptr},
                                   {"Max", nullptr},
                                   {"#interp", "Max number of sequential rows to interpolate"},
                                   {"#prev", "max number of sequential rows to copy from previous day"}},
                                  kLimitsColumnWidth, t.page),
                   0, 1);
  auto* flagsCaption = new QLabel(QStringLiteral("missing data flags"), t.page);
  flagsCaption->setAlignment(Qt::AlignCenter);
  grids->addWidget(flagsCaption, 0, 2);

  auto* rowLabels = new QWidget(t.page);
  auto* labels = new QVBoxLayout(rowLabels);
  labels->setContentsMargins(0, t.sgWthData->frameWidth(), 0, t.sgWthData->frameWidth());
  labels->setSpacing(0);
  for (const RowCaption& row : kRows) {
    auto* label = new QLabel(QString::fromLatin1(row.label), rowLabels);
    label->setFixedHeight(kRowHeight);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    if (row.hint != nullptr) label->setToolTip(QString::fromLatin1(row.hint));
    labels->addWidget(label);
  }
  grids->addWidget(rowLabels, 1, 0, Qt::AlignTop);
  grids->addWidget(t.sgWthData, 1, 1, Qt::AlignTop | Qt::AlignLeft);
  grids->addWidget(t.sgBadData, 1, 2, Qt::AlignTop | Qt::AlignLeft);
  grids->setColumnStretch(3, 1);

  t.btnResetCleanData = new QPushButton(QStringLiteral("Reset"), t.page);
  t.btnResetCleanData->setObjectName(QStringLiteral("btnResetCleanData"));
  t.btnResetCleanData->setToolTip(QStringLiteral("Reset Data Field Specs to default values"));
  grids->addWidget(t.btnResetCleanData, 2, 2, Qt::AlignRight);
  column->addLayout(grids);

  auto* note = new QLabel(t.page);
  note->setObjectName(QStringLiteral("lblGridNote"));
  note->setTextFormat(Qt::PlainText);
  note->setWordWrap(true);
  note->setText(
      QStringLiteral("* Dew Point & Wet bulb Temp. Maximum is always the  corresponding drybulb "
                     "temperature, is \n"
                     "interpolated based on humidity ratio, and is always filled along with "
                     "dry-bulb temperature.\n"
                     "RH min = 0%, RH max = 100%"));
  column->addWidget(note);

  auto* legend = new QLabel(t.page);
  legend->setObjectName(QStringLiteral("lblLegend"));
  legend->setTextFormat(Qt::RichText);
  legend->setWordWrap(true);
  legend->setText(QStringLiteral(
      "<b>Min:</b> hourly data below this value will be treated as &quot;missing&quot; <br>"
      "<b>Max:</b> hourly data above this value will be treated as &quot;missing&quot; <br>"
      "<b>#interp:</b> number of missing data in a row that can be filled by interpolating <br>"
      "<b>#prev:</b> number of missing data in a row that are filled with data from a previous "
      "day;<br>if a streak of bad data is greater than #prev, data from a nearby site is used if "
      "available<br>"
      "<b>missing data flags:</b> hourly data flags indicating that the data will be considered "
      "&quot;missing&quot; "));
  column->addWidget(legend);

  auto* groups = new QHBoxLayout();
  groups->setSpacing(6);
  auto* logGroup = MakeGroup(QStringLiteral(" Log File "), t.page);
  auto* logGrid = new QGridLayout(logGroup);
  logGrid->setContentsMargins(6, 2, 6, 4);
  logGrid->setVerticalSpacing(3);
  t.edLOG = MakeEdit(QStringLiteral("edLOG"), logGroup);
  t.btnLOG = MakeEllipsisButton(QStringLiteral("btnLOG"), logGroup);
  t.cbReWriteLog = new QCheckBox(QStringLiteral("Rewrite File"), logGroup);
  t.cbReWriteLog->setObjectName(QStringLiteral("cbReWriteLog"));
  t.cbReWriteLog->setToolTip(
      QStringLiteral("Check this box to delete log file before each set of runs"));
  t.cbReWriteLog->setChecked(true);
  t.cbLogIt = new QCheckBox(QStringLiteral("Detailed Log"), logGroup);
  t.cbLogIt->setObjectName(QStringLiteral("cbLogIt"));
  t.cbLogIt->setToolTip(
      QStringLiteral("Track each data replacement in log file? (can lead to a large log file)"));
  logGrid->addWidget(t.edLOG, 0, 0, 1, 2);
  logGrid->addWidget(t.btnLOG, 0, 2);
  logGrid->addWidget(t.cbReWriteLog, 1, 0);
  logGrid->addWidget(t.cbLogIt, 1, 1, 1, 2);
  groups->addWidget(logGroup, 1);

  auto* interimGroup = MakeGroup(QStringLiteral(" Directory for temporary results "), t.page);
  auto* interimGrid = new QGridLayout(interimGroup);
  interimGrid->setContentsMargins(6, 2, 6, 4);
  interimGrid->setVerticalSpacing(3);
  t.edInterimPath = MakeEdit(QStringLiteral("edInterimPath"), interimGroup);
  t.btnInterimPath = MakeEllipsisButton(QStringLiteral("btnInterimPath"), interimGroup);
  t.cbClearResults = new QCheckBox(QStringLiteral("Clear Interim Results on Exit"), interimGroup);
  t.cbClearResults->setObjectName(QStringLiteral("cbClearResults"));
  t.cbClearResults->setChecked(true);
  interimGrid->addWidget(t.edInterimPath, 0, 0);
  interimGrid->addWidget(t.btnInterimPath, 0, 1);
  interimGrid->addWidget(t.cbClearResults, 1, 0, 1, 2);
  groups->addWidget(interimGroup, 1);
  column->addLayout(groups);
  column->addStretch(1);
  return t;
}

void SetupTab::CommitGridEdits() {
  for (QTableWidget* grid : {sgWthData, sgBadData}) {
    // Moving the current cell away commits an open editor's text into its cell.
    if (grid->currentIndex().isValid()) grid->setCurrentIndex(QModelIndex());
  }
}

CleaningGridTexts SetupTab::GridTexts() const {
  CleaningGridTexts cells;
  for (int r = 0; r < kCleanedSeries; ++r) {
    for (int c = 0; c < 4; ++c) cells.limits[r][c] = ToStd(sgWthData->item(r, c)->text());
    for (int k = 0; k < kMissingFlags; ++k) cells.flags[r][k] = ToStd(sgBadData->item(r, k)->text());
  }
  return cells;
}

void SetupTab::ShowGridTexts(const CleaningGridTexts& cells) {
  for (int r = 0; r < kCleanedSeries; ++r) {
    for (int c = 0; c < 4; ++c) sgWthData->item(r, c)->setText(ToQ(cells.limits[r][c]));
    for (int k = 0; k < kMissingFlags; ++k) sgBadData->item(r, k)->setText(ToQ(cells.flags[r][k]));
  }
}

}  // namespace kestrum::ui
