// "kestrum --export-charts BASE [--interim DIR] [--to DIR]": the review charts of a run,
// rendered from its review files into PNG files without showing a window, and its wind
// sectors as a table.
#pragma once

#include <string>
#include <vector>

namespace kestrum {

// True when the command line asks for the chart export.
bool IsChartExport(int argc, char** argv);

// The whole command: parses the arguments, starts Qt (on the offscreen platform unless
// QT_QPA_PLATFORM names another), renders. Returns the exit status: 0, or 1 after one
// message on stderr.
int RunChartExportCommand(int argc, char** argv);

// The overview chart for Temperature, Solar and Wind of the final and the original data,
// the detailed chart comparing dry bulb and global horizontal radiation, the wind profile
// with its numbers, and BASE-wind-sectors.csv (the sector counts of the final data). Needs
// a QApplication. Returns the files written; throws RunError with the reason it stopped.
std::vector<std::string> ExportCharts(const std::string& base, const std::string& interimDir,
                                      const std::string& toDir);

}  // namespace kestrum
