#include "ui/coll_scan_window.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "generators/coll_scan.h"
#include "ui/coll_scan_panel.h"
#include "ui/panel_support.h"

namespace vesko {

CollScanWindow::CollScanWindow(std::string settingsFolder, Dialogs& dialogs, QWidget* parent)
    : QDialog(parent) {
  auto* layout = new QHBoxLayout(this);
  SetUpScanWindow(this, "frmCollScan", "Collimator 1D Scan Setting", layout);
  const char* const captions[] = {"collimator_y", "collimator_z"};
  for (std::int16_t n = 0; n < 2; ++n) {
    auto* frame = Element(new QGroupBox(QString::fromLatin1(captions[n]), this), "fraCollimator", n);
    panels_[n] = new CollScanPanel(n, settingsFolder, dialogs, frame);
    (new QVBoxLayout(frame))->addWidget(panels_[n]);
    layout->addWidget(frame);
  }

  CollScanForm y = panels_[0]->readForm();
  CollScanForm z = panels_[1]->readForm();
  LoadPanelSettings(settingsFolder, y, z);
  panels_[0]->showForm(y);
  panels_[1]->showForm(z);
  KeepReturnFromButtons(this);
}

}  // namespace vesko
