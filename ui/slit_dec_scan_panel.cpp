#include "ui/slit_dec_scan_panel.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>
#include <utility>

namespace vesko {

SlitDecScanPanel::SlitDecScanPanel(std::string settingsFolder, Dialogs& dialogs, QWidget* parent)
    : BladeScanPanel(
          {.frame = "fra4DDec",
           .option = "opt4DDecAxis",
           .captions = {"Start Slit Width", "End Slit Width", "Scan Center", "Dec Step"},
           .numbers = {"txt4DDecStartSlitWidth", "txt4DDecEndSlitWidth", "txt4DDecScanCenter",
                       "txt4DDecDecStep"},
           .fileNameCaption = "lblSetting_4",
           .fileNameHint = "lblSetting_5",
           .fileName = "txt4DDecOutputFileName",
           .designFileName = "4DSlitDec1DScan.tcl",
           .repeat = {"fra4DDecRepeatSetting", "chk4DDecRepeatActive", "lblSetting_6", "txt4DDecRepeatTimes"},
           .fileCreate = "cmd4DDecFileCreate",
           .status = "lbl4DDecStatus"},
          std::move(settingsFolder), dialogs, parent) {}

SlitDecScanForm SlitDecScanPanel::readForm() const {
  SlitDecScanForm form;
  form.axisY = axis_.y->isChecked();
  form.axisZ = axis_.z->isChecked();
  form.startSlitWidth = TextOf(numbers_[0]);
  form.endSlitWidth = TextOf(numbers_[1]);
  form.scanCenter = TextOf(numbers_[2]);
  form.decStep = TextOf(numbers_[3]);
  form.outputFileName = TextOf(fileName_);
  form.repeatActive = repeatActive_->isChecked();
  form.repeatTimes = TextOf(repeatTimes_);
  return form;
}

void SlitDecScanPanel::showForm(const SlitDecScanForm& form) {
  ShowBladePair(axis_, form.axisY, form.axisZ);
  numbers_[0]->setText(ToQt(form.startSlitWidth));
  numbers_[1]->setText(ToQt(form.endSlitWidth));
  numbers_[2]->setText(ToQt(form.scanCenter));
  numbers_[3]->setText(ToQt(form.decStep));
  fileName_->setText(ToQt(form.outputFileName));
  repeatActive_->setChecked(form.repeatActive);
  repeatTimes_->setText(ToQt(form.repeatTimes));
}

void SlitDecScanPanel::loadSettings() {
  SlitDecScanForm form = readForm();
  LoadSettings(settingsPath(kSlitDecScanSettingsFile), form);
  showForm(form);
}

std::optional<CheckedScript> SlitDecScanPanel::checkedScript() {
  return shown(CheckScript(readForm(), settingsFolder()));
}

}  // namespace vesko
