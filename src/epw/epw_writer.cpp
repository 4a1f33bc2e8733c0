#include "epw/epw_writer.h"

#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "epw/epw_row.h"
#include "epw/epw_row_text.h"
#include "epw/text_lines.h"
#include "format/fixed_text.h"
#include "format/ft_file.h"
#include "format/site_parameters.h"
#include "format/solar_position.h"
#include "run/calendar.h"
#include "run/hour_placement.h"
#include "run/regular_file.h"
#include "run/run_error.h"
#include "run/text_fields.h"

namespace kestrum {

namespace {

constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";
constexpr std::array<const char*, 7> kWeekdays = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                                  "Thursday", "Friday", "Saturday"};

// A line of the source and the line end that followed it ("" for a last line without one).
struct SourceLine {
  std::string_view text;
  std::string_view end;
};

// The lines of a text one after the other, split as the reader's line reader splits them:
// LF, CR LF or a lone CR end a line.
class LineCursor {
 public:
  explicit LineCursor(std::string_view text) : p_(text.data()), end_(text.data() + text.size()) {}

  bool Next(SourceLine& line) {
    if (p_ >= end_) return false;
    const auto* lf = static_cast<const char*>(std::memchr(p_, '\n', static_cast<size_t>(end_ - p_)));
    const char* const stop = lf != nullptr ? lf : end_;
    const auto* cr = static_cast<const char*>(std::memchr(p_, '\r', static_cast<size_t>(stop - p_)));
    line.text = std::string_view(p_, static_cast<size_t>((cr != nullptr ? cr : stop) - p_));
    if (cr != nullptr) {
      const size_t endLength = cr + 1 == lf ? 2 : 1;  // CR LF, or a lone CR
      line.end = std::string_view(cr, endLength);
      p_ = cr + endLength;
    } else if (lf != nullptr) {
      line.end = std::string_view(lf, 1);
      p_ = lf + 1;
    } else {
      line.end = {};
      p_ = end_;
    }
    ++number_;
    return true;
  }
  size_t number() const { return number_; }

 private:
  const char* p_;
  const char* end_;
  size_t number_ = 0;
};

// Gathers the text and hands it on in pieces of about 64 kB.
class PieceSink {
 public:
  explicit PieceSink(const EpwPieces& emit) : emit_(emit), out_(kPiece + 4096) {}
  TextSink& out() { return out_; }
  // Hands on what is gathered once it is a piece's worth (call between rows).
  void Flow() {
    if (out_.size() >= kPiece) Flush();
  }
  void Flush() {
    if (!out_.empty()) emit_(out_.view());
    out_.Clear();
  }

