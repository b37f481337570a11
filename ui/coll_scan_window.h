#pragma once

#include <QDialog>
#include <array>
#include <string>

namespace vesko {

class CollScanPanel;
class Dialogs;

/// The modal "Collimator 1D Scan Setting" window: the collimator_y and collimator_z panels side by side.
class CollScanWindow final : public QDialog {
  Q_OBJECT

 public:
  /// Loads ColliScan_y.ini and then ColliScan_z.ini from `settingsFolder` (a failure in the first leaves
  /// both panels as designed); closing the window deletes it.
  CollScanWindow(std::string settingsFolder, Dialogs& dialogs, QWidget* parent = nullptr);

 private:
  std::array<CollScanPanel*, 2> panels_{};
};

}  // namespace vesko
