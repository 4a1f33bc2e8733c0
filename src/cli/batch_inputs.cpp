#include "cli/batch_inputs.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <system_error>

#include "run/run_error.h"
#include "run/text_fields.h"

namespace kestrum::cli {

namespace fs = std::filesystem;

namespace {

bool IsWeatherFileName(const std::string& name) {
  if (name.size() < 5) return false;
  const std::string ext = ToUpperAscii(name.substr(name.size() - 4));
  return ext == ".EPW" || ext == ".CSV";
}

std::vector<std::string> WeatherFilesIn(const std::string& dir) {
  std::vector<std::string> names;
  std::error_code ec;
  for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().string();
    std::error_code typeError;
    if (IsWeatherFileName(name) && !it->is_directory(typeError)) names.push_back(name);
  }
  if (ec) throw RunError("The directory " + dir + " cannot be listed: " + ec.message());
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace

std::string BatchName(const std::string& path) {
  std::string name = fs::path(path).stem().string();
  if (name.size() > 4 && ToUpperAscii(name.substr(name.size() - 4)) == ".BIN") {
    name.resize(name.size() - 4);
  }
  return name;
}

std::vector<BatchInput> ExpandBatchInputs(const std::vector<std::string>& given) {
  std::vector<BatchInput> inputs;
  for (const std::string& path : given) {
    std::error_code ec;
    if (!fs::is_directory(path, ec)) {
      inputs.push_back({path, BatchName(path)});
      continue;
    }
    const std::string dir = path.size() > 1 && path.back() == '/' ? path.substr(0, path.size() - 1) : path;
    for (const std::string& name : WeatherFilesIn(dir)) {
      const std::string file = dir + "/" + name;
      inputs.push_back({file, BatchName(file)});
    }
  }
  return inputs;
}

std::vector<std::string> DuplicateNames(const std::vector<BatchInput>& inputs) {
  std::map<std::string, std::vector<std::string>> byName;
  for (const BatchInput& in : inputs) byName[in.name].push_back(in.path);
  std::vector<std::string> clashes;
  for (const auto& [name, paths] : byName) {
    if (paths.size() < 2) continue;
    std::string line;
    for (size_t i = 0; i < paths.size(); ++i) {
      line += (i == 0 ? "" : i + 1 == paths.size() ? " and " : ", ") + paths[i];
    }
    clashes.push_back(line + (paths.size() == 2 ? " would both make " : " would all make ") +
                      name + ".bin");
  }
  return clashes;
}

}  // namespace kestrum::cli