 private:
  static constexpr size_t kPiece = size_t{64} << 10;
  const EpwPieces& emit_;
  TextSink out_;
};

bool IsBlank(std::string_view line) {
  return line.find_first_not_of(" \t\f") == std::string_view::npos;
}

// The first field of a header line in upper case (a byte-order mark before it dropped).
std::string Keyword(std::string_view line) {
  if (line.starts_with(kUtf8ByteOrderMark)) line.remove_prefix(kUtf8ByteOrderMark.size());
  size_t pos = 1;
  std::string quoted;
  return ToUpperAscii(NextFieldView(line, pos, quoted, AfterQuote::Consume));
}

// What follows the keyword's comma, without blanks at either end.
std::string_view AfterKeyword(std::string_view line) {
  const size_t comma = line.find(',');
  if (comma == std::string_view::npos) return {};
  std::string_view rest = line.substr(comma + 1);
  while (!rest.empty() && (rest.front() == ' ' || rest.front() == '\t')) rest.remove_prefix(1);
  while (!rest.empty() && (rest.back() == ' ' || rest.back() == '\t')) rest.remove_suffix(1);
  return rest;
}

// The fields of a header line after its keyword, as NextField splits them.
std::vector<std::string> HeaderFields(std::string_view line) {
  std::vector<std::string> fields;
  size_t pos = 1;
  std::string quoted;
  NextFieldView(line, pos, quoted, AfterQuote::Consume);
  while (pos <= line.size()) {
    fields.emplace_back(NextFieldView(line, pos, quoted, AfterQuote::Consume));
  }
  return fields;
}

std::string WithoutBlanks(std::string_view text) {
  std::string out;
  for (char c : text) {
    if (c != ' ') out += c;
  }
  return out;
}

// The moisture quantity the run's table holds, by its EPW or CSV meaning.
const char* MoistureName(int32_t moistureIndicator, bool epwSource) {
  if (moistureIndicator == kMoistureRelHum) return "relative humidity";
  if (epwSource || moistureIndicator == kMoistureDewPoint) return "dew point";
  return "wet bulb";
}

// "Repaired by Kestrum: dry bulb 24 h; dew point 24 h; ...": commas would split the field.
std::string RepairText(const EpwYearInputs& in, bool epwSource, int madeRows) {
  static constexpr std::array<const char*, kCleanedSeries> kNames = {
      "dry bulb", nullptr, "global horizontal", "wind speed", "wind direction"};
  std::string text = "Repaired by Kestrum: ";
  for (int s = 0; s < kCleanedSeries; ++s) {
    int hours = 0;
    for (int h = 1; h <= kHoursPerYear; ++h) {
      hours += in.repairs.MethodAt(static_cast<Series>(s), h) != RepairMethod::None ? 1 : 0;
    }
    const char* name = s == 1 ? MoistureName(in.moistureIndicator, epwSource) : kNames[static_cast<size_t>(s)];
    text += std::string(name) + " " + std::to_string(hours) + " h; ";
  }
  int estimated = 0;
  for (int h = 1; h <= kHoursPerYear; ++h) {
    estimated += in.converted.at(SolarDirectNormal, h) == kDirectNormalAbsent ? 1 : 0;
  }
  text += "direct normal estimated for " + std::to_string(estimated) +
          " h; a 365-day year (29 February left out)";
  if (madeRows > 0) {
    text += "; " + std::to_string(madeRows) +
            " h without a source row written from the converted values";
  }
  return text;
}

// Day of the week of 1 January of year (0 Sunday), proleptic Gregorian calendar.
int WeekdayOfNewYear(int64_t year) {
  const int64_t y = year - 1;
  const int64_t days = y * 365 + y / 4 - y / 100 + y / 400;  // days before 1 January of year
  // 1 January of year 1 was a Monday.
  return static_cast<int>(((days % 7) + 7 + 1) % 7);
}

// A number with at most maxDecimals decimals, trailing zeros dropped down to minDecimals.
std::string CompactNumber(double v, int maxDecimals, int minDecimals) {
  std::string text = FormatFixed(v, 0, maxDecimals);
  const size_t point = text.find('.');
  if (point == std::string::npos) return text;
  size_t keep = text.size();
  while (keep > point + 1 + static_cast<size_t>(minDecimals) && text[keep - 1] == '0') --keep;
  if (keep == point + 1) --keep;
  return text.substr(0, keep);
}

// The values an hour is written with when the whole row is made: the converted table and
// the formatter's air and direct normal, in EPW units. The dew point never lies above the
// dry bulb as written, so that converting the file again finds nothing to repair.
class MadeRows {
 public:
  explicit MadeRows(const EpwYearInputs& in) : in_(in), site_(ReadSiteParameters(in.site)) {}

  EpwRowValues At(int h) {
    const auto i = static_cast<size_t>(h - 1);
    const CalendarHour ch = SplitHourOfYear(h);
    EpwRowValues v;
    v.month = ch.month;
    v.day = ch.day;
    v.hour = ch.hour;
    v.dryBulbC = EpwCelsius(in_.converted.at(DryBulb, h));
    v.dewPointC = DewPointAtMost(EpwCelsius(in_.formatted.dewPointF[i]), AsWritten(v.dryBulbC));
    v.relHumPct = std::clamp(in_.formatted.relHumPct[i], 0.0, 100.0);
    v.pressurePa = in_.formatted.pressureKPa[i] * 1000.0;
    v.globalWh = in_.converted.at(SolarHorizontal, h);
    v.directNormalWh = in_.formatted.directNormalWm2[i];
    v.diffuseWh = DiffuseFromGlobal(v.globalWh, v.directNormalWh, CosZenith(ch));
    v.windDirectionDeg = in_.converted.at(WindDirection, h);
    v.windSpeedMs = EpwMetresPerSecond(in_.converted.at(WindSpeed, h));
    return v;
  }

