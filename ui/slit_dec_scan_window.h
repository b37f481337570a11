#pragma once

#include <QDialog>
#include <string>

namespace vesko {

class Dialogs;

/// The modal "4DSlit Decrease Scan Setting" window: the decreasing-width scan panel with its settings
/// loaded on opening.
class SlitDecScanWindow final : public QDialog {
  Q_OBJECT

 public:
  /// Loads 4DSlitDec1DScan.ini from `settingsFolder` into the panel; closing the window deletes it.
  SlitDecScanWindow(std::string settingsFolder, Dialogs& dialogs, QWidget* parent = nullptr);
};

}  // namespace vesko
