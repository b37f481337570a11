#include "core/line_sink.h"

#include <algorithm>

#include "core/format.h"
#include "core/platform.h"

namespace vesko {
namespace {
// Large enough that the system call per buffer costs nothing next to the bytes it moves.
constexpr std::size_t kBufferSize = 256 * 1024;
constexpr std::string_view kLineEnd = "\r\n";
}  // namespace

void LineSink::WriteLines(std::string_view lines) {
  while (!lines.empty()) {
    const std::size_t end = std::min(lines.find(kLineEnd), lines.size());
    WriteLine(lines.substr(0, end));
    lines.remove_prefix(std::min(end + kLineEnd.size(), lines.size()));
  }
}

LineBlock& LineBlock::AddF(double value) {
  used_ = static_cast<std::size_t>(WriteF(Room(kMaxFormattedLength), value) - storage_.data());
  return *this;
}

LineBlock& LineBlock::AddI(int value) {
  used_ = static_cast<std::size_t>(WriteI(Room(kMaxFormattedLength), value) - storage_.data());
  return *this;
}

LineBlock& LineBlock::AddPlain(int value) {
  used_ = static_cast<std::size_t>(WritePlain(Room(kMaxFormattedLength), value) - storage_.data());
  return *this;
}

void LineBlock::Grow(std::size_t count) {
  storage_.resize(std::max({storage_.size() * 2, used_ + count, std::size_t{1024}}));
}

void LineBlock::WriteTo(LineSink& out) {
  out.WriteLines(text());
  used_ = 0;
}

void StringSink::WriteLine(std::string_view line) {
  text_ += line;
  text_ += kLineEnd;
  ++lines_;
}

void StringSink::WriteLines(std::string_view lines) {
  text_ += lines;
  lines_ += static_cast<std::size_t>(std::count(lines.begin(), lines.end(), '\n'));
}

void CountingSink::WriteLine(std::string_view) {
  ++lines_;
}

void CountingSink::WriteLines(std::string_view lines) {
  lines_ += static_cast<std::uint64_t>(std::count(lines.begin(), lines.end(), '\n'));
}

BufferedSink::BufferedSink() {
  buffer_.reserve(kBufferSize);
}

void BufferedSink::WriteLine(std::string_view line) {
  if (buffer_.size() + line.size() + kLineEnd.size() > kBufferSize) {
    FlushBuffer();
  }
  AppendFileText(buffer_, line);
  buffer_ += kLineEnd;
}

void BufferedSink::WriteLines(std::string_view lines) {
  if (buffer_.size() + lines.size() > kBufferSize) {
    FlushBuffer();
  }
  AppendFileText(buffer_, lines);
}

void BufferedSink::FlushBuffer() {
  if (!buffer_.empty()) {
    Emit(buffer_);
  }
  buffer_.clear();
}

StreamSink::StreamSink(std::FILE* stream) : stream_(stream) {}

StreamSink::~StreamSink() {
  Flush();
}

void StreamSink::Emit(std::string_view bytes) {
  if (std::fwrite(bytes.data(), 1, bytes.size(), stream_) != bytes.size()) {
    failed_ = true;
  }
}

bool StreamSink::Flush() {
  FlushBuffer();
  if (std::fflush(stream_) != 0 || std::ferror(stream_) != 0) {
    failed_ = true;
  }
  return !failed_;
}

}  // namespace vesko
