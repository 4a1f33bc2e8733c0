#include "csv/file_survey.h"

#include <algorithm>
#include <array>

#include "csv/csv_date.h"
#include "csv/csv_lines.h"
#include "epw/epw_header.h"
#include "run/hourly_table.h"
#include "run/run_error.h"
#include "run/text_fields.h"

namespace kestrum {

namespace {

constexpr size_t kHeadLines = 100;

// The fields of EPW data rows, as the EnergyPlus weather format names them.
constexpr std::array<const char*, 35> kEpwFieldNames = {
    "Year", "Month", "Day", "Hour", "Minute", "Data Source and Uncertainty Flags",
    "Dry Bulb Temperature", "Dew Point Temperature", "Relative Humidity",
    "Atmospheric Station Pressure", "Extraterrestrial Horizontal Radiation",
    "Extraterrestrial Direct Normal Radiation", "Horizontal Infrared Radiation Intensity",
    "Global Horizontal Radiation", "Direct Normal Radiation", "Diffuse Horizontal Radiation",
    "Global Horizontal Illuminance", "Direct Normal Illuminance",
    "Diffuse Horizontal Illuminance", "Zenith Luminance", "Wind Direction", "Wind Speed",
    "Total Sky Cover", "Opaque Sky Cover", "Visibility", "Ceiling Height",
    "Present Weather Observation", "Present Weather Codes", "Precipitable Water",
    "Aerosol Optical Depth", "Snow Depth", "Days Since Last Snowfall", "Albedo",
    "Liquid Precipitation Depth", "Liquid Precipitation Quantity"};

// The fields the EPW reader takes (the dew point; relative humidity with --use-rh).
constexpr std::pair<const char*, int> kEpwItems[] = {
    {"Month", 2},    {"Day", 3},      {"Hour", 4},     {"DBTemp", 7},
    {"DewPtT", 8},   {"SolarHor", 14}, {"SolarDN", 15}, {"WindSpd", 22}, {"WindDir", 21}};

bool IsBlank(std::string_view line) {
  return line.find_first_not_of(" \t\f") == std::string_view::npos;
}

// The data rows from line firstRow to lastRow (0: the end): their count and last line
// (blank lines at the end left out), the first row's text, and what their stamps say.
struct RowScan {
  int64_t rows = 0;
  int32_t lastRow = 0;
  std::string firstRowText;
  std::optional<RowStamp> first, last;
  int stepMinutes = 0;
  bool leapDay = false;
  bool stamped = false;  // every data row had a stamp
};

RowScan ScanRows(const std::string& path, int32_t firstRow, int32_t lastRow,
                 StampReader* stamps) {
  RowScan scan;
  CsvLineReader reader(path);
  std::string line;
  StepCounter step;
  int64_t blanks = 0;
  bool allStamped = true;
  while (reader.Next(line)) {
    const auto number = static_cast<int32_t>(reader.lineNumber());
    if (number < firstRow) continue;
    if (lastRow > 0 && number > lastRow) break;
    if (IsBlank(line)) {
      ++blanks;
      continue;
    }
    scan.rows += blanks + 1;
    blanks = 0;
    scan.lastRow = number;
    if (scan.rows == 1) scan.firstRowText = line;
    if (stamps == nullptr) continue;
    const std::optional<RowStamp> stamp = stamps->Read(line);
    if (!stamp) {
      allStamped = false;
      continue;
    }
    if (!scan.first) scan.first = stamp;
    scan.last = stamp;
    step.Add(*stamp);
    scan.leapDay = scan.leapDay || IsLeapDay(*stamp);
  }
  scan.stepMinutes = step.StepMinutes();
  scan.stamped = stamps != nullptr && scan.first.has_value() && allStamped;
  return scan;
}

void TakeScan(const RowScan& scan, FileInspection& out) {
  out.rows = scan.rows;
  out.lastRow = scan.lastRow;
  out.firstStamp = scan.first;
  out.lastStamp = scan.last;
  out.stepMinutes = scan.stepMinutes;
  if (scan.first) out.leapDay = scan.leapDay;
}

// The columns headed on the header line, each with the first data row's field.
std::vector<InspectedColumn> ColumnsOf(const std::vector<CsvHeaderColumn>& headers,
                                       const std::string& firstRow) {
  int highest = 0;
  for (const CsvHeaderColumn& h : headers) highest = std::max(highest, h.readerColumn);
  const int rowFields = static_cast<int>(CsvFieldCount(firstRow));
  const std::vector<std::string> fields =
      CsvSplitFields(firstRow, static_cast<size_t>(std::max(highest, rowFields)));
  std::vector<InspectedColumn> columns;
  for (const CsvHeaderColumn& h : headers) {
    if (h.text.empty() && h.readerColumn > rowFields) continue;
    columns.push_back({h.readerColumn, h.text, fields[static_cast<size_t>(h.readerColumn - 1)]});
  }
  return columns;
}

std::string HeaderOfColumn(const std::vector<InspectedColumn>& columns, int column) {
  for (const InspectedColumn& c : columns) {
    if (c.number == column) return c.header;
  }
  return "";
}

// Every item of the field map's layout that has a column.
std::vector<InspectedItem> ItemsOf(const CsvFieldMap& fieldMap,
                                   const std::vector<InspectedColumn>& columns) {
  std::vector<InspectedItem> items;
  const std::vector<CsvSlot> slots = CsvLayout(fieldMap.dateInd, fieldMap.moistInd, fieldMap.solarInd);
  for (size_t slot = 0; slot < slots.size(); ++slot) {
    int64_t column = 0;
    if (!ParseWholeNumber(fieldMap.columns[slot], column) || column < 1) continue;
    items.push_back({slots[slot].name, static_cast<int>(column),
                     HeaderOfColumn(columns, static_cast<int>(column))});
  }
  return items;
}

void NoteMissingSite(FileInspection& out) {
  const std::pair<const char*, const std::string*> values[] = {
      {"latitude", &out.site.latitude}, {"longitude", &out.site.longitude},
      {"time zone", &out.site.timeZone}, {"elevation", &out.site.elevation}};
  for (const auto& [name, text] : values) {
    if (text->find_first_not_of(" \t") == std::string::npos) out.missing.push_back(name);
  }
}

FileInspection InspectLayout(const LayoutMatch& match) {
  FileInspection out;
  out.path = match.path;
  out.layout = match.name;
  out.description = match.description;
  out.site = match.site;
  out.headerLine = match.headerLine;
  out.firstRow = match.fieldMap.firstRow;
  out.timeBase = match.timeBase;
  out.csvFieldMap = match.fieldMap;
  out.timeShiftHours = match.timeShiftHours;
  out.utcStamps = match.timeBase == TimeBase::Utc;
  StampReader stamps(match.layout->stampForm, match.stampColumns);
  const RowScan scan = ScanRows(match.path, out.firstRow, match.fieldMap.lastRow, &stamps);
  TakeScan(scan, out);
  out.columns = ColumnsOf(match.headers, scan.firstRowText);
  out.fieldMap = ItemsOf(match.fieldMap, out.columns);
  for (const MissingItem& m : match.missing) out.missing.push_back(m.name);
  NoteMissingSite(out);
  return out;
}

FileInspection InspectEpw(const std::string& path) {
  FileInspection out;
  out.path = path;
  out.layout = "epw";
  out.description = "an EPW file";
  EpwHeader header;
  ReadEPWHeader(path, header);
  out.site = header.site;
  out.timeBase = TimeBase::Local;
  // The data rows follow the DATA PERIODS line.
  {
    CsvLineReader reader(path);
    std::string line;
    while (reader.Next(line)) {
      if (ToUpperAscii(line.substr(0, 12)) == "DATA PERIODS") {
        out.firstRow = static_cast<int32_t>(reader.lineNumber()) + 1;
        break;
      }
    }
  }
  if (out.firstRow == 0) {
    out.missing.push_back("DATA PERIODS line");
    return out;
  }
  StampReader stamps(StampForm::FiveFields, {1, 2, 3, 4, 5});
  const RowScan scan = ScanRows(path, out.firstRow, 0, &stamps);
  TakeScan(scan, out);
  const std::vector<std::string> fields = CsvSplitFields(scan.firstRowText, kEpwFieldNames.size());
  for (size_t i = 0; i < kEpwFieldNames.size(); ++i) {
    out.columns.push_back({static_cast<int>(i) + 1, kEpwFieldNames[i], fields[i]});
  }
  for (const auto& [item, column] : kEpwItems) {
    out.fieldMap.push_back({item, column, kEpwFieldNames[static_cast<size_t>(column - 1)]});
  }
  NoteMissingSite(out);
  return out;
}

// A field a data row of a CSV file holds: a number or a date or time.
bool LooksLikeValue(std::string_view field) {
  double v = 0;
  if (ParseReal(field, v)) return true;
  if (SerialHourOfIso8601(field) || SerialHourOfCompactStamp(field)) return true;
  // 01/01/1988, 01:00
  return !field.empty() && field.find_first_not_of("0123456789/:.- ") == std::string_view::npos &&
         field.find_first_of("0123456789") != std::string_view::npos;
}

// A line of two or more filled fields, two thirds of them numbers, dates or times.
bool LooksLikeDataRow(std::string_view line) {
  const std::vector<std::string> fields = CsvSplitFields(line, CsvFieldCount(line));
  int filled = 0, values = 0;
  for (const std::string& f : fields) {
    if (f.find_first_not_of(" \t") == std::string::npos) continue;
    ++filled;
    if (LooksLikeValue(f)) ++values;
  }
  return filled >= 2 && values * 3 >= filled * 2;
}

// A CSV file of no named layout: the first of two data-like lines is its first data row,
// the line above it (when it is no data) its headers; the items every layout's headers
// name, a date from Month, Day and Hour columns or from a one-field date column.
FileInspection InspectCsv(const std::string& path) {
  FileInspection out;
  out.path = path;
  out.layout = "csv";
  out.description = "a CSV file of no known layout";
  const std::vector<std::string> head = ReadCsvHead(path, kHeadLines);
  size_t first = head.size();
  for (size_t i = 0; i < head.size(); ++i) {
    if (LooksLikeDataRow(head[i]) && (i + 1 >= head.size() || LooksLikeDataRow(head[i + 1]))) {
      first = i;
      break;
    }
  }
  if (first == head.size()) {
    out.missing.push_back("data rows");
    return out;
  }
  out.firstRow = static_cast<int32_t>(first) + 1;
  std::vector<CsvHeaderColumn> headers;
  if (first > 0 && !LooksLikeDataRow(head[first - 1]) && !IsBlank(head[first - 1])) {
    out.headerLine = static_cast<int32_t>(first);
    headers = AlignHeaders(head[first - 1], head[first]);
    while (!headers.empty() && headers.back().text.empty()) headers.pop_back();
  } else {
    const size_t count = CsvFieldCount(head[first]);
    for (size_t c = 1; c <= count; ++c) headers.push_back({"", static_cast<int>(c)});
  }

  // The quantities any layout's headers name, the first layout's spelling first.
  std::vector<LayoutColumn> found;
  for (const SourceLayout& layout : SourceLayouts()) {
    for (const LayoutColumn& c : FindLayoutColumns(layout, headers)) {
      const bool known = std::any_of(found.begin(), found.end(),
                                     [&](const LayoutColumn& f) { return f.item == c.item; });
      if (!known) found.push_back(c);
    }
  }
  const auto columnOf = [&](CsvItem item) -> const LayoutColumn* {
    for (const LayoutColumn& c : found) {
      if (c.item == item) return &c;
    }
    return nullptr;
  };

  CsvFieldMap& fieldMap = out.csvFieldMap;
  fieldMap.firstRow = out.firstRow;
  const std::vector<std::string> firstFields =
      CsvSplitFields(head[first], CsvFieldCount(head[first]));
  std::vector<int> stampColumns;
  StampForm stampForm = StampForm::FiveFields;
  const auto headed = [&](std::initializer_list<const char*> names) {
    for (const char* name : names) {
      const std::vector<const CsvHeaderColumn*> h = HeadersNamed(headers, name);
      if (!h.empty()) return h.front()->readerColumn;
    }
    return 0;
  };
  const int month = headed({"Month", "Mo"}), day = headed({"Day", "Dy"}), hour = headed({"Hour", "Hr"});
  int dateColumn = 0;
  for (size_t c = 0; c < firstFields.size() && dateColumn == 0; ++c) {
    if (SerialHourOfIso8601(firstFields[c])) {
      dateColumn = static_cast<int>(c) + 1;
      stampForm = StampForm::Iso;
    } else if (SerialHourOfCompactStamp(firstFields[c])) {
      dateColumn = static_cast<int>(c) + 1;
      stampForm = StampForm::Compact;
    }
  }
  std::vector<int> dateColumns;
  if (month > 0 && day > 0 && hour > 0) {
    fieldMap.dateInd = kDateThreeFields;
    dateColumns = {month, day, hour};
    const int year = headed({"Year", "Yr"});
    if (year > 0) stampColumns = {year, month, day, hour, headed({"Minute", "Min"})};
  } else if (dateColumn > 0) {
    fieldMap.dateInd = kDateOneField;
    dateColumns = {dateColumn};
    stampColumns = {dateColumn};
  } else {
    fieldMap.dateInd = kDateNone;
  }
  const LayoutColumn* dewPoint = columnOf(CsvItem::DewPoint);
  const LayoutColumn* relHum = columnOf(CsvItem::RelHum);
  fieldMap.moistInd = dewPoint != nullptr || relHum == nullptr ? kMoistureDewPoint : kMoistureRelHum;
  fieldMap.solarInd =
      columnOf(CsvItem::SolarDirectNormal) != nullptr ? kSolarGlobalAndDirect : kSolarGlobal;

  // Units where a header states them; the others are for the user to give.
  const auto unit = [&](CsvItem item, const char* flag, uint8_t& code) {
    const LayoutColumn* c = columnOf(item);
    if (c != nullptr && !c->unitText.empty() && c->unit >= 0) {
      code = static_cast<uint8_t>(c->unit);
    } else if (c != nullptr) {
      out.unstatedUnits.push_back(flag);
    }
  };
  unit(CsvItem::DryBulb, "--temp-unit", fieldMap.dbtUnits);
  unit(fieldMap.moistInd == kMoistureRelHum ? CsvItem::RelHum : CsvItem::DewPoint, "--moist-unit",
       fieldMap.moistUnits);
  unit(CsvItem::SolarHorizontal, "--solar-unit", fieldMap.solUnits);
  unit(CsvItem::WindSpeed, "--wind-unit", fieldMap.windUnits);

  const std::vector<CsvSlot> slots = CsvLayout(fieldMap.dateInd, fieldMap.moistInd, fieldMap.solarInd);
  size_t dateItem = 0;
  for (size_t slot = 0; slot < slots.size(); ++slot) {
    const CsvItem item = slots[slot].item;
    int column = 0;
    if (item == CsvItem::Date || item == CsvItem::Month || item == CsvItem::Day || item == CsvItem::Hour) {
      column = dateItem < dateColumns.size() ? dateColumns[dateItem] : 0;
      ++dateItem;
    } else if (const LayoutColumn* c = columnOf(item)) {
      column = c->column;
    }
    if (column > 0) {
      fieldMap.columns[slot] = std::to_string(column);
    } else if (slots[slot].required) {
      out.missing.push_back(slots[slot].name);
    }
  }
  for (const std::string& flag : out.unstatedUnits) out.missing.push_back("unit (" + flag + ")");

  std::optional<StampReader> stamps;
  if (!stampColumns.empty()) stamps.emplace(stampForm, stampColumns);
  const RowScan scan = ScanRows(path, out.firstRow, 0, stamps ? &*stamps : nullptr);
  TakeScan(scan, out);
  out.columns = ColumnsOf(headers, scan.firstRowText);
  out.fieldMap = ItemsOf(fieldMap, out.columns);
  NoteMissingSite(out);
  return out;
}

}  // namespace

FileInspection InspectFile(const std::string& path) {
  if (LooksLikeEpw(path)) return InspectEpw(path);
  if (std::optional<LayoutMatch> match = DetectLayout(path)) return InspectLayout(*match);
  CsvLineReader reader(path);
  std::string line;
  if (!reader.Next(line)) throw InputError(path + " is empty: it holds no line to inspect.");
  return InspectCsv(path);
}

}  // namespace kestrum
