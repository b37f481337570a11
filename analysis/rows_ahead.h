#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <thread>
#include <vector>

namespace vesko {

class ResultLines;

/// The rows of a long result file's second half, read by a second thread while the caller reads the
/// first half: on two cores a long file is read in little more than half the time. From the first
/// line start after the file's middle, every row that ReadRowNumbers reads with `fields` numbers is
/// taken, up to the first line that is no such row (or has no line end); of each row only the
/// fields `kept` are stored. What the caller does at the start offset decides whether the rows are
/// used: they are exactly the rows its own reading would meet there.
class RowsAhead {
 public:
  /// Files shorter than this are left to one thread.
  static constexpr std::uintmax_t kMinimumSize = std::uintmax_t{4} << 20;

  /// Starts reading `path`, the file `reader` reads, when it holds at least kMinimumSize bytes and
  /// a line starts within 64 KiB after its middle; does nothing otherwise, nor when the name has
  /// come to stand for another file meanwhile.
  RowsAhead(const ResultLines& reader, const std::string& path, std::size_t fields,
            std::vector<std::size_t> kept);
  /// Stops the reading early if the rows were not taken.
  ~RowsAhead();
  RowsAhead(const RowsAhead&) = delete;
  RowsAhead& operator=(const RowsAhead&) = delete;

  /// Where the rows read ahead start; empty when nothing is read ahead.
  std::optional<std::uintmax_t> start() const { return start_; }

  /// Waits for the reading, appends the kept fields of every row to `columns` (one column per kept
  /// field, in the order given), and returns where the first line not taken starts.
  std::uintmax_t AppendTo(std::span<std::vector<double>* const> columns);

 private:
  void Read(ResultLines& lines, std::size_t fields);

  std::vector<std::size_t> kept_;
  std::optional<std::uintmax_t> start_;
  std::uintmax_t resume_ = 0;
  // Blocks of rows: of each kept field a column of up to kBlockRows numbers, laid on whole large
  // pages (block b's column of kept field j at b * kept_.size() + j); each is freed once appended.
  // The last block holds `lastRows_` rows.
  struct FreeColumn {
    void operator()(double* column) const;
  };
  std::vector<std::unique_ptr<double[], FreeColumn>> columns_;
  std::size_t lastRows_ = 0;
  std::atomic<bool> cancelled_{false};
  std::thread thread_;
};

}  // namespace vesko
