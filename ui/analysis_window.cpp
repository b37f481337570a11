#include "ui/analysis_window.h"

#include <QPushButton>
#include <QVBoxLayout>

#include "ui/analysis_panel.h"

namespace vesko {

AnalysisWindow::AnalysisWindow(Dialogs& dialogs, QWidget* parent)
    : QDialog(parent), panel_(new AnalysisPanel(dialogs, kAnalysisBoxText, this)) {
  setObjectName(QStringLiteral("frmGraph"));
  setWindowTitle(QStringLiteral("4Dスキャン解析"));
  setModal(true);
  setAttribute(Qt::WA_DeleteOnClose);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(panel_);

  panel_->calculateButton()->setDefault(true);
}

}  // namespace vesko
