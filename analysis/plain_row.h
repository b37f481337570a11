#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace vesko {

/// Reads the line that starts at `begin` when it is a row of the common kind: its first `out.size()`
/// fields plain decimals (blanks, an optional sign, at most 18 digits with at most one point among
/// them, blanks), the line ended by LF, CR LF or a CR followed by another byte, all before `end`,
/// and no longer than kMaxResultLine. The values are those ReadRowNumbers gives. Returns the bytes
/// taken, line end included; 0, with `out` unspecified, for any other line, which is then left to
/// ReadRowNumbers. `*end` must hold a NUL.
std::size_t ReadPlainRow(const char* begin, const char* end, std::span<double> out);

/// The fields `kept` as bits of a mask for PlainRowReader::Read; every field when one lies past 31.
std::uint32_t KeptFields(std::span<const std::size_t> kept);

/// Reads rows as ReadPlainRow does, with the same values and lengths. Rows written with one format
/// mostly differ from the row before only in their digits: a short row with the bytes of the last row
/// it read, but for digits in the places of its digits, is read without walking it byte by byte.
class PlainRowReader {
 public:
  /// The values of fields whose bit in `kept` is clear may be left unset; they are read all the same.
  std::size_t Read(const char* begin, const char* end, std::span<double> out, std::uint32_t kept = ~0u);

 private:
  static constexpr std::size_t kWords = 4;
  static constexpr std::size_t kFields = 8;
  // Where a field's digits lie: 8 bytes from `first` hold them, the point among them if there is one.
  struct Field {
    std::uint16_t first = 0;
    std::uint8_t decimals = 0;
    std::uint8_t shift = 0;  // moves its digits, joined, to the top of a word
    bool negative = false;
    std::uint64_t whole = 0;     // the bytes of the digits before the point
    std::uint64_t fraction = 0;  // the bytes of the digits after it
  };
  void Learn(const char* begin, std::size_t length, std::size_t fields);

  std::size_t length_ = 0;  // 0: no shape learnt
  std::size_t fields_ = 0;
  std::array<std::uint64_t, kWords> digits_{};  // 0x80 in each byte that must be a digit
  std::array<std::uint64_t, kWords> fixedMask_{};
  std::array<std::uint64_t, kWords> fixed_{};  // the bytes that must be as they were
  std::array<Field, kFields> field_{};
};

}  // namespace vesko
