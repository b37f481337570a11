#include "ui/slit_dec_scan_panel.h"

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

SlitDecScanPanel::SlitDecScanPanel(std::string settingsFolder, Dialogs& dialogs, QWidget* parent)
    : QWidget(parent), settingsFolder_(std::move(settingsFolder)), dialogs_(dialogs) {
  // Blade pair: neither option is chosen until the settings file or the operator picks one.
  opt4DDecAxis_ = MakeBladePairChoice("fra4DDec", "opt4DDecAxis", this);

  auto* numbers = new QGridLayout;
  numbers->addWidget(SettingLabel("lblSetting_0", "Start Slit Width", this), 0, 0);
  numbers->addWidget(txt4DDecStartSlitWidth_ = SettingBox("txt4DDecStartSlitWidth", "", this), 0, 1);
  numbers->addWidget(SettingLabel("lblSetting_1", "End Slit Width", this), 1, 0);
  numbers->addWidget(txt4DDecEndSlitWidth_ = SettingBox("txt4DDecEndSlitWidth", "", this), 1, 1);
  numbers->addWidget(SettingLabel("lblSetting_2", "Scan Center", this), 2, 0);
  numbers->addWidget(txt4DDecScanCenter_ = SettingBox("txt4DDecScanCenter", "", this), 2, 1);
  numbers->addWidget(SettingLabel("lblSetting_3", "Dec Step", this), 3, 0);
  numbers->addWidget(txt4DDecDecStep_ = SettingBox("txt4DDecDecStep", "", this), 3, 1);

  auto* fileNameCaption = SettingLabel("lblSetting_4", "Output FileName", this);
  auto* resultNameHint = SettingLabel("lblSetting_5", "(Result File Name = *.dat)", this);
  txt4DDecOutputFileName_ = SettingBox("txt4DDecOutputFileName", "4DSlitDec1DScan.tcl", this);

  const RepeatControls repeat = MakeRepeatControls("fra4DDecRepeatSetting", "chk4DDecRepeatActive",
                                                   "lblSetting_6", "txt4DDecRepeatTimes", this);
  chk4DDecRepeatActive_ = repeat.active;
  txt4DDecRepeatTimes_ = repeat.times;

  cmd4DDecFileCreate_ = Named(new QPushButton(QStringLiteral("File Create"), this), "cmd4DDecFileCreate");
  cmd4DDecFileCreate_->setFont(GothicFont(kPanelPointSize));
  lbl4DDecStatus_ = Named(new QLabel(this), "lbl4DDecStatus");
  lbl4DDecStatus_->setFont(GothicFont(kPanelPointSize));
  auto* actionRow = new QHBoxLayout;
  actionRow->addWidget(cmd4DDecFileCreate_);
  actionRow->addWidget(lbl4DDecStatus_, 1);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(opt4DDecAxis_.frame);
  layout->addLayout(numbers);
  layout->addWidget(fileNameCaption);
  layout->addWidget(resultNameHint);
  layout->addWidget(txt4DDecOutputFileName_);
  layout->addWidget(repeat.frame);
  layout->addLayout(actionRow);
  layout->addStretch();

  // Keyboard order follows the controls from top to bottom.
  SetTabOrder({opt4DDecAxis_.y, opt4DDecAxis_.z, txt4DDecStartSlitWidth_, txt4DDecEndSlitWidth_,
               txt4DDecScanCenter_, txt4DDecDecStep_, txt4DDecOutputFileName_, chk4DDecRepeatActive_,
               txt4DDecRepeatTimes_, cmd4DDecFileCreate_});

  connect(cmd4DDecFileCreate_, &QPushButton::clicked, this, &SlitDecScanPanel::fileCreate);
}

std::string SlitDecScanPanel::settingsPath() const {
  return JoinPath(settingsFolder_, kSlitDecScanSettingsFile);
}

SlitDecScanForm SlitDecScanPanel::readForm() const {
  SlitDecScanForm form;
  form.axisY = opt4DDecAxis_.y->isChecked();
  form.axisZ = opt4DDecAxis_.z->isChecked();
  form.startSlitWidth = TextOf(txt4DDecStartSlitWidth_);
  form.endSlitWidth = TextOf(txt4DDecEndSlitWidth_);
  form.scanCenter = TextOf(txt4DDecScanCenter_);
  form.decStep = TextOf(txt4DDecDecStep_);
  form.outputFileName = TextOf(txt4DDecOutputFileName_);
  form.repeatActive = chk4DDecRepeatActive_->isChecked();
  form.repeatTimes = TextOf(txt4DDecRepeatTimes_);
  return form;
}

void SlitDecScanPanel::showForm(const SlitDecScanForm& form) {
  ShowBladePair(opt4DDecAxis_, form.axisY, form.axisZ);
  txt4DDecStartSlitWidth_->setText(ToQt(form.startSlitWidth));
  txt4DDecEndSlitWidth_->setText(ToQt(form.endSlitWidth));
  txt4DDecScanCenter_->setText(ToQt(form.scanCenter));
  txt4DDecDecStep_->setText(ToQt(form.decStep));
  txt4DDecOutputFileName_->setText(ToQt(form.outputFileName));
  chk4DDecRepeatActive_->setChecked(form.repeatActive);
  txt4DDecRepeatTimes_->setText(ToQt(form.repeatTimes));
}

void SlitDecScanPanel::loadSettings() {
  SlitDecScanForm form = readForm();
  LoadSettings(settingsPath(), form);
  showForm(form);
}

void SlitDecScanPanel::fileCreate() {
  const Result<SlitDecScanParams> checked = Validate(readForm());
  if (!checked) {
    dialogs_.showMessage(this, ToQt(checked.message()));
    return;
  }
  const SlitDecScanParams params = checked.value();
  const std::string outputFolder = OutputFolder();

  FileCreateJob job;
  job.outputFolder = outputFolder;
  job.outputFileName = params.OutputFileName;
  job.writeScript = [&params, &outputFolder](LineSink& out) { BuildScript(params, outputFolder, out); };
  job.saveSettings = [&params, path = settingsPath()] { return SaveSettings(path, params); };
  RunPanelFileCreate(job, ShowStatusIn(lbl4DDecStatus_), dialogs_, this);
}

}  // namespace vesko
