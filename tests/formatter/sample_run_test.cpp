// The formatter on real weather files, read and cleaned as a run does it, with the real
// solar library for the direct normal.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "cleaning/cleaning_limits.h"
#include "cleaning/cleaning_pass.h"
#include "epw/epw_header.h"
#include "epw/epw_reader.h"
#include "format/formatter.h"
#include "format/outside_libraries.h"
#include "run/hourly_table.h"
#include "run/run_log.h"
#include "run/run_state.h"
#include "run/run_ui.h"
#include "run/stage_context.h"

namespace kestrum {
namespace {

namespace fs = std::filesystem;

struct FinalRow {
  double dryBulb, wetBulb, dewPoint, relHum, humRatio, global, directNormal;
};

std::vector<FinalRow> ReadFinalRows(const fs::path& path) {
  std::ifstream in(path);
  std::string line;
  std::vector<FinalRow> rows;
  int lineNo = 0;
  while (std::getline(in, line)) {
    if (++lineNo <= 2) continue;
    std::vector<double> f;
    size_t start = 0;
    for (;;) {
      const size_t comma = line.find(',', start);
      f.push_back(std::strtod(line.substr(start, comma - start).c_str(), nullptr));
      if (comma == std::string::npos) break;
      start = comma + 1;
    }
    EXPECT_EQ(f.size(), 12u) << line;
    if (f.size() == 12) rows.push_back({f[3], f[4], f[5], f[6], f[7], f[8], f[9]});
  }
  return rows;
}

class SampleRunTest : public ::testing::TestWithParam<const char*> {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("kestrum_sample_run_" + std::to_string(::getpid()));
    fs::create_directories(dir_);
    state_.runMode = RunModeEpw;
    state_.outputBaseName = "sample";
    state_.automaticMode = true;
    library_ = std::make_unique<SharedLibrary>(std::string(KESTRUM_BIN_DIR) + "/" + kSolvaneFileName);
    solvane_.init = reinterpret_cast<SolvaneInitFn>(library_->Symbol("INIT_DLL"));
    solvane_.estimate = reinterpret_cast<SolvaneEstimateFn>(library_->Symbol("SOLVANE"));
  }
  void TearDown() override { fs::remove_all(dir_); }

  // Reads, cleans and formats the file; returns the final-data rows.
  std::vector<FinalRow> Convert(const std::string& path, bool useRelHum, bool estimate) {
    EpwHeader header;
    ReadEPWHeader(path, header);
    EpwOptions options;
    options.useRelHum = useRelHum;
    options.calcDirectNormal = estimate;
    StageContext ctx{table_, state_, ui_, log_, dir_.string()};
    table_.ResetOptionalSeries();
    EXPECT_TRUE(ReadEPWData(path, options, ctx));
    EXPECT_TRUE(CleanWeatherData(true, CleaningLimits::Defaults(), false, ctx));
    EXPECT_TRUE(FormatWeatherData(header.site, useRelHum, ctx, solvane_));
    return ReadFinalRows(dir_ / "sample-final.csv");
  }

  fs::path dir_;
  HourlyTable table_;
  RunState state_;
  SilentUi ui_;
  RunLog log_;
  std::unique_ptr<SharedLibrary> library_;
  SolvaneLibrary solvane_;
};

TEST_P(SampleRunTest, MoistAirIsConsistentEveryHour) {
  for (bool useRelHum : {false, true}) {
    const auto rows = Convert(GetParam(), useRelHum, false);
    ASSERT_EQ(rows.size(), 8760u);
    for (size_t i = 0; i < rows.size(); ++i) {
      const FinalRow& r = rows[i];
      // Dew point <= wet bulb <= dry bulb, within the search's and the correlations' slack.
      ASSERT_LE(r.wetBulb, r.dryBulb + 0.02) << "row " << i + 1;
      ASSERT_LE(r.dewPoint, r.wetBulb + 0.3) << "row " << i + 1;
      ASSERT_GT(r.relHum, 0.0) << "row " << i + 1;
      ASSERT_LE(r.relHum, 100.5) << "row " << i + 1;
      ASSERT_GT(r.humRatio, 0.0) << "row " << i + 1;
    }
  }
}

TEST_P(SampleRunTest, EstimatedDirectNormalFollowsTheMeasuredOne) {
  const auto measured = Convert(GetParam(), false, false);
  const auto estimated = Convert(GetParam(), false, true);
  ASSERT_EQ(measured.size(), 8760u);
  ASSERT_EQ(estimated.size(), 8760u);
  double sumMeasured = 0, sumEstimated = 0;
  for (size_t i = 0; i < estimated.size(); ++i) {
    ASSERT_GE(estimated[i].directNormal, 0.0) << "row " << i + 1;
    if (estimated[i].global < 1.0) {
      EXPECT_EQ(estimated[i].directNormal, 0.0) << "row " << i + 1;
    }
    sumMeasured += measured[i].directNormal;
    sumEstimated += estimated[i].directNormal;
  }
  // The estimate is a model: over the year it lands near the measured total. A solar
  // position on the wrong day, hour or side of Greenwich would miss it by far.
  EXPECT_NEAR(sumEstimated / sumMeasured, 1.0, 0.2) << sumEstimated << " " << sumMeasured;
}

INSTANTIATE_TEST_SUITE_P(
    Files, SampleRunTest,
    ::testing::Values(KESTRUM_SAMPLE_DATA "/USA_CO_Golden-NREL.724666_TMY3.epw",
                      KESTRUM_TEST_DATA "/USA_CA_San.Francisco.Intl.AP.724940_TMY3.epw",
                      KESTRUM_TEST_DATA "/USA_IL_Chicago-OHare.Intl.AP.725300_TMY3.epw"));

}  // namespace
}  // namespace kestrum
