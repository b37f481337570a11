#include "cli/generator_commands.h"

#include <memory>
#include <utility>

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

// Builds the type-free command from one generator's form, fields and four operations.
template <typename Form, typename Params>
GeneratorCommand MakeCommand(std::string name, std::string summary, std::string settingsFile,
                             std::vector<FormField<Form>> fields, void (*load)(const std::string&, Form&),
                             Result<Params> (*validate)(const Form&),
                             void (*build)(const Params&, const std::string&, LineSink&),
                             std::optional<IoError> (*save)(const std::string&, const Params&),
                             std::string (*report)(const Params&) = nullptr,
                             bool namesFolderInScript = true) {
  GeneratorCommand command;
  command.name = std::move(name);
  command.summary = std::move(summary);
  command.settingsFile = std::move(settingsFile);
  for (const FormField<Form>& field : fields) {
    command.options.push_back(field.option);
  }
  command.press = [fields, load, validate, build, save, report, namesFolderInScript](
                      const std::string& settingsPath,
                      const std::vector<FieldValue>& values) -> Result<PreparedScript> {
    Form form;  // the texts of a freshly opened window
    load(settingsPath, form);
    for (const FieldValue& value : values) {
      for (const FormField<Form>& field : fields) {
        if (field.option.name == value.option) {
          field.apply(form, value.value);
        }
      }
    }
    Result<Params> checked = validate(form);
    if (!checked) {
      return Result<PreparedScript>::Refused(checked.message());
    }
    auto params = std::make_shared<const Params>(std::move(checked.value()));
    PreparedScript prepared;
    prepared.outputFileName = params->OutputFileName;
    prepared.namesFolderInScript = namesFolderInScript;
    if (report != nullptr) {
      prepared.report = report(*params);
    }
    prepared.writeScript = [params, build](const std::string& outputFolder, LineSink& out) {
      build(*params, outputFolder, out);
    };
    prepared.saveSettings = [params, save](const std::string& settingsPath) {
      return save(settingsPath, *params);
    };
    return prepared;
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

}  // namespace

const std::vector<GeneratorCommand>& GeneratorCommands() {
  static const std::vector<GeneratorCommand> commands = {SlitScanCommand(), SlitDecScanCommand(),
                                                         SlitMoveCommand()};
  return commands;
}

}  // namespace vesko::cli
