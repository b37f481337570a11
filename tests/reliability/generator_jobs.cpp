#include "tests/reliability/generator_jobs.h"

#include <stdexcept>
#include <utility>

#include "core/platform.h"
#include "generators/coll_scan.h"
#include "generators/gonio_stage_scan.h"
#include "generators/gonio_y_scan.h"
#include "generators/lens_scan.h"
#include "generators/slit_dec_scan.h"
#include "generators/slit_move.h"
#include "generators/slit_scan.h"

namespace vesko::test {
namespace {

// Checked inputs of a form; a form the row's author got wrong stops the whole suite loudly.
template <typename Params>
Params Checked(Result<Params> result, const std::string& name) {
  if (!result) {
    throw std::logic_error(name + ": inputs refused: " + result.message());
  }
  return std::move(result.value());
}

// A row for a generator whose script names the output folder.
template <typename Params>
GeneratorJob Row(std::string name, std::string settingsFile, Params params,
                 void (*build)(const Params&, const std::string&, LineSink&),
                 std::optional<IoError> (*save)(const std::string&, const Params&)) {
  GeneratorJob job;
  job.name = std::move(name);
  job.scriptFile = params.OutputFileName;
  job.settingsFile = std::move(settingsFile);
  job.writeScript = [params, build](const std::string& folder, LineSink& out) { build(params, folder, out); };
  job.saveSettings = [params, save](const std::string& path) { return save(path, params); };
  return job;
}

GeneratorJob SlitScan() {
  SlitScanForm form;
  form.axisY = true;
  form.slitWidth = "0.1";
  form.scanCenter = "0";
  form.scanWidth = "1";
  form.division = "5";
  form.outputFileName = "slit.tcl";
  form.repeatActive = true;
  form.repeatTimes = "3";
  return Row<SlitScanParams>("SlitScan", kSlitScanSettingsFile, Checked(Validate(form), "SlitScan"),
                             &BuildScript, &SaveSettings);
}

GeneratorJob SlitDecScan() {
  SlitDecScanForm form;
  form.axisZ = true;
  form.startSlitWidth = "1.0";
  form.endSlitWidth = "0.5";
  form.scanCenter = "0";
  form.decStep = "0.1";
  form.outputFileName = "dec.tcl";
  form.repeatActive = true;
  form.repeatTimes = "2";
  return Row<SlitDecScanParams>("SlitDecScan", kSlitDecScanSettingsFile,
                                Checked(Validate(form), "SlitDecScan"), &BuildScript, &SaveSettings);
}

GeneratorJob SlitMove() {
  SlitMoveForm form{"0.5", "0.4", "0", "0.1", "move.com"};
  const SlitMoveParams params = Checked(Validate(form), "SlitMove");
  GeneratorJob job;
  job.name = "SlitMove";
  job.scriptFile = params.OutputFileName;
  job.settingsFile = kSlitMoveSettingsFile;
  job.writeScript = [params](const std::string&, LineSink& out) { BuildScript(params, out); };
  job.saveSettings = [params](const std::string& path) { return SaveSettings(path, params); };
  job.namesFolderInScript = false;
  return job;
}

CollScanParams CollScanInputs() {
  CollScanForm form;
  form.panel = 1;
  form.scanCenter = "0.5";
  form.scanWidth = "1";
  form.division = "5";
  form.outputFileName = "coll.com";
  form.move4DSlit = true;
  form.slitWidthY = "0.5";
  form.slitWidthZ = "0.3";
  form.slitCenterY = "0.1";
  form.slitCenterZ = "-0.05";
  return Checked(Validate(form), "CollScan");
}

// The collimator window stores four lines, the combined window nine.
GeneratorJob CollScan() {
  return Row<CollScanParams>("CollScanZ", kCollScanSettingsFileZ, CollScanInputs(), &BuildScript,
                             &SaveSettings);
}

GeneratorJob CollScanCombined() {
  return Row<CollScanParams>("CollScanZCombined", kCollScanSettingsFileZ, CollScanInputs(), &BuildScript,
                             &SaveCombinedSettings);
}

GeneratorJob LensScan() {
  LensScanForm form;
  form.axis[2] = true;
  form.scanCenter = "0";
  form.scanWidth = "1";
  form.division = "4";
  form.outputFileName = "lens.tcl";
  return Row<LensScanParams>("LensScan", kLensScanSettingsFile, Checked(Validate(form), "LensScan"),
                             &BuildScript, &SaveSettings);
}

GonioYScanForm GonioYForm() {
  GonioYScanForm form;
  form.scanCenter = "0";
  form.scanWidth = "1";
  form.division = "3";
  form.outputFileName = "gonioy.tcl";
  return form;
}

GeneratorJob GonioYScanA() {
  GonioYScanForm form = GonioYForm();
  form.repeatActive = true;
  form.repeatTimes = "2";
  return Row<GonioYScanParams>("GonioYScanA", kGonioYScanSettingsFile,
                               Checked(Validate(form, GonioYGenerator::A), "GonioYScanA"), &BuildScriptA,
                               &SaveSettings);
}

GeneratorJob GonioYScanB() {
  GonioYScanForm form = GonioYForm();
  form.useOmega = {1, 1};
  return Row<GonioYScanParams>("GonioYScanB", kGonioYScanSettingsFile,
                               Checked(Validate(form, GonioYGenerator::B), "GonioYScanB"), &BuildScriptB,
                               &SaveSettings);
}

GeneratorJob GonioStageScan() {
  GonioStageScan2Form form;
  form.panel = 0;
  form.move4DSlit = 1;
  form.slitWidthY = "0.5";
  form.slitWidthZ = "0.3";
  form.slitCenterY = "0";
  form.slitCenterZ = "0";
  form.scanCenter = "1.0";
  form.scanWidth = "0.4";
  form.division = "3";
  form.outputFileName = "stage.tcl";
  return Row<GonioStageScan2Params>("GonioStageScanY", kGonioStageScanSettingsFileY,
                                    Checked(Validate(form), "GonioStageScan"), &BuildScript, &SaveSettings);
}

}  // namespace

FileCreateJob GeneratorJob::Job(const std::string& outputFolder, const std::string& settingsFolder) const {
  FileCreateJob job;
  job.outputFolder = outputFolder;
  job.outputFileName = scriptFile;
  job.writeScript = [write = writeScript, outputFolder](LineSink& out) { write(outputFolder, out); };
  job.saveSettings = [save = saveSettings, path = JoinPath(settingsFolder, settingsFile)] {
    return save(path);
  };
  job.namesFolderInScript = namesFolderInScript;
  return job;
}

const std::vector<GeneratorJob>& GeneratorJobs() {
  static const std::vector<GeneratorJob> jobs = {SlitScan(),    SlitDecScan(),      SlitMove(),
                                                 CollScan(),    CollScanCombined(), LensScan(),
                                                 GonioYScanA(), GonioYScanB(),      GonioStageScan()};
  return jobs;
}

}  // namespace vesko::test
