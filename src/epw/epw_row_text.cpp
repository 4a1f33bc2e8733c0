#include "epw/epw_row_text.h"

#include <algorithm>
#include <string>

#include "run/text_fields.h"

namespace kestrum {

EpwFieldSpans SplitEpwFieldSpans(std::string_view row) {
  EpwFieldSpans spans;
  std::string quoted;
  size_t pos = 1;
  for (int field = 1; field <= kEpwLastEditableField && pos <= row.size(); ++field) {
    const size_t begin = pos - 1;
    NextFieldView(row, pos, quoted, AfterQuote::Consume);
    // pos is now one past the delimiter, or two past the end of the row.
    spans.begin[static_cast<size_t>(field)] = static_cast<uint32_t>(begin);
    spans.end[static_cast<size_t>(field)] = static_cast<uint32_t>(std::min(pos - 2, row.size()));
    spans.count = field;
  }
  return spans;
}

void EpwFieldEdits::SetNumber(int field, double value, int decimals) {
  for (int i = 0; i < count_; ++i) {
    if (edits_[static_cast<size_t>(i)].field == field) {
      edits_[static_cast<size_t>(i)] = {field, value, decimals};
      return;
    }
  }
  edits_[static_cast<size_t>(count_++)] = {field, value, decimals};
  mask_ |= 1u << field;
}

void EpwFieldEdits::SetWhole(int field, int64_t value) {
  SetNumber(field, static_cast<double>(value), 0);
}

void EpwFieldEdits::Apply(TextSink& out, std::string_view row) const {
  std::array<Edit, 12> sorted = edits_;
  std::sort(sorted.begin(), sorted.begin() + count_,
            [](const Edit& a, const Edit& b) { return a.field < b.field; });
  const EpwFieldSpans spans = SplitEpwFieldSpans(row);
  size_t copied = 0;  // bytes of row written so far
  for (int i = 0; i < count_; ++i) {
    const Edit& e = sorted[static_cast<size_t>(i)];
    const auto f = static_cast<size_t>(e.field);
    if (e.field <= spans.count) {
      out.Text(row.substr(copied, spans.begin[f] - copied));
      out.Fixed(e.value, 0, e.decimals);
      copied = spans.end[f];
    } else {
      // The row ends before the field: the rest of it, then empty fields up to the edit.
      out.Text(row.substr(copied));
      copied = row.size();
      for (int n = std::max(spans.count, 1); n < e.field; ++n) out.Char(',');
      out.Fixed(e.value, 0, e.decimals);
    }
  }
  out.Text(row.substr(copied));
}

void AppendEpwRow(TextSink& out, const EpwRowValues& v) {
  const auto comma = [&out] { out.Char(','); };
  out.Text(v.year);
  comma();
  out.Int(v.month, 0);
  comma();
  out.Int(v.day, 0);
  comma();
  out.Int(v.hour, 0);
  comma();
  out.Text(v.minute);
  comma();
  out.Text(kEpwUnknownSourceFlags);
  comma();
  out.Fixed(v.dryBulbC, 0, 1);
  comma();
  out.Fixed(v.dewPointC, 0, 1);
  comma();
  out.Fixed(v.relHumPct, 0, 0);
  comma();
  out.Fixed(v.pressurePa, 0, 0);
  out.Text(",9999,9999,9999,");  // extraterrestrial horizontal and normal, infrared
  out.Fixed(v.globalWh, 0, 0);
  comma();
  out.Fixed(v.directNormalWh, 0, 0);
  comma();
  out.Fixed(v.diffuseWh, 0, 0);
  out.Text(",999999,999999,999999,9999,");  // illuminances, zenith luminance
  out.Fixed(v.windDirectionDeg, 0, 0);
  comma();
  out.Fixed(v.windSpeedMs, 0, 1);
  out.Text(",99,99,9999,99999,");  // sky covers, visibility, ceiling height
  out.Text(v.presentWeatherObserved);
  comma();
  out.Text(std::string_view(v.presentWeatherCodes.data(), v.presentWeatherCodes.size()));
  // Precipitable water, aerosol optical depth, snow depth, days since snow, albedo,
  // liquid precipitation depth and quantity.
  out.Text(",999,.999,999,99,999,999,99");
}

double DiffuseFromGlobal(double globalWh, double directNormalWh, double cosZenith) {
  const double beam = cosZenith > 0.0 ? directNormalWh * cosZenith : 0.0;
  return std::max(0.0, globalWh - beam);
}

}  // namespace kestrum
