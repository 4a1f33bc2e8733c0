#include "format/original_data_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "format/fixed_text.h"
#include "run/calendar.h"
#include "run/run_error.h"

namespace kestrum {

namespace {

// W/m2 with the Windows-1252 superscript two.
constexpr const char* kWattsPerSquareMetre = "w/m\xB2";

std::string HeaderLine2(const char* moistureUnit) {
  const std::string wm2 = kWattsPerSquareMetre;
  return std::string("Month,Day,Hour,F,") + moistureUnit + "," + wm2 + ",mph,degrees," + wm2;
}

void WriteAll(const std::string& path, std::string_view text) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (f == nullptr) throw RunError("Cannot create " + path + ": " + std::strerror(errno));
  const bool written = std::fwrite(text.data(), 1, text.size(), f) == text.size();
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

void WriteHourRowsFile(const std::string& path, const std::vector<std::string>& header,
                       const HourlyTable& table, std::span<const Series> columns) {
  TextSink text(static_cast<size_t>(kHoursPerYear) * (10 + 9 * columns.size()));
  for (const std::string& line : header) {
    text.Text(line);
    text.Text("\r\n");
  }
  // Month by month, day by day, hour by hour: the hours of the year in order.
  for (int month = 1; month <= 12; ++month) {
    for (int day = 1; day <= DaysInMonth[month]; ++day) {
      for (int hour = 1; hour <= 24; ++hour) {
        const int h = (YearDay(month, day) - 1) * 24 + hour;
        try {
          AppendHourRow(text, table, h, columns);
        } catch (const RunError&) {
          throw RunError("Cannot write " + path + ": a value of " + std::to_string(month) + "/" +
                         std::to_string(day) + " hour " + std::to_string(hour) +
                         " is not a finite number");
        }
        text.Text("\r\n");
      }
    }
  }
  WriteAll(path, text.view());
}

void WriteOriginalDataFile(const std::string& path, const HourlyTable& table,
                           OriginalDataSource source, int32_t moistureIndicator,
                           bool directNormalColumn) {
  const std::vector<Series> columns = OriginalDataColumns(source, directNormalColumn);
  WriteHourRowsFile(path, OriginalDataHeader(source, moistureIndicator), table, columns);
}

}  // namespace kestrum
