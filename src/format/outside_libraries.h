// The two shared libraries a conversion calls: Solvane (direct-normal estimate) and
// Ftpack (the packer). Both export INIT_DLL, so each is opened with its own handle
// (RTLD_LOCAL) and its symbols are looked up on that handle.
#pragma once

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>

#include "ftpack/ftpack.h"
#include "solar/solvane.h"

namespace kestrum {

class LibraryError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class SharedLibrary {
 public:
  // Opens path with RTLD_NOW | RTLD_LOCAL. Throws LibraryError naming the file.
  explicit SharedLibrary(const std::string& path);
  ~SharedLibrary();
  SharedLibrary(const SharedLibrary&) = delete;
  SharedLibrary& operator=(const SharedLibrary&) = delete;

  // Throws LibraryError when the library has no such symbol.
  void* Symbol(const char* name) const;
  const std::string& path() const { return path_; }

 private:
  std::string path_;
  void* handle_ = nullptr;
};

struct SolvaneLibrary {
  SolvaneInitFn init = nullptr;         // INIT_DLL
  SolvaneEstimateFn estimate = nullptr;  // SOLVANE
};

struct FtpackLibrary {
  FtpackInitFn init = nullptr;  // INIT_DLL
  FtpackPackFn pack = nullptr;  // FTPACK
};

inline constexpr const char* kSolvaneFileName = "libsolvane.so";
inline constexpr const char* kFtpackFileName = "libftpack.so";

// Both libraries, bound for the life of the process.
class OutsideLibraries {
 public:
  // Opens libsolvane.so and libftpack.so in dir. Throws LibraryError with one clear
  // sentence naming the missing file when either cannot be bound.
  static std::unique_ptr<OutsideLibraries> Load(const std::string& dir);

  SolvaneLibrary& solvane() { return solvane_; }
  FtpackLibrary& ftpack() { return ftpack_; }

 private:
  OutsideLibraries() = default;
  std::unique_ptr<SharedLibrary> solvaneLib_, ftpackLib_;
  SolvaneLibrary solvane_;
  FtpackLibrary ftpack_;
};

// The directory of the running program file, without a trailing separator.
std::string ProgramDirectory();

}  // namespace kestrum
