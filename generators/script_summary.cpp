#include "generators/script_summary.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <system_error>
#include <utility>

#include "core/format.h"
#include "core/shown_text.h"
#include "core/tcl_path.h"
#include "generators/coll_scan.h"
#include "generators/gonio_stage_scan.h"
#include "generators/gonio_y_scan.h"
#include "generators/lens_scan.h"
#include "generators/slit_dec_scan.h"
#include "generators/slit_move.h"
#include "generators/slit_scan.h"

namespace vesko {
namespace {

constexpr std::string_view kMeasureCall = "MeasureCountsWithTimer";
constexpr std::string_view kExposurePrefix = "set exptime ";
constexpr std::string_view kOpenPrefix = "set fp";
constexpr std::string_view kOpenStart = " [open ";
constexpr std::string_view kOpenEnd = " w+]";
constexpr std::string_view kShutterPrefix = "TclSrv_Optics:Shutter ";
constexpr std::string_view kBeamStopPrefix = "TclSrv_Optics:BeamStop ";
constexpr std::string_view kZeroWidthNote = "Scan Width is 0: every point is at the scan centre.";

// The whole of `text` as a number; false when any of it is not.
bool ParseNumber(std::string_view text, double& value) {
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, value);
  return error == std::errc() && stop == end && !text.empty();
}

std::uint64_t CountOf(std::string_view line, std::string_view what) {
  std::uint64_t count = 0;
  for (std::size_t at = line.find(what); at != std::string_view::npos;
       at = line.find(what, at + what.size())) {
    ++count;
  }
  return count;
}

// "1 point", "5 points", "1 pass", "2 passes"; nothing below 0.
std::string Counted(std::int64_t count, std::string_view one, std::string_view many) {
  return std::to_string(std::max<std::int64_t>(count, 0)) + " " + std::string(count == 1 ? one : many);
}

std::string PairName(std::int16_t axis) {
  return axis == 0 ? "slit_y1 and slit_y2" : "slit_z1 and slit_z2";
}

// The points of the scans whose positions spread `Division` points over the scan width.
std::int64_t PointsOf(std::int16_t division) {
  return std::max<std::int64_t>(division, 0);
}

std::int64_t PassesOf(bool repeatActive, std::int16_t repeatTimes) {
  return repeatActive ? repeatTimes : 1;
}

void NoteZeroWidth(float scanWidth, ScanOutline& outline) {
  if (scanWidth == 0) {
    outline.notes.emplace_back(kZeroWidthNote);
  }
}

}  // namespace

SummarySink::SummarySink(LineSink* next, AxisTableRead axes)
    : next_(next), axisTableProblem_(std::move(axes.problem)) {
  if (axes.table) {
    check_ = std::make_unique<AxisCheck>(std::move(*axes.table));
  }
}

void SummarySink::WriteLine(std::string_view line) {
  if (next_ != nullptr) {
    next_->WriteLine(line);
  }
  Read(line);
}

void SummarySink::WriteLines(std::string_view lines) {
  if (next_ != nullptr) {
    next_->WriteLines(lines);
  }
  // Each line ends in CR LF and holds no other line end.
  while (!lines.empty()) {
    const void* found = std::memchr(lines.data(), '\n', lines.size());
    const std::size_t end = found == nullptr
                                ? lines.size()
                                : static_cast<std::size_t>(static_cast<const char*>(found) - lines.data());
    std::string_view line = lines.substr(0, end);
    if (!line.empty() && line.back() == '\r') {
      line.remove_suffix(1);
    }
    Read(line);
    lines.remove_prefix(std::min(end + 1, lines.size()));
  }
}

void SummarySink::Read(std::string_view line) {
  ++lines_;
  if (!line.empty() && line.back() == '}' && ReadMove(line)) {
    return;
  }
  // Anything but a blade move leaves the blades where they are: now their opening counts.
  for (BladePair& pair : pairs_) {
    Settle(pair);
  }
  if (const std::uint64_t calls = CountOf(line, kMeasureCall); calls > 0) {
    measurements_ += calls;
    if (check_) {
      check_->Measure(calls, exposureSeconds_);
    }
  } else if (check_ && (line.starts_with(kShutterPrefix) || line.starts_with(kBeamStopPrefix))) {
    check_->Shutter();
  } else if (line.starts_with(kExposurePrefix)) {
    double seconds = 0;
    if (ParseNumber(line.substr(kExposurePrefix.size()), seconds)) {
      exposureSeconds_ = seconds;
    }
  } else if (line.starts_with(kOpenPrefix) && line.ends_with(kOpenEnd)) {
    const std::size_t start = line.find(kOpenStart);
    if (start != std::string_view::npos) {
      const std::size_t word = start + kOpenStart.size();
      if (word <= line.size() - kOpenEnd.size()) {
        resultFiles_.push_back(TclWordText(line.substr(word, line.size() - kOpenEnd.size() - word)));
      }
    }
  }
}

