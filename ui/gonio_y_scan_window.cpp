#include "ui/gonio_y_scan_window.h"

#include <QVBoxLayout>
#include <utility>

#include "ui/gonio_y_scan_panel.h"

namespace vesko {

GonioYScanWindow::GonioYScanWindow(std::string settingsFolder, Dialogs& dialogs, QWidget* parent)
    : QDialog(parent), panel_(new GonioYScanPanel(std::move(settingsFolder), dialogs, this)) {
  setObjectName(QStringLiteral("frmGonioYScan"));
  setWindowTitle(QStringLiteral("GonioYScan"));
  setModal(true);
  // Closing unloads the window, so its next opening reads the settings file again.
  setAttribute(Qt::WA_DeleteOnClose);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(panel_);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  panel_->loadSettings();
}

}  // namespace vesko
