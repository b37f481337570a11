#pragma once

#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/line_sink.h"
#include "generators/form_fields.h"
#include "tests/support/test_support.h"

namespace vesko::test {

/// The head of every two-counter script (LF ends): the Seikika procedure and the timer set-up.
inline constexpr const char* kSeikikaHead = R"(proc Seikika {strArg} {
scan $strArg "%f %f" counterA counterB
if {$counterA == 0} {
set c 0
} else {
set c [expr $counterB / $counterA]
}
return [list $counterA, $counterB, $c]
}
set exptime 1.0
TclSrv_ORTEC994:MeasureCounts:ConfigureTimer $exptime
)";

/// A panel's 4D slit set before its scan (LF ends): widths 0.5 (y) and 0.3 (z) around the centres 0.1 and
/// -0.05, each blade move followed by a count.
inline constexpr const char* kSlitSetBlock = R"(TclSrv_Optics:4DSlit {slit_y1 move 0.350}
set counts [TclSrv_ORTEC994:MeasureCountsWithTimer $exptime -1]
TclSrv_Optics:4DSlit {slit_y2 move 0.150}
set counts [TclSrv_ORTEC994:MeasureCountsWithTimer $exptime -1]
TclSrv_Optics:4DSlit {slit_z1 move 0.100}
set counts [TclSrv_ORTEC994:MeasureCountsWithTimer $exptime -1]
TclSrv_Optics:4DSlit {slit_z2 move 0.200}
set counts [TclSrv_ORTEC994:MeasureCountsWithTimer $exptime -1]
)";

/// Each point of a two-counter scan (LF ends): `mover` + " move " + position + "}", the two-channel
/// count, Seikika and the result row into `fileVar`.
inline std::string TwoCounterRows(const std::string& mover, const std::string& fileVar,
                                  const std::vector<std::string>& positions) {
  std::string text;
  for (const std::string& p : positions) {
    text += mover + " move " + p + "}\n";
    text += "set counts [TclSrv_ORTEC994:MeasureCountsWithTimer $exptime -1]\n";
    text += "set strBuff2 [Seikika $counts]\n";
    text += "puts $" + fileVar + " \"" + p + ", $strBuff2\"\n";
  }
  return text;
}

/// The script a window writes from `form`, which must pass its checks (a test failure otherwise).
template <FolderScriptGenerator Form>
std::string ScriptOf(const Form& form, const std::string& outputFolder = "C:\\data") {
  const auto p = Validate(form);
  EXPECT_TRUE(p.ok()) << p.message();
  StringSink sink;
  if (p.ok()) {
    BuildScript(*p, outputFolder, sink);
  }
  return sink.text();
}

/// The message that refuses `form`; empty (and a test failure) when it passes.
template <Generator Form>
std::string RefusalOf(const Form& form) {
  const auto p = Validate(form);
  EXPECT_FALSE(p.ok());
  return p.message();
}

/// A text typed into one box of a form that passes, and the message that must then refuse it.
template <typename Form>
struct Refusal {
  std::string Form::*box;
  const char* text;
  const char* message;
};

/// Checks each refusal on its own copy of `good`.
template <Generator Form>
void ExpectRefusals(const Form& good, const std::vector<Refusal<Form>>& refusals) {
  for (const Refusal<Form>& r : refusals) {
    Form form = good;
    form.*r.box = r.text;
    EXPECT_EQ(RefusalOf(form), r.message) << "'" << r.text << "'";
  }
}

/// Stores the checked `typed` form in `path` as exactly `bytes`; a fresh window that loads the file and
/// stores it again must write the same bytes.
template <Generator Form>
void ExpectSettingsRoundTrip(const Form& typed, const std::string& path, const std::string& bytes) {
  const auto p = Validate(typed);
  ASSERT_TRUE(p.ok()) << p.message();
  ASSERT_EQ(SaveSettings(path, *p), std::nullopt);
  EXPECT_TRUE(SameText(bytes, ReadFileBytes(path)));
  Form loaded;
  LoadSettings(path, loaded);
  const auto again = Validate(loaded);
  ASSERT_TRUE(again.ok()) << again.message();
  ASSERT_EQ(SaveSettings(path, *again), std::nullopt);
  EXPECT_TRUE(SameText(bytes, ReadFileBytes(path))) << "after loading it back";
}

}  // namespace vesko::test
