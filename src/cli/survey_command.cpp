// kestrum-cli inspect: what a weather file is and how it would convert, before anything is
// written, as text for a person or as JSON with stable keys.
#include <cstdio>
#include <exception>
#include <filesystem>
#include <nlohmann/json.hpp>

#include "cli/commands.h"
#include "csv/file_survey.h"
#include "run/text_fields.h"

namespace kestrum::cli {

namespace {

using nlohmann::json;

// A word of a shell command line, quoted when it holds anything but plain characters.
std::string ShellWord(const std::string& word) {
  const bool plain = !word.empty() && word.find_first_not_of(
                                          "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"
                                          "0123456789_./,:=+-@%") == std::string::npos;
  if (plain) return word;
  std::string quoted = "'";
  for (const char c : word) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

const char* Code(const char* const* names, size_t count, int code) {
  return code >= 0 && static_cast<size_t>(code) < count ? names[code] : "?";
}

std::string Placeholder(const std::string& text, const char* placeholder) {
  return text.find_first_not_of(" \t") == std::string::npos ? placeholder : text;
}

// The convert command that converts the file as inspected, every flag spelled out.
std::string ConvertCommandLine(const FileInspection& f) {
  std::vector<std::string> words = {"kestrum-cli", "convert", f.path};
  if (f.layout == "epw") {
    if (ToUpperAscii(std::filesystem::path(f.path).extension().string()) == ".CSV") {
      words.insert(words.end(), {"--format", "epw"});
    }
  } else {
    const CsvFieldMap& m = f.csvFieldMap;
    if (ToUpperAscii(std::filesystem::path(f.path).extension().string()) != ".CSV") {
      words.insert(words.end(), {"--format", "csv"});
    }
    static const char* const kDateForms[] = {"serial", "mdh", "none"};
    static const char* const kMoistures[] = {"dew-point", "wet-bulb", "rel-hum"};
    static const char* const kSolars[] = {"global", "global+dn"};
    static const char* const kTemps[] = {"F", "C"};
    static const char* const kHumidities[] = {"percent", "fraction"};
    static const char* const kSolarUnits[] = {"W/m2", "Btu"};
    static const char* const kWinds[] = {"mph", "knots", "m/s"};
    const auto unit = [&](const char* flag, const char* const* names, size_t count, int code) {
      const bool unstated = std::find(f.unstatedUnits.begin(), f.unstatedUnits.end(), flag) !=
                            f.unstatedUnits.end();
      std::string choices;
      for (size_t i = 0; i < count; ++i) choices += (i == 0 ? "" : "|") + std::string(names[i]);
      words.insert(words.end(), {flag, unstated ? choices : Code(names, count, code)});
    };
    words.insert(words.end(), {"--first-row", std::to_string(m.firstRow)});
    if (m.lastRow > 0) words.insert(words.end(), {"--last-row", std::to_string(m.lastRow)});
    words.insert(words.end(), {"--date-form", Code(kDateForms, 3, m.dateInd)});
    words.insert(words.end(), {"--moisture", Code(kMoistures, 3, m.moistInd)});
    words.insert(words.end(), {"--solar", Code(kSolars, 2, m.solarInd)});
    unit("--temp-unit", kTemps, 2, m.dbtUnits);
    if (m.moistInd == 2) {
      unit("--moist-unit", kHumidities, 2, m.moistUnits);
    } else {
      unit("--moist-unit", kTemps, 2, m.moistUnits);
    }
    unit("--solar-unit", kSolarUnits, 2, m.solUnits);
    unit("--wind-unit", kWinds, 3, m.windUnits);
    std::string columns;
    const size_t slots = CsvLayout(m.dateInd, m.moistInd, m.solarInd).size();
    size_t used = 0;
    for (size_t i = 0; i < slots; ++i) {
      if (!m.columns[i].empty()) used = i + 1;
    }
    for (size_t i = 0; i < std::max<size_t>(used, 1); ++i) columns += (i == 0 ? "" : ",") + m.columns[i];
    words.insert(words.end(), {"--columns", columns});
    // An item the file lacks may be given one value for every hour: a place to fill in.
    for (const std::string& missing : f.missing) {
      for (const char* item : {"DewPtT", "WetBlb", "RelHum", "SolarDN", "WindSpd", "WindDir"}) {
        if (missing == item) words.insert(words.end(), {"--constant", missing + "=VALUE"});
      }
    }
    if (m.dateInd == kDateOneField) {
      words.insert(words.end(), {"--timestamps", m.timeStamps == kStampsBeginning ? "beginning" : "ending"});
    }
    words.insert(words.end(), {"--subhourly", m.subhourly == 1 ? "mean" : "last"});
    words.insert(words.end(), {"--time-shift", std::to_string(f.timeShiftHours)});
    words.insert(words.end(), {"--site-desc", Placeholder(f.site.description, "DESCRIPTION"),
                               "--lat", Placeholder(f.site.latitude, "LAT"),
                               "--lon", Placeholder(f.site.longitude, "LON"),
                               "--tz", Placeholder(f.site.timeZone, "TZ"),
                               "--elev", Placeholder(f.site.elevation, "ELEV")});
  }
  std::string line;
  for (const std::string& w : words) line += (line.empty() ? "" : " ") + ShellWord(w);
  return line;
}

json TextOrNull(const std::string& text) {
  return text.find_first_not_of(" \t") == std::string::npos ? json(nullptr) : json(text);
}

json InspectionJson(const FileInspection& f) {
  json out;
  out["file"] = f.path;
  out["layout"] = f.layout;
  out["description"] = f.description;
  out["site"] = {{"description", TextOrNull(f.site.description)},
                 {"latitude", TextOrNull(f.site.latitude)},
                 {"longitude", TextOrNull(f.site.longitude)},
                 {"time_zone", TextOrNull(f.site.timeZone)},
                 {"elevation", TextOrNull(f.site.elevation)}};
  out["rows"] = f.rows;
  out["first_row"] = f.firstRow;
  out["last_row"] = f.lastRow;
  out["header_line"] = f.headerLine > 0 ? json(f.headerLine) : json(nullptr);
  out["first_stamp"] = f.firstStamp ? json(StampText(*f.firstStamp)) : json(nullptr);
  out["last_stamp"] = f.lastStamp ? json(StampText(*f.lastStamp)) : json(nullptr);
  out["step_minutes"] = f.stepMinutes > 0 ? json(f.stepMinutes) : json(nullptr);
  out["leap_day"] = f.leapDay ? json(*f.leapDay) : json(nullptr);
  out["time_base"] = TimeBaseName(f.timeBase);
  out["columns"] = json::array();
  for (const InspectedColumn& c : f.columns) {
    out["columns"].push_back({{"number", c.number}, {"header", c.header}, {"first_value", c.firstValue}});
  }
  out["field_map"] = json::object();
  for (const InspectedItem& i : f.fieldMap) {
    out["field_map"][i.item] = {{"column", i.column}, {"header", i.header}};
  }
  out["missing"] = f.missing;
  out["command"] = ConvertCommandLine(f);
  return out;
}

std::string Or(const std::string& text, const char* none) {
  return text.find_first_not_of(" \t") == std::string::npos ? none : text;
}

void PrintText(const FileInspection& f) {
  std::printf("File:       %s\n", f.path.c_str());
  std::printf("Layout:     %s: %s\n", f.layout.c_str(), f.description.c_str());
  std::printf("Site:       %s; latitude %s, longitude %s, time zone %s, elevation %s m\n",
              Or(f.site.description, "(no description)").c_str(), Or(f.site.latitude, "?").c_str(),
              Or(f.site.longitude, "?").c_str(), Or(f.site.timeZone, "?").c_str(),
              Or(f.site.elevation, "?").c_str());
  std::printf("Data rows:  %lld, lines %d to %d\n", static_cast<long long>(f.rows), f.firstRow,
              f.lastRow);
  if (f.firstStamp && f.lastStamp) {
    std::printf("Stamps:     %s to %s\n", StampText(*f.firstStamp).c_str(),
                StampText(*f.lastStamp).c_str());
  } else {
    std::printf("Stamps:     none\n");
  }
  std::printf("Time step:  %s\n",
              f.stepMinutes > 0 ? (std::to_string(f.stepMinutes) + " minutes").c_str() : "unknown");
  std::printf("Leap day:   %s\n", !f.leapDay ? "unknown" : *f.leapDay ? "yes (29 February)" : "no");
  std::printf("Time base:  %s\n", TimeBaseName(f.timeBase));
  if (f.headerLine > 0) {
    std::printf("Columns (headers on line %d, values of line %d):\n", f.headerLine, f.firstRow);
  } else {
    std::printf("Columns (values of line %d):\n", f.firstRow);
  }
  for (const InspectedColumn& c : f.columns) {
    std::printf("  %3d  %-32s %s\n", c.number, c.header.c_str(), c.firstValue.c_str());
  }
  std::printf("Field map:\n");
  for (const InspectedItem& i : f.fieldMap) {
    std::printf("  %-9s column %3d  %s\n", i.item.c_str(), i.column, i.header.c_str());
  }
  std::string missing;
  for (const std::string& m : f.missing) missing += (missing.empty() ? "" : ", ") + m;
  std::printf("Missing:    %s\n", missing.empty() ? "nothing" : missing.c_str());
  std::printf("Convert:    %s\n", ConvertCommandLine(f).c_str());
}

}  // namespace

int RunInspect(const InspectOptions& options) {
  try {
    const FileInspection inspection = InspectFile(options.input);
    if (options.json) {
      std::printf("%s\n", InspectionJson(inspection).dump(2).c_str());
    } else {
      PrintText(inspection);
    }
    return kExitOk;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "kestrum-cli: %s\n", e.what());
    return kExitError;
  }
}

}  // namespace kestrum::cli
