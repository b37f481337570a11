#include "ui/slit_move_panel.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <utility>

#include "app/app_settings.h"
#include "app/file_create.h"
#include "ui/dialogs.h"
#include "ui/fonts.h"

namespace vesko {

SlitMovePanel::SlitMovePanel(std::string settingsFolder, Dialogs& dialogs, QWidget* parent)
    : FormPanel(std::move(settingsFolder), dialogs, parent) {
  // One column per blade pair, one row per quantity.
  auto* grid = new QGridLayout;
  grid->addWidget(SettingLabel("lblSetting_3", "Y", this), 0, 1, Qt::AlignHCenter);
  grid->addWidget(SettingLabel("lblSetting_4", "Z", this), 0, 2, Qt::AlignHCenter);
  grid->addWidget(SettingLabel("lblSetting_0", "Slit Width", this), 1, 0);
  grid->addWidget(txtSlitWidth0_ = SettingBox("txtSlitWidth_0", "", this), 1, 1);
  grid->addWidget(txtSlitWidth1_ = SettingBox("txtSlitWidth_1", "", this), 1, 2);
  grid->addWidget(SettingLabel("lblSetting_1", "Slit Center", this), 2, 0);
  grid->addWidget(txtSlitCenter0_ = SettingBox("txtSlitCenter_0", "", this), 2, 1);
  grid->addWidget(txtSlitCenter1_ = SettingBox("txtSlitCenter_1", "", this), 2, 2);

  auto* fileNameCaption = SettingLabel("lblSetting_2", "Output FileName", this);
  txtOutputFileName_ = SettingBox("txtOutputFileName", "4DSlitMove.com", this);

  auto* fileCreate = Named(new QPushButton(QStringLiteral("File Create"), this), "cmdFileCreate");
  fileCreate->setFont(GothicFont(kPanelPointSize));
  auto* preview = MakePreviewButton(fileCreate, this);
  auto* status = SettingLabel("lblStatus", "", this);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  layout->addWidget(fileNameCaption);
  layout->addWidget(txtOutputFileName_);
  layout->addLayout(makeActionRow(fileCreate, preview, status));
  layout->addStretch();

  // Keyboard order: the y column, the z column, then the file name.
  SetTabOrder({txtSlitWidth0_, txtSlitCenter0_, txtSlitWidth1_, txtSlitCenter1_, txtOutputFileName_,
               fileCreate_, preview_});
}

void SlitMovePanel::fileCreate() {
  const std::optional<CheckedScript> script = checkedScript();
  if (!script) {
    return;
  }
  // This window shows no "Output Start": once the file is closed it reports the blade positions, then "Done".
  const auto status = [this, &script](const std::string& text) {
    if (text == kStatusDone) {
      dialogs_.showMessage(this, ToQt(script->report));
      status_->setText(ToQt(text));
    }
  };
  if (RunCheckedFileCreate(*script, settingsFolder(), status, dialogs_, this)) {
    emit scriptWritten();
  }
}

}  // namespace vesko
