// Micro-benchmarks of the hot paths: the "#0.000" format, one scan of each generator (reported per
// point), the settings-field reader and the result-file reader. Run: build/bench/vesko-bench
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "analysis/break_analysis.h"
#include "analysis/result_file.h"
#include "core/format.h"
#include "core/line_sink.h"
#include "core/settings_file.h"
#include "generators/coll_scan.h"
#include "generators/gonio_stage_scan.h"
#include "generators/gonio_y_scan.h"
#include "generators/lens_scan.h"
#include "generators/slit_dec_scan.h"
#include "generators/slit_move.h"
#include "generators/slit_scan.h"

namespace vesko {
namespace {

constexpr const char* kOutputFolder = "/data/bench";

// Counts the bytes a generator writes and keeps nothing, so that only the generator is measured.
class CountingSink final : public LineSink {
 public:
  void WriteLine(std::string_view line) override { bytes_ += line.size() + 2; }
  void WriteLines(std::string_view lines) override { bytes_ += lines.size(); }
  std::size_t bytes() const { return bytes_; }

 private:
  std::size_t bytes_ = 0;
};

// Values as a scan meets them: positions a few millimetres around zero with float steps.
std::vector<double> ScanValues() {
  std::vector<double> values;
  for (int i = 0; i < 1024; ++i) {
    values.push_back(static_cast<float>(-1.0 + i * (2.0 / 1023)));
  }
  return values;
}

void BM_FormatF(benchmark::State& state) {
  const std::vector<double> values = ScanValues();
  for (auto _ : state) {
    for (const double v : values) {
      benchmark::DoNotOptimize(FormatF(v));
    }
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(values.size()));
}
BENCHMARK(BM_FormatF);

// The same into a caller's buffer, as a script block does.
void BM_WriteF(benchmark::State& state) {
  const std::vector<double> values = ScanValues();
  char buffer[kMaxFormattedLength];
  for (auto _ : state) {
    for (const double v : values) {
      benchmark::DoNotOptimize(WriteF(buffer, v));
    }
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(values.size()));
}
BENCHMARK(BM_WriteF);

// Values whose thousandths do not fit in 64 bits take the long way through a decimal string.
void BM_FormatF_Huge(benchmark::State& state) {
  double v = 1e30;
  for (auto _ : state) {
    benchmark::DoNotOptimize(FormatF(v));
    v += 1e15;
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_FormatF_Huge);

// Runs `build` into a counting sink; reports points per second and bytes per second.
void RunGenerator(benchmark::State& state, int points, const std::function<void(LineSink&)>& build) {
  std::size_t bytes = 0;
  for (auto _ : state) {
    CountingSink sink;
    build(sink);
    bytes = sink.bytes();
    benchmark::DoNotOptimize(bytes);
  }
  state.SetItemsProcessed(state.iterations() * points);
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(bytes));
}

template <typename Params>
Params Checked(const Result<Params>& result) {
  if (!result) {
    std::fprintf(stderr, "vesko-bench: inputs refused: %s\n", result.message().c_str());
    std::exit(1);
  }
  return *result;
}

constexpr int kPoints = 1001;
const std::string kDivision = std::to_string(kPoints);

void BM_SlitScan(benchmark::State& state) {
  const SlitScanParams p = Checked(Validate(SlitScanForm{
      .axisY = true, .slitWidth = "0.1", .scanCenter = "0", .scanWidth = "2", .division = kDivision}));
  RunGenerator(state, kPoints, [&](LineSink& out) { BuildScript(p, kOutputFolder, out); });
}
BENCHMARK(BM_SlitScan);

// Items are point blocks: every pass writes each point once.
void BM_SlitScan_Repeat10(benchmark::State& state) {
  const SlitScanParams p = Checked(Validate(SlitScanForm{.axisZ = true,
                                                         .slitWidth = "0.1",
                                                         .scanCenter = "0.5",
                                                         .scanWidth = "2",
                                                         .division = kDivision,
                                                         .repeatActive = true,
                                                         .repeatTimes = "10"}));
  RunGenerator(state, kPoints * 10, [&](LineSink& out) { BuildScript(p, kOutputFolder, out); });
}
BENCHMARK(BM_SlitScan_Repeat10);

void BM_SlitDecScan(benchmark::State& state) {
  const SlitDecScanParams p = Checked(Validate(SlitDecScanForm{
      .axisY = true, .startSlitWidth = "2", .endSlitWidth = "0", .scanCenter = "0.25", .decStep = "0.002"}));
  const int points = static_cast<int>(PointCount(p));
  RunGenerator(state, points, [&](LineSink& out) { BuildScript(p, kOutputFolder, out); });
}
BENCHMARK(BM_SlitDecScan);

// The slit move writes its four blade commands once: one item is the whole file.
void BM_SlitMove(benchmark::State& state) {
  const SlitMoveParams p = Checked(Validate(SlitMoveForm{
      .slitWidthY = "0.5", .slitWidthZ = "0.25", .slitCenterY = "0.125", .slitCenterZ = "-0.125"}));
  RunGenerator(state, 1, [&](LineSink& out) { BuildScript(p, out); });
}
BENCHMARK(BM_SlitMove);

void BM_CollScan(benchmark::State& state) {
  const CollScanParams p = Checked(Validate(CollScanForm{.scanCenter = "0.5",
                                                         .scanWidth = "3",
                                                         .division = kDivision,
                                                         .move4DSlit = true,
                                                         .slitWidthY = "1",
                                                         .slitWidthZ = "1",
                                                         .slitCenterY = "0",
                                                         .slitCenterZ = "0"}));
  RunGenerator(state, kPoints, [&](LineSink& out) { BuildScript(p, kOutputFolder, out); });
}
BENCHMARK(BM_CollScan);

void BM_LensScan(benchmark::State& state) {
  const LensScanParams p = Checked(Validate(LensScanForm{
      .axis = {false, false, true, false}, .scanCenter = "0.5", .scanWidth = "3", .division = kDivision}));
  RunGenerator(state, kPoints, [&](LineSink& out) { BuildScript(p, kOutputFolder, out); });
}
BENCHMARK(BM_LensScan);

GonioYScanForm GonioYForm() {
  return GonioYScanForm{.scanCenter = "0.5", .scanWidth = "3", .division = kDivision};
}

void BM_GonioYScan_A(benchmark::State& state) {
  const GonioYScanParams p = Checked(Validate(GonioYForm(), GonioYGenerator::A));
  RunGenerator(state, kPoints, [&](LineSink& out) { BuildScriptA(p, kOutputFolder, out); });
}
BENCHMARK(BM_GonioYScan_A);

void BM_GonioYScan_A_Repeat10(benchmark::State& state) {
  GonioYScanForm form = GonioYForm();
  form.repeatActive = true;
  form.repeatTimes.assign("10");
  const GonioYScanParams p = Checked(Validate(form, GonioYGenerator::A));
  RunGenerator(state, kPoints * 10, [&](LineSink& out) { BuildScriptA(p, kOutputFolder, out); });
}
BENCHMARK(BM_GonioYScan_A_Repeat10);

// Both omega angles: the scan is written twice.
void BM_GonioYScan_B(benchmark::State& state) {
  GonioYScanForm form = GonioYForm();
  form.useOmega = {1, 1};
  const GonioYScanParams p = Checked(Validate(form, GonioYGenerator::B));
  RunGenerator(state, kPoints * 2, [&](LineSink& out) { BuildScriptB(p, kOutputFolder, out); });
}
BENCHMARK(BM_GonioYScan_B);

void BM_GonioStageScan(benchmark::State& state) {
  const GonioStageScan2Params p = Checked(Validate(GonioStageScan2Form{.slitWidthY = "1",
                                                                       .slitWidthZ = "1",
                                                                       .slitCenterY = "0",
                                                                       .slitCenterZ = "0",
                                                                       .scanCenter = "0.5",
                                                                       .scanWidth = "3",
                                                                       .division = kDivision}));
  RunGenerator(state, kPoints, [&](LineSink& out) { BuildScript(p, kOutputFolder, out); });
}
BENCHMARK(BM_GonioStageScan);

// The slit scan through the sink that the command line writes standard output with.
void BM_SlitScan_StreamSink(benchmark::State& state) {
  const SlitScanParams p = Checked(Validate(SlitScanForm{
      .axisY = true, .slitWidth = "0.1", .scanCenter = "0", .scanWidth = "2", .division = kDivision}));
  std::FILE* null = std::fopen("/dev/null", "wb");
  if (null == nullptr) {
    state.SkipWithError("cannot open /dev/null");
    return;
  }
  for (auto _ : state) {
    StreamSink sink(null);
    BuildScript(p, kOutputFolder, sink);
    sink.Flush();
  }
  std::fclose(null);
  state.SetItemsProcessed(state.iterations() * kPoints);
}
BENCHMARK(BM_SlitScan_StreamSink);

// A settings file of nine fields, one of them quoted, read field by field.
void BM_ReadSettingsField(benchmark::State& state) {
  const std::string content =
      "1\r\n0.100\r\n0.200\r\n-0.050\r\n0.050\r\n0.000\r\n2.000\r\n101\r\n\"Gonio 1D.tcl\"\r\n";
  std::istringstream in;
  for (auto _ : state) {
    in.str(content);
    in.clear();
    while (std::optional<std::string> field = ReadSettingsField(in)) {
      benchmark::DoNotOptimize(field->data());
    }
  }
  state.SetItemsProcessed(state.iterations() * 9);
}
BENCHMARK(BM_ReadSettingsField);

// A result file of the decreasing-width scan: the intensity falls in a line, then stays level.
class ResultFileFixture : public benchmark::Fixture {
 public:
  void SetUp(const benchmark::State& state) override {
    rows_ = static_cast<int>(state.range(0));
    path_ =
        (std::filesystem::temp_directory_path() / ("vesko-bench-" + std::to_string(rows_) + ".dat")).string();
    std::ofstream out(path_, std::ios::binary);
    out << "slit_y1,slit_y2,Intensity\r\n";
    for (int i = 0; i < rows_; ++i) {
      const double w = 1.0 - i * (0.9 / rows_);
      const int y = i < rows_ * 6 / 10 ? 900000 - i : 300000 + i % 7;
      out << FormatF(w / 2) << "," << FormatF(w / 2) << ", " << y << "\r\n";
    }
  }
  void TearDown(const benchmark::State&) override { std::filesystem::remove(path_); }

 protected:
  int rows_ = 0;
  std::string path_;
};

BENCHMARK_DEFINE_F(ResultFileFixture, ReadResultFile)(benchmark::State& state) {
  for (auto _ : state) {
    Result<ResultRows> rows = ReadResultFile(path_);
    benchmark::DoNotOptimize(rows.ok());
  }
  state.SetItemsProcessed(state.iterations() * rows_);
}
BENCHMARK_REGISTER_F(ResultFileFixture, ReadResultFile)->Arg(100000);

BENCHMARK_DEFINE_F(ResultFileFixture, AnalyseResultFile)(benchmark::State& state) {
  for (auto _ : state) {
    const BreakAnalysis run = AnalyseResultFile(path_, "2.0");
    benchmark::DoNotOptimize(run.level);
  }
  state.SetItemsProcessed(state.iterations() * rows_);
}
BENCHMARK_REGISTER_F(ResultFileFixture, AnalyseResultFile)->Arg(100000);

}  // namespace
}  // namespace vesko

BENCHMARK_MAIN();
