#include "csv/csv_field_map.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "run/hourly_table.h"
#include "run/run_error.h"

namespace kestrum {
namespace {

using Strings = std::vector<std::string>;

Strings Names(int32_t dateInd, int32_t moistInd, int32_t solarInd) {
  Strings names;
  for (const CsvSlot& slot : CsvLayout(dateInd, moistInd, solarInd)) names.emplace_back(slot.name);
  return names;
}

TEST(CsvLayout, EveryDateFormAndSolarChoiceGivesItsSlots) {
  const Strings tail = {"WindSpd", "WindDir", "SnowFlag", "RainFlag", "CldType"};
  auto with = [&](Strings head) {
    head.insert(head.end(), tail.begin(), tail.end());
    return head;
  };
  EXPECT_EQ(Names(0, 0, 0), with({"Date", "DBTemp", "DewPtT", "SolarHor"}));
  EXPECT_EQ(Names(0, 1, 1), with({"Date", "DBTemp", "WetBlb", "SolarHor", "SolarDN"}));
  EXPECT_EQ(Names(1, 2, 0), with({"Month", "Day", "Hour", "DBTemp", "RelHum", "SolarHor"}));
  EXPECT_EQ(Names(1, 1, 1),
            with({"Month", "Day", "Hour", "DBTemp", "WetBlb", "SolarHor", "SolarDN"}));
  EXPECT_EQ(Names(2, 0, 0), with({"DBTemp", "DewPtT", "SolarHor"}));
  EXPECT_EQ(Names(2, 2, 1), with({"DBTemp", "RelHum", "SolarHor", "SolarDN"}));
  EXPECT_EQ(CsvLayout(1, 1, 1).size(), 12u);
  // Every other moisture value is taken for a wet bulb; no layout for bad choices.
  EXPECT_EQ(Names(2, 7, 0)[1], "WetBlb");
  EXPECT_TRUE(CsvLayout(3, 1, 0).empty());
  EXPECT_TRUE(CsvLayout(1, 1, 2).empty());
}

TEST(CsvLayout, OnlyTheSnowRainAndCloudItemsAreOptional) {
  const std::vector<CsvSlot> layout = CsvLayout(1, 0, 1);
  for (const CsvSlot& slot : layout) {
    const std::string name = slot.name;
    EXPECT_EQ(slot.required, name != "SnowFlag" && name != "RainFlag" && name != "CldType") << name;
  }
  EXPECT_EQ(CsvSlotOf(layout, CsvItem::SolarDirectNormal), 6);
  EXPECT_EQ(CsvSlotOf(layout, CsvItem::CloudType), 11);
  EXPECT_EQ(CsvSlotOf(layout, CsvItem::Date), -1);
}

CsvFieldMap NoDateMap(Strings columns) {
  CsvFieldMap fieldMap;
  fieldMap.dateInd = kDateNone;
  fieldMap.moistInd = 0;
  for (size_t i = 0; i < columns.size(); ++i) fieldMap.columns[i] = columns[i];
  return fieldMap;
}

TEST(CsvFieldMapComplete, EveryRequiredSlotNeedsAWholeNumber) {
  EXPECT_TRUE(CsvFieldMapComplete(NoDateMap({"1", "2", "3", "4", "5"})));  // no snow, rain, cloud
  EXPECT_TRUE(CsvFieldMapComplete(NoDateMap({"1", "2", "3", "4", "5", "", "x", ""})));
  EXPECT_FALSE(CsvFieldMapComplete(NoDateMap({"1", "2", "", "4", "5"})));
  EXPECT_FALSE(CsvFieldMapComplete(NoDateMap({"1", "2", "3.0", "4", "5"})));
  EXPECT_FALSE(CsvFieldMapComplete(CsvFieldMap{}));  // nothing committed yet
  CsvFieldMap cloud = NoDateMap({"1", "2", "3", "4", "5"});
  cloud.solarInd = kSolarCloudCover;
  EXPECT_FALSE(CsvFieldMapComplete(cloud));
}

std::string ProblemOf(const CsvFieldMap& fieldMap) {
  try {
    CsvColumnNumbers(fieldMap);
  } catch (const RunError& e) {
    return e.what();
  }
  return "";
}

TEST(CsvColumnNumbers, GivesTheColumnOfEverySlotAndRefusesWhatCannotBeRead) {
  EXPECT_EQ(CsvColumnNumbers(NoDateMap({"7", " 8 ", "14", "22", "21", "", "", "255"})),
            (std::vector<int>{7, 8, 14, 22, 21, 0, 0, 255}));
  // Slots beyond the layout are not looked at.
  CsvFieldMap stale = NoDateMap({"1", "2", "3", "4", "5"});
  stale.columns[11] = "junk";
  EXPECT_EQ(ProblemOf(stale), "");

  const struct {
    CsvFieldMap fieldMap;
    std::string message;
  } cases[] = {
      {NoDateMap({"1", "", "3", "4", "5"}),
       "The CSV field specification assigns no column to \"DewPtT\" (slot 2), which is required."},
      {CsvFieldMap{},
       "The CSV field specification assigns no column to \"Month\" (slot 1), which is required."},
      {NoDateMap({"1", "2", "3", "4", "x5"}),
       "The CSV field specification gives slot 5 (\"WindDir\") the column \"x5\", which is not a "
       "whole number."},
      {NoDateMap({"1", "2", "3", "256", "5"}),
       "The CSV field specification gives slot 4 (\"WindSpd\") the column 256, outside 1..255."},
      {NoDateMap({"1", "2", "3", "4", "5", "0"}),
       "The CSV field specification gives slot 6 (\"SnowFlag\") the column 0, outside 1..255."},
      {NoDateMap({"1", "2", "3", "4", "5", "", "", "-3"}),
       "The CSV field specification gives slot 8 (\"CldType\") the column -3, outside 1..255."},
  };
  for (const auto& c : cases) EXPECT_EQ(ProblemOf(c.fieldMap), c.message);

  CsvFieldMap fieldMap = NoDateMap({"1", "2", "3", "4", "5"});
  fieldMap.solarInd = kSolarCloudCover;
  EXPECT_NE(ProblemOf(fieldMap).find("solar choice 2 (cloud cover)"), std::string::npos);
  fieldMap.solarInd = 0;
  fieldMap.dateInd = 5;
  EXPECT_NE(ProblemOf(fieldMap).find("date form 5"), std::string::npos);
}

TEST(CarryCsvColumns, ItemsKeepTheirColumnsUnderOtherChoices) {
  CsvFieldMap from = NoDateMap({"7", "8", "14", "22", "21", "30"});  // ... SnowFlag 30
  from.solarInd = kSolarGlobalAndDirect;
  from.columns = {"7", "8", "14", "15", "22", "21", "30"};
  CsvFieldMap to = from;
  to.solarInd = kSolarGlobal;
  to.firstRow = 9;
  to = CarryCsvColumns(from, to);
  EXPECT_EQ(to.firstRow, 9);
  EXPECT_EQ(Strings(to.columns.begin(), to.columns.begin() + 7),
            (Strings{"7", "8", "14", "22", "21", "30", ""}));
  // Three date fields are new: no columns; another moisture quantity loses its column.
  to.dateInd = kDateThreeFields;
  to.moistInd = kMoistureRelHum;
  to = CarryCsvColumns(from, to);
  EXPECT_EQ(Strings(to.columns.begin(), to.columns.begin() + 9),
            (Strings{"", "", "", "7", "", "14", "22", "21", "30"}));
}

}  // namespace
}  // namespace kestrum
