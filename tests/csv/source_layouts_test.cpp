#include "csv/layout_match.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "run/hourly_table.h"
#include "run/run_error.h"
#include "support/test_support.h"
#include "support/weather_variants.h"

namespace kestrum {
namespace {

const std::string kTmy3 = std::string(KESTRUM_SAMPLE_DATA) + "/723170TYA.CSV";

TEST(Tmy3Layout, SiteFromLineOneAndColumnsByTheirHeadersOnLineTwo) {
  const LayoutMatch header = MatchLayout(kTmy3, "tmy3");
  EXPECT_EQ(header.site.description, "GREENSBORO PIEDMONT TRIAD INT");
  EXPECT_EQ(header.site.latitude, "36.100");
  EXPECT_EQ(header.site.longitude, "-79.950");
  EXPECT_EQ(header.site.timeZone, "-5.0");
  EXPECT_EQ(header.site.elevation, "273");
  EXPECT_EQ(header.headers.size(), 71u);
  EXPECT_EQ(header.description, "a TMY3 file (hourly, local time)");
  EXPECT_TRUE(header.missing.empty());

  const CsvFieldMap fieldMap = LayoutFieldMap(header, kMoistureDewPoint, kSolarGlobalAndDirect);
  EXPECT_EQ(header.fieldMap.columns, fieldMap.columns);  // the layout's own choices
  EXPECT_EQ(fieldMap.firstRow, 3);
  EXPECT_EQ(fieldMap.dateInd, kDateNone);
  EXPECT_EQ(std::vector<std::string>(fieldMap.columns.begin(), fieldMap.columns.begin() + 7),
            (std::vector<std::string>{"32", "35", "5", "8", "47", "44", ""}));
  EXPECT_EQ(fieldMap.dbtUnits, 1);
  EXPECT_EQ(fieldMap.moistUnits, 1);
  EXPECT_EQ(fieldMap.solUnits, 0);
  EXPECT_EQ(fieldMap.windUnits, 2);

  const CsvFieldMap rh = LayoutFieldMap(header, kMoistureRelHum, kSolarGlobal);
  EXPECT_EQ(std::vector<std::string>(rh.columns.begin(), rh.columns.begin() + 6),
            (std::vector<std::string>{"32", "38", "5", "47", "44", ""}));
  EXPECT_EQ(rh.moistUnits, 0);  // percent
  EXPECT_EQ(LayoutFieldMap(header, kMoistureWetBulb, kSolarGlobal).columns[1], "");
}

TEST(Tmy3Layout, AQuotedDateColumnMovesEveryItemToTheReadersColumn) {
  // The sample's first three lines with the date of the data row in double quotes.
  const std::string sample = testing::ReadBytes(kTmy3);
  size_t third = sample.find('\n', sample.find('\n') + 1) + 1;
  std::string text = sample.substr(0, third);
  const std::string row = sample.substr(third, sample.find('\n', third) - third);
  text += "\"" + row.substr(0, 10) + "\"" + row.substr(10) + "\n";
  testing::TempDir dir;
  const CsvFieldMap fieldMap = MatchLayout(dir.Write("quoted.csv", text), "tmy3").fieldMap;
  EXPECT_EQ(std::vector<std::string>(fieldMap.columns.begin(), fieldMap.columns.begin() + 6),
            (std::vector<std::string>{"33", "36", "6", "9", "48", "45"}));
}

TEST(Tmy3Layout, AMissingHeaderIsNamedWithTheColumnsTheLineHas) {
  testing::TempDir dir;
  const std::string path = dir.Write(
      "t.csv", "1,\"A, B\",NC,-5,36,-80,3\r\n dry-bulb (c) ,Dew-point (C),GHI (W/m^2),Wdir (degrees)\r\n");
  const LayoutMatch header = MatchLayout(path, "tmy3");
  EXPECT_EQ(header.site.description, "A, B");
  EXPECT_EQ(header.site.elevation, "3");
  ASSERT_EQ(header.missing.size(), 1u);
  EXPECT_EQ(header.missing[0].name, "WindSpd");
  EXPECT_EQ(MissingItemsText(header, header.missing),
            "no column is headed \"Wspd (m/s)\" (WindSpd), which a TMY3 file has; the columns "
            "of line 2: \"dry-bulb (c)\", \"Dew-point (C)\", \"GHI (W/m^2)\", "
            "\"Wdir (degrees)\".");
  try {
    MatchLayout(dir.Write("one.csv", "1,2,3\n"), "tmy3");
    FAIL() << "no error";
  } catch (const InputError& e) {
    EXPECT_EQ(std::string(e.what()), dir.File("one.csv") + " is not a TMY3 file: it has fewer "
                                     "than two lines (a site line and a line of column headers).");
  }
}

std::vector<std::string> Columns(const CsvFieldMap& m) {
  return std::vector<std::string>(m.columns.begin(),
                                  m.columns.begin() + static_cast<std::ptrdiff_t>(
                                      CsvLayout(m.dateInd, m.moistInd, m.solarInd).size()));
}

TEST(DetectLayout, TheDownloadedFilesAreFoundByTheirContent) {
  const struct {
    std::string path;
    std::string name, description;
    std::vector<std::string> site;  // description, latitude, longitude, time zone, elevation
    int firstRow, lastRow, dateInd, moistInd, timeStamps, subhourly, shift, step;
    std::vector<std::string> columns;
    uint8_t dbt, moist, sol, wind;
  } cases[] = {
      {testing::kPsmFile, "psm", "an NSRDB PSM file (half-hourly, local time)",
       {"NSRDB 401182", "40.53", "-108.54", "-7", "2168"}, 4, 0, kDateThreeFields,
       kMoistureDewPoint, kStampsEnding, 1, 0, 30,
       {"2", "3", "4", "21", "13", "7", "8", "17", "18", "", "", ""}, 1, 1, 0, 2},
      {testing::kPvgisFile, "pvgis", "a PVGIS TMY file (hourly, UTC)",
       {"PVGIS 45.000, 8.000", "45.000", "8.000", "1", "250.0"}, 19, 8778, kDateOneField,
       kMoistureRelHum, kStampsBeginning, 0, 1, 60,
       {"1", "2", "3", "4", "5", "8", "9", "", "", ""}, 1, 0, 0, 2},
      {testing::kTmy3File, "tmy3", "a TMY3 file (hourly, local time)",
       {"GREENSBORO PIEDMONT TRIAD INT", "36.100", "-79.950", "-5.0", "273"}, 3, 0, kDateNone,
       kMoistureDewPoint, kStampsEnding, 0, 0, 60, {"32", "35", "5", "8", "47", "44", "", "", ""},
       1, 1, 0, 2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    const std::optional<LayoutMatch> m = DetectLayout(c.path);
    ASSERT_TRUE(m.has_value());
    EXPECT_EQ(m->name, c.name);
    EXPECT_EQ(m->description, c.description);
    EXPECT_EQ((std::vector<std::string>{m->site.description, m->site.latitude, m->site.longitude,
                                        m->site.timeZone, m->site.elevation}),
              c.site);
    EXPECT_EQ(m->fieldMap.firstRow, c.firstRow);
    EXPECT_EQ(m->fieldMap.lastRow, c.lastRow);
    EXPECT_EQ(m->fieldMap.dateInd, c.dateInd);
    EXPECT_EQ(m->fieldMap.moistInd, c.moistInd);
    EXPECT_EQ(m->fieldMap.solarInd, kSolarGlobalAndDirect);
    EXPECT_EQ(m->fieldMap.timeStamps, c.timeStamps);
    EXPECT_EQ(m->fieldMap.subhourly, c.subhourly);
    EXPECT_EQ(m->timeShiftHours, c.shift);
    EXPECT_EQ(m->stepMinutes, c.step);
    EXPECT_EQ(Columns(m->fieldMap), c.columns);
    EXPECT_EQ(std::vector<int>({m->fieldMap.dbtUnits, m->fieldMap.moistUnits, m->fieldMap.solUnits,
                                m->fieldMap.windUnits}),
              std::vector<int>({c.dbt, c.moist, c.sol, c.wind}));
    EXPECT_TRUE(m->missing.empty());
    EXPECT_TRUE(CsvFieldMapComplete(m->fieldMap));
  }
  // PVGIS states no time zone: its longitude's is taken, and said.
  EXPECT_EQ(DetectLayout(testing::kPvgisFile)->timeZoneNote,
            "     The file states no time zone: 1 h, its longitude 8.000 / 15 rounded, is taken "
            "for its site.");
  // An EPW file and a CSV file of no source are no named layout.
  EXPECT_FALSE(DetectLayout(std::string(KESTRUM_SAMPLE_DATA) + "/USA_CO_Golden-NREL.724666_TMY3.epw"));
  testing::TempDir dir;
  EXPECT_FALSE(DetectLayout(dir.Write("plain.csv", "a,b,c\n1,2,3\n")));
  EXPECT_THROW(MatchLayout(dir.Write("plain2.csv", "a,b,c\n1,2,3\n"), "pvgis"), InputError);
  // A logger's file with a layout's date headers but no site where the layout states it.
  EXPECT_FALSE(DetectLayout(dir.Write("logger.csv", "Station 4\nexported 2024\n"
                                                    "Year,Month,Day,Hour,Temperature\n2024,1,1,0,5\n")));
  try {
    MatchLayout(testing::kTmy3File, "psm");
    FAIL() << "no error";
  } catch (const InputError& e) {
    EXPECT_EQ(std::string(e.what()), testing::kTmy3File + " is not an NSRDB PSM file: line 3 heads "
                                                          "none of its columns.");
  }
}

TEST(PsmLayout, ItsTimeBaseUnitsAndSiteComeFromTheMetadataAndRespelledHeadersStillMatch) {
  testing::TempDir dir;
  const testing::PsmFile source = testing::PsmFile::Read();
  const auto match = [&](const testing::PsmFile& f) {
    return MatchLayout(dir.Write("v.csv", f.Text()), "psm");
  };

  testing::PsmFile utc = source;
  utc.Meta("Time Zone") = "0";
  LayoutMatch m = match(utc);
  EXPECT_EQ(m.timeBase, TimeBase::Utc);
  EXPECT_EQ(m.timeShiftHours, -7);
  EXPECT_EQ(m.site.timeZone, "-7");
  EXPECT_EQ(m.description, "an NSRDB PSM file (half-hourly, UTC)");
  EXPECT_EQ(m.timeBaseNote, "     The file is stamped in UTC: its rows move to the site's time zone, -7 h.");

  testing::PsmFile respelled = source;
  respelled.headers[respelled.Column("Temperature")] = " TEMPERATURE ";
  respelled.headers[respelled.Column("Dew Point")] = "dew point";
  respelled.headers[respelled.Column("Wind Speed")] = "Wind  speed";
  respelled.Meta("Temperature Units") = "F";
  respelled.Meta("City") = "Meeker";
  respelled.Meta("State") = "CO";
  m = match(respelled);
  EXPECT_EQ(Columns(m.fieldMap), Columns(DetectLayout(testing::kPsmFile)->fieldMap));
  EXPECT_EQ(m.fieldMap.dbtUnits, 0);  // deg F, as its units line says
  EXPECT_EQ(m.site.description, "Meeker, CO");

  // Relative humidity when there is no dew point; no direct normal: global only.
  m = match(source.Without("Dew Point").Without("DNI"));
  EXPECT_EQ(m.fieldMap.moistInd, kMoistureRelHum);
  EXPECT_EQ(m.fieldMap.solarInd, kSolarGlobal);
  EXPECT_EQ(Columns(m.fieldMap), (std::vector<std::string>{"2", "3", "4", "19", "18", "7", "15",
                                                           "16", "", "", ""}));
  EXPECT_TRUE(m.missing.empty());

  // A unit no field map offers, and a quantity the file lacks, are named.
  testing::PsmFile kelvin = source.Without("Wind Direction");
  kelvin.Meta("Temperature Units") = "K";
  m = match(kelvin);
  ASSERT_EQ(m.missing.size(), 2u);
  const std::string text = MissingItemsText(m, m.missing);
  EXPECT_EQ(text.substr(0, text.find(", \"Minute\"")),
            "no column is headed \"Wind Direction\" (WindDir), which an NSRDB PSM file has; the "
            "column \"Temperature\" (DBTemp) is in K, not C or F; the columns of line 3: "
            "\"Year\", \"Month\", \"Day\", \"Hour\"");
}

}  // namespace
}  // namespace kestrum
