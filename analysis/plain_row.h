#pragma once

#include <cstddef>
#include <span>

namespace vesko {

/// Reads the line that starts at `begin` when it is a row of the common kind: its first `out.size()`
/// fields plain decimals (blanks, an optional sign, at most 18 digits with at most one point among
/// them, blanks), the line ended by LF, CR LF or a CR followed by another byte, all before `end`,
/// and no longer than kMaxResultLine. The values are those ReadRowNumbers gives. Returns the bytes
/// taken, line end included; 0, with `out` unspecified, for any other line, which is then left to
/// ReadRowNumbers. `*end` must hold a NUL.
std::size_t ReadPlainRow(const char* begin, const char* end, std::span<double> out);

}  // namespace vesko
