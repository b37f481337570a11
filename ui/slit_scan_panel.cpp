#include "ui/slit_scan_panel.h"

#include <utility>

namespace vesko {

SlitScanPanel::SlitScanPanel(std::string settingsFolder, Dialogs& dialogs, QWidget* parent)
    : FormPanel({.frame = "fra4D",
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

}  // namespace vesko
