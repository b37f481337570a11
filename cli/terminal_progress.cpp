#include "cli/terminal_progress.h"

#include <utility>

#include "core/platform.h"
#include "core/shown_text.h"

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace vesko::cli {

bool IsTerminal(std::FILE* stream) {
#ifdef _WIN32
  return _isatty(_fileno(stream)) != 0;
#else
  return isatty(fileno(stream)) != 0;
#endif
}

TerminalProgress::TerminalProgress(std::FILE* terminal, std::string fileName, std::uint64_t totalLines)
    : terminal_(terminal), fileName_(std::move(fileName)), total_(totalLines) {}

void TerminalProgress::Update(std::uint64_t linesWritten) {
  const std::uint64_t done = linesWritten < total_ ? linesWritten : total_;
  const int percent = total_ == 0 ? 100 : static_cast<int>(done * 100 / total_);
  if (percent != shown_) {
    Draw(percent);
  }
}

void TerminalProgress::End(bool complete) {
  if (complete && shown_ != 100) {
    Draw(100);
  }
  if (shown_ >= 0) {
    std::fputs("\n", terminal_);
    std::fflush(terminal_);
  }
}

void TerminalProgress::Draw(int percent) {
  shown_ = percent;
  // The file name as the messages show it: control characters escaped, in the system's code page.
  std::string figure = std::to_string(percent);
  figure.insert(0, 3 - figure.size(), ' ');
  const std::string line = "\rWriting " + ToFileText(ShownText(fileName_)) + ": " + figure + "% of " +
                           std::to_string(total_) + " lines";
  std::fwrite(line.data(), 1, line.size(), terminal_);
  std::fflush(terminal_);
}

}  // namespace vesko::cli