// "<command> {<axis> move <target>}" with a one-word command and a numeric target.
bool SummarySink::ReadMove(std::string_view line) {
  const std::size_t brace = line.find(' ');
  if (brace == 0 || brace == std::string_view::npos || line.substr(brace, 2) != " {") {
    return false;
  }
  const std::string_view inner = line.substr(brace + 2, line.size() - brace - 3);
  const std::size_t space = inner.find(' ');
  if (space == 0 || space == std::string_view::npos || inner.substr(space, 6) != " move ") {
    return false;
  }
  const std::string_view axis = inner.substr(0, space);
  const std::string_view target = inner.substr(space + 6);
  double value = 0;
  if (!ParseNumber(target, value)) {
    return false;
  }
  if (check_) {
    check_->Move(line.substr(0, brace), axis, target, value);
  }

  auto travel =
      std::find_if(axes_.begin(), axes_.end(), [axis](const Travel& t) { return t.shown.axis == axis; });
  if (travel == axes_.end()) {
    const std::string text(target);
    axes_.push_back({{std::string(axis), 1, text, text, text, text}, value, value});
  } else {
    ++travel->shown.moves;
    travel->shown.last.assign(target);
    if (value < travel->lowest) {
      travel->lowest = value;
      travel->shown.lowest.assign(target);
    }
    if (value > travel->highest) {
      travel->highest = value;
      travel->shown.highest.assign(target);
    }
  }

  // slit_y1, slit_y2, slit_z1, slit_z2: the pair's letter, then the blade's number.
  const bool isBlade = axis.size() == 7 && axis.starts_with("slit_") && (axis[5] == 'y' || axis[5] == 'z') &&
                       (axis[6] == '1' || axis[6] == '2');
  if (isBlade) {
    BladePair& moved = pairs_[axis[5] == 'z' ? 1 : 0];
    Settle(pairs_[axis[5] == 'z' ? 0 : 1]);
    const int blade = axis[6] == '2' ? 1 : 0;
    moved.blade[blade] = value;
    moved.known[blade] = true;
    moved.moving = true;
  } else {
    for (BladePair& pair : pairs_) {
      Settle(pair);
    }
  }
  return true;
}

void SummarySink::Settle(BladePair& pair) {
  if (!pair.moving) {
    return;
  }
  pair.moving = false;
  if (!pair.noted && Crosses(pair)) {
    pair.noted = true;
    crossings_.push_back(CrossingNote(pair));
  }
}

// Both targets are written with three decimals: an opening below -0.0005 is at least -0.001.
bool SummarySink::Crosses(const BladePair& pair) {
  return pair.known[0] && pair.known[1] && pair.blade[0] + pair.blade[1] < -0.0005;
}

std::string SummarySink::CrossingNote(const BladePair& pair) {
  return std::string("Blades ") + pair.names + " cross: their opening is " +
         FormatF(pair.blade[0] + pair.blade[1]) + ".";
}

ScriptSummary SummarySink::Summary(const ScanOutline& outline) const {
  ScriptSummary summary;
  summary.outline = outline;
  summary.lines = lines_;
  summary.measurements = measurements_;
  summary.exposureSeconds = exposureSeconds_;
  for (const Travel& travel : axes_) {
    summary.axes.push_back(travel.shown);
  }
  summary.resultFiles = resultFiles_;
  summary.notes = outline.notes;
  summary.notes.insert(summary.notes.end(), crossings_.begin(), crossings_.end());
  // A pair whose moves end the script stands where the last moves left it.
  for (const BladePair& pair : pairs_) {
    if (pair.moving && !pair.noted && Crosses(pair)) {
      summary.notes.push_back(CrossingNote(pair));
    }
  }
  if (lines_ > kLongScriptLines) {
    summary.notes.push_back("The script has " + std::to_string(lines_) + " lines, more than 10,000.");
  }
  if (check_) {
    summary.axisReport = check_->Report();
  }
  summary.axisTableProblem = axisTableProblem_;
  return summary;
}

