#include "csv/csv_reader.h"

#include "run/run_error.h"

namespace kestrum {

bool ReadCSVData(const std::string& /*path*/, const CsvFieldSpec& /*spec*/, StageContext& /*ctx*/) {
  throw RunError("CSV conversion is not available in this version.");
}

}  // namespace kestrum
