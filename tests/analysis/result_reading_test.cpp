#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "analysis/plain_row.h"
#include "analysis/result_file.h"
#include "analysis/result_series.h"
#include "analysis/rows_ahead.h"
#include "core/numbers.h"
#include "tests/support/test_support.h"

namespace vesko {
namespace {

using test::TempDir;
using test::WriteFileBytes;

std::uint64_t Bits(double value) {
  return std::bit_cast<std::uint64_t>(value);
}

TEST(ResultFile, ReadingFollowsTheFieldRuleLineByLine) {
  struct Row {
    const char* name;
    std::string data;  // after the header
    std::vector<double> x, y;
  };
  const Row rows[] = {
      {"blanks and tabs around fields", " 1.5 ,\t2 ,  3\t\r\n", {1.5}, {3}},
      {"fields after the third ignored", "1,2,3,abc,\r\n4,5,6\r\n", {1, 4}, {3, 6}},
      {"LF and CR line ends", "1,0,2\n3,0,4\r5,0,6", {1, 3, 5}, {2, 4, 6}},
      {"quoted field", "\"1\",0,\"2\"\r\n", {1}, {2}},
      {"non-numeric row ends the data", "1,0,2\r\n3,x,4\r\n5,0,6\r\n", {1}, {2}},
      {"short row does not borrow from the next", "1,0,2\r\n3,0\r\n5,0,6\r\n", {1}, {2}},
      {"trailing comma leaves the row short", "1,0,\r\n5,0,6\r\n", {}, {}},
      {"empty line ends the data", "1,0,2\r\n\r\n5,0,6\r\n", {1}, {2}},
      {"out of 64-bit range ends the data", "1,0,2\r\n3,0,1e400\r\n", {1}, {2}},
      {"a second header ends the data",
       "1,0,2\r\nslit_y1,slit_y2,Intensity(Repeat01)\r\n3,0,4\r\n",
       {1},
       {2}},
  };
  TempDir dir;
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    ASSERT_TRUE(WriteFileBytes(dir.File("r.dat"), "slit_y1,slit_y2,Intensity\r\n" + row.data));
    const Result<ResultRows> read = ReadResultFile(dir.File("r.dat"));
    ASSERT_TRUE(read.ok()) << read.message();
    EXPECT_EQ(row.x, read->x);
    EXPECT_EQ(row.y, read->y);
  }
}

// Reads `line` followed by `end` with ReadPlainRow and, when it takes the line, expects what
// ReadRowNumbers reads from it, bit for bit, and the line end taken with it. True when taken.
bool ReadsAlike(const std::string& line, const std::string& end, std::size_t fields) {
  std::string bytes = line + end;
  const std::size_t size = bytes.size();
  bytes.push_back('\0');
  std::vector<double> quick(fields), full(fields);
  const std::size_t taken = ReadPlainRow(bytes.data(), bytes.data() + size, quick);
  if (taken == 0) {
    return false;
  }
  EXPECT_TRUE(ReadRowNumbers(line, full)) << line;
  EXPECT_EQ(line.size() + (end.starts_with("\r\n") ? 2 : 1), taken) << line;
  for (std::size_t k = 0; k < fields; ++k) {
    EXPECT_EQ(Bits(full[k]), Bits(quick[k])) << line;
  }
  return true;
}

// Every field reads as ToDouble reads it; the quick reading takes the plain decimals of at most 18
// digits (at most 2^53 above 15) and leaves the rest.
TEST(PlainRow, ReadsAsTheGeneralReadingOrLeavesTheRow) {
  const std::vector<std::string> quick = {"0.500", "-0.000", " 12 ", "\t+.5\t",          "+.5",
                                          "5.",    "007",    "0.1",  "9007199254740992", "1,5"};
  const std::vector<std::string> longDigits = {"0.30000000000000004",  "9007199254740993",
                                               "123456789012345678",   "123456789.123456789",
                                               "0.000000000000000001", "99999999999999999999"};
  const std::vector<std::string> other = {"1e3", "1E-400", "1e400", "\"4\"", "&H10", "1.2.3", "-",
                                          ".",   " . ",    "",      " ",     "1 2",  "1:5"};
  for (const auto& [fields, taken] : {std::pair{quick, true}, {longDigits, false}, {other, false}}) {
    for (const std::string& text : fields) {
      SCOPED_TRACE(text);
      EXPECT_EQ(taken, ReadsAlike(text + ",7", "\r\n", 2));
      EXPECT_EQ(taken, ReadsAlike("7," + text, "\n", 2));
      ReadsAlike(text + ",7,x,", "\r", 2);      // further fields are not read
      EXPECT_FALSE(ReadsAlike(text, "\n", 3));  // too few fields
      if (text != "1,5") {
        const std::optional<double> expected = ToDouble(text == "\"4\"" ? "4" : text);
        double read[2] = {0, 0};
        ASSERT_EQ(expected.has_value(), ReadRowNumbers(text + ",7", read));
        EXPECT_TRUE(!expected || (Bits(*expected) == Bits(read[0]) && read[1] == 7.0));
      }
    }
  }
  // The line must end before the bytes end; a CR at the end may be the first half of CR LF.
  EXPECT_TRUE(ReadsAlike("1,2", "\rx", 2));
  EXPECT_FALSE(ReadsAlike("1,2", "\r", 2));
  EXPECT_FALSE(ReadsAlike("1,2", "", 2));
  EXPECT_FALSE(ReadsAlike("1,2,3", "", 2));
  EXPECT_FALSE(ReadsAlike("1,2", std::string(1, '\0') + "\n", 2));
  // A line past the length limit is never a row.
  EXPECT_FALSE(ReadsAlike("1," + std::string(kMaxResultLine, ' ') + "2", "\n", 2));
  EXPECT_TRUE(ReadsAlike("1," + std::string(kMaxResultLine - 3, ' ') + "2", "\n", 2));  // just at the limit
}

// Texts made of the bytes numbers are written with, and of the forms around them.
TEST(PlainRow, RandomTextsReadAsTheGeneralReadingReadsThem) {
  std::mt19937 random(20261206);
  const std::string bytes = "0123456789000.+- \t,eE\"x";
  const auto pick = [&](std::size_t n) {
    return std::uniform_int_distribution<std::size_t>(0, n - 1)(random);
  };
  int taken = 0;
  for (int round = 0; round < 200000; ++round) {
    std::string line;
    if (round % 2 == 0) {
      for (std::size_t k = pick(25); k > 0; --k) {
        line += bytes[pick(bytes.size())];
      }
    } else {  // numbers of 1 to 20 digits with a point somewhere, some signed, some with blanks
      for (std::size_t f = 1 + pick(3); f > 0; --f) {
        line += std::string(pick(2), ' ') + std::string(pick(3) == 0 ? "-" : "");
        const std::size_t digits = 1 + pick(20);
        const std::size_t point = pick(digits + 4);
        for (std::size_t d = 0; d < digits; ++d) {
          line += (d == point ? "." : "") + std::string(1, bytes[pick(10)]);
        }
        line += std::string(pick(2), '\t') + (f > 1 ? "," : "");
      }
    }
    SCOPED_TRACE(line);
    taken += ReadsAlike(line, pick(2) == 0 ? "\n" : "\r\n", 1 + pick(3)) ? 1 : 0;
  }
  EXPECT_GT(taken, 20000);  // the sweep reaches the quick reading often
}

// Rows of one shape with changing digits, now and then a row that differs in one byte, read in a run
// by one PlainRowReader: each row as ReadPlainRow reads it alone, bit for bit, with the same length.
TEST(PlainRowReader, ReadsRowsOfOneShapeAsTheRowByRowReading) {
  std::mt19937 random(20261207);
  const auto pick = [&](std::size_t n) {
    return std::uniform_int_distribution<std::size_t>(0, n - 1)(random);
  };
  // Bytes a row may change to: next to the digits, a digit with its top bit set, and the forms.
  const std::string digits = "0123456789", others = std::string("/:. -+,eE\t\r\n\"x\0", 15) + "\xb0\xb9";
  const char* const fields[] = {"0.500",    "-0.000",    "+7",
                                " 900000",  "12345678",  "1234567.",
                                ".1234567", "123456789", "0.30000000000000004",
                                "\t5.\t",   "  -12.25 ", "1e3"};
  const char* const ends[] = {"\r\n", "\n", "\r"};
  for (int round = 0; round < 300; ++round) {
    const std::size_t count = 1 + pick(4);
    std::string shape;
    for (std::size_t f = 0; f < count; ++f) {
      shape += std::string(f > 0 ? "," : "") + fields[pick(std::size(fields))];
    }
    shape += std::string(pick(4) == 0 ? ",9" : "") + ends[pick(std::size(ends))];
    std::string text;
    for (std::size_t row = 0; row < 40; ++row) {
      std::string line = shape;
      for (char& c : line) {
        c = digits.find(c) != std::string::npos ? digits[pick(10)] : c;
      }
      if (pick(8) == 0) {
        line[pick(line.size())] = pick(2) == 0 ? others[pick(others.size())] : digits[pick(10)];
      }
      text += line;
    }
    SCOPED_TRACE(text);
    const std::size_t size = text.size();
    text.push_back('\0');
    PlainRowReader reader;
    // Half the rounds keep only some fields; the others need not be given.
    const auto kept = static_cast<std::uint32_t>(round % 2 == 0 ? ~0u : pick(16));
    std::vector<double> quick(count), full(count);
    for (std::size_t at = 0; at < size;) {
      const std::size_t taken = reader.Read(text.data() + at, text.data() + size, quick, kept);
      ASSERT_EQ(ReadPlainRow(text.data() + at, text.data() + size, full), taken) << at;
      for (std::size_t k = 0; k < count && taken != 0; ++k) {
        ASSERT_TRUE((kept >> k & 1) == 0 || Bits(full[k]) == Bits(quick[k])) << at << " " << k;
      }
      // A row left to the general reading is skipped to its line end, as the reader would.
      const std::size_t lineEnd = text.find_first_of("\r\n", at);
      at = taken != 0 ? at + taken : (lineEnd == std::string::npos ? size : lineEnd + 1);
    }
  }
}

// A long file is read in pieces of growing size, its second half by a second thread. The rows met are
// those one reader meets, in file order, whatever comes at every 1000th row from the middle on; a
// header longer than a piece and a CR LF split between pieces lose or invent no row.
TEST(ResultReaders, LongFilesReadAsOneReaderReadsThem) {
  enum class After { Nothing, LeftRows, Pass, Text };
  const std::tuple<After, const char*, std::size_t> cases[] = {
      {After::Nothing, "\n", 0},        {After::Text, "\n", 0},           {After::Pass, "\r\n", 0},
      {After::LeftRows, "\r\n", 65534}, {After::LeftRows, "\r\n", 65535}, {After::LeftRows, "\r\n", 65536}};
  TempDir dir;
  const std::size_t rows = RowsAhead::kMinimumSize / 10;
  for (const auto& [after, end, headerLength] : cases) {
    SCOPED_TRACE(std::to_string(static_cast<int>(after)) + "/" + std::to_string(headerLength));
    // Rows left to the general reading come in a decreasing-width file, which both readers read.
    const bool slit = after == After::Pass, dec = after == After::LeftRows;
    std::string header = slit  ? "slit_y1,slit_y2,slit_center,Intensity(Repeat"
                         : dec ? "slit_y1,slit_y2,Intensity"
                               : "a,b";
    std::string text =
        header + (slit ? "0)" : std::string(headerLength - std::min(headerLength, header.size()), ' ')) + end;
    std::vector<double> expected, expectedY;
    std::size_t series = 1;
    bool ended = false;
    for (std::size_t i = 0; i < rows; ++i) {
      const std::string n = std::to_string(i);
      const bool special = i >= rows / 2 && i % 1000 == 0;
      if (special && after == After::Text) {
        text += std::string("end") + end;
        ended = true;
      }
      if (special && after == After::Pass) {
        text += header + std::to_string(series++) + ")" + end;
      }
      if (special && dec) {
        text += n + "e0,0,  \"" + n + ".5\"" + end;
      } else {
        text += (slit ? "0,0," + n + "," : dec ? n + ",0," : n + ",") + n + ".5" + end;
      }
      if (!ended) {
        expected.push_back(static_cast<double>(i));
        expectedY.push_back(static_cast<double>(i) + 0.5);
      }
    }
    ASSERT_TRUE(WriteFileBytes(dir.File("long.dat"), text));
    ASSERT_GE(text.size(), RowsAhead::kMinimumSize);
    const Result<ResultSet> set = ReadResultSet(dir.File("long.dat"));
    ASSERT_TRUE(set) << set.message();
    std::vector<double> x;
    for (const ResultSeries& s : set->series) {
      x.insert(x.end(), s.x.begin(), s.x.end());
      EXPECT_EQ(s.x.size(), s.y.size());
      EXPECT_EQ(s.x.back() + 0.5, s.y.back());
    }
    EXPECT_EQ(series, set->series.size());
    EXPECT_EQ(expected, x);
    if (dec) {
      const Result<ResultRows> read = ReadResultFile(dir.File("long.dat"));
      ASSERT_TRUE(read) << read.message();
      EXPECT_EQ(expected, read->x);
      EXPECT_EQ(expectedY, read->y);
      // The second thread leaves a last row without a line end to the first, which still takes it.
      ASSERT_TRUE(WriteFileBytes(dir.File("long.dat"), text.substr(0, text.size() - std::strlen(end))));
      const Result<ResultRows> unended = ReadResultFile(dir.File("long.dat"));
      ASSERT_TRUE(unended) << unended.message();
      EXPECT_EQ(expected, unended->x);
    }
  }
}

// A second half longer than one block of rows read ahead: every block comes back whole, the last in part.
TEST(ResultReaders, RowsAheadOfSeveralBlocks) {
  TempDir dir;
  std::string text = "a,b,c\n";
  std::vector<double> expected;
  for (int i = 0; i < 1'200'000; ++i) {
    text += std::to_string(i) + ",0,1\n";
    expected.push_back(i);
  }
  ASSERT_TRUE(WriteFileBytes(dir.File("long.dat"), text));
  const Result<ResultRows> read = ReadResultFile(dir.File("long.dat"));
  ASSERT_TRUE(read) << read.message();
  EXPECT_EQ(expected, read->x);
}

TEST(ResultLines, KeepLinesOfTheLimitAndTellTheirFileFromAnotherOfTheSameName) {
  TempDir dir;
  // A line of just the limit is kept, also when its CR ends a read piece (the second read here ends
  // right after the CR of the third line).
  ASSERT_TRUE(WriteFileBytes(dir.File("r.dat"), test::Lines({"h,x", std::string(65533, 'c'),
                                                             std::string(kMaxResultLine, 'b'), "1,2"})));
  ResultLines lines(dir.File("r.dat"));
  std::vector<std::size_t> sizes;
  while (const std::optional<std::string_view> line = lines.Next()) {
    sizes.push_back(line->size());
  }
  EXPECT_EQ((std::vector<std::size_t>{3, 65533, kMaxResultLine, 3}), sizes);
#ifndef _WIN32  // a file open for reading cannot be replaced by a rename on Windows
  // The second thread reads the file the first one reads, even when the name has been given to
  // another file since.
  ASSERT_TRUE(WriteFileBytes(dir.File("new.dat"), "a,b\n1,2\n"));
  EXPECT_TRUE(ResultLines(dir.File("r.dat")).SameFileAs(lines));
  std::filesystem::rename(dir.File("new.dat"), dir.File("r.dat"));
  EXPECT_FALSE(ResultLines(dir.File("r.dat")).SameFileAs(lines));
#endif
}

}  // namespace
}  // namespace vesko
