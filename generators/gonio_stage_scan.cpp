#include "generators/gonio_stage_scan.h"

#include <cstddef>
#include <string_view>
#include <vector>

#include "core/format.h"
#include "core/platform.h"
#include "core/settings_file.h"
#include "core/tcl_lines.h"
#include "generators/form_checks.h"
#include "generators/scan_positions.h"
#include "generators/two_counter.h"

namespace vesko {
namespace {

constexpr const char* kFileNameError = "FileName Error!";
// The y stage reaches the first point and the centre from 0.02 below them.
constexpr double kApproachOffset = 0.02;

class StageScanWriter {
 public:
  StageScanWriter(const GonioStageScan2Params& p, LineSink& out)
      : p_(p),
        out_(out),
        yStage_(p.Panel == 0),
        moveHead_(yStage_ ? "TclSrv_GStage {y move " : "TclSrv_GStage {z move ") {}

  void Write(const std::string& outputFolder) {
    // All four blades are placed whichever stage axis is scanned.
    std::optional<SlitOpening> preset;
    if (p_.Move4DSlit) {
      preset = SlitOpeningOf(p_.SlitWidthY, p_.SlitWidthZ, p_.SlitCenterY, p_.SlitCenterZ);
    }
    WriteTwoCounterHead({tcl::OpenLine("fp", outputFolder, p_.ResultBase, "")}, preset, out_);

    out_.WriteLine(tcl::PutsLine("fp", yStage_ ? "gonio_stage_y,Io,I,I/Io" : "gonio_stage_z,Io,I,I/Io"));
    const ScanPositions positions(p_.ScanCenter, p_.ScanWidth, p_.Division);
    const int lastIndex = positions.LastIndex();
    for (int i = 0; i <= lastIndex; ++i) {
      WritePoint(positions.At(i), i == 0);
    }
    WritePoint(p_.ScanCenter, true);

    out_.WriteLine(tcl::CloseLine("fp"));
    WriteTwoCounterTail(out_);
  }

 private:
  // The lines of one point go out as one block; the block's storage is reused from point to point.
  void WritePoint(float position, bool approach) {
    if (yStage_ && approach) {
      const NumberText below = NumberText::F(static_cast<double>(position) - kApproachOffset);
      block_.Add(moveHead_).Add(below).Add("}").EndLine();
      block_.Line(kCountBothChannels);
    }
    AddTwoCounterPoint(block_, moveHead_, NumberText::F(position), "fp");
    block_.WriteTo(out_);
  }

  const GonioStageScan2Params& p_;
  LineSink& out_;
  bool yStage_;
  std::string_view moveHead_;
  LineBlock block_;
};

}  // namespace

const char* GonioStageScanSettingsFile(std::int16_t panel) {
  return panel == 0 ? kGonioStageScanSettingsFileY : kGonioStageScanSettingsFileZ;
}

Result<GonioStageScan2Params> Validate(const GonioStageScan2Form& form) {
  using R = Result<GonioStageScan2Params>;
  GonioStageScan2Params p;
  p.Panel = form.panel == 0 ? 0 : 1;

  if (const Result<ScanRange> range = TakeScanRange(ScanTextsOf(form)); !Taken(range, p)) {
    return R::Refused(range.message(), range.field());
  }

  p.Move4DSlit = form.move4DSlit == 1;
  if (const Result<SlitSetting> slit = TakeSlitSetting(SlitTextsOf(form), p.Move4DSlit); !Taken(slit, p)) {
    return R::Refused(slit.message(), slit.field());
  }

  if (!Taken(TakeOutputFileName(form.outputFileName), p)) {
    return R::Refused(kFileNameError, ControlOf(form, form.outputFileName));
  }
  return p;
}

void BuildScript(const GonioStageScan2Params& p, const std::string& outputFolder, LineSink& out) {
  StageScanWriter(p, out).Write(outputFolder);
}

bool LoadSettings(const std::string& path, GonioStageScan2Form& form) {
  return ReadStoredFields(path, form, false);
}

void LoadPanelSettings(const std::string& settingsFolder, GonioStageScan2Form& panel0,
                       GonioStageScan2Form& panel1) {
  if (ReadStoredFields(JoinPath(settingsFolder, kGonioStageScanSettingsFileY), panel0, false)) {
    ReadStoredFields(JoinPath(settingsFolder, kGonioStageScanSettingsFileZ), panel1, false);
  }
}

void LoadCombinedSettings(const std::string& path, GonioStageScan2Form& form) {
  ReadStoredFields(path, form, true);
}

std::optional<IoError> SaveSettings(const std::string& path, const GonioStageScan2Params& p) {
  return vesko::SaveSettings(
      path, {FormatPlain(p.Move4DSlit ? 1 : 0), FormatF(p.SlitWidthY), FormatF(p.SlitWidthZ),
             FormatF(p.SlitCenterY), FormatF(p.SlitCenterZ), FormatF(p.ScanCenter), FormatF(p.ScanWidth),
             FormatPlain(p.Division), p.OutputFileName});
}

}  // namespace vesko
