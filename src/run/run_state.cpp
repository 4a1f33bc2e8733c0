#include "run/run_state.h"

namespace kestrum {

std::string RemoveExtension(const std::string& fileName) {
  const auto dot = fileName.rfind('.');
  const auto slash = fileName.find_last_of('/');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return fileName;
  return fileName.substr(0, dot);
}

}  // namespace kestrum
