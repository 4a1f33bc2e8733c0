#include "ui/epw_tab.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/form_parts.h"
#include "ui/pictures.h"
#include "ui/results_group.h"
#include "ui/time_shift_row.h"

namespace kestrum::ui {

EpwTab EpwTab::Build(QWidget* parent) {
  EpwTab t;
  t.page = new QWidget(parent);
  t.page->setObjectName(QStringLiteral("tsEPW"));
  auto* column = new QVBoxLayout(t.page);
  column->setContentsMargins(6, 4, 6, 6);
  column->setSpacing(3);

  // Banner, with the web-page button under its text.
  column->addWidget(MakeBanner(
      WeatherPicture(44),
      QStringLiteral("On this tab you can convert standard EPW weather files for use with Simvex.  "
                     "The EPW file must contain hourly drybulb temperature, dew point temperature "
                     "or relative humidity, horizontal solar radiation and wind speed and "
                     "direction.   Be sure to review the data carefully before using the "
                     "converted BIN file."),
      t.page));

  auto* fileGroup = MakeGroup(QStringLiteral(" EnergyPlus weather file "), t.page);
  auto* fileRow = new QHBoxLayout(fileGroup);
  fileRow->setContentsMargins(6, 2, 6, 4);
  t.edEPWfile = MakeEdit(QStringLiteral("edEPWfile"), fileGroup);
  t.btnGetEPW = MakeEllipsisButton(QStringLiteral("btnGetEPW"), fileGroup);
  t.btnDOEwebsite = new QPushButton(QStringLiteral("&Browse DOE site"), fileGroup);
  t.btnDOEwebsite->setObjectName(QStringLiteral("btnDOEwebsite"));
  t.btnDOEwebsite->setToolTip(QStringLiteral("Browse the EnergyPlus Site for weather files"));
  fileRow->addWidget(t.edEPWfile, 1);
  fileRow->addWidget(t.btnGetEPW);
  fileRow->addSpacing(8);
  fileRow->addWidget(t.btnDOEwebsite);
  column->addWidget(fileGroup);

  auto* infoGroup = MakeGroup(QStringLiteral("EPW file info "), t.page);
  auto* info = new QGridLayout(infoGroup);
  info->setContentsMargins(6, 2, 6, 4);
  info->setHorizontalSpacing(4);
  info->setVerticalSpacing(3);
  t.ledEPWloc = AddLabelledEdit(info, 0, 0, QStringLiteral("ledEPWloc"),
                                QStringLiteral("Location"), infoGroup);
  info->removeWidget(t.ledEPWloc);
  info->addWidget(t.ledEPWloc, 0, 1, 1, 7);
  t.ledEPWloc->setToolTip(QStringLiteral("Text will be used for Bin file header"));
  t.ledEPWlat = AddLabelledEdit(info, 1, 0, QStringLiteral("ledEPWlat"),
                                QStringLiteral("Latitude"), infoGroup);
  t.ledEPWlon = AddLabelledEdit(info, 1, 2, QStringLiteral("ledEPWlon"),
                                QStringLiteral("Longitude"), infoGroup);
  t.ledEPWtz = AddLabelledEdit(info, 1, 4, QStringLiteral("ledEPWtz"),
                               QStringLiteral("Time Zone"), infoGroup);
  t.ledEPWtz->setToolTip(QStringLiteral("CA=-8, CO=-7, etc."));
  t.ledEPWelev = AddLabelledEdit(info, 1, 6, QStringLiteral("ledEPWelev"),
                                 QStringLiteral("Elevation (m)"), infoGroup);
  t.ledEPWcomment = AddLabelledEdit(info, 2, 0, QStringLiteral("ledEPWcomment"),
                                    QStringLiteral("Comment1:"), infoGroup);
  info->removeWidget(t.ledEPWcomment);
  info->addWidget(t.ledEPWcomment, 2, 1, 1, 7);
  const TimeShiftRow shift = AddTimeShiftRow(info, 3, 7, QStringLiteral("seEPWTimeShift"),
                                             QStringLiteral("btnEPWutc"), infoGroup);
  t.seEPWTimeShift = shift.shift;
  t.btnEPWutc = shift.utc;
  for (int c : {1, 3, 5, 7}) info->setColumnStretch(c, 1);
  column->addWidget(infoGroup);

  t.cbCalcSolDN =
      MakeNamed<QCheckBox>(QStringLiteral("cbCalcSolDN"),
                           QStringLiteral("Calculate Solar Direct-Normal based on Global "
                                          "Horizontal radiation instead of Solar DN field"),
                           t.page);
  t.cbEPWuseRH = MakeNamed<QCheckBox>(
      QStringLiteral("cbEPWuseRH"),
      QStringLiteral("Use Relative Humidity instead of Dew Point for moisture calculations"),
      t.page);
  t.cbEPWuseRH->setEnabled(false);
  t.cbEPWuseObs = MakeNamed<QCheckBox>(
      QStringLiteral("cbEPWuseObs"),
      QStringLiteral("Use Present Weather Observations for Rain and Snow flag"), t.page);
  t.cbEPWuseObs->setEnabled(false);
  t.cbEPWuseObs->setChecked(true);
  column->addWidget(t.cbCalcSolDN);
  column->addWidget(t.cbEPWuseRH);
  column->addWidget(t.cbEPWuseObs);

  const ResultsGroup results = MakeResultsGroup({.binName = QStringLiteral("edEPWBinName"),
                                                 .dir = QStringLiteral("edEPWdir"),
                                                 .dirButton = QStringLiteral("btnEPWdir"),
                                                 .convert = QStringLiteral("btnProcEPW")},
                                                t.page);
  t.edEPWBinName = results.binName;
  t.edEPWdir = results.dir;
  t.btnEPWdir = results.dirButton;
  t.btnProcEPW = results.convert;
  results.grid->addWidget(t.btnProcEPW, 2, 0, Qt::AlignTop | Qt::AlignLeft);
  t.memEPW = AddResultsMemo(results, QStringLiteral("memEPW"));
  t.cbEPWWriteEpw = AddWriteEpwBox(results, QStringLiteral("cbEPWWriteEpw"));
  column->addWidget(results.group, 1);
  return t;
}

}  // namespace kestrum::ui
