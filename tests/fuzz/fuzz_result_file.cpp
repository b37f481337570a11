// Result files: any bytes are read and analysed without trouble, and what comes out is consistent.
// The file's first line, which the reader skips, doubles as the typed threshold.

#include <cmath>
#include <cstdint>
#include <string>

#include "analysis/break_analysis.h"
#include "analysis/result_series.h"
#include "analysis/scan_figures.h"
#include "tests/fuzz/fuzz_support.h"

using vesko::fuzz::Require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > 16384) {
    return 0;
  }
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const std::string threshold = bytes.substr(0, std::min(bytes.find_first_of("\r\n"), std::size_t{32}));
  const std::string path = vesko::fuzz::ScratchPath("result.dat");
  vesko::fuzz::WriteScratch(path, bytes);

  const vesko::BreakAnalysis run = vesko::AnalyseResultFile(path, threshold);
  Require(run.readError.empty(), "a readable file was refused", run.readError);
  const std::size_t n = run.rows.x.size();
  Require(run.rows.y.size() == n, "x and y differ in length", bytes);
  for (std::size_t i = 0; i < n; ++i) {
    Require(std::isfinite(run.rows.x[i]) && std::isfinite(run.rows.y[i]), "a row holds a non-finite number",
            bytes);
  }
  Require(run.threshold != 0 && std::isfinite(run.threshold), "the threshold is zero or not finite",
          threshold);
  Require(run.breakIndex == 0 || run.breakIndex + 1 < n, "the break lies outside the rows", bytes);
  Require(run.passedGate == (run.breakIndex >= 2), "the gate does not follow the break index", bytes);
  Require(!run.crossX || std::isfinite(*run.crossX), "the crossing point is not finite", bytes);
  Require(run.crossX.has_value() || !run.messages.empty(), "no result and no message", bytes);

  // The same bytes as series of any layout, with their figures.
  vesko::Result<vesko::ResultSet> set = vesko::ReadResultSet(path);
  Require(set.ok(), "a readable file was refused as a result set", set.message());
  for (const vesko::ResultSeries& s : set->series) {
    Require(s.y.size() == s.x.size(), "a series' columns differ in length", bytes);
    Require(s.io.size() == s.i.size() && (s.io.empty() || s.io.size() == s.x.size()),
            "a series' counters differ in length", bytes);
  }
  for (const vesko::FigureBlock& block : vesko::FigureBlocksOf(set.value())) {
    const vesko::ScanFigures& f = block.figures;
    Require(!f.maxIndex || *f.maxIndex < f.points, "the peak lies outside the series", bytes);
    Require(!f.fwhm || *f.fwhm >= 0, "a negative width", bytes);
    Require(!f.edgeIndex || *f.edgeIndex + 1 < f.points, "the edge lies outside the series", bytes);
    Require(block.texts.size() >= 13 && block.texts[0].first == "series", "a block without its figures",
            bytes);
  }
  return 0;
}
