// The conversion options of a batch command line: every option that convert knows and
// batch does not is handed on to each input's convert unchanged.
#pragma once

#include <string>
#include <vector>

namespace CLI {
class App;
}

namespace kestrum::cli {

// args: the command line after the program name, starting with "batch". Moves every
// option of `convert` that `batch` does not have (with its value, if it takes one) out
// of args and returns them in order; what is left is batch's own command line. Options
// that batch sets for each input itself (--interim, --name, --report, --log) are refused
// with a CLI::ValidationError.
std::vector<std::string> TakeConversionOptions(const CLI::App& convert, const CLI::App& batch,
                                               std::vector<std::string>& args);

}  // namespace kestrum::cli
