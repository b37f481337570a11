#pragma once

#include <QWidget>
#include <string>

#include "generators/slit_dec_scan.h"
#include "ui/panel_support.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace vesko {

class Dialogs;

/// The controls of the 4D slit decreasing-width scan; hosted by its own window and, later, by a tab.
class SlitDecScanPanel final : public QWidget {
  Q_OBJECT

 public:
  /// `settingsFolder` holds 4DSlitDec1DScan.ini; messages go through `dialogs`.
  SlitDecScanPanel(std::string settingsFolder, Dialogs& dialogs, QWidget* parent = nullptr);

  /// Fills the controls from 4DSlitDec1DScan.ini as far as it can be read; the rest keep their texts.
  void loadSettings();
  /// The "File Create" button, for hosts that make it their default button.
  QPushButton* fileCreateButton() const { return cmd4DDecFileCreate_; }
  /// The texts and states of the controls, as typed.
  SlitDecScanForm readForm() const;
  /// Puts `form` into the controls (a host's settings load).
  void showForm(const SlitDecScanForm& form);

 private:
  void fileCreate();
  std::string settingsPath() const;

  std::string settingsFolder_;
  Dialogs& dialogs_;

  BladePairChoice opt4DDecAxis_;
  QLineEdit* txt4DDecStartSlitWidth_;
  QLineEdit* txt4DDecEndSlitWidth_;
  QLineEdit* txt4DDecScanCenter_;
  QLineEdit* txt4DDecDecStep_;
  QLineEdit* txt4DDecOutputFileName_;
  QCheckBox* chk4DDecRepeatActive_;
  QLineEdit* txt4DDecRepeatTimes_;
  QPushButton* cmd4DDecFileCreate_;
  QLabel* lbl4DDecStatus_;
};

}  // namespace vesko
