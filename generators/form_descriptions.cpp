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

// A field stored at `line` (-1: not stored) with the option `--name` (none when `name` is empty).
template <typename Form>
FormField<Form> Field(FieldKind kind, std::string control, int line, StoredAs storedAs, std::string name,
                      std::string help) {
  FormField<Form> f;
  f.kind = kind;
  f.control = std::move(control);
  f.settingsLine = line;
  f.storedAs = storedAs;
  if (!name.empty()) {
    const bool text = kind == FieldKind::Text;
    f.option = {std::move(name), text ? "TEXT" : "0|1",
                text ? std::vector<std::string>{} : std::vector<std::string>{"0", "1"}, std::move(help)};
  }
  return f;
}

// A text box bound to `member`.
template <typename Form>
FormField<Form> Text(std::string control, std::string Form::*member, int line, StoredAs storedAs,
                     std::string name = {}, std::string help = {}) {
  FormField<Form> f =
      Field<Form>(FieldKind::Text, std::move(control), line, storedAs, std::move(name), std::move(help));
  f.text = [member](const Form& form) -> const std::string& { return form.*member; };
  f.setText = [member](Form& form, const std::string& value) { form.*member = value; };
  return f;
}

// A number box: stored as F(value) when `line` is not -1.
template <typename Form>
FormField<Form> Number(std::string control, std::string Form::*member, int line, std::string name,
                       std::string help) {
  return Text<Form>(std::move(control), member, line, line < 0 ? StoredAs::None : StoredAs::Number,
                    std::move(name), std::move(help));
}

// A tick box (a bool) or a box value (an int) bound to `member`.
template <typename Form, typename Value>
FormField<Form> Box(FieldKind kind, std::string control, Value Form::*member, int line, std::string name = {},
                    std::string help = {}) {
  FormField<Form> f = Field<Form>(kind, std::move(control), line, line < 0 ? StoredAs::None : StoredAs::Box,
                                  std::move(name), std::move(help));
  f.state = [member](const Form& form) { return static_cast<int>(form.*member); };
  f.setState = [member](Form& form, int value) { form.*member = static_cast<Value>(value); };
  return f;
}

// The option buttons `control`_0 ... stored as the chosen one's number at line 0, and the option `--axis`.
template <typename Form>
FormField<Form> Choice(std::string control, std::vector<std::string> choices, std::string help,
                       std::function<int(const Form&)> state, std::function<void(Form&, int)> setState,
                       std::function<void(Form&, int)> setStored) {
  FormField<Form> f = Field<Form>(FieldKind::Choice, std::move(control), 0, StoredAs::Index, {}, {});
  f.choiceCount = static_cast<int>(choices.size());
  std::string valueName;
  for (const std::string& choice : choices) {
    valueName += (valueName.empty() ? "" : "|") + choice;
  }
  f.option = {"axis", valueName, std::move(choices), std::move(help)};
  f.state = std::move(state);
  f.setState = std::move(setState);
  f.setStored = std::move(setStored);
  return f;
}

// The blade pair of a 4D slit scan: option 0 y1 and y2, option 1 z1 and z2 (z wins when both are set).
template <typename Form>
FormField<Form> BladePair(std::string control) {
  return Choice<Form>(
      std::move(control), {"y", "z"}, "blade pair: y1 and y2, or z1 and z2",
      [](const Form& form) { return form.axisZ   ? 1
                                    : form.axisY ? 0
                                                 : -1; },
      [](Form& form, int k) {
        form.axisY = k == 0;
        form.axisZ = k == 1;
      },
      [](Form& form, int stored) {  // 0 chooses y1 and y2, any other number z1 and z2
        form.axisY = stored == 0;
        form.axisZ = stored != 0;
      });
}

// Scan Center, Scan Width and Scan Division, in the window's order, stored from line `first` on.
template <typename Form>
void AddScanFields(FormDescription<Form>& d, const std::string& prefix, int first) {
  d.fields.push_back(
      Number<Form>(prefix + "ScanCenter", &Form::scanCenter, first, "scan-center", "Scan Center"));
  d.fields.push_back(
      Number<Form>(prefix + "ScanWidth", &Form::scanWidth, first + 1, "scan-width", "Scan Width"));
  d.fields.push_back(Text<Form>(prefix + "ScanDivision", &Form::division, first + 2, StoredAs::Integer,
                                "division", "Scan Division (number of points)"));
}

// The script's name box.
template <typename Form>
void AddFileName(FormDescription<Form>& d, std::string control, int line,
                 std::string help = kResultsFileHelp) {
  d.fields.push_back(Text<Form>(std::move(control), &Form::outputFileName, line, StoredAs::Text,
                                "output-file-name", std::move(help)));
}

