#include "ui/slit_dec_scan_panel.h"

#include <utility>

namespace vesko {

SlitDecScanPanel::SlitDecScanPanel(std::string settingsFolder, Dialogs& dialogs, QWidget* parent)
    : FormPanel(
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

}  // namespace vesko