  // A dew point (deg C) that, written with one decimal, is not above the dry bulb as
  // written (dryBulbC holds the written value).
  // (The tolerance takes in the single-precision table: a kept dry bulb comes back from
  // deg F within a few millionths.)
  static double DewPointAtMost(double dewPointC, double dryBulbC) {
    const double written = static_cast<double>(RoundHalfAway(dewPointC * 10.0)) / 10.0;
    if (written <= dryBulbC + 1e-4) return dewPointC;
    return std::floor(dryBulbC * 10.0 + 1e-4) / 10.0;
  }

  // A value as it reads back once written with one decimal.
  static double AsWritten(double v) { return static_cast<double>(RoundHalfAway(v * 10.0)) / 10.0; }

  const SiteParameters& site() const { return site_; }

 private:
  double CosZenith(const CalendarHour& ch) {
    const int day = YearDay(ch.month, ch.day);
    if (day != sunDay_) {
      sun_ = SolarDayAt(day, site_.latitude);
      sunDay_ = day;
    }
    return HourlyCosZenith(sun_, ch.hour, site_.longitudeWest, site_.timeZone);
  }

  const EpwYearInputs& in_;
  SiteParameters site_;
  SolarDay sun_;
  int sunDay_ = 0;
};

// The date of a data row: its month, day and hour fields (1-based fields 2, 3, 4).
struct RowDate {
  int64_t month = 0, day = 0, hour = 0;
};

bool ParseRowDate(std::string_view line, RowDate& date) {
  size_t pos = 1;
  std::string quoted;
  NextFieldView(line, pos, quoted, AfterQuote::Consume);  // the year
  for (int64_t* v : {&date.month, &date.day, &date.hour}) {
    if (!ParseWholeNumber(NextFieldView(line, pos, quoted, AfterQuote::Consume), *v)) return false;
  }
  return true;
}

// The hour of the 365-day year a row's date lands on, as the reader maps it.
int32_t HourOfRowDate(const RowDate& date) {
  EpwRow row;
  row.month = date.month;
  row.day = date.day;
  row.hour = date.hour;
  return EpwHourIndex(row);
}

// The fields of a source row that the conversion changed, with their new values. The row
// that landed on an hour is the one whose values the table holds as read, so a value the
// cleaning pass left alone is the row's own.
class RowEditor {
 public:
  RowEditor(const EpwYearInputs& in, const EpwOptions& options) : in_(in), options_(options) {}

