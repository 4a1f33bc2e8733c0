// Clearing a run's interim files from the interim directory when the program closes.
#include <filesystem>
#include <string_view>
#include <system_error>
#include <vector>

#include "config/settings.h"
#include "run/run_error.h"
#include "run/text_fields.h"

namespace kestrum {

namespace fs = std::filesystem;

namespace {

// The extension is the part of the name from its last ".", compared without regard to case.
std::string UpperExtension(const std::string& name) {
  const size_t dot = name.find_last_of('.');
  return dot == std::string::npos ? std::string() : ToUpperAscii(std::string_view(name).substr(dot));
}

bool EndsWith(std::string_view text, std::string_view suffix) {
  return text.size() >= suffix.size() && text.substr(text.size() - suffix.size()) == suffix;
}

// The review files of a run (base name + "-orig.csv" / "-final.csv") and the cleaning
// snapshots, named exactly as the stages write them.
bool IsGraphDataFile(const std::string& name) {
  return EndsWith(name, "-orig.csv") || EndsWith(name, "-final.csv") ||
         name == "postclean-b.csv" || name == "postclean-c.csv";
}

bool IsSameFile(const fs::path& entry, const std::string& protectedFile) {
  if (protectedFile.empty()) return false;
  std::error_code ec;
  if (fs::equivalent(entry, protectedFile, ec)) return true;
  return fs::absolute(entry, ec).lexically_normal() == fs::absolute(protectedFile, ec).lexically_normal();
}

}  // namespace

int ClearInterimResults(const std::string& interimDir, bool clearResults, bool saveGraphFiles,
                        const std::string& protectedFile) {
  if (!clearResults) return 0;

  std::error_code ec;
  fs::directory_iterator entries;
  if (!interimDir.empty()) entries = fs::directory_iterator(interimDir, ec);
  if (interimDir.empty() || ec) {
    throw RunError("Cannot clear the interim results: the directory \"" + interimDir +
                   "\" cannot be listed" + (ec ? " (" + ec.message() + ")." : "."));
  }

  // Gather first, delete afterwards: the listing is not disturbed by the deletions.
  std::vector<fs::path> runFiles;
  while (entries != fs::directory_iterator()) {
    const fs::path path = entries->path();
    std::error_code statusError;
    const bool isDirectory = entries->is_directory(statusError);  // never a run file
    const std::string name = path.filename().string();
    const std::string extension = UpperExtension(name);
    const bool runFile = extension == ".FT" || extension == ".STA" ||
                         (!saveGraphFiles && IsGraphDataFile(name));
    if (!isDirectory && runFile && !IsSameFile(path, protectedFile)) runFiles.push_back(path);
    entries.increment(ec);
    if (ec) break;  // a listing that fails half-way clears what it has found
  }

  int deleted = 0;
  for (const fs::path& path : runFiles) {
    std::error_code removeError;
    if (fs::remove(path, removeError)) ++deleted;  // failures are ignored
  }
  return deleted;
}

}  // namespace kestrum
