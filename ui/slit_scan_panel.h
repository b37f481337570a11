#pragma once

#include <QWidget>
#include <string>

#include "generators/slit_scan.h"
#include "ui/panel_support.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace vesko {

class Dialogs;

/// The controls of the 4D slit one-dimensional scan; hosted by its own window and, later, by a tab.
class SlitScanPanel final : public QWidget {
  Q_OBJECT

 public:
  /// `settingsFolder` holds 4DSlitScan.ini; messages go through `dialogs`.
  SlitScanPanel(std::string settingsFolder, Dialogs& dialogs, QWidget* parent = nullptr);

  /// Fills the controls from 4DSlitScan.ini as far as it can be read; the rest keep their texts.
  void loadSettings();
  /// The "File Create" button, for hosts that make it their default button.
  QPushButton* fileCreateButton() const { return cmd4DFileCreate_; }
  /// The texts and states of the controls, as typed.
  SlitScanForm readForm() const;
  /// Puts `form` into the controls (a host's settings load).
  void showForm(const SlitScanForm& form);

 private:
  void fileCreate();
  std::string settingsPath() const;

  std::string settingsFolder_;
  Dialogs& dialogs_;

  BladePairChoice opt4DAxis_;
  QLineEdit* txt4DSlitWidth_;
  QLineEdit* txt4DScanCenter_;
  QLineEdit* txt4DScanWidth_;
  QLineEdit* txt4DScanDivision_;
  QLineEdit* txt4DOutputFileName_;
  QCheckBox* chk4DRepeatActive_;
  QLineEdit* txt4DRepeatTimes_;
  QPushButton* cmd4DFileCreate_;
  QLabel* lbl4DStatus_;
};

}  // namespace vesko
