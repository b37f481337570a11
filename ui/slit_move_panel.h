#pragma once

#include <string>

#include "generators/slit_move.h"
#include "ui/form_panel.h"
#include "ui/panel_support.h"

class QLineEdit;

namespace vesko {

/// The controls of the 4D slit move: width and centre of both blade pairs and the command file's name.
class SlitMovePanel final : public FormPanel<SlitMoveForm, GeneratorPanel> {
  Q_OBJECT

 public:
  /// `settingsFolder` holds 4DSlitMove.ini; messages and the blade report go through `dialogs`.
  SlitMovePanel(std::string settingsFolder, Dialogs& dialogs, QWidget* parent = nullptr);

 private:
  void fileCreate() override;

  QLineEdit* txtSlitWidth0_;
  QLineEdit* txtSlitWidth1_;
  QLineEdit* txtSlitCenter0_;
  QLineEdit* txtSlitCenter1_;
  QLineEdit* txtOutputFileName_;
};

}  // namespace vesko
