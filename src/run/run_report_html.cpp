#include <string>

#include "format/fixed_text.h"
#include "run/calendar.h"
#include "run/run_report.h"

namespace kestrum {

namespace {

constexpr std::array<const char*, 13> kMonths = {"",    "Jan", "Feb", "Mar", "Apr",
                                                 "May", "Jun", "Jul", "Aug", "Sep",
                                                 "Oct", "Nov", "Dec"};

std::string Escape(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      case '\'': out += "&#39;"; break;
      default: out += c;
    }
  }
  return out;
}

std::string Number(double v, int decimals) { return FormatFixed(v, 0, decimals); }

class Page {
 public:
  void Raw(const std::string& html) { out_ += html; }
  void Heading(const std::string& text) { out_ += "<h2>" + Escape(text) + "</h2>\n"; }
  void Row(std::initializer_list<std::string> cells, bool header = false) {
    out_ += "<tr>";
    bool first = true;
    for (const std::string& c : cells) {
      const char* tag = header || first ? "th" : "td";
      out_ += std::string("<") + tag + ">" + Escape(c) + "</" + tag + ">";
      first = false;
    }
    out_ += "</tr>\n";
  }
  std::string& text() { return out_; }

 private:
  std::string out_;
};

void Overview(const RunReport& r, Page& p) {
  p.Raw("<table class=\"text\">\n");
  p.Row({"File", r.input});
  p.Row({"Status", r.error.empty() ? r.status : r.status + ": " + r.error});
  p.Row({"Site", r.site.description});
  p.Row({"Latitude, longitude", r.site.latitude + ", " + r.site.longitude});
  p.Row({"Time zone", r.site.timeZone});
  p.Row({"Elevation (m)", r.site.elevation});
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
  for (const std::string& w : warnings) p.Raw("<li>" + Escape(w) + "</li>\n");
  p.Raw("</ul>\n");
}

void MonthlyTables(const QualitySummary& q, Page& p) {
  const std::string moistureUnit = q.moistureIsRelHum ? "%" : "F";
  const struct {
    Quantity quantity;
    std::string title;
    int decimals;
  } quantities[] = {
      {Quantity::DryBulb, "Dry bulb (F)", 1},
      {Quantity::Moisture,
       (q.moistureIsRelHum ? "Relative humidity (" : "Dew point (") + moistureUnit + ")", 1},
      {Quantity::GlobalHorizontal, "Global horizontal (W/m2)", 0},
      {Quantity::DirectNormal, "Direct normal (W/m2)", 0},
      {Quantity::WindSpeed, "Wind speed (mph)", 1},
  };
  const auto cells = [](const MonthlyStat& s, int decimals) {
    if (s.hours == 0) return std::array<std::string, 3>{"-", "-", "-"};
    return std::array<std::string, 3>{Number(s.min, decimals), Number(s.mean, decimals),
                                      Number(s.max, decimals)};
  };
  p.Heading("Monthly values: minimum, mean, maximum");
  p.Raw("<p>As read: the hours the cleaning pass left alone. As converted: every hour, "
        "direct normal as written.</p>\n");
  for (const auto& item : quantities) {
    p.Raw("<h3>" + Escape(item.title) + "</h3>\n<table>\n");
    p.Row({"Month", "Read min", "Read mean", "Read max", "Converted min", "Converted mean",
           "Converted max"},
          true);
    const auto k = static_cast<size_t>(item.quantity);
    for (size_t m = 0; m < 12; ++m) {
      const auto read = cells(q.asRead[m][k], item.decimals);
      const auto conv = cells(q.asConverted[m][k], item.decimals);
      p.Row({kMonths[m + 1], read[0], read[1], read[2], conv[0], conv[1], conv[2]});
    }
    p.Raw("</table>\n");
  }
  p.Raw("<p>Annual global horizontal " + Number(q.annualGlobalKWhM2, 1) + " kWh/m2");
  if (q.formatted) p.Raw(", direct normal " + Number(q.annualDirectNormalKWhM2, 1) + " kWh/m2");
  p.Raw(".</p>\n");
}

void Outputs(const RunReport& r, Page& p) {
  p.Heading("Outputs");
  p.Raw("<table class=\"text\">\n");
  p.Row({"BIN file", r.binPath.empty() ? "none" : r.binPath});
  p.Row({"Interim directory", r.interimDir});
  for (const std::string& f : r.files) p.Row({"Run file", f});
  p.Raw("</table>\n");
}

}  // namespace

std::string RunReportHtml(const RunReport& report) {
  Page p;
  const std::string title = "Kestrum conversion report: " + report.name;
  p.Raw("<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n<title>" +
        Escape(title) + "</title>\n<style>\n"
        "body { font-family: sans-serif; margin: 2em; color: #222; }\n"
        "table { border-collapse: collapse; margin: 0.5em 0 1em; }\n"
        "th, td { border: 1px solid #bbb; padding: 0.2em 0.6em; }\n"
        "td { text-align: right; } th { text-align: left; background: #f0f0f0; }\n"
        ".text td { text-align: left; }\n"
        ".warn { color: #a00; font-weight: bold; }\n"
        "</style>\n</head>\n<body>\n<h1>" + Escape(title) + "</h1>\n");
  Overview(report, p);
  Warnings(report.warnings, p);
  if (report.quality) {
    Repairs(*report.quality, p);
    MonthlyTables(*report.quality, p);
  }
  Outputs(report, p);
  p.Raw("</body>\n</html>\n");
  return std::move(p.text());
}

}  // namespace kestrum
