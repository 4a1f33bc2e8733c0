#include "ui/csv_tab.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include "ui/form_parts.h"
#include "ui/pictures.h"
#include "ui/results_group.h"
#include "ui/time_shift_row.h"

namespace kestrum::ui {

CsvTab CsvTab::Build(QWidget* parent) {
  CsvTab t;
  t.page = new QWidget(parent);
  t.page->setObjectName(QStringLiteral("tsCSV"));
  auto* column = new QVBoxLayout(t.page);
  column->setContentsMargins(6, 4, 6, 6);
  column->setSpacing(3);

  auto* top = new QHBoxLayout();
  top->setSpacing(4);
  top->addWidget(MakeBanner(
                     TablePicture(44),
                     QStringLiteral(
                         "On this tab you can convert hourly weather data in a CSV file for use "
                         "with Simvex.  You will need a full year of data including : ambient "
                         "temperature, ambient moisture (dew point, wet bulb or relative "
                         "humidity), horizontal solar radiation, wind speed and wind direction.  "
                         "You can also utilize direct-normal solar radiation and rain and snow "
                         "flags if available."),
                     t.page),
                 1);
  t.bbCSVtop = new QToolButton(t.page);
  t.bbCSVtop->setObjectName(QStringLiteral("bbCSVtop"));
  t.bbCSVtop->setIcon(QIcon(HelpPicture(24)));
  t.bbCSVtop->setIconSize(QSize(24, 24));
  t.bbCSVtop->setToolTip(QStringLiteral("Browse URL"));
  t.bbCSVtop->setAutoRaise(true);
  top->addWidget(t.bbCSVtop, 0, Qt::AlignTop);
  column->addLayout(top);

  auto* fileGroup = MakeGroup(QStringLiteral("CSV file "), t.page);
  auto* fileRow = new QHBoxLayout(fileGroup);
  fileRow->setContentsMargins(6, 2, 6, 4);
  t.edXLSfn = MakeEdit(QStringLiteral("edXLSfn"), fileGroup);
  t.edXLSfn->setEnabled(false);
  t.btnGetXLS = MakeEllipsisButton(QStringLiteral("btnGetXLS"), fileGroup);
  fileRow->addWidget(t.edXLSfn, 1);
  fileRow->addWidget(t.btnGetXLS);
  column->addWidget(fileGroup);

  auto* site = MakeGroup(QStringLiteral("Site information "), t.page);
  auto* grid = new QGridLayout(site);
  grid->setContentsMargins(6, 2, 6, 4);
  grid->setHorizontalSpacing(4);
  grid->setVerticalSpacing(3);
  auto* note = new QLabel(
      QStringLiteral("Note: Longitude and Time Zone are Negative for the Western Hemisphere"),
      site);
  note->setObjectName(QStringLiteral("lblSiteNote"));
  grid->addWidget(note, 0, 0, 1, 9);
  t.ledCSVdesc = AddLabelledEdit(grid, 1, 0, QStringLiteral("ledCSVdesc"),
                                 QStringLiteral("Description"), site);
  grid->removeWidget(t.ledCSVdesc);
  grid->addWidget(t.ledCSVdesc, 1, 1, 1, 8);
  t.ledCSVdesc->setToolTip(QStringLiteral("Text will be used for Bin file header"));
  t.ledCSVlat = AddLabelledEdit(grid, 2, 0, QStringLiteral("ledCSVlat"),
                                QStringLiteral("Latitude"), site);
  t.ledCSVlat->setToolTip(QStringLiteral("Site latitude in decimal  format (e.g. 39.75)"));
  t.ledCSVlon = AddLabelledEdit(grid, 2, 2, QStringLiteral("ledCSVlon"),
                                QStringLiteral("Longitude"), site);
  t.ledCSVlon->setToolTip(QStringLiteral("Site longitude in decimal format (e.g. 104.9)"));
  t.ledCSVtz = AddLabelledEdit(grid, 2, 4, QStringLiteral("ledCSVtz"),
                               QStringLiteral("Time Zone"), site);
  t.ledCSVtz->setToolTip(QStringLiteral("CA=-8, CO=-7, etc."));
  t.ledCSVelev = AddLabelledEdit(grid, 2, 6, QStringLiteral("ledCSVelev"),
                                 QStringLiteral("Elevation"), site);
  t.cbElevUnits = new QComboBox(site);
  t.cbElevUnits->setObjectName(QStringLiteral("cbElevUnits"));
  t.cbElevUnits->addItems({QStringLiteral("m"), QStringLiteral("ft")});
  t.cbElevUnits->setCurrentIndex(0);
  t.cbElevUnits->setEnabled(false);
  grid->addWidget(t.cbElevUnits, 2, 8);
  for (int c : {1, 3, 5, 7}) grid->setColumnStretch(c, 1);
  const TimeShiftRow shift = AddTimeShiftRow(grid, 3, 8, QStringLiteral("seCSVTimeShift"),
                                             QStringLiteral("btnCSVutc"), site);
  t.seCSVTimeShift = shift.shift;
  t.btnCSVutc = shift.utc;

  auto* fieldMapRow = new QHBoxLayout();
  fieldMapRow->setSpacing(6);
  t.btnFindSiteInfo = new QPushButton(QStringLiteral("find"), site);
  t.btnFindSiteInfo->setObjectName(QStringLiteral("btnFindSiteInfo"));
  t.btnFindSiteInfo->setEnabled(false);
  t.btnFieldSpecs =
      MakeBoldButton(QStringLiteral("btnFieldSpecs"), QStringLiteral("Field Specifications"), site);
  t.btnFieldSpecs->setEnabled(false);
  t.lblFldCompleted = new QLabel(QStringLiteral("[file specs incomplete]"), site);
  t.lblFldCompleted->setObjectName(QStringLiteral("lblFldCompleted"));
  fieldMapRow->addWidget(t.btnFindSiteInfo);
  fieldMapRow->addStretch(1);
  fieldMapRow->addWidget(t.btnFieldSpecs);
  fieldMapRow->addWidget(t.lblFldCompleted);
  grid->addLayout(fieldMapRow, 4, 0, 1, 9);
  column->addWidget(site);

  const ResultsGroup results = MakeResultsGroup({.binName = QStringLiteral("edCSVBinName"),
                                                 .dir = QStringLiteral("edCSVdir"),
                                                 .dirButton = QStringLiteral("btnCSVdir"),
                                                 .convert = QStringLiteral("btnProcCSV")},
                                                t.page);
  t.edCSVBinName = results.binName;
  t.edCSVdir = results.dir;
  t.btnCSVdir = results.dirButton;
  t.btnProcCSV = results.convert;
  t.btnView = new QPushButton(QStringLiteral("&View Log"), results.group);
  t.btnView->setObjectName(QStringLiteral("btnView"));
  t.btnView->setToolTip(QStringLiteral("View the log file"));
  auto* buttons = new QVBoxLayout();
  buttons->setSpacing(4);
  buttons->addWidget(t.btnProcCSV, 0, Qt::AlignLeft);
  buttons->addStretch(1);
  buttons->addWidget(t.btnView, 0, Qt::AlignLeft);
  results.grid->addLayout(buttons, 2, 0);
  t.memCSV = AddResultsMemo(results, QStringLiteral("memCSV"));
  t.cbCSVWriteEpw = AddWriteEpwBox(results, QStringLiteral("cbCSVWriteEpw"));
  column->addWidget(results.group, 1);
  return t;
}

}  // namespace kestrum::ui
