#include "ui/coll_scan_window.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "generators/coll_scan.h"
#include "ui/coll_scan_panel.h"

namespace vesko {

CollScanWindow::CollScanWindow(std::string settingsFolder, Dialogs& dialogs, QWidget* parent)
    : QDialog(parent) {
  setObjectName(QStringLiteral("frmCollScan"));
  setWindowTitle(QStringLiteral("Collimator 1D Scan Setting"));
  setModal(true);
  // Closing unloads the window, so its next opening reads the settings files again.
  setAttribute(Qt::WA_DeleteOnClose);

  auto* layout = new QHBoxLayout(this);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  const char* const captions[] = {"collimator_y", "collimator_z"};
  for (std::int16_t n = 0; n < 2; ++n) {
    auto* frame = new QGroupBox(QString::fromLatin1(captions[n]), this);
    frame->setObjectName(QStringLiteral("fraCollimator_%1").arg(n));
    panels_[n] = new CollScanPanel(n, settingsFolder, dialogs, frame);
    auto* frameLayout = new QVBoxLayout(frame);
    frameLayout->addWidget(panels_[n]);
    layout->addWidget(frame);
  }

  CollScanForm y = panels_[0]->readForm();
  CollScanForm z = panels_[1]->readForm();
  LoadPanelSettings(settingsFolder, y, z);
  panels_[0]->showForm(y);
  panels_[1]->showForm(z);
}

}  // namespace vesko
