// The longest slit scan script the windows accept streams with flat memory; it prints its figures.

#include <chrono>
#include <cstdio>
#include <string>
#include <string_view>

#include <gtest/gtest.h>

#include "core/line_sink.h"
#include "generators/slit_scan.h"

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

// Counts the lines as they come, keeping none of them.
struct CheckingCounter final : LineSink {
  void WriteLine(std::string_view line) override {
    ++lines;
    counts += line == "TclSrv_ORTEC994:MeasureCountsWithTimer $exptime 0" ? 1 : 0;
    last.assign(line);
  }
  long long lines = 0, counts = 0;
  std::string last;
};

TEST(LargeInputTest, LongestSlitScanStreamsWithFlatMemory) {
  const Result<SlitScanParams> params =
      Validate(SlitScanForm{false, true, "0.01", "0", "2", "32767", "l.tcl", true, "50"});
  ASSERT_TRUE(params.ok()) << params.message();
  CheckingCounter out;
  const long before = PeakRssKiB();
  const auto start = std::chrono::steady_clock::now();
  BuildScript(*params, "/data/beam", out);
  const long growth = PeakRssKiB() - before;
  std::printf("longest slit scan: %lld lines in %.1f s; peak RSS %ld KiB before, grew by %ld KiB\n",
              out.lines, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(),
              before, growth);
  EXPECT_EQ(out.counts, 32767LL * 50 + 1);  // every point of every pass, then the centre
  EXPECT_EQ(out.last, "TclSrv_Optics:Shutter close");
#ifndef VESKO_UNDER_ASAN  // the address sanitizer keeps freed blocks in quarantine
  EXPECT_LT(growth, 4 * 1024) << "memory grows with the length of the script";
#endif
}

}  // namespace
}  // namespace vesko
