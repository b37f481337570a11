#include "app/checked_script.h"

#include <memory>
#include <utility>

#include "core/platform.h"
#include "core/script_naming.h"

namespace vesko {
namespace {

const auto kBuild = [](const auto& p, const std::string& folder, LineSink& out) {
  BuildScript(p, folder, out);
};
const auto kSave = [](const std::string& path, const auto& p) { return SaveSettings(path, p); };

// The script of checked inputs `p`, written by `build` and stored by `save` in the file `settingsFile`.
template <typename Params, typename Build = decltype(kBuild), typename Save = decltype(kSave)>
CheckedScript Make(Params p, ScanOutline outline, std::string settingsPath, Build build = kBuild,
                   Save save = kSave) {
  auto params = std::make_shared<const Params>(std::move(p));
  CheckedScript script;
  script.outputFileName = params->OutputFileName;
  script.outline = std::move(outline);
  script.settingsPath = std::move(settingsPath);
  script.write = [params, build](const std::string& folder, LineSink& out) { build(*params, folder, out); };
  script.save = [params, save](const std::string& path) { return save(path, *params); };
  return script;
}

// Validates `form`; `then` makes the script of the checked inputs.
template <Generator Form, typename Then>
Result<CheckedScript> Check(const Form& form, Then then) {
  auto checked = Validate(form);
  if (!checked) {
    return Result<CheckedScript>::Refused(checked.message(), checked.field());
  }
  return then(std::move(checked.value()));
}

// A generator with one settings file and the usual operations.
template <FolderScriptGenerator Form>
Result<CheckedScript> CheckPlain(const Form& form, const std::string& settingsFolder) {
  return Check(form, [&](auto p) {
    ScanOutline outline = OutlineOf(p);
    return Make(std::move(p), std::move(outline),
                JoinPath(settingsFolder, DescriptionOf<Form>().settingsFiles[0]));
  });
}

}  // namespace

FileCreateJob CheckedScript::Job(std::string outputFolder) const {
  FileCreateJob job;
  job.outputFolder = std::move(outputFolder);
  job.outputFileName = outputFileName;
  job.writeScript = [write = write, folder = job.outputFolder](LineSink& out) { write(folder, out); };
  job.saveSettings = [save = save, path = settingsPath] { return save(path); };
  job.settingsPath = settingsPath;
  job.points = static_cast<std::uint64_t>(outline.points * outline.passes);
  job.namesFolderInScript = namesFolderInScript;
  return job;
}

Result<CheckedScript> CheckScript(const SlitScanForm& form, const std::string& settingsFolder) {
  return CheckPlain(form, settingsFolder);
}

Result<CheckedScript> CheckScript(const SlitDecScanForm& form, const std::string& settingsFolder) {
  return CheckPlain(form, settingsFolder);
}

Result<CheckedScript> CheckScript(const LensScanForm& form, const std::string& settingsFolder) {
  return CheckPlain(form, settingsFolder);
}

Result<CheckedScript> CheckScript(const SlitMoveForm& form, const std::string& settingsFolder) {
  return Check(form, [&](SlitMoveParams p) {
    ScanOutline outline = OutlineOf(p);
    std::string report = MoveReport(p);
    // The command file only moves blades: it opens no result file, so it never names the folder.
    CheckedScript script = Make(
        std::move(p), std::move(outline), JoinPath(settingsFolder, kSlitMoveSettingsFile),
        [](const SlitMoveParams& params, const std::string&, LineSink& out) { BuildScript(params, out); });
    script.namesFolderInScript = false;
    script.report = std::move(report);
    return script;
  });
}

Result<CheckedScript> CheckScript(const GonioStageScan2Form& form, const std::string& settingsFolder) {
  return Check(form, [&](GonioStageScan2Params p) {
    ScanOutline outline = OutlineOf(p);
    std::string path = JoinPath(settingsFolder, GonioStageScanSettingsFile(p.Panel));
    return Make(std::move(p), std::move(outline), std::move(path));
  });
}

Result<CheckedScript> CheckScript(const CollScanForm& form, const std::string& settingsFolder,
                                  bool combinedLayout) {
  return Check(form, [&](CollScanParams p) {
    ScanOutline outline = OutlineOf(p);
    std::string path = JoinPath(settingsFolder, CollScanSettingsFile(p.Panel));
    return Make(std::move(p), std::move(outline), std::move(path), kBuild,
                [combinedLayout](const std::string& file, const CollScanParams& params) {
                  return combinedLayout ? SaveCombinedSettings(file, params) : SaveSettings(file, params);
                });
  });
}

Result<CheckedScript> CheckScript(const GonioYScanForm& form, GonioYGenerator generator,
                                  const std::string& settingsFolder) {
  Result<GonioYScanParams> checked = Validate(form, generator);
  if (!checked) {
    return Result<CheckedScript>::Refused(checked.message(), checked.field());
  }
  ScanOutline outline = OutlineOf(checked.value(), generator);
  return Make(std::move(checked.value()), std::move(outline),
              JoinPath(settingsFolder, kGonioYScanSettingsFile),
              generator == GonioYGenerator::A ? &BuildScriptA : &BuildScriptB);
}

std::optional<std::string> ShownFolderRefusal(const CheckedScript& script, const std::string& outputFolder) {
  if (!script.namesFolderInScript) {
    return std::nullopt;
  }
  return outputFolder.empty() ? std::optional<std::string>(kNoOutputFolder)
                              : CheckOutputFolderForScript(outputFolder);
}

}  // namespace vesko
