#pragma once

#include <QDialog>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QString>
#include <QVBoxLayout>
#include <array>
#include <cstdint>
#include <string>
#include <utility>

#include "ui/coll_scan_panel.h"
#include "ui/gonio_stage_scan_panel.h"
#include "ui/lens_scan_panel.h"
#include "ui/panel_support.h"
#include "ui/slit_dec_scan_panel.h"
#include "ui/slit_move_panel.h"
#include "ui/slit_scan_panel.h"

namespace vesko {

class Dialogs;

/// How a scan window is named and titled; a two-panel window also names the frames of its panels.
struct WindowDesign {
  const char* objectName;
  const char* title;
  const char* frame = nullptr;               // the control array of the frames, y then z
  std::array<const char*, 2> captions = {};  // their captions
};

/// A modal window around one generator panel, whose "File Create" is the default button. The panel's
/// settings file is loaded on opening; closing the window deletes it, so that the next opening reads it
/// again.
template <typename Panel, const WindowDesign& kDesign>
class OnePanelWindow final : public ScanDialog {
 public:
  OnePanelWindow(std::string settingsFolder, Dialogs& dialogs, QWidget* parent = nullptr)
      : ScanDialog(dialogs, parent) {
    auto* panel = new Panel(std::move(settingsFolder), dialogs, this);
    HostPanel(this, kDesign.objectName, kDesign.title, panel, panel->fileCreateButton());
    panel->loadSettings();
    keepShown();
    connect(panel, &GeneratorPanel::scriptWritten, this, &ScanDialog::keepShown);
  }
};

/// A modal window with a y and a z panel side by side, each in its frame, and no default button. Both
/// settings files are loaded on opening under one failure rule (a failure in the first leaves both panels
/// as designed); closing the window deletes it.
template <typename Panel, const WindowDesign& kDesign>
class TwoPanelWindow final : public ScanDialog {
 public:
  TwoPanelWindow(const std::string& settingsFolder, Dialogs& dialogs, QWidget* parent = nullptr)
      : ScanDialog(dialogs, parent) {
    auto* layout = new QHBoxLayout(this);
    SetUpScanWindow(this, kDesign.objectName, kDesign.title, layout);
    std::array<Panel*, 2> panels{};
    for (std::int16_t n = 0; n < 2; ++n) {
      auto* frame = Element(new QGroupBox(QString::fromLatin1(kDesign.captions[n]), this), kDesign.frame, n);
      panels[n] = new Panel(n, settingsFolder, dialogs, frame);
      (new QVBoxLayout(frame))->addWidget(panels[n]);
      layout->addWidget(frame);
      connect(panels[n], &GeneratorPanel::scriptWritten, this, &ScanDialog::keepShown);
    }
    auto y = panels[0]->readForm();
    auto z = panels[1]->readForm();
    LoadPanelSettings(settingsFolder, y, z);
    panels[0]->showForm(y);
    panels[1]->showForm(z);
    KeepReturnFromButtons(this);
    keepShown();
  }
};

inline constexpr WindowDesign kSlitScanWindow{"frm4DSlitScan", "4DSlit Scan Setting"};
inline constexpr WindowDesign kSlitDecScanWindow{"frm4DSlitDecScan", "4DSlit Decrease Scan Setting"};
inline constexpr WindowDesign kSlitMoveWindow{"frm4DSlitMove", "4D Slit Move"};
inline constexpr WindowDesign kLensScanWindow{"frmLensScan", "Form1"};
inline constexpr WindowDesign kCollScanWindow{
    "frmCollScan", "Collimator 1D Scan Setting", "fraCollimator", {"collimator_y", "collimator_z"}};
inline constexpr WindowDesign kGonioStageScanWindow{
    "frmGonioStageScan2", "GonioStage 1D Scan Setting", "fraGonioStage", {"gonio_stage_y", "gonio_stage_z"}};

using SlitScanWindow = OnePanelWindow<SlitScanPanel, kSlitScanWindow>;
using SlitDecScanWindow = OnePanelWindow<SlitDecScanPanel, kSlitDecScanWindow>;
using SlitMoveWindow = OnePanelWindow<SlitMovePanel, kSlitMoveWindow>;
using LensScanWindow = OnePanelWindow<LensScanPanel, kLensScanWindow>;
using CollScanWindow = TwoPanelWindow<CollScanPanel, kCollScanWindow>;
using GonioStageScanWindow = TwoPanelWindow<GonioStageScanPanel, kGonioStageScanWindow>;

}  // namespace vesko
