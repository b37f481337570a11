#include "tests/support/generator_samples.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>
#include <utility>

#include "core/platform.h"
#include "generators/coll_scan.h"
#include "generators/form_fields.h"
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

// A freshly opened window's form with each value typed into the field of its command-line option.
template <typename Form>
Form Typed(const GeneratorSample::Typing& typed, Form form = {}) {
  for (std::size_t start = 0; start < typed.size();) {
    const std::size_t end = std::min(typed.find(';', start), typed.size()), eq = typed.find('=', start);
    const std::string option = typed.substr(start, eq - start);
    const auto& fields = DescriptionOf<Form>().fields;
    const auto f = std::find_if(fields.begin(), fields.end(),
                                [&](const auto& field) { return field.option.name == option; });
    if (eq > end || f == fields.end()) {
      throw std::logic_error("no option " + option);
    }
    f->Type(form, typed.substr(eq + 1, end - eq - 1));
    start = end + 1;
  }
  return form;
}

// A row whose script is checked afresh (with another file name when asked) before each use; a form the
// row's author got wrong stops the whole suite loudly.
template <typename Form, typename Check = decltype(kCheck)>
GeneratorSample Sample(std::string name, std::string settingsFile, std::vector<std::string> suffixes,
                       Form form, Check check = kCheck) {
  GeneratorSample sample{std::move(name), std::move(settingsFile), std::move(suffixes), {}, {}, {}, {}};
  sample.destination = [form](const std::string& outputFolder) { return DestinationOf(form, outputFolder); };
  sample.refusal = [form, check](const GeneratorSample::Typing& typed) {
    const Result<CheckedScript> script = check(Typed(typed, form), "");
    return script ? std::string() : script.message();
  };
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
  const auto slit = Typed<SlitScanForm>("axis=y;slit-width=0.1;scan-center=0;scan-width=1;division=5");
  samples.push_back(Sample("SlitScan", kSlitScanSettingsFile, single, slit));
  samples.push_back(Sample("SlitScanRepeat", kSlitScanSettingsFile, repeated, Typed("repeat=2", slit)));

  const auto dec =
      Typed<SlitDecScanForm>("axis=z;start-slit-width=1;end-slit-width=0.5;scan-center=0;dec-step=0.1");
  samples.push_back(Sample("SlitDecScan", kSlitDecScanSettingsFile, single, dec));
  samples.push_back(Sample("SlitDecScanRepeat", kSlitDecScanSettingsFile, repeated, Typed("repeat=2", dec)));

  samples.push_back(
      Sample("SlitMove", kSlitMoveSettingsFile, {},
             Typed<SlitMoveForm>("slit-width-y=0.5;slit-width-z=0.4;slit-center-y=0;slit-center-z=0.1")));

  CollScanForm zPanel;
  zPanel.panel = 1;
  const auto coll = Typed(
      "scan-center=0.5;scan-width=1;division=5;move-4d-slit=1;slit-width-y=0.5;slit-width-z=0.3;slit-center-"
      "y=0.1;"
      "slit-center-z=-0.05",
      zPanel);
  // The collimator window stores four lines, the combined window nine.
  samples.push_back(Sample("CollScan", kCollScanSettingsFileZ, single, coll));
  samples.push_back(Sample("CollScanCombined", kCollScanSettingsFileZ, single, coll,
                           [](const CollScanForm& form, const std::string& settingsFolder) {
                             return CheckScript(form, settingsFolder, true);
                           }));

  const auto lens = Typed<LensScanForm>("axis=lens_ry;scan-center=0;scan-width=1;division=4");
  samples.push_back(Sample("LensScan", kLensScanSettingsFile, single, lens));

  const auto gonioY = [](GonioYGenerator generator) {
    return [generator](const GonioYScanForm& form, const std::string& settingsFolder) {
      return CheckScript(form, generator, settingsFolder);
    };
  };
  const auto form = Typed<GonioYScanForm>("scan-center=0;scan-width=1;division=3");
  samples.push_back(Sample("GonioYScanA", kGonioYScanSettingsFile, single, form, gonioY(GonioYGenerator::A)));
  samples.push_back(Sample("GonioYScanB", kGonioYScanSettingsFile, {"_1", "_2"},
                           Typed("use-omega1=1;use-omega2=1", form), gonioY(GonioYGenerator::B)));
  samples.push_back(Sample("GonioYScanARepeat", kGonioYScanSettingsFile, repeated, Typed("repeat=2", form),
                           gonioY(GonioYGenerator::A)));

  const auto stage = Typed<GonioStageScan2Form>(
      "move-4d-slit=1;slit-width-y=0.5;slit-width-z=0.3;slit-center-y=0;slit-center-z=0;scan-center=1.0;"
      "scan-width=0.4;division=3");
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
