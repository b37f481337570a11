#include "analysis/result_file.h"

#include <algorithm>
#include <cstring>
#include <system_error>

#include "analysis/rows_ahead.h"
#include "core/numbers.h"
#include "core/os_file.h"
#include "core/shown_text.h"

#ifdef __linux__
#include <sys/mman.h>
#endif

namespace vesko {
namespace {

// A short file gets a small buffer; a long one grows it to kPiece within a few reads.
constexpr std::size_t kFirstPiece = 1 << 16;
constexpr std::size_t kPiece = 1 << 17;
// After the bytes read: a NUL, which ends every row read straight from the buffer.
constexpr std::size_t kPadding = 1;

// The next comma-separated field of `line` from `pos`, read as ReadSettingsField reads one from a
// stream holding just this line: blanks before it skipped; a field opened by a double quote runs to
// the next double quote, and the rest up to and including the next comma is skipped; otherwise it
// runs to the next comma, which is consumed, and loses its trailing blanks. Empty at the line's end.
std::optional<std::string_view> NextField(std::string_view line, std::size_t& pos) {
  if (pos >= line.size()) {
    return std::nullopt;
  }
  while (pos < line.size() && (line[pos] == ' ' || line[pos] == '\t')) {
    ++pos;
  }
  if (pos < line.size() && line[pos] == '"') {
    const std::size_t start = pos + 1;
    const std::size_t quote = std::min(line.find('"', start), line.size());
    const std::size_t comma = quote < line.size() ? line.find(',', quote + 1) : std::string_view::npos;
    pos = comma == std::string_view::npos ? line.size() : comma + 1;
    return line.substr(start, quote - start);
  }
  const std::size_t comma = std::min(line.find(',', pos), line.size());
  std::string_view field = line.substr(pos, comma - pos);
  pos = comma < line.size() ? comma + 1 : comma;
  while (!field.empty() && (field.back() == ' ' || field.back() == '\t')) {
    field.remove_suffix(1);
  }
  return field;
}

}  // namespace

ResultLines::ResultLines(const std::string& path) : path_(path) {
  // A FIFO or a device is refused before it is opened: it could block or never end.
  std::optional<os::OsError> error;
  in_ = os::InputFile::OpenRegular(path, error);
  if (!in_.IsOpen()) {
    error_ = "Cannot read " + ShownText(path) + ": " +
             (error ? error->reason : std::string(os::kNotRegularReason));
    return;
  }
  size_ = in_.size();
  buffer_.resize(kFirstPiece + kPadding);
}

bool ResultLines::NextPlainRow(std::span<double> out, std::uint32_t kept) {
  if (!error_.empty()) {
    return false;
  }
  const std::size_t taken = plainRows_.Read(buffer_.data() + pos_, buffer_.data() + filled_, out, kept);
  if (taken == 0) {
    return false;
  }
  pos_ += taken;
  lastLineEnded_ = true;
  return true;
}

std::optional<std::string_view> ResultLines::Next() {
  if (!error_.empty()) {
    return std::nullopt;
  }
  for (;;) {
    const char* base = buffer_.data();
    const char* from = base + pos_;
    const std::size_t rest = filled_ - pos_;
    const auto* lf = static_cast<const char*>(std::memchr(from, '\n', rest));
    const auto* cr =
        static_cast<const char*>(std::memchr(from, '\r', lf ? static_cast<std::size_t>(lf - from) : rest));
    const char* stop = cr ? cr : lf;
    std::size_t end = stop ? static_cast<std::size_t>(stop - base) : filled_;
    // A CR that ends the piece may be the first half of CR LF: read on before deciding.
    const bool maybeSplitCrLf = end + 1 == filled_ && buffer_[end] == '\r';
    if (stop && !(maybeSplitCrLf && !atEnd_)) {
      std::string_view line(base + pos_, end - pos_);
      pos_ = end + 1;
      if (buffer_[end] == '\r' && pos_ < filled_ && buffer_[pos_] == '\n') {
        ++pos_;
      }
      if (skipping_ || line.size() > kMaxResultLine) {
        skipping_ = false;
        line = kOverlongLine;
      }
      lastLineEnded_ = true;
      return line;
    }
    if (atEnd_) {
      if (pos_ == filled_ && !skipping_) {
        return std::nullopt;
      }
      std::string_view line(base + pos_, filled_ - pos_);
      pos_ = filled_;
      lastLineEnded_ = false;
      if (skipping_ || line.size() > kMaxResultLine) {
        skipping_ = false;
        line = kOverlongLine;
      }
      return line;
    }
    // A line past the limit is not kept: its bytes are dropped until its end comes.
    if (skipping_ || end - pos_ > kMaxResultLine) {
      skipping_ = true;
      pos_ = filled_ - (maybeSplitCrLf ? 1 : 0);
    }
    if (!ReadPiece()) {
      error_ = "Cannot read " + ShownText(path_) + ": " + std::make_error_code(std::errc::io_error).message();
      return std::nullopt;
    }
  }
}

bool ResultLines::StopAt(std::uintmax_t offset) {
  if (offset < readBytes_) {
    return false;
  }
  stop_ = offset;
  return true;
}

bool ResultLines::ResumeAt(std::uintmax_t offset) {
  if (!error_.empty()) {
    return false;
  }
  if (!in_.Seek(offset)) {
    error_ = "Cannot read " + ShownText(path_) + ": " + std::make_error_code(std::errc::io_error).message();
    return false;
  }
  stop_ = UINTMAX_MAX;
  readBytes_ = offset;
  pos_ = filled_ = 0;
  buffer_[0] = '\0';
  atEnd_ = lastReadFilled_ = skipping_ = false;
  return true;
}

std::optional<std::uintmax_t> ResultLines::ResumeAfterLineEnd(std::uintmax_t offset) {
  if (!ResumeAt(offset) || !ReadPiece()) {
    return std::nullopt;
  }
  const auto* lf = static_cast<const char*>(std::memchr(buffer_.data(), '\n', filled_));
  if (!lf) {
    return std::nullopt;
  }
  pos_ = static_cast<std::size_t>(lf - buffer_.data()) + 1;
  return this->offset();
}

// Keeps the unread rest of the buffer, moved to its front, and appends the next piece of the file.
bool ResultLines::ReadPiece() {
  std::copy(buffer_.begin() + static_cast<std::ptrdiff_t>(pos_),
            buffer_.begin() + static_cast<std::ptrdiff_t>(filled_), buffer_.begin());
  filled_ -= pos_;
  pos_ = 0;
  // Doubled for a line longer than the buffer, and while a long file fills every read.
  std::size_t room = buffer_.size() - kPadding;
  if (filled_ == room || (lastReadFilled_ && room < kPiece)) {
    room *= 2;
    buffer_.resize(room + kPadding);
  }
  const std::size_t wanted =
      static_cast<std::size_t>(std::min<std::uintmax_t>(room - filled_, stop_ - readBytes_));
  const std::optional<std::size_t> count =
      wanted == 0 ? std::optional<std::size_t>(0) : in_.Read(buffer_.data() + filled_, wanted);
  filled_ += count.value_or(0);
  readBytes_ += count.value_or(0);
  buffer_[filled_] = '\0';
  lastReadFilled_ = filled_ == room;
  atEnd_ = count.value_or(0) == 0;
  return count.has_value();
}

bool ReadRowNumbers(std::string_view line, std::span<double> out) {
  // Fields are taken from this line only, so a short row cannot take fields from the next one.
  std::size_t pos = 0;
  for (double& value : out) {
    const std::optional<std::string_view> field = NextField(line, pos);
    const std::optional<double> number = field ? ToDouble(*field) : std::nullopt;
    if (!number) {
      return false;
    }
    value = *number;
  }
  return true;
}

std::size_t ExpectedRows(std::uintmax_t fileSize, std::size_t firstLine) {
  const std::uintmax_t rows = fileSize / std::max<std::size_t>(firstLine, 1);
  return static_cast<std::size_t>(std::min<std::uintmax_t>(rows + rows / 8 + 16, std::uintmax_t{1} << 24));
}

void AdviseLargePages([[maybe_unused]] const void* data, [[maybe_unused]] std::size_t bytes) {
#ifdef __linux__
  // Only whole, aligned stretches can be large pages; advice is all it is.
  const auto begin = reinterpret_cast<std::uintptr_t>(data);
  const std::uintptr_t first = (begin + kLargePage - 1) & ~(kLargePage - 1);
  const std::uintptr_t last = (begin + bytes) & ~(kLargePage - 1);
  if (last > first) {
    madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
  }
#endif
}

void ReserveColumn(std::vector<double>& column, std::size_t rows) {
  column.reserve(rows);
  AdviseLargePages(column.data(), column.capacity() * sizeof(double));
}

Result<ResultRows> ReadResultFile(const std::string& path) {
  ResultLines lines(path);
  ResultRows rows;
  std::optional<std::string_view> header = lines.Next();
  if (header && header->data() == kOverlongLine.data()) {
    return rows;  // a header past the limit ends the data as any such line does
  }
  const std::size_t consumed = header ? header->size() : 0;
  const std::uintmax_t firstRow = lines.offset();
  // A long file's second half is read meanwhile by a second thread (see ReadResultSet).
  RowsAhead ahead(lines, path, 3, {0, 2});
  const bool split = ahead.start() && lines.StopAt(*ahead.start());
  constexpr std::size_t keptColumns[] = {0, 2};
  const std::uint32_t kept = KeptFields(keptColumns);
  for (;;) {
    double values[3];
    if (!lines.NextPlainRow(values, kept)) {
      const std::optional<std::string_view> line = lines.Next();
      if (!line && split && lines.AtStop()) {
        std::vector<double>* columns[] = {&rows.x, &rows.y};
        if (!lines.ResumeAt(ahead.AppendTo(columns))) {
          break;
        }
        continue;
      }
      if (!line || !ReadRowNumbers(*line, values)) {
        break;
      }
    }
    if (rows.x.empty()) {
      const std::size_t expected =
          ExpectedRows(lines.size() - std::min<std::uintmax_t>(consumed, lines.size()),
                       static_cast<std::size_t>(lines.offset() - firstRow));
      ReserveColumn(rows.x, expected);
      ReserveColumn(rows.y, expected);
    }
    rows.x.push_back(values[0]);
    rows.y.push_back(values[2]);
  }
  if (!lines.error().empty()) {
    return Result<ResultRows>::Refused(lines.error());
  }
  return rows;
}

}  // namespace vesko
