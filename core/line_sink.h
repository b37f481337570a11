#pragma once

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

namespace vesko {

/// Where a script goes, one complete line at a time; the sink adds the CR LF line end.
class LineSink {
 public:
  virtual ~LineSink() = default;
  /// Appends one line (without its line end) followed by CR LF.
  virtual void WriteLine(std::string_view line) = 0;
  /// Appends several whole lines at once: each ends in CR LF in `lines` and holds no other line end.
  /// The same as one WriteLine per line, which is what this default does.
  virtual void WriteLines(std::string_view lines);
};

/// A few whole lines built piece by piece and handed to a sink in one write. The block keeps its
/// storage when written, so that a long script of short blocks allocates nothing per line.
class LineBlock {
 public:
  /// Appends `text` to the line being built.
  LineBlock& Add(std::string_view text) {
    if (!text.empty()) {
      std::memcpy(Room(text.size()), text.data(), text.size());
      used_ += text.size();
    }
    return *this;
  }
  /// Appends the "#0.000" text of `value` (FormatF).
  LineBlock& AddF(double value);
  /// Appends the "00" text of `value` (FormatI).
  LineBlock& AddI(int value);
  /// Appends the plain text of `value` (FormatPlain).
  LineBlock& AddPlain(int value);
  /// Ends the line being built.
  LineBlock& EndLine() { return Add("\r\n"); }
  /// Appends a whole line.
  LineBlock& Line(std::string_view line) { return Add(line).EndLine(); }
  /// Writes the lines to `out` with one WriteLines and empties the block.
  void WriteTo(LineSink& out);
  /// The lines so far, each ended by CR LF.
  std::string_view text() const { return {storage_.data(), used_}; }

 private:
  // Where `count` more characters go; the storage only ever grows.
  char* Room(std::size_t count) {
    if (storage_.size() - used_ < count) {
      Grow(count);
    }
    return storage_.data() + used_;
  }
  void Grow(std::size_t count);

  std::string storage_;  // its size is the capacity; the first used_ characters hold the lines
  std::size_t used_ = 0;
};

/// Keeps every line in memory, CR LF included: for tests and previews of small scripts.
class StringSink final : public LineSink {
 public:
  void WriteLine(std::string_view line) override;
  void WriteLines(std::string_view lines) override;
  const std::string& text() const { return text_; }
  std::size_t lineCount() const { return lines_; }

 private:
  std::string text_;
  std::size_t lines_ = 0;
};

/// Counts lines and keeps nothing: how long a script will be, before it is written.
class CountingSink final : public LineSink {
 public:
  void WriteLine(std::string_view line) override;
  void WriteLines(std::string_view lines) override;
  std::uint64_t lineCount() const { return lines_; }

 private:
  std::uint64_t lines_ = 0;
};

/// Gathers lines in a fixed buffer (CR LF added, text as stored in files) and hands them on in large
/// pieces: the buffering shared by the stream sink and the safe file writer.
class BufferedSink : public LineSink {
 public:
  void WriteLine(std::string_view line) override;
  void WriteLines(std::string_view lines) override;
  /// False once a write of the buffered bytes has failed: nothing written after that can arrive.
  virtual bool ok() const = 0;

 protected:
  BufferedSink();
  /// Hands on everything buffered and empties the buffer.
  void FlushBuffer();
  /// Forgets what is buffered.
  void DropBuffer() { buffer_.clear(); }
  /// Takes one piece of the file's bytes.
  virtual void Emit(std::string_view bytes) = 0;

 private:
  std::string buffer_;
};

/// Streams lines to a C stream (standard output) through a fixed buffer; memory stays flat.
class StreamSink final : public BufferedSink {
 public:
  explicit StreamSink(std::FILE* stream);
  ~StreamSink() override;
  /// Writes out what is buffered; false if any write failed so far.
  bool Flush();
  bool ok() const override { return !failed_; }

 private:
  void Emit(std::string_view bytes) override;

  std::FILE* stream_;
  bool failed_ = false;
};

}  // namespace vesko
