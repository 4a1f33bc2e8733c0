#include "csv/csv_reader.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <iterator>
#include <optional>
#include <string_view>
#include <vector>

#include "csv/csv_date.h"
#include "csv/csv_lines.h"
#include "format/original_data_file.h"
#include "run/calendar.h"
#include "run/hour_placement.h"
#include "run/run_error.h"
#include "run/text_fields.h"

namespace kestrum {

namespace {

// The moisture item, whichever of the three it is, is looked up under this one.
constexpr CsvItem kMoistureItem = CsvItem::DewPoint;

// A value item: where it goes, what a failed conversion leaves, and its log line.
struct ValueItem {
  CsvItem item;
  Series series;
  float failure;
  const char* logLine;
};

// In the order the items of a row are converted.
constexpr ValueItem kValueItems[] = {
    {CsvItem::DryBulb, DryBulb, kNotSupplied, "CSV Error converting DBT data to value at index = "},
    {kMoistureItem, Moisture, kNotSupplied,
     "CSV Error converting Moisture data to value at index = "},
    {CsvItem::SolarHorizontal, SolarHorizontal, kNotSupplied,
     "CSV Error converting SolarHOr data to value at index = "},
    {CsvItem::WindSpeed, WindSpeed, kNotSupplied,
     "CSV Error converting Wind velocity data to value at index = "},
    {CsvItem::WindDirection, WindDirection, kNotSupplied,
     "CSV Error converting Wind direction data to value at index = "},
    {CsvItem::SolarDirectNormal, SolarDirectNormal, kDirectNormalAbsent,
     "CSV Error converting SolarDN data to value at index = "},
};

bool IsMoistureItem(CsvItem item) {
  return item == CsvItem::DewPoint || item == CsvItem::WetBulb || item == CsvItem::RelHum;
}

// The file column of every item of the field map (0: not assigned), and the fields of a
// row that the reader keeps: those of the assigned columns, nothing beyond the highest.
class KeptFields {
 public:
  explicit KeptFields(const CsvFieldMap& fieldMap) {
    const std::vector<CsvSlot> layout = CsvLayout(fieldMap.dateInd, fieldMap.moistInd, fieldMap.solarInd);
    const std::vector<int> columns = CsvColumnNumbers(fieldMap);
    for (size_t slot = 0; slot < layout.size(); ++slot) {
      const CsvItem item = IsMoistureItem(layout[slot].item) ? kMoistureItem : layout[slot].item;
      columnOf_[static_cast<size_t>(item)] = columns[slot];
      if (columns[slot] > highest_) highest_ = columns[slot];
    }
    fields_.resize(static_cast<size_t>(highest_) + 1);
    for (int column = 1; column <= highest_; ++column) {
      if (std::find(columns.begin(), columns.end(), column) != columns.end()) {
        keptColumns_.push_back(column);
      }
    }
  }

  int ColumnOf(CsvItem item) const { return columnOf_[static_cast<size_t>(item)]; }

  // Splits line with NextField (the delimiter after a closing quote left for the next
  // call, as the preview splits) as far as the highest assigned column, skipping the
  // fields of the columns not kept.
  void Split(std::string_view line) {
    size_t pos = 1;
    int column = 1;  // the column whose field starts at pos
    for (const int kept : keptColumns_) {
      pos = SkipFields(line, pos, static_cast<size_t>(kept - column), AfterQuote::Keep);
      fields_[static_cast<size_t>(kept)].assign(NextFieldView(line, pos, quoted_, AfterQuote::Keep));
      column = kept + 1;
    }
  }

  // The kept field of an item's column; empty for an item without one.
  std::string_view Field(CsvItem item) const {
    return fields_[static_cast<size_t>(ColumnOf(item))];
  }

