#include "ui/coll_scan_panel.h"

#include <QCheckBox>
#include <QLineEdit>
#include <utility>

namespace vesko {

CollScanPanel::CollScanPanel(std::int16_t panel, std::string settingsFolder, Dialogs& dialogs,
                             QWidget* parent)
    : AxisScanPanel(panel,
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

CollScanForm CollScanPanel::readForm() const {
  CollScanForm form;
  form.panel = panel_;
  form.scanCenter = TextOf(scanCenter_);
  form.scanWidth = TextOf(scanWidth_);
  form.division = TextOf(scanDivision_);
  form.outputFileName = TextOf(fileName_);
  form.move4DSlit = move4DSlit_->isChecked();
  form.slitWidthY = TextOf(slitWidthY_);
  form.slitWidthZ = TextOf(slitWidthZ_);
  form.slitCenterY = TextOf(slitCenterY_);
  form.slitCenterZ = TextOf(slitCenterZ_);
  return form;
}

void CollScanPanel::showForm(const CollScanForm& form) {
  scanCenter_->setText(ToQt(form.scanCenter));
  scanWidth_->setText(ToQt(form.scanWidth));
  scanDivision_->setText(ToQt(form.division));
  fileName_->setText(ToQt(form.outputFileName));
  move4DSlit_->setChecked(form.move4DSlit);
  slitWidthY_->setText(ToQt(form.slitWidthY));
  slitWidthZ_->setText(ToQt(form.slitWidthZ));
  slitCenterY_->setText(ToQt(form.slitCenterY));
  slitCenterZ_->setText(ToQt(form.slitCenterZ));
}

std::optional<CheckedScript> CollScanPanel::checkedScript() {
  return shown(CheckScript(readForm(), settingsFolder(), combinedLayout_));
}

}  // namespace vesko
