#include "cli/generator_commands.h"

#include <array>
#include <cstddef>
#include <cstdint>
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
  void (*apply)(Form& form, const std::string& value);
};

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

// A validated press, ready to write its script and to store its inputs in `settingsFile`.
template <typename Params>
PreparedScript Prepare(Params checked, void (*build)(const Params&, const std::string&, LineSink&),
                       std::optional<IoError> (*save)(const std::string&, const Params&),
                       std::string settingsFile, std::string (*report)(const Params&),
                       bool namesFolderInScript) {
  auto params = std::make_shared<const Params>(std::move(checked));
  PreparedScript prepared;
  prepared.outputFileName = params->OutputFileName;
  prepared.namesFolderInScript = namesFolderInScript;
  if (report != nullptr) {
    prepared.report = report(*params);
  }
  prepared.writeScript = [params, build](const std::string& outputFolder, LineSink& out) {
    build(*params, outputFolder, out);
  };
  prepared.saveSettings = [params, save,
                           settingsFile = std::move(settingsFile)](const std::string& settingsFolder) {
    return save(JoinPath(settingsFolder, settingsFile), *params);
  };
  return prepared;
}

// Builds the type-free command of a window with one settings file from its form, fields and four operations.
template <typename Form, typename Params>
GeneratorCommand MakeCommand(std::string name, std::string summary, std::string settingsFile,
                             std::vector<FormField<Form>> fields, void (*load)(const std::string&, Form&),
                             Result<Params> (*validate)(const Form&),
                             void (*build)(const Params&, const std::string&, LineSink&),
                             std::optional<IoError> (*save)(const std::string&, const Params&),
                             std::string (*report)(const Params&) = nullptr,
                             bool namesFolderInScript = true) {
  GeneratorCommand command = Describe(std::move(name), std::move(summary), settingsFile, fields);
  command.press = [fields, settingsFile, load, validate, build, save, report, namesFolderInScript](
                      const std::string& settingsFolder,
                      const std::vector<FieldValue>& values) -> Result<PreparedScript> {
    Form form;  // the texts of a freshly opened window
    load(JoinPath(settingsFolder, settingsFile), form);
    TypeValues(fields, values, form);
    Result<Params> checked = validate(form);
    if (!checked) {
      return Result<PreparedScript>::Refused(checked.message());
    }
    return Prepare(std::move(checked.value()), build, save, settingsFile, report, namesFolderInScript);
  };
  return command;
}

GeneratorCommand SlitScanCommand() {
  std::vector<FormField<SlitScanForm>> fields = {
      {{"axis", "y|z", {"y", "z"}, "blade pair: y1 and y2, or z1 and z2"},
       [](SlitScanForm& f, const std::string& v) {
         f.axisY = v == "y";
         f.axisZ = v == "z";
       }},
      {{"slit-width", "TEXT", {}, "Slit Width"},
       [](SlitScanForm& f, const std::string& v) { f.slitWidth = v; }},
      {{"scan-center", "TEXT", {}, "Scan Center"},
       [](SlitScanForm& f, const std::string& v) { f.scanCenter = v; }},
      {{"scan-width", "TEXT", {}, "Scan Width"},
       [](SlitScanForm& f, const std::string& v) { f.scanWidth = v; }},
      {{"division", "TEXT", {}, "Scan Division (number of points)"},
       [](SlitScanForm& f, const std::string& v) { f.division = v; }},
      {{"output-file-name",
        "TEXT",
        {},
        "Output FileName (the results go to its part before the first \".\")"},
       [](SlitScanForm& f, const std::string& v) { f.outputFileName = v; }},
      {{"repeat", "TEXT", {}, "ticks Repeat \"Active\" and sets the \"Times\" text"},
       [](SlitScanForm& f, const std::string& v) {
         f.repeatActive = true;
         f.repeatTimes = v;
       }},
  };
  return MakeCommand<SlitScanForm, SlitScanParams>("slit-scan", "4D slit one-dimensional scan",
                                                   kSlitScanSettingsFile, std::move(fields), &LoadSettings,
                                                   &Validate, &BuildScript, &SaveSettings);
}

