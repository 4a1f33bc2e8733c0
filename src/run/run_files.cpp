#include "run/run_files.h"

#include <sys/stat.h>

#include <ctime>
#include <filesystem>
#include <system_error>

#include "run/run_error.h"
#include "run/text_fields.h"

namespace kestrum {

namespace fs = std::filesystem;

namespace {

void RemoveFile(const fs::path& path) {
  std::error_code ec;
  const fs::file_status status = fs::symlink_status(path, ec);
  if (ec || !fs::exists(status) || fs::is_directory(status)) return;
  if (!fs::remove(path, ec) && ec) {
    throw RunError("Cannot remove " + path.string() + ", a file of an earlier run: " +
                   ec.message() + ".");
  }
}

std::string LocalTimeText(std::time_t when) {
  std::tm local{};
  localtime_r(&when, &local);
  char buf[64];
  const size_t n = std::strftime(buf, sizeof buf, "%Y-%m-%d %H:%M:%S", &local);
  return std::string(buf, n);
}

}  // namespace

std::vector<std::string> InterimRunFiles(const std::string& interimDir, const std::string& base) {
  std::vector<std::string> files;
  for (const std::string& name : {base + "-orig.csv", base + "-final.csv", base + ".ft",
                                 std::string("postclean-b.csv"), std::string("postclean-c.csv"),
                                 base + ".bin"}) {
    files.push_back((fs::path(interimDir) / name).string());
  }
  return files;
}

bool BinStaysInInterim(const std::string& outputDir, const std::string& interimDir) {
  std::error_code ec;
  if (outputDir.empty() || !fs::is_directory(outputDir, ec)) return true;
  if (outputDir.size() == interimDir.size() && ToUpperAscii(outputDir) == ToUpperAscii(interimDir)) {
    return true;
  }
  return fs::equivalent(outputDir, interimDir, ec);
}

void RemoveEarlierRunFiles(const std::string& interimDir, const std::string& base,
                           const std::string& outputDir) {
  const std::string binName = base + ".bin";
  for (const std::string& file : InterimRunFiles(interimDir, base)) {
    if (fs::path(file).filename() != binName) RemoveFile(file);
  }
  if (BinStaysInInterim(outputDir, interimDir)) return;
  // NAME.BIN, NAME.Bin ...: the packer takes any of them for its output.
  std::error_code ec;
  for (fs::directory_iterator it(interimDir, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().string();
    if (name.size() == base.size() + 4 && name.compare(0, base.size(), base) == 0 &&
        ToUpperAscii(std::string_view(name).substr(base.size())) == ".BIN") {
      RemoveFile(it->path());
    }
  }
}

std::string EarlierBinNote(const std::string& outputDir, const std::string& base) {
  if (outputDir.empty()) return {};
  const std::string path = (fs::path(outputDir) / (base + ".bin")).string();
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return {};
  return base + ".bin in " + outputDir + " is from an earlier run (" + LocalTimeText(st.st_mtime) +
         ").";
}

}  // namespace kestrum
