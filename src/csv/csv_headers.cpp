#include "csv/csv_headers.h"

#include "run/text_fields.h"

namespace kestrum {

namespace {

// The 1-based positions where NextField starts each field of line.
std::vector<size_t> FieldStarts(std::string_view line, AfterQuote afterQuote) {
  std::vector<size_t> starts;
  for (size_t pos = 1; pos <= line.size();) {
    starts.push_back(pos);
    pos = SkipFields(line, pos, 1, afterQuote);
  }
  return starts;
}

}  // namespace

std::vector<int> ReaderColumnsOfFields(std::string_view line) {
  const std::vector<size_t> fields = FieldStarts(line, AfterQuote::Consume);
  const std::vector<size_t> columns = FieldStarts(line, AfterQuote::Keep);
  // Both scans start a field at the same place unless a quoted field's delimiter lies
  // between: the field is the reader's last column that starts at or before it.
  std::vector<int> out;
  out.reserve(fields.size());
  size_t column = 0;
  for (const size_t start : fields) {
    while (column + 1 < columns.size() && columns[column + 1] <= start) ++column;
    out.push_back(static_cast<int>(column) + 1);
  }
  return out;
}

std::vector<CsvHeaderColumn> AlignHeaders(std::string_view headerLine,
                                          std::string_view firstDataRow) {
  const std::vector<int> rowColumns = ReaderColumnsOfFields(firstDataRow);
  const int rowFields = static_cast<int>(FieldStarts(firstDataRow, AfterQuote::Keep).size());
  std::vector<CsvHeaderColumn> headers;
  std::string quoted;
  size_t pos = 1;
  for (size_t k = 0; pos <= headerLine.size(); ++k) {
    CsvHeaderColumn header;
    header.text = std::string(NextFieldView(headerLine, pos, quoted, AfterQuote::Consume));
    header.readerColumn = k < rowColumns.size()
                              ? rowColumns[k]
                              : rowFields + static_cast<int>(k - rowColumns.size()) + 1;
    headers.push_back(std::move(header));
  }
  return headers;
}

std::string HeaderKey(std::string_view header) {
  std::string key;
  key.reserve(header.size());
  for (size_t i = 0; i < header.size(); ++i) {
    const auto c = static_cast<unsigned char>(header[i]);
    // UTF-8 degree sign and superscript two: C2 B0, C2 B2.
    if (c == 0xC2 && i + 1 < header.size()) {
      const auto next = static_cast<unsigned char>(header[i + 1]);
      if (next == 0xB0 || next == 0xB2) {
        ++i;
        if (next == 0xB2) key.push_back('2');
        continue;
      }
    }
    if (c == ' ' || c == '\t' || c == '^' || c == 0xB0) continue;  // 0xB0: Windows-1252 degree
    if (c == 0xB2) {  // Windows-1252 superscript two
      key.push_back('2');
      continue;
    }
    if (c == ')' && !key.empty() && key.back() == ')') continue;
    key.push_back(c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : static_cast<char>(c));
  }
  return key;
}

HeaderUnitSplit SplitHeaderUnit(std::string_view header) {
  const std::string key = HeaderKey(header);
  const size_t open = key.rfind('(');
  if (key.empty() || key.back() != ')' || open == std::string::npos || open == 0) return {};
  return {key.substr(0, open), key.substr(open + 1, key.size() - open - 2)};
}

std::vector<const CsvHeaderColumn*> HeadersNamed(const std::vector<CsvHeaderColumn>& headers,
                                                 std::string_view name) {
  const std::string wanted = HeaderKey(name);
  std::vector<const CsvHeaderColumn*> named;
  if (wanted.empty()) return named;
  for (const CsvHeaderColumn& header : headers) {
    if (HeaderKey(header.text) == wanted) named.push_back(&header);
  }
  if (!named.empty()) return named;
  for (const CsvHeaderColumn& header : headers) {
    if (SplitHeaderUnit(header.text).name == wanted) named.push_back(&header);
  }
  return named;
}

int ReaderColumnHeaded(const std::vector<CsvHeaderColumn>& headers, std::string_view name) {
  const std::string wanted = HeaderKey(name);
  for (const CsvHeaderColumn& header : headers) {
    if (HeaderKey(header.text) == wanted) return header.readerColumn;
  }
  return 0;
}

}  // namespace kestrum
