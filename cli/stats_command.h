#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace vesko::cli {

/// The name of the figures command on the command line.
inline constexpr const char* kStatsCommand = "stats";

/// One line for the general help that names the figures command.
std::string StatsSummaryLine();

/// Runs "vesko-script stats FILE [--json]" on the arguments after "stats": prints the figures of
/// every series of a result file as key=value blocks, or as one JSON document (exit 0); a file with
/// no series exits 1, a usage error 2 and an unreadable file 3 with "Cannot read <file>: <reason>".
int RunStatsCommand(const std::vector<std::string>& args, std::FILE* out, std::FILE* err);

}  // namespace vesko::cli
