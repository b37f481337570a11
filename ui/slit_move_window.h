#pragma once

#include <QDialog>
#include <string>

namespace vesko {

class Dialogs;

/// The modal "4D Slit Move" window: the slit move panel with its settings loaded on opening.
class SlitMoveWindow final : public QDialog {
  Q_OBJECT

 public:
  /// Loads 4DSlitMove.ini from `settingsFolder` into the panel; closing the window deletes it.
  SlitMoveWindow(std::string settingsFolder, Dialogs& dialogs, QWidget* parent = nullptr);
};

}  // namespace vesko
