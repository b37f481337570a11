#pragma once

#include <string>

#include "generators/slit_dec_scan.h"
#include "ui/blade_scan_panel.h"
#include "ui/form_panel.h"

namespace vesko {

/// The controls of the 4D slit decreasing-width scan; hosted by its own window and by a tab.
class SlitDecScanPanel final : public FormPanel<SlitDecScanForm, BladeScanPanel> {
  Q_OBJECT

 public:
  /// `settingsFolder` holds 4DSlitDec1DScan.ini; messages go through `dialogs`.
  SlitDecScanPanel(std::string settingsFolder, Dialogs& dialogs, QWidget* parent = nullptr);
};

}  // namespace vesko
