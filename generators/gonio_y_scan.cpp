#include "generators/gonio_y_scan.h"

#include <cstddef>
#include <string_view>
#include <vector>

#include "core/format.h"
#include "core/numbers.h"
#include "core/settings_file.h"
#include "core/tcl_lines.h"
#include "generators/form_checks.h"
#include "generators/scan_positions.h"
#include "generators/two_counter.h"

namespace vesko {
namespace {

constexpr std::string_view kColumns = "GonioY,Io,I,I/Io";
// Splits the last reply into the two channel counts that the repeat sums add up.
constexpr std::string_view kScanCounts = "scan $counts \"%f %f\" counterA counterB";

// Moves gonio_y to x, counts both channels and writes the row of x into `fileVar`.
void AddPoint(float x, std::string_view fileVar, LineBlock& block) {
  AddTwoCounterPoint(block, "TclSrv_GStand {gonio_y move ", NumberText::F(x), fileVar);
}

// Every point measured once into `fileVar`, then the return to the centre, measured once more.
// Each point goes out as one block; the block's storage is reused from point to point.
void WriteSingleScan(const GonioYScanParams& p, std::string_view fileVar, LineSink& out) {
  const ScanPositions positions(p.ScanCenter, p.ScanWidth, p.Division);
  const int lastIndex = positions.LastIndex();
  LineBlock block;
  for (int i = 0; i <= lastIndex; ++i) {
    AddPoint(positions.At(i), fileVar, block);
    block.WriteTo(out);
  }
  AddPoint(p.ScanCenter, fileVar, block);
  block.WriteTo(out);
}

// The sum of one channel at point i is named counterA07, counterB07, ...
std::string_view CounterPrefix(char channel) {
  return channel == 'A' ? "counterA" : "counterB";
}

// "set counterA07 [expr $counterA07 <op> <operand>]"
void AddCounterExprLine(char channel, int i, std::string_view op, std::string_view operand,
                        LineBlock& block) {
  const std::string_view counter = CounterPrefix(channel);
  const NumberText index = NumberText::I(i);
  block.Add("set ").Add(counter).Add(index).Add(" [expr $").Add(counter).Add(index);
  block.Add(" ").Add(op).Add(" ").Add(operand).Add("]").EndLine();
}

// Each pass adds both channel counts of every point to that point's sums; the averages divide the
// sums and go through Seikika as if they were one reply. The centre is counted afresh at the end.
void WriteRepeatedScan(const GonioYScanParams& p, LineSink& out) {
  const ScanPositions positions(p.ScanCenter, p.ScanWidth, p.Division);
  const int lastIndex = positions.LastIndex();
  LineBlock block;
  for (int i = 0; i <= lastIndex; ++i) {
    block.Add("set counterA").AddI(i).Add(" 0").EndLine();
    block.Add("set counterB").AddI(i).Add(" 0").EndLine();
    block.WriteTo(out);
  }
  for (int pass = 0; pass < p.RepeatTimes; ++pass) {
    const std::string tag = "(Repeat" + FormatI(pass) + ")";
    out.WriteLine(tcl::PutsLine("fp1", "GonioY,Io" + tag + ",I" + tag + ",I/Io" + tag));
    for (int i = 0; i <= lastIndex; ++i) {
      AddPoint(positions.At(i), "fp1", block);
      block.Line(kScanCounts);
      AddCounterExprLine('A', i, "+", "$counterA", block);
      AddCounterExprLine('B', i, "+", "$counterB", block);
      block.WriteTo(out);
    }
  }
  out.WriteLine(tcl::PutsLine("fp2", "GonioY,Io(Average),I(Average),I/Io(Average)"));
  const std::string times = FormatPlain(p.RepeatTimes);
  for (int i = 0; i <= lastIndex; ++i) {
    AddCounterExprLine('A', i, "/", times, block);
    AddCounterExprLine('B', i, "/", times, block);
    block.Add("set strBuff2 [Seikika \"$counterA").AddI(i).Add(" $counterB").AddI(i).Add("\"]").EndLine();
    AddTwoCounterRowText(tcl::BeginPuts(block, "fp2"), NumberText::F(positions.At(i)));
    tcl::EndPuts(block);
    block.WriteTo(out);
  }
  AddPoint(p.ScanCenter, "fp2", block);
  block.WriteTo(out);
}

// Reads the file's fields into `form` (the first names the axis; there is only gonio_y, so it is not read); a
// ticked box read applies the omega rule.
void ReadSettingsFile(const std::string& path, GonioYScanForm& form, bool skipFailures) {
  ReadStoredFields(path, form, skipFailures);
  ApplyOmegaRule(form);
}

}  // namespace

OmegaRuleState OmegaRuleFor(const std::array<int, 2>& useOmega) {
  if (useOmega[0] == 0 && useOmega[1] == 0) {
    return {GonioYGenerator::A, true};
  }
  return {GonioYGenerator::B, false};
}

OmegaRuleState ApplyOmegaRule(GonioYScanForm& form) {
  const OmegaRuleState state = OmegaRuleFor(form.useOmega);
  if (state.generator == GonioYGenerator::B) {
    form.repeatActive = false;
  }
  return state;
}

Result<GonioYScanParams> Validate(const GonioYScanForm& form, GonioYGenerator generator) {
  using R = Result<GonioYScanParams>;
  GonioYScanParams p;

  if (const Result<ScanRange> range = TakeScanRange(ScanTextsOf(form)); !Taken(range, p)) {
    return R::Refused(kSettingError, range.field());
  }

  // Both angles must be numbers even when their boxes are not ticked and generator A never turns omega.
  for (std::size_t k = 0; k < form.omega.size(); ++k) {
    const std::optional<float> omega = ToSingle(form.omega[k]);
    if (!omega) {
      return R::Refused("Omega" + FormatPlain(static_cast<int>(k)) + " Setting Error!",
                        ControlOf(form, form.omega[k]));
    }
    p.Omega[k] = *omega;
    p.UseOmega[k] = form.useOmega[k] == 1;
  }

  if (!Taken(TakeOutputFileName(form.outputFileName), p)) {
    return R::Refused(kSettingError, ControlOf(form, form.outputFileName));
  }

  // Checked after every other field but before any file is touched: a refused count must not leave
  // a half-written script that opens the shutter and never closes it.
  if (!Taken(TakeRepeat(generator == GonioYGenerator::A && form.repeatActive, form.repeatTimes), p)) {
    return R::Refused(kRepeatTimesError, ControlOf(form, form.repeatTimes));
  }
  return p;
}

void BuildScriptA(const GonioYScanParams& p, const std::string& outputFolder, LineSink& out) {
  if (p.RepeatActive) {
    WriteTwoCounterHead({tcl::OpenLine("fp1", outputFolder, p.ResultBase, "_Repeat"),
                         tcl::OpenLine("fp2", outputFolder, p.ResultBase, "_Average")},
                        std::nullopt, out);
    WriteRepeatedScan(p, out);
    out.WriteLine(tcl::CloseLine("fp1"));
    out.WriteLine(tcl::CloseLine("fp2"));
  } else {
    WriteTwoCounterHead({tcl::OpenLine("fp", outputFolder, p.ResultBase, "")}, std::nullopt, out);
    out.WriteLine(tcl::PutsLine("fp", kColumns));
    WriteSingleScan(p, "fp", out);
    out.WriteLine(tcl::CloseLine("fp"));
  }
  WriteTwoCounterTail(out);
}

void BuildScriptB(const GonioYScanParams& p, const std::string& outputFolder, LineSink& out) {
  // Angle k writes to fp1 or fp2 and its result file carries the suffix "_1" or "_2", whichever
  // other angle is in use.
  const std::string_view fileVars[] = {"fp1", "fp2"};
  const std::string_view suffixes[] = {"_1", "_2"};
  std::vector<std::string> openLines;
  for (std::size_t k = 0; k < 2; ++k) {
    if (p.UseOmega[k]) {
      openLines.push_back(tcl::OpenLine(fileVars[k], outputFolder, p.ResultBase, suffixes[k]));
    }
  }
  WriteTwoCounterHead(openLines, std::nullopt, out);
  for (std::size_t k = 0; k < 2; ++k) {
    if (!p.UseOmega[k]) {
      continue;
    }
    out.WriteLine(tcl::PutsLine(fileVars[k], kColumns));
    out.WriteLine("TclSrv_Gonio {omega move " + FormatF(p.Omega[k]) + "}");
    out.WriteLine(kCountBothChannels);  // one count after the turn; its reply is not used
    WriteSingleScan(p, fileVars[k], out);
    out.WriteLine(tcl::CloseLine(fileVars[k]));
  }
  out.WriteLine("TclSrv_Gonio {omega move 0.000}");
  WriteTwoCounterTail(out);
}

void LoadSettings(const std::string& path, GonioYScanForm& form) {
  ReadSettingsFile(path, form, false);
}

void LoadCombinedSettings(const std::string& path, GonioYScanForm& form) {
  ReadSettingsFile(path, form, true);
}

std::optional<IoError> SaveSettings(const std::string& path, const GonioYScanParams& p) {
  return vesko::SaveSettings(path, {"0", FormatF(p.ScanCenter), FormatF(p.ScanWidth), FormatPlain(p.Division),
                                    p.OutputFileName, FormatPlain(p.UseOmega[0] ? 1 : 0), FormatF(p.Omega[0]),
                                    FormatPlain(p.UseOmega[1] ? 1 : 0), FormatF(p.Omega[1])});
}

}  // namespace vesko
