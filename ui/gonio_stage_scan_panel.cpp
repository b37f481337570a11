#include "ui/gonio_stage_scan_panel.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <utility>

#include "app/app_settings.h"
#include "core/platform.h"
#include "ui/dialogs.h"
#include "ui/panel_support.h"

namespace vesko {

namespace {

// Each panel owns this many of the form's static labels; panel n's start at n times this.
constexpr int kLabelsPerPanel = 9;

}  // namespace

GonioStageScanPanel::GonioStageScanPanel(std::int16_t panel, std::string settingsFolder, Dialogs& dialogs,
                                         QWidget* parent)
    : QWidget(parent),
      panel_(panel == 0 ? 0 : 1),
      settingsFolder_(std::move(settingsFolder)),
      dialogs_(dialogs) {
  const int n = panel_;
  int nextLabel = n * kLabelsPerPanel;
  const auto label = [&nextLabel](const char* caption, QWidget* host) {
    return Element(new QLabel(QString::fromLatin1(caption), host), "lblSetting", nextLabel++);
  };
  const auto box = [n](const char* name, QWidget* host) { return Element(new QLineEdit(host), name, n); };

  // The slit fields are checked whenever the button is pressed, ticked or not.
  auto* fra4DSlit = Element(new QGroupBox(QStringLiteral("4D Slit"), this), "fra4DSlit", n);
  chkGonioStageMove4DSlit_ =
      Element(new QCheckBox(QStringLiteral("Move 4D Slit"), fra4DSlit), "chkGonioStageMove4DSlit", n);
  auto* slitGrid = new QGridLayout(fra4DSlit);
  slitGrid->addWidget(chkGonioStageMove4DSlit_, 0, 0, 1, 3);
  slitGrid->addWidget(label("Slit Width", fra4DSlit), 2, 0);
  slitGrid->addWidget(label("Slit Center", fra4DSlit), 3, 0);
  slitGrid->addWidget(label("Y", fra4DSlit), 1, 1, Qt::AlignHCenter);
  slitGrid->addWidget(label("Z", fra4DSlit), 1, 2, Qt::AlignHCenter);
  slitGrid->addWidget(txtGonioStageSlitWidthY_ = box("txtGonioStageSlitWidthY", fra4DSlit), 2, 1);
  slitGrid->addWidget(txtGonioStageSlitWidthZ_ = box("txtGonioStageSlitWidthZ", fra4DSlit), 2, 2);
  slitGrid->addWidget(txtGonioStageSlitCenterY_ = box("txtGonioStageSlitCenterY", fra4DSlit), 3, 1);
  slitGrid->addWidget(txtGonioStageSlitCenterZ_ = box("txtGonioStageSlitCenterZ", fra4DSlit), 3, 2);

  auto* fraScanSetting = Element(new QGroupBox(QStringLiteral("Scan Setting"), this), "fraScanSetting", n);
  auto* scanGrid = new QGridLayout(fraScanSetting);
  scanGrid->addWidget(label("Scan Center", fraScanSetting), 0, 0);
  scanGrid->addWidget(txtGonioStageScanCenter_ = box("txtGonioStageScanCenter", fraScanSetting), 0, 1);
  scanGrid->addWidget(label("Scan Width", fraScanSetting), 1, 0);
  scanGrid->addWidget(txtGonioStageScanWidth_ = box("txtGonioStageScanWidth", fraScanSetting), 1, 1);
  scanGrid->addWidget(label("Scan Division", fraScanSetting), 2, 0);
  scanGrid->addWidget(txtGonioStageScanDivision_ = box("txtGonioStageScanDivision", fraScanSetting), 2, 1);
  scanGrid->addWidget(label("Output FileName", fraScanSetting), 3, 0);
  scanGrid->addWidget(txtGonioStageOutputFileName_ = box("txtGonioStageOutputFileName", fraScanSetting), 3,
                      1);
  scanGrid->addWidget(label("(Result File Name = *.dat)", fraScanSetting), 4, 0, 1, 2);
  txtGonioStageOutputFileName_->setText(ToQt(GonioStageScan2Form().outputFileName));

  cmdGonioStageFileCreate_ = Element(
      new QPushButton(n == 0 ? QStringLiteral("File Create(StageY)") : QStringLiteral("File Create(StageZ)"),
                      this),
      "cmdGonioStageFileCreate", n);
  lblGonioStageStatus_ = Element(new QLabel(this), "lblGonioStageStatus", n);
  auto* actionRow = new QHBoxLayout;
  actionRow->addWidget(cmdGonioStageFileCreate_);
  actionRow->addWidget(lblGonioStageStatus_, 1);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(fra4DSlit);
  layout->addWidget(fraScanSetting);
  layout->addLayout(actionRow);
  layout->addStretch();

  SetTabOrder({chkGonioStageMove4DSlit_, txtGonioStageSlitWidthY_, txtGonioStageSlitWidthZ_,
               txtGonioStageSlitCenterY_, txtGonioStageSlitCenterZ_, txtGonioStageScanCenter_,
               txtGonioStageScanWidth_, txtGonioStageScanDivision_, txtGonioStageOutputFileName_,
               cmdGonioStageFileCreate_});

  connect(cmdGonioStageFileCreate_, &QPushButton::clicked, this, &GonioStageScanPanel::fileCreate);
}

GonioStageScan2Form GonioStageScanPanel::readForm() const {
  GonioStageScan2Form form;
  form.panel = panel_;
  form.move4DSlit = BoxValue(chkGonioStageMove4DSlit_);
  form.slitWidthY = TextOf(txtGonioStageSlitWidthY_);
  form.slitWidthZ = TextOf(txtGonioStageSlitWidthZ_);
  form.slitCenterY = TextOf(txtGonioStageSlitCenterY_);
  form.slitCenterZ = TextOf(txtGonioStageSlitCenterZ_);
  form.scanCenter = TextOf(txtGonioStageScanCenter_);
  form.scanWidth = TextOf(txtGonioStageScanWidth_);
  form.division = TextOf(txtGonioStageScanDivision_);
  form.outputFileName = TextOf(txtGonioStageOutputFileName_);
  return form;
}

void GonioStageScanPanel::showForm(const GonioStageScan2Form& form) {
  ShowBoxValue(chkGonioStageMove4DSlit_, form.move4DSlit);
  txtGonioStageSlitWidthY_->setText(ToQt(form.slitWidthY));
  txtGonioStageSlitWidthZ_->setText(ToQt(form.slitWidthZ));
  txtGonioStageSlitCenterY_->setText(ToQt(form.slitCenterY));
  txtGonioStageSlitCenterZ_->setText(ToQt(form.slitCenterZ));
  txtGonioStageScanCenter_->setText(ToQt(form.scanCenter));
  txtGonioStageScanWidth_->setText(ToQt(form.scanWidth));
  txtGonioStageScanDivision_->setText(ToQt(form.division));
  txtGonioStageOutputFileName_->setText(ToQt(form.outputFileName));
}

void GonioStageScanPanel::fileCreate() {
  const Result<GonioStageScan2Params> checked = Validate(readForm());
  if (!checked) {
    dialogs_.showMessage(this, ToQt(checked.message()));
    return;
  }
  const GonioStageScan2Params params = checked.value();
  const std::string outputFolder = OutputFolder();

  FileCreateJob job;
  job.outputFolder = outputFolder;
  job.outputFileName = params.OutputFileName;
  job.writeScript = [&params, &outputFolder](LineSink& out) { BuildScript(params, outputFolder, out); };
  job.saveSettings = [&params, path = JoinPath(settingsFolder_, GonioStageScanSettingsFile(panel_))] {
    return SaveSettings(path, params);
  };
  RunPanelFileCreate(job, ShowStatusIn(lblGonioStageStatus_), dialogs_, this);
}

}  // namespace vesko
