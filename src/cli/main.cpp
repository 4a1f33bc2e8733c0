// kestrum-cli: converts weather files without the desktop program.
#include <CLI/CLI.hpp>

#include "cli/commands.h"
#include "run/run_checks.h"

int main(int argc, char** argv) {
  using namespace kestrum::cli;
  CLI::App app{"Kestrum: converts hourly weather data into a packed .bin weather file.",
               "kestrum-cli"};
  app.set_version_flag("--version", std::string("kestrum-cli ") + KESTRUM_VERSION);
  app.require_subcommand(1);

  ConvertOptions convert;
  CLI::App* conv = app.add_subcommand(
      "convert", "Convert an EPW weather file: read, clean, format, pack into NAME.bin.");
  conv->add_option("input", convert.input, "The EPW file to convert")->required();
  conv->add_option("--out", convert.outDir,
                   "Directory that receives NAME.bin (default: the current directory; created "
                   "when missing)");
  conv->add_option("--interim", convert.interimDir,
                   "Directory for the run files: NAME-orig.csv, postclean-b.csv, NAME-final.csv, "
                   "NAME.ft (default: the --out directory; created when missing)");
  conv->add_option("--name", convert.name,
                   "Base name of the output files (default: the input's file name without its "
                   "extension)")
      ->check(CLI::Validator(
          [](std::string& name) { return kestrum::OutputNameProblem(name); }, "", "NAME"));
  conv->add_flag("--use-rh", convert.useRelHum,
                 "Take relative humidity instead of the dew point for moisture");
  conv->add_flag("--calc-dn", convert.calcDirectNormal,
                 "Estimate direct-normal radiation from global horizontal radiation for every "
                 "hour instead of using the file's direct-normal field");
  conv->add_option("--log", convert.logFile, "Append the run log to this file (default: none)");
  conv->add_flag("--detailed-log", convert.detailedLog,
                 "Log every value the cleaning pass replaces (needs --log)");
  conv->add_option("--settings", convert.settingsFile,
                   "Take the cleaning limits and EPW options from a Kestrum settings file "
                   "(the desktop program's .INI)");
  conv->add_flag("-q,--quiet", convert.quiet, "Print no progress lines");

  UnpackOptions unpack;
  CLI::App* unp = app.add_subcommand(
      "unpack", "Check a .bin weather file and rebuild the FT text file it was packed from.");
  unp->add_option("bin", unpack.binFile, "The .bin file")->required();
  unp->add_option("-o,--output", unpack.ftFile,
                  "The FT file to write (default: the .bin path with the extension .ft)");

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    const int status = app.exit(e);
    return status == 0 ? kExitOk : kExitUsage;
  }
  if (*conv) return RunConvert(convert);
  return RunUnpack(unpack);
}
