// The inputs of a batch: files as given, directories as their weather files, each with
// the base name its conversion gets.
#pragma once

#include <string>
#include <vector>

namespace kestrum::cli {

struct BatchInput {
  std::string path;  // as given, or directory + "/" + file name
  std::string name;  // the file name without its extension (and without a ".bin" before it)
};

// Files are taken as they are; a directory gives its files ending in ".epw" or ".csv" in
// any letter case, sorted by name. Throws RunError when a directory cannot be listed.
std::vector<BatchInput> ExpandBatchInputs(const std::vector<std::string>& given);

// The base name convert gives an input of this path: its file name without the extension,
// and without a trailing ".bin" (any case), which convert would drop too.
std::string BatchName(const std::string& path);

// "a.epw and b/a.csv would both make a.bin" for every name taken twice; empty when all
// names differ.
std::vector<std::string> DuplicateNames(const std::vector<BatchInput>& inputs);

}  // namespace kestrum::cli
