#include "review/hour_marks.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "run/calendar.h"

namespace kestrum {

namespace {

constexpr std::array<const char*, 13> kMonths = {
    "", "Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

}  // namespace

const std::array<MonthStart, 12>& MonthStarts() {
  static const std::array<MonthStart, 12> starts = [] {
    std::array<MonthStart, 12> s;
    for (int m = 1; m <= 12; ++m) s[m - 1] = {DaysBeforeMonth[m] * 24, kMonths[m]};
    return s;
  }();
  return starts;
}

std::string HourLabel(int position) {
  if (position < 0 || position >= 8760) return {};
  const CalendarHour h = SplitHourOfYear(position + 1);
  std::string text = std::string(kMonths[h.month]) + " " + std::to_string(h.day) + " ";
  if (h.hour < 10) text += "0";
  return text + std::to_string(h.hour) + ":00";
}

int FinalColumnDecimals(int column) {
  if (column == 8) return 6;
  if (column == 9 || column == 10) return 1;
  if (column >= 11) return 0;
  return 2;
}

std::vector<int> RepairedHours(const std::vector<double>& original,
                               const std::vector<double>& final, int finalDecimals) {
  // Half a unit of the last decimal, with room for the binary representation.
  const double tolerance = 0.5 * std::pow(10.0, -finalDecimals) * (1.0 + 1e-9);
  std::vector<int> hours;
  const size_t n = std::min(original.size(), final.size());
  for (size_t i = 0; i < n; ++i) {
    if (std::fabs(original[i] - final[i]) > tolerance) hours.push_back(static_cast<int>(i));
  }
  return hours;
}

}  // namespace kestrum