  // moved: the row landed on another hour than its date's. averaged: the hour holds the mean
  // of several rows, so none of the row's own values is the hour's.
  EpwFieldEdits EditsFor(int h, bool moved, bool averaged) const {
    EpwFieldEdits edits;
    const auto i = static_cast<size_t>(h - 1);
    const HourlyTable& t = in_.converted;
    const HourlyTable& read = in_.asRead;
    const auto changed = [&](Series s) { return averaged || t.at(s, h) != read.at(s, h); };
    const float dryBulb = t.at(DryBulb, h);
    const float moisture = t.at(Moisture, h);
    const bool dryBulbChanged = changed(DryBulb);
    const bool moistureChanged = changed(Moisture);
    // The dry bulb as the row will give it: the kept text's, or the new value's.
    const double dryBulbC = dryBulbChanged ? MadeRows::AsWritten(EpwCelsius(dryBulb))
                                           : EpwCelsius(read.at(DryBulb, h));
    if (dryBulbChanged) edits.SetNumber(kEpwDryBulb, EpwCelsius(dryBulb), 1);
    if (options_.useRelHum) {
      if (moistureChanged) edits.SetNumber(kEpwRelHum, moisture, 0);
      if (dryBulbChanged || moistureChanged) {
        edits.SetNumber(kEpwDewPoint,
                        MadeRows::DewPointAtMost(EpwCelsius(in_.formatted.dewPointF[i]), dryBulbC), 1);
      }
    } else {
      if (moistureChanged) {
        edits.SetNumber(kEpwDewPoint, MadeRows::DewPointAtMost(EpwCelsius(moisture), dryBulbC), 1);
      }
      if (dryBulbChanged || moistureChanged) {
        edits.SetNumber(kEpwRelHum, std::clamp(in_.formatted.relHumPct[i], 0.0, 100.0), 0);
      }
    }
    if (changed(SolarHorizontal)) edits.SetNumber(kEpwGlobal, t.at(SolarHorizontal, h), 0);
    const float directNormal = t.at(SolarDirectNormal, h);
    if (options_.calcDirectNormal || directNormal == kDirectNormalAbsent) {
      edits.SetNumber(kEpwDirectNormal, in_.formatted.directNormalWm2[i], 0);
    } else if (changed(SolarDirectNormal)) {
      edits.SetNumber(kEpwDirectNormal, directNormal, 0);
    }
    if (changed(WindDirection)) edits.SetNumber(kEpwWindDirection, t.at(WindDirection, h), 0);
    if (changed(WindSpeed)) edits.SetNumber(kEpwWindSpeed, EpwMetresPerSecond(t.at(WindSpeed, h)), 1);
    if (moved) {
      const CalendarHour ch = SplitHourOfYear(h);
      edits.SetWhole(kEpwMonth, ch.month);
      edits.SetWhole(kEpwDay, ch.day);
      edits.SetWhole(kEpwHour, ch.hour);
    }
    return edits;
  }

 private:
  const EpwYearInputs& in_;
  const EpwOptions& options_;
};

// Field `field` (from 1) of a row, as the scanner gives it.
std::string_view RowField(std::string_view row, int field) {
  const EpwFieldSpans spans = SplitEpwFieldSpans(row);
  if (field > spans.count) return {};
  const auto f = static_cast<size_t>(field);
  std::string_view text = row.substr(spans.begin[f], spans.end[f] - spans.begin[f]);
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  return text;
}

void AppendLine(TextSink& out, std::string_view text, std::string_view end) {
  out.Text(text);
  out.Text(end);
}

}  // namespace