GeneratorCommand SlitDecScanCommand() {
  std::vector<FormField<SlitDecScanForm>> fields = {
      {{"axis", "y|z", {"y", "z"}, "blade pair: y1 and y2, or z1 and z2"},
       [](SlitDecScanForm& f, const std::string& v) {
         f.axisY = v == "y";
         f.axisZ = v == "z";
       }},
      {{"start-slit-width", "TEXT", {}, "Start Slit Width (widest opening)"},
       [](SlitDecScanForm& f, const std::string& v) { f.startSlitWidth = v; }},
      {{"end-slit-width", "TEXT", {}, "End Slit Width (narrowest opening aimed at)"},
       [](SlitDecScanForm& f, const std::string& v) { f.endSlitWidth = v; }},
      {{"scan-center", "TEXT", {}, "Scan Center (centre of the opening)"},
       [](SlitDecScanForm& f, const std::string& v) { f.scanCenter = v; }},
      {{"dec-step", "TEXT", {}, "Dec Step (width decrement per point)"},
       [](SlitDecScanForm& f, const std::string& v) { f.decStep = v; }},
      {{"output-file-name",
        "TEXT",
        {},
        "Output FileName (the results go to its part before the first \".\")"},
       [](SlitDecScanForm& f, const std::string& v) { f.outputFileName = v; }},
      {{"repeat", "TEXT", {}, "ticks Repeat \"Active\" and sets the \"Times\" text"},
       [](SlitDecScanForm& f, const std::string& v) {
         f.repeatActive = true;
         f.repeatTimes = v;
       }},
  };
  return MakeCommand<SlitDecScanForm, SlitDecScanParams>(
      "slit-dec-scan", "4D slit decreasing-width scan", kSlitDecScanSettingsFile, std::move(fields),
      &LoadSettings, &Validate, &BuildScript, &SaveSettings);
}

GeneratorCommand SlitMoveCommand() {
  std::vector<FormField<SlitMoveForm>> fields = {
      {{"slit-width-y", "TEXT", {}, "Slit Width of the y pair"},
       [](SlitMoveForm& f, const std::string& v) { f.slitWidthY = v; }},
      {{"slit-width-z", "TEXT", {}, "Slit Width of the z pair"},
       [](SlitMoveForm& f, const std::string& v) { f.slitWidthZ = v; }},
      {{"slit-center-y", "TEXT", {}, "Slit Center of the y pair"},
       [](SlitMoveForm& f, const std::string& v) { f.slitCenterY = v; }},
      {{"slit-center-z", "TEXT", {}, "Slit Center of the z pair"},
       [](SlitMoveForm& f, const std::string& v) { f.slitCenterZ = v; }},
      {{"output-file-name", "TEXT", {}, "Output FileName (used whole)"},
       [](SlitMoveForm& f, const std::string& v) { f.outputFileName = v; }},
  };
  // The command file moves four blades and names no folder; the report lists the targets.
  return MakeCommand<SlitMoveForm, SlitMoveParams>(
      "slit-move", "4D slit move (four blade commands)", kSlitMoveSettingsFile, std::move(fields),
      &LoadSettings, &Validate,
      [](const SlitMoveParams& p, const std::string&, LineSink& out) { BuildScript(p, out); }, &SaveSettings,
      &MoveReport, false);
}

// The panel option's value as the panel number: y is element 0, z element 1.
std::int16_t PanelOf(const std::string& value) {
  return value == "z" ? 1 : 0;
}

