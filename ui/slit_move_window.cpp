#include "ui/slit_move_window.h"

#include <QPushButton>
#include <QVBoxLayout>
#include <utility>

#include "ui/slit_move_panel.h"

namespace vesko {

SlitMoveWindow::SlitMoveWindow(std::string settingsFolder, Dialogs& dialogs, QWidget* parent)
    : QDialog(parent), panel_(new SlitMovePanel(std::move(settingsFolder), dialogs, this)) {
  setObjectName(QStringLiteral("frm4DSlitMove"));
  setWindowTitle(QStringLiteral("4D Slit Move"));
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
