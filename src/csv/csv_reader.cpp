#include "csv/csv_reader.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <string_view>
#include <vector>

#include "csv/csv_date.h"
#include "csv/csv_lines.h"
#include "format/original_data_file.h"
#include "run/calendar.h"
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

// The hour of year of month, day and hour, 0 when it lies outside 1..8760 (a month outside
// 1..12, a date past 31 December, 1 January hour 0). Hour 0 is the day before's hour 24;
// a day past its month's end runs on into the next month.
int32_t CheckedHourOfYear(int64_t month, int64_t day, int64_t hour) {
  if (month < 1 || month > 12 || day < 0 || day > 0xFFFF || hour < 0 || hour > 0xFFFF) return 0;
  const int32_t h = HourOfYear(static_cast<uint16_t>(month), static_cast<uint16_t>(day),
                               static_cast<uint16_t>(hour));
  return (h >= 1 && h <= kHoursPerYear) ? h : 0;
}

class RowReader {
 public:
  RowReader(const CsvFieldMap& fieldMap, StageContext& ctx, const CsvLineReader& lines,
            std::vector<int16_t>* years)
      : fieldMap_(fieldMap), ctx_(ctx), lines_(lines), fields_(fieldMap), years_(years) {}

  // Converts and stores one data row (the dataRow-th, from 1).
  void Read(std::string_view line, int64_t dataRow) {
    fields_.Split(line);
    const int32_t h = HourOfRow(dataRow);
    if (h == 0) {
      ++rowsOutsideYear_;
      return;
    }
    if (years_ != nullptr && fieldMap_.dateInd == kDateOneField) {
      const std::optional<int64_t> year = YearOfDateField(fields_.Field(CsvItem::Date));
      (*years_)[static_cast<size_t>(h - 1)] =
          year && *year > 0 && *year < 10000 ? static_cast<int16_t>(*year) : 0;
    }
    HourlyTable& table = ctx_.table;
    for (const ValueItem& v : kValueItems) {
      if (v.item == CsvItem::SolarDirectNormal && fieldMap_.solarInd != kSolarGlobalAndDirect) continue;
      float value = 0.0f;
      if (ToValue(fields_.Field(v.item), value)) {
        table.at(v.series, h) = value;
      } else {
        ctx_.log.WriteLogLine(v.logLine + std::to_string(h));
        table.at(v.series, h) = v.failure;
      }
    }
    // Snow and rain: anything but nothing or "0" is a yes. Cloud type: exactly 1 or 3.
    for (const auto& [item, series] : {std::pair{CsvItem::SnowFlag, SnowFlag},
                                       std::pair{CsvItem::RainFlag, RainFlag}}) {
      if (fields_.ColumnOf(item) == 0) continue;
      const std::string_view f = fields_.Field(item);
      if (!f.empty() && f != "0") table.at(series, h) = 1.0f;
    }
    if (fields_.ColumnOf(CsvItem::CloudType) != 0) {
      const std::string_view f = fields_.Field(CsvItem::CloudType);
      if (f == "1") table.at(CloudType, h) = 1.0f;
      if (f == "3") table.at(CloudType, h) = 3.0f;
    }
  }

  int rowsOutsideYear() const { return rowsOutsideYear_; }

 private:
  int32_t HourOfRow(int64_t dataRow) {
    switch (fieldMap_.dateInd) {
      case kDateOneField: {
        const std::string_view text = fields_.Field(CsvItem::Date);
        const std::optional<int32_t> h = HourOfYearOfDateField(text);
        if (!h) Fail(text, std::string("is not a date: a one-field date is ") + kCsvDateForms);
        return (*h >= 1 && *h <= kHoursPerYear) ? *h : 0;
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
        return CheckedHourOfYear(month, day, hour + hourOffset_);
      }
      default:  // no date: the rows are the hours of the year in order
        return dataRow <= kHoursPerYear ? static_cast<int32_t>(dataRow) : 0;
    }
  }

  int64_t Whole(CsvItem item, const char* what) {
    const std::string_view text = fields_.Field(item);
    int64_t v = 0;
    if (!ParseWholeNumber(text, v)) Fail(text, std::string("is not a whole number (") + what + ")");
    return v;
  }

  [[noreturn]] void Fail(std::string_view text, const std::string& reason) const {
    throw InputError(lines_.path() + ", line " + std::to_string(lines_.lineNumber()) + ": " +
                     QuoteForMessage(text) + " " + reason);
  }

  const CsvFieldMap& fieldMap_;
  StageContext& ctx_;
  const CsvLineReader& lines_;
  KeptFields fields_;
  std::vector<int16_t>* years_;
  int64_t hourOffset_ = 0;
  int rowsOutsideYear_ = 0;
};

void LogSkippedRows(int rows, const RunLog& log) {
  if (rows == 0) return;
  log.WriteLogLine("     " + std::to_string(rows) +
                   (rows == 1 ? " data row outside the 365-day year was skipped."
                              : " data rows outside the 365-day year were skipped."));
}

}  // namespace

bool ReadCSVData(const std::string& path, const CsvFieldMap& fieldMap, StageContext& ctx,
                 std::vector<int16_t>* years) {
  ctx.ui.SetCaption("Varnell-Kestrum (convert CSV)", "Kestrum: convert CSV");
  CsvColumnNumbers(fieldMap);  // refuses an unusable field map before anything is read
  ctx.state.moistureIndicator = fieldMap.moistInd;

  HourlyTable& table = ctx.table;
  for (Series s : {DryBulb, Moisture, SolarHorizontal, WindSpeed, WindDirection}) {
    table.Fill(s, kNotSupplied);
  }

  int rowsOutsideYear = 0;
  {
    CsvLineReader lines(path);
    if (years != nullptr) years->assign(static_cast<size_t>(kHoursPerYear), 0);
    RowReader rows(fieldMap, ctx, lines, years);
    std::string line;
    bool more = true;
    while (static_cast<int64_t>(lines.lineNumber()) < static_cast<int64_t>(fieldMap.firstRow) - 1 &&
           (more = lines.Next(line))) {
    }
    int64_t dataRows = 0;
    while (more && lines.Next(line)) rows.Read(line, ++dataRows);
    if (dataRows == 0) {
      throw InputError(path + " has " + std::to_string(lines.lineNumber()) +
                       (lines.lineNumber() == 1 ? " line" : " lines") +
                       ": the first data row, line " + std::to_string(fieldMap.firstRow) +
                       ", lies beyond its end.");
    }
    rowsOutsideYear = rows.rowsOutsideYear();
  }
  LogSkippedRows(rowsOutsideYear, ctx.log);

  const int32_t mi = ctx.state.moistureIndicator;
  table.NormaliseUnits(fieldMap.dbtUnits, fieldMap.moistUnits, fieldMap.solUnits, fieldMap.windUnits, mi);
  WriteOriginalDataFile(ctx.RunFile("-orig.csv"), table, OriginalDataSource::Csv, mi, true);
  ctx.ui.OfferForReview(ctx.state.outputBaseName);
  ctx.ui.EchoLine("  Weather data loaded successfully from CSV file.");
  ctx.ui.Repaint();
  return true;
}

}  // namespace kestrum
