#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "generators/coll_scan.h"
#include "ui/axis_scan_panel.h"
#include "ui/form_panel.h"

namespace vesko {

/// One collimator panel (element `panel` of the control arrays: 0 col_y, 1 col_z); hosted twice by its own
/// window and by two tabs.
class CollScanPanel final : public FormPanel<CollScanForm, AxisScanPanel> {
  Q_OBJECT

 public:
  /// `settingsFolder` holds the panel's settings file; messages go through `dialogs`.
  CollScanPanel(std::int16_t panel, std::string settingsFolder, Dialogs& dialogs, QWidget* parent = nullptr);

  /// With `on`, "File Create" stores the nine-line layout of the combined window instead of the
  /// collimator window's four lines.
  void setCombinedLayout(bool on) { combinedLayout_ = on; }

 private:
  std::optional<CheckedScript> checkedScript() override;

  bool combinedLayout_ = false;
};

}  // namespace vesko
