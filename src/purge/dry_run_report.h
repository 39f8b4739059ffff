#pragma once
// The report of a dry run, as the command line prints it on standard output.

#include <string>

#include "purge/dry_run.h"

namespace sorvane {

// One "Name: value" line per finding, each line ended by '\n'.
std::string FormatDryRunReport(const DryRunFindings& findings);

}  // namespace sorvane
