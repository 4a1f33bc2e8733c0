// The keys of the settings file, in the order they are written. One list serves reading
// and writing, so the two can never disagree about a key's section, name or type.
#pragma once

#include <cstdint>
#include <string>

#include "cleaning/cleaning_limits.h"
#include "config/settings.h"

namespace kestrum {

// Visitor needs: Section(name), Integer(key, int32_t&), Byte(key, uint8_t&),
// Boolean(key, bool&), Text(key, std::string&). A reader assigns what it finds; a writer
// writes the values it is handed.
template <class Visitor>
void VisitSettingsKeys(Settings& s, Visitor& visit) {
  visit.Section(kFormSection);
  visit.Integer("Top", s.top);
  visit.Integer("Left", s.left);

  visit.Section(kCsvSection);
  visit.Text("CSVFileName", s.csvFileName);
  visit.Text("CSVBinDir", s.csvBinDir);
  visit.Text("CSVdesc", s.csvSite.description);
  visit.Text("CSVlat", s.csvSite.latitude);
  visit.Text("CSVlong", s.csvSite.longitude);
  visit.Text("CSVtz", s.csvSite.timeZone);
  visit.Text("CSVelev", s.csvSite.elevation);
  CsvFieldMap& fieldMap = s.csvFieldMap;
  visit.Integer("FirstRow", fieldMap.firstRow);
  visit.Integer("DateInd", fieldMap.dateInd);
  visit.Integer("MoistInd", fieldMap.moistInd);
  visit.Integer("SolarInd", fieldMap.solarInd);
  visit.Byte("DBTunits", fieldMap.dbtUnits);
  visit.Byte("MoistUnits", fieldMap.moistUnits);
  visit.Byte("SolUnits", fieldMap.solUnits);
  visit.Byte("WindUnits", fieldMap.windUnits);
  for (int column = 1; column <= kCsvSlots; ++column) {
    visit.Text("CSVgridCol" + std::to_string(column), fieldMap.columns[column - 1]);
  }
  visit.Boolean("CSVWriteEpw", s.csvWriteEpw);
  // Keys added later come last, so that files written before them keep their order.
  visit.Integer("Subhourly", fieldMap.subhourly);
  visit.Integer("TimeStamps", fieldMap.timeStamps);
  visit.Integer("CSVTimeShift", s.csvTimeShift);
  visit.Integer("LastRow", fieldMap.lastRow);

  visit.Section(kEpwSection);
  visit.Text("EWPFileName", s.epwFileName);  // spelled with "EWP" in every settings file
  visit.Boolean("EPWUseObs", s.epwUseObs);
  visit.Boolean("EPWCalcDN", s.epwCalcDN);
  visit.Boolean("EPWUseRH", s.epwUseRH);
  visit.Text("EPWBinDir", s.epwBinDir);
  visit.Boolean("EPWWriteEpw", s.epwWriteEpw);
  visit.Integer("EPWTimeShift", s.epwTimeShift);

  visit.Section(kSetUpSection);
  CleaningLimits& limits = s.limits;
  for (int row = 1; row <= kCleanedSeries; ++row) {
    const std::string prefix = CleaningKeyPrefix(row);
    int32_t value = limits.Min(row);
    visit.Integer(prefix + "min", value);
    limits.SetMin(row, value);
    value = limits.Max(row);
    visit.Integer(prefix + "max", value);
    limits.SetMax(row, value);
    value = limits.InterpLimit(row);
    visit.Integer(prefix + "int", value);
    limits.SetInterpLimit(row, value);
    value = limits.PrevLimit(row);
    visit.Integer(prefix + "prev", value);
    limits.SetPrevLimit(row, value);
  }
  for (int flag = 1; flag <= kMissingFlags; ++flag) {
    for (int row = 1; row <= kCleanedSeries; ++row) {
      int32_t value = limits.Flag(row, flag);
      visit.Integer(std::string(CleaningKeyPrefix(row)) + "bad" + std::to_string(flag - 1), value);
      limits.SetFlag(row, flag, value);
    }
  }
  visit.Boolean("LogReplacements", s.logReplacements);
  visit.Boolean("ClearResults", s.clearResults);
  visit.Text("InterimPath", s.interimPath);
  visit.Text("LogFilePath", s.logFilePath);
  visit.Text("DOEURL", s.doeUrl);
}

}  // namespace kestrum
