#pragma once

#include <QWidget>
#include <array>
#include <optional>
#include <string>

#include "generators/gonio_y_scan.h"
#include "ui/panel_support.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace vesko {

class Dialogs;

/// The controls of the GonioY scan with its two generators; hosted by its own window and, later, by a tab.
class GonioYScanPanel final : public QWidget {
  Q_OBJECT

 signals:
  /// "File Create" wrote a script.
  void scriptWritten();

 public:
  /// `settingsFolder` holds GonioYScan.ini; messages go through `dialogs`.
  GonioYScanPanel(std::string settingsFolder, Dialogs& dialogs, QWidget* parent = nullptr);

  /// Fills the controls from GonioYScan.ini as far as it can be read; a loaded omega box applies the
  /// omega rule.
  void loadSettings();
  /// The texts and states of the controls, as typed.
  GonioYScanForm readForm() const;
  /// Puts `form` into the controls, then applies the omega rule.
  void showForm(const GonioYScanForm& form);

 private:
  void applyOmegaRule();
  /// The checked inputs as a job for `generator`, or none after the refusal has been shown.
  std::optional<CheckedScript> checkedScript(GonioYGenerator generator);
  void fileCreate(GonioYGenerator generator);
  void preview(GonioYGenerator generator);

  std::string settingsFolder_;
  Dialogs& dialogs_;

  QLineEdit* txtGonioYScanCenter_;
  QLineEdit* txtGonioYScanWidth_;
  QLineEdit* txtGonioYScanDivision_;
  QLineEdit* txtGonioYOutputFileName_;
  std::array<QCheckBox*, 2> chkGonioYUseOmega_{};
  std::array<QLineEdit*, 2> txtGonioYOmega_{};
  QGroupBox* fraGonioYRepeatSetting_;
  QCheckBox* chkGonioYRepeatActive_;
  QLineEdit* txtGonioYRepeatTimes_;
  QLabel* lblGonioYTimes_;
  QPushButton* cmdGonioYFileCreate_;
  QPushButton* cmdGonioYFileCreate2_;
  QPushButton* cmdGonioYPreview_;
  QPushButton* cmdGonioYPreview2_;
  QLabel* lblGonioYStatus_;
};

}  // namespace vesko
