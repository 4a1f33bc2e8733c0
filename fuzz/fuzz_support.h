// What the fuzz targets share: a scratch directory of the process, and a file in it.
#pragma once

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace kestrum::fuzz {

// A directory of this process: below $KESTRUM_FUZZ_SCRATCH (scripts/fuzz makes one in
// memory and removes it afterwards, since libFuzzer may end without running exit handlers),
// else below the temporary directory, removed at exit.
inline const std::filesystem::path& ScratchDir() {
  static const std::filesystem::path dir = [] {
    const char* scratch = std::getenv("KESTRUM_FUZZ_SCRATCH");
    const std::filesystem::path base = scratch != nullptr && *scratch != '\0'
                                           ? std::filesystem::path(scratch)
                                           : std::filesystem::temp_directory_path();
    const std::filesystem::path d = base / ("kestrum-fuzz-" + std::to_string(::getpid()));
    std::filesystem::create_directories(d);
    std::atexit([] {
      std::error_code ec;
      std::filesystem::remove_all(ScratchDir(), ec);
    });
    return d;
  }();
  return dir;
}

// Writes the input into the scratch directory under name and returns its path.
inline std::string WriteInput(const char* name, const uint8_t* data, size_t size) {
  const std::string path = (ScratchDir() / name).string();
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (f == nullptr) std::abort();
  if (size > 0 && std::fwrite(data, 1, size, f) != size) std::abort();
  std::fclose(f);
  return path;
}

// A property the target checks failed: report it as a crash, so libFuzzer keeps the input.
[[noreturn]] inline void Broken(const char* what) {
  std::fprintf(stderr, "fuzz check failed: %s\n", what);
  std::abort();
}

}  // namespace kestrum::fuzz
