#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace vesko {

/// Exit statuses of vesko-script.
enum CliExit : int { kExitDone = 0, kExitRefused = 1, kExitUsage = 2, kExitIoFailed = 3 };

/// Runs vesko-script on the arguments after the program name (UTF-8) and returns its exit status.
// It does what "File Create" does in a freshly opened generator window. The script (--stdout) and the
// help go to `out`; the window's message, or "Cannot write <file>: <reason>", is the first line on `err`.
int RunCli(const std::vector<std::string>& args, std::FILE* out, std::FILE* err);

}  // namespace vesko
