#include "ui/gonio_stage_scan_panel.h"

#include <QCheckBox>
#include <QLineEdit>
#include <utility>

namespace vesko {

GonioStageScanPanel::GonioStageScanPanel(std::int16_t panel, std::string settingsFolder, Dialogs& dialogs,
                                         QWidget* parent)
    : AxisScanPanel(panel,
                    {.scanBoxes = {"txtGonioStageScanCenter", "txtGonioStageScanWidth",
                                   "txtGonioStageScanDivision", "txtGonioStageOutputFileName"},
                     .move4DSlit = "chkGonioStageMove4DSlit",
                     .slitBoxes = {"txtGonioStageSlitWidthY", "txtGonioStageSlitWidthZ",
                                   "txtGonioStageSlitCenterY", "txtGonioStageSlitCenterZ"},
                     .fileCreateCaptions = {"File Create(StageY)", "File Create(StageZ)"},
                     .fileCreate = "cmdGonioStageFileCreate",
                     .status = "lblGonioStageStatus",
                     .designFileName = GonioStageScan2Form().outputFileName,
                     .slitFirst = true},
                    std::move(settingsFolder), dialogs, parent) {}

GonioStageScan2Form GonioStageScanPanel::readForm() const {
  GonioStageScan2Form form;
  form.panel = panel_;
  form.move4DSlit = BoxValue(move4DSlit_);
  form.slitWidthY = TextOf(slitWidthY_);
  form.slitWidthZ = TextOf(slitWidthZ_);
  form.slitCenterY = TextOf(slitCenterY_);
  form.slitCenterZ = TextOf(slitCenterZ_);
  form.scanCenter = TextOf(scanCenter_);
  form.scanWidth = TextOf(scanWidth_);
  form.division = TextOf(scanDivision_);
  form.outputFileName = TextOf(fileName_);
  return form;
}

void GonioStageScanPanel::showForm(const GonioStageScan2Form& form) {
  ShowBoxValue(move4DSlit_, form.move4DSlit);
  slitWidthY_->setText(ToQt(form.slitWidthY));
  slitWidthZ_->setText(ToQt(form.slitWidthZ));
  slitCenterY_->setText(ToQt(form.slitCenterY));
  slitCenterZ_->setText(ToQt(form.slitCenterZ));
  scanCenter_->setText(ToQt(form.scanCenter));
  scanWidth_->setText(ToQt(form.scanWidth));
  scanDivision_->setText(ToQt(form.division));
  fileName_->setText(ToQt(form.outputFileName));
}

std::optional<CheckedScript> GonioStageScanPanel::checkedScript() {
  return shown(CheckScript(readForm(), settingsFolder()));
}

}  // namespace vesko
