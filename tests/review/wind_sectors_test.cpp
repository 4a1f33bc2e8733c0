// The sector rule of the wind direction profile, counting a review file, the sector table
// and the rose's arithmetic.
#include "review/wind_sectors.h"

#include <gtest/gtest.h>

#include "review/wind_rose.h"
#include "support/test_support.h"

namespace kestrum {
namespace {

using testing::TempDir;

TEST(WindSectorOf, RoundsHalfToEvenBeforeDividing) {
  struct Case {
    double degrees;
    std::optional<int> sector;
  };
  for (const Case& c : {Case{0, 0}, Case{11.24, 0}, Case{11.25, 0},  // R = 22.5 rounds to 22
                        Case{11.3, 1}, Case{33.74, 2},                // R = 44.99 rounds to 45
                        Case{90, 4}, Case{180, 8}, Case{270, 12}, Case{326.25, 15},
                        Case{348.7, 0}, Case{348.75, 0}, Case{360, 0},
                        Case{360.5, std::nullopt}, Case{-0.01, std::nullopt},
                        Case{-999, std::nullopt}}) {
    EXPECT_EQ(WindSectorOf(c.degrees), c.sector) << c.degrees;
  }
  EXPECT_EQ(WindSectorOfText(" 270"), 12);
  EXPECT_EQ(WindSectorOfText("  -999.00"), std::nullopt);
  EXPECT_EQ(WindSectorOfText("calm"), std::nullopt);
  EXPECT_EQ(WindSectorOfText(""), std::nullopt);
}

TEST(CountWindSectors, CountsOneColumnAfterTheHeaders) {
  TempDir dir;
  const std::string path = dir.Write("a-final.csv",
                                     "1,2,90\r\nh,h,90\r\n"  // headers are not counted
                                     "1,1,  90\r\n1,2,360\r\n1,3,0\r\n1,4,x\r\n1,5,360.5\r\n"
                                     "1,6,11.3\r\n1,7,-999\r\n\r\n");
  WindSectorCounts expected{};
  expected[0] = 2;
  expected[1] = 1;
  expected[4] = 1;
  EXPECT_EQ(CountWindSectors(path, 3), expected);
  EXPECT_EQ(CountWindSectors(dir.Write("h.csv", "h1\r\nh2\r\n"), 3), WindSectorCounts{});
}

TEST(WriteWindSectorTable, OneRowPerSectorWithItsShare) {
  TempDir dir;
  WindSectorCounts counts{};
  counts[0] = 1;
  counts[4] = 2;
  const std::string path = dir.File("x-wind-sectors.csv");
  WriteWindSectorTable(path, counts);
  const auto lines = testing::ReadCrLfLines(path);
  ASSERT_EQ(lines.size(), 17u);
  EXPECT_EQ(lines[0], "Sector,Hours,Percent");
  EXPECT_EQ(lines[1], "North,1,33.33");
  EXPECT_EQ(lines[2], "NNE,0,0.00");
  EXPECT_EQ(lines[5], "East,2,66.67");
  EXPECT_EQ(lines[16], "NNW,0,0.00");
}

TEST(WindRose, NoCountedHourGives547EverywhereAndOneHourAllOfIt) {
  for (double v : RoseValuesFromCounts(WindSectorCounts{})) EXPECT_EQ(PercentText(v), "547.00");
  WindSectorCounts east{};
  east[4] = 1;
  const WindRoseValues values = RoseValuesFromCounts(east);
  for (int k = 0; k < kWindSectors; ++k) {
    EXPECT_EQ(PercentText(values[k]), k == 4 ? "100.00" : "0.00") << kWindSectorNames[k];
  }
}

TEST(WindRose, DraggingToTwiceTheDistanceDoublesTheSector) {
  EXPECT_DOUBLE_EQ(PixelDistance(100, 100, 103, 104), 5.0);
  EXPECT_DOUBLE_EQ(RescaledValue(12.5, PixelDistance(100, 100, 103, 104),
                                 PixelDistance(100, 100, 106, 108)),
                   25.0);
  WindRoseValues values;
  values.fill(10.0);
  values[3] = 20.0;  // sixteen sectors, one doubled: 20 of 170
  const WindRoseValues shares = SharesInPercent(values);
  EXPECT_EQ(PercentText(shares[3]), "11.76");
  EXPECT_EQ(PercentText(shares[0]), "5.88");
  EXPECT_EQ(SharesInPercent(WindRoseValues{}), WindRoseValues{});
}

}  // namespace
}  // namespace kestrum
