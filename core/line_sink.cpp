#include "core/line_sink.h"

#include "core/platform.h"

namespace vesko {
namespace {
constexpr std::size_t kBufferSize = 64 * 1024;
}

void StringSink::WriteLine(std::string_view line) {
  text_ += line;
  text_ += "\r\n";
  ++lines_;
}

StreamSink::~StreamSink() {
  Flush();
}

void StreamSink::WriteLine(std::string_view line) {
  buffer_ += ToFileText(line);
  buffer_ += "\r\n";
  if (buffer_.size() >= kBufferSize) {
    if (std::fwrite(buffer_.data(), 1, buffer_.size(), stream_) != buffer_.size()) {
      failed_ = true;
    }
    buffer_.clear();
  }
}

bool StreamSink::Flush() {
  if (!buffer_.empty()) {
    if (std::fwrite(buffer_.data(), 1, buffer_.size(), stream_) != buffer_.size()) {
      failed_ = true;
    }
    buffer_.clear();
  }
  if (std::fflush(stream_) != 0 || std::ferror(stream_) != 0) {
    failed_ = true;
  }
  return !failed_;
}

}  // namespace vesko