ScanOutline OutlineOf(const SlitScanParams& p) {
  ScanOutline outline{PairName(p.Axis), PointsOf(p.Division), PassesOf(p.RepeatActive, p.RepeatTimes), {}};
  NoteZeroWidth(p.ScanWidth, outline);
  if (p.ScanWidth != 0 && p.SlitWidth > p.ScanWidth) {
    outline.notes.push_back("Slit Width " + FormatF(p.SlitWidth) + " is larger than Scan Width " +
                            FormatF(p.ScanWidth) + ".");
  }
  return outline;
}

ScanOutline OutlineOf(const SlitDecScanParams& p) {
  // Point indices run 0, 1, ... while not above PointCount - 1.
  const float last = PointCount(p) - 1.0f;
  const std::int64_t points = last < 0.0f ? 0 : static_cast<std::int64_t>(std::floor(last)) + 1;
  return {PairName(p.Axis), points, PassesOf(p.RepeatActive, p.RepeatTimes), {}};
}

ScanOutline OutlineOf(const SlitMoveParams&) {
  return {"slit_y1, slit_y2, slit_z1 and slit_z2", 0, 1, {}};
}

ScanOutline OutlineOf(const CollScanParams& p) {
  ScanOutline outline{p.Panel == 0 ? "col_y" : "col_z", PointsOf(p.Division), 1, {}};
  NoteZeroWidth(p.ScanWidth, outline);
  return outline;
}

ScanOutline OutlineOf(const LensScanParams& p) {
  ScanOutline outline{kLensAxisNames[static_cast<std::size_t>(p.Axis)], PointsOf(p.Division), 1, {}};
  NoteZeroWidth(p.ScanWidth, outline);
  return outline;
}

ScanOutline OutlineOf(const GonioYScanParams& p, GonioYGenerator generator) {
  // Generator B scans once per omega angle in use.
  const std::int64_t passes = generator == GonioYGenerator::A
                                  ? PassesOf(p.RepeatActive, p.RepeatTimes)
                                  : std::count(p.UseOmega.begin(), p.UseOmega.end(), true);
  ScanOutline outline{"gonio_y", PointsOf(p.Division), passes, {}};
  NoteZeroWidth(p.ScanWidth, outline);
  return outline;
}

ScanOutline OutlineOf(const GonioStageScan2Params& p) {
  ScanOutline outline{p.Panel == 0 ? "gonio stage y" : "gonio stage z", PointsOf(p.Division), 1, {}};
  NoteZeroWidth(p.ScanWidth, outline);
  return outline;
}

std::string DurationText(double seconds) {
  // A product such as 100 x 1.1 lands a hair above its whole second: that hair is not a second more.
  const double whole = seconds > 0 ? std::ceil(seconds - 1e-6) : 0;
  const auto total = static_cast<std::uint64_t>(std::min(whole, 1e15));
  return std::to_string(total / 3600) + ":" + FormatI(static_cast<int>(total / 60 % 60)) + ":" +
         FormatI(static_cast<int>(total % 60));
}

std::vector<std::string> SummaryText(const ScriptSummary& summary) {
  const ScanOutline& outline = summary.outline;
  std::vector<std::string> text;
  if (!outline.scanned.empty()) {
    text.push_back("Scan: " + outline.scanned + ", " + Counted(outline.points, "point", "points") + ", " +
                   Counted(outline.passes, "pass", "passes"));
  }
  for (const AxisTravel& axis : summary.axes) {
    text.push_back(axis.axis + ": " + Counted(static_cast<std::int64_t>(axis.moves), "move", "moves") +
                   ", first " + axis.first + ", last " + axis.last + ", range " + axis.lowest + " to " +
                   axis.highest);
  }
  text.push_back("Count measurements: " + std::to_string(summary.measurements));
  const std::vector<std::string> time = TimeText(summary);
  text.insert(text.end(), time.begin(), time.end());
  for (const std::string& file : summary.resultFiles) {
    text.push_back("Result file: " + ShownText(file));
  }
  text.push_back("Script lines: " + std::to_string(summary.lines));
  if (summary.axisReport) {
    for (const std::string& note : summary.axisReport->limitNotes) {
      text.push_back("Note: " + note);
    }
  }
  for (const std::string& note : summary.notes) {
    text.push_back("Note: " + note);
  }
  return text;
}

}  // namespace vesko