 private:
  static constexpr size_t kItems = static_cast<size_t>(CsvItem::CloudType) + 1;
  int columnOf_[kItems] = {};
  int highest_ = 0;
  std::vector<std::string> fields_;  // by column; fields_[0] stays empty
  std::vector<int> keptColumns_;     // the assigned columns, ascending
  std::string quoted_;
};

// A value that converts and fits a single-precision slot of the table.
bool ToValue(std::string_view text, float& out) {
  double v = 0.0;
  if (!ParseReal(text, v) || std::fabs(v) > FLT_MAX) return false;
  out = static_cast<float>(v);
  return true;
}

// The fields of a line up to its last one that is not empty (CsvFieldCount of the line
// less the delimiters and blanks at its end).
size_t FilledFieldCount(std::string_view line) {
  const size_t end = line.find_last_not_of(", \t\f");
  return end == std::string_view::npos ? 0 : CsvFieldCount(line.substr(0, end + 1));
}

// A line with nothing but blanks, tabs and form feeds. Such lines after the last data row
// are no rows.
bool IsBlank(std::string_view line) {
  return line.find_first_not_of(" \t\f") == std::string_view::npos;
}

// Without a date form the rows are the hours in order: 8760 of them, or 8784 of a leap
// year whose rows 1417 to 1440 are 29 February.
constexpr int64_t kLeapYearHours = kHoursPerYear + 24;
constexpr int64_t kFirstLeapDayRow = 59 * 24 + 1;
constexpr int64_t kLastLeapDayRow = 60 * 24;

// Whether a line lies past the last data row (lastRow 0: none does).
bool PastLastRow(size_t lineNumber, int32_t lastRow) {
  return lastRow > 0 && static_cast<int64_t>(lineNumber) > lastRow;
}

// The data rows of path from firstRow to lastRow (0: the end), blank lines after the last
// of them not counted.
int64_t CountDataRows(const std::string& path, int32_t firstRow, int32_t lastRow) {
  CsvLineReader lines(path);
  std::string line;
  int64_t rows = 0;
  int64_t blanksAtEnd = 0;
  while (lines.Next(line) && !PastLastRow(lines.lineNumber(), lastRow)) {
    if (static_cast<int64_t>(lines.lineNumber()) < firstRow) continue;
    ++rows;
    blanksAtEnd = IsBlank(line) ? blanksAtEnd + 1 : 0;
  }
  return rows - blanksAtEnd;
}

// The hour of year of month, day and hour, 0 when it lies outside 1..8760 (a month outside
// 1..12, a date past 31 December, 1 January hour 0). Hour 0 is the day before's hour 24;
// a day past its month's end runs on into the next month.
int32_t CheckedHourOfYear(int64_t month, int64_t day, int64_t hour) {
  if (month < 1 || month > 12 || day < 0 || day > 0xFFFF || hour < 0 || hour > 0xFFFF) return 0;
  const int32_t h = HourOfYear(static_cast<uint16_t>(month), static_cast<uint16_t>(day),
                               static_cast<uint16_t>(hour));
  return (h >= 1 && h <= kHoursPerYear) ? h : 0;
}

// The hour a row stamps, before any time shift: 0 outside the year.
struct Stamp {
  int32_t hour = 0;
  bool leapDay = false;
};

// How often a kind of thing happened in the rows, and the line of the first time.
struct Tally {
  int count = 0;
  size_t firstLine = 0;
  void Add(size_t line) {
    if (count++ == 0) firstLine = line;
  }
};

class RowReader {
 public:
  // dataRows: the number of data rows counted beforehand (the date-less form), else 0.
  RowReader(const CsvFieldMap& fieldMap, StageContext& ctx, const std::string& path,
            RowPlacement& placement, int64_t dataRows, std::vector<int16_t>* years)
      : fieldMap_(fieldMap), ctx_(ctx), path_(path), placement_(placement),
        leapYearRows_(dataRows == kLeapYearHours), fields_(fieldMap), years_(years) {
    if (placement.mean()) means_.emplace();
    for (size_t i = 0; i < std::size(kValueItems); ++i) {
      constant_[i] = ConstantOf(fieldMap, kValueItems[i].item) != nullptr;
    }
  }

