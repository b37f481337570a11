#include "cli/generator_commands.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <utility>

#include "core/platform.h"
#include "generators/coll_scan.h"
#include "generators/gonio_stage_scan.h"
#include "generators/gonio_y_scan.h"
#include "generators/lens_scan.h"
#include "generators/slit_dec_scan.h"
#include "generators/slit_move.h"
#include "generators/slit_scan.h"

namespace vesko::cli {
namespace {

// A field option together with the box of the form it types into.
template <typename Form>
struct FormField {
  FieldOption option;
  std::function<void(Form& form, const std::string& value)> apply;
};

// A text box that takes the value as typed.
template <typename Form>
FormField<Form> TextField(std::string name, std::string help, std::string Form::*box) {
  return {{std::move(name), "TEXT", {}, std::move(help)},
          [box](Form& f, const std::string& v) { f.*box = v; }};
}

// A tick box: "1" ticks it, "0" clears it.
template <typename Form, typename Box>
FormField<Form> TickField(std::string name, std::string help, Box Form::*box) {
  return {{std::move(name), "0|1", {"0", "1"}, std::move(help)},
          [box](Form& f, const std::string& v) { f.*box = static_cast<Box>(v == "1"); }};
}

constexpr const char* kResultsFileHelp =
    "Output FileName (the results go to its part before the first \".\")";

template <typename Form>
FormField<Form> OutputFileNameField(std::string help = kResultsFileHelp) {
  return TextField("output-file-name", std::move(help), &Form::outputFileName);
}

// Ticks Repeat "Active" and types the times.
template <typename Form>
FormField<Form> RepeatField(std::string help = "ticks Repeat \"Active\" and sets the \"Times\" text") {
  return {{"repeat", "TEXT", {}, std::move(help)}, [](Form& f, const std::string& v) {
            f.repeatActive = true;
            f.repeatTimes = v;
          }};
}

// The blade pair of a 4D slit scan: one of the two option buttons.
template <typename Form>
FormField<Form> BladePairField() {
  return {{"axis", "y|z", {"y", "z"}, "blade pair: y1 and y2, or z1 and z2"},
          [](Form& f, const std::string& v) {
            f.axisY = v == "y";
            f.axisZ = v == "z";
          }};
}

// Scan Center, Scan Width and Scan Division, in the window's order.
template <typename Form>
std::vector<FormField<Form>> ScanFields() {
  return {TextField("scan-center", "Scan Center", &Form::scanCenter),
          TextField("scan-width", "Scan Width", &Form::scanWidth),
          TextField("division", "Scan Division (number of points)", &Form::division)};
}

// The four boxes of a 4D slit opening: width y, width z, centre y, centre z.
template <typename Form>
std::vector<FormField<Form>> SlitFields(const std::array<const char*, 4>& helps) {
  return {TextField("slit-width-y", helps[0], &Form::slitWidthY),
          TextField("slit-width-z", helps[1], &Form::slitWidthZ),
          TextField("slit-center-y", helps[2], &Form::slitCenterY),
          TextField("slit-center-z", helps[3], &Form::slitCenterZ)};
}

template <typename Form>
void Append(std::vector<FormField<Form>>& to, FormField<Form> field) {
  to.push_back(std::move(field));
}

template <typename Form>
void Append(std::vector<FormField<Form>>& to, std::vector<FormField<Form>> fields) {
  to.insert(to.end(), fields.begin(), fields.end());
}

// The options of a window in the order the help lists them: single fields and groups of fields.
template <typename Form, typename... Parts>
std::vector<FormField<Form>> Fields(Parts... parts) {
  std::vector<FormField<Form>> fields;
  (Append(fields, std::move(parts)), ...);
  return fields;
}

// Types each given value into its box, in the order given.
template <typename Form>
void TypeValues(const std::vector<FormField<Form>>& fields, const std::vector<FieldValue>& values,
                Form& form) {
  for (const FieldValue& value : values) {
    for (const FormField<Form>& field : fields) {
      if (field.option.name == value.option) {
        field.apply(form, value.value);
      }
    }
  }
}

// The command's name, help and options; `press` is left to the caller.
template <typename Form>
GeneratorCommand Describe(std::string name, std::string summary, std::string settingsFile,
                          const std::vector<FormField<Form>>& fields) {
  GeneratorCommand command;
  command.name = std::move(name);
  command.summary = std::move(summary);
  command.settingsFile = std::move(settingsFile);
  for (const FormField<Form>& field : fields) {
    command.options.push_back(field.option);
  }
  return command;
}

// Builds the type-free command of a window with one settings file from its form, fields and reader.
template <typename Form>
GeneratorCommand MakeCommand(std::string name, std::string summary, std::string settingsFile,
                             std::vector<FormField<Form>> fields, void (*load)(const std::string&, Form&)) {
  GeneratorCommand command = Describe(std::move(name), std::move(summary), settingsFile, fields);
  command.press = [fields, settingsFile, load](const std::string& settingsFolder,
                                               const std::vector<FieldValue>& values) {
    Form form;  // the texts of a freshly opened window
    load(JoinPath(settingsFolder, settingsFile), form);
    TypeValues(fields, values, form);
    return CheckScript(form, settingsFolder);
  };
  return command;
}

// The panel option's value as the panel number: y is element 0, z element 1.
std::int16_t PanelOf(const std::string& value) {
  return value == "z" ? 1 : 0;
}

// Builds the command of a window with a y and a z panel, each with its own settings file.
template <typename Form>
GeneratorCommand MakePanelCommand(std::string name, std::string summary,
                                  const char* (*settingsFileOf)(std::int16_t), const std::string& panelHelp) {
  std::vector<FormField<Form>> fields = Fields<Form>(
      FormField<Form>{{"panel", "y|z", {"y", "z"}, panelHelp, true},
                      [](Form& f, const std::string& v) { f.panel = PanelOf(v); }},
      ScanFields<Form>(),
      SlitFields<Form>({"4D Slit Width, Y", "4D Slit Width, Z", "4D Slit Center, Y", "4D Slit Center, Z"}),
      TickField("move-4d-slit", "\"Move 4D Slit\": 1 sets the slit before the scan", &Form::move4DSlit),
      OutputFileNameField<Form>());
  GeneratorCommand command = Describe(std::move(name), std::move(summary),
                                      std::string(settingsFileOf(0)) + " and " + settingsFileOf(1), fields);
  command.press = [fields](const std::string& settingsFolder, const std::vector<FieldValue>& values) {
    // A fresh window loads both panels (the z panel only after the whole y file); the options then
    // type into the chosen panel.
    std::array<Form, 2> panels;
    panels[1].panel = 1;
    LoadPanelSettings(settingsFolder, panels[0], panels[1]);
    Form form = panels[0];
    for (const FieldValue& value : values) {
      if (value.option == "panel") {
        form = panels[static_cast<std::size_t>(PanelOf(value.value))];
      }
    }
    TypeValues(fields, values, form);
    return CheckScript(form, settingsFolder);
  };
  return command;
}

GeneratorCommand SlitScanCommand() {
  using F = SlitScanForm;
  return MakeCommand<F>("slit-scan", "4D slit one-dimensional scan", kSlitScanSettingsFile,
                        Fields<F>(BladePairField<F>(), TextField("slit-width", "Slit Width", &F::slitWidth),
                                  ScanFields<F>(), OutputFileNameField<F>(), RepeatField<F>()),
                        &LoadSettings);
}

GeneratorCommand SlitDecScanCommand() {
  using F = SlitDecScanForm;
  return MakeCommand<F>(
      "slit-dec-scan", "4D slit decreasing-width scan", kSlitDecScanSettingsFile,
      Fields<F>(BladePairField<F>(),
                TextField("start-slit-width", "Start Slit Width (widest opening)", &F::startSlitWidth),
                TextField("end-slit-width", "End Slit Width (narrowest opening aimed at)", &F::endSlitWidth),
                TextField("scan-center", "Scan Center (centre of the opening)", &F::scanCenter),
                TextField("dec-step", "Dec Step (width decrement per point)", &F::decStep),
                OutputFileNameField<F>(), RepeatField<F>()),
      &LoadSettings);
}

GeneratorCommand SlitMoveCommand() {
  using F = SlitMoveForm;
  // The command file moves four blades and names no folder; the report lists the targets.
  return MakeCommand<F>("slit-move", "4D slit move (four blade commands)", kSlitMoveSettingsFile,
                        Fields<F>(SlitFields<F>({"Slit Width of the y pair", "Slit Width of the z pair",
                                                 "Slit Center of the y pair", "Slit Center of the z pair"}),
                                  OutputFileNameField<F>("Output FileName (used whole)")),
                        &LoadSettings);
}

GeneratorCommand CollScanCommand() {
  return MakePanelCommand<CollScanForm>("coll-scan", "collimator scan (one panel)", &CollScanSettingsFile,
                                        "panel: collimator_y or collimator_z");
}

GeneratorCommand LensScanCommand() {
  using F = LensScanForm;
  const FormField<F> axis = {
      {"axis", "lens_y|lens_z|lens_ry|lens_rz", {"lens_y", "lens_z", "lens_ry", "lens_rz"}, "Move Axis"},
      [](F& f, const std::string& v) {
        for (std::size_t k = 0; k < f.axis.size(); ++k) {
          f.axis[k] = v == kLensAxisNames[k];
        }
      }};
  return MakeCommand<F>("lens-scan", "lens scan (one of four axes)", kLensScanSettingsFile,
                        Fields<F>(axis, ScanFields<F>(), OutputFileNameField<F>()), &LoadSettings);
}

bool IsGiven(const std::vector<FieldValue>& values, const std::string& option) {
  for (const FieldValue& value : values) {
    if (value.option == option) {
      return true;
    }
  }
  return false;
}

GeneratorCommand GonioYScanCommand() {
  using F = GonioYScanForm;
  const std::vector<FormField<F>> fields =
      Fields<F>(ScanFields<F>(),
                FormField<F>{{"omega1", "TEXT", {}, "first omega angle"},
                             [](F& f, const std::string& v) { f.omega[0] = v; }},
                FormField<F>{{"omega2", "TEXT", {}, "second omega angle"},
                             [](F& f, const std::string& v) { f.omega[1] = v; }},
                FormField<F>{{"use-omega1",
                              "0|1",
                              {"0", "1"},
                              "first omega box: 1 scans at that angle (any ticked box: one scan per angle)"},
                             [](F& f, const std::string& v) { f.useOmega[0] = v == "1" ? 1 : 0; }},
                FormField<F>{{"use-omega2", "0|1", {"0", "1"}, "second omega box: 1 scans at that angle"},
                             [](F& f, const std::string& v) { f.useOmega[1] = v == "1" ? 1 : 0; }},
                RepeatField<F>("ticks Repeat \"Active\" and sets the \"Times\" text (no omega box ticked)"),
                OutputFileNameField<F>());
  // The window as the options leave it: its settings loaded (a box value from the file applies the omega
  // rule), then each option typed in.
  const auto formOf = [fields](const std::string& settingsFolder, const std::vector<FieldValue>& values) {
    F form;
    LoadSettings(JoinPath(settingsFolder, kGonioYScanSettingsFile), form);
    TypeValues(fields, values, form);
    return form;
  };
  GeneratorCommand command =
      Describe("gonioy-scan", "GonioY scan (at the current omega, or once per ticked omega angle)",
               kGonioYScanSettingsFile, fields);
  command.checkUsage = [formOf](const std::string& settingsFolder,
                                const std::vector<FieldValue>& values) -> std::string {
    // A ticked omega box disables the repeat controls: there is nothing for --repeat to tick.
    if (IsGiven(values, "repeat") &&
        OmegaRuleFor(formOf(settingsFolder, values).useOmega).generator == GonioYGenerator::B) {
      return "option '--repeat' cannot be used while an omega box is ticked";
    }
    return {};
  };
  command.press = [formOf](const std::string& settingsFolder, const std::vector<FieldValue>& values) {
    const F form = formOf(settingsFolder, values);
    return CheckScript(form, OmegaRuleFor(form.useOmega).generator, settingsFolder);
  };
  return command;
}

GeneratorCommand GonioStageScanCommand() {
  return MakePanelCommand<GonioStageScan2Form>("gonio-stage-scan", "gonio stage y or z scan (one panel)",
                                               &GonioStageScanSettingsFile,
                                               "panel: gonio_stage_y or gonio_stage_z");
}

}  // namespace

const std::vector<GeneratorCommand>& GeneratorCommands() {
  static const std::vector<GeneratorCommand> commands = {
      SlitScanCommand(), SlitDecScanCommand(), SlitMoveCommand(),      CollScanCommand(),
      LensScanCommand(), GonioYScanCommand(),  GonioStageScanCommand()};
  return commands;
}

}  // namespace vesko::cli
