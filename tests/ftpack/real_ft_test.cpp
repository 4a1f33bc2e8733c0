// A real FT file, made from a real EPW year by the reader, the cleaning pass and the
// formatter, goes through the packer and comes back byte for byte.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "cleaning/cleaning_pass.h"
#include "epw/epw_header.h"
#include "epw/epw_reader.h"
#include "format/bin_packer.h"
#include "format/formatter.h"
#include "ftpack/unpack.h"
#include "ftpack_test_support.h"
#include "run/run_log.h"
#include "run/run_ui.h"

namespace kestrum {
namespace {

namespace fs = std::filesystem;

void ConvertAndRoundTrip(const std::string& epwPath) {
  testing::ScratchDir dir;
  auto libs = OutsideLibraries::Load(KESTRUM_BIN_DIR);
  HourlyTable table;
  RunState state;
  state.runMode = RunModeEpw;
  state.automaticMode = true;
  state.outputBaseName = "real";
  SilentUi ui;
  RunLog log;
  StageContext ctx{table, state, ui, log, dir.path().string()};
  EpwHeader header;
  ReadEPWHeader(epwPath, header);

  table.ResetOptionalSeries();
  ASSERT_TRUE(ReadEPWData(epwPath, EpwOptions{}, ctx));
  ASSERT_TRUE(CleanWeatherData(true, CleaningLimits::Defaults(), false, ctx));
  ASSERT_TRUE(FormatWeatherData(header.site, false, ctx, libs->solvane()));
  const PackResult packed = MakeBinFile("real", dir.path().string(), ctx, libs->ftpack());
  ASSERT_TRUE(packed.ok);

  const std::string ft = testing::ReadBytes(dir / "real.ft");
  EXPECT_EQ(ft.size(), 701001u);
  EXPECT_EQ(fs::file_size(packed.binPath), 385612u);
  EXPECT_TRUE(ftpack::UnpackBin(packed.binPath) == ft);
}

TEST(RealFtFile, GoldenSampleRoundTrips) {
  ConvertAndRoundTrip(std::string(KESTRUM_SAMPLE_DATA) + "/USA_CO_Golden-NREL.724666_TMY3.epw");
}

TEST(RealFtFile, ChicagoRoundTrips) {
  ConvertAndRoundTrip(std::string(KESTRUM_TEST_DATA) +
                      "/USA_IL_Chicago-OHare.Intl.AP.725300_TMY3.epw");
}

}  // namespace
}  // namespace kestrum
