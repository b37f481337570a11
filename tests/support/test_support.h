#pragma once

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace vesko::test {

/// A fresh, empty folder of its own under the system's temporary folder, removed with all it holds.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  /// The folder's path (UTF-8, no trailing separator).
  const std::string& path() const { return path_; }
  /// The path of `name` inside the folder.
  std::string File(const std::string& name) const;

 private:
  std::string path_;
};

/// The whole content of a file; empty when it cannot be read.
std::string ReadFileBytes(const std::string& path);

/// Creates or replaces a file with exactly these bytes; false when that fails.
bool WriteFileBytes(const std::string& path, const std::string& bytes);

/// The names of the entries of a folder, sorted.
std::vector<std::string> ListFolder(const std::string& folder);

/// The lines, each ended by CR LF: the line ends of every script and settings file.
std::string Lines(const std::vector<std::string>& lines);

/// `text` with a CR before every LF: golden texts are written with plain line feeds.
std::string Crlf(const std::string& text);

/// The CR LF-ended lines of `text`, without their ends.
std::vector<std::string> SplitLines(const std::string& text);

/// A command's exit status and what it printed.
struct Captured {
  int code = -1;
  std::string out;
  std::string err;
  /// The first line on standard error, without its end.
  std::string FirstErrorLine() const { return err.substr(0, err.find('\n')); }
};

/// Runs `command` with fresh temporary files as its standard output and standard error.
Captured Capture(const std::function<int(std::FILE* out, std::FILE* err)>& command);

/// Success when the texts are equal; otherwise names the first differing line and shows both.
::testing::AssertionResult SameText(const std::string& expected, const std::string& actual);

}  // namespace vesko::test
