#include "analysis/result_file.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string_view>
#include <system_error>
#include <vector>

#include "core/numbers.h"
#include "core/os_file.h"
#include "core/shown_text.h"

namespace vesko {
namespace {

// Hands out the lines of a file in order (without their CR, LF or CR LF), reading it in large
// pieces through one buffer: a file of a million rows is never held whole in memory.
class LineReader {
 public:
  explicit LineReader(os::InputFile& in) : in_(in), buffer_(kFirstPiece) {}

  /// The next line; empty at the end of the file, once a read has failed, and from a line longer than
  /// kMaxLine on (no more of the file is read).
  std::optional<std::string_view> Next() {
    for (;;) {
      std::size_t end = pos_;
      while (end < filled_ && buffer_[end] != '\r' && buffer_[end] != '\n') {
        ++end;
      }
      if (end - pos_ > kMaxLine) {
        pos_ = filled_ = 0;
        atEnd_ = true;
        return std::nullopt;
      }
      // A CR that ends the piece may be the first half of CR LF: read on before deciding.
      const bool maybeSplitCrLf = end + 1 == filled_ && buffer_[end] == '\r';
      if (end < filled_ && !(maybeSplitCrLf && !atEnd_)) {
        const std::string_view line(buffer_.data() + pos_, end - pos_);
        pos_ = end + 1;
        if (buffer_[end] == '\r' && pos_ < filled_ && buffer_[pos_] == '\n') {
          ++pos_;
        }
        return line;
      }
      if (atEnd_) {
        if (pos_ == filled_) {
          return std::nullopt;
        }
        const std::string_view line(buffer_.data() + pos_, filled_ - pos_);
        pos_ = filled_;
        return line;
      }
      ReadPiece();
    }
  }

  /// True when a read failed (not merely reached the end of the file).
  bool failed() const { return failed_; }

 private:
  // A short file gets a small buffer; a long one grows it to kPiece within a few reads.
  static constexpr std::size_t kFirstPiece = 1 << 16;
  static constexpr std::size_t kPiece = 1 << 20;
  // Rows are a few numbers; a longer line is no row and ends the data, as a short row does.
  static constexpr std::size_t kMaxLine = 64 * 1024;

  // Keeps the unread rest of the buffer, moved to its front, and appends the next piece of the file.
  void ReadPiece() {
    std::copy(buffer_.begin() + static_cast<std::ptrdiff_t>(pos_),
              buffer_.begin() + static_cast<std::ptrdiff_t>(filled_), buffer_.begin());
    filled_ -= pos_;
    pos_ = 0;
    // Doubled for a line longer than the buffer, and while a long file fills every read.
    if (filled_ == buffer_.size() || (lastReadFilled_ && buffer_.size() < kPiece)) {
      buffer_.resize(buffer_.size() * 2);
    }
    const std::optional<std::size_t> count = in_.Read(buffer_.data() + filled_, buffer_.size() - filled_);
    failed_ = !count;
    filled_ += count.value_or(0);
    lastReadFilled_ = filled_ == buffer_.size();
    atEnd_ = count.value_or(0) == 0;
  }

  os::InputFile& in_;
  std::vector<char> buffer_;
  std::size_t pos_ = 0;
  std::size_t filled_ = 0;
  bool atEnd_ = false;
  bool lastReadFilled_ = false;
  bool failed_ = false;
};

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

// x and y of one data line, or nothing when the line ends the data.
std::optional<std::pair<double, double>> ParseRow(std::string_view line) {
  // Fields are taken from this line only, so a short row cannot take fields from the next one.
  std::size_t pos = 0;
  double values[3];
  for (double& value : values) {
    const std::optional<std::string_view> field = NextField(line, pos);
    const std::optional<double> number = field ? ToDouble(*field) : std::nullopt;
    if (!number) {
      return std::nullopt;
    }
    value = *number;
  }
  return std::pair(values[0], values[2]);
}

// Room for the rows of a file of `fileSize` bytes whose first data line is `first` bytes long
// (line end included), with some to spare: the columns then do not grow, and copy, row by row.
std::size_t ExpectedRows(std::uintmax_t fileSize, std::size_t first) {
  const std::uintmax_t rows = fileSize / std::max<std::size_t>(first, 1);
  return static_cast<std::size_t>(std::min<std::uintmax_t>(rows + rows / 8 + 16, std::uintmax_t{1} << 24));
}

Result<ResultRows> Refuse(const std::string& path, const std::string& reason) {
  return Result<ResultRows>::Refused("Cannot read " + ShownText(path) + ": " + reason);
}

}  // namespace

Result<ResultRows> ReadResultFile(const std::string& path) {
  // A FIFO or a device is refused before it is opened: it could block or never end.
  std::optional<os::OsError> error;
  os::InputFile in = os::InputFile::OpenRegular(path, error);
  if (!in.IsOpen()) {
    return Refuse(path, error->reason);
  }
  const std::uintmax_t fileSize = in.size();

  ResultRows rows;
  LineReader lines(in);
  std::optional<std::string_view> header = lines.Next();
  std::size_t consumed = header ? header->size() : 0;
  while (std::optional<std::string_view> line = lines.Next()) {
    const std::optional<std::pair<double, double>> row = ParseRow(*line);
    if (!row) {
      break;
    }
    if (rows.x.empty()) {
      const std::size_t expected =
          ExpectedRows(fileSize - std::min<std::uintmax_t>(consumed, fileSize), line->size() + 2);
      rows.x.reserve(expected);
      rows.y.reserve(expected);
    }
    rows.x.push_back(row->first);
    rows.y.push_back(row->second);
  }
  if (lines.failed()) {
    return Refuse(path, std::make_error_code(std::errc::io_error).message());
  }
  return rows;
}

}  // namespace vesko
