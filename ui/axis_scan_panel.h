#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "ui/panel_support.h"

class QCheckBox;
class QLineEdit;

namespace vesko {

/// How an axis scan panel's own controls are named, what they show at first and which frame comes first.
struct AxisScanDesign {
  std::array<const char*, 4> scanBoxes;           // scan centre, width and division, the output file name
  const char* move4DSlit;                         // the "Move 4D Slit" box
  std::array<const char*, 4> slitBoxes;           // slit width y and z, slit centre y and z
  std::array<const char*, 2> fileCreateCaptions;  // of panels 0 and 1
  const char* fileCreate;
  const char* status;
  std::string designFileName;  // the script's name as it shows at first
  bool slitFirst;  // the "4D Slit" frame on top, first in the caption numbers and in keyboard order
};

/// One of the two side-by-side panels of the collimator and gonio stage scans (element `panel` of the
/// control arrays: 0 the y axis, 1 the z axis): the "Scan Setting" frame, the "4D Slit" frame and the
/// action row.
class AxisScanPanel : public GeneratorPanel {
  Q_OBJECT

 public:
  /// The panel number: 0 for the y axis, 1 for the z axis.
  std::int16_t panel() const { return panel_; }

 protected:
  /// Builds the controls of panel `panel` as `design` has them; `settingsFolder` holds the settings file,
  /// messages go through `dialogs`.
  AxisScanPanel(std::int16_t panel, const AxisScanDesign& design, std::string settingsFolder,
                Dialogs& dialogs, QWidget* parent);

  const std::int16_t panel_;
  QLineEdit* scanCenter_;
  QLineEdit* scanWidth_;
  QLineEdit* scanDivision_;
  QLineEdit* fileName_;
  QCheckBox* move4DSlit_;
  QLineEdit* slitWidthY_;
  QLineEdit* slitWidthZ_;
  QLineEdit* slitCenterY_;
  QLineEdit* slitCenterZ_;
};

}  // namespace vesko
