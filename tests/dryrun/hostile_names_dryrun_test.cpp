// Output folders and file names full of Tcl specials, for every generator that names result files:
// each script must open exactly the named files and call nothing else.

#include <gtest/gtest.h>

#include <array>
#include <string>

#include "core/line_sink.h"
#include "generators/coll_scan.h"
#include "generators/gonio_stage_scan.h"
#include "generators/gonio_y_scan.h"
#include "generators/lens_scan.h"
#include "generators/slit_dec_scan.h"
#include "generators/slit_scan.h"
#include "tests/dryrun/dryrun_fixture.h"

namespace vesko::test {
namespace {

// The script of `form` with the output file name replaced.
template <class Form>
ScriptBuilder Named(Form form) {
  return [form](const std::string& folder, const std::string& fileName) {
    Form named = form;
    named.outputFileName = fileName;
    return ScriptFor(named, folder);
  };
}

ScriptBuilder NamedGonioY(GonioYScanForm form, GonioYGenerator generator) {
  return [form, generator](const std::string& folder, const std::string& fileName) -> std::string {
    GonioYScanForm named = form;
    named.outputFileName = fileName;
    const Result<GonioYScanParams> params = Validate(named, generator);
    if (!params.ok()) {
      ADD_FAILURE() << "the form was refused: " << params.message();
      return {};
    }
    StringSink sink;
    (generator == GonioYGenerator::A ? BuildScriptA : BuildScriptB)(*params, folder, sink);
    return sink.text();
  };
}

SlitScanForm SlitScan(bool repeat) {
  SlitScanForm form{.axisY = true, .slitWidth = "0.1", .scanCenter = "0", .scanWidth = "1", .division = "2"};
  form.repeatActive = repeat;
  return form;
}

SlitDecScanForm SlitDecScan(bool repeat) {
  SlitDecScanForm form{
      .axisZ = true, .startSlitWidth = "1", .endSlitWidth = "0.5", .scanCenter = "0", .decStep = "0.5"};
  form.repeatActive = repeat;
  return form;
}

GonioYScanForm GonioY(bool repeat, std::array<int, 2> useOmega) {
  GonioYScanForm form{.scanCenter = "0", .scanWidth = "1", .division = "2"};
  form.useOmega = useOmega;
  form.repeatActive = repeat;
  return form;
}

using HostileNames = DryRunTest;

TEST_F(HostileNames, SlitScan) {
  ExpectHostileNamesHarmless(Named(SlitScan(false)), {""});
  ExpectHostileNamesHarmless(Named(SlitScan(true)), {"_Repeat", "_Average"});
}

TEST_F(HostileNames, SlitDecScan) {
  ExpectHostileNamesHarmless(Named(SlitDecScan(false)), {""});
  ExpectHostileNamesHarmless(Named(SlitDecScan(true)), {"_Repeat", "_Average"});
}

TEST_F(HostileNames, CollScan) {
  ExpectHostileNamesHarmless(Named(CollScanForm{.scanCenter = "0",
                                                .scanWidth = "1",
                                                .division = "2",
                                                .move4DSlit = true,
                                                .slitWidthY = "1",
                                                .slitWidthZ = "1",
                                                .slitCenterY = "0",
                                                .slitCenterZ = "0"}),
                             {""});
}

TEST_F(HostileNames, LensScan) {
  ExpectHostileNamesHarmless(
      Named(LensScanForm{
          .axis = {false, false, true, false}, .scanCenter = "0", .scanWidth = "1", .division = "2"}),
      {""});
}

TEST_F(HostileNames, GonioYScan) {
  ExpectHostileNamesHarmless(NamedGonioY(GonioY(false, {0, 0}), GonioYGenerator::A), {""});
  ExpectHostileNamesHarmless(NamedGonioY(GonioY(true, {0, 0}), GonioYGenerator::A), {"_Repeat", "_Average"});
  ExpectHostileNamesHarmless(NamedGonioY(GonioY(false, {1, 1}), GonioYGenerator::B), {"_1", "_2"});
}

TEST_F(HostileNames, GonioStageScan) {
  ExpectHostileNamesHarmless(Named(GonioStageScan2Form{.move4DSlit = 1,
                                                       .slitWidthY = "1",
                                                       .slitWidthZ = "1",
                                                       .slitCenterY = "0",
                                                       .slitCenterZ = "0",
                                                       .scanCenter = "0",
                                                       .scanWidth = "1",
                                                       .division = "2"}),
                             {""});
}

}  // namespace
}  // namespace vesko::test
