#include "format/outside_libraries.h"

#include <dlfcn.h>
#include <unistd.h>

#include <filesystem>

namespace kestrum {

SharedLibrary::SharedLibrary(const std::string& path) : path_(path) {
  handle_ = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle_ == nullptr) {
    const char* why = dlerror();
    throw LibraryError("The library " + path + " cannot be loaded" +
                       (why ? std::string(" (") + why + ")" : std::string()) + ".");
  }
}

SharedLibrary::~SharedLibrary() {
  if (handle_ != nullptr) dlclose(handle_);
}

void* SharedLibrary::Symbol(const char* name) const {
  dlerror();
  void* sym = dlsym(handle_, name);
  if (sym == nullptr) {
    throw LibraryError("The library " + path_ + " does not export " + name + ".");
  }
  return sym;
}

std::unique_ptr<OutsideLibraries> OutsideLibraries::Load(const std::string& dir) {
  std::unique_ptr<OutsideLibraries> libs(new OutsideLibraries());
  for (const char* name : {kSolvaneFileName, kFtpackFileName}) {
    const std::string path = dir + "/" + name;
    if (!std::filesystem::exists(path)) {
      throw LibraryError("The library " + std::string(name) + " is missing: Kestrum needs it in " +
                         dir + ".");
    }
  }
  libs->solvaneLib_ = std::make_unique<SharedLibrary>(dir + "/" + kSolvaneFileName);
  libs->ftpackLib_ = std::make_unique<SharedLibrary>(dir + "/" + kFtpackFileName);
  libs->solvane_.init = reinterpret_cast<SolvaneInitFn>(libs->solvaneLib_->Symbol("INIT_DLL"));
  libs->solvane_.estimate =
      reinterpret_cast<SolvaneEstimateFn>(libs->solvaneLib_->Symbol("SOLVANE"));
  libs->ftpack_.init = reinterpret_cast<FtpackInitFn>(libs->ftpackLib_->Symbol("INIT_DLL"));
  libs->ftpack_.pack = reinterpret_cast<FtpackPackFn>(libs->ftpackLib_->Symbol("FTPACK"));
  return libs;
}

std::string ProgramDirectory() {
  std::error_code ec;
  const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec) return std::filesystem::current_path().string();
  return exe.parent_path().string();
}

}  // namespace kestrum
