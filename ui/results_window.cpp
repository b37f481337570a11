#include "ui/results_window.h"

#include <QVBoxLayout>

#include "ui/results_panel.h"

namespace vesko {

ResultsWindow::ResultsWindow(Dialogs& dialogs, QWidget* parent)
    : QDialog(parent), panel_(new ResultsPanel(dialogs, this)) {
  setObjectName(QStringLiteral("frmResults"));
  setWindowTitle(QStringLiteral("Results"));
  setModal(true);
  setAttribute(Qt::WA_DeleteOnClose);
  resize(900, 680);
  (new QVBoxLayout(this))->addWidget(panel_);
}

}  // namespace vesko
