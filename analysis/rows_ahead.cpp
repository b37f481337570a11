#include "analysis/rows_ahead.h"

#include <exception>
#include <new>
#include <system_error>

#include "analysis/result_file.h"

namespace vesko {
namespace {

constexpr std::size_t kBlockRows = std::size_t{1} << 19;

}  // namespace

RowsAhead::RowsAhead(const ResultLines& reader, const std::string& path, std::size_t fields,
                     std::vector<std::size_t> kept)
    : kept_(std::move(kept)) {
  if (reader.size() < kMinimumSize || fields == 0 || kept_.empty()) {
    return;
  }
  ResultLines lines(path);
  if (!lines.SameFileAs(reader)) {
    return;
  }
  start_ = lines.ResumeAfterLineEnd(reader.size() / 2);
  if (!start_) {
    return;
  }
  resume_ = *start_;
  try {
    thread_ = std::thread([this, fields, lines = std::move(lines)]() mutable {
      try {
        Read(lines, fields);
      } catch (const std::exception&) {
        columns_.clear();  // out of memory: the caller reads this half itself
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

void RowsAhead::Read(ResultLines& lines, std::size_t fields) {
  std::vector<double> values(fields);
  std::vector<double*> into(kept_.size());
  const std::uint32_t keptFields = KeptFields(kept_);
  lastRows_ = kBlockRows;
  while (!cancelled_.load(std::memory_order_relaxed)) {
    const std::uintmax_t at = lines.offset();
    if (!lines.NextPlainRow(values, keptFields)) {
      const std::optional<std::string_view> line = lines.Next();
      if (!line || !lines.lastLineEnded() || !ReadRowNumbers(*line, values)) {
        resume_ = at;
        return;
      }
    }
    if (lastRows_ == kBlockRows) {
      for (double*& column : into) {
        column =
            static_cast<double*>(::operator new (kBlockRows * sizeof(double), std::align_val_t{kLargePage}));
        columns_.emplace_back(column);
        AdviseLargePages(column, kBlockRows * sizeof(double));
      }
      lastRows_ = 0;
    }
    for (std::size_t j = 0; j < into.size(); ++j) {
      into[j][lastRows_] = values[kept_[j]];
    }
    ++lastRows_;
  }
}

void RowsAhead::FreeColumn::operator()(double* column) const {
  ::operator delete (column, std::align_val_t{kLargePage});
}

std::uintmax_t RowsAhead::AppendTo(std::span<std::vector<double>* const> columns) {
  if (thread_.joinable()) {
    thread_.join();
  }
  const std::size_t width = kept_.size();
  for (std::size_t k = 0; k < columns_.size(); ++k) {
    const std::size_t rows = k + width < columns_.size() ? kBlockRows : lastRows_;
    if (k % width < columns.size()) {
      std::vector<double>& to = *columns[k % width];
      to.insert(to.end(), columns_[k].get(), columns_[k].get() + rows);
    }
    columns_[k].reset();
  }
  columns_.clear();
  return resume_;
}

}  // namespace vesko
