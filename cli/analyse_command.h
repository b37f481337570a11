#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace vesko::cli {

/// The name of the analysis command on the command line.
inline constexpr const char* kAnalyseCommand = "analyse";

/// One line for the general help that names the analysis command.
std::string AnalyseSummaryLine();

/// Runs "vesko-script analyse FILE [--threshold T]" on the arguments after "analyse": prints
/// cross_x, a0, a1 and b0 to `out` (exit 0); a stopped run gives its message on `err` (exit 1),
/// a usage error exit 2 and an unreadable file "Cannot read <file>: <reason>" (exit 3).
int RunAnalyseCommand(const std::vector<std::string>& args, std::FILE* out, std::FILE* err);

}  // namespace vesko::cli
