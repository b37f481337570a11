#pragma once

#include <cstdint>
#include <string>

#include "generators/gonio_stage_scan.h"
#include "ui/axis_scan_panel.h"
#include "ui/form_panel.h"

namespace vesko {

/// One gonio stage panel (element `panel` of the control arrays: 0 gonio_stage_y, 1 gonio_stage_z);
/// hosted twice by its own window and by two tabs.
class GonioStageScanPanel final : public FormPanel<GonioStageScan2Form, AxisScanPanel> {
  Q_OBJECT

 public:
  /// `settingsFolder` holds the panel's settings file; messages go through `dialogs`.
  GonioStageScanPanel(std::int16_t panel, std::string settingsFolder, Dialogs& dialogs,
                      QWidget* parent = nullptr);
};

}  // namespace vesko
