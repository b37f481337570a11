#pragma once

#include <array>
#include <string>

#include "generators/lens_scan.h"
#include "ui/form_panel.h"
#include "ui/panel_support.h"

class QButtonGroup;
class QLineEdit;
class QRadioButton;

namespace vesko {

/// The controls of the lens scan; hosted by its own window and by a tab.
class LensScanPanel final : public FormPanel<LensScanForm, GeneratorPanel> {
  Q_OBJECT

 public:
  /// `settingsFolder` holds LensScan.ini; messages go through `dialogs`.
  LensScanPanel(std::string settingsFolder, Dialogs& dialogs, QWidget* parent = nullptr);

 private:
  QButtonGroup* optLenzAxisGroup_;
  std::array<QRadioButton*, 4> optLenzAxis_{};
  QLineEdit* txtLenzScanCenter_;
  QLineEdit* txtLenzScanWidth_;
  QLineEdit* txtLenzScanDivision_;
  QLineEdit* txtLenzOutputFileName_;
};

}  // namespace vesko