void RepairedEpwFromEpw(std::string_view source, const std::string& sourceName,
                        const EpwYearInputs& in, const EpwOptions& options, int timeShiftHours,
                        const EpwPieces& emit) {
  // The header, up to its DATA PERIODS line.
  LineCursor cursor(source);
  std::vector<SourceLine> header;
  SourceLine line;
  bool dataPeriods = false;
  while (!dataPeriods && cursor.Next(line)) {
    header.push_back(line);
    dataPeriods = Keyword(line.text) == "DATA PERIODS";
  }
  if (!dataPeriods) {
    throw InputError(sourceName + " is not an EPW file: it has no DATA PERIODS line.");
  }
  const std::string_view lineEnd = !header.front().end.empty() ? header.front().end : "\r\n";

  // Which row landed on each hour: the last one, as the reader stores them.
  struct Landed {
    uint32_t start = 0;  // of the row in source
    uint32_t length = 0;
    uint8_t endLength = 0;
    bool present = false;
    bool moved = false;  // its date is not the hour's: month, day and hour are rewritten
    uint16_t rows = 0;   // the rows that landed on the hour
  };
  std::vector<Landed> landed(static_cast<size_t>(kHoursPerYear));
  RowDate date;
  while (cursor.Next(line)) {
    if (IsBlank(line.text)) continue;
    if (!ParseRowDate(line.text, date)) {
      throw InputError(sourceName + ", line " + std::to_string(cursor.number()) +
                       ": the month, day or hour is not a whole number (the file changed after "
                       "it was read)");
    }
    // As the reader places rows: 29 February left out, then the time shift around the year.
    if (date.month == 2 && date.day == 29) continue;
    const int32_t stamped = HourOfRowDate(date);
    if (stamped == 0) continue;
    const int32_t h = timeShiftHours == 0 ? stamped : ShiftedHour(stamped, timeShiftHours);
    const CalendarHour ch = SplitHourOfYear(h);
    Landed& slot = landed[static_cast<size_t>(h - 1)];
    const uint16_t rows = slot.rows < UINT16_MAX ? static_cast<uint16_t>(slot.rows + 1) : slot.rows;
    slot = {static_cast<uint32_t>(line.text.data() - source.data()),
            static_cast<uint32_t>(line.text.size()), static_cast<uint8_t>(line.end.size()), true,
            date.month != ch.month || date.day != ch.day || date.hour != ch.hour, rows};
  }
  int madeRows = 0;
  for (const Landed& l : landed) madeRows += l.present ? 0 : 1;
  const auto rowText = [&](const Landed& l) { return source.substr(l.start, l.length); };

  PieceSink sink(emit);
  TextSink& out = sink.out();
  bool holidays = false;
  bool comments2 = false;
  const std::string repairs = RepairText(in, true, madeRows);
  for (size_t i = 0; i + 1 < header.size(); ++i) {
    const SourceLine& h = header[i];
    const std::string keyword = Keyword(h.text);
    if (keyword == "HOLIDAYS/DAYLIGHT SAVINGS" && !holidays) {
      holidays = true;
      std::vector<std::string> fields = HeaderFields(h.text);
      if (!fields.empty() && fields[0] == "No") {
        AppendLine(out, h.text, h.end);
        continue;
      }
      if (fields.empty()) fields.emplace_back();
      fields[0] = "No";
      out.Text("HOLIDAYS/DAYLIGHT SAVINGS");
      for (const std::string& f : fields) {
        out.Char(',');
        out.Text(f);
      }
      out.Text(h.end);
    } else if (keyword == "COMMENTS 2" && !comments2) {
      comments2 = true;
      // The source's own comment stays in front of the repairs.
      if (AfterKeyword(h.text).empty()) {
        out.Text("COMMENTS 2,");
      } else {
        std::string_view own = h.text;
        while (own.back() == ' ' || own.back() == '\t') own.remove_suffix(1);
        out.Text(own);
        out.Text(" -- ");
      }
      out.Text(repairs);
      out.Text(h.end);
    } else {
      AppendLine(out, h.text, h.end);
    }
  }
  if (!holidays) AppendLine(out, "HOLIDAYS/DAYLIGHT SAVINGS,No,0,0,0", lineEnd);
  if (!comments2) AppendLine(out, "COMMENTS 2," + repairs, lineEnd);

  // One period of one row per hour, 1/1 to 12/31, under the source's name and weekday.
  const SourceLine& periods = header.back();
  const std::vector<std::string> p = HeaderFields(periods.text);
  const auto at = [&p](size_t k) { return k < p.size() ? p[k] : std::string(); };
  if (p.size() >= 6 && at(0) == "1" && at(1) == "1" && WithoutBlanks(at(4)) == "1/1" &&
      WithoutBlanks(at(5)) == "12/31") {
    AppendLine(out, periods.text, periods.end.empty() ? lineEnd : periods.end);
  } else {
    const std::string name = at(2).empty() ? "Data" : at(2);
    const std::string weekday = at(3).empty() ? "Sunday" : at(3);
    AppendLine(out, "DATA PERIODS,1,1," + name + "," + weekday + ", 1/ 1,12/31", lineEnd);
  }

  // The rows, in the order of the hours. A made row takes the year and minute of the
  // source row written before it (or of the first one, at the start of the year).
  const RowEditor editor(in, options);
  MadeRows made(in);
  const Landed* neighbour = nullptr;
  for (const Landed& l : landed) {
    if (l.present) {
      neighbour = &l;
      break;
    }
  }
  for (int h = 1; h <= kHoursPerYear; ++h) {
    const Landed& l = landed[static_cast<size_t>(h - 1)];
    if (!l.present) {
      EpwRowValues v = made.At(h);
      if (neighbour != nullptr) {
        v.year = RowField(rowText(*neighbour), 1);
        v.minute = RowField(rowText(*neighbour), 5);
      }
      AppendEpwRow(out, v);
      out.Text(lineEnd);
    } else {
      const std::string_view text = rowText(l);
      const EpwFieldEdits edits =
          editor.EditsFor(h, l.moved, options.subhourly == kSubhourlyMean && l.rows > 1);
      if (edits.empty()) {
        out.Text(text);
      } else {
        edits.Apply(out, text);
      }
      out.Text(l.endLength == 0 ? lineEnd : source.substr(l.start + l.length, l.endLength));
      neighbour = &l;
    }
    sink.Flow();
  }
  sink.Flush();
}

