#pragma once

#include <string>

#include "generators/slit_scan.h"
#include "ui/blade_scan_panel.h"
#include "ui/form_panel.h"

namespace vesko {

/// The controls of the 4D slit one-dimensional scan; hosted by its own window and by a tab.
class SlitScanPanel final : public FormPanel<SlitScanForm, BladeScanPanel> {
  Q_OBJECT

 public:
  /// `settingsFolder` holds 4DSlitScan.ini; messages go through `dialogs`.
  SlitScanPanel(std::string settingsFolder, Dialogs& dialogs, QWidget* parent = nullptr);
};

}  // namespace vesko
