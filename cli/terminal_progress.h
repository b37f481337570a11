#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

namespace vesko::cli {

/// Scripts of more lines than this show how far their write has come when standard error is a terminal.
inline constexpr std::uint64_t kTerminalProgressLines = 1000000;

/// True when `stream` is a terminal that someone watches, not a file or a pipe.
bool IsTerminal(std::FILE* stream);

/// One line on a terminal, redrawn in place: "Writing run1.tcl: 45% of 9928466 lines".
class TerminalProgress {
 public:
  TerminalProgress(std::FILE* terminal, std::string fileName, std::uint64_t totalLines);
  /// Redraws the line when the percentage has changed.
  void Update(std::uint64_t linesWritten);
  /// Ends the line, at 100% when the write is complete, so that what follows starts on a line of its own.
  void End(bool complete);

 private:
  void Draw(int percent);

  std::FILE* terminal_;
  std::string fileName_;
  std::uint64_t total_;
  int shown_ = -1;
};

}  // namespace vesko::cli
