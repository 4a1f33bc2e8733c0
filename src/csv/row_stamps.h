// The date and time a data row is stamped with, as the row writes it, for telling a user
// what a file holds (its first and last stamps, its time step, a leap day): the
// conversion places rows by the field map's date form, not by these.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "csv/source_layouts.h"

namespace kestrum {

struct RowStamp {
  int64_t year = 0;
  int month = 0;   // 1..12
  int day = 0;     // 1..31
  int hour = 0;    // as written: 0..23, or 1..24 where 24:00 ends the day
  int minute = 0;  // 0..59
};

// "2017-01-01 00:30", hour and minute as written.
std::string StampText(const RowStamp& stamp);

// Minutes since 30 December 1899 0:00 (24:00 is the next day's 0:00), for the time between
// two stamps.
int64_t StampMinutes(const RowStamp& stamp);

bool IsLeapDay(const RowStamp& stamp);

// Reads the stamp of a data row from the reader's columns (from 1) of its stamp fields:
// DateAndTime two ("MM/DD/YYYY", "HH:MM"), FiveFields five (year, month, day, hour,
// minute; a missing minute column, 0, reads as minute 0), Compact one ("YYYYMMDD:HHMM"),
// Iso one ("YYYY-MM-DD HH:MM").
class StampReader {
 public:
  StampReader(StampForm form, std::vector<int> columns);

  // Nothing when a field is not of its form or the date is not one of its year.
  std::optional<RowStamp> Read(std::string_view row);

 private:
  StampForm form_;
  std::vector<int> columns_;
  std::vector<int> ascending_;  // the columns given, from the lowest
  std::vector<std::string> fields_;
  std::string quoted_;
};

// The most frequent time between consecutive stamps, in minutes (stamps that go back or
// jump, as the months of a typical year from several years do, count as well, but rarely
// win); 0 with fewer than two stamps.
class StepCounter {
 public:
  void Add(const RowStamp& stamp);
  int StepMinutes() const;

 private:
  std::optional<int64_t> last_;
  std::vector<std::pair<int64_t, int64_t>> counts_;  // minutes between, how often
};

// "hourly", "half-hourly", "15-minute"; empty for 0.
std::string StepWord(int stepMinutes);

}  // namespace kestrum
