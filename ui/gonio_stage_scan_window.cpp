#include "ui/gonio_stage_scan_window.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "generators/gonio_stage_scan.h"
#include "ui/gonio_stage_scan_panel.h"
#include "ui/panel_support.h"

namespace vesko {

GonioStageScanWindow::GonioStageScanWindow(std::string settingsFolder, Dialogs& dialogs, QWidget* parent)
    : QDialog(parent) {
  auto* layout = new QHBoxLayout(this);
  SetUpScanWindow(this, "frmGonioStageScan2", "GonioStage 1D Scan Setting", layout);
  const char* const captions[] = {"gonio_stage_y", "gonio_stage_z"};
  for (std::int16_t n = 0; n < 2; ++n) {
    auto* frame = Element(new QGroupBox(QString::fromLatin1(captions[n]), this), "fraGonioStage", n);
    panels_[n] = new GonioStageScanPanel(n, settingsFolder, dialogs, frame);
    (new QVBoxLayout(frame))->addWidget(panels_[n]);
    layout->addWidget(frame);
  }

  GonioStageScan2Form y = panels_[0]->readForm();
  GonioStageScan2Form z = panels_[1]->readForm();
  LoadPanelSettings(settingsFolder, y, z);
  panels_[0]->showForm(y);
  panels_[1]->showForm(z);
  KeepReturnFromButtons(this);
}

}  // namespace vesko
