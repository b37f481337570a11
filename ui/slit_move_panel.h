#pragma once

#include <QWidget>
#include <string>

#include "generators/slit_move.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace vesko {

class Dialogs;

/// The controls of the 4D slit move: width and centre of both blade pairs and the command file's name.
class SlitMovePanel final : public QWidget {
  Q_OBJECT

 public:
  /// `settingsFolder` holds 4DSlitMove.ini; messages and the blade report go through `dialogs`.
  SlitMovePanel(std::string settingsFolder, Dialogs& dialogs, QWidget* parent = nullptr);

  /// Fills the text boxes from 4DSlitMove.ini as far as it can be read; the rest keep their texts.
  void loadSettings();
  /// The "File Create" button, for hosts that make it their default button.
  QPushButton* fileCreateButton() const { return cmdFileCreate_; }

 private:
  void fileCreate();
  SlitMoveForm readForm() const;
  void showForm(const SlitMoveForm& form);
  std::string settingsPath() const;

  std::string settingsFolder_;
  Dialogs& dialogs_;

  QLineEdit* txtSlitWidth0_;
  QLineEdit* txtSlitWidth1_;
  QLineEdit* txtSlitCenter0_;
  QLineEdit* txtSlitCenter1_;
  QLineEdit* txtOutputFileName_;
  QPushButton* cmdFileCreate_;
  QLabel* lblStatus_;
};

}  // namespace vesko
