#include <cstddef>
#include <string>
#include <utility>
#include <vector>

#include "generators/coll_scan.h"
#include "generators/form_fields.h"
#include "generators/gonio_stage_scan.h"
#include "generators/gonio_y_scan.h"
#include "generators/lens_scan.h"
#include "generators/slit_dec_scan.h"
#include "generators/slit_move.h"
#include "generators/slit_scan.h"

namespace vesko {
namespace {

using fields::Box;
using fields::Text;
using fields::TextOption;
using fields::TickOption;

constexpr const char* kResultsFileHelp =
    "Output FileName (the results go to its part before the first \".\")";

// A window without its fields; `panelHelp` is given for a window with two panels.
template <typename Form>
FormDescription<Form> Window(std::string command, std::string summary, std::vector<std::string> settingsFiles,
                             std::string panelHelp = {}) {
  FormDescription<Form> d;
  d.command = std::move(command);
  d.summary = std::move(summary);
  d.settingsFiles = std::move(settingsFiles);
  d.twoPanels = !panelHelp.empty();
  d.panelHelp = std::move(panelHelp);
  return d;
}

// The blade pair of a 4D slit scan: option 0 y1 and y2, option 1 z1 and z2 (z wins when both are set).
template <typename Form>
FormField<Form> BladePair(std::string control) {
  FormField<Form> f;
  f.kind = FieldKind::Choice;
  f.control = std::move(control);
  f.choiceCount = 2;
  f.state = [](const Form& form) { return form.axisZ ? 1 : form.axisY ? 0 : -1; };
  f.setState = [](Form& form, int k) {
    form.axisY = k == 0;
    form.axisZ = k == 1;
  };
  f.settingsLine = 0;
  f.storedAs = StoredAs::Index;
  f.option = {"axis", "y|z", {"y", "z"}, "blade pair: y1 and y2, or z1 and z2"};
  return f;
}

// Scan Center, Scan Width and Scan Division, in the window's order, stored from line `first` on.
template <typename Form>
void AddScanFields(FormDescription<Form>& d, const std::string& prefix, int first) {
  d.fields.push_back(Text<Form>(prefix + "ScanCenter", &Form::scanCenter, first, StoredAs::Number,
                                TextOption("scan-center", "Scan Center")));
  d.fields.push_back(Text<Form>(prefix + "ScanWidth", &Form::scanWidth, first + 1, StoredAs::Number,
                                TextOption("scan-width", "Scan Width")));
  d.fields.push_back(Text<Form>(prefix + "ScanDivision", &Form::division, first + 2, StoredAs::Integer,
                                TextOption("division", "Scan Division (number of points)")));
}

// The script's name box.
template <typename Form>
void AddFileName(FormDescription<Form>& d, std::string control, int line,
                 std::string help = kResultsFileHelp) {
  d.fields.push_back(Text<Form>(std::move(control), &Form::outputFileName, line, StoredAs::Text,
                                TextOption("output-file-name", std::move(help))));
}

// The repeat count, whose option also ticks "Active", and the "Active" box; neither is stored.
template <typename Form>
void AddRepeat(FormDescription<Form>& d, const std::string& times, const std::string& active,
               std::string help = "ticks Repeat \"Active\" and sets the \"Times\" text") {
  FormField<Form> count =
      Text<Form>(times, &Form::repeatTimes, -1, StoredAs::None, TextOption("repeat", help));
  count.alsoOnOption = [](Form& form) { form.repeatActive = true; };
  d.fields.push_back(std::move(count));
  d.fields.push_back(Box<Form>(FieldKind::Tick, active, &Form::repeatActive, -1, {}));
}

// The four 4D slit boxes and "Move 4D Slit" of a two-panel window, in the command line's order.
template <typename Form, typename BoxValue>
void AddSlitFields(FormDescription<Form>& d, const std::string& prefix, int first, FieldKind moveKind,
                   const std::string& move, BoxValue Form::*moveMember, int moveLine) {
  const auto stored = first >= 0 ? StoredAs::Number : StoredAs::None;
  const auto line = [first](int k) { return first >= 0 ? first + k : -1; };
  d.fields.push_back(Text<Form>(prefix + "SlitWidthY", &Form::slitWidthY, line(0), stored,
                                TextOption("slit-width-y", "4D Slit Width, Y")));
  d.fields.push_back(Text<Form>(prefix + "SlitWidthZ", &Form::slitWidthZ, line(1), stored,
                                TextOption("slit-width-z", "4D Slit Width, Z")));
  d.fields.push_back(Text<Form>(prefix + "SlitCenterY", &Form::slitCenterY, line(2), stored,
                                TextOption("slit-center-y", "4D Slit Center, Y")));
  d.fields.push_back(Text<Form>(prefix + "SlitCenterZ", &Form::slitCenterZ, line(3), stored,
                                TextOption("slit-center-z", "4D Slit Center, Z")));
  d.fields.push_back(
      Box<Form>(moveKind, move, moveMember, moveLine,
                TickOption("move-4d-slit", "\"Move 4D Slit\": 1 sets the slit before the scan")));
}

FormDescription<SlitScanForm> SlitScan() {
  using F = SlitScanForm;
  FormDescription<F> d = Window<F>("slit-scan", "4D slit one-dimensional scan", {kSlitScanSettingsFile});
  d.fields.push_back(BladePair<F>("opt4DAxis"));
  d.fields.push_back(
      Text<F>("txt4DSlitWidth", &F::slitWidth, 1, StoredAs::Number, TextOption("slit-width", "Slit Width")));
  AddScanFields(d, "txt4D", 2);
  AddFileName(d, "txt4DOutputFileName", 5);
  AddRepeat(d, "txt4DRepeatTimes", "chk4DRepeatActive");
  return d;
}

FormDescription<SlitDecScanForm> SlitDecScan() {
  using F = SlitDecScanForm;
  FormDescription<F> d =
      Window<F>("slit-dec-scan", "4D slit decreasing-width scan", {kSlitDecScanSettingsFile});
  d.fields = {BladePair<F>("opt4DDecAxis"),
              Text<F>("txt4DDecStartSlitWidth", &F::startSlitWidth, 1, StoredAs::Number,
                      TextOption("start-slit-width", "Start Slit Width (widest opening)")),
              Text<F>("txt4DDecEndSlitWidth", &F::endSlitWidth, 2, StoredAs::Number,
                      TextOption("end-slit-width", "End Slit Width (narrowest opening aimed at)")),
              Text<F>("txt4DDecScanCenter", &F::scanCenter, 3, StoredAs::Number,
                      TextOption("scan-center", "Scan Center (centre of the opening)")),
              Text<F>("txt4DDecDecStep", &F::decStep, 4, StoredAs::Number,
                      TextOption("dec-step", "Dec Step (width decrement per point)"))};
  AddFileName(d, "txt4DDecOutputFileName", 5);
  AddRepeat(d, "txt4DDecRepeatTimes", "chk4DDecRepeatActive");
  return d;
}

FormDescription<SlitMoveForm> SlitMove() {
  using F = SlitMoveForm;
  // The command file moves four blades and names no folder; the report lists the targets.
  FormDescription<F> d =
      Window<F>("slit-move", "4D slit move (four blade commands)", {kSlitMoveSettingsFile});
  d.fields = {Text<F>("txtSlitWidth_0", &F::slitWidthY, 0, StoredAs::Number,
                      TextOption("slit-width-y", "Slit Width of the y pair")),
              Text<F>("txtSlitWidth_1", &F::slitWidthZ, 1, StoredAs::Number,
                      TextOption("slit-width-z", "Slit Width of the z pair")),
              Text<F>("txtSlitCenter_0", &F::slitCenterY, 2, StoredAs::Number,
                      TextOption("slit-center-y", "Slit Center of the y pair")),
              Text<F>("txtSlitCenter_1", &F::slitCenterZ, 3, StoredAs::Number,
                      TextOption("slit-center-z", "Slit Center of the z pair"))};
  AddFileName(d, "txtOutputFileName", 4, "Output FileName (used whole)");
  return d;
}

FormDescription<CollScanForm> CollScan() {
  using F = CollScanForm;
  // Lines of the collimator window's own four-line layout; the combined window's nine-line one is its
  // reader's.
  FormDescription<F> d =
      Window<F>("coll-scan", "collimator scan (one panel)", {kCollScanSettingsFileY, kCollScanSettingsFileZ},
                "panel: collimator_y or collimator_z");
  AddScanFields(d, "txtColli", 0);
  AddSlitFields(d, "txtCollimator", -1, FieldKind::Tick, "chkCollimatorMove4DSlit", &F::move4DSlit, -1);
  AddFileName(d, "txtColliOutputFileName", 3);
  return d;
}

FormDescription<LensScanForm> LensScan() {
  using F = LensScanForm;
  FormDescription<F> d = Window<F>("lens-scan", "lens scan (one of four axes)", {kLensScanSettingsFile});
  FormField<F> axis;
  axis.kind = FieldKind::Choice;
  axis.control = "optLenzAxis";
  axis.choiceCount = static_cast<int>(kLensAxisNames.size());
  axis.state = [](const F& form) {
    for (std::size_t k = 0; k < form.axis.size(); ++k) {
      if (form.axis[k]) {
        return static_cast<int>(k);
      }
    }
    return -1;
  };
  axis.setState = [](F& form, int chosen) {
    for (std::size_t k = 0; k < form.axis.size(); ++k) {
      form.axis[k] = static_cast<int>(k) == chosen;
    }
  };
  axis.settingsLine = 0;
  axis.storedAs = StoredAs::Index;
  axis.option = {
      "axis", "lens_y|lens_z|lens_ry|lens_rz", {"lens_y", "lens_z", "lens_ry", "lens_rz"}, "Move Axis"};
  d.fields.push_back(std::move(axis));
  AddScanFields(d, "txtLenz", 1);
  AddFileName(d, "txtLenzOutputFileName", 4);
  return d;
}

// Omega box k and the angle beside it ("ω1" is element 0); stored as box value and F(angle) from line 5.
template <std::size_t k>
void AddOmega(FormDescription<GonioYScanForm>& d, const char* angleHelp, const char* boxHelp) {
  const int line = 5 + 2 * static_cast<int>(k);
  FormField<GonioYScanForm> angle;
  angle.control = "txtGonioYOmega_" + std::to_string(k);
  angle.text = [](const GonioYScanForm& form) -> const std::string& { return form.omega[k]; };
  angle.setText = [](GonioYScanForm& form, const std::string& v) { form.omega[k] = v; };
  angle.settingsLine = line + 1;
  angle.storedAs = StoredAs::Number;
  angle.option = TextOption("omega" + std::to_string(k + 1), angleHelp);
  FormField<GonioYScanForm> box;
  box.kind = FieldKind::BoxValue;
  box.control = "chkGonioYUseOmega_" + std::to_string(k);
  box.state = [](const GonioYScanForm& form) { return form.useOmega[k]; };
  box.setState = [](GonioYScanForm& form, int v) { form.useOmega[k] = v; };
  box.settingsLine = line;
  box.storedAs = StoredAs::Box;
  box.option = TickOption("use-omega" + std::to_string(k + 1), boxHelp);
  d.fields.push_back(std::move(angle));
  d.fields.push_back(std::move(box));
}

FormDescription<GonioYScanForm> GonioYScan() {
  using F = GonioYScanForm;
  FormDescription<F> d =
      Window<F>("gonioy-scan", "GonioY scan (at the current omega, or once per ticked omega angle)",
                {kGonioYScanSettingsFile});
  AddScanFields(d, "txtGonioY", 1);
  AddOmega<0>(d, "first omega angle",
              "first omega box: 1 scans at that angle (any ticked box: one scan per angle)");
  AddOmega<1>(d, "second omega angle", "second omega box: 1 scans at that angle");
  AddRepeat(d, "txtGonioYRepeatTimes", "chkGonioYRepeatActive",
            "ticks Repeat \"Active\" and sets the \"Times\" text (no omega box ticked)");
  AddFileName(d, "txtGonioYOutputFileName", 4);
  // The command line lists the angles first, then their boxes.
  std::swap(d.fields[4], d.fields[5]);
  return d;
}

FormDescription<GonioStageScan2Form> GonioStageScan() {
  using F = GonioStageScan2Form;
  FormDescription<F> d = Window<F>("gonio-stage-scan", "gonio stage y or z scan (one panel)",
                                   {kGonioStageScanSettingsFileY, kGonioStageScanSettingsFileZ},
                                   "panel: gonio_stage_y or gonio_stage_z");
  AddScanFields(d, "txtGonioStage", 5);
  AddSlitFields(d, "txtGonioStage", 1, FieldKind::BoxValue, "chkGonioStageMove4DSlit", &F::move4DSlit, 0);
  AddFileName(d, "txtGonioStageOutputFileName", 8);
  return d;
}

}  // namespace

template <>
const FormDescription<SlitScanForm>& DescriptionOf<SlitScanForm>() {
  static const FormDescription<SlitScanForm> d = SlitScan();
  return d;
}

template <>
const FormDescription<SlitDecScanForm>& DescriptionOf<SlitDecScanForm>() {
  static const FormDescription<SlitDecScanForm> d = SlitDecScan();
  return d;
}

template <>
const FormDescription<SlitMoveForm>& DescriptionOf<SlitMoveForm>() {
  static const FormDescription<SlitMoveForm> d = SlitMove();
  return d;
}

template <>
const FormDescription<CollScanForm>& DescriptionOf<CollScanForm>() {
  static const FormDescription<CollScanForm> d = CollScan();
  return d;
}

template <>
const FormDescription<LensScanForm>& DescriptionOf<LensScanForm>() {
  static const FormDescription<LensScanForm> d = LensScan();
  return d;
}

template <>
const FormDescription<GonioYScanForm>& DescriptionOf<GonioYScanForm>() {
  static const FormDescription<GonioYScanForm> d = GonioYScan();
  return d;
}

template <>
const FormDescription<GonioStageScan2Form>& DescriptionOf<GonioStageScan2Form>() {
  static const FormDescription<GonioStageScan2Form> d = GonioStageScan();
  return d;
}

}  // namespace vesko