// The repeat count, whose option also ticks "Active", and the "Active" box; neither is stored.
template <typename Form>
void AddRepeat(FormDescription<Form>& d, const std::string& times, const std::string& active,
               std::string help = "ticks Repeat \"Active\" and sets the \"Times\" text") {
  d.fields.push_back(Text<Form>(times, &Form::repeatTimes, -1, StoredAs::None, "repeat", std::move(help)));
  d.fields.back().alsoOnOption = [](Form& form) { form.repeatActive = true; };
  d.fields.push_back(Box<Form>(FieldKind::Tick, active, &Form::repeatActive, -1));
}

// The four 4D slit boxes of a two-panel window stored from line `first` on (-1: not stored), and
// "Move 4D Slit" (stored at line `moveLine`), in the command line's order.
template <typename Form, typename Value>
void AddSlitFields(FormDescription<Form>& d, const std::string& prefix, int first, FieldKind moveKind,
                   const std::string& move, Value Form::*moveMember, int moveLine) {
  const auto line = [first](int k) { return first >= 0 ? first + k : -1; };
  d.fields.push_back(
      Number<Form>(prefix + "SlitWidthY", &Form::slitWidthY, line(0), "slit-width-y", "4D Slit Width, Y"));
  d.fields.push_back(
      Number<Form>(prefix + "SlitWidthZ", &Form::slitWidthZ, line(1), "slit-width-z", "4D Slit Width, Z"));
  d.fields.push_back(Number<Form>(prefix + "SlitCenterY", &Form::slitCenterY, line(2), "slit-center-y",
                                  "4D Slit Center, Y"));
  d.fields.push_back(Number<Form>(prefix + "SlitCenterZ", &Form::slitCenterZ, line(3), "slit-center-z",
                                  "4D Slit Center, Z"));
  d.fields.push_back(Box<Form>(moveKind, move, moveMember, moveLine, "move-4d-slit",
                               "\"Move 4D Slit\": 1 sets the slit before the scan"));
}

// Omega angle k ("ω1" is element 0), stored as F(angle) at line 6 + 2k, and its box, stored at line 5 + 2k.
template <std::size_t k>
FormField<GonioYScanForm> OmegaAngle(const char* help) {
  using F = GonioYScanForm;
  FormField<F> f =
      Field<F>(FieldKind::Text, "txtGonioYOmega_" + std::to_string(k), 6 + 2 * static_cast<int>(k),
               StoredAs::Number, "omega" + std::to_string(k + 1), help);
  f.text = [](const F& form) -> const std::string& { return form.omega[k]; };
  f.setText = [](F& form, const std::string& v) { form.omega[k] = v; };
  return f;
}
template <std::size_t k>
FormField<GonioYScanForm> OmegaBox(const char* help) {
  using F = GonioYScanForm;
  FormField<F> f =
      Field<F>(FieldKind::BoxValue, "chkGonioYUseOmega_" + std::to_string(k), 5 + 2 * static_cast<int>(k),
               StoredAs::Box, "use-omega" + std::to_string(k + 1), help);
  f.state = [](const F& form) { return form.useOmega[k]; };
  f.setState = [](F& form, int v) { form.useOmega[k] = v; };
  return f;
}

FormDescription<SlitScanForm> Describe(const SlitScanForm*) {
  using F = SlitScanForm;
  FormDescription<F> d = Window<F>("slit-scan", "4D slit one-dimensional scan", {kSlitScanSettingsFile});
  d.fields = {BladePair<F>("opt4DAxis"),
              Number<F>("txt4DSlitWidth", &F::slitWidth, 1, "slit-width", "Slit Width")};
  AddScanFields(d, "txt4D", 2);
  AddFileName(d, "txt4DOutputFileName", 5);
  AddRepeat(d, "txt4DRepeatTimes", "chk4DRepeatActive");
  return d;
}

FormDescription<SlitDecScanForm> Describe(const SlitDecScanForm*) {
  using F = SlitDecScanForm;
  FormDescription<F> d =
      Window<F>("slit-dec-scan", "4D slit decreasing-width scan", {kSlitDecScanSettingsFile});
  d.fields = {
      BladePair<F>("opt4DDecAxis"),
      Number<F>("txt4DDecStartSlitWidth", &F::startSlitWidth, 1, "start-slit-width",
                "Start Slit Width (widest opening)"),
      Number<F>("txt4DDecEndSlitWidth", &F::endSlitWidth, 2, "end-slit-width",
                "End Slit Width (narrowest opening aimed at)"),
      Number<F>("txt4DDecScanCenter", &F::scanCenter, 3, "scan-center",
                "Scan Center (centre of the opening)"),
      Number<F>("txt4DDecDecStep", &F::decStep, 4, "dec-step", "Dec Step (width decrement per point)")};
  AddFileName(d, "txt4DDecOutputFileName", 5);
  AddRepeat(d, "txt4DDecRepeatTimes", "chk4DDecRepeatActive");
  return d;
}