std::string RepairedEpwFromEpw(std::string_view source, const std::string& sourceName,
                               const EpwYearInputs& in, const EpwOptions& options,
                               int timeShiftHours) {
  std::string text;
  text.reserve(source.size() + 4096);
  RepairedEpwFromEpw(source, sourceName, in, options, timeShiftHours,
                     [&text](std::string_view piece) { text += piece; });
  return text;
}

void RepairedEpwFromEpwFile(const std::string& path, const EpwYearInputs& in,
                            const EpwOptions& options, int timeShiftHours, const EpwPieces& emit) {
  // Mapped rather than read: the file is in the page cache since the reader read it.
  const int fd = OpenRegularFile(path);
  struct stat st {};
  if (::fstat(fd, &st) != 0) {
    const int error = errno;
    ::close(fd);
    throw InputError("Cannot read " + path + " again: " + ErrorText(error) + ".");
  }
  const auto size = static_cast<size_t>(st.st_size);
  void* mapped = size > 0 ? ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0) : nullptr;
  const int mapError = errno;
  ::close(fd);
  if (mapped == MAP_FAILED) {
    throw InputError("Cannot read " + path + " again: " + ErrorText(mapError) + ".");
  }
  struct Unmap {
    void* at;
    size_t size;
    ~Unmap() {
      if (at != nullptr) ::munmap(at, size);
    }
  } unmap{mapped, size};
  ::madvise(mapped, size, MADV_SEQUENTIAL);
  RepairedEpwFromEpw(std::string_view(static_cast<const char*>(mapped), size), path, in, options,
                     timeShiftHours, emit);
}

