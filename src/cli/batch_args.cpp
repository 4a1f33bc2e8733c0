#include "cli/batch_args.h"

#include <CLI/CLI.hpp>

namespace kestrum::cli {

namespace {

// "--settings=k.INI" -> "--settings"; "-j4" -> "-j"; "--use-rh" stays.
std::string OptionName(const std::string& arg) {
  if (arg.rfind("--", 0) == 0) return arg.substr(0, arg.find('='));
  return arg.substr(0, 2);
}

// True when the option's value is part of arg ("--x=1", "-j4").
bool ValueAttached(const std::string& arg) {
  return arg.rfind("--", 0) == 0 ? arg.find('=') != std::string::npos : arg.size() > 2;
}

bool TakesValue(const CLI::Option& option) { return option.get_items_expected_min() > 0; }

}  // namespace

std::vector<std::string> TakeConversionOptions(const CLI::App& convert, const CLI::App& batch,
                                               std::vector<std::string>& args) {
  static const char* const kSetByBatch[] = {"--interim", "--name", "--report", "--log"};
  std::vector<std::string> taken;
  std::vector<std::string> left;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--") {  // the rest are inputs
      left.insert(left.end(), args.begin() + static_cast<std::ptrdiff_t>(i), args.end());
      break;
    }
    const bool isOption = arg.size() > 1 && arg[0] == '-' && i > 0;
    if (!isOption) {
      left.push_back(arg);
      continue;
    }
    const std::string name = OptionName(arg);
    const CLI::Option* own = batch.get_option_no_throw(name);
    const CLI::Option* conv = own == nullptr ? convert.get_option_no_throw(name) : nullptr;
    const CLI::Option* option = own != nullptr ? own : conv;
    const bool withValue = option != nullptr && TakesValue(*option) && !ValueAttached(arg) &&
                           i + 1 < args.size();
    if (conv == nullptr) {
      left.push_back(arg);
      if (withValue) left.push_back(args[++i]);
      continue;
    }
    for (const char* setByBatch : kSetByBatch) {
      if (conv->check_name(setByBatch)) {
        throw CLI::ValidationError(
            name, "batch sets it for each input: its name from the file name, its run files, "
                  "log and report in DIR/runs/NAME/");
      }
    }
    taken.push_back(arg);
    if (withValue) taken.push_back(args[++i]);
  }
  args = std::move(left);
  return taken;
}

}  // namespace kestrum::cli
