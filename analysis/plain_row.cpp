#include "analysis/plain_row.h"

#include <cstdint>
#include <cstring>

#include "analysis/result_file.h"

namespace vesko {
namespace {

// 10^k for the k decimals a plain field may have; every one is exact in a double.
constexpr double kExactPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8, 1e9,
                                        1e10, 1e11, 1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18};
constexpr int kPlainDigits = 18;

bool IsFieldBlank(char c) {
  return c == ' ' || c == '\t';
}

// Appends the digits from `p` to `mantissa`; stops at the first byte that is not a digit.
const char* Digits(const char* p, std::uint64_t& mantissa) {
  for (unsigned digit = 0; (digit = static_cast<unsigned char>(*p) - unsigned{'0'}) <= 9; ++p) {
    mantissa = mantissa * 10 + digit;
  }
  return p;
}

// A plain field from `p`: blanks, an optional sign, at most 18 digits with at most one point among
// them, blanks. Its digits as an integer of at most 2^53 divided by an exact power of ten is the
// correctly rounded value, as ToDouble gives it. Returns where the field's trailing blanks end, or
// nullptr when the field is anything else (the caller then leaves the row to the general reading).
const char* PlainField(const char* p, double& value) {
  // Blanks, signs and the point all lie below the digits.
  if (*p <= ' ') {
    while (IsFieldBlank(*p)) {
      ++p;
    }
  }
  bool negative = false;
  if (*p < '0') {
    negative = *p == '-';
    p += (*p == '-' || *p == '+') ? 1 : 0;
  }
  std::uint64_t mantissa = 0;
  const char* first = p;
  p = Digits(p, mantissa);
  std::ptrdiff_t digits = p - first;
  std::ptrdiff_t decimals = 0;
  if (*p == '.') {
    const char* fraction = ++p;
    p = Digits(p, mantissa);
    decimals = p - fraction;
    digits += decimals;
  }
  if (static_cast<std::size_t>(digits - 1) >= std::size_t{kPlainDigits} ||
      mantissa > (std::uint64_t{1} << 53)) {
    return nullptr;
  }
  const double magnitude = static_cast<double>(mantissa) / kExactPowersOfTen[decimals];
  value = negative ? -magnitude : magnitude;
  if (*p <= ' ') {
    while (IsFieldBlank(*p)) {
      ++p;
    }
  }
  return p;
}

}  // namespace

std::size_t ReadPlainRow(const char* begin, const char* end, std::span<double> out) {
  if (out.empty()) {
    return 0;
  }
  const char* p = begin;
  double* value = out.data();
  double* const last = value + out.size() - 1;
  for (;; ++value) {
    p = PlainField(p, *value);
    if (!p) {
      return 0;
    }
    if (value == last) {
      break;
    }
    if (*p != ',') {
      return 0;  // fewer fields than needed, or more than a number in one
    }
    ++p;
  }
  if (*p == ',') {
    // Further fields are not read; the line runs to its first CR or LF.
    ++p;
    const auto* lf = static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(end - p)));
    const auto* cr =
        static_cast<const char*>(std::memchr(p, '\r', static_cast<std::size_t>((lf ? lf : end) - p)));
    p = cr ? cr : lf;
    if (!p) {
      return 0;
    }
  }
  const auto length = static_cast<std::size_t>(p - begin);
  if (length > kMaxResultLine) {
    return 0;
  }
  if (*p == '\n') {
    return length + 1;
  }
  // A CR whose next byte is still to come may be the first half of CR LF.
  if (*p == '\r' && p + 1 != end) {
    return length + (p[1] == '\n' ? 2 : 1);
  }
  return 0;
}

}  // namespace vesko