void RepairedEpwFromCsv(const EpwYearInputs& in, const CsvEpwSource& csv, const EpwPieces& emit) {
  MadeRows made(in);
  const SiteParameters& site = made.site();

  // The year of each hour: the row's own, else the one before (or after, at the start).
  std::vector<int> years(static_cast<size_t>(kHoursPerYear), 0);
  int known = 0;
  for (size_t i = 0; i < csv.years.size() && i < years.size(); ++i) {
    if (csv.years[i] > 0 && known == 0) known = csv.years[i];
  }
  const bool yearGiven = known != 0;
  if (!yearGiven) known = kEpwFallbackYear;
  for (size_t i = 0; i < years.size(); ++i) {
    if (i < csv.years.size() && csv.years[i] > 0) known = csv.years[i];
    years[i] = known;
  }

  // LOCATION: the description's parts as city, state and country (commas would add fields).
  std::vector<std::string> parts;
  {
    std::string_view d = in.site.description;
    for (size_t start = 0;;) {
      const size_t comma = d.find(',', start);
      std::string part(d.substr(start, comma == std::string_view::npos ? std::string_view::npos
                                                                        : comma - start));
      while (!part.empty() && part.front() == ' ') part.erase(0, 1);
      while (!part.empty() && part.back() == ' ') part.pop_back();
      if (parts.size() < 3) {
        parts.push_back(part);
      } else {
        parts.back() += " " + part;
      }
      if (comma == std::string_view::npos) break;
      start = comma + 1;
    }
    parts.resize(3);
  }
  double elevationM = site.elevationFt * 0.3048;
  ParseReal(in.site.elevation, elevationM);

  std::string fileName = csv.fileName;
  std::replace(fileName.begin(), fileName.end(), ',', ';');
  const std::string lineEnd = "\r\n";
  PieceSink sink(emit);
  TextSink& out = sink.out();
  const auto line = [&](const std::string& text) {
    out.Text(text);
    out.Text(lineEnd);
  };
  line("LOCATION," + parts[0] + "," + parts[1] + "," + parts[2] + ",CSV,-," +
       CompactNumber(site.latitude, 4, 2) + "," + CompactNumber(site.longitude, 4, 2) + "," +
       CompactNumber(site.timeZone, 2, 1) + "," + CompactNumber(elevationM, 1, 1));
  line("DESIGN CONDITIONS,0");
  line("TYPICAL/EXTREME PERIODS,0");
  // The FT header's ground temperatures come from an annual wave damped at a depth of
  // 10 ft (3.05 m) in soil of diffusivity 0.025 ft2/h (6.45E-7 m2/s): a conductivity of
  // 1.3 W/m-K, a density of 1500 kg/m3 and a specific heat of 1343 J/kg-K give it.
  std::string ground = "GROUND TEMPERATURES,1,3.05,1.30,1500.0,1343.3";
  for (double rankine : GroundTemperatures(in.converted.series(DryBulb), site.latitude)) {
    ground += "," + FormatFixed(EpwCelsius(rankine - 459.67), 0, 2);
  }
  line(ground);
  line("HOLIDAYS/DAYLIGHT SAVINGS,No,0,0,0");
  std::string comment1 = "COMMENTS 1,Made by Kestrum from the CSV file " + fileName +
                         " -- ground temperatures at 3.05 m from the annual dry-bulb wave "
                         "(soil conductivity 1.30 W/m-K; density 1500 kg/m3; specific heat "
                         "1343 J/kg-K)";
  if (!yearGiven) {
    comment1 += "; the file gives no year: the rows are dated " + std::to_string(kEpwFallbackYear);
  }
  line(comment1);
  line("COMMENTS 2," + RepairText(in, false, 0));
  line(std::string("DATA PERIODS,1,1,Data,") + kWeekdays[static_cast<size_t>(WeekdayOfNewYear(years[0]))] +
       ", 1/ 1,12/31");

  const bool weather = csv.snowGiven || csv.rainGiven;
  std::string yearText;
  int yearOfText = 0;
  for (int h = 1; h <= kHoursPerYear; ++h) {
    EpwRowValues v = made.At(h);
    const int year = years[static_cast<size_t>(h - 1)];
    if (year != yearOfText) {
      yearText = std::to_string(year);
      yearOfText = year;
    }
    v.year = yearText;
    if (weather) {
      // Present weather observed: the second digit is rain (0 light rain, 9 none), the
      // fourth snow (0 light snow, 9 none).
      v.presentWeatherObserved = "0";
      if (csv.rainGiven && in.converted.at(RainFlag, h) >= 0.5f) v.presentWeatherCodes[1] = '0';
      if (csv.snowGiven && in.converted.at(SnowFlag, h) >= 0.5f) v.presentWeatherCodes[3] = '0';
    }
    AppendEpwRow(out, v);
    out.Text(lineEnd);
    sink.Flow();
  }
  sink.Flush();
}

std::string RepairedEpwFromCsv(const EpwYearInputs& in, const CsvEpwSource& csv) {
  std::string text;
  text.reserve(size_t{8760} * 200 + 4096);
  RepairedEpwFromCsv(in, csv, [&text](std::string_view piece) { text += piece; });
  return text;
}


}  // namespace kestrum