GeneratorCommand CollScanCommand() {
  using F = CollScanForm;
  std::vector<FormField<F>> fields = {
      {{"panel", "y|z", {"y", "z"}, "panel: collimator_y or collimator_z", true},
       [](F& f, const std::string& v) { f.panel = PanelOf(v); }},
      {{"scan-center", "TEXT", {}, "Scan Center"}, [](F& f, const std::string& v) { f.scanCenter = v; }},
      {{"scan-width", "TEXT", {}, "Scan Width"}, [](F& f, const std::string& v) { f.scanWidth = v; }},
      {{"division", "TEXT", {}, "Scan Division (number of points)"},
       [](F& f, const std::string& v) { f.division = v; }},
      {{"slit-width-y", "TEXT", {}, "4D Slit Width, Y"},
       [](F& f, const std::string& v) { f.slitWidthY = v; }},
      {{"slit-width-z", "TEXT", {}, "4D Slit Width, Z"},
       [](F& f, const std::string& v) { f.slitWidthZ = v; }},
      {{"slit-center-y", "TEXT", {}, "4D Slit Center, Y"},
       [](F& f, const std::string& v) { f.slitCenterY = v; }},
      {{"slit-center-z", "TEXT", {}, "4D Slit Center, Z"},
       [](F& f, const std::string& v) { f.slitCenterZ = v; }},
      {{"move-4d-slit", "0|1", {"0", "1"}, "\"Move 4D Slit\": 1 sets the slit before the scan"},
       [](F& f, const std::string& v) { f.move4DSlit = v == "1"; }},
      {{"output-file-name",
        "TEXT",
        {},
        "Output FileName (the results go to its part before the first \".\")"},
       [](F& f, const std::string& v) { f.outputFileName = v; }},
  };
  GeneratorCommand command =
      Describe("coll-scan", "collimator scan (one panel)",
               std::string(kCollScanSettingsFileY) + " and " + kCollScanSettingsFileZ, fields);
  command.press = [fields](const std::string& settingsFolder,
                           const std::vector<FieldValue>& values) -> Result<PreparedScript> {
    // A fresh window loads both panels (the z panel only after the whole y file); the options then
    // type into the chosen panel.
    std::array<F, 2> panels;
    panels[1].panel = 1;
    LoadPanelSettings(settingsFolder, panels[0], panels[1]);
    std::int16_t panel = 0;
    for (const FieldValue& value : values) {
      if (value.option == "panel") {
        panel = PanelOf(value.value);
      }
    }
    F form = panels[static_cast<std::size_t>(panel)];
    TypeValues(fields, values, form);
    Result<CollScanParams> checked = Validate(form);
    if (!checked) {
      return Result<PreparedScript>::Refused(checked.message());
    }
    const std::string settingsFile = CollScanSettingsFile(checked.value().Panel);
    return Prepare<CollScanParams>(std::move(checked.value()), &BuildScript, &SaveSettings, settingsFile,
                                   nullptr, true);
  };
  return command;
}

GeneratorCommand LensScanCommand() {
  std::vector<FormField<LensScanForm>> fields = {
      {{"axis", "lens_y|lens_z|lens_ry|lens_rz", {"lens_y", "lens_z", "lens_ry", "lens_rz"}, "Move Axis"},
       [](LensScanForm& f, const std::string& v) {
         for (std::size_t k = 0; k < f.axis.size(); ++k) {
           f.axis[k] = v == kLensAxisNames[k];
         }
       }},
      {{"scan-center", "TEXT", {}, "Scan Center"},
       [](LensScanForm& f, const std::string& v) { f.scanCenter = v; }},
      {{"scan-width", "TEXT", {}, "Scan Width"},
       [](LensScanForm& f, const std::string& v) { f.scanWidth = v; }},
      {{"division", "TEXT", {}, "Scan Division (number of points)"},
       [](LensScanForm& f, const std::string& v) { f.division = v; }},
      {{"output-file-name",
        "TEXT",
        {},
        "Output FileName (the results go to its part before the first \".\")"},
       [](LensScanForm& f, const std::string& v) { f.outputFileName = v; }},
  };
  return MakeCommand<LensScanForm, LensScanParams>("lens-scan", "lens scan (one of four axes)",
                                                   kLensScanSettingsFile, std::move(fields), &LoadSettings,
                                                   &Validate, &BuildScript, &SaveSettings);
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
  std::vector<FormField<F>> fields = {
      {{"scan-center", "TEXT", {}, "Scan Center"}, [](F& f, const std::string& v) { f.scanCenter = v; }},
      {{"scan-width", "TEXT", {}, "Scan Width"}, [](F& f, const std::string& v) { f.scanWidth = v; }},
      {{"division", "TEXT", {}, "Scan Division (number of points)"},
       [](F& f, const std::string& v) { f.division = v; }},
      {{"omega1", "TEXT", {}, "first omega angle"}, [](F& f, const std::string& v) { f.omega[0] = v; }},
      {{"omega2", "TEXT", {}, "second omega angle"}, [](F& f, const std::string& v) { f.omega[1] = v; }},
      {{"use-omega1",
        "0|1",
        {"0", "1"},
        "first omega box: 1 scans at that angle (any ticked box: one scan per angle)"},
       [](F& f, const std::string& v) { f.useOmega[0] = v == "1" ? 1 : 0; }},
      {{"use-omega2", "0|1", {"0", "1"}, "second omega box: 1 scans at that angle"},
       [](F& f, const std::string& v) { f.useOmega[1] = v == "1" ? 1 : 0; }},
      {{"repeat", "TEXT", {}, "ticks Repeat \"Active\" and sets the \"Times\" text (no omega box ticked)"},
       [](F& f, const std::string& v) {
         f.repeatActive = true;
         f.repeatTimes = v;
       }},
      {{"output-file-name",
        "TEXT",
        {},
        "Output FileName (the results go to its part before the first \".\")"},
       [](F& f, const std::string& v) { f.outputFileName = v; }},
  };
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
  command.press = [formOf](const std::string& settingsFolder,
                           const std::vector<FieldValue>& values) -> Result<PreparedScript> {
    const F form = formOf(settingsFolder, values);
    const GonioYGenerator generator = OmegaRuleFor(form.useOmega).generator;
    Result<GonioYScanParams> checked = Validate(form, generator);
    if (!checked) {
      return Result<PreparedScript>::Refused(checked.message());
    }
    return Prepare<GonioYScanParams>(std::move(checked.value()),
                                     generator == GonioYGenerator::A ? &BuildScriptA : &BuildScriptB,
                                     &SaveSettings, kGonioYScanSettingsFile, nullptr, true);
  };
  return command;
}

