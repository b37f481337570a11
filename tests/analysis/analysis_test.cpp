#include <bit>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "analysis/break_analysis.h"
#include "analysis/result_file.h"
#include "core/format.h"
#include "tests/support/test_support.h"

namespace vesko {
namespace {

using test::TempDir;
using test::WriteFileBytes;

constexpr const char* kHeader = "slit_y1,slit_y2,Intensity\r\n";

// Rows (x, blade 2, y) of a scan whose intensity falls by 20 per step, then levels off at step 3.
constexpr const char* kWorkedRows =
    "2.000,2.000, 100\r\n1.500,1.500, 80\r\n1.000,1.000, 60\r\n0.500,0.500, 40\r\n"
    "0.000,0.000, 39\r\n-0.500,-0.500, 40\r\n-1.000,-1.000, 40\r\n";

std::string Gate(int breakIndex) {
  return std::to_string(breakIndex) + std::string(kGateStopText);
}

// Writes y as a result file with x falling by 1 per row from the row count down.
std::string RowsOf(const std::vector<double>& y) {
  std::string text;
  for (std::size_t i = 0; i < y.size(); ++i) {
    const double x = static_cast<double>(y.size() - i);
    text += FormatF(x) + "," + FormatF(x) + ", " + FormatF(y[i]) + "\r\n";
  }
  return text;
}

class Analysis : public ::testing::Test {
 protected:
  BreakAnalysis Run(const std::string& content, const std::string& threshold = "2.0") {
    EXPECT_TRUE(WriteFileBytes(file_, content));
    return AnalyseResultFile(file_, threshold);
  }
  TempDir dir_;
  std::string file_ = dir_.File("4DSlitDec1DScan.dat");
};

// The first line is a header even when it holds numbers.
TEST_F(Analysis, WorkedExampleGivesLineLevelAndCrossing) {
  const BreakAnalysis run = Run(std::string("9,9,1000\r\n") + kWorkedRows);
  EXPECT_TRUE(run.messages.empty());
  EXPECT_EQ(3u, run.breakIndex);
  ASSERT_TRUE(run.crossX);
  EXPECT_EQ("0.49167", FormatF5(*run.crossX));
  EXPECT_EQ("20.00000", FormatF5(run.line.a0));
  EXPECT_EQ("40.00000", FormatF5(run.line.a1));
  EXPECT_EQ("39.66667", FormatF5(run.level));
  EXPECT_EQ((std::vector<double>{2, 1.5, 1, 0.5, 0, -0.5, -1}), run.rows.x);
}

TEST_F(Analysis, EarlyOrMissingBreakStopsWithTheIndex) {
  struct Row {
    const char* name;
    std::vector<double> y;
    int breakIndex;
  };
  const std::vector<Row> rows = {
      {"steady fall, no break", {100, 90, 80, 70, 60, 50}, 0},
      {"break at 1", {100, 60, 59, 58, 57, 56}, 1},
      {"two rows", {100, 50}, 0},
      {"no rows", {}, 0},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const BreakAnalysis run = Run(kHeader + RowsOf(row.y));
    EXPECT_EQ(row.y.size(), run.rows.y.size());
    EXPECT_FALSE(run.passedGate);
    EXPECT_FALSE(run.crossX);
    EXPECT_EQ(std::vector<std::string>{Gate(row.breakIndex)}, run.messages);
  }
}

TEST_F(Analysis, UnreadableFileStopsAtZeroAndSaysWhy) {
  const BreakAnalysis run = AnalyseResultFile(dir_.File("missing.dat"), "2.0");
  EXPECT_EQ("Cannot read " + dir_.File("missing.dat") + ": No such file or directory", run.readError);
  EXPECT_EQ(std::vector<std::string>{Gate(0)}, run.messages);
}

TEST_F(Analysis, ReadingFollowsTheFieldRuleLineByLine) {
  struct Row {
    const char* name;
    std::string data;  // after the header
    std::vector<double> x;
    std::vector<double> y;
  };
  const std::vector<Row> rows = {
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
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    ASSERT_TRUE(WriteFileBytes(file_, kHeader + row.data));
    const Result<ResultRows> read = ReadResultFile(file_);
    ASSERT_TRUE(read.ok()) << read.message();
    EXPECT_EQ(row.x, read->x);
    EXPECT_EQ(row.y, read->y);
  }
}

// The reader takes the file in pieces of growing size: a header longer than a piece, and a CR LF split
// between two pieces, must not lose or invent a row.
TEST_F(Analysis, LinesAcrossReadPiecesAreWhole) {
  std::string rows;
  std::vector<double> x;
  for (int i = 1; i <= 40000; ++i) {
    rows += std::to_string(i) + ",0," + std::to_string(i % 7) + "\r\n";
    x.push_back(i);
  }
  for (const std::size_t headerLength : {65534u, 65535u, 65536u}) {
    SCOPED_TRACE(headerLength);
    ASSERT_TRUE(WriteFileBytes(file_, std::string(headerLength, 'h') + "\r\n" + rows));
    const Result<ResultRows> read = ReadResultFile(file_);
    ASSERT_TRUE(read.ok()) << read.message();
    EXPECT_EQ(x, read->x);
  }
}

// The reset message comes before a stop message.
TEST_F(Analysis, UnusableThresholdFallsBackToTwo) {
  for (const char* text : {"abc", "", "-0.0", "1e400"}) {
    const BreakAnalysis run = Run(kHeader + RowsOf({100, 90, 80, 70}), text);
    EXPECT_EQ(2.0, run.threshold) << text;
    EXPECT_EQ((std::vector<std::string>{std::string(kThresholdResetMessage), Gate(0)}), run.messages) << text;
  }
  EXPECT_EQ(2.5, ReadThreshold(" 2.5 ").value);
  EXPECT_FALSE(ReadThreshold("-3").reset);
}

TEST_F(Analysis, BreakIsAFallBelowTheLimitOrARiseWhenTheThresholdIsNegative) {
  // Mean fall 6, limit 3: the fall of exactly 3 at step 2 is not a break, the flat step 4 is.
  EXPECT_EQ(4u, FindBreakIndex(std::vector<double>{50, 40, 30, 27, 20, 20}, 2.0));
  // Mean fall 50/6; a fall of 2 is a break at +2, while at -2 only a rise of more than 25/6 is.
  const std::vector<double> y = {100, 80, 78, 60, 40, 50, 50};
  EXPECT_EQ(1u, FindBreakIndex(y, 2.0));
  const BreakAnalysis run = Run(kHeader + RowsOf(y), "-2");
  EXPECT_EQ(4u, run.breakIndex);
  EXPECT_TRUE(run.passedGate);
  EXPECT_EQ(50.0, run.level);
}

// Whole numbers take a shorter way to the total fall; it is bit for bit the sum step by step.
TEST(BreakIndex, TotalFallIsTheSumStepByStep) {
  std::mt19937 random(18);
  const double big = 4503599627370496.0;  // 2^52
  const std::vector<double> starts = {0, -0.0, 7, -3, big, -big, big - 1, 2 * big, 0.1};
  for (int round = 0; round < 4000; ++round) {
    std::vector<double> y = {starts[round % starts.size()]};
    for (std::size_t n = 1 + random() % 12; n > 0; --n) {
      const double step = static_cast<double>(random() % 9) - 2;
      y.push_back(round % 5 == 0 ? y.back() - step * (big / 2 + 1) : y.back() - step);
    }
    if (round % 7 == 0) {
      y[random() % y.size()] += 0.1;
    }
    y.back() = round % 11 == 0 ? 0.0 : y.back();
    double fall = 0;
    for (std::size_t i = 0; i + 1 < y.size(); ++i) {
      fall = fall + y[i] - y[i + 1];
    }
    EXPECT_EQ(std::bit_cast<std::uint64_t>(fall), std::bit_cast<std::uint64_t>(TotalFall(y))) << round;
  }
  EXPECT_EQ(0.0, TotalFall(std::vector<double>{5}));
  // Whole numbers past 2^52 whose first step rounds: 2^53 - 2 step by step, not 2^53 - 1.
  EXPECT_EQ(2 * big - 2, TotalFall(std::vector<double>{2 * big - 1, -big - 2, 0}));
}

TEST_F(Analysis, FlatLineHasNoCrossing) {
  struct Row {
    const char* name;
    std::vector<std::string> x;  // blade-1 positions of the first three rows
    bool singular;
  };
  // 0.3 three times gives a determinant of rounding noise, not exactly 0.
  const std::vector<Row> rows = {{"identical x", {"0.3", "0.3", "0.3"}, true},
                                 {"slope 0", {"1", "5", "1"}, false}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const BreakAnalysis run = Run(kHeader + row.x[0] + ",0,100\r\n" + row.x[1] + ",0,80\r\n" + row.x[2] +
                                  ",0,60\r\n0.5,0,40\r\n0,0,39\r\n-0.5,0,40\r\n");
    EXPECT_EQ(3u, run.breakIndex);
    EXPECT_TRUE(run.passedGate);
    EXPECT_EQ(row.singular, run.line.singular);
    EXPECT_EQ(0.0, run.line.a1);
    EXPECT_FALSE(run.crossX);
    EXPECT_EQ(std::vector<std::string>{std::string(kNoCrossingMessage)}, run.messages);
  }
}

}  // namespace
}  // namespace vesko
