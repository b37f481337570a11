// Every generator over arbitrary field texts and output folders: what its checks let through gives whole
// CR LF lines of plain ASCII without "inf" or "nan", and open lines naming the result files as single Tcl
// words. Byte 0 picks the generator, byte 1 sets its buttons and boxes, the rest is cut at NULs into the
// output folder and the form's texts in the window's order.

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/line_sink.h"
#include "core/script_naming.h"
#include "core/tcl_path.h"
#include "generators/coll_scan.h"
#include "generators/gonio_stage_scan.h"
#include "generators/gonio_y_scan.h"
#include "generators/lens_scan.h"
#include "generators/slit_dec_scan.h"
#include "generators/slit_move.h"
#include "generators/slit_scan.h"
#include "tests/fuzz/fuzz_support.h"

using vesko::fuzz::Require;

namespace {

struct LineCapReached {};

// Keeps the script's bytes as a file would hold them, up to 5000 lines: enough to reach the body of
// every script form; longer scripts repeat the same blocks.
struct CappedSink final : vesko::LineSink {
  void WriteLine(std::string_view line) override { WriteLines(std::string(line) + "\r\n"); }
  void WriteLines(std::string_view lines) override {
    text.append(lines);
    if ((lineCount += std::count(lines.begin(), lines.end(), '\n')) >= 5000) {
      throw LineCapReached{};
    }
  }
  std::string text;
  long lineCount = 0;
};

// Checks one script line; an open line must name the folder, its separator, the result base, a suffix
// of letters, digits and "_", then ".dat", as one Tcl word of printable ASCII.
void CheckLine(std::string_view line, const std::string& folder, const std::string* resultBase) {
  for (const char c : line) {
    Require(c >= 0x20 && c < 0x7F, "a script line that is not printable ASCII", line);
  }
  constexpr std::string_view kOpenStart = " [open ", kOpenEnd = " w+]";
  const std::size_t open = line.find(kOpenStart);
  if (open == std::string_view::npos) {
    const auto has = [line](std::string_view word) {
      return std::search(line.begin(), line.end(), word.begin(), word.end(), [](char a, char b) {
               return std::tolower(static_cast<unsigned char>(a)) == b;
             }) != line.end();
    };
    Require(!has("inf") && !has("nan"), "a number written as inf or nan", line);
    return;
  }
  Require(resultBase != nullptr, "an open line in a script that names no result file", line);
  Require(line.starts_with("set fp") && line.ends_with(kOpenEnd) &&
              line.size() >= open + kOpenStart.size() + kOpenEnd.size(),
          "an open line of another shape", line);
  const std::string_view word =
      line.substr(open + kOpenStart.size(), line.size() - open - kOpenStart.size() - kOpenEnd.size());
  for (std::size_t i = 0; i < word.size(); ++i) {
    const bool escaped = word[i] == '\\';
    i += escaped ? 1 : 0;
    Require(i < word.size(), "a backslash at the end of the result file word", line);
    Require(escaped || std::string_view(" $[]{}\";").find(word[i]) == std::string_view::npos,
            "an unescaped special character in the result file word", line);
  }
  // The escapes of a non-ASCII name are the escaping's own tests' matter; an ASCII name must read back.
  const std::string named = vesko::TclWordText(word);
  const std::string stem = folder + (folder.starts_with('/') ? "/" : "\\") + *resultBase;
  if (std::all_of(stem.begin(), stem.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; })) {
    Require(named.size() >= stem.size() + 4 && named.starts_with(stem) && named.ends_with(".dat"),
            "the open line names another file than the folder and the result base", line);
    for (std::size_t k = stem.size(); k + 4 < named.size(); ++k) {
      Require(named[k] == '_' || std::isalnum(static_cast<unsigned char>(named[k])),
              "an unexpected result file suffix", line);
    }
  }
}

// Checks what the generator makes of a form: its refusal, or its script (as far as the line cap).
template <typename Params, typename Build>
void RunGenerator(const vesko::Result<Params>& checked, const std::string& folder, Build build) {
  if (!checked) {
    Require(!checked.message().empty(), "a refusal without a message");
    return;
  }
  const Params& p = *checked;
  const std::string* resultBase = nullptr;
  if constexpr (requires { p.ResultBase; }) {
    resultBase = &p.ResultBase;
  }
  CappedSink sink;
  try {
    // A folder refused for scripts stops "File Create" before anything is written.
    if (resultBase == nullptr || !vesko::CheckOutputFolderForScript(folder)) {
      build(p, sink);
    }
  } catch (const LineCapReached&) {
  }
  for (std::size_t start = 0; start < sink.text.size();) {
    const std::size_t lf = sink.text.find('\n', start);
    Require(lf != std::string::npos, "the script does not end with CR LF", sink.text.substr(start));
    Require(lf > start && sink.text[lf - 1] == '\r', "a line feed without a carriage return",
            sink.text.substr(start, lf - start));
    CheckLine(std::string_view(sink.text).substr(start, lf - 1 - start), folder, resultBase);
    start = lf + 1;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2 || size > 2048) {
    return 0;
  }
  using namespace vesko;
  const int flags = data[1];
  const auto bit = [flags](int k) { return (flags >> k & 1) != 0; };
  const std::vector<std::string> f =
      fuzz::SplitFields(std::string_view(reinterpret_cast<const char*>(data) + 2, size - 2), 10);
  const std::string& folder = f[0];
  const auto inFolder = [&folder](const auto& p, LineSink& out) { BuildScript(p, folder, out); };
  const auto run = [&](const auto& form) { RunGenerator(Validate(form), folder, inFolder); };

  switch (data[0] % 7) {
    case 0:
      run(SlitScanForm{bit(0), bit(1), f[1], f[2], f[3], f[4], f[5], bit(2), f[6]});
      break;
    case 1:
      run(SlitDecScanForm{bit(0), bit(1), f[1], f[2], f[3], f[4], f[5], bit(2), f[6]});
      break;
    case 2: {
      const SlitMoveForm form{f[1], f[2], f[3], f[4], f[5]};
      const Result<SlitMoveParams> checked = Validate(form);
      Require(!checked || !MoveReport(*checked).empty(), "an empty move report");
      RunGenerator(checked, folder, [](const SlitMoveParams& p, LineSink& out) { BuildScript(p, out); });
      break;
    }
    case 3:
      run(CollScanForm{bit(0), f[1], f[2], f[3], f[4], bit(1), f[5], f[6], f[7], f[8]});
      break;
    case 4:
      run(LensScanForm{{bit(0), bit(1), bit(2), bit(3)}, f[1], f[2], f[3], f[4]});
      break;
    case 5: {
      const std::array<int, 2> omegaBoxes = {flags % 3, flags / 3 % 3};
      GonioYScanForm form{f[1], f[2], f[3], f[4], omegaBoxes, {f[5], f[6]}, bit(7), f[7]};
      const GonioYGenerator which = ApplyOmegaRule(form).generator;
      RunGenerator(Validate(form, which), folder, [&](const GonioYScanParams& p, LineSink& out) {
        (which == GonioYGenerator::A ? BuildScriptA : BuildScriptB)(p, folder, out);
      });
      break;
    }
    default:
      run(GonioStageScan2Form{bit(0), (flags >> 1) % 3, f[1], f[2], f[3], f[4], f[5], f[6], f[7], f[8]});
  }
  return 0;
}
