#pragma once

#include <QWidget>
#include <cstdint>
#include <string>

#include "generators/gonio_stage_scan.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace vesko {

class Dialogs;

/// One gonio stage panel (element `panel` of the control arrays: 0 gonio_stage_y, 1 gonio_stage_z);
/// hosted twice by its own window and, later, by two tabs.
class GonioStageScanPanel final : public QWidget {
  Q_OBJECT

 public:
  /// `settingsFolder` holds the panel's settings file; messages go through `dialogs`.
  GonioStageScanPanel(std::int16_t panel, std::string settingsFolder, Dialogs& dialogs,
                      QWidget* parent = nullptr);

  /// The panel number: 0 for gonio_stage_y, 1 for gonio_stage_z.
  std::int16_t panel() const { return panel_; }
  /// The texts and states of the controls, as typed.
  GonioStageScan2Form readForm() const;
  /// Puts `form` into the controls (the host's settings load).
  void showForm(const GonioStageScan2Form& form);

 private:
  void fileCreate();

  std::int16_t panel_;
  std::string settingsFolder_;
  Dialogs& dialogs_;

  QCheckBox* chkGonioStageMove4DSlit_;
  QLineEdit* txtGonioStageSlitWidthY_;
  QLineEdit* txtGonioStageSlitWidthZ_;
  QLineEdit* txtGonioStageSlitCenterY_;
  QLineEdit* txtGonioStageSlitCenterZ_;
  QLineEdit* txtGonioStageScanCenter_;
  QLineEdit* txtGonioStageScanWidth_;
  QLineEdit* txtGonioStageScanDivision_;
  QLineEdit* txtGonioStageOutputFileName_;
  QPushButton* cmdGonioStageFileCreate_;
  QLabel* lblGonioStageStatus_;
};

}  // namespace vesko
