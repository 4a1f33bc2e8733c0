// kestrum-cli: converts weather files without the desktop program.
#include <CLI/CLI.hpp>

#include <algorithm>

#include "cli/batch_args.h"
#include "cli/commands.h"
#include "cli/option_checks.h"
#include "run/run_checks.h"

int main(int argc, char** argv) {
  using namespace kestrum::cli;
  CLI::App app{"Kestrum: converts hourly weather data into a packed .bin weather file.",
               "kestrum-cli"};
  app.set_version_flag("--version", std::string("kestrum-cli ") + KESTRUM_VERSION);
  app.require_subcommand(1);

  ConvertOptions convert;
  CLI::App* conv = app.add_subcommand(
      "convert", "Convert an EPW or CSV weather file: read, clean, format, pack into NAME.bin.");
  conv->add_option("input", convert.input, "The EPW or CSV file to convert")->required();
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
  AddCsvOptions(*conv, convert.csv);
  AddTimeOptions(*conv, convert.time);
  conv->add_option("--report", convert.reportFile,
                   "Write what the run repaired and its monthly values to this file: JSON, or "
                   "an HTML page with pictures of the year when the name ends in .html (its "
                   "folder is created when missing)");
  conv->add_option("--units", convert.reportUnits,
                   "Units of the report's values: si (deg C, m/s, W/m2, kWh/m2; the default) or "
                   "ip (deg F, mph, Btu/h-ft2, kBtu/ft2)")
      ->check(CLI::IsMember({"si", "ip"}));
  conv->add_option("--epw-out", convert.epwOutFile,
                   "Also write the repaired year as an EPW file (its folder is created when "
                   "missing): an EPW input keeps its rows, only the repaired fields rewritten; a "
                   "CSV input gives a complete file from the site and the converted values");

  BatchOptions batch;
  CLI::App* bat = app.add_subcommand(
      "batch", "Convert many weather files, each as convert would, in worker processes.");
  bat->add_option("inputs", batch.inputs,
                  "Weather files, or directories whose *.epw and *.csv files are taken")
      ->required();
  bat->add_option("--out", batch.outDir,
                  "Directory that receives every NAME.bin; the run files, log and report of "
                  "each input go to DIR/runs/NAME/ (created when missing)")
      ->required();
  bat->add_option("-j,--jobs", batch.jobs, "Worker processes (default: one per core)")
      ->check(WorkerCount());
  bat->add_option("--timeout", batch.timeoutSeconds,
                  "Stop a conversion still running after this many seconds (default: 120)")
      ->check(TimeLimit());
  bat->add_option("--summary", batch.summaryFile, "Also write the summary table to this CSV file");
  bat->add_flag("-q,--quiet", batch.quiet, "Print only the summary table");
  bat->add_flag("--epw-out", batch.epwOut,
                "Also write each input's repaired year as an EPW file, NAME.epw in the --out "
                "directory");
  bat->footer("Options of convert (--use-rh, --calc-dn, --settings, --detailed-log, --units, "
              "--subhourly, --time-shift, --utc, ...) are handed on to each input's "
              "conversion.");

  InspectOptions inspect;
  CLI::App* ins = app.add_subcommand(
      "inspect",
      "Tell what a weather file is and how it would convert, writing nothing: its layout, "
      "site, data rows, stamps, time step, columns, the column of each item, what is "
      "missing, and the convert command that converts it.");
  ins->add_option("input", inspect.input, "The EPW or CSV file to inspect")->required();
  ins->add_flag("--json", inspect.json,
                "Print JSON (keys layout, site, rows, step_minutes, time_base, leap_day, "
                "columns, field_map, missing, command, ...) instead of text");

  UnpackOptions unpack;
  CLI::App* unp = app.add_subcommand(
      "unpack", "Check a .bin weather file and rebuild the FT text file it was packed from.");
  unp->add_option("bin", unpack.binFile, "The .bin file")->required();
  unp->add_option("-o,--output", unpack.ftFile,
                  "The FT file to write (default: the .bin path with the extension .ft)");

  try {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (!args.empty() && args[0] == "batch") {
      batch.conversionArgs = TakeConversionOptions(*conv, *bat, args);
      if (!batch.conversionArgs.empty()) {  // checked as convert checks them, before any run
        std::vector<std::string> check = {"convert", "input.epw"};
        check.insert(check.end(), batch.conversionArgs.begin(), batch.conversionArgs.end());
        std::reverse(check.begin(), check.end());  // CLI11 takes a vector last argument first
        app.parse(check);
      }
      std::reverse(args.begin(), args.end());
      app.parse(args);
    } else {
      app.parse(argc, argv);
    }
  } catch (const CLI::ParseError& e) {
    const int status = app.exit(e);
    return status == 0 ? kExitOk : kExitUsage;
  }
  if (*conv) return RunConvert(convert);
  if (*bat) return RunBatch(batch);
  if (*ins) return RunInspect(inspect);
  return RunUnpack(unpack);
}
