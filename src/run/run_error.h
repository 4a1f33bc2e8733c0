// Errors that end a run: an input/output failure, a number that does not convert,
// a site value out of range. The message names the file and, for a row, its line
// number and the offending text. The driver's caller reports it.
#pragma once

#include <stdexcept>
#include <string>

namespace kestrum {

class RunError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A run failed because an input could not be read (missing, unreadable, bad row).
class InputError : public RunError {
 public:
  using RunError::RunError;
};

// An hour of the run's data that the conversion cannot go on with (its air has no wet
// bulb, a value is not finite); the driver names the source file in front of it.
class DataError : public RunError {
 public:
  using RunError::RunError;
};

// A run that an error ended after its start line was logged: the driver has put the error
// text and the finish line into the log already; the caller only shows the text.
class RunStopped : public RunError {
 public:
  using RunError::RunError;
};

}  // namespace kestrum