  // Converts and stores one data row (the dataRow-th, from 1), found at line `line`.
  void Read(std::string_view text, int64_t dataRow, size_t line) {
    line_ = line;
    const size_t fieldCount = CsvFieldCount(text);
    if (dataRow == 1) {
      firstRowFields_ = fieldCount;
      firstRowFilledFields_ = FilledFieldCount(text);
    } else if (fieldCount != firstRowFields_ && FilledFieldCount(text) != firstRowFilledFields_) {
      otherFieldCounts_.Add(line);  // empty fields at the ends of rows shift nothing
    }
    fields_.Split(text);
    const Stamp stamp = StampOf(dataRow);
    if (stamp.leapDay) {
      placement_.LeapDayRow(line);
      return;
    }
    if (stamp.hour == 0) {
      placement_.RowOutsideYear(line);
      return;
    }
    const int32_t h = placement_.Land(stamp.hour, line);
    if (years_ != nullptr && fieldMap_.dateInd == kDateOneField) {
      const std::optional<int64_t> year = YearOfDateField(fields_.Field(CsvItem::Date));
      (*years_)[static_cast<size_t>(h - 1)] =
          year && *year > 0 && *year < 10000 ? static_cast<int16_t>(*year) : 0;
    }
    HourlyTable& table = ctx_.table;
    float values[std::size(kValueItems)] = {};
    bool valid[std::size(kValueItems)] = {};
    for (size_t i = 0; i < std::size(kValueItems); ++i) {
      const ValueItem& v = kValueItems[i];
      if (v.item == CsvItem::SolarDirectNormal && fieldMap_.solarInd != kSolarGlobalAndDirect) continue;
      if (constant_[i]) continue;  // filled once every row is read
      valid[i] = ToValue(fields_.Field(v.item), values[i]);
      if (valid[i]) {
        table.at(v.series, h) = values[i];
      } else {
        ctx_.log.WriteLogLine(v.logLine + std::to_string(h));
        table.at(v.series, h) = v.failure;
        failures_[i].Add(line);
      }
    }
    if (means_) {
      for (size_t i = 0; i < std::size(kValueItems); ++i) {
        const Series s = kValueItems[i].series;
        if (valid[i] && s != WindSpeed && s != WindDirection) means_->Add(s, h, values[i]);
      }
      means_->AddWind(h, valid[kWindSpeedItem], values[kWindSpeedItem], valid[kWindDirectionItem],
                      values[kWindDirectionItem]);
    }
    // Snow and rain: anything but nothing or "0" is a yes. Cloud type: exactly 1 or 3;
    // with means, the last row's, 2 unless it says 1 or 3.
    for (const auto& [item, series] : {std::pair{CsvItem::SnowFlag, SnowFlag},
                                       std::pair{CsvItem::RainFlag, RainFlag}}) {
      if (fields_.ColumnOf(item) == 0) continue;
      const std::string_view f = fields_.Field(item);
      if (!f.empty() && f != "0") table.at(series, h) = 1.0f;
    }
    if (fields_.ColumnOf(CsvItem::CloudType) != 0) {
      const std::string_view f = fields_.Field(CsvItem::CloudType);
      if (means_) table.at(CloudType, h) = 2.0f;
      if (f == "1") table.at(CloudType, h) = 1.0f;
      if (f == "3") table.at(CloudType, h) = 3.0f;
    }
  }

  // The means of the hours that several rows filled, once every row is read.
  void StoreMeans() const {
    if (means_) means_->Store(ctx_.table);
  }

  // One warning for the rows whose fields do not line up with the first data row's, and
  // one per item whose values did not all convert.
  void Report(const std::vector<CsvSlot>& layout) const {
    if (const int rows = otherFieldCounts_.count; rows > 0) {
      ctx_.Warn("     " + std::to_string(rows) +
                (rows == 1 ? " data row splits" : " data rows split") +
                " into another number of fields than the " + std::to_string(firstRowFields_) +
                " of the first data row (first at line " +
                std::to_string(otherFieldCounts_.firstLine) +
                "): a quoted field shifts the columns of such rows, so their values may come "
                "from the wrong columns.");
    }
    for (size_t i = 0; i < std::size(kValueItems); ++i) {
      const Tally& failed = failures_[i];
      if (failed.count == 0) continue;
      const CsvItem item = kValueItems[i].item;
      std::string name;
      for (const CsvSlot& slot : layout) {
        if (slot.item == item || (item == kMoistureItem && IsMoistureItem(slot.item))) name = slot.name;
      }
      ctx_.Warn("     " + std::to_string(failed.count) +
                (failed.count == 1 ? " value of " : " values of ") + name +
                " did not convert (first at line " + std::to_string(failed.firstLine) + "): " +
                (failed.count == 1 ? "it counts as missing." : "they count as missing."));
    }
  }

