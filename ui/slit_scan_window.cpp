#include "ui/slit_scan_window.h"

#include <utility>

#include "ui/slit_scan_panel.h"

namespace vesko {

SlitScanWindow::SlitScanWindow(std::string settingsFolder, Dialogs& dialogs, QWidget* parent)
    : QDialog(parent) {
  auto* panel = new SlitScanPanel(std::move(settingsFolder), dialogs, this);
  HostPanel(this, "frm4DSlitScan", "4DSlit Scan Setting", panel, panel->fileCreateButton());
  panel->loadSettings();
}

}  // namespace vesko
