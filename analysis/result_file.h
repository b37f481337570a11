#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/plain_row.h"
#include "core/os_file.h"
#include "core/result.h"

namespace vesko {

/// The data rows of a result file in file order: blade-1 position and intensity of each point.
struct ResultRows {
  std::vector<double> x;
  std::vector<double> y;
};

/// Longest line a result file may hold; a longer one is handed out as kOverlongLine.
inline constexpr std::size_t kMaxResultLine = 64 * 1024;
/// Stands for a line longer than kMaxResultLine: no row and no header reads it, so it ends the data.
inline constexpr std::string_view kOverlongLine = "\x01(line too long)";

/// The lines of one result file in order, read in large pieces through one buffer: a file of a
/// million rows is never held whole in memory. Every reader of result files goes through it.
class ResultLines {
 public:
  /// Opens `path`; a folder, a device or a pipe is refused as not a regular file.
  explicit ResultLines(const std::string& path);

  /// "Cannot read <path>: <reason>" once opening or a read has failed; "" otherwise.
  const std::string& error() const { return error_; }
  /// The file's size when it was opened, in bytes.
  std::uintmax_t size() const { return size_; }
  /// The next line without its CR, LF or CR LF; empty at the end of the file or after a failure.
  std::optional<std::string_view> Next();
  /// Hands out no line at or past `offset`, a line start not yet read: the file then reads as if it
  /// ended there. False, with nothing changed, when reading has already passed it.
  bool StopAt(std::uintmax_t offset);
  /// True when Next last ended at the offset given to StopAt.
  bool AtStop() const { return error_.empty() && readBytes_ == stop_ && pos_ == filled_; }
  /// Goes on with the line that starts at `offset`, with no stop; false, and error() set, when the
  /// file cannot be read there.
  bool ResumeAt(std::uintmax_t offset);
  /// Goes on with the line that starts just past the first LF at or after `offset` (whatever came
  /// before an LF, a line starts after it) and returns where that is; empty when the first piece
  /// read from `offset` holds no LF or the read failed, and the reader is then of no further use.
  std::optional<std::uintmax_t> ResumeAfterLineEnd(std::uintmax_t offset);
  /// True when both read the same file, not merely files of the same name.
  bool SameFileAs(const ResultLines& other) const { return in_.IsSameFile(other.in_); }
  /// Where in the file the next line starts.
  std::uintmax_t offset() const { return readBytes_ - (filled_ - pos_); }
  /// Reads the next line as ReadRowNumbers would, and takes it, when it is a row that ReadPlainRow
  /// reads from the bytes at hand; false, with nothing taken, for any other line: Next then hands
  /// it out.
  /// Fields whose bit in `kept` (see KeptFields) is clear are read, but their values may be left unset.
  bool NextPlainRow(std::span<double> out, std::uint32_t kept = ~0u);
  /// False when the line Next last handed out ended the file without a line end.
  bool lastLineEnded() const { return lastLineEnded_; }

 private:
  // False when the read failed.
  bool ReadPiece();

  std::string path_;
  std::string error_;
  os::InputFile in_;
  std::uintmax_t size_ = 0;
  std::vector<char> buffer_;
  PlainRowReader plainRows_;
  std::size_t pos_ = 0;
  std::size_t filled_ = 0;
  std::uintmax_t readBytes_ = 0;
  std::uintmax_t stop_ = UINTMAX_MAX;
  bool atEnd_ = false;
  bool lastReadFilled_ = false;
  bool skipping_ = false;
  bool lastLineEnded_ = true;
};

/// Reads the first `out.size()` comma-separated fields of a line as numbers (each field as a
/// settings field is read: blanks around it dropped, a quoted field runs to its closing quote;
/// further fields are ignored). False when a field is missing, not numeric or out of range.
bool ReadRowNumbers(std::string_view line, std::span<double> out);

/// Room for the rows of a file of `fileSize` bytes whose first data line is `firstLine` bytes long
/// (line end included), with some to spare, so that the columns do not grow and copy row by row.
std::size_t ExpectedRows(std::uintmax_t fileSize, std::size_t firstLine);

/// The size of a large memory page where the system offers them.
inline constexpr std::size_t kLargePage = std::size_t{2} << 20;

/// Asks the system to back the whole large pages within `bytes` from `data` by large pages, so
/// that filling them takes a few page faults instead of thousands.
void AdviseLargePages(const void* data, std::size_t bytes);

/// Makes room for `rows` numbers in `column`; a large column is backed by large memory pages where
/// the system offers them, so that filling it takes a few page faults instead of thousands.
void ReserveColumn(std::vector<double>& column, std::size_t rows);

/// Reads a result file of the decreasing-width scan in one pass and closes it. The first line is
/// skipped whatever it holds; each following line is one row and needs three numbers: the first is
/// x, the third y, the second and any further fields are unused. The first line that is empty,
/// short, non-numeric, out of the 64-bit range or longer than 64 KiB ends the data. Refused with
/// "Cannot read <path>: <reason>" when the file cannot be read, and with the reason "not a regular
/// file" for a folder, a FIFO or a device, which is not opened.
Result<ResultRows> ReadResultFile(const std::string& path);

}  // namespace vesko