// The command file moves four blades and names no folder; the report lists the targets.
FormDescription<SlitMoveForm> Describe(const SlitMoveForm*) {
  using F = SlitMoveForm;
  FormDescription<F> d =
      Window<F>("slit-move", "4D slit move (four blade commands)", {kSlitMoveSettingsFile});
  d.fields = {Number<F>("txtSlitWidth_0", &F::slitWidthY, 0, "slit-width-y", "Slit Width of the y pair"),
              Number<F>("txtSlitWidth_1", &F::slitWidthZ, 1, "slit-width-z", "Slit Width of the z pair"),
              Number<F>("txtSlitCenter_0", &F::slitCenterY, 2, "slit-center-y", "Slit Center of the y pair"),
              Number<F>("txtSlitCenter_1", &F::slitCenterZ, 3, "slit-center-z", "Slit Center of the z pair")};
  AddFileName(d, "txtOutputFileName", 4, "Output FileName (used whole)");
  return d;
}

// The lines of the collimator window's own four-line layout; the combined window's nine lines are its
// reader's.
FormDescription<CollScanForm> Describe(const CollScanForm*) {
  using F = CollScanForm;
  FormDescription<F> d =
      Window<F>("coll-scan", "collimator scan (one panel)", {kCollScanSettingsFileY, kCollScanSettingsFileZ},
                "panel: collimator_y or collimator_z");
  AddScanFields(d, "txtColli", 0);
  AddSlitFields(d, "txtCollimator", -1, FieldKind::Tick, "chkCollimatorMove4DSlit", &F::move4DSlit, -1);
  AddFileName(d, "txtColliOutputFileName", 3);
  return d;
}

FormDescription<LensScanForm> Describe(const LensScanForm*) {
  using F = LensScanForm;
  FormDescription<F> d = Window<F>("lens-scan", "lens scan (one of four axes)", {kLensScanSettingsFile});
  d.fields = {Choice<F>(
      "optLenzAxis", {kLensAxisNames.begin(), kLensAxisNames.end()}, "Move Axis",
      [](const F& form) {
        for (std::size_t k = 0; k < form.axis.size(); ++k) {
          if (form.axis[k]) {
            return static_cast<int>(k);
          }
        }
        return -1;
      },
      [](F& form, int chosen) {
        for (std::size_t k = 0; k < form.axis.size(); ++k) {
          form.axis[k] = static_cast<int>(k) == chosen;
        }
      },
      [](F& form, int stored) {  // a number that names no axis leaves the options as they are
        if (stored >= 0 && static_cast<std::size_t>(stored) < form.axis.size()) {
          form.axis = {};
          form.axis[static_cast<std::size_t>(stored)] = true;
        }
      })};
  AddScanFields(d, "txtLenz", 1);
  AddFileName(d, "txtLenzOutputFileName", 4);
  return d;
}

FormDescription<GonioYScanForm> Describe(const GonioYScanForm*) {
  using F = GonioYScanForm;
  FormDescription<F> d =
      Window<F>("gonioy-scan", "GonioY scan (at the current omega, or once per ticked omega angle)",
                {kGonioYScanSettingsFile});
  AddScanFields(d, "txtGonioY", 1);
  d.fields.push_back(OmegaAngle<0>("first omega angle"));
  d.fields.push_back(OmegaAngle<1>("second omega angle"));
  d.fields.push_back(
      OmegaBox<0>("first omega box: 1 scans at that angle (any ticked box: one scan per angle)"));
  d.fields.push_back(OmegaBox<1>("second omega box: 1 scans at that angle"));
  AddRepeat(d, "txtGonioYRepeatTimes", "chkGonioYRepeatActive",
            "ticks Repeat \"Active\" and sets the \"Times\" text (no omega box ticked)");
  AddFileName(d, "txtGonioYOutputFileName", 4);
  return d;
}

FormDescription<GonioStageScan2Form> Describe(const GonioStageScan2Form*) {
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

template <typename Form>
const FormDescription<Form>& DescriptionOf() {
  static const FormDescription<Form> d = Describe(static_cast<const Form*>(nullptr));
  return d;
}

template const FormDescription<SlitScanForm>& DescriptionOf<SlitScanForm>();
template const FormDescription<SlitDecScanForm>& DescriptionOf<SlitDecScanForm>();
template const FormDescription<SlitMoveForm>& DescriptionOf<SlitMoveForm>();
template const FormDescription<CollScanForm>& DescriptionOf<CollScanForm>();
template const FormDescription<LensScanForm>& DescriptionOf<LensScanForm>();
template const FormDescription<GonioYScanForm>& DescriptionOf<GonioYScanForm>();
template const FormDescription<GonioStageScan2Form>& DescriptionOf<GonioStageScan2Form>();

}  // namespace vesko
