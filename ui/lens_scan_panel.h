#pragma once

#include <QWidget>
#include <array>
#include <string>

#include "generators/lens_scan.h"

class QButtonGroup;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace vesko {

class Dialogs;

/// The controls of the lens scan; hosted by its own window and, later, by a tab.
class LensScanPanel final : public QWidget {
  Q_OBJECT

 public:
  /// `settingsFolder` holds LensScan.ini; messages go through `dialogs`.
  LensScanPanel(std::string settingsFolder, Dialogs& dialogs, QWidget* parent = nullptr);

  /// Fills the controls from LensScan.ini as far as it can be read; the rest keep their texts.
  void loadSettings();
  /// The "File Create" button, for hosts that make it their default button.
  QPushButton* fileCreateButton() const { return cmdLenzFileCreate_; }
  /// The texts and states of the controls, as typed.
  LensScanForm readForm() const;
  /// Puts `form` into the controls (a host's settings load).
  void showForm(const LensScanForm& form);

 private:
  void fileCreate();
  std::string settingsPath() const;

  std::string settingsFolder_;
  Dialogs& dialogs_;

  QButtonGroup* optLenzAxisGroup_;
  std::array<QRadioButton*, 4> optLenzAxis_{};
  QLineEdit* txtLenzScanCenter_;
  QLineEdit* txtLenzScanWidth_;
  QLineEdit* txtLenzScanDivision_;
  QLineEdit* txtLenzOutputFileName_;
  QPushButton* cmdLenzFileCreate_;
  QLabel* lblLenzStatus_;
};

}  // namespace vesko
