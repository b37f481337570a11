#include "ui/slit_move_window.h"

#include <utility>

#include "ui/slit_move_panel.h"

namespace vesko {

SlitMoveWindow::SlitMoveWindow(std::string settingsFolder, Dialogs& dialogs, QWidget* parent)
    : QDialog(parent) {
  auto* panel = new SlitMovePanel(std::move(settingsFolder), dialogs, this);
  HostPanel(this, "frm4DSlitMove", "4D Slit Move", panel, panel->fileCreateButton());
  panel->loadSettings();
}

}  // namespace vesko
