#include "analysis/plain_row.h"

#include <bit>
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

constexpr std::uint64_t Bytes(std::uint8_t byte) {
  return byte * std::uint64_t{0x0101010101010101};
}

// The first `n` bytes of a word (n <= 8).
constexpr std::uint64_t LowBytes(std::size_t n) {
  return n >= 8 ? ~std::uint64_t{0} : (std::uint64_t{1} << (8 * n)) - 1;
}

// 0x80 in each byte of `word` that is not an ASCII digit; no byte's result depends on another.
std::uint64_t NonDigits(std::uint64_t word) {
  const std::uint64_t low = word & Bytes(0x7F);
  return (word | (low + Bytes(0x46)) | ~(low + Bytes(0x50))) & Bytes(0x80);
}

std::uint64_t Load(const char* p) {
  std::uint64_t word;
  std::memcpy(&word, p, sizeof word);
  return word;
}

// The number written by the digit values 0 to 9 in the bytes of `word`, its first byte the highest.
std::uint64_t EightDigits(std::uint64_t word) {
  word = word * 10 + (word >> 8);
  const std::uint64_t pairs = 0x000000FF000000FF;
  return (((word & pairs) * (100 + (std::uint64_t{1000000} << 32))) +
          (((word >> 16) & pairs) * (1 + (std::uint64_t{10000} << 32)))) >>
         32;
}

}  // namespace

std::uint32_t KeptFields(std::span<const std::size_t> kept) {
  std::uint32_t mask = 0;
  for (const std::size_t field : kept) {
    mask |= field < 32 ? std::uint32_t{1} << field : ~0u;
  }
  return mask;
}

std::size_t PlainRowReader::Read(const char* begin, const char* end, std::span<double> out,
                                 std::uint32_t kept) {
  // A row of at most kWords words, whose fields' 8 bytes all lie within the next 8 words.
  if (length_ != 0 && out.size() == fields_ && end - begin >= static_cast<std::ptrdiff_t>(8 * kWords + 8)) {
    std::uint64_t wrong = 0;
    for (std::size_t w = 0; w < kWords; ++w) {
      const std::uint64_t word = Load(begin + 8 * w);
      wrong |= ((word & fixedMask_[w]) ^ fixed_[w]) | (NonDigits(word) & digits_[w]);
    }
    if (wrong == 0) {
      for (std::size_t f = 0; f < fields_; ++f) {
        const Field& field = field_[f];
        if ((kept >> f & 1) == 0) {
          continue;
        }
        const std::uint64_t values = Load(begin + field.first) & Bytes(0x0F);
        const std::uint64_t joined = (values & field.whole) | ((values & field.fraction) >> 8);
        const auto digits = static_cast<double>(EightDigits(joined << field.shift));
        // A whole number needs no division (by 1, which changes nothing).
        const double magnitude = field.decimals == 0 ? digits : digits / kExactPowersOfTen[field.decimals];
        out[f] = field.negative ? -magnitude : magnitude;
      }
      return length_;
    }
  }
  const std::size_t taken = ReadPlainRow(begin, end, out);
  if (taken != 0) {
    Learn(begin, taken, out.size());
  }
  return taken;
}

// Keeps the shape of a row ReadPlainRow has just read, when it has one the quick reading can use:
// an LF at its end, no fields beyond those read, each field's digits and point within 8 bytes.
void PlainRowReader::Learn(const char* begin, std::size_t length, std::size_t fields) {
  length_ = 0;
  if (std::endian::native != std::endian::little || length > 8 * kWords || fields > kFields ||
      begin[length - 1] != '\n') {
    return;
  }
  digits_ = fixedMask_ = fixed_ = {};
  for (std::size_t i = 0; i < length; ++i) {
    const auto byte = static_cast<unsigned char>(begin[i]);
    const unsigned shift = 8 * (i % 8);
    if (byte - unsigned{'0'} <= 9) {
      digits_[i / 8] |= std::uint64_t{0x80} << shift;
    } else {
      fixedMask_[i / 8] |= std::uint64_t{0xFF} << shift;
      fixed_[i / 8] |= std::uint64_t{byte} << shift;
    }
  }
  const auto digitsFrom = [](const char*& p) {
    std::size_t n = 0;
    for (; static_cast<unsigned char>(*p) - unsigned{'0'} <= 9; ++p) {
      ++n;
    }
    return n;
  };
  const char* p = begin;
  for (std::size_t f = 0; f < fields; ++f) {
    Field& field = field_[f];
    while (IsFieldBlank(*p)) {
      ++p;
    }
    field.negative = *p == '-';
    p += (*p == '-' || *p == '+') ? 1 : 0;
    field.first = static_cast<std::uint16_t>(p - begin);
    const std::size_t whole = digitsFrom(p);
    const bool point = *p == '.';
    p += point ? 1 : 0;
    const std::size_t fraction = digitsFrom(p);
    if (whole + fraction == 0 || whole + (point ? 1 : 0) + fraction > 8) {
      return;
    }
    field.decimals = static_cast<std::uint8_t>(fraction);
    field.shift = static_cast<std::uint8_t>(64 - 8 * (whole + fraction));
    field.whole = LowBytes(whole);
    field.fraction = LowBytes(whole + 1 + fraction) & ~LowBytes(whole + 1);
    while (IsFieldBlank(*p)) {
      ++p;
    }
    if (f + 1 < fields) {
      ++p;  // the comma
    }
  }
  if (*p != '\r' && *p != '\n') {
    return;
  }
  fields_ = fields;
  length_ = length;
}

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
