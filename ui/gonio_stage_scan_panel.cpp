#include "ui/gonio_stage_scan_panel.h"

#include "ui/form_controls.h"

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
  return ReadFields(this, form, panel_);
}

void GonioStageScanPanel::showForm(const GonioStageScan2Form& form) {
  ShowFields(this, form, panel_);
}

std::optional<CheckedScript> GonioStageScanPanel::checkedScript() {
  return shown(CheckScript(readForm(), settingsFolder()));
}

}  // namespace vesko
