#include "csv/tmy3_layout.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "run/hourly_table.h"
#include "run/run_error.h"
#include "support/test_support.h"

namespace kestrum {
namespace {

const std::string kTmy3 = std::string(KESTRUM_SAMPLE_DATA) + "/723170TYA.CSV";

TEST(Tmy3Layout, SiteFromLineOneAndColumnsByTheirHeadersOnLineTwo) {
  const Tmy3Header header = ReadTmy3Header(kTmy3);
  EXPECT_EQ(header.site.description, "GREENSBORO PIEDMONT TRIAD INT");
  EXPECT_EQ(header.site.latitude, "36.100");
  EXPECT_EQ(header.site.longitude, "-79.950");
  EXPECT_EQ(header.site.timeZone, "-5.0");
  EXPECT_EQ(header.site.elevation, "273");
  EXPECT_EQ(header.columns.size(), 71u);

  const CsvFieldMap fieldMap = Tmy3FieldMap(header, kMoistureDewPoint, kSolarGlobalAndDirect);
  EXPECT_EQ(fieldMap.firstRow, 3);
  EXPECT_EQ(fieldMap.dateInd, kDateNone);
  EXPECT_EQ(std::vector<std::string>(fieldMap.columns.begin(), fieldMap.columns.begin() + 7),
            (std::vector<std::string>{"32", "35", "5", "8", "47", "44", ""}));
  EXPECT_EQ(fieldMap.dbtUnits, 1);
  EXPECT_EQ(fieldMap.moistUnits, 1);
  EXPECT_EQ(fieldMap.solUnits, 0);
  EXPECT_EQ(fieldMap.windUnits, 2);

  const CsvFieldMap rh = Tmy3FieldMap(header, kMoistureRelHum, kSolarGlobal);
  EXPECT_EQ(std::vector<std::string>(rh.columns.begin(), rh.columns.begin() + 6),
            (std::vector<std::string>{"32", "38", "5", "47", "44", ""}));
  EXPECT_EQ(rh.moistUnits, 0);  // percent
  EXPECT_EQ(Tmy3FieldMap(header, kMoistureWetBulb, kSolarGlobal).columns[1], "");
}

TEST(Tmy3Layout, AQuotedDateColumnMovesEveryItemToTheReadersColumn) {
  // The sample's first three lines with the date of the data row in double quotes.
  const std::string sample = testing::ReadBytes(kTmy3);
  size_t third = sample.find('\n', sample.find('\n') + 1) + 1;
  std::string text = sample.substr(0, third);
  const std::string row = sample.substr(third, sample.find('\n', third) - third);
  text += "\"" + row.substr(0, 10) + "\"" + row.substr(10) + "\n";
  testing::TempDir dir;
  const Tmy3Header header = ReadTmy3Header(dir.Write("quoted.csv", text));
  const CsvFieldMap fieldMap = Tmy3FieldMap(header, kMoistureDewPoint, kSolarGlobalAndDirect);
  EXPECT_EQ(std::vector<std::string>(fieldMap.columns.begin(), fieldMap.columns.begin() + 6),
            (std::vector<std::string>{"33", "36", "6", "9", "48", "45"}));
}

TEST(Tmy3Layout, AMissingHeaderIsNamed) {
  testing::TempDir dir;
  const std::string path = dir.Write(
      "t.csv", "1,\"A, B\",NC,-5,36,-80,3\r\n dry-bulb (c) ,Dew-point (C),GHI (W/m^2),Wdir (degrees)\r\n");
  const Tmy3Header header = ReadTmy3Header(path);
  EXPECT_EQ(header.site.description, "A, B");
  EXPECT_EQ(header.site.elevation, "3");
  try {
    Tmy3FieldMap(header, kMoistureDewPoint, kSolarGlobal);
    FAIL() << "no error";
  } catch (const InputError& e) {
    EXPECT_EQ(std::string(e.what()), path + ", line 2: no column is headed \"Wspd (m/s)\", which a "
                                            "TMY3 file as distributed has for WindSpd.");
  }
  EXPECT_THROW(ReadTmy3Header(dir.Write("one.csv", "1,2,3\n")), InputError);
}

}  // namespace
}  // namespace kestrum
