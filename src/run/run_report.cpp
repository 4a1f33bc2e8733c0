#include "run/run_report.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "run/run_error.h"
#include "run/text_fields.h"

namespace kestrum {

namespace {

bool EndsWithIgnoringCase(const std::string& text, const std::string& suffix) {
  return text.size() >= suffix.size() &&
         ToUpperAscii(text.substr(text.size() - suffix.size())) == ToUpperAscii(suffix);
}

[[noreturn]] void Fail(const std::string& path, int error) {
  throw RunError("Cannot write the report " + path + ": " + std::strerror(error));
}

}  // namespace

void WriteRunReport(const std::string& path, const RunReport& report) {
  const bool html = EndsWithIgnoringCase(path, ".html") || EndsWithIgnoringCase(path, ".htm");
  const std::string text = html ? RunReportHtml(report) : RunReportJson(report);
  // Written beside the report under a name of its own, then renamed over it: a reader
  // never sees half a report.
  const std::string temp = path + ".tmp" + std::to_string(::getpid());
  std::FILE* f = std::fopen(temp.c_str(), "wb");
  if (f == nullptr) Fail(path, errno);
  const bool written = std::fwrite(text.data(), 1, text.size(), f) == text.size();
  const int writeError = errno;
  if (std::fclose(f) != 0 || !written) {
    const int error = written ? errno : writeError;
    std::remove(temp.c_str());
    Fail(path, error);
  }
  if (std::rename(temp.c_str(), path.c_str()) != 0) {
    const int error = errno;
    std::remove(temp.c_str());
    Fail(path, error);
  }
}

}  // namespace kestrum
