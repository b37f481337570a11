#include "tests/support/generator_samples.h"

#include <gtest/gtest.h>

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

const auto kCheck = [](const auto& form) { return Validate(form); };
const auto kBuild = [](const auto& p, const std::string& folder, LineSink& out) {
  BuildScript(p, folder, out);
};
const auto kSave = [](const std::string& path, const auto& p) { return SaveSettings(path, p); };

// A row whose functions check `form` afresh (with another file name when asked) before each use; a
// form the row's author got wrong stops the whole suite loudly.
template <typename Form, typename Check = decltype(kCheck), typename Build = decltype(kBuild),
          typename Save = decltype(kSave)>
GeneratorSample Sample(std::string name, std::string settingsFile, std::vector<std::string> suffixes,
                       Form form, Check check = kCheck, Build build = kBuild, Save save = kSave) {
  const auto checked = [form, check, name](const std::string& fileName) {
    Form named = form;
    if (!fileName.empty()) {
      named.outputFileName = fileName;
    }
    auto params = check(named);
    if (!params) {
      throw std::logic_error(name + ": inputs refused: " + params.message());
    }
    return std::move(params.value());
  };
  GeneratorSample sample{std::move(name), std::move(settingsFile), std::move(suffixes), {}, {}, {}};
  sample.scriptFile = checked("").OutputFileName;
  sample.write = [checked, build](const std::string& folder, const std::string& fileName, LineSink& out) {
    build(checked(fileName), folder, out);
  };
  sample.save = [checked, save](const std::string& path) { return save(path, checked("")); };
  return sample;
}

std::vector<GeneratorSample> MakeSamples() {
  const std::vector<std::string> single = {""}, repeated = {"_Repeat", "_Average"};
  std::vector<GeneratorSample> samples;
  SlitScanForm slit{.axisY = true, .slitWidth = "0.1", .scanCenter = "0", .scanWidth = "1", .division = "5"};
  samples.push_back(Sample("SlitScan", kSlitScanSettingsFile, single, slit));
  slit.repeatActive = true;
  samples.push_back(Sample("SlitScanRepeat", kSlitScanSettingsFile, repeated, slit));

  SlitDecScanForm dec{
      .axisZ = true, .startSlitWidth = "1", .endSlitWidth = "0.5", .scanCenter = "0", .decStep = "0.1"};
  samples.push_back(Sample("SlitDecScan", kSlitDecScanSettingsFile, single, dec));
  dec.repeatActive = true;
  samples.push_back(Sample("SlitDecScanRepeat", kSlitDecScanSettingsFile, repeated, dec));

  samples.push_back(
      Sample("SlitMove", kSlitMoveSettingsFile, {}, SlitMoveForm{"0.5", "0.4", "0", "0.1"}, kCheck,
             [](const SlitMoveParams& p, const std::string&, LineSink& out) { BuildScript(p, out); }));

  const CollScanForm coll{1, "0.5", "1", "5", "Coll1DScan.com", true, "0.5", "0.3", "0.1", "-0.05"};
  // The collimator window stores four lines, the combined window nine.
  samples.push_back(Sample("CollScan", kCollScanSettingsFileZ, single, coll));
  samples.push_back(
      Sample("CollScanCombined", kCollScanSettingsFileZ, single, coll, kCheck, kBuild,
             [](const std::string& path, const CollScanParams& p) { return SaveCombinedSettings(path, p); }));

  LensScanForm lens{
      .axis = {false, false, true, false}, .scanCenter = "0", .scanWidth = "1", .division = "4"};
  samples.push_back(Sample("LensScan", kLensScanSettingsFile, single, lens));

  const auto checkA = [](const GonioYScanForm& form) { return Validate(form, GonioYGenerator::A); };
  const auto checkB = [](const GonioYScanForm& form) { return Validate(form, GonioYGenerator::B); };
  const auto buildA = [](const GonioYScanParams& p, const std::string& folder, LineSink& out) {
    BuildScriptA(p, folder, out);
  };
  const auto buildB = [](const GonioYScanParams& p, const std::string& folder, LineSink& out) {
    BuildScriptB(p, folder, out);
  };
  GonioYScanForm gonioY{.scanCenter = "0", .scanWidth = "1", .division = "3"};
  samples.push_back(Sample("GonioYScanA", kGonioYScanSettingsFile, single, gonioY, checkA, buildA));
  gonioY.useOmega = {1, 1};
  samples.push_back(Sample("GonioYScanB", kGonioYScanSettingsFile, {"_1", "_2"}, gonioY, checkB, buildB));
  gonioY.useOmega = {0, 0};
  gonioY.repeatActive = true;
  samples.push_back(Sample("GonioYScanARepeat", kGonioYScanSettingsFile, repeated, gonioY, checkA, buildA));

  const GonioStageScan2Form stage{0, 1, "0.5", "0.3", "0", "0", "1.0", "0.4", "3"};
  samples.push_back(Sample("GonioStageScan", kGonioStageScanSettingsFileY, single, stage));
  return samples;
}

}  // namespace

std::string GeneratorSample::Script(const std::string& folder, const std::string& fileName) const {
  StringSink sink;
  write(folder, fileName, sink);
  return sink.text();
}

FileCreateJob GeneratorSample::Job(const std::string& outputFolder, const std::string& settingsFolder) const {
  FileCreateJob job;
  job.outputFolder = outputFolder;
  job.outputFileName = scriptFile;
  job.writeScript = [write = write, outputFolder](LineSink& out) { write(outputFolder, "", out); };
  job.saveSettings = [save = save, path = JoinPath(settingsFolder, settingsFile)] { return save(path); };
  job.namesFolderInScript = !resultSuffixes.empty();
  return job;
}

const std::vector<GeneratorSample>& GeneratorSamples() {
  static const std::vector<GeneratorSample> samples = MakeSamples();
  return samples;
}

std::string GonioYScriptOf(const GonioYScanForm& form, GonioYGenerator generator) {
  const Result<GonioYScanParams> p = Validate(form, generator);
  EXPECT_TRUE(p.ok()) << p.message();
  StringSink sink;
  if (p.ok()) {
    (generator == GonioYGenerator::A ? BuildScriptA : BuildScriptB)(*p, "C:\\data", sink);
  }
  return sink.text();
}

}  // namespace vesko::test
