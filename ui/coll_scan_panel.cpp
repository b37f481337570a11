#include "ui/coll_scan_panel.h"

#include <utility>

namespace vesko {

CollScanPanel::CollScanPanel(std::int16_t panel, std::string settingsFolder, Dialogs& dialogs,
                             QWidget* parent)
    : FormPanel(panel,
                {.scanBoxes = {"txtColliScanCenter", "txtColliScanWidth", "txtColliScanDivision",
                               "txtColliOutputFileName"},
                 .move4DSlit = "chkCollimatorMove4DSlit",
                 .slitBoxes = {"txtCollimatorSlitWidthY", "txtCollimatorSlitWidthZ",
                               "txtCollimatorSlitCenterY", "txtCollimatorSlitCenterZ"},
                 .fileCreateCaptions = {"File Create(CollimatorY)", "File Create(CollimatorZ)"},
                 .fileCreate = "cmdColliFileCreate",
                 .status = "lblColliStatus",
                 .designFileName = CollScanForm().outputFileName,
                 .slitFirst = false},
                std::move(settingsFolder), dialogs, parent) {}

std::optional<CheckedScript> CollScanPanel::checkedScript() {
  return shown(CheckScript(readForm(), settingsFolder(), combinedLayout_));
}

}  // namespace vesko
