#include "ui/slit_dec_scan_window.h"

#include <QPushButton>
#include <QVBoxLayout>
#include <utility>

#include "ui/slit_dec_scan_panel.h"

namespace vesko {

SlitDecScanWindow::SlitDecScanWindow(std::string settingsFolder, Dialogs& dialogs, QWidget* parent)
    : QDialog(parent), panel_(new SlitDecScanPanel(std::move(settingsFolder), dialogs, this)) {
  setObjectName(QStringLiteral("frm4DSlitDecScan"));
  setWindowTitle(QStringLiteral("4DSlit Decrease Scan Setting"));
  setModal(true);
  // Closing unloads the window, so its next opening reads the settings file again.
  setAttribute(Qt::WA_DeleteOnClose);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(panel_);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  panel_->fileCreateButton()->setDefault(true);
  panel_->loadSettings();
}

}  // namespace vesko
