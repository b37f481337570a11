#pragma once

#include <QDialog>
#include <string>

namespace vesko {

class Dialogs;

/// The modal "4DSlit Scan Setting" window: the scan panel with its settings loaded on opening.
class SlitScanWindow final : public QDialog {
  Q_OBJECT

 public:
  /// Loads 4DSlitScan.ini from `settingsFolder` into the panel; closing the window deletes it.
  SlitScanWindow(std::string settingsFolder, Dialogs& dialogs, QWidget* parent = nullptr);
};

}  // namespace vesko
