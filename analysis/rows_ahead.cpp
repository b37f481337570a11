#include "analysis/rows_ahead.h"

#include <algorithm>
#include <cstring>
#include <exception>
#include <system_error>
#include <utility>

#include "analysis/result_file.h"
#include "core/os_file.h"

namespace vesko {
namespace {

constexpr std::size_t kBlockRows = std::size_t{1} << 19;
constexpr std::size_t kSearch = std::size_t{1} << 16;

// The offset just past the first LF at or after `from`, when there is one within kSearch bytes. The
// byte after an LF always starts a line, whatever came before it.
std::optional<std::uintmax_t> LineStartAfter(const std::string& path, std::uintmax_t from) {
  std::optional<os::OsError> error;
  os::InputFile in = os::InputFile::OpenRegular(path, error);
  if (!in.IsOpen() || !in.Seek(from)) {
    return std::nullopt;
  }
  std::vector<char> bytes(kSearch);
  std::size_t filled = 0;
  while (filled < bytes.size()) {
    const std::optional<std::size_t> count = in.Read(bytes.data() + filled, bytes.size() - filled);
    if (!count || *count == 0) {
      break;
    }
    filled += *count;
  }
  const auto* lf = static_cast<const char*>(std::memchr(bytes.data(), '\n', filled));
  if (!lf) {
    return std::nullopt;
  }
  return from + static_cast<std::uintmax_t>(lf - bytes.data()) + 1;
}

}  // namespace

RowsAhead::RowsAhead(const std::string& path, std::uintmax_t size, std::size_t fields,
                     std::vector<std::size_t> kept)
    : kept_(std::move(kept)) {
  if (size < kMinimumSize || fields == 0 || kept_.empty()) {
    return;
  }
  start_ = LineStartAfter(path, size / 2);
  if (!start_) {
    return;
  }
  resume_ = *start_;
  try {
    thread_ = std::thread([this, path, fields] {
      try {
        Read(path, fields);
      } catch (const std::exception&) {
        blocks_.clear();  // out of memory: the caller reads this half itself
        resume_ = *start_;
      }
    });
  } catch (const std::system_error&) {
    start_.reset();  // no second thread: the caller reads on alone
  }
}

RowsAhead::~RowsAhead() {
  cancelled_ = true;
  if (thread_.joinable()) {
    thread_.join();
  }
}

void RowsAhead::Read(const std::string& path, std::size_t fields) {
  ResultLines lines(path);
  if (!lines.ResumeAt(*start_)) {
    return;  // the caller meets the failure itself when it reads on from here
  }
  std::vector<double> values(fields);
  std::vector<std::pair<double*, std::vector<double>*>> into;  // a row's field and its column
  std::size_t room = 0;
  while (!cancelled_.load(std::memory_order_relaxed)) {
    const std::uintmax_t at = lines.offset();
    if (!lines.NextPlainRow(values)) {
      const std::optional<std::string_view> line = lines.Next();
      if (!line || !lines.lastLineEnded() || !ReadRowNumbers(*line, values)) {
        resume_ = at;
        return;
      }
    }
    if (room == 0) {
      into.clear();
      std::vector<std::vector<double>>& block = blocks_.emplace_back(kept_.size());
      for (std::size_t j = 0; j < kept_.size(); ++j) {
        ReserveColumn(block[j], kBlockRows);
        into.emplace_back(&values[kept_[j]], &block[j]);
      }
      room = kBlockRows;
    }
    --room;
    for (const auto& [field, column] : into) {
      column->push_back(*field);
    }
  }
}

std::uintmax_t RowsAhead::AppendTo(std::span<std::vector<double>* const> columns) {
  if (thread_.joinable()) {
    thread_.join();
  }
  for (std::vector<std::vector<double>>& block : blocks_) {
    for (std::size_t j = 0; j < block.size() && j < columns.size(); ++j) {
      columns[j]->insert(columns[j]->end(), block[j].begin(), block[j].end());
      block[j] = std::vector<double>();
    }
  }
  blocks_.clear();
  return resume_;
}

}  // namespace vesko
