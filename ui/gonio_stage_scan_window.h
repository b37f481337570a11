#pragma once

#include <QDialog>
#include <array>
#include <string>

namespace vesko {

class Dialogs;
class GonioStageScanPanel;

/// The modal "GonioStage 1D Scan Setting" window: the gonio_stage_y and gonio_stage_z panels side by side.
class GonioStageScanWindow final : public QDialog {
  Q_OBJECT

 public:
  /// Loads GonioStageScan2_y.ini and then GonioStageScan2_z.ini from `settingsFolder` (a failure in the
  /// first leaves the z panel as designed); closing the window deletes it.
  GonioStageScanWindow(std::string settingsFolder, Dialogs& dialogs, QWidget* parent = nullptr);

 private:
  std::array<GonioStageScanPanel*, 2> panels_{};
};

}  // namespace vesko
