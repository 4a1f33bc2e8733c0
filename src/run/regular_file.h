// Opening an input for reading only when it is a regular file: a named pipe would wait
// for a writer, a device such as /dev/zero never ends, and a directory holds no text.
#pragma once

#include <string>

namespace kestrum {

// What the file at path is when it is not a regular file ("a directory", "a named pipe",
// "a device", "a socket"); empty for a regular file, and for a path that cannot be
// examined (the open that follows reports why).
std::string NonRegularKind(const std::string& path);

// Opens path read-only and returns the descriptor. Throws InputError naming the file when
// it is missing, cannot be opened or is not a regular file: the type is checked before
// the file is opened, and again on the open descriptor, so a path swapped for a pipe in
// between is refused without blocking.
int OpenRegularFile(const std::string& path);

// The system's text for an errno value ("No space left on device").
std::string ErrorText(int error);

}  // namespace kestrum
