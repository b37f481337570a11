#include "ui/gonio_y_scan_window.h"

#include <utility>

#include "ui/gonio_y_scan_panel.h"

namespace vesko {

GonioYScanWindow::GonioYScanWindow(std::string settingsFolder, Dialogs& dialogs, QWidget* parent)
    : ScanDialog(dialogs, parent) {
  auto* panel = new GonioYScanPanel(std::move(settingsFolder), dialogs, this);
  HostPanel(this, "frmGonioYScan", "GonioYScan", panel, nullptr);
  panel->loadSettings();
  keepShown();
  connect(panel, &GonioYScanPanel::scriptWritten, this, &ScanDialog::keepShown);
}

}  // namespace vesko
