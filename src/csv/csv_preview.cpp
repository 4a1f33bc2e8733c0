#include "csv/csv_preview.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <system_error>

#include "csv/csv_headers.h"
#include "run/run_error.h"

namespace kestrum {

namespace {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

void RequireRegularFile(const std::string& path) {
  std::error_code ec;
  const auto status = std::filesystem::status(path, ec);
  if (ec || !std::filesystem::exists(status)) {
    throw InputError("Cannot open " + path + ": no such file");
  }
  if (!std::filesystem::is_regular_file(status)) {
    throw InputError("Cannot read " + path + ": it is not a regular file");
  }
}

}  // namespace

std::vector<std::string> ReadPreviewLines(const std::string& path, int maxLines) {
  RequireRegularFile(path);
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
  if (!file) throw InputError("Cannot open " + path + ": " + std::strerror(errno));

  std::vector<std::string> lines;
  std::string line;
  bool inLine = false;      // bytes of a line not yet stored
  bool afterCr = false;     // the last byte was a CR: an LF right after it belongs to it
  size_t scanned = 0;
  char buffer[1 << 16];
  auto endLine = [&] {
    lines.push_back(std::move(line));
    line.clear();
    inLine = false;
  };
  while (static_cast<int>(lines.size()) < maxLines && scanned < kPreviewScanLimit) {
    const size_t got = std::fread(buffer, 1, sizeof buffer, file.get());
    if (got == 0) break;
    size_t start = 0;
    if (scanned == 0 && got >= 3 && std::memcmp(buffer, "\xEF\xBB\xBF", 3) == 0) start = 3;
    scanned += got;
    for (size_t i = start; i < got && static_cast<int>(lines.size()) < maxLines; ++i) {
      const char c = buffer[i];
      if (c == '\n') {
        if (afterCr) {
          afterCr = false;
          continue;
        }
        endLine();
      } else if (c == '\r') {
        afterCr = true;
        endLine();
      } else {
        afterCr = false;
        inLine = true;
        if (line.size() < kPreviewLineLimit) line.push_back(c);
      }
    }
  }
  if (std::ferror(file.get())) {
    throw InputError("Cannot read " + path + " after line " + std::to_string(lines.size()));
  }
  if (inLine && static_cast<int>(lines.size()) < maxLines) endLine();
  return lines;
}

int PreviewHeaderLine(int layoutHeaderLine, int firstRow) {
  if (layoutHeaderLine > 0) return layoutHeaderLine;
  return firstRow > 1 ? firstRow - 1 : 0;
}

std::vector<std::string> PreviewColumnHeaders(const std::vector<std::string>& lines,
                                              int headerLine, int count) {
  std::vector<std::string> headers(static_cast<size_t>(std::max(count, 0)));
  if (headerLine < 1 || headerLine > static_cast<int>(lines.size())) return headers;
  const auto index = static_cast<size_t>(headerLine - 1);
  const std::string& below = index + 1 < lines.size() ? lines[index + 1] : std::string();
  for (const CsvHeaderColumn& header : AlignHeaders(lines[index], below)) {
    if (header.readerColumn < 1 || header.readerColumn > count) continue;
    const size_t start = header.text.find_first_not_of(" \t");
    if (start == std::string::npos) continue;
    const size_t end = header.text.find_last_not_of(" \t");
    headers[static_cast<size_t>(header.readerColumn - 1)] = header.text.substr(start, end - start + 1);
  }
  return headers;
}

}  // namespace kestrum
