// Writing an output file whole or not at all: the text goes to a temporary file beside it,
// which is then renamed over it.
#pragma once

#include <string>
#include <string_view>

namespace kestrum {

// Writes text to path + ".tmp" + the process id, then renames that over path. On failure
// the temporary file is removed, an earlier file at path stays as it was, and RunError
// "Cannot write <what> <path>: <reason>" is thrown (what: "the report", "the EPW file").
void WriteByRename(const std::string& path, std::string_view text, const std::string& what);

}  // namespace kestrum
