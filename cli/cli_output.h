#pragma once

#include <cstdio>
#include <string_view>

namespace vesko::cli {

/// Writes `text` as it is.
void Print(std::FILE* stream, std::string_view text);

/// Writes a message and its line end. Messages may name folders and files: their control characters
/// are shown escaped, so that a message stays one line; the console reads the system's code page.
void PrintMessage(std::FILE* stream, std::string_view message);

/// Says on `err` that standard output could not be written, with the reason of errno `code` (0: none
/// known), and gives the exit status for it.
int ReportOutputFailed(int code, std::FILE* err);

}  // namespace vesko::cli
