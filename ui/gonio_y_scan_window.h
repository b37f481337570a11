#pragma once

#include <string>

#include "ui/panel_support.h"

namespace vesko {

class Dialogs;

/// The modal "GonioYScan" window: the GonioY scan panel with its settings loaded on opening.
class GonioYScanWindow final : public ScanDialog {
  Q_OBJECT

 public:
  /// Loads GonioYScan.ini from `settingsFolder` into the panel; closing the window deletes it.
  GonioYScanWindow(std::string settingsFolder, Dialogs& dialogs, QWidget* parent = nullptr);
};

}  // namespace vesko