 private:
  static constexpr size_t kWindSpeedItem = 3;
  static constexpr size_t kWindDirectionItem = 4;
  static_assert(kValueItems[kWindSpeedItem].series == WindSpeed);
  static_assert(kValueItems[kWindDirectionItem].series == WindDirection);

  Stamp StampOf(int64_t dataRow) {
    switch (fieldMap_.dateInd) {
      case kDateOneField: {
        const std::string_view text = fields_.Field(CsvItem::Date);
        const std::optional<DateFieldHour> h =
            HourOfDateField(text, fieldMap_.timeStamps == kStampsBeginning);
        if (!h) Fail(text, std::string("is not a date: a one-field date is ") + kCsvDateForms);
        return {h->hourOfYear, h->leapDay};
      }
      case kDateThreeFields: {
        const int64_t month = Whole(CsvItem::Month, "month");
        const int64_t day = Whole(CsvItem::Day, "day");
        const int64_t hour = Whole(CsvItem::Hour, "hour");
        if (dataRow == 1 && hour == 0) {
          // Hours numbered 0..23: every hour of the file moves up by one.
          hourOffset_ = 1;
          ctx_.ui.EchoLine("  Detected Weather data Hour Format 0 - 23.");
        }
        const int32_t h = CheckedHourOfYear(month, day, hour + hourOffset_);
        return {h, h != 0 && month == 2 && day == 29};
      }
      default:  // no date: the rows are the hours of the year in order
        if (leapYearRows_ && dataRow >= kFirstLeapDayRow) {
          if (dataRow <= kLastLeapDayRow) return {0, true};
          dataRow -= 24;
        }
        return {dataRow <= kHoursPerYear ? static_cast<int32_t>(dataRow) : 0, false};
    }
  }

  int64_t Whole(CsvItem item, const char* what) {
    const std::string_view text = fields_.Field(item);
    int64_t v = 0;
    if (!ParseWholeNumber(text, v)) Fail(text, std::string("is not a whole number (") + what + ")");
    return v;
  }

  [[noreturn]] void Fail(std::string_view text, const std::string& reason) const {
    throw InputError(path_ + ", line " + std::to_string(line_) + ": " + QuoteForMessage(text) +
                     " " + reason);
  }

