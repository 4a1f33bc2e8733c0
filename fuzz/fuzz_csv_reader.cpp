// libFuzzer target: the CSV reader on any bytes, under a field map taken from the
// input's first four bytes. Errors it raises (RunError: a bad date, no data rows) are
// expected; a crash, a sanitizer report or any other exception is a finding.
//
// Input: byte 0 the choices (date form, moisture, solar), byte 1 the first row, byte 2 the
// unit codes, byte 3 where the columns start and whether snow, rain and cloud type are
// assigned; the rest is the file.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "csv/csv_date.h"
#include "csv/csv_reader.h"
#include "run/hourly_table.h"
#include "run/run_error.h"
#include "run/run_log.h"
#include "run/run_state.h"
#include "run/run_ui.h"
#include "run/stage_context.h"

namespace {

const std::string& WorkDir() {
  static const std::string dir = [] {
    const auto d = std::filesystem::temp_directory_path() /
                   ("kestrum-fuzz-csv-" + std::to_string(::getpid()));
    std::filesystem::create_directories(d);
    return d.string();
  }();
  return dir;
}

kestrum::CsvFieldMap FieldMapFrom(const uint8_t* b) {
  kestrum::CsvFieldMap fieldMap;
  fieldMap.dateInd = b[0] % 3;
  fieldMap.moistInd = (b[0] / 3) % 3;
  fieldMap.solarInd = (b[0] / 9) % 2;
  fieldMap.firstRow = b[1] % 4 + 1;
  fieldMap.dbtUnits = b[2] & 1;
  fieldMap.moistUnits = (b[2] >> 1) & 1;
  fieldMap.solUnits = (b[2] >> 2) & 1;
  fieldMap.windUnits = (b[2] >> 3) % 3;
  const int first = b[3] % 8 + 1;
  const bool optional = (b[3] & 0x80) != 0;
  const auto layout = kestrum::CsvLayout(fieldMap.dateInd, fieldMap.moistInd, fieldMap.solarInd);
  for (size_t slot = 0; slot < layout.size(); ++slot) {
    if (layout[slot].required || optional) fieldMap.columns[slot] = std::to_string(first + slot);
  }
  return fieldMap;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 4) return 0;
  const std::string_view content(reinterpret_cast<const char*>(data) + 4, size - 4);
  (void)kestrum::HourOfYearOfDateField(content.substr(0, 64));

  const std::string path = WorkDir() + "/in.csv";
  std::ofstream(path, std::ios::binary | std::ios::trunc).write(content.data(),
                                                                static_cast<std::streamsize>(content.size()));
  kestrum::HourlyTable table;
  table.ResetOptionalSeries();
  kestrum::RunState state;
  state.outputBaseName = "fuzz";
  kestrum::SilentUi ui;
  const kestrum::RunLog log;  // no log file: a failed value writes nothing
  kestrum::StageContext ctx{table, state, ui, log, WorkDir()};
  try {
    kestrum::ReadCSVData(path, FieldMapFrom(data), ctx);
  } catch (const kestrum::RunError&) {
  }
  return 0;
}
