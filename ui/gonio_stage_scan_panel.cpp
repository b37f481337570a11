#include "ui/gonio_stage_scan_panel.h"

#include <utility>

namespace vesko {

GonioStageScanPanel::GonioStageScanPanel(std::int16_t panel, std::string settingsFolder, Dialogs& dialogs,
                                         QWidget* parent)
    : FormPanel(panel,
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

}  // namespace vesko
