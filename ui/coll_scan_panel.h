#pragma once

#include <QWidget>
#include <cstdint>
#include <string>

#include "generators/coll_scan.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace vesko {

class Dialogs;

/// One collimator panel (element `panel` of the control arrays: 0 col_y, 1 col_z); hosted twice by its own
/// window and, later, by two tabs.
class CollScanPanel final : public QWidget {
  Q_OBJECT

 public:
  /// `settingsFolder` holds the panel's settings file; messages go through `dialogs`.
  CollScanPanel(std::int16_t panel, std::string settingsFolder, Dialogs& dialogs, QWidget* parent = nullptr);

  /// The panel number: 0 for collimator_y, 1 for collimator_z.
  std::int16_t panel() const { return panel_; }
  /// The texts and states of the controls, as typed.
  CollScanForm readForm() const;
  /// Puts `form` into the controls (the host's settings load).
  void showForm(const CollScanForm& form);
  /// With `on`, "File Create" stores the nine-line layout of the combined window instead of the
  /// collimator window's four lines.
  void setCombinedLayout(bool on) { combinedLayout_ = on; }

 private:
  void fileCreate();

  std::int16_t panel_;
  std::string settingsFolder_;
  Dialogs& dialogs_;
  bool combinedLayout_ = false;

  QLineEdit* txtColliScanCenter_;
  QLineEdit* txtColliScanWidth_;
  QLineEdit* txtColliScanDivision_;
  QLineEdit* txtColliOutputFileName_;
  QCheckBox* chkCollimatorMove4DSlit_;
  QLineEdit* txtCollimatorSlitWidthY_;
  QLineEdit* txtCollimatorSlitWidthZ_;
  QLineEdit* txtCollimatorSlitCenterY_;
  QLineEdit* txtCollimatorSlitCenterZ_;
  QPushButton* cmdColliFileCreate_;
  QLabel* lblColliStatus_;
};

}  // namespace vesko
