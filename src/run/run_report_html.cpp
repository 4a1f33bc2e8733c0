#include <string>

#include "format/fixed_text.h"
#include "run/calendar.h"
#include "run/html_text.h"
#include "run/report_svg.h"
#include "run/run_report.h"
#include "run/text_fields.h"

namespace kestrum {

namespace {

constexpr std::array<const char*, 13> kMonths = {"",    "Jan", "Feb", "Mar", "Apr",
                                                 "May", "Jun", "Jul", "Aug", "Sep",
                                                 "Oct", "Nov", "Dec"};


std::string Number(double v, int decimals) { return FormatFixed(v, 0, decimals); }

class Page {
 public:
  void Raw(const std::string& html) { out_ += html; }
  void Heading(const std::string& text) { out_ += "<h2>" + HtmlEscape(text) + "</h2>\n"; }
  void Row(std::initializer_list<std::string> cells, bool header = false) {
    out_ += "<tr>";
    bool first = true;
    for (const std::string& c : cells) {
      const char* tag = header || first ? "th" : "td";
      out_ += std::string("<") + tag + ">" + HtmlEscape(c) + "</" + tag + ">";
      first = false;
    }
    out_ += "</tr>\n";
  }
  std::string& text() { return out_; }

 private:
  std::string out_;
};

// A unit as a person reads it: "C" -> "°C", "W/m2" -> "W/m²".
std::string Shown(const std::string& unit) {
  if (unit == "C" || unit == "F") return "\u00B0" + unit;
  if (unit == "Btu/h-ft2") return "Btu/h\u00B7ft\u00B2";
  if (unit.size() > 1 && unit.back() == '2' && unit[unit.size() - 2] == 'm') {
    return unit.substr(0, unit.size() - 1) + "\u00B2";
  }
  if (unit.size() > 2 && unit.substr(unit.size() - 3) == "ft2") {
    return unit.substr(0, unit.size() - 1) + "\u00B2";
  }
  return unit;
}

// A site text with its unit when it is a number, as typed otherwise.
std::string SiteValue(const std::string& text, const std::string& unit, double scale = 1.0,
                      int decimals = -1) {
  double v = 0;
  if (!ParseReal(text, v)) return text.empty() ? "-" : text + " (not a number)";
  return (decimals < 0 ? text : Number(v * scale, decimals)) + " " + unit;
}

// "39.74 degrees north", "105.18 degrees west": the hemisphere named, the number without its
// sign; as typed when the text is no number.
std::string Hemisphere(const std::string& text, const char* positive, const char* negative) {
  double v = 0;
  if (!ParseReal(text, v)) return SiteValue(text, "");
  std::string digits = text.substr(text.find_first_not_of(" \t"));
  if (!digits.empty() && (digits[0] == '-' || digits[0] == '+')) digits.erase(0, 1);
  return digits + " degrees " + (v < 0 ? negative : positive);
}

void Overview(const RunReport& r, Page& p) {
  const ReportUnits u = r.units;
  p.Raw("<table class=\"text\">\n");
  p.Row({"File", r.input});
  p.Row({"Status", r.error.empty() ? r.status : r.status + ": " + r.error});
  p.Row({"Site", r.site.description});
  p.Row({"Latitude, longitude",
         Hemisphere(r.site.latitude, "north", "south") + ", " +
             Hemisphere(r.site.longitude, "east", "west")});
  p.Row({"Time zone", SiteValue(r.site.timeZone, "hours from UTC")});
  p.Row({"Elevation", u == ReportUnits::Si ? SiteValue(r.site.elevation, "m")
                                           : SiteValue(r.site.elevation, "ft", ReportElevation(1.0, u), 0)});
  std::string options = "name " + r.name;
  if (r.useRelHum) options += ", moisture from relative humidity";
  if (r.calcDirectNormal) options += ", direct normal estimated for every hour";
  if (r.detailedLog) options += ", detailed log";
  if (r.timeShiftHours != 0) {
    options += ", hours shifted by " + std::string(r.timeShiftHours > 0 ? "+" : "") +
               std::to_string(r.timeShiftHours) + " h";
  }
  if (r.subhourlyMean) options += ", rows sharing an hour averaged";
  options += r.settingsFile.empty() ? ", default cleaning limits" : ", settings " + r.settingsFile;
  p.Row({"Options", options});
  p.Row({"Units", u == ReportUnits::Si ? "SI (\u00B0C, m/s, W/m\u00B2, kWh/m\u00B2)"
                                       : "inch-pound (\u00B0F, mph, Btu/h\u00B7ft\u00B2, kBtu/ft\u00B2)"});
  p.Row({"Run time", Number(r.seconds, 3) + " s"});
  p.Raw("</table>\n");
}

void Repairs(const QualitySummary& q, Page& p) {
  p.Heading("Repaired hours");
  p.Raw("<table>\n");
  p.Row({"Series", "Interpolated", "Previous day", "First good hour", "Total", "Share of year",
         "Longest streak", "#prev"},
        true);
  for (int row = 1; row <= kCleanedSeries; ++row) {
    const SeriesRepairs& s = q.repairs[static_cast<size_t>(row - 1)];
    std::string streak = "none";
    if (s.longest.length > 0) {
      const CalendarHour when = SplitHourOfYear(s.longest.firstHour);
      streak = std::to_string(s.longest.length) + " h from " + std::to_string(when.month) + "/" +
               std::to_string(when.day) + " hour " + std::to_string(when.hour);
    }
    p.Row({SummarySeriesName(row), std::to_string(s.interpolated), std::to_string(s.previousDay),
           std::to_string(s.firstGoodHour), std::to_string(s.total),
           Number(100.0 * s.shareOfYear(), 1) + " %", streak, std::to_string(s.prevLimit)});
  }
  p.Raw("</table>\n<p>Hours with any repair: " + std::to_string(q.hoursRepaired) +
        ". Direct normal estimated for " + std::to_string(q.directNormalEstimated) +
        " hours.</p>\n");
}

// Every warning of the run: what was skipped, averaged, shifted or guessed, and the streaks.
void Warnings(const std::vector<std::string>& warnings, Page& p) {
  if (warnings.empty()) return;
  p.Heading("Warnings");
  p.Raw("<ul class=\"warn\">\n");
  for (const std::string& w : warnings) p.Raw("<li>" + HtmlEscape(w) + "</li>\n");
  p.Raw("</ul>\n");
}

// How each monthly quantity shows: its title with the unit, and its conversion.
struct ShownQuantity {
  Quantity quantity;
  std::string title;
  std::string unit;
  double (*convert)(double, ReportUnits);
  int decimals;
};

double Same(double v, ReportUnits) { return v; }

std::vector<ShownQuantity> ShownQuantities(const QualitySummary& q, ReportUnits u) {
  const std::string t = Shown(TemperatureUnit(u));
  return {
      {Quantity::DryBulb, "Dry bulb", t, ReportTemperature, 1},
      q.moistureIsRelHum ? ShownQuantity{Quantity::Moisture, "Relative humidity", "%", Same, 1}
                         : ShownQuantity{Quantity::Moisture, q.moistureKind == 2 ? "Wet bulb" : "Dew point",
                                         t, ReportTemperature, 1},
      {Quantity::GlobalHorizontal, "Global horizontal", Shown(IrradianceUnit(u)), ReportIrradiance, 0},
      {Quantity::DirectNormal, "Direct normal", Shown(IrradianceUnit(u)), ReportIrradiance, 0},
      {Quantity::WindSpeed, "Wind speed", SpeedUnit(u), ReportSpeed, 1},
  };
}

MonthRanges RangesOf(const MonthlyTable& table, Quantity quantity, ReportUnits u) {
  MonthRanges ranges;
  const auto k = static_cast<size_t>(quantity);
  for (size_t m = 0; m < 12; ++m) {
    const MonthlyStat& s = table[m][k];
    ranges[m] = {s.hours, ReportTemperature(s.min, u), ReportTemperature(s.mean, u),
                 ReportTemperature(s.max, u)};
  }
  return ranges;
}

std::vector<float> Converted(const std::vector<float>& values, double (*convert)(double, ReportUnits),
                             ReportUnits u) {
  std::vector<float> out(values.size());
  for (size_t i = 0; i < values.size(); ++i) out[i] = static_cast<float>(convert(values[i], u));
  return out;
}

// The year in pictures: monthly dry bulb and radiation, the heat maps, the repaired hours
// and the wind rose.
void Pictures(const QualitySummary& q, ReportUnits u, Page& p) {
  p.Heading("The year in pictures");
  p.Raw("<div class=\"pics\">\n");
  const std::string temperature = Shown(TemperatureUnit(u));
  const std::string irradiance = Shown(IrradianceUnit(u));
  const std::string sumUnit = Shown(RadiationSumUnit(u));
  p.Raw(MonthlyRangeSvg(RangesOf(q.asRead, Quantity::DryBulb, u),
                        RangesOf(q.asConverted, Quantity::DryBulb, u),
                        "Monthly dry bulb (" + temperature + ")", temperature));
  p.Raw("\n");
  std::vector<MonthlySeries> sums(2);
  sums[0].name = "global horizontal";
  sums[1].name = "direct normal";
  for (size_t m = 0; m < 12; ++m) {
    sums[0].values.push_back(ReportRadiationSum(q.monthlyGlobalKWhM2[m], u));
    if (q.formatted) sums[1].values.push_back(ReportRadiationSum(q.monthlyDirectNormalKWhM2[m], u));
  }
  p.Raw(MonthlySumsSvg(sums, "Monthly radiation sums (" + sumUnit + ")", sumUnit));
  p.Raw("\n");
  const HourlyPictureData& hourly = q.hourly;
  if (hourly.marks.size() == static_cast<size_t>(kHoursPerYear)) {
    p.Raw(YearHeatMapSvg(Converted(hourly.dryBulbF, ReportTemperature, u), HeatPalette::Temperature,
                         "Dry bulb, day by hour (" + temperature + ")", temperature));
    p.Raw("\n");
    p.Raw(YearHeatMapSvg(Converted(hourly.globalWm2, ReportIrradiance, u), HeatPalette::Radiation,
                         "Global horizontal, day by hour (" + irradiance + ")", irradiance));
    p.Raw("\n");
    std::vector<StripRow> rows;
    for (int row = 1; row <= kCleanedSeries; ++row) {
      std::string name = SummarySeriesName(row);
      if (row == 2) name = q.moistureIsRelHum ? "relative humidity" : "moisture";
      if (row == 3) name = "global horizontal";
      rows.push_back({name, static_cast<uint8_t>(1u << (row - 1)),
                      q.repairs[static_cast<size_t>(row - 1)].total});
    }
    rows.push_back({"direct normal estimated", kDirectNormalEstimatedMark, q.directNormalEstimated});
    p.Raw(RepairStripSvg(hourly.marks, rows));
    p.Raw("\n");
    const std::array<double, 5> classes =
        u == ReportUnits::Si ? std::array<double, 5>{0.5, 2, 4, 6, 8} : std::array<double, 5>{1, 5, 10, 15, 20};
    p.Raw(WindRoseSvg(Converted(hourly.windSpeedMph, ReportSpeed, u), hourly.windDirectionDeg,
                      classes, SpeedUnit(u)));
    p.Raw("\n");
  }
  p.Raw("</div>\n");
}

void MonthlyTables(const QualitySummary& q, ReportUnits u, Page& p) {
  const auto cells = [u](const MonthlyStat& s, const ShownQuantity& item) {
    if (s.hours == 0) return std::array<std::string, 3>{"-", "-", "-"};
    return std::array<std::string, 3>{Number(item.convert(s.min, u), item.decimals),
                                      Number(item.convert(s.mean, u), item.decimals),
                                      Number(item.convert(s.max, u), item.decimals)};
  };
  p.Heading("Monthly values: minimum, mean, maximum");
  p.Raw("<p>As read: the hours the cleaning pass left alone. As converted: every hour, "
        "direct normal as written.</p>\n");
  for (const ShownQuantity& item : ShownQuantities(q, u)) {
    p.Raw("<h3>" + HtmlEscape(item.title + " (" + item.unit + ")") + "</h3>\n<table>\n");
    p.Row({"Month", "Read min", "Read mean", "Read max", "Converted min", "Converted mean",
           "Converted max"},
          true);
    const auto k = static_cast<size_t>(item.quantity);
    for (size_t m = 0; m < 12; ++m) {
      const auto read = cells(q.asRead[m][k], item);
      const auto conv = cells(q.asConverted[m][k], item);
      p.Row({kMonths[m + 1], read[0], read[1], read[2], conv[0], conv[1], conv[2]});
    }
    p.Raw("</table>\n");
  }
  const std::string sum = Shown(RadiationSumUnit(u));
  p.Raw("<p>Annual global horizontal " + Number(ReportRadiationSum(q.annualGlobalKWhM2, u), 1) + " " +
        sum);
  if (q.formatted) {
    p.Raw(", direct normal " + Number(ReportRadiationSum(q.annualDirectNormalKWhM2, u), 1) + " " + sum);
  }
  p.Raw(".</p>\n");
}

void Outputs(const RunReport& r, Page& p) {
  p.Heading("Outputs");
  p.Raw("<table class=\"text\">\n");
  p.Row({"BIN file", r.binPath.empty() ? "none" : r.binPath});
  if (!r.epwPath.empty()) p.Row({"EPW file", r.epwPath});
  p.Row({"Interim directory", r.interimDir});
  for (const std::string& f : r.files) p.Row({"Run file", f});
  p.Raw("</table>\n");
}

}  // namespace

std::string RunReportHtml(const RunReport& report) {
  Page p;
  const std::string title = "Kestrum conversion report: " + report.name;
  p.Raw("<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n<title>" +
        HtmlEscape(title) + "</title>\n<style>\n"
        "body { font-family: sans-serif; margin: 2em; color: #222; }\n"
        "table { border-collapse: collapse; margin: 0.5em 0 1em; }\n"
        "th, td { border: 1px solid #bbb; padding: 0.2em 0.6em; }\n"
        "td { text-align: right; } th { text-align: left; background: #f0f0f0; }\n"
        ".text td { text-align: left; }\n"
        ".warn { color: #a00; font-weight: bold; }\n"
        ".pics { display: grid; grid-template-columns: repeat(auto-fit, minmax(540px, 1fr)); "
        "gap: 0.5em 1.5em; }\n"
        "svg.chart { width: 100%; max-width: 720px; height: auto; }\n"
        "</style>\n</head>\n<body>\n<h1>" + HtmlEscape(title) + "</h1>\n");
  Overview(report, p);
  Warnings(report.warnings, p);
  if (report.quality) {
    Pictures(*report.quality, report.units, p);
    Repairs(*report.quality, p);
    MonthlyTables(*report.quality, report.units, p);
  }
  Outputs(report, p);
  p.Raw("</body>\n</html>\n");
  return std::move(p.text());
}

}  // namespace kestrum
