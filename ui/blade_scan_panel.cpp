#include "ui/blade_scan_panel.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <utility>

#include "ui/fonts.h"

namespace vesko {

BladeScanPanel::BladeScanPanel(const BladeScanDesign& design, std::string settingsFolder, Dialogs& dialogs,
                               QWidget* parent)
    : GeneratorPanel(std::move(settingsFolder), dialogs, parent) {
  // Blade pair: neither option is chosen until the settings file or the operator picks one.
  axis_ = MakeBladePairChoice(design.frame, design.option, this);

  const char* const captionNames[] = {"lblSetting_0", "lblSetting_1", "lblSetting_2", "lblSetting_3"};
  auto* numbers = new QGridLayout;
  for (int k = 0; k < 4; ++k) {
    numbers->addWidget(SettingLabel(captionNames[k], design.captions[k], this), k, 0);
    numbers->addWidget(numbers_[k] = SettingBox(design.numbers[k], "", this), k, 1);
  }

  auto* fileNameCaption = SettingLabel(design.fileNameCaption, "Output FileName", this);
  auto* resultNameHint = SettingLabel(design.fileNameHint, "(Result File Name = *.dat)", this);
  fileName_ = SettingBox(design.fileName, design.designFileName, this);

  const RepeatControls repeat =
      MakeRepeatControls(design.repeat[0], design.repeat[1], design.repeat[2], design.repeat[3], this);
  repeatActive_ = repeat.active;
  repeatTimes_ = repeat.times;

  auto* fileCreate = Named(new QPushButton(QStringLiteral("File Create"), this), design.fileCreate);
  fileCreate->setFont(GothicFont(kPanelPointSize));
  auto* preview = MakePreviewButton(fileCreate, this);
  auto* status = SettingLabel(design.status, "", this);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(axis_.frame);
  layout->addLayout(numbers);
  layout->addWidget(fileNameCaption);
  layout->addWidget(resultNameHint);
  layout->addWidget(fileName_);
  layout->addWidget(repeat.frame);
  layout->addLayout(makeActionRow(fileCreate, preview, status));
  layout->addStretch();

  // Keyboard order follows the controls from top to bottom.
  SetTabOrder({axis_.y, axis_.z, numbers_[0], numbers_[1], numbers_[2], numbers_[3], fileName_, repeatActive_,
               repeatTimes_, fileCreate_, preview_});
}

}  // namespace vesko
