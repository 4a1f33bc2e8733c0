#include "csv/row_stamps.h"

#include <algorithm>
#include <cstdio>

#include "csv/csv_date.h"
#include "run/text_fields.h"

namespace kestrum {

namespace {

// Exactly the digits of text from pos to the next `stop` (or the end) as a number.
bool Digits(std::string_view text, size_t& pos, char stop, int64_t& value) {
  const size_t end = stop == '\0' ? text.size() : text.find(stop, pos);
  if (end == std::string_view::npos || end == pos || end - pos > 9) return false;
  value = 0;
  for (size_t i = pos; i < end; ++i) {
    if (text[i] < '0' || text[i] > '9') return false;
    value = value * 10 + (text[i] - '0');
  }
  pos = end + (stop == '\0' ? 0 : 1);
  return true;
}

std::string_view Trimmed(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

bool Whole(std::string_view text, int64_t& value) { return ParseWholeNumber(text, value); }

}  // namespace

std::string StampText(const RowStamp& s) {
  char text[48];
  std::snprintf(text, sizeof text, "%04lld-%02d-%02d %02d:%02d", static_cast<long long>(s.year),
                s.month, s.day, s.hour, s.minute);
  return text;
}

int64_t StampMinutes(const RowStamp& s) {
  return (SerialDayOf(s.year, s.month, s.day) * 24 + s.hour) * 60 + s.minute;
}

bool IsLeapDay(const RowStamp& s) { return s.month == 2 && s.day == 29; }

StampReader::StampReader(StampForm form, std::vector<int> columns)
    : form_(form), columns_(std::move(columns)) {
  for (const int c : columns_) {
    if (c > 0) ascending_.push_back(c);
  }
  std::sort(ascending_.begin(), ascending_.end());
  ascending_.erase(std::unique(ascending_.begin(), ascending_.end()), ascending_.end());
  fields_.resize(ascending_.empty() ? 1 : static_cast<size_t>(ascending_.back()) + 1);
}

std::optional<RowStamp> StampReader::Read(std::string_view row) {
  // The fields of the stamp columns, split as the reader splits (a quoted field followed
  // by an empty one).
  size_t pos = 1;
  int column = 1;
  for (const int wanted : ascending_) {
    pos = SkipFields(row, pos, static_cast<size_t>(wanted - column), AfterQuote::Keep);
    fields_[static_cast<size_t>(wanted)].assign(NextFieldView(row, pos, quoted_, AfterQuote::Keep));
    column = wanted + 1;
  }
  const auto field = [&](size_t i) -> std::string_view {
    if (i >= columns_.size() || columns_[i] < 1) return {};
    return Trimmed(fields_[static_cast<size_t>(columns_[i])]);
  };
  RowStamp stamp;
  int64_t y = 0, mo = 0, d = 0, h = 0, mi = 0;
  switch (form_) {
    case StampForm::DateAndTime: {
      const std::string_view date = field(0), time = field(1);
      size_t p = 0, q = 0;
      if (!Digits(date, p, '/', mo) || !Digits(date, p, '/', d) || !Digits(date, p, '\0', y) ||
          !Digits(time, q, ':', h) || !Digits(time, q, '\0', mi)) {
        return std::nullopt;
      }
      break;
    }
    case StampForm::FiveFields:
      if (!Whole(field(0), y) || !Whole(field(1), mo) || !Whole(field(2), d) ||
          !Whole(field(3), h)) {
        return std::nullopt;
      }
      if (columns_.size() > 4 && columns_[4] > 0 && !Whole(field(4), mi)) return std::nullopt;
      break;
    case StampForm::Compact: {
      const std::string_view text = field(0);
      if (text.size() != 13 || text[8] != ':') return std::nullopt;
      size_t p = 0;
      std::string_view digits[] = {text.substr(0, 4), text.substr(4, 2), text.substr(6, 2),
                                   text.substr(9, 2), text.substr(11, 2)};
      int64_t* out[] = {&y, &mo, &d, &h, &mi};
      for (size_t i = 0; i < 5; ++i) {
        p = 0;
        if (!Digits(digits[i], p, '\0', *out[i])) return std::nullopt;
      }
      break;
    }
    case StampForm::Iso: {
      const std::string_view text = field(0);
      if (text.size() < 16 || text[4] != '-' || text[7] != '-' || text[13] != ':' ||
          (text[10] != ' ' && text[10] != 'T' && text[10] != 't')) {
        return std::nullopt;
      }
      std::string_view digits[] = {text.substr(0, 4), text.substr(5, 2), text.substr(8, 2),
                                   text.substr(11, 2), text.substr(14, 2)};
      int64_t* out[] = {&y, &mo, &d, &h, &mi};
      for (size_t i = 0; i < 5; ++i) {
        size_t p = 0;
        if (!Digits(digits[i], p, '\0', *out[i])) return std::nullopt;
      }
      break;
    }
  }
  if (!IsDateOf(y, mo, d) || h < 0 || h > 24 || mi < 0 || mi > 59) return std::nullopt;
  stamp.year = y;
  stamp.month = static_cast<int>(mo);
  stamp.day = static_cast<int>(d);
  stamp.hour = static_cast<int>(h);
  stamp.minute = static_cast<int>(mi);
  return stamp;
}

void StepCounter::Add(const RowStamp& stamp) {
  const int64_t minutes = StampMinutes(stamp);
  if (last_) {
    const int64_t between = minutes - *last_;
    auto it = std::find_if(counts_.begin(), counts_.end(),
                           [between](const auto& c) { return c.first == between; });
    if (it != counts_.end()) {
      ++it->second;
    } else if (counts_.size() < 64) {  // a file of wild jumps says nothing more
      counts_.emplace_back(between, 1);
    }
  }
  last_ = minutes;
}

int StepCounter::StepMinutes() const {
  int64_t step = 0, most = 0;
  for (const auto& [between, count] : counts_) {
    if (between > 0 && count > most) {
      step = between;
      most = count;
    }
  }
  return static_cast<int>(step);
}

std::string StepWord(int stepMinutes) {
  if (stepMinutes <= 0) return "";
  if (stepMinutes == 60) return "hourly";
  if (stepMinutes == 30) return "half-hourly";
  if (stepMinutes % 60 == 0) return std::to_string(stepMinutes / 60) + "-hourly";
  return std::to_string(stepMinutes) + "-minute";
}

}  // namespace kestrum
