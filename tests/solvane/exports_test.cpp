// The library as the program sees it: two exports, one record in static storage, reached
// both by direct linking and through the run-time binding the program uses.
#define SOLVANE_PROTOTYPES
#include "solar/solvane.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <set>
#include <string>

#include "format/outside_libraries.h"

namespace {

const std::string kLibraryPath = std::string(KESTRUM_BIN_DIR) + "/libsolvane.so";

void FillHazyMorning(SolarRecord* r) {
  *r = SolarRecord{250, 420, 600, 0.5219f, 0.6817f, 0.8124f, 5.0f, 172, 1609.0f};
}

TEST(SolarRecordLayout, NineFourByteFieldsWithoutPadding) {
  EXPECT_EQ(sizeof(SolarRecord), 36u);
  EXPECT_EQ(offsetof(SolarRecord, GlobalPrev), 0u);
  EXPECT_EQ(offsetof(SolarRecord, Global), 4u);
  EXPECT_EQ(offsetof(SolarRecord, GlobalNext), 8u);
  EXPECT_EQ(offsetof(SolarRecord, CosZenithPrev), 12u);
  EXPECT_EQ(offsetof(SolarRecord, CosZenith), 16u);
  EXPECT_EQ(offsetof(SolarRecord, CosZenithNext), 20u);
  EXPECT_EQ(offsetof(SolarRecord, DewPointC), 24u);
  EXPECT_EQ(offsetof(SolarRecord, DayOfYear), 28u);
  EXPECT_EQ(offsetof(SolarRecord, ElevationM), 32u);
}

TEST(DirectExports, OneRecordForTheLifeOfTheProcess) {
  SolarRecord* first = INIT_DLL();
  ASSERT_NE(first, nullptr);
  FillHazyMorning(first);
  SolarRecord* second = INIT_DLL();
  EXPECT_EQ(second, first);
  EXPECT_EQ(second->Global, 420.0f);  // a second call changes nothing
}

TEST(DirectExports, EstimateReadsTheRecordAndLeavesItAlone) {
  SolarRecord* r = INIT_DLL();
  FillHazyMorning(r);
  SolarRecord before;
  std::memcpy(&before, r, sizeof before);
  EXPECT_NEAR(SOLVANE(), 147.35, 0.005);
  EXPECT_EQ(std::memcmp(&before, r, sizeof before), 0);

  // Each call depends on the record alone, not on the call before.
  r->Global = 0.5f;
  EXPECT_EQ(SOLVANE(), 0.0);
  r->Global = 420.0f;
  r->CosZenith = -0.01f;
  EXPECT_EQ(SOLVANE(), 0.0);
  FillHazyMorning(r);
  EXPECT_NEAR(SOLVANE(), 147.35, 0.005);
}

TEST(LibraryBinding, OpenedByPathItGivesTheSameRecordAndEstimate) {
  kestrum::SharedLibrary lib(kLibraryPath);
  auto init = reinterpret_cast<SolvaneInitFn>(lib.Symbol("INIT_DLL"));
  auto estimate = reinterpret_cast<SolvaneEstimateFn>(lib.Symbol("SOLVANE"));
  SolarRecord* r = init();
  EXPECT_EQ(init(), r);
  // The library this program links against is the same file: one record per process.
  EXPECT_EQ(r, INIT_DLL());
  FillHazyMorning(r);
  r->GlobalPrev = r->CosZenithPrev = -999.0f;
  r->GlobalNext = r->CosZenithNext = -999.0f;
  r->DewPointC = -999.0f;
  EXPECT_NEAR(estimate(), 158.77, 0.005);
}

TEST(LibraryBinding, LoadedWithThePackerThroughTheProgramsBinding) {
  if (!std::filesystem::exists(std::string(KESTRUM_BIN_DIR) + "/libftpack.so")) {
    GTEST_SKIP() << "libftpack.so is not built in " << KESTRUM_BIN_DIR;
  }
  auto libs = kestrum::OutsideLibraries::Load(KESTRUM_BIN_DIR);
  SolarRecord* r = libs->solvane().init();
  EXPECT_EQ(libs->solvane().init(), r);
  FillHazyMorning(r);
  EXPECT_NEAR(libs->solvane().estimate(), 147.35, 0.005);
}

TEST(LibraryBinding, ExportsExactlyInitAndEstimate) {
  kestrum::SharedLibrary lib(kLibraryPath);
  EXPECT_THROW(lib.Symbol("EstimateDirectNormal"), kestrum::LibraryError);

  const std::string command = "nm -D --defined-only '" + kLibraryPath + "' 2>/dev/null";
  FILE* pipe = popen(command.c_str(), "r");
  ASSERT_NE(pipe, nullptr);
  std::set<std::string> names;
  char line[512];
  while (std::fgets(line, sizeof line, pipe) != nullptr) {
    char address[64], type[8], name[400];
    if (std::sscanf(line, "%63s %7s %399s", address, type, name) == 3) names.insert(name);
  }
  ASSERT_EQ(pclose(pipe), 0) << command;
  EXPECT_EQ(names, (std::set<std::string>{"INIT_DLL", "SOLVANE"}));
}

}  // namespace
