#include "run/report_svg.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>

#include "format/fixed_text.h"
#include "review/wind_sectors.h"
#include "run/calendar.h"
#include "run/html_text.h"
#include "run/hourly_table.h"

namespace kestrum {

namespace {

constexpr std::array<const char*, 12> kMonths = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                 "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
constexpr int kWidth = 720;


// A coordinate or a value with at most `decimals` decimals, trailing zeros dropped.
std::string Num(double v, int decimals = 1) {
  std::string text = FormatFixed(v, 0, decimals);
  if (text.find('.') != std::string::npos) {
    while (text.back() == '0') text.pop_back();
    if (text.back() == '.') text.pop_back();
  }
  return text;
}

// The opening of a picture: its size, its class and its title as text and for a reader.
std::string Open(int height, const std::string& cls, const std::string& title) {
  return "<svg class=\"chart " + cls + "\" viewBox=\"0 0 " + std::to_string(kWidth) + " " +
         std::to_string(height) + "\" width=\"" + std::to_string(kWidth) + "\" height=\"" +
         std::to_string(height) +
         "\" role=\"img\" font-family=\"sans-serif\" font-size=\"11\"><title>" + HtmlEscape(title) +
         "</title><text x=\"" + std::to_string(kWidth / 2) +
         "\" y=\"16\" text-anchor=\"middle\" font-size=\"13\" font-weight=\"bold\">" +
         HtmlEscape(title) + "</text>";
}

std::string Text(double x, double y, const std::string& text, const char* anchor = "middle",
                 const std::string& extra = "") {
  return "<text x=\"" + Num(x) + "\" y=\"" + Num(y) + "\" text-anchor=\"" + anchor + "\"" + extra +
         ">" + HtmlEscape(text) + "</text>";
}

std::string Line(double x1, double y1, double x2, double y2, const std::string& attrs) {
  return "<line x1=\"" + Num(x1) + "\" y1=\"" + Num(y1) + "\" x2=\"" + Num(x2) + "\" y2=\"" +
         Num(y2) + "\" " + attrs + "/>";
}

std::string Rect(double x, double y, double w, double h, const std::string& attrs,
                 const std::string& tip = "") {
  std::string out = "<rect x=\"" + Num(x) + "\" y=\"" + Num(y) + "\" width=\"" + Num(w) +
                    "\" height=\"" + Num(h) + "\" " + attrs;
  return tip.empty() ? out + "/>" : out + "><title>" + HtmlEscape(tip) + "</title></rect>";
}

// The plot area of the bar charts.
struct Frame {
  double left = 56, top = 30, width = kWidth - 56 - 16, height = 200;
  double bottom() const { return top + height; }
};

// A value axis on the left with its grid lines and the unit above it.
std::string ValueAxis(const Frame& f, const AxisSteps& a, const std::string& unit,
                      double (*y)(const Frame&, const AxisSteps&, double)) {
  std::string out;
  const int steps = static_cast<int>(std::lround((a.hi - a.lo) / a.step));
  const int decimals = a.step < 1 ? (a.step < 0.1 ? 2 : 1) : 0;
  for (int k = 0; k <= steps; ++k) {
    const double v = a.lo + k * a.step;
    const double yy = y(f, a, v);
    out += Line(f.left, yy, f.left + f.width, yy, "stroke=\"#ddd\"");
    out += Text(f.left - 4, yy + 4, Num(v, decimals), "end");
  }
  out += Text(f.left - 4, f.top - 6, unit, "end");
  return out;
}

double YOf(const Frame& f, const AxisSteps& a, double v) {
  return f.bottom() - (v - a.lo) / (a.hi - a.lo) * f.height;
}

std::string MonthAxis(const Frame& f) {
  std::string out = Line(f.left, f.bottom(), f.left + f.width, f.bottom(), "stroke=\"#888\"");
  const double slot = f.width / 12;
  for (size_t m = 0; m < 12; ++m) {
    out += Text(f.left + slot * (static_cast<double>(m) + 0.5), f.bottom() + 14, kMonths[m]);
  }
  return out;
}

std::string Legend(double x, double y, const std::vector<std::pair<std::string, std::string>>& items) {
  std::string out;
  for (const auto& [colour, name] : items) {
    out += Rect(x, y - 9, 10, 10, "fill=\"" + colour + "\"");
    out += Text(x + 14, y, name, "start");
    x += 24 + 6.5 * static_cast<double>(name.size());
  }
  return out;
}

// Colour of level k of n on a palette, as "#rrggbb".
std::string PaletteColour(HeatPalette palette, int k, int n) {
  // Stops of each ramp, from low to high.
  static constexpr std::array<std::array<int, 3>, 5> kTemperature = {
      {{49, 54, 149}, {116, 173, 209}, {255, 255, 191}, {244, 109, 67}, {165, 0, 38}}};
  static constexpr std::array<std::array<int, 3>, 5> kRadiation = {
      {{20, 20, 40}, {84, 39, 143}, {203, 77, 52}, {247, 170, 40}, {255, 245, 160}}};
  const auto& stops = palette == HeatPalette::Temperature ? kTemperature : kRadiation;
  const double t = n > 1 ? static_cast<double>(k) / (n - 1) * 4.0 : 0.0;
  const int i = std::min(3, static_cast<int>(t));
  const double u = t - i;
  char text[8];
  int rgb[3];
  for (int c = 0; c < 3; ++c) {
    rgb[c] = static_cast<int>(std::lround(stops[static_cast<size_t>(i)][static_cast<size_t>(c)] * (1 - u) +
                                          stops[static_cast<size_t>(i + 1)][static_cast<size_t>(c)] * u));
  }
  std::snprintf(text, sizeof text, "#%02x%02x%02x", rgb[0], rgb[1], rgb[2]);
  return text;
}

}  // namespace

AxisSteps NiceAxis(double lo, double hi, int ticks) {
  if (!(hi > lo)) hi = lo + 1;
  const double raw = (hi - lo) / std::max(1, ticks);
  const double magnitude = std::pow(10.0, std::floor(std::log10(raw)));
  double step = magnitude;
  for (double m : {1.0, 2.0, 2.5, 5.0, 10.0}) {
    step = m * magnitude;
    if (step >= raw) break;
  }
  return {std::floor(lo / step) * step, std::ceil(hi / step) * step, step};
}

std::string MonthlyRangeSvg(const MonthRanges& read, const MonthRanges& converted,
                            const std::string& title, const std::string& unit) {
  const Frame f;
  double lo = INFINITY, hi = -INFINITY;
  for (const MonthRanges* ranges : {&read, &converted}) {
    for (const MonthRange& r : *ranges) {
      if (r.hours == 0) continue;
      lo = std::min(lo, r.min);
      hi = std::max(hi, r.max);
    }
  }
  if (!std::isfinite(lo)) lo = 0, hi = 1;
  const AxisSteps a = NiceAxis(lo, hi, 6);
  std::string out = Open(270, "monthly-range", title);
  out += ValueAxis(f, a, unit, YOf);
  out += MonthAxis(f);
  const double slot = f.width / 12;
  const double barWidth = slot * 0.28;
  const struct {
    const MonthRanges* ranges;
    const char* cls;
    const char* colour;
    const char* what;
    double at;  // centre of the bar within its month's slot
  } kinds[] = {{&read, "read", "#8fb3d9", "as read", 0.32},
               {&converted, "conv", "#e08a2c", "as converted", 0.68}};
  for (const auto& kind : kinds) {
    out += "<g class=\"" + std::string(kind.cls) + "\">";
    for (size_t m = 0; m < 12; ++m) {
      const MonthRange& r = (*kind.ranges)[m];
      if (r.hours == 0) continue;
      const double x = f.left + slot * (static_cast<double>(m) + kind.at) - barWidth / 2;
      const double top = YOf(f, a, r.max);
      const double height = std::max(1.0, YOf(f, a, r.min) - top);
      const std::string tip = std::string(kMonths[m]) + " " + kind.what + ": minimum " +
                              Num(r.min) + ", mean " + Num(r.mean) + ", maximum " + Num(r.max) +
                              " " + unit;
      out += Rect(x, top, barWidth, height,
                  "class=\"" + std::string(kind.cls) + "\" fill=\"" + kind.colour + "\"", tip);
      const double y = YOf(f, a, r.mean);
      out += Line(x - 2, y, x + barWidth + 2, y, "class=\"mean\" stroke=\"#222\" stroke-width=\"2\"");
    }
    out += "</g>";
  }
  out += Legend(f.left, 262, {{"#8fb3d9", "as read (minimum to maximum)"},
                              {"#e08a2c", "as converted"},
                              {"#222", "mean"}});
  return out + "</svg>";
}

std::string MonthlySumsSvg(std::span<const MonthlySeries> series, const std::string& title,
                           const std::string& unit) {
  static constexpr std::array<const char*, 4> kColours = {"#e3a72f", "#c2452d", "#5b8cc6", "#777"};
  const Frame f;
  double hi = 0;
  std::vector<const MonthlySeries*> drawn;
  for (const MonthlySeries& s : series) {
    if (s.values.size() != 12) continue;
    drawn.push_back(&s);
    for (double v : s.values) hi = std::max(hi, v);
  }
  const AxisSteps a = NiceAxis(0, hi > 0 ? hi : 1, 5);
  std::string out = Open(270, "monthly-sums", title);
  out += ValueAxis(f, a, unit, YOf);
  out += MonthAxis(f);
  const double slot = f.width / 12;
  const double barWidth = slot * 0.8 / static_cast<double>(std::max<size_t>(1, drawn.size()));
  std::vector<std::pair<std::string, std::string>> legend;
  for (size_t k = 0; k < drawn.size(); ++k) {
    const std::string colour = kColours[k % kColours.size()];
    const std::string cls = "bar s" + std::to_string(k);
    legend.emplace_back(colour, drawn[k]->name);
    for (size_t m = 0; m < 12; ++m) {
      const double v = drawn[k]->values[m];
      const double x = f.left + slot * static_cast<double>(m) + slot * 0.1 + barWidth * static_cast<double>(k);
      const double top = YOf(f, a, std::max(0.0, v));
      out += Rect(x, top, barWidth - 1, f.bottom() - top,
                  "class=\"" + cls + "\" fill=\"" + colour + "\"",
                  std::string(kMonths[m]) + " " + drawn[k]->name + ": " + Num(v) + " " + unit);
    }
  }
  out += Legend(f.left, 262, legend);
  return out + "</svg>";
}

std::string YearHeatMapSvg(std::span<const float> values, HeatPalette palette,
                           const std::string& title, const std::string& unit) {
  constexpr double kLeft = 56, kTop = 28, kCellWidth = 1.75, kCellHeight = 7;
  constexpr int kDays = kHoursPerYear / 24;
  const double gridBottom = kTop + 24 * kCellHeight;
  float lo = INFINITY, hi = -INFINITY;
  for (float v : values) {
    if (!std::isfinite(v)) continue;
    lo = std::min(lo, v);
    hi = std::max(hi, v);
  }
  if (!std::isfinite(lo)) lo = 0, hi = 1;
  const double span = hi > lo ? hi - lo : 1.0;
  const auto level = [&](float v) {
    if (!std::isfinite(v)) return 0;
    return std::clamp(static_cast<int>((v - lo) / span * kHeatLevels), 0, kHeatLevels - 1);
  };
  const size_t n = std::min(values.size(), static_cast<size_t>(kHoursPerYear));

  std::string out = Open(static_cast<int>(gridBottom) + 46, "heatmap", title);
  // Hours down the left, the first day of each month along the bottom.
  for (int hour : {1, 6, 12, 18, 24}) {
    out += Text(kLeft - 4, kTop + (hour - 0.5) * kCellHeight + 4, std::to_string(hour), "end");
  }
  out += Text(14, kTop + 12 * kCellHeight, "hour", "middle",
              " transform=\"rotate(-90 14 " + Num(kTop + 12 * kCellHeight) + ")\"");
  for (size_t m = 0; m < 12; ++m) {
    const double x = kLeft + DaysBeforeMonth[m + 1] * kCellWidth;
    out += Line(x, gridBottom, x, gridBottom + 4, "stroke=\"#888\"");
    out += Text(x + 2, gridBottom + 15, kMonths[m], "start");
  }
  // The cells: per colour one path of horizontal runs, in grid units (a day wide, an hour
  // high), stroked one hour thick.
  out += "<g transform=\"translate(" + Num(kLeft) + " " + Num(kTop) + ") scale(" + Num(kCellWidth, 2) +
         " " + Num(kCellHeight) + ") translate(0 .5)\" fill=\"none\" stroke-width=\"1\" "
         "shape-rendering=\"crispEdges\">";
  std::vector<uint8_t> levels(n);
  for (size_t i = 0; i < n; ++i) levels[i] = static_cast<uint8_t>(level(values[i]));
  for (int k = 0; k < kHeatLevels; ++k) {
    std::string d;
    for (int hour = 0; hour < 24; ++hour) {
      for (int day = 0; day < kDays;) {
        const auto at = [&](int dd) { return static_cast<size_t>(dd * 24 + hour); };
        if (at(day) >= n || levels[at(day)] != k) {
          ++day;
          continue;
        }
        int end = day + 1;
        while (end < kDays && at(end) < n && levels[at(end)] == k) ++end;
        d += 'M';
        d += std::to_string(day);
        d += ' ';
        d += std::to_string(hour);
        d += 'h';
        d += std::to_string(end - day);
        day = end;
      }
    }
    if (!d.empty()) {
      out += "<path class=\"cells\" stroke=\"" + PaletteColour(palette, k, kHeatLevels) + "\" d=\"" + d + "\"/>";
    }
  }
  out += "</g>";
  // The colour scale with the year's lowest and highest value, under the grid on the left.
  const double scaleY = gridBottom + 24;
  const std::string low = Num(lo) + " " + unit;
  out += Text(kLeft, scaleY + 8, low, "start");
  const double scaleX = kLeft + 8 + 6.5 * static_cast<double>(low.size());
  for (int k = 0; k < kHeatLevels; ++k) {
    out += Rect(scaleX + 16 * k, scaleY, 16, 9, "fill=\"" + PaletteColour(palette, k, kHeatLevels) + "\"");
  }
  out += Text(scaleX + 16 * kHeatLevels + 4, scaleY + 8, Num(hi) + " " + unit, "start");
  return out + "</svg>";
}

std::string RepairStripSvg(std::span<const uint8_t> marks, std::span<const StripRow> rows) {
  static constexpr std::array<const char*, 6> kColours = {"#d7301f", "#2b8cbe", "#e3a72f",
                                                          "#31a354", "#756bb1", "#c2452d"};
  constexpr double kLeft = 200, kTop = 28, kRowHeight = 16, kBar = 11;
  const double width = kWidth - kLeft - 16;
  const double unitsPerPixel = kHoursPerYear / width;
  const double gridBottom = kTop + kRowHeight * static_cast<double>(rows.size());
  std::string out = Open(static_cast<int>(gridBottom) + 24, "repair-strip",
                         "Repaired hours of the year");
  for (size_t m = 0; m < 12; ++m) {
    const double x = kLeft + DaysBeforeMonth[m + 1] * 24 / unitsPerPixel;
    out += Line(x, kTop - 2, x, gridBottom, "stroke=\"#ddd\"");
    out += Text(x + 2, gridBottom + 14, kMonths[m], "start");
  }
  const size_t n = std::min(marks.size(), static_cast<size_t>(kHoursPerYear));
  for (size_t r = 0; r < rows.size(); ++r) {
    const StripRow& row = rows[r];
    const double y = kTop + kRowHeight * static_cast<double>(r);
    out += Text(kLeft - 6, y + kBar - 2, row.name + " (" + std::to_string(row.hours) + " h)", "end");
    out += Rect(kLeft, y, width, kBar, "fill=\"#f3f3f3\"");
    std::string d;
    for (size_t h = 0; h < n;) {
      if ((marks[h] & row.bit) == 0) {
        ++h;
        continue;
      }
      size_t end = h + 1;
      while (end < n && (marks[end] & row.bit) != 0) ++end;
      // At least a pixel wide, kept inside the year.
      const double length = std::max(static_cast<double>(end - h), unitsPerPixel);
      const double start = std::min(static_cast<double>(h), kHoursPerYear - length);
      d += "M" + Num(start, 1) + " 0h" + Num(length, 1);
      h = end;
    }
    if (d.empty()) {
      out += Text(kLeft + 4, y + kBar - 2, "none", "start", " fill=\"#888\"");
      continue;
    }
    out += "<path class=\"marks\" transform=\"translate(" + Num(kLeft) + " " + Num(y + kBar / 2) +
           ") scale(" + Num(1 / unitsPerPixel, 5) + " 1)\" stroke=\"" +
           kColours[r % kColours.size()] + "\" stroke-width=\"" + Num(kBar) +
           "\" shape-rendering=\"crispEdges\" d=\"" + d + "\"><title>" + HtmlEscape(row.name) + ": " +
           std::to_string(row.hours) + " hours</title></path>";
  }
  return out + "</svg>";
}

std::string WindRoseSvg(std::span<const float> speed, std::span<const float> directionDeg,
                        const std::array<double, 5>& classes, const std::string& unit) {
  static constexpr std::array<const char*, 5> kColours = {"#c6dbef", "#9ecae1", "#6baed6",
                                                          "#3182bd", "#08519c"};
  constexpr double kCx = 250, kCy = 220, kRadius = 180, kCalmRadius = 24;
  // Hours per sector and speed class; calm hours apart.
  std::array<std::array<int, 5>, kWindSectors> counts{};
  int calm = 0, counted = 0;
  const size_t n = std::min(speed.size(), directionDeg.size());
  for (size_t i = 0; i < n; ++i) {
    const double s = speed[i];
    const std::optional<int> sector = WindSectorOf(directionDeg[i]);
    if (!sector || !std::isfinite(s)) continue;
    ++counted;
    if (s < classes[0]) {
      ++calm;
      continue;
    }
    int c = 0;
    while (c < 4 && s >= classes[static_cast<size_t>(c + 1)]) ++c;
    ++counts[static_cast<size_t>(*sector)][static_cast<size_t>(c)];
  }
  double largest = 0;  // the longest petal, % of all counted hours
  for (const auto& sector : counts) {
    int total = 0;
    for (int c : sector) total += c;
    largest = std::max(largest, counted > 0 ? 100.0 * total / counted : 0.0);
  }
  const AxisSteps rings = NiceAxis(0, largest > 0 ? largest : 1, 4);
  const auto radiusOf = [&](double percent) {
    return kCalmRadius + percent / rings.hi * (kRadius - kCalmRadius);
  };
  std::string out = Open(450, "windrose", "Wind rose (hours by direction and speed)");
  for (double p = rings.step; p <= rings.hi + 1e-9; p += rings.step) {
    out += "<circle class=\"ring\" cx=\"" + Num(kCx) + "\" cy=\"" + Num(kCy) + "\" r=\"" +
           Num(radiusOf(p)) + "\" fill=\"none\" stroke=\"#ccc\"/>";
  }
  for (int k = 0; k < kWindSectors; k += 4) {
    const double a = k * 22.5 * std::numbers::pi / 180;
    out += Text(kCx + (kRadius + 14) * std::sin(a), kCy - (kRadius + 14) * std::cos(a) + 4,
                std::array<const char*, 4>{"N", "E", "S", "W"}[static_cast<size_t>(k / 4)]);
  }
  const auto point = [&](double r, double degrees) {
    const double a = degrees * std::numbers::pi / 180;
    return Num(kCx + r * std::sin(a)) + " " + Num(kCy - r * std::cos(a));
  };
  for (int k = 0; k < kWindSectors; ++k) {
    const double from = k * 22.5 - 10.0, to = k * 22.5 + 10.0;
    double inner = 0;
    for (int c = 0; c < 5; ++c) {
      const int hours = counts[static_cast<size_t>(k)][static_cast<size_t>(c)];
      if (hours == 0) continue;
      const double outer = inner + 100.0 * hours / counted;
      const double r0 = radiusOf(inner), r1 = radiusOf(outer);
      out += "<path class=\"petal c" + std::to_string(c) + "\" fill=\"" + kColours[static_cast<size_t>(c)] +
             "\" stroke=\"#fff\" stroke-width=\".5\" d=\"M" + point(r0, from) + "L" + point(r1, from) +
             "A" + Num(r1) + " " + Num(r1) + " 0 0 1 " + point(r1, to) + "L" + point(r0, to) + "A" +
             Num(r0) + " " + Num(r0) + " 0 0 0 " + point(r0, from) + "Z\"><title>" +
             kWindSectorNames[static_cast<size_t>(k)] + ", " + Num(100.0 * hours / counted, 1) +
             " % of the hours</title></path>";
      inner = outer;
    }
  }
  // The rings' percentages, along the south-east diagonal, over the petals.
  for (double p = rings.step; p <= rings.hi + 1e-9; p += rings.step) {
    const double r = radiusOf(p) * std::numbers::sqrt2 / 2;
    out += Text(kCx + r + 2, kCy + r + 10, Num(p, 1) + " %", "start",
                " fill=\"#555\" stroke=\"#fff\" stroke-width=\"3\" paint-order=\"stroke\"");
  }
  out += "<circle class=\"calm\" cx=\"" + Num(kCx) + "\" cy=\"" + Num(kCy) + "\" r=\"" +
         Num(kCalmRadius) + "\" fill=\"#fff\" stroke=\"#999\"/>";
  const double calmShare = counted > 0 ? 100.0 * calm / counted : 0.0;
  out += Text(kCx, kCy - 1, "calm", "middle", " font-size=\"9\"");
  out += Text(kCx, kCy + 9, Num(calmShare, 1) + " %", "middle", " font-size=\"9\"");
  // The legend: speed classes, then the calm hours counted apart.
  double y = 70;
  out += Text(480, y - 18, "Speed (" + unit + ")", "start", " font-weight=\"bold\"");
  for (size_t c = 0; c < 5; ++c) {
    const std::string range = c < 4 ? Num(classes[c]) + " to " + Num(classes[c + 1])
                                    : Num(classes[c]) + " and above";
    out += Rect(480, y - 9, 12, 12, std::string("fill=\"") + kColours[c] + "\"");
    out += Text(498, y + 1, range, "start");
    y += 20;
  }
  out += Text(480, y + 14,
              "Calm (below " + Num(classes[0]) + " " + unit + "): " + std::to_string(calm) +
                  " hours, " + Num(calmShare, 1) + " %",
              "start", " class=\"calm-hours\"");
  out += Text(480, y + 32, "Hours counted: " + std::to_string(counted), "start");
  return out + "</svg>";
}

}  // namespace kestrum
