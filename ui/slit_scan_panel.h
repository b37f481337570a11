#pragma once

#include <optional>
#include <string>

#include "generators/slit_scan.h"
#include "ui/blade_scan_panel.h"

namespace vesko {

/// The controls of the 4D slit one-dimensional scan; hosted by its own window and by a tab.
class SlitScanPanel final : public BladeScanPanel {
  Q_OBJECT

 public:
  /// `settingsFolder` holds 4DSlitScan.ini; messages go through `dialogs`.
  SlitScanPanel(std::string settingsFolder, Dialogs& dialogs, QWidget* parent = nullptr);

  /// Fills the controls from 4DSlitScan.ini as far as it can be read; the rest keep their texts.
  void loadSettings();
  /// The texts and states of the controls, as typed.
  SlitScanForm readForm() const;
  /// Puts `form` into the controls (a host's settings load).
  void showForm(const SlitScanForm& form);

 private:
  std::optional<CheckedScript> checkedScript() override;
};

}  // namespace vesko
