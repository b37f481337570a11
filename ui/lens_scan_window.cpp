#include "ui/lens_scan_window.h"

#include <utility>

#include "ui/lens_scan_panel.h"

namespace vesko {

LensScanWindow::LensScanWindow(std::string settingsFolder, Dialogs& dialogs, QWidget* parent)
    : QDialog(parent) {
  auto* panel = new LensScanPanel(std::move(settingsFolder), dialogs, this);
  HostPanel(this, "frmLensScan", "Form1", panel, panel->fileCreateButton());
  panel->loadSettings();
}

}  // namespace vesko
