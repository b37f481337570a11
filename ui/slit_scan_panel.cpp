#include "ui/slit_scan_panel.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <iterator>
#include <utility>

#include "app/app_settings.h"
#include "core/file_create.h"
#include "core/platform.h"
#include "ui/dialogs.h"
#include "ui/fonts.h"

namespace vesko {

namespace {

constexpr double kPanelPointSize = 12.0;

template <typename W>
W* Named(W* widget, const char* objectName) {
  widget->setObjectName(QString::fromLatin1(objectName));
  return widget;
}

QLabel* SettingLabel(const char* objectName, const char* caption, QWidget* parent) {
  auto* label = Named(new QLabel(QString::fromUtf8(caption), parent), objectName);
  label->setFont(GothicFont(kPanelPointSize));
  return label;
}

QLineEdit* SettingBox(const char* objectName, const char* text, QWidget* parent) {
  auto* box = Named(new QLineEdit(QString::fromUtf8(text), parent), objectName);
  box->setFont(GothicFont(kPanelPointSize));
  return box;
}

std::string TextOf(const QLineEdit* box) {
  return box->text().toStdString();
}

QString ToQt(const std::string& text) {
  return QString::fromStdString(text);
}

}  // namespace

SlitScanPanel::SlitScanPanel(std::string settingsFolder, Dialogs& dialogs, QWidget* parent)
    : QWidget(parent), settingsFolder_(std::move(settingsFolder)), dialogs_(dialogs) {
  // Blade pair: neither option is chosen until the settings file or the operator picks one.
  auto* fra4D = Named(new QGroupBox(QStringLiteral("Move Blades"), this), "fra4D");
  fra4D->setFont(GothicFont(kPanelPointSize, true));
  opt4DAxis0_ = Named(new QRadioButton(QStringLiteral("y1 and y2"), fra4D), "opt4DAxis_0");
  opt4DAxis1_ = Named(new QRadioButton(QStringLiteral("z1 and z2"), fra4D), "opt4DAxis_1");
  for (QRadioButton* option : {opt4DAxis0_, opt4DAxis1_}) {
    option->setFont(GothicFont(kPanelPointSize));
  }
  opt4DAxis_ = new QButtonGroup(this);
  opt4DAxis_->addButton(opt4DAxis0_, 0);
  opt4DAxis_->addButton(opt4DAxis1_, 1);
  auto* axisLayout = new QHBoxLayout(fra4D);
  axisLayout->addWidget(opt4DAxis0_);
  axisLayout->addWidget(opt4DAxis1_);

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

  // The repeat frame keeps the default font.
  auto* repeatFrame = Named(new QGroupBox(QStringLiteral("Repeat Setting"), this), "fra4DRepeatSetting");
  chk4DRepeatActive_ = Named(new QCheckBox(QStringLiteral("Active"), repeatFrame), "chk4DRepeatActive");
  auto* timesCaption = Named(new QLabel(QStringLiteral("Times"), repeatFrame), "Label1");
  txt4DRepeatTimes_ = Named(new QLineEdit(QStringLiteral("2"), repeatFrame), "txt4DRepeatTimes");
  txt4DRepeatTimes_->setMaximumWidth(
      txt4DRepeatTimes_->fontMetrics().horizontalAdvance(QStringLiteral("00000")) + 12);
  auto* repeatLayout = new QHBoxLayout(repeatFrame);
  repeatLayout->addWidget(chk4DRepeatActive_);
  repeatLayout->addStretch();
  repeatLayout->addWidget(timesCaption);
  repeatLayout->addWidget(txt4DRepeatTimes_);

  cmd4DFileCreate_ = Named(new QPushButton(QStringLiteral("File Create"), this), "cmd4DFileCreate");
  cmd4DFileCreate_->setFont(GothicFont(kPanelPointSize));
  lbl4DStatus_ = Named(new QLabel(this), "lbl4DStatus");
  lbl4DStatus_->setFont(GothicFont(kPanelPointSize));
  auto* actionRow = new QHBoxLayout;
  actionRow->addWidget(cmd4DFileCreate_);
  actionRow->addWidget(lbl4DStatus_, 1);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(fra4D);
  layout->addLayout(numbers);
  layout->addWidget(fileNameCaption);
  layout->addWidget(resultNameHint);
  layout->addWidget(txt4DOutputFileName_);
  layout->addWidget(repeatFrame);
  layout->addLayout(actionRow);
  layout->addStretch();

  // Keyboard order follows the controls from top to bottom.
  QWidget* const order[] = {opt4DAxis0_,       opt4DAxis1_,        txt4DSlitWidth_,      txt4DScanCenter_,
                            txt4DScanWidth_,   txt4DScanDivision_, txt4DOutputFileName_, chk4DRepeatActive_,
                            txt4DRepeatTimes_, cmd4DFileCreate_};
  for (std::size_t i = 1; i < std::size(order); ++i) {
    QWidget::setTabOrder(order[i - 1], order[i]);
  }

  connect(cmd4DFileCreate_, &QPushButton::clicked, this, &SlitScanPanel::fileCreate);
}

std::string SlitScanPanel::settingsPath() const {
  return JoinPath(settingsFolder_, kSlitScanSettingsFile);
}

SlitScanForm SlitScanPanel::readForm() const {
  SlitScanForm form;
  form.axisY = opt4DAxis0_->isChecked();
  form.axisZ = opt4DAxis1_->isChecked();
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
  if (form.axisY || form.axisZ) {
    (form.axisZ ? opt4DAxis1_ : opt4DAxis0_)->setChecked(true);
  } else {
    // An exclusive group never lets its last checked button go, so release it for the moment.
    opt4DAxis_->setExclusive(false);
    opt4DAxis0_->setChecked(false);
    opt4DAxis1_->setChecked(false);
    opt4DAxis_->setExclusive(true);
  }
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

  const FileCreateOutcome outcome =
      RunFileCreate(job, [this](const std::string& status) { lbl4DStatus_->setText(ToQt(status)); });
  if (outcome.kind != FileCreateOutcome::Kind::Done) {
    dialogs_.showMessage(this, ToQt(outcome.message));
  }
}

}  // namespace vesko
