// What the front ends make of a layout found in a file: the offer's text, the notes a run
// taken by it says (only while they still hold for the run's site and shift), the headers
// the preview shows over its columns, and the items an incomplete field map lacks.
#include "csv/layout_offer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "csv/csv_preview.h"
#include "support/weather_variants.h"

namespace kestrum {
namespace {

using testing::kPvgisFile;

TEST(LayoutOffer, AsksAndNamesWhatTheFileLacks) {
  LayoutMatch match = MatchLayout(kPvgisFile, "pvgis");
  EXPECT_EQ(LayoutOfferText(match), "This looks like a PVGIS TMY file (hourly, UTC): use its layout?");
  match.missing = {{CsvItem::WindDirection, "WindDir", "WD10m", ""}};
  EXPECT_EQ(LayoutOfferText(match),
            "This looks like a PVGIS TMY file (hourly, UTC): use its layout?\n\nIt lacks WindDir (no "
            "column is headed \"WD10m\"): the field specification window will need a column for it.");
  match.missing = {{CsvItem::WindSpeed, "WindSpd", "WS10m", "is in km/h, not mph, knots or m/s"},
                   {CsvItem::WindDirection, "WindDir", "WD10m", ""},
                   {CsvItem::DewPoint, "DewPtT", "", ""}};
  EXPECT_EQ(LayoutOfferText(match),
            "This looks like a PVGIS TMY file (hourly, UTC): use its layout?\n\nIt lacks WindSpd (its "
            "column is in km/h, not mph, knots or m/s), WindDir (no column is headed \"WD10m\") and "
            "DewPtT: the field specification window will need columns for them.");

  // UTC rows at a time zone of no whole hours cannot be moved by the layout: said before Yes.
  match.missing.clear();
  match.site.timeZone = "5.5";
  EXPECT_EQ(LayoutOfferText(match),
            "This looks like a PVGIS TMY file (hourly, UTC): use its layout?\n\nIts rows are stamped "
            "in UTC, and its time zone, 5.5, is not a whole number of hours: they are not moved to "
            "local time. Set \"Shift hours by:\" to the whole hours you want them moved.");
}

// The PVGIS file states no time zone (1 h from its longitude 8.000) and is stamped in UTC.
TEST(LayoutOffer, RunNotesHoldOnlyForTheSiteAndShiftTheLayoutTook) {
  const LayoutMatch match = MatchLayout(kPvgisFile, "pvgis");
  ASSERT_EQ(match.site.timeZone, "1");
  ASSERT_EQ(match.timeShiftHours, 1);
  const std::string zone =
      "     The file states no time zone: 1 h, its longitude 8.000 / 15 rounded, is taken for its site.";
  struct Case {
    const char* timeZone;
    int shift;
    std::vector<std::string> notes;
  };
  const Case cases[] = {
      {"1", 1, {zone, UtcStampsNote(1)}},       // as the layout took them
      {" 1 ", 1, {zone, UtcStampsNote(1)}},     // blanks around a typed zone
      {"2", 2, {UtcStampsNote(2)}},             // another zone, its UTC shift: that move
      {"2", 1, {}},                             // another zone, the shift no longer its own
      {"1", 0, {zone}},                         // the shift set back by hand
      {"1.5", 1, {}},                           // a zone of no whole hours
  };
  for (const Case& c : cases) {
    SiteInfo site = match.site;
    site.timeZone = c.timeZone;
    EXPECT_EQ(LayoutRunNotes(match, site, c.shift), c.notes) << c.timeZone << " " << c.shift;
  }
  // What the command line was told in so many words is no guess of the layout's.
  EXPECT_EQ(LayoutRunNotes(match, match.site, 1, {.timeZone = true}),
            std::vector<std::string>{UtcStampsNote(1)});
  EXPECT_EQ(LayoutRunNotes(match, match.site, 1, {.timeShift = true}),
            std::vector<std::string>{zone});
  // A layout of local stamps with its time zone stated says nothing.
  const LayoutMatch tmy3 = MatchLayout(testing::kTmy3File, "tmy3");
  EXPECT_TRUE(LayoutRunNotes(tmy3, tmy3.site, 0).empty());
}

TEST(PreviewHeaders, EachColumnHeadedByTheLineAboveTheDataOrTheLayoutsHeaderLine) {
  EXPECT_EQ(PreviewHeaderLine(2, 1), 2);
  EXPECT_EQ(PreviewHeaderLine(2, 7), 2);
  EXPECT_EQ(PreviewHeaderLine(0, 4), 3);
  EXPECT_EQ(PreviewHeaderLine(0, 1), 0);
  // A quoted field is followed by an empty column in the rows: its header's neighbours
  // stand over the columns the reader finds them in.
  const std::vector<std::string> lines = {"meta", "\"Date\",Time, Dry-bulb (C) ,GHI",
                                          "\"01/01/1988\",01:00,5,0"};
  EXPECT_EQ(PreviewColumnHeaders(lines, 2, 5),
            (std::vector<std::string>{"DATE", "", "Time", "Dry-bulb (C)", "GHI"}));
  EXPECT_EQ(PreviewColumnHeaders(lines, 0, 3), (std::vector<std::string>(3)));
  EXPECT_EQ(PreviewColumnHeaders(lines, 4, 3), (std::vector<std::string>(3)));
}

TEST(CsvMissingRequired, NamesTheRequiredItemsWithoutAColumnOrConstant) {
  CsvFieldMap fieldMap;  // three date fields, wet bulb, global only
  EXPECT_EQ(CsvMissingRequired(fieldMap),
            (std::vector<std::string>{"Month", "Day", "Hour", "DBTemp", "WetBlb", "SolarHor",
                                      "WindSpd", "WindDir"}));
  fieldMap.dateInd = kDateNone;
  fieldMap.columns = {"1", "2", "3", "x", "", "", "7"};
  fieldMap.constants = {{CsvItem::WindDirection, 0, "0"}};
  EXPECT_EQ(CsvMissingRequired(fieldMap), (std::vector<std::string>{"WindSpd"}));
  EXPECT_FALSE(CsvFieldMapComplete(fieldMap));
  fieldMap.columns[3] = "4";
  EXPECT_TRUE(CsvMissingRequired(fieldMap).empty());
  EXPECT_TRUE(CsvFieldMapComplete(fieldMap));
  fieldMap.dateInd = 7;  // no layout: nothing to name, and never complete
  EXPECT_TRUE(CsvMissingRequired(fieldMap).empty());
  EXPECT_FALSE(CsvFieldMapComplete(fieldMap));
}

}  // namespace
}  // namespace kestrum
