#include "ui/slit_scan_panel.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>
#include <utility>

namespace vesko {

SlitScanPanel::SlitScanPanel(std::string settingsFolder, Dialogs& dialogs, QWidget* parent)
    : BladeScanPanel({.frame = "fra4D",
                      .option = "opt4DAxis",
                      .captions = {"Slit Width", "Scan Center", "Scan Width", "Scan Division"},
                      .numbers = {"txt4DSlitWidth", "txt4DScanCenter", "txt4DScanWidth", "txt4DScanDivision"},
                      .fileNameCaption = "lblSetting_5",
                      .fileNameHint = "lblSetting_6",
                      .fileName = "txt4DOutputFileName",
                      .designFileName = "4DSlit1DScan.tcl",
                      .repeat = {"fra4DRepeatSetting", "chk4DRepeatActive", "Label1", "txt4DRepeatTimes"},
                      .fileCreate = "cmd4DFileCreate",
                      .status = "lbl4DStatus"},
                     std::move(settingsFolder), dialogs, parent) {}

SlitScanForm SlitScanPanel::readForm() const {
  SlitScanForm form;
  form.axisY = axis_.y->isChecked();
  form.axisZ = axis_.z->isChecked();
  form.slitWidth = TextOf(numbers_[0]);
  form.scanCenter = TextOf(numbers_[1]);
  form.scanWidth = TextOf(numbers_[2]);
  form.division = TextOf(numbers_[3]);
  form.outputFileName = TextOf(fileName_);
  form.repeatActive = repeatActive_->isChecked();
  form.repeatTimes = TextOf(repeatTimes_);
  return form;
}

void SlitScanPanel::showForm(const SlitScanForm& form) {
  ShowBladePair(axis_, form.axisY, form.axisZ);
  numbers_[0]->setText(ToQt(form.slitWidth));
  numbers_[1]->setText(ToQt(form.scanCenter));
  numbers_[2]->setText(ToQt(form.scanWidth));
  numbers_[3]->setText(ToQt(form.division));
  fileName_->setText(ToQt(form.outputFileName));
  repeatActive_->setChecked(form.repeatActive);
  repeatTimes_->setText(ToQt(form.repeatTimes));
}

void SlitScanPanel::loadSettings() {
  SlitScanForm form = readForm();
  LoadSettings(settingsPath(kSlitScanSettingsFile), form);
  showForm(form);
}

std::optional<CheckedScript> SlitScanPanel::checkedScript() {
  return shown(CheckScript(readForm(), settingsFolder()));
}

}  // namespace vesko
