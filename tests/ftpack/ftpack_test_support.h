// Shared pieces of the packer tests: a scratch directory that is the current directory
// while it lives, FT files made with the FT writer, and the real packer library.
#pragma once

#include <unistd.h>

#include <array>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <stdexcept>
#include <string>

#include "format/ft_file.h"
#include "format/outside_libraries.h"
#include "run/calendar.h"
#include "run/hourly_table.h"
#include "support/test_support.h"

namespace kestrum::testing {

// A fresh directory under /tmp, made the current directory; both undone at the end.
class ScratchDir {
 public:
  ScratchDir() : previous_(std::filesystem::current_path()) {
    char name[] = "/tmp/kestrum-ftpack-XXXXXX";
    if (::mkdtemp(name) == nullptr) throw std::runtime_error("mkdtemp failed");
    path_ = name;
    std::filesystem::current_path(path_);
  }
  ~ScratchDir() {
    std::error_code ec;
    std::filesystem::current_path(previous_, ec);
    std::filesystem::remove_all(path_, ec);
  }
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::string operator/(const std::string& name) const { return (path_ / name).string(); }

 private:
  std::filesystem::path previous_;
  std::filesystem::path path_;
};

// A full FT text (CR LF) written with the FT writer over a year of varied but plausible
// weather: frost and heat, calm and storm, night and full sun, all wind sectors.
inline std::string SyntheticFtText(std::string description = "SYNTHETIC TEST SITE,XX", bool epw = true) {
  FtSite site;
  site.epw = epw;
  site.description = std::move(description);
  site.latitude = 39.74;
  site.longitude = -105.18;
  site.timeZone = -7;
  std::string text = FtSiteLine(site) + "\r\n" + FtFactorLine() + "\r\n";
  std::array<double, 12> ground = {500.1, 499.8, 501.0, 505.5, 510.2, 515.9,
                                   520.0, 522.4, 521.3, 517.7, 511.0, 504.6};
  text += FtGroundLine(ground) + "\r\n";
  uint64_t seed = 0x9E3779B97F4A7C15ull;
  auto next = [&seed](double lo, double hi) {
    seed = seed * 6364136223846793005ull + 1442695040888963407ull;
    return lo + (hi - lo) * static_cast<double>(seed >> 11) / 9007199254740992.0;
  };
  for (int h = 1; h <= kHoursPerYear; ++h) {
    const CalendarHour when = SplitHourOfYear(h);
    FtHour hour;
    hour.month = when.month;
    hour.day = when.day;
    hour.hour = when.hour;
    hour.dryBulbF = next(-25, 105);
    hour.wetBulbF = hour.dryBulbF - next(0, 25);
    hour.pressureKPa = next(70, 104);
    hour.snowFlag = next(0, 1) < 0.1 ? 1 : 0;
    hour.rainFlag = next(0, 1) < 0.15 ? 1 : 0;
    hour.windDirectionDeg = next(-10, 370);
    hour.humRatio = next(0, 0.03);
    hour.densityLbFt3 = next(0.055, 0.095);
    hour.enthalpyBtuLb = next(-8, 48);
    const bool night = when.hour < 6 || when.hour > 19;
    hour.globalWm2 = night ? 0 : next(-2, 1100);
    hour.directNormalWm2 = night ? -1 : next(0, 1000);
    hour.cloudType = static_cast<int>(next(1, 4));
    hour.windSpeedMph = next(0, 70);
    TextSink record;
    AppendFtRecord(record, hour);
    text.append(record.view()).append("\r\n");
  }
  return text;
}

// Offset of hourly record h (1..8760) within an FT text whose header lines have the
// usual widths.
inline size_t RecordOffset(int h) { return 53 + 74 + 74 + static_cast<size_t>(h - 1) * 80; }

// The packer library from the build's bin directory, bound once per test program.
inline FtpackLibrary& RealFtpack() {
  static std::unique_ptr<SharedLibrary> lib;
  static FtpackLibrary ftpack;
  if (!lib) {
    lib = std::make_unique<SharedLibrary>(std::string(KESTRUM_BIN_DIR) + "/" + kFtpackFileName);
    ftpack.init = reinterpret_cast<FtpackInitFn>(lib->Symbol("INIT_DLL"));
    ftpack.pack = reinterpret_cast<FtpackPackFn>(lib->Symbol("FTPACK"));
  }
  return ftpack;
}

}  // namespace kestrum::testing
