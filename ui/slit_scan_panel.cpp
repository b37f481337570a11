#include "ui/slit_scan_panel.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <utility>

#include "app/app_settings.h"
#include "core/file_create.h"
#include "core/platform.h"
#include "ui/dialogs.h"
#include "ui/fonts.h"

namespace vesko {

SlitScanPanel::SlitScanPanel(std::string settingsFolder, Dialogs& dialogs, QWidget* parent)
    : QWidget(parent), settingsFolder_(std::move(settingsFolder)), dialogs_(dialogs) {
  // Blade pair: neither option is chosen until the settings file or the operator picks one.
  opt4DAxis_ = MakeBladePairChoice("fra4D", "opt4DAxis", this);

  auto* numbers = new QGridLayout;
  numbers->addWidget(SettingLabel("lblSetting_0", "Slit Width", this), 0, 0);
  numbers->addWidget(txt4DSlitWidth_ = SettingBox("txt4DSlitWidth", "", this), 0, 1);
  numbers->addWidget(SettingLabel("lblSetting_1", "Scan Center", this), 1, 0);
  numbers->addWidget(txt4DScanCenter_ = SettingBox("txt4DScanCenter", "", this), 1, 1);
  numbers->addWidget(SettingLabel("lblSetting_2", "Scan Width", this), 2, 0);
  numbers->addWidget(txt4DScanWidth_ = SettingBox("txt4DScanWidth", "", this), 2, 1);
  numbers->addWidget(SettingLabel("lblSetting_3", "Scan Division", this), 3, 0);
  numbers->addWidget(txt4DScanDivision_ = SettingBox("txt4DScanDivision", "", this), 3, 1);

  auto* fileNameCaption = SettingLabel("lblSetting_5", "Output FileName", this);
  auto* resultNameHint = SettingLabel("lblSetting_6", "(Result File Name = *.dat)", this);
  txt4DOutputFileName_ = SettingBox("txt4DOutputFileName", "4DSlit1DScan.tcl", this);

  const RepeatControls repeat =
      MakeRepeatControls("fra4DRepeatSetting", "chk4DRepeatActive", "Label1", "txt4DRepeatTimes", this);
  chk4DRepeatActive_ = repeat.active;
  txt4DRepeatTimes_ = repeat.times;

  cmd4DFileCreate_ = Named(new QPushButton(QStringLiteral("File Create"), this), "cmd4DFileCreate");
  cmd4DFileCreate_->setFont(GothicFont(kPanelPointSize));
  lbl4DStatus_ = Named(new QLabel(this), "lbl4DStatus");
  lbl4DStatus_->setFont(GothicFont(kPanelPointSize));
  auto* actionRow = new QHBoxLayout;
  actionRow->addWidget(cmd4DFileCreate_);
  actionRow->addWidget(lbl4DStatus_, 1);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(opt4DAxis_.frame);
  layout->addLayout(numbers);
  layout->addWidget(fileNameCaption);
  layout->addWidget(resultNameHint);
  layout->addWidget(txt4DOutputFileName_);
  layout->addWidget(repeat.frame);
  layout->addLayout(actionRow);
  layout->addStretch();

  // Keyboard order follows the controls from top to bottom.
  SetTabOrder({opt4DAxis_.y, opt4DAxis_.z, txt4DSlitWidth_, txt4DScanCenter_, txt4DScanWidth_,
               txt4DScanDivision_, txt4DOutputFileName_, chk4DRepeatActive_, txt4DRepeatTimes_,
               cmd4DFileCreate_});

  connect(cmd4DFileCreate_, &QPushButton::clicked, this, &SlitScanPanel::fileCreate);
}

std::string SlitScanPanel::settingsPath() const {
  return JoinPath(settingsFolder_, kSlitScanSettingsFile);
}

SlitScanForm SlitScanPanel::readForm() const {
  SlitScanForm form;
  form.axisY = opt4DAxis_.y->isChecked();
  form.axisZ = opt4DAxis_.z->isChecked();
  form.slitWidth = TextOf(txt4DSlitWidth_);
  form.scanCenter = TextOf(txt4DScanCenter_);
  form.scanWidth = TextOf(txt4DScanWidth_);
  form.division = TextOf(txt4DScanDivision_);
  form.outputFileName = TextOf(txt4DOutputFileName_);
  form.repeatActive = chk4DRepeatActive_->isChecked();
  form.repeatTimes = TextOf(txt4DRepeatTimes_);
  return form;
}

void SlitScanPanel::showForm(const SlitScanForm& form) {
  ShowBladePair(opt4DAxis_, form.axisY, form.axisZ);
  txt4DSlitWidth_->setText(ToQt(form.slitWidth));
  txt4DScanCenter_->setText(ToQt(form.scanCenter));
  txt4DScanWidth_->setText(ToQt(form.scanWidth));
  txt4DScanDivision_->setText(ToQt(form.division));
  txt4DOutputFileName_->setText(ToQt(form.outputFileName));
  chk4DRepeatActive_->setChecked(form.repeatActive);
  txt4DRepeatTimes_->setText(ToQt(form.repeatTimes));
}

void SlitScanPanel::loadSettings() {
  SlitScanForm form = readForm();
  LoadSettings(settingsPath(), form);
  showForm(form);
}

void SlitScanPanel::fileCreate() {
  const Result<SlitScanParams> checked = Validate(readForm());
  if (!checked) {
    dialogs_.showMessage(this, ToQt(checked.message()));
    return;
  }
  const SlitScanParams params = checked.value();
  const std::string outputFolder = OutputFolder();

  FileCreateJob job;
  job.outputFolder = outputFolder;
  job.outputFileName = params.OutputFileName;
  job.writeScript = [&params, &outputFolder](LineSink& out) { BuildScript(params, outputFolder, out); };
  job.saveSettings = [&params, path = settingsPath()] { return SaveSettings(path, params); };
  RunPanelFileCreate(job, ShowStatusIn(lbl4DStatus_), dialogs_, this);
}

}  // namespace vesko
