#include <bit>
#include <cstdint>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "analysis/plain_row.h"
#include "analysis/result_file.h"
#include "analysis/result_series.h"
#include "analysis/rows_ahead.h"
#include "tests/support/test_support.h"

namespace vesko {
namespace {

using test::TempDir;
using test::WriteFileBytes;

// Reads `line` followed by `end` with ReadPlainRow and, when it takes the line, expects what
// ReadRowNumbers reads from it, bit for bit, and the line end taken with it. True when taken.
bool ReadsAlike(const std::string& line, const std::string& end, std::size_t fields) {
  std::string bytes = line + end;
  const std::size_t size = bytes.size();
  bytes.push_back('\0');
  std::vector<double> quick(fields);
  std::vector<double> full(fields);
  const std::size_t taken = ReadPlainRow(bytes.data(), bytes.data() + size, quick);
  if (taken == 0) {
    return false;
  }
  EXPECT_TRUE(ReadRowNumbers(line, full)) << line;
  EXPECT_EQ(line.size() + (end.rfind("\r\n", 0) == 0 ? 2 : 1), taken) << line;
  for (std::size_t k = 0; k < fields; ++k) {
    EXPECT_EQ(std::bit_cast<std::uint64_t>(full[k]), std::bit_cast<std::uint64_t>(quick[k])) << line;
  }
  return true;
}

TEST(PlainRow, ReadsAsTheGeneralReadingOrLeavesTheRow) {
  struct Field {
    const char* text;
    bool quick;  // a plain decimal that the quick reading takes
  };
  const Field fields[] = {
      {"0.500", true},
      {"-0.000", true},
      {" 12 ", true},
      {"\t+.5\t", true},
      {"5.", true},
      {"007", true},
      {"0.1", true},
      {"0.30000000000000004", false},  // 17 digits above 2^53
      {"9007199254740992", true},      // 2^53
      {"9007199254740993", false},
      {"123456789012345678", false},
      {"0.000000000000000001", false},  // 19 digits
      {"1e3", false},
      {"1E-400", false},
      {"1e400", false},
      {"\"4\"", false},
      {"&H10", false},
      {"1.2.3", false},
      {"-", false},
      {".", false},
      {"", false},
      {" ", false},
      {"1 2", false},
      {"1,5", true},  // two fields
  };
  for (const Field& field : fields) {
    SCOPED_TRACE(field.text);
    const std::string text = field.text;
    EXPECT_EQ(field.quick, ReadsAlike(text + ",7", "\r\n", 2));
    EXPECT_EQ(field.quick, ReadsAlike("7," + text, "\n", 2));
    ReadsAlike(text + ",7,x,", "\r", 2);      // further fields are not read
    EXPECT_FALSE(ReadsAlike(text, "\n", 3));  // too few fields
  }
  // The line must end before the bytes end; a CR at the end may be the first half of CR LF.
  EXPECT_TRUE(ReadsAlike("1,2", "\rx", 2));
  EXPECT_FALSE(ReadsAlike("1,2", "\r", 2));
  EXPECT_FALSE(ReadsAlike("1,2", "", 2));
  EXPECT_FALSE(ReadsAlike("1,2,3", "", 2));
  EXPECT_FALSE(ReadsAlike("1,2", std::string(1, '\0') + "\n", 2));
  // A line past the length limit is never a row.
  EXPECT_FALSE(ReadsAlike("1," + std::string(kMaxResultLine, ' ') + "2", "\n", 2));
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
  const std::string digits = "0123456789";
  // Bytes a row may change to: next to the digits, a digit with its top bit set, and the forms.
  const std::string others = std::string("/:. -+,eE\t\r\n\"x\0", 15) + "\xb0\xb9";
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
    shape += pick(4) == 0 ? ",9" : "";
    shape += ends[pick(std::size(ends))];
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
    text.push_back('\0');
    const std::size_t size = text.size() - 1;
    PlainRowReader reader;
    // Half the rounds keep only some fields; the others need not be given.
    const auto kept = static_cast<std::uint32_t>(round % 2 == 0 ? ~0u : pick(16));
    std::vector<double> quick(count);
    std::vector<double> full(count);
    for (std::size_t at = 0; at < size;) {
      const std::size_t taken = reader.Read(text.data() + at, text.data() + size, quick, kept);
      ASSERT_EQ(ReadPlainRow(text.data() + at, text.data() + size, full), taken) << at;
      for (std::size_t k = 0; k < count && taken != 0; ++k) {
        if ((kept >> k & 1) == 0) {
          continue;
        }
        ASSERT_EQ(std::bit_cast<std::uint64_t>(full[k]), std::bit_cast<std::uint64_t>(quick[k])) << at;
      }
      // A row left to the general reading is skipped to its line end, as the reader would.
      const std::size_t lineEnd = text.find_first_of("\r\n", at);
      at = taken != 0 ? at + taken : (lineEnd == std::string::npos ? size : lineEnd + 1);
    }
  }
}

// A long file is read by two threads; the rows met are those one thread reads, in file order,
// whatever lies after the middle, where the second thread starts.
TEST(ResultSet, LongFilesReadAsOneReaderReadsThem) {
  enum class After { Nothing, LeftRows, Pass, Text };
  struct Case {
    const char* name;
    After after;  // what comes at every 10000th row from the middle on
    const char* end;
  };
  const Case cases[] = {
      {"plain rows", After::Nothing, "\n"},
      {"rows the quick reading leaves", After::LeftRows, "\r\n"},
      {"a pass starts", After::Pass, "\r\n"},
      {"a text row ends the data", After::Text, "\n"},
  };
  TempDir dir;
  const std::size_t rows = RowsAhead::kMinimumSize / 10;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const bool slit = c.after == After::Pass;
    const std::string header = slit ? "slit_y1,slit_y2,slit_center,Intensity(Repeat" : "a,b";
    std::string text = header + (slit ? "0)" : "") + c.end;
    std::vector<double> expected;
    std::size_t series = 1;
    bool ended = false;
    for (std::size_t i = 0; i < rows; ++i) {
      const std::string n = std::to_string(i);
      const bool special = i >= rows / 2 && i % 10000 == 0;
      if (special && c.after == After::Text) {
        text += std::string("end") + c.end;
        ended = true;
      }
      if (special && c.after == After::Pass) {
        text += header + std::to_string(series++) + ")" + c.end;
      }
      if (special && c.after == After::LeftRows) {
        text += n + "e0,  \"" + n + "\"" + c.end;
      } else {
        text += (slit ? "0,0," + n + "," : n + ",") + n + ".5" + c.end;
      }
      if (!ended) {
        expected.push_back(static_cast<double>(i));
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
  }
}

// The second thread reads the file the first one reads, even when the name has been given to
// another file since.
TEST(ResultLines, TellTheirFileFromAnotherOfTheSameName) {
#ifdef _WIN32
  GTEST_SKIP() << "a file open for reading cannot be replaced by a rename on Windows";
#endif
  TempDir dir;
  ASSERT_TRUE(WriteFileBytes(dir.File("r.dat"), "a,b\n1,2\n"));
  ASSERT_TRUE(WriteFileBytes(dir.File("new.dat"), "a,b\n1,2\n"));
  const ResultLines first(dir.File("r.dat"));
  EXPECT_TRUE(ResultLines(dir.File("r.dat")).SameFileAs(first));
  std::filesystem::rename(dir.File("new.dat"), dir.File("r.dat"));
  EXPECT_FALSE(ResultLines(dir.File("r.dat")).SameFileAs(first));
}

// The decreasing-width analysis reads long files the same way.
TEST(ResultFile, LongFilesReadAsOneReaderReadsThem) {
  TempDir dir;
  const std::size_t rows = RowsAhead::kMinimumSize / 10;
  std::string text = "slit_y1,slit_y2,Intensity\r\n";
  std::vector<double> expected;
  for (std::size_t i = 0; i < rows; ++i) {
    const std::string n = std::to_string(i);
    text += (i >= rows / 2 && i % 1000 == 0 ? n + "e0,0,\"" + n + "\"" : n + ",0," + n) + "\r\n";
    expected.push_back(static_cast<double>(i));
  }
  ASSERT_TRUE(WriteFileBytes(dir.File("long.dat"), text));
  const Result<ResultRows> read = ReadResultFile(dir.File("long.dat"));
  ASSERT_TRUE(read) << read.message();
  EXPECT_EQ(expected, read->x);
  EXPECT_EQ(expected, read->y);
}

}  // namespace
}  // namespace vesko
