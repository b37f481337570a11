// The largest inputs the windows accept: the longest slit scan script streams with flat memory, and a
// result file of a million rows is analysed. Both print their figures.

#include <chrono>
#include <cmath>
#include <cstdio>
#include <string>
#include <string_view>

#include <gtest/gtest.h>

#include "analysis/break_analysis.h"
#include "core/line_sink.h"
#include "generators/slit_scan.h"
#include "tests/support/test_support.h"

#include <sys/resource.h>

#if defined(__SANITIZE_ADDRESS__)
#define VESKO_UNDER_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VESKO_UNDER_ASAN 1
#endif
#endif

namespace vesko {
namespace {

long PeakRssKiB() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

double SecondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Counts the lines as they come, keeping none of them.
class CheckingCounter final : public LineSink {
 public:
  void WriteLine(std::string_view line) override {
    ++lines;
    bytes += line.size() + 2;
    if (line == "TclSrv_ORTEC994:MeasureCountsWithTimer $exptime 0") {
      ++counts;
    }
    last.assign(line);
  }
  long long lines = 0, bytes = 0, counts = 0;
  std::string last;
};

TEST(LargeInputTest, LongestSlitScanStreamsWithFlatMemory) {
  const SlitScanForm form{false, true, "0.01", "0", "2", "32767", "longest.tcl", true, "50"};
  const Result<SlitScanParams> params = Validate(form);
  ASSERT_TRUE(params.ok()) << params.message();

  CheckingCounter out;
  const long before = PeakRssKiB();
  const auto start = std::chrono::steady_clock::now();
  BuildScript(*params, "/data/beam", out);
  const double seconds = SecondsSince(start);
  const long growth = PeakRssKiB() - before;
  std::printf(
      "longest slit scan: %lld lines, %lld bytes in %.1f s; peak RSS %ld KiB before, grew by %ld KiB\n",
      out.lines, out.bytes, seconds, before, growth);

  EXPECT_EQ(out.counts, 32767LL * 50 + 1);  // every point of every pass, then the centre
  EXPECT_EQ(out.last, "TclSrv_Optics:Shutter close");
#ifdef VESKO_UNDER_ASAN
  std::printf("(memory not judged: the address sanitizer keeps freed blocks in quarantine)\n");
#else
  EXPECT_LT(growth, 4 * 1024) << "memory grows with the length of the script";
#endif
}

TEST(LargeInputTest, MillionRowResultFileIsAnalysed) {
  // A falling edge over the first 400000 points, then a level: the fit meets the level at the break.
  constexpr int kRows = 1000000;
  constexpr int kBreak = 400000;
  test::TempDir dir;
  const std::string path = dir.File("large.dat");
  {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    std::fputs("slit_y1, Intensity A, Intensity B, B/A\r\n", file);
    for (int i = 0; i < kRows; ++i) {
      const double x = i * 0.001;
      const double y = i < kBreak ? 1000000.0 - 2.0 * i : 1000000.0 - 2.0 * kBreak;
      std::fprintf(file, "%.3f, 0, %.1f, 1.0\r\n", x, y);
    }
    ASSERT_EQ(std::fclose(file), 0);
  }
  const auto start = std::chrono::steady_clock::now();
  const BreakAnalysis run = AnalyseResultFile(path, "2.0");
  const double seconds = SecondsSince(start);
  std::printf("million-row result file: %zu rows read and analysed in %.2f s\n", run.rows.x.size(), seconds);

  EXPECT_EQ(run.readError, "");
  EXPECT_EQ(run.rows.x.size(), static_cast<std::size_t>(kRows));
  EXPECT_EQ(run.breakIndex, static_cast<std::size_t>(kBreak));
  ASSERT_TRUE(run.crossX.has_value());
  EXPECT_NEAR(*run.crossX, kBreak * 0.001, 1e-4);
}

}  // namespace
}  // namespace vesko
