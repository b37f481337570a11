#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace vesko {

/// Where a script goes, one complete line at a time; the sink adds the CR LF line end.
class LineSink {
 public:
  virtual ~LineSink() = default;
  /// Appends one line (without its line end) followed by CR LF.
  virtual void WriteLine(std::string_view line) = 0;
};

/// Keeps every line in memory, CR LF included: for tests and previews of small scripts.
class StringSink final : public LineSink {
 public:
  void WriteLine(std::string_view line) override;
  const std::string& text() const { return text_; }
  std::size_t lineCount() const { return lines_; }

 private:
  std::string text_;
  std::size_t lines_ = 0;
};

/// Streams lines to a C stream (standard output) through a fixed buffer; memory stays flat.
class StreamSink final : public LineSink {
 public:
  explicit StreamSink(std::FILE* stream) : stream_(stream) {}
  ~StreamSink() override;
  void WriteLine(std::string_view line) override;
  /// Writes out what is buffered; false if any write failed so far.
  bool Flush();

 private:
  std::FILE* stream_;
  std::string buffer_;
  bool failed_ = false;
};

}  // namespace vesko
