// Checks of command-line values beyond the form CLI11 checks: each refusal is a usage error
// (exit status 2) that names the option, or the settings file and its key, before anything
// is written.
#pragma once

#include <string>

#include "cli/csv_options.h"
#include "csv/layout_match.h"

namespace CLI {
class Validator;
}

namespace kestrum::cli {

// --jobs N: a whole number of worker processes, 1 or more.
CLI::Validator WorkerCount();

// --timeout SECONDS: a number of seconds above 0.
CLI::Validator TimeLimit();

// The values of section "CSV Specs" of the settings file that a CSV conversion with these
// options takes (CsvSpecsProblems): throws CsvUsageError naming the file, the key and its
// text for the first that cannot be used. A value a flag gives anew is not looked at; with
// --layout no value of the section is taken.
void CheckCsvSettings(const std::string& settingsFile, const CsvCliOptions& options);

// The field map and site a CSV conversion resolved to. Throws CsvUsageError when an item
// lacks its column or a site value does not convert and the value came from a flag, from
// the settings or from nowhere, or when --site-desc holds a line break; InputError naming
// the file and its site line when the value came from the file's own site (layout: the
// layout the file was read by, else null).
void CheckResolvedCsvRun(const CsvFieldMap& fieldMap, const SiteInfo& site,
                         const CsvCliOptions& options, const LayoutMatch* layout);

}  // namespace kestrum::cli
