// The whole conversion of an EPW file, as kestrum-cli runs it, into a scratch directory:
// it converts, fails in a stage, or stops with an error, and a ".bin" it makes unpacks to
// exactly the FT file it was packed from. A first byte below 4 chooses the options (bit 0:
// relative humidity, bit 1: estimate every direct normal) and is not part of the file.
#include <cstddef>
#include <cstdint>
#include <exception>
#include <fstream>
#include <iterator>
#include <memory>

#include "epw/epw_header.h"
#include "format/outside_libraries.h"
#include "ftpack/unpack.h"
#include "fuzz_support.h"
#include "run/process.h"

using namespace kestrum;

namespace {

OutsideLibraries& Libraries() {
  static std::unique_ptr<OutsideLibraries> libs = OutsideLibraries::Load(ProgramDirectory());
  return *libs;
}

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  int options = 0;
  if (size > 0 && data[0] < 4) {
    options = data[0];
    ++data;
    --size;
  }
  const std::string source = fuzz::WriteInput("in.epw", data, size);
  const std::string work = (fuzz::ScratchDir() / "work").string();
  std::filesystem::create_directories(work);

  RunRequest request;
  request.sourceFile = source;
  request.outputFileName = "fuzz.BIN";
  request.outputDir = work;
  request.interimDir = work;
  request.programDir = work;
  request.epw.useRelHum = (options & 1) != 0;
  request.epw.calcDirectNormal = (options & 2) != 0;
  HourlyTable table;
  RunState state;
  state.automaticMode = true;
  SilentUi ui;
  RunLog log;
  RunServices services{table, state, ui, log, Libraries()};
  RunOutcome outcome;
  try {
    EpwHeader header;
    ReadEPWHeader(source, header);
    request.site = header.site;
    outcome = Process(request, services);
  } catch (const std::exception&) {
    return 0;  // refused with a message: a fine answer to a bad file
  }
  if (!outcome.converted) return 0;
  if (ftpack::UnpackBin(work + "/fuzz.bin") != ReadAll(work + "/fuzz.ft")) {
    fuzz::Broken("the .bin does not unpack to its FT file");
  }
  return 0;
}
