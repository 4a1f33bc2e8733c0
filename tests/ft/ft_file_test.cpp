// The FT weather text file: site line, monthly lines, hourly records, wind sectors.
#include "format/ft_file.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "run/calendar.h"
#include "run/hourly_table.h"
#include "run/run_error.h"

namespace kestrum {
namespace {

FtSite EpwSite(std::string description, double lat, double lon, double tz) {
  FtSite site;
  site.epw = true;
  site.description = std::move(description);
  site.latitude = lat;
  site.longitude = lon;
  site.timeZone = tz;
  return site;
}

TEST(FtSiteLine, SanFranciscoEpwRun) {
  const std::string line =
      FtSiteLine(EpwSite("SAN FRANCISCO INTL AP,CA,USA", 37.62, -122.40, -8.0));
  EXPECT_EQ(line, "EPW SAN FRANCISCO IN 2005   37.62  122.40    8    5");
  EXPECT_EQ(line.size(), 51u);
}

TEST(FtSiteLine, TimeZoneIsWrittenWestPositive) {
  EXPECT_EQ(FtSiteLine(EpwSite("X", 0, 0, -5)).substr(41, 5), "    5");
  EXPECT_EQ(FtSiteLine(EpwSite("X", 0, 0, 1)).substr(41, 5), "   -1");
  // Whole hours, halves away from zero; zero carries no sign.
  EXPECT_EQ(FtSiteLine(EpwSite("X", 0, 0, 5.5)).substr(41, 5), "   -6");
  EXPECT_EQ(FtSiteLine(EpwSite("X", 0, 0, 0.4)).substr(41, 5), "    0");
}

TEST(FtSiteLine, CsvRunTakesTwentyFiveCharactersWithoutYear) {
  FtSite site;
  site.epw = false;
  site.description = "Weather station on the north roof";
  site.latitude = -33.9;
  site.longitude = 18.6;
  site.timeZone = 2;
  EXPECT_EQ(FtSiteLine(site), "Weather station on the no  -33.90  -18.60   -2    5");
  site.description = "Short";
  EXPECT_EQ(FtSiteLine(site).substr(0, 25), "Short                    ");
}

TEST(FtSiteLine, CoordinatesAreCutToEightCharacters) {
  // A value wider than its field is cut, so the line keeps its 51 columns.
  const std::string line = FtSiteLine(EpwSite("X", 123456.789, -1234567.891, -123456));
  EXPECT_EQ(line.size(), 51u);
  EXPECT_EQ(line.substr(25, 8), "123456.7");
  EXPECT_EQ(line.substr(33, 8), "1234567.");
  EXPECT_EQ(line.substr(41, 5), "12345");
}

TEST(FtFactorLine, TwelveUnitFactors) {
  EXPECT_EQ(FtFactorLine(),
            "  1.00  1.00  1.00  1.00  1.00  1.00  1.00  1.00  1.00  1.00  1.00  1.00");
}

// A dry-bulb year whose monthly means are exactly the given values.
std::vector<float> YearOfMonthlyMeans(const std::array<float, 12>& means) {
  std::vector<float> dryBulb(kHoursPerYear);
  for (int h = 1; h <= kHoursPerYear; ++h) dryBulb[h - 1] = means[SplitHourOfYear(h).month - 1];
  return dryBulb;
}

const std::array<float, 12> kExampleMeans = {40, 42, 48, 55, 63, 71, 77, 75, 68, 57, 47, 41};

// Latitude of Golden, CO: a northern site.
constexpr double kNorth = 39.74;

TEST(GroundTemperatures, WorkedExampleLineAtOrNorthOfTheEquator) {
  const auto dryBulb = YearOfMonthlyMeans(kExampleMeans);
  for (double latitude : {kNorth, 0.0, 90.0}) {
    EXPECT_EQ(FtGroundLine(GroundTemperatures(dryBulb.data(), latitude)),
              " 509.8 507.0 506.8 509.1 513.5 518.9 523.5 526.5 526.7 524.3 519.8 514.6")
        << "latitude " << latitude;
  }
}

TEST(GroundTemperatures, SouthOfTheEquatorTheWaveChangesSign) {
  // The worked example's year at a southern site: every month as far below the annual
  // mean as it lies above it in the north.
  const auto dryBulb = YearOfMonthlyMeans(kExampleMeans);
  const auto north = GroundTemperatures(dryBulb.data(), kNorth);
  double mean = 0;
  for (float t : dryBulb) mean += t;
  mean = mean / kHoursPerYear + 459.67;
  for (double latitude : {-0.01, -33.95, -90.0}) {
    const auto south = GroundTemperatures(dryBulb.data(), latitude);
    for (int m = 0; m < 12; ++m) {
      EXPECT_NEAR(south[m] - mean, -(north[m] - mean), 1e-9) << "month " << m + 1;
    }
  }
  EXPECT_EQ(FtGroundLine(GroundTemperatures(dryBulb.data(), -33.95)),
            " 523.7 526.5 526.8 524.4 520.0 514.7 510.0 507.1 506.8 509.2 513.7 518.9");
}

TEST(GroundTemperatures, FlatYearGivesTheAnnualMean) {
  // Minimum and maximum of the monthly means are equal: no annual wave.
  const auto dryBulb = YearOfMonthlyMeans({50, 50, 50, 50, 50, 50, 50, 50, 50, 50, 50, 50});
  for (double t : GroundTemperatures(dryBulb.data(), kNorth)) EXPECT_NEAR(t, 509.67, 1e-9);
}

TEST(GroundTemperatures, StartingLimitsStayWhenAllMeansExceedThem) {
  // All means 120 F: the minimum stays at its starting value 100, so the wave has half
  // of 120 - 100 as amplitude. The worked example has half of 77 - 40: the deviations
  // from the annual mean scale by 10 / 18.5.
  const auto hot = GroundTemperatures(YearOfMonthlyMeans({120, 120, 120, 120, 120, 120, 120,
                                                          120, 120, 120, 120, 120})
                                          .data(),
                                      kNorth);
  const auto exampleYear = YearOfMonthlyMeans(kExampleMeans);
  const auto example = GroundTemperatures(exampleYear.data(), kNorth);
  double exampleMean = 0;
  for (float t : exampleYear) exampleMean += t;
  exampleMean /= kHoursPerYear;
  for (int m = 0; m < 12; ++m) {
    const double exampleDeviation = example[m] - (exampleMean + 459.67);
    EXPECT_NEAR(hot[m] - (120 + 459.67), exampleDeviation * 10 / 18.5, 1e-9) << "month " << m + 1;
  }
  EXPECT_GT(std::fabs(hot[0] - hot[6]), 1.0);
}

TEST(FtGroundLine, BlankBeforeEachValueAndNothingAfter) {
  std::array<double, 12> t{};
  t.fill(500.04);
  t[0] = 999.95;  // rounds to five digits and shifts the rest of the line
  t[11] = 99.0;
  const std::string line = FtGroundLine(t);
  EXPECT_EQ(line.substr(0, 14), " 1000.0 500.0 ");
  EXPECT_EQ(line.substr(line.size() - 11), " 500.0 99.0");  // only one blank before 99.0
  EXPECT_EQ(line.size(), 72u);  // one wider, one narrower value
}

FtHour ExampleHour() {
  FtHour hour;
  hour.month = 1;
  hour.day = 1;
  hour.hour = 1;
  hour.wetBulbF = 36.57;
  hour.dryBulbF = 40.1;
  hour.pressureKPa = 101.325;
  hour.snowFlag = 0;
  hour.rainFlag = 0;
  hour.windDirectionDeg = 270;
  hour.humRatio = 0.003743;
  hour.densityLbFt3 = 0.0789;
  hour.enthalpyBtuLb = 13.72;
  hour.globalWm2 = 0;
  hour.directNormalWm2 = 0;
  hour.cloudType = 2;
  hour.windSpeedMph = 15;
  return hour;
}

std::string Record(const FtHour& hour) {
  TextSink out;
  AppendFtRecord(out, hour);
  return std::string(out.view());
}

TEST(AppendFtRecord, WorkedExampleHour) {
  const std::string rec = Record(ExampleHour());
  EXPECT_EQ(rec,
            " 1 1 1  37.  40.  29.9   0.  0  0  12 0.0037 0.079  13.7    0.0    0.0  2  13.");
  EXPECT_EQ(rec.size(), 78u);
}

TEST(AppendFtRecord, FlagsAndCloudTypeRoundHalfToEven) {
  FtHour hour = ExampleHour();
  hour.snowFlag = 0.5;
  hour.rainFlag = 1.5;
  hour.cloudType = 2.5;
  std::string rec = Record(hour);
  EXPECT_EQ(rec.substr(27, 3), "  0");
  EXPECT_EQ(rec.substr(30, 3), "  2");
  EXPECT_EQ(rec.substr(70, 3), "  2");
  hour.snowFlag = 1.5;
  hour.rainFlag = 0.51;
  hour.cloudType = 3.5;
  rec = Record(hour);
  EXPECT_EQ(rec.substr(27, 3), "  2");
  EXPECT_EQ(rec.substr(30, 3), "  1");
  EXPECT_EQ(rec.substr(70, 3), "  4");
}

TEST(AppendFtRecord, RadiationBelowOneBtuIsWrittenAsZero) {
  FtHour hour = ExampleHour();
  hour.globalWm2 = 0.99 * 3.1546;
  hour.directNormalWm2 = -5 * 3.1546;
  std::string rec = Record(hour);
  EXPECT_EQ(rec.substr(56, 7), "    0.0");
  EXPECT_EQ(rec.substr(63, 7), "    0.0");
  // At and above one the quotient is written with one decimal.
  hour.globalWm2 = 3.1546;
  hour.directNormalWm2 = 900;
  rec = Record(hour);
  EXPECT_EQ(rec.substr(56, 7), "    1.0");
  EXPECT_EQ(rec.substr(63, 7), "  285.3");
}

TEST(AppendFtRecord, WideValueShiftsTheLineInsteadOfBeingCut) {
  FtHour hour = ExampleHour();
  hour.dryBulbF = 12345;
  const std::string rec = Record(hour);
  EXPECT_EQ(rec.size(), 79u);
  EXPECT_EQ(rec.substr(11, 6), "12345.");
  EXPECT_EQ(rec.substr(rec.size() - 5), "  13.");
}

TEST(AppendFtRecord, NonFiniteValueIsAnError) {
  FtHour hour = ExampleHour();
  hour.enthalpyBtuLb = std::nan("");
  TextSink out;
  EXPECT_THROW(AppendFtRecord(out, hour), RunError);
  hour = ExampleHour();
  hour.snowFlag = INFINITY;
  EXPECT_THROW(AppendFtRecord(out, hour), RunError);
}

TEST(WindSector, RoundsHalfToEvenAndFoldsOutsideZeroToFifteen) {
  EXPECT_EQ(WindSector(0), 0);
  EXPECT_EQ(WindSector(11.25), 0);
  EXPECT_EQ(WindSector(11.26), 1);
  EXPECT_EQ(WindSector(33.75), 2);
  EXPECT_EQ(WindSector(56.25), 2);
  EXPECT_EQ(WindSector(270), 12);
  EXPECT_EQ(WindSector(326.25), 14);
  EXPECT_EQ(WindSector(337.5), 15);
  EXPECT_EQ(WindSector(348.74), 15);
  EXPECT_EQ(WindSector(348.75), 0);
  EXPECT_EQ(WindSector(360), 0);
  EXPECT_EQ(WindSector(-1), 0);
  EXPECT_EQ(WindSector(-11.25), 0);
  EXPECT_EQ(WindSector(-999), 0);
  EXPECT_EQ(WindSector(1e300), 0);
  EXPECT_THROW(WindSector(std::nan("")), RunError);
}

}  // namespace
}  // namespace kestrum
