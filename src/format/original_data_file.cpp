#include "format/original_data_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <string_view>

#include "format/fixed_text.h"
#include "run/calendar.h"
#include "run/run_error.h"
#include "run/side_task.h"

namespace kestrum {

namespace {

// W/m2 with the Windows-1252 superscript two.
constexpr const char* kWattsPerSquareMetre = "w/m\xB2";

std::string HeaderLine2(const char* moistureUnit) {
  const std::string wm2 = kWattsPerSquareMetre;
  return std::string("Month,Day,Hour,F,") + moistureUnit + "," + wm2 + ",mph,degrees," + wm2;
}

// The pieces one after the other into a new file at path.
void WriteAll(const std::string& path, std::initializer_list<std::string_view> pieces) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (f == nullptr) throw RunError("Cannot create " + path + ": " + std::strerror(errno));
  bool written = true;
  for (std::string_view text : pieces) {
    written = written && std::fwrite(text.data(), 1, text.size(), f) == text.size();
  }
  int error = written ? 0 : errno;
  const bool closed = std::fclose(f) == 0;
  if (written && !closed) error = errno;
  if (!written || !closed) throw RunError("Cannot write " + path + ": " + std::strerror(error));
}

}  // namespace

std::vector<std::string> OriginalDataHeader(OriginalDataSource source, int32_t moistureIndicator) {
  const char* moistureName = nullptr;
  if (source == OriginalDataSource::Epw) {
    moistureName = moistureIndicator == kMoistureRelHum ? "RelHum" : "DewPtT";
  } else if (moistureIndicator == kMoistureDewPoint) {
    moistureName = "DewPtT";
  } else if (moistureIndicator == kMoistureWetBulb) {
    moistureName = "WetBulbT";
  } else if (moistureIndicator == kMoistureRelHum) {
    moistureName = "RelHum";
  } else {
    return {};
  }
  std::string line1 = std::string(" , , ,DryBulbT,") + moistureName +
                      ",Sol-GlobHor,WindSpd,WindDir,Sol-DirNorm";
  if (source == OriginalDataSource::Csv) line1 += ",Snow,Rain,CldType";
  return {line1, HeaderLine2(moistureIndicator == kMoistureRelHum ? "%" : "F")};
}

std::vector<Series> OriginalDataColumns(OriginalDataSource source, bool directNormalColumn) {
  std::vector<Series> columns = {DryBulb, Moisture, SolarHorizontal, WindSpeed, WindDirection};
  if (source == OriginalDataSource::Csv || directNormalColumn) columns.push_back(SolarDirectNormal);
  if (source == OriginalDataSource::Csv) {
    columns.insert(columns.end(), {SnowFlag, RainFlag, CloudType});
  }
  return columns;
}

void AppendHourRow(TextSink& out, const HourlyTable& table, int h,
                   std::span<const Series> columns) {
  const CalendarHour when = SplitHourOfYear(h);
  out.Int(when.month, 0);
  out.Char(',');
  out.Int(when.day, 0);
  out.Char(',');
  out.Int(when.hour, 0);
  for (Series s : columns) {
    out.Char(',');
    out.Fixed(table.at(s, h), 8, 2);
  }
}

namespace {

// Appends the rows of hours first..last of the year, each ended with CR LF; a value that
// is not a finite number is an error naming the file and the hour.
void AppendHourRows(TextSink& text, const std::string& path, const HourlyTable& table,
                    std::span<const Series> columns, int first, int last) {
  for (int h = first; h <= last; ++h) {
    try {
      AppendHourRow(text, table, h, columns);
    } catch (const RunError&) {
      const CalendarHour when = SplitHourOfYear(h);
      throw RunError("Cannot write " + path + ": a value of " + std::to_string(when.month) +
                     "/" + std::to_string(when.day) + " hour " + std::to_string(when.hour) +
                     " is not a finite number");
    }
    text.Text("\r\n");
  }
}

}  // namespace

void WriteHourRowsFile(const std::string& path, const std::vector<std::string>& header,
                       const HourlyTable& table, std::span<const Series> columns) {
  // The hours of the year in order, the second half on a second thread into a text of
  // its own; an error in the first half is the one raised, as it comes first.
  const int half = kHoursPerYear / 2;
  const size_t rowBytes = 10 + 9 * columns.size();
  TextSink second(static_cast<size_t>(kHoursPerYear - half) * rowBytes);
  SideTask secondHalf(
      [&] { AppendHourRows(second, path, table, columns, half + 1, kHoursPerYear); });
  TextSink text(static_cast<size_t>(half) * rowBytes + 1024);
  for (const std::string& line : header) {
    text.Text(line);
    text.Text("\r\n");
  }
  AppendHourRows(text, path, table, columns, 1, half);
  secondHalf.Wait();
  WriteAll(path, {text.view(), second.view()});
}

void WriteOriginalDataFile(const std::string& path, const HourlyTable& table,
                           OriginalDataSource source, int32_t moistureIndicator,
                           bool directNormalColumn) {
  const std::vector<Series> columns = OriginalDataColumns(source, directNormalColumn);
  WriteHourRowsFile(path, OriginalDataHeader(source, moistureIndicator), table, columns);
}

}  // namespace kestrum