  const CsvFieldMap& fieldMap_;
  StageContext& ctx_;
  const std::string& path_;
  RowPlacement& placement_;
  const bool leapYearRows_;
  KeptFields fields_;
  std::vector<int16_t>* years_;
  std::optional<HourMeans> means_;
  size_t line_ = 0;
  int64_t hourOffset_ = 0;
  size_t firstRowFields_ = 0;
  size_t firstRowFilledFields_ = 0;
  Tally otherFieldCounts_;
  Tally failures_[std::size(kValueItems)];
  bool constant_[std::size(kValueItems)] = {};
};

// The quantity a constant fills and the unit its value is in, for its warning.
std::string ConstantWarning(const CsvConstant& c, const CsvFieldMap& fieldMap) {
  std::string quantity, unit;
  switch (c.item) {
    case CsvItem::DewPoint:
    case CsvItem::WetBulb:
      quantity = c.item == CsvItem::DewPoint ? "dew point" : "wet bulb";
      unit = fieldMap.moistUnits == 1 ? " deg C" : " deg F";
      break;
    case CsvItem::RelHum:
      quantity = "relative humidity";
      unit = fieldMap.moistUnits == 1 ? " (a fraction)" : " %";
      break;
    case CsvItem::SolarDirectNormal:
      quantity = "direct normal radiation";
      unit = fieldMap.solUnits == 1 ? " Btu/hr-ft2" : " W/m2";
      break;
    case CsvItem::WindSpeed:
      quantity = "wind speed";
      unit = fieldMap.windUnits == 1 ? " knots" : fieldMap.windUnits == 2 ? " m/s" : " mph";
      break;
    default: quantity = "wind direction"; break;
  }
  return "     As asked, " + quantity + " is the constant " + c.text + unit +
         " for every hour: no value of the file is read for it.";
}

Series SeriesOf(CsvItem item) {
  switch (item) {
    case CsvItem::SolarDirectNormal: return SolarDirectNormal;
    case CsvItem::WindSpeed: return WindSpeed;
    case CsvItem::WindDirection: return WindDirection;
    default: return Moisture;
  }
}

}  // namespace

bool ReadCSVData(const std::string& path, const CsvFieldMap& fieldMap, StageContext& ctx,
                 int timeShiftHours, std::vector<int16_t>* years) {
  ctx.ui.SetCaption("Varnell-Kestrum (convert CSV)", "Kestrum: convert CSV");
  CsvColumnNumbers(fieldMap);  // refuses an unusable field map before anything is read
  if (const std::string problem = TimeShiftProblem(timeShiftHours); !problem.empty()) {
    throw RunError(problem);
  }
  ctx.state.moistureIndicator = fieldMap.moistInd;

  // Without a date form a row's hour is its place among the rows: only a whole year of
  // them, or a leap year's, gives every row its hour.
  int64_t countedRows = 0;
  if (fieldMap.dateInd == kDateNone) {
    countedRows = CountDataRows(path, fieldMap.firstRow, fieldMap.lastRow);
    if (countedRows > 0 && countedRows != kHoursPerYear && countedRows != kLeapYearHours) {
      throw InputError(path + " has " + std::to_string(countedRows) +
                       " data rows; without a date form a file must hold 8760 (or 8784 for a "
                       "leap year) rows, one per hour");
    }
  }

  HourlyTable& table = ctx.table;
  for (Series s : {DryBulb, Moisture, SolarHorizontal, WindSpeed, WindDirection}) {
    table.Fill(s, kNotSupplied);
  }

  RowPlacement placement(fieldMap.subhourly, timeShiftHours);
  {
    CsvLineReader lines(path);
    if (years != nullptr) years->assign(static_cast<size_t>(kHoursPerYear), 0);
    RowReader rows(fieldMap, ctx, lines.path(), placement, countedRows, years);
    std::string line;
    bool more = true;
    while (static_cast<int64_t>(lines.lineNumber()) < static_cast<int64_t>(fieldMap.firstRow) - 1 &&
           (more = lines.Next(line))) {
    }
    // Blank lines are rows only when a row follows them.
    std::vector<std::pair<std::string, size_t>> blanks;
    int64_t dataRows = 0;
    while (more && lines.Next(line) && !PastLastRow(lines.lineNumber(), fieldMap.lastRow)) {
      if (IsBlank(line)) {
        blanks.emplace_back(line, lines.lineNumber());
        continue;
      }
      for (const auto& [blank, number] : blanks) rows.Read(blank, ++dataRows, number);
      blanks.clear();
      rows.Read(line, ++dataRows, lines.lineNumber());
    }
    if (dataRows == 0) {
      const size_t count = lines.lineNumber();
      throw InputError(path + " has " + std::to_string(count) + (count == 1 ? " line" : " lines") +
                       ": the first data row, line " + std::to_string(fieldMap.firstRow) +
                       (blanks.empty() ? ", lies beyond its end." : ", and every line after it are blank."));
    }
    rows.StoreMeans();
    placement.Report(ctx);
    rows.Report(CsvLayout(fieldMap.dateInd, fieldMap.moistInd, fieldMap.solarInd));
  }
  for (const CsvConstant& c : fieldMap.constants) {
    table.Fill(SeriesOf(c.item), static_cast<float>(c.value));
    ctx.Warn(ConstantWarning(c, fieldMap));
  }

  const int32_t mi = ctx.state.moistureIndicator;
  table.NormaliseUnits(fieldMap.dbtUnits, fieldMap.moistUnits, fieldMap.solUnits, fieldMap.windUnits, mi);
  WriteOriginalDataFile(ctx.RunFile("-orig.csv"), table, OriginalDataSource::Csv, mi, true);
  ctx.ui.OfferForReview(ctx.state.outputBaseName);
  ctx.ui.EchoLine("  Weather data loaded successfully from CSV file.");
  ctx.ui.Repaint();
  return true;
}

}  // namespace kestrum
