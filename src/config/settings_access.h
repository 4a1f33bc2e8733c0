// Whether the settings file can be read at all: the program starts with the default
// settings either way, but a file that is there and cannot be read is said, so that the
// user does not take the defaults for the settings saved.
#pragma once

#include <string>

namespace kestrum {

// Why the settings file at path exists but cannot be read (a directory, a named pipe, a
// file over the size cap, no permission), as one sentence that names the file and says the
// defaults are used. Empty when it can be read, and when there is no file (a first start).
std::string SettingsFileProblem(const std::string& path);

}  // namespace kestrum
