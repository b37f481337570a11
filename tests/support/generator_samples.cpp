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

const auto kCheck = [](const auto& form, const std::string& settingsFolder) {
  return CheckScript(form, settingsFolder);
};

// A row whose script is checked afresh (with another file name when asked) before each use; a form the
// row's author got wrong stops the whole suite loudly.
template <typename Form, typename Check = decltype(kCheck)>
GeneratorSample Sample(std::string name, std::string settingsFile, std::vector<std::string> suffixes,
                       Form form, Check check = kCheck) {
  GeneratorSample sample{std::move(name), std::move(settingsFile), std::move(suffixes), {}, {}};
  sample.check = [form, check, name = sample.name](const std::string& fileName,
                                                   const std::string& settingsFolder) {
    Form named = form;
    if (!fileName.empty()) {
      named.outputFileName = fileName;
    }
    Result<CheckedScript> script = check(named, settingsFolder);
    if (!script) {
      throw std::logic_error(name + ": inputs refused: " + script.message());
    }
    return std::move(script.value());
  };
  sample.scriptFile = sample.check("", "").outputFileName;
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

  samples.push_back(Sample("SlitMove", kSlitMoveSettingsFile, {}, SlitMoveForm{"0.5", "0.4", "0", "0.1"}));

  const CollScanForm coll{1, "0.5", "1", "5", "Coll1DScan.com", true, "0.5", "0.3", "0.1", "-0.05"};
  // The collimator window stores four lines, the combined window nine.
  samples.push_back(Sample("CollScan", kCollScanSettingsFileZ, single, coll));
  samples.push_back(Sample("CollScanCombined", kCollScanSettingsFileZ, single, coll,
                           [](const CollScanForm& form, const std::string& settingsFolder) {
                             return CheckScript(form, settingsFolder, true);
                           }));

  LensScanForm lens{
      .axis = {false, false, true, false}, .scanCenter = "0", .scanWidth = "1", .division = "4"};
  samples.push_back(Sample("LensScan", kLensScanSettingsFile, single, lens));

  const auto checkA = [](const GonioYScanForm& form, const std::string& settingsFolder) {
    return CheckScript(form, GonioYGenerator::A, settingsFolder);
  };
  const auto checkB = [](const GonioYScanForm& form, const std::string& settingsFolder) {
    return CheckScript(form, GonioYGenerator::B, settingsFolder);
  };
  GonioYScanForm gonioY{.scanCenter = "0", .scanWidth = "1", .division = "3"};
  samples.push_back(Sample("GonioYScanA", kGonioYScanSettingsFile, single, gonioY, checkA));
  gonioY.useOmega = {1, 1};
  samples.push_back(Sample("GonioYScanB", kGonioYScanSettingsFile, {"_1", "_2"}, gonioY, checkB));
  gonioY.useOmega = {0, 0};
  gonioY.repeatActive = true;
  samples.push_back(Sample("GonioYScanARepeat", kGonioYScanSettingsFile, repeated, gonioY, checkA));

  const GonioStageScan2Form stage{0, 1, "0.5", "0.3", "0", "0", "1.0", "0.4", "3"};
  samples.push_back(Sample("GonioStageScan", kGonioStageScanSettingsFileY, single, stage));
  return samples;
}

}  // namespace

std::string GeneratorSample::Script(const std::string& folder, const std::string& fileName) const {
  StringSink sink;
  check(fileName, "").write(folder, sink);
  return sink.text();
}

FileCreateJob GeneratorSample::Job(const std::string& outputFolder, const std::string& settingsFolder) const {
  return check("", settingsFolder).Job(outputFolder);
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
