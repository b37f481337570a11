#include "ui/slit_scan_panel.h"

#include "ui/form_controls.h"

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
  return ReadFields(this, SlitScanForm());
}

void SlitScanPanel::showForm(const SlitScanForm& form) {
  ShowFields(this, form);
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
