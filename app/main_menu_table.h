#pragma once

#include <array>
#include <string_view>

namespace vesko {

/// One main-menu button that opens a window: its object name, caption and the window it opens.
struct MainMenuEntry {
  std::string_view buttonName;
  std::string_view caption;
  std::string_view windowName;
  /// False while the window is not part of the program yet; its button is shown disabled.
  bool windowBuilt = false;
};

/// The window buttons of the main menu, top to bottom ("Select Output Folder" and "End" act themselves).
inline constexpr std::array<MainMenuEntry, 9> kMainMenuEntries{{
    {"cmd4DSlitScan", "4DSlitScan(1Dimension)", "frm4DSlitScan", true},
    {"cmd4DSlitDecScan", "4DSlitScan(Decrease Width)", "frm4DSlitDecScan", true},
    {"cmdCollScan", "Coll 1DScan", "frmCollScan", true},
    {"cmdGonioScan", "GonioStage1DScan", "frmGonioStageScan2", true},
    {"cmdGonioYScan", "GonioYScan", "frmGonioYScan", true},
    {"cmd4DSlitMove", "4DSlitMove", "frm4DSlitMove", true},
    {"cmdLensScan", "Be Lens Scan", "frmLensScan", true},
    {"cmdAnalysDecScan", "4Dスキャン解析", "frmGraph", true},
    {"cmdResults", "Results", "frmResults", true},
}};

/// The entry of the button named `buttonName`, or null when that button opens no window.
const MainMenuEntry* FindMainMenuEntry(std::string_view buttonName);

}  // namespace vesko
