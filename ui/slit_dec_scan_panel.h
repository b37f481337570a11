#pragma once

#include <optional>
#include <string>

#include "generators/slit_dec_scan.h"
#include "ui/blade_scan_panel.h"

namespace vesko {

/// The controls of the 4D slit decreasing-width scan; hosted by its own window and by a tab.
class SlitDecScanPanel final : public BladeScanPanel {
  Q_OBJECT

 public:
  /// `settingsFolder` holds 4DSlitDec1DScan.ini; messages go through `dialogs`.
  SlitDecScanPanel(std::string settingsFolder, Dialogs& dialogs, QWidget* parent = nullptr);

  /// Fills the controls from 4DSlitDec1DScan.ini as far as it can be read; the rest keep their texts.
  void loadSettings();
  /// The texts and states of the controls, as typed.
  SlitDecScanForm readForm() const;
  /// Puts `form` into the controls (a host's settings load).
  void showForm(const SlitDecScanForm& form);

 private:
  std::optional<CheckedScript> checkedScript() override;
};

}  // namespace vesko