GeneratorCommand GonioStageScanCommand() {
  using F = GonioStageScan2Form;
  std::vector<FormField<F>> fields = {
      {{"panel", "y|z", {"y", "z"}, "panel: gonio_stage_y or gonio_stage_z", true},
       [](F& f, const std::string& v) { f.panel = PanelOf(v); }},
      {{"scan-center", "TEXT", {}, "Scan Center"}, [](F& f, const std::string& v) { f.scanCenter = v; }},
      {{"scan-width", "TEXT", {}, "Scan Width"}, [](F& f, const std::string& v) { f.scanWidth = v; }},
      {{"division", "TEXT", {}, "Scan Division (number of points)"},
       [](F& f, const std::string& v) { f.division = v; }},
      {{"slit-width-y", "TEXT", {}, "4D Slit Width, Y"},
       [](F& f, const std::string& v) { f.slitWidthY = v; }},
      {{"slit-width-z", "TEXT", {}, "4D Slit Width, Z"},
       [](F& f, const std::string& v) { f.slitWidthZ = v; }},
      {{"slit-center-y", "TEXT", {}, "4D Slit Center, Y"},
       [](F& f, const std::string& v) { f.slitCenterY = v; }},
      {{"slit-center-z", "TEXT", {}, "4D Slit Center, Z"},
       [](F& f, const std::string& v) { f.slitCenterZ = v; }},
      {{"move-4d-slit", "0|1", {"0", "1"}, "\"Move 4D Slit\": 1 sets the slit before the scan"},
       [](F& f, const std::string& v) { f.move4DSlit = v == "1" ? 1 : 0; }},
      {{"output-file-name",
        "TEXT",
        {},
        "Output FileName (the results go to its part before the first \".\")"},
       [](F& f, const std::string& v) { f.outputFileName = v; }},
  };
  GeneratorCommand command =
      Describe("gonio-stage-scan", "gonio stage y or z scan (one panel)",
               std::string(kGonioStageScanSettingsFileY) + " and " + kGonioStageScanSettingsFileZ, fields);
  command.press = [fields](const std::string& settingsFolder,
                           const std::vector<FieldValue>& values) -> Result<PreparedScript> {
    // A fresh window loads both panels (the z panel only after the whole y file); the options then
    // type into the chosen panel.
    std::array<F, 2> panels;
    panels[1].panel = 1;
    LoadPanelSettings(settingsFolder, panels[0], panels[1]);
    F form = panels[0];
    for (const FieldValue& value : values) {
      if (value.option == "panel") {
        form = panels[static_cast<std::size_t>(PanelOf(value.value))];
      }
    }
    TypeValues(fields, values, form);
    Result<GonioStageScan2Params> checked = Validate(form);
    if (!checked) {
      return Result<PreparedScript>::Refused(checked.message());
    }
    const std::string settingsFile = GonioStageScanSettingsFile(checked.value().Panel);
    return Prepare<GonioStageScan2Params>(std::move(checked.value()), &BuildScript, &SaveSettings,
                                          settingsFile, nullptr, true);
  };
  return command;
}

}  // namespace

const std::vector<GeneratorCommand>& GeneratorCommands() {
  static const std::vector<GeneratorCommand> commands = {
      SlitScanCommand(), SlitDecScanCommand(), SlitMoveCommand(),      CollScanCommand(),
      LensScanCommand(), GonioYScanCommand(),  GonioStageScanCommand()};
  return commands;
}

}  // namespace vesko::cli
