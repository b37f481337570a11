#pragma once

#include <QDialog>
#include <string>

namespace vesko {

class Dialogs;

/// The modal lens scan window ("Form1"): the lens panel with its settings loaded on opening.
class LensScanWindow final : public QDialog {
  Q_OBJECT

 public:
  /// Loads LensScan.ini from `settingsFolder` into the panel; closing the window deletes it.
  LensScanWindow(std::string settingsFolder, Dialogs& dialogs, QWidget* parent = nullptr);
};

}  // namespace vesko
