#include "cli/csv_columns.h"

#include <algorithm>
#include <optional>

#include "cli/csv_options.h"
#include "csv/csv_headers.h"
#include "csv/csv_lines.h"
#include "run/hourly_table.h"
#include "run/text_fields.h"

namespace kestrum::cli {

namespace {

const char* DateFormName(int32_t d) {
  return d == kDateOneField ? "serial" : d == kDateThreeFields ? "mdh" : "none";
}

std::string LayoutText(const std::vector<CsvSlot>& layout) {
  std::string names;
  for (const CsvSlot& slot : layout) names += (names.empty() ? "" : ",") + std::string(slot.name);
  return names;
}

std::vector<std::string> SplitList(const std::string& list) {
  std::vector<std::string> items;
  size_t start = 0;
  for (;;) {
    const size_t comma = list.find(',', start);
    items.push_back(list.substr(start, comma - start));
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  return items;
}

std::string Trimmed(const std::string& s) {
  const size_t first = s.find_first_not_of(" \t");
  if (first == std::string::npos) return "";
  return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

// The headers of line headerRow, each with the reader's column of its field in the first
// data row; the line number taken.
struct HeaderLine {
  int32_t line = 0;  // 0: there is none
  std::vector<CsvHeaderColumn> headers;
};

HeaderLine ReadHeaderLine(const std::string& input, int32_t headerRow, int32_t firstRow) {
  HeaderLine out;
  out.line = headerRow > 0 ? headerRow : firstRow - 1;
  if (out.line < 1) return out;
  CsvLineReader reader(input);
  std::string line, headerText, rowText;
  while (reader.Next(line)) {
    const auto number = static_cast<int32_t>(reader.lineNumber());
    if (number == out.line) headerText = line;
    if (number == firstRow) rowText = line;
    if (number >= out.line && number >= firstRow) break;
  }
  out.headers = AlignHeaders(headerText, rowText);
  while (!out.headers.empty() && out.headers.back().text.empty()) out.headers.pop_back();
  return out;
}

std::string HeaderList(const HeaderLine& line) {
  std::string text;
  for (const CsvHeaderColumn& h : line.headers) {
    if (h.text.empty()) continue;
    text += (text.empty() ? "" : ", ") + ("\"" + h.text + "\" (" + std::to_string(h.readerColumn) + ")");
  }
  return text.empty() ? "none" : text;
}

struct ConstantName {
  const char* name;
  CsvItem item;
};

constexpr ConstantName kConstantNames[] = {
    {"DewPtT", CsvItem::DewPoint},          {"WetBlb", CsvItem::WetBulb},
    {"RelHum", CsvItem::RelHum},            {"SolarDN", CsvItem::SolarDirectNormal},
    {"WindSpd", CsvItem::WindSpeed},        {"WindDir", CsvItem::WindDirection},
};

int32_t MoistureOf(CsvItem item) {
  return item == CsvItem::DewPoint ? kMoistureDewPoint
         : item == CsvItem::RelHum ? kMoistureRelHum
                                   : kMoistureWetBulb;
}

}  // namespace

void SetColumns(CsvFieldMap& fieldMap, const std::string& list, const std::string& input,
                int32_t headerRow) {
  const std::vector<CsvSlot> layout = CsvLayout(fieldMap.dateInd, fieldMap.moistInd, fieldMap.solarInd);
  const std::vector<std::string> items = SplitList(list);
  if (items.size() > layout.size()) {
    throw CsvUsageError("--columns lists " + std::to_string(items.size()) +
                        " columns, but the layout of date form " + DateFormName(fieldMap.dateInd) +
                        " has " + std::to_string(layout.size()) + " slots: " + LayoutText(layout) +
                        ".");
  }
  std::optional<HeaderLine> headerLine;
  fieldMap.columns = {};
  for (size_t i = 0; i < items.size(); ++i) {
    const std::string item = Trimmed(items[i]);
    if (item.empty()) continue;
    const std::string what = "--columns item " + std::to_string(i + 1) + " (" + layout[i].name + ")";
    int64_t column = 0;
    const bool digits = item.find_first_not_of("0123456789+-") == std::string::npos;
    if (digits) {
      if (!ParseWholeNumber(item, column) || column < 1 || column > kCsvMaxColumn) {
        throw CsvUsageError(what + " is \"" + item + "\", not a column number 1.." +
                            std::to_string(kCsvMaxColumn) + ".");
      }
      fieldMap.columns[i] = std::to_string(column);
      continue;
    }
    // A header's name.
    if (!headerLine) headerLine = ReadHeaderLine(input, headerRow, fieldMap.firstRow);
    if (headerLine->line < 1) {
      throw CsvUsageError(what + " is \"" + item + "\", not a column number 1.." +
                          std::to_string(kCsvMaxColumn) + ". A header's name needs a line of "
                          "headers, and the first data row is line 1: give --header-row N.");
    }
    const std::vector<const CsvHeaderColumn*> named = HeadersNamed(headerLine->headers, item);
    const std::string where = "line " + std::to_string(headerLine->line);
    if (named.empty()) {
      throw CsvUsageError(what + " \"" + item + "\" is no header of " + where +
                          "; its headers (column): " + HeaderList(*headerLine) + ".");
    }
    if (named.size() > 1) {
      throw CsvUsageError(what + " \"" + item + "\" heads " + std::to_string(named.size()) +
                          " columns of " + where + ": give its column's number; its headers " +
                          "(column): " + HeaderList(*headerLine) + ".");
    }
    fieldMap.columns[i] = std::to_string(named.front()->readerColumn);
  }
}

void SetConstants(CsvFieldMap& fieldMap, const std::vector<std::string>& given,
                  bool moistureGiven, bool solarGiven) {
  for (const std::string& text : given) {
    const size_t equals = text.find('=');
    const std::string name = Trimmed(text.substr(0, equals));
    const std::string value = equals == std::string::npos ? "" : Trimmed(text.substr(equals + 1));
    const std::string upper = ToUpperAscii(name);
    if (upper == "DBTEMP" || upper == "SOLARHOR") {
      throw CsvUsageError("--constant " + text + ": " + name +
                          " takes no constant; the dry bulb and the global horizontal radiation "
                          "must come from the file.");
    }
    const auto known = std::find_if(std::begin(kConstantNames), std::end(kConstantNames),
                                    [&](const ConstantName& c) { return ToUpperAscii(c.name) == upper; });
    if (known == std::end(kConstantNames)) {
      throw CsvUsageError("--constant " + text + ": \"" + name +
                          "\" is no item that takes a constant (DewPtT, WetBlb, RelHum, SolarDN, "
                          "WindSpd, WindDir).");
    }
    double number = 0;
    if (equals == std::string::npos || !ParseReal(value, number)) {
      throw CsvUsageError("--constant " + text + ": give ITEM=VALUE with a number, e.g. "
                          "--constant WindDir=0.");
    }
    const bool moisture = known->item == CsvItem::DewPoint || known->item == CsvItem::WetBulb ||
                          known->item == CsvItem::RelHum;
    if (ConstantOf(fieldMap, known->item) != nullptr) {
      throw CsvUsageError("--constant " + text + ": " +
                          (moisture ? std::string("the moisture item")
                                    : std::string(known->name)) +
                          " is given a constant twice.");
    }
    if (moisture) {
      const int32_t chosen = MoistureOf(known->item);
      if (moistureGiven && fieldMap.moistInd != chosen) {
        throw CsvUsageError("--constant " + text + " gives another moisture quantity than "
                            "--moisture chose.");
      }
      fieldMap.moistInd = chosen;
    }
    if (known->item == CsvItem::SolarDirectNormal) {
      if (solarGiven && fieldMap.solarInd != kSolarGlobalAndDirect) {
        throw CsvUsageError("--constant " + text + " gives a direct normal, but --solar global "
                            "has none.");
      }
      fieldMap.solarInd = kSolarGlobalAndDirect;
    }
    fieldMap.constants.push_back({known->item, number, value});
  }
}

void CheckConstantValues(const CsvFieldMap& fieldMap) {
  for (const CsvConstant& c : fieldMap.constants) {
    double lo = -1e9, hi = 1e9;
    std::string range;
    switch (c.item) {
      case CsvItem::WindDirection: lo = 0, hi = 360, range = "0..360 degrees"; break;
      case CsvItem::RelHum:
        hi = fieldMap.moistUnits == 1 ? 1 : 100;
        lo = 0;
        range = fieldMap.moistUnits == 1 ? "0..1 (a fraction)" : "0..100 %";
        break;
      case CsvItem::WindSpeed:
      case CsvItem::SolarDirectNormal: lo = 0, range = "0 or more"; break;
      default: break;
    }
    if (c.value < lo || c.value > hi) {
      const char* name = "";
      for (const ConstantName& n : kConstantNames) {
        if (n.item == c.item) name = n.name;
      }
      throw CsvUsageError("--constant " + std::string(name) + "=" + c.text + ": " + c.text +
                          " is outside " + range + ".");
    }
  }
}

}  // namespace kestrum::cli
