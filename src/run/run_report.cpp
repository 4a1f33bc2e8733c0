#include "run/run_report.h"

#include "run/renamed_file.h"
#include "run/text_fields.h"

namespace kestrum {

namespace {

bool EndsWithIgnoringCase(const std::string& text, const std::string& suffix) {
  return text.size() >= suffix.size() &&
         ToUpperAscii(text.substr(text.size() - suffix.size())) == ToUpperAscii(suffix);
}

}  // namespace

void WriteRunReport(const std::string& path, const RunReport& report) {
  const bool html = EndsWithIgnoringCase(path, ".html") || EndsWithIgnoringCase(path, ".htm");
  // Written beside the report under a name of its own, then renamed over it: a reader
  // never sees half a report.
  WriteByRename(path, html ? RunReportHtml(report) : RunReportJson(report), "the report");
}

}  // namespace kestrum
