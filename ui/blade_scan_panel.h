#pragma once

#include <array>
#include <string>

#include "ui/panel_support.h"

class QCheckBox;
class QLineEdit;

namespace vesko {

/// How a blade scan panel's own controls are named and what they show at first.
struct BladeScanDesign {
  const char* frame;                    // the "Move Blades" frame
  const char* option;                   // its two options, y then z
  std::array<const char*, 4> captions;  // of the four numbers, top to bottom
  std::array<const char*, 4> numbers;   // their boxes
  const char* fileNameCaption;          // the "Output FileName" caption
  const char* fileNameHint;             // the "(Result File Name = *.dat)" caption
  const char* fileName;                 // the script's name box
  const char* designFileName;           // the name it shows at first
  std::array<const char*, 4> repeat;    // frame, "Active" box, "Times" caption, count box
  const char* fileCreate;
  const char* status;
};

/// The controls both 4D slit scans share: the blade pair to move, four numbers, the script's name, the
/// repeat setting and the action row.
class BladeScanPanel : public GeneratorPanel {
  Q_OBJECT

 protected:
  /// Builds the controls as `design` has them; `settingsFolder` holds the settings file, messages go
  /// through `dialogs`.
  BladeScanPanel(const BladeScanDesign& design, std::string settingsFolder, Dialogs& dialogs,
                 QWidget* parent);

  BladePairChoice axis_;
  std::array<QLineEdit*, 4> numbers_{};
  QLineEdit* fileName_;
  QCheckBox* repeatActive_;
  QLineEdit* repeatTimes_;
};

}  // namespace vesko
