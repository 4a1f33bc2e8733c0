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

std::string_view Trimmed(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
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

int ReaderColumnHeaded(const std::vector<CsvHeaderColumn>& headers, std::string_view name) {
  const std::string wanted = ToUpperAscii(Trimmed(name));
  for (const CsvHeaderColumn& header : headers) {
    if (ToUpperAscii(Trimmed(header.text)) == wanted) return header.readerColumn;
  }
  return 0;
}

}  // namespace kestrum
