#include "ui/coll_scan_panel.h"

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

CollScanPanel::CollScanPanel(std::int16_t panel, std::string settingsFolder, Dialogs& dialogs,
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

  auto* fraScanSetting = Element(new QGroupBox(QStringLiteral("Scan Setting"), this), "fraScanSetting", n);
  auto* scanGrid = new QGridLayout(fraScanSetting);
  scanGrid->addWidget(label("Scan Center", fraScanSetting), 0, 0);
  scanGrid->addWidget(txtColliScanCenter_ = box("txtColliScanCenter", fraScanSetting), 0, 1);
  scanGrid->addWidget(label("Scan Width", fraScanSetting), 1, 0);
  scanGrid->addWidget(txtColliScanWidth_ = box("txtColliScanWidth", fraScanSetting), 1, 1);
  scanGrid->addWidget(label("Scan Division", fraScanSetting), 2, 0);
  scanGrid->addWidget(txtColliScanDivision_ = box("txtColliScanDivision", fraScanSetting), 2, 1);
  scanGrid->addWidget(label("Output FileName", fraScanSetting), 3, 0);
  scanGrid->addWidget(txtColliOutputFileName_ = box("txtColliOutputFileName", fraScanSetting), 3, 1);
  scanGrid->addWidget(label("(Result File Name = *.dat)", fraScanSetting), 4, 0, 1, 2);
  txtColliOutputFileName_->setText(ToQt(CollScanForm().outputFileName));

  // The slit fields are checked whenever the button is pressed, ticked or not.
  auto* fra4DSlit = Element(new QGroupBox(QStringLiteral("4D Slit"), this), "fra4DSlit", n);
  chkCollimatorMove4DSlit_ =
      Element(new QCheckBox(QStringLiteral("Move 4D Slit"), fra4DSlit), "chkCollimatorMove4DSlit", n);
  auto* slitGrid = new QGridLayout(fra4DSlit);
  slitGrid->addWidget(chkCollimatorMove4DSlit_, 0, 0, 1, 3);
  slitGrid->addWidget(label("Slit Width", fra4DSlit), 2, 0);
  slitGrid->addWidget(label("Slit Center", fra4DSlit), 3, 0);
  slitGrid->addWidget(label("Y", fra4DSlit), 1, 1, Qt::AlignHCenter);
  slitGrid->addWidget(label("Z", fra4DSlit), 1, 2, Qt::AlignHCenter);
  slitGrid->addWidget(txtCollimatorSlitWidthY_ = box("txtCollimatorSlitWidthY", fra4DSlit), 2, 1);
  slitGrid->addWidget(txtCollimatorSlitWidthZ_ = box("txtCollimatorSlitWidthZ", fra4DSlit), 2, 2);
  slitGrid->addWidget(txtCollimatorSlitCenterY_ = box("txtCollimatorSlitCenterY", fra4DSlit), 3, 1);
  slitGrid->addWidget(txtCollimatorSlitCenterZ_ = box("txtCollimatorSlitCenterZ", fra4DSlit), 3, 2);

  cmdColliFileCreate_ = Element(new QPushButton(n == 0 ? QStringLiteral("File Create(CollimatorY)")
                                                       : QStringLiteral("File Create(CollimatorZ)"),
                                                this),
                                "cmdColliFileCreate", n);
  lblColliStatus_ = Element(new QLabel(this), "lblColliStatus", n);
  auto* actionRow = new QHBoxLayout;
  actionRow->addWidget(cmdColliFileCreate_);
  actionRow->addWidget(lblColliStatus_, 1);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(fraScanSetting);
  layout->addWidget(fra4DSlit);
  layout->addLayout(actionRow);
  layout->addStretch();

  SetTabOrder({txtColliScanCenter_, txtColliScanWidth_, txtColliScanDivision_, txtColliOutputFileName_,
               chkCollimatorMove4DSlit_, txtCollimatorSlitWidthY_, txtCollimatorSlitWidthZ_,
               txtCollimatorSlitCenterY_, txtCollimatorSlitCenterZ_, cmdColliFileCreate_});

  connect(cmdColliFileCreate_, &QPushButton::clicked, this, &CollScanPanel::fileCreate);
}

CollScanForm CollScanPanel::readForm() const {
  CollScanForm form;
  form.panel = panel_;
  form.scanCenter = TextOf(txtColliScanCenter_);
  form.scanWidth = TextOf(txtColliScanWidth_);
  form.division = TextOf(txtColliScanDivision_);
  form.outputFileName = TextOf(txtColliOutputFileName_);
  form.move4DSlit = chkCollimatorMove4DSlit_->isChecked();
  form.slitWidthY = TextOf(txtCollimatorSlitWidthY_);
  form.slitWidthZ = TextOf(txtCollimatorSlitWidthZ_);
  form.slitCenterY = TextOf(txtCollimatorSlitCenterY_);
  form.slitCenterZ = TextOf(txtCollimatorSlitCenterZ_);
  return form;
}

void CollScanPanel::showForm(const CollScanForm& form) {
  txtColliScanCenter_->setText(ToQt(form.scanCenter));
  txtColliScanWidth_->setText(ToQt(form.scanWidth));
  txtColliScanDivision_->setText(ToQt(form.division));
  txtColliOutputFileName_->setText(ToQt(form.outputFileName));
  chkCollimatorMove4DSlit_->setChecked(form.move4DSlit);
  txtCollimatorSlitWidthY_->setText(ToQt(form.slitWidthY));
  txtCollimatorSlitWidthZ_->setText(ToQt(form.slitWidthZ));
  txtCollimatorSlitCenterY_->setText(ToQt(form.slitCenterY));
  txtCollimatorSlitCenterZ_->setText(ToQt(form.slitCenterZ));
}

void CollScanPanel::fileCreate() {
  const Result<CollScanParams> checked = Validate(readForm());
  if (!checked) {
    dialogs_.showMessage(this, ToQt(checked.message()));
    return;
  }
  const CollScanParams params = checked.value();
  const std::string outputFolder = OutputFolder();

  FileCreateJob job;
  job.outputFolder = outputFolder;
  job.outputFileName = params.OutputFileName;
  job.writeScript = [&params, &outputFolder](LineSink& out) { BuildScript(params, outputFolder, out); };
  job.saveSettings = [&params, path = JoinPath(settingsFolder_, CollScanSettingsFile(panel_)),
                      combined = combinedLayout_] {
    return combined ? SaveCombinedSettings(path, params) : SaveSettings(path, params);
  };

  RunPanelFileCreate(job, ShowStatusIn(lblColliStatus_), dialogs_, this);
}

}  // namespace vesko
