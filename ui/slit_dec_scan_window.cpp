#include "ui/slit_dec_scan_window.h"

#include <utility>

#include "ui/slit_dec_scan_panel.h"

namespace vesko {

SlitDecScanWindow::SlitDecScanWindow(std::string settingsFolder, Dialogs& dialogs, QWidget* parent)
    : QDialog(parent) {
  auto* panel = new SlitDecScanPanel(std::move(settingsFolder), dialogs, this);
  HostPanel(this, "frm4DSlitDecScan", "4DSlit Decrease Scan Setting", panel, panel->fileCreateButton());
  panel->loadSettings();
}

}  // namespace vesko
