#include "csv/layout_match.h"

#include <algorithm>
#include <cmath>
#include <map>

#include "csv/csv_lines.h"
#include "csv/layout_site.h"
#include "csv/row_stamps.h"
#include "run/hour_placement.h"
#include "run/hourly_table.h"
#include "run/run_error.h"
#include "run/text_fields.h"

namespace kestrum {

namespace {

// The lines a layout's header line, site and first data rows lie within.
constexpr size_t kHeadLines = 100;

bool LooksLikeEpwLine(std::string_view line) {
  return line.size() > 9 && ToUpperAscii(line.substr(0, 9)) == "LOCATION,";
}

bool IsBlank(std::string_view line) {
  return line.find_first_not_of(" \t\f") == std::string_view::npos;
}

// The first header that names `spelling` (HeadersNamed); unit receives the unit in its
// parentheses when it was named less that, else an empty text.
const CsvHeaderColumn* FindHeader(const std::vector<CsvHeaderColumn>& headers,
                                  std::string_view spelling, std::string* unit = nullptr) {
  const std::vector<const CsvHeaderColumn*> named = HeadersNamed(headers, spelling);
  if (named.empty()) return nullptr;
  if (unit != nullptr) {
    const HeaderUnitSplit split = SplitHeaderUnit(named.front()->text);
    *unit = split.name == HeaderKey(spelling) ? split.unit : std::string();
  }
  return named.front();
}

int LayoutUnit(const LayoutUnits& units, UnitKind kind) {
  switch (kind) {
    case UnitKind::Temperature: return units.temperature;
    case UnitKind::Humidity: return units.humidity;
    case UnitKind::Irradiance: return units.irradiance;
    case UnitKind::Speed: return units.speed;
    default: return 0;
  }
}

const char* NumberWord(int n) {
  static const char* const words[] = {"no", "one", "two", "three", "four", "five"};
  return n >= 0 && n < 6 ? words[n] : nullptr;
}

// The line of the layout's headers in head (0-based), or nothing with why set.
std::optional<size_t> HeaderLineIndex(const std::vector<std::string>& head,
                                      const SourceLayout& layout, std::string& why) {
  if (layout.headerLine > 0) {
    const auto index = static_cast<size_t>(layout.headerLine - 1);
    if (index < head.size()) return index;
    const char* word = NumberWord(layout.headerLine);
    why = std::string("it has fewer than ") +
          (word != nullptr ? word : std::to_string(layout.headerLine).c_str()) +
          " lines (" + (layout.siteForm == SiteForm::StationLine && layout.headerLine == 2
                            ? "a site line and a line of column headers"
                            : "the site's lines and a line of column headers") +
          ").";
    return std::nullopt;
  }
  const std::string wanted = HeaderKey(layout.headerStart);
  std::string quoted;
  for (size_t i = 0; i < head.size(); ++i) {
    size_t pos = 1;
    if (HeaderKey(NextFieldView(head[i], pos, quoted, AfterQuote::Consume)) == wanted) return i;
  }
  why = "no line of its first " + std::to_string(kHeadLines) + " starts with the header \"" +
        layout.headerStart + "\".";
  return std::nullopt;
}

}  // namespace

std::vector<LayoutColumn> FindLayoutColumns(const SourceLayout& layout,
                                            const std::vector<CsvHeaderColumn>& headers,
                                            const std::map<std::string, std::string>& metadata) {
  std::vector<LayoutColumn> columns;
  for (const ItemHeader& spelling : layout.items) {
    const bool known = std::any_of(columns.begin(), columns.end(),
                                   [&](const LayoutColumn& c) { return c.item == spelling.item; });
    if (known) continue;
    std::string unit;
    const CsvHeaderColumn* header = FindHeader(headers, spelling.name, &unit);
    if (header == nullptr) continue;
    LayoutColumn column;
    column.item = spelling.item;
    column.column = header->readerColumn;
    column.header = header->text;
    const UnitKind kind = UnitKindOf(spelling.item);
    if (unit.empty() && layout.unitsFromMetadata) {
      const auto stated = metadata.find(HeaderKey(header->text + " Units"));
      if (stated != metadata.end()) unit = stated->second;
    }
    column.unitText = unit;
    column.unit = unit.empty() ? LayoutUnit(layout.units, kind) : UnitCode(kind, unit);
    columns.push_back(column);
  }
  return columns;
}

namespace {

const LayoutColumn* ColumnOf(const LayoutMatch& match, CsvItem item) {
  for (const LayoutColumn& c : match.columns) {
    if (c.item == item) return &c;
  }
  return nullptr;
}

bool Usable(const LayoutColumn* column) { return column != nullptr && column->unit >= 0; }

// The header a layout's files give an item.
std::string WrittenHeader(const SourceLayout& layout, CsvItem item) {
  for (const ItemHeader& spelling : layout.items) {
    if (spelling.item == item && spelling.written != nullptr) return spelling.written;
  }
  for (const ItemHeader& spelling : layout.items) {
    if (spelling.item == item) return spelling.name;
  }
  return "";
}

// The reader's columns of headers (0 for one the line lacks).
std::vector<int> ColumnsHeaded(const std::vector<CsvHeaderColumn>& headers,
                               const std::vector<const char*>& names) {
  std::vector<int> columns;
  for (const char* name : names) {
    const CsvHeaderColumn* header = FindHeader(headers, name);
    columns.push_back(header != nullptr ? header->readerColumn : 0);
  }
  return columns;
}

// The line of the first blank line after the first data row, less one: the last data row
// of a layout whose notes follow its rows; 0 when no blank line follows them.
int32_t LastRowBeforeBlank(const std::string& path, int32_t firstRow) {
  CsvLineReader reader(path);
  std::string line;
  while (reader.Next(line)) {
    const auto number = static_cast<int32_t>(reader.lineNumber());
    if (number > firstRow && IsBlank(line)) return number - 1;
  }
  return 0;
}

std::optional<LayoutMatch> TryMatch(const std::string& path, const std::vector<std::string>& head,
                                    const SourceLayout& layout, bool requireSignature,
                                    std::string& why) {
  const std::optional<size_t> index = HeaderLineIndex(head, layout, why);
  if (!index) return std::nullopt;
  LayoutMatch match;
  match.layout = &layout;
  match.name = layout.name;
  match.path = path;
  match.headerLine = static_cast<int>(*index) + 1;
  const std::string firstRow = *index + 1 < head.size() ? head[*index + 1] : std::string();
  match.headers = AlignHeaders(head[*index], firstRow);
  while (!match.headers.empty() && match.headers.back().text.empty()) match.headers.pop_back();
  if (requireSignature) {
    for (const char* name : layout.signature) {
      if (FindHeader(match.headers, name) == nullptr) {
        why = "line " + std::to_string(match.headerLine) + " has no column headed \"" + name + "\".";
        return std::nullopt;
      }
    }
  }

  const LayoutSite site = ReadLayoutSite(layout, head, *index);
  if (requireSignature) {
    // The site where the layout states it: a latitude and a longitude.
    double latitude = 0, longitude = 0;
    if (!ParseReal(site.site.latitude, latitude) || !ParseReal(site.site.longitude, longitude)) {
      why = "it states no latitude and longitude where " + std::string(layout.kind) + " does.";
      return std::nullopt;
    }
  }
  match.site = site.site;
  match.siteLine = site.line;
  match.siteProblem = site.problem;
  match.timeBase = site.utcStamps ? TimeBase::Utc : layout.timeBase;
  match.columns = FindLayoutColumns(layout, match.headers, site.metadata);
  const bool anyHeader =
      !match.columns.empty() ||
      std::any_of(layout.signature.begin(), layout.signature.end(),
                  [&](const char* name) { return FindHeader(match.headers, name) != nullptr; });
  if (!anyHeader) {
    why = "line " + std::to_string(match.headerLine) + " heads none of its columns.";
    return std::nullopt;
  }
  match.dateColumns = ColumnsHeaded(match.headers, layout.dateHeaders);
  match.stampColumns = ColumnsHeaded(match.headers, layout.stampHeaders);

  if (match.timeBase == TimeBase::Utc) {
    const std::optional<int> hours = UtcShiftForTimeZone(match.site.timeZone);
    match.timeShiftHours = hours.value_or(0);
    match.timeBaseNote = UtcStampsNote(match.timeShiftHours);
  }
  if (site.timeZoneFromLongitude) {
    match.timeZoneNote = "     The file states no time zone: " + match.site.timeZone +
                         " h, its longitude " + match.site.longitude +
                         " / 15 rounded, is taken for its site.";
  }

  // The time step between the first two data rows.
  StampReader stamps(layout.stampForm, match.stampColumns);
  if (*index + 2 < head.size()) {
    const std::optional<RowStamp> first = stamps.Read(head[*index + 1]);
    const std::optional<RowStamp> second = stamps.Read(head[*index + 2]);
    if (first && second && StampMinutes(*second) > StampMinutes(*first)) {
      match.stepMinutes = static_cast<int>(StampMinutes(*second) - StampMinutes(*first));
    }
  }

  const LayoutColumn* dewPoint = ColumnOf(match, CsvItem::DewPoint);
  const LayoutColumn* relHum = ColumnOf(match, CsvItem::RelHum);
  const int32_t moistInd = Usable(dewPoint) || (!Usable(relHum) && relHum == nullptr)
                               ? kMoistureDewPoint
                               : kMoistureRelHum;
  const int32_t solarInd =
      Usable(ColumnOf(match, CsvItem::SolarDirectNormal)) ? kSolarGlobalAndDirect : kSolarGlobal;
  match.fieldMap = LayoutFieldMap(match, moistInd, solarInd);
  if (layout.endsAtBlankLine) {
    match.fieldMap.lastRow = LastRowBeforeBlank(path, match.fieldMap.firstRow);
  }
  match.missing = MissingItems(match, moistInd, solarInd);

  const std::string step = StepWord(match.stepMinutes);
  match.description = std::string(layout.kind) + " (" + (step.empty() ? "" : step + ", ") +
                      (match.timeBase == TimeBase::Utc ? "UTC" : "local time") + ")";
  return match;
}

}  // namespace

std::optional<LayoutMatch> DetectLayout(const std::string& path) {
  const std::vector<std::string> head = ReadCsvHead(path, kHeadLines);
  if (!head.empty() && LooksLikeEpwLine(head.front())) return std::nullopt;
  for (const SourceLayout& layout : SourceLayouts()) {
    std::string why;
    if (std::optional<LayoutMatch> match = TryMatch(path, head, layout, true, why)) return match;
  }
  return std::nullopt;
}

LayoutMatch MatchLayout(const std::string& path, std::string_view layoutName) {
  const SourceLayout* layout = FindSourceLayout(layoutName);
  if (layout == nullptr) throw RunError("No layout is named \"" + std::string(layoutName) + "\".");
  const std::vector<std::string> head = ReadCsvHead(path, kHeadLines);
  std::string why;
  std::optional<LayoutMatch> match = TryMatch(path, head, *layout, false, why);
  if (!match) throw InputError(path + " is not " + layout->kind + ": " + why);
  return *match;
}

bool LooksLikeEpw(const std::string& path) {
  CsvLineReader reader(path);
  std::string line;
  return reader.Next(line) && LooksLikeEpwLine(line);
}

CsvFieldMap LayoutFieldMap(const LayoutMatch& match, int32_t moistInd, int32_t solarInd) {
  const SourceLayout& layout = *match.layout;
  CsvFieldMap fieldMap;
  fieldMap.firstRow = match.headerLine + 1;
  fieldMap.dateInd = layout.dateInd;
  fieldMap.moistInd = moistInd;
  fieldMap.solarInd = solarInd;
  fieldMap.subhourly = layout.subhourly;
  fieldMap.timeStamps = layout.timeStamps;
  fieldMap.lastRow = match.fieldMap.lastRow;
  const auto unitOf = [&](CsvItem item) {
    const LayoutColumn* column = ColumnOf(match, item);
    const UnitKind kind = UnitKindOf(item);
    return static_cast<uint8_t>(Usable(column) ? column->unit : LayoutUnit(layout.units, kind));
  };
  const CsvItem moisture = moistInd == kMoistureRelHum    ? CsvItem::RelHum
                           : moistInd == kMoistureDewPoint ? CsvItem::DewPoint
                                                               : CsvItem::WetBulb;
  fieldMap.dbtUnits = unitOf(CsvItem::DryBulb);
  fieldMap.moistUnits = unitOf(moisture);
  fieldMap.solUnits = unitOf(CsvItem::SolarHorizontal);
  fieldMap.windUnits = unitOf(CsvItem::WindSpeed);

  const std::vector<CsvSlot> slots = CsvLayout(fieldMap.dateInd, moistInd, solarInd);
  size_t dateItem = 0;
  for (size_t slot = 0; slot < slots.size(); ++slot) {
    const CsvItem item = slots[slot].item;
    int column = 0;
    if (item == CsvItem::Date || item == CsvItem::Month || item == CsvItem::Day ||
        item == CsvItem::Hour) {
      if (dateItem < match.dateColumns.size()) column = match.dateColumns[dateItem];
      ++dateItem;
    } else if (const LayoutColumn* found = ColumnOf(match, item); Usable(found)) {
      column = found->column;
    }
    if (column > 0) fieldMap.columns[slot] = std::to_string(column);
  }
  return fieldMap;
}

std::vector<MissingItem> MissingItems(const LayoutMatch& match, int32_t moistInd,
                                      int32_t solarInd) {
  const SourceLayout& layout = *match.layout;
  std::vector<MissingItem> missing;
  const std::vector<CsvSlot> slots = CsvLayout(layout.dateInd, moistInd, solarInd);
  const LayoutColumn* global = ColumnOf(match, CsvItem::SolarHorizontal);
  size_t dateItem = 0;
  for (const CsvSlot& slot : slots) {
    if (!slot.required) continue;
    MissingItem m{slot.item, slot.name, "", ""};
    if (slot.item == CsvItem::Date || slot.item == CsvItem::Month || slot.item == CsvItem::Day ||
        slot.item == CsvItem::Hour) {
      const size_t i = dateItem++;
      if (i < match.dateColumns.size() && match.dateColumns[i] > 0) continue;
      m.header = i < layout.dateHeaders.size() ? layout.dateHeaders[i] : slot.name;
      missing.push_back(m);
      continue;
    }
    m.header = WrittenHeader(layout, slot.item);
    const LayoutColumn* column = ColumnOf(match, slot.item);
    if (column != nullptr && column->unit < 0) {
      m.header = column->header;
      m.why = "is in " + column->unitText + ", not " + UnitChoices(UnitKindOf(slot.item));
    } else if (column != nullptr && slot.item == CsvItem::SolarDirectNormal && Usable(global) &&
               column->unit != global->unit) {
      m.header = column->header;
      m.why = "is in another unit than the global horizontal radiation's " + global->header;
    } else if (column != nullptr) {
      continue;
    }
    missing.push_back(m);
  }
  return missing;
}

std::string MissingItemsText(const LayoutMatch& match, const std::vector<MissingItem>& missing) {
  std::vector<std::string> absent, unusable;
  for (const MissingItem& m : missing) {
    const std::string named = m.header.empty() ? m.name : "\"" + m.header + "\" (" + m.name + ")";
    if (m.why.empty()) {
      absent.push_back(named);
    } else {
      unusable.push_back("the column " + named + " " + m.why);
    }
  }
  std::string text;
  for (size_t i = 0; i < absent.size(); ++i) {
    text += i == 0 ? "no column is headed " : i + 1 == absent.size() ? " or " : ", ";
    text += absent[i];
  }
  if (!absent.empty()) text += std::string(", which ") + match.layout->kind + " has";
  for (const std::string& u : unusable) text += (text.empty() ? "" : "; ") + u;
  text += "; the columns of line " + std::to_string(match.headerLine) + ":";
  bool first = true;
  for (const CsvHeaderColumn& header : match.headers) {
    const size_t start = header.text.find_first_not_of(" \t");
    if (start == std::string::npos) continue;
    const size_t end = header.text.find_last_not_of(" \t");
    text += std::string(first ? " " : ", ") + "\"" + header.text.substr(start, end - start + 1) + "\"";
    first = false;
  }
  if (first) text += " none";
  return text + ".";
}

std::string UtcStampsNote(int shiftHours) {
  if (shiftHours == 0) return "     The file is stamped in UTC, the time of its site.";
  return std::string("     The file is stamped in UTC: its rows move to the site's time zone, ") +
         (shiftHours < 0 ? "-" : "+") + std::to_string(std::abs(shiftHours)) + " h.";
}

}  // namespace kestrum
