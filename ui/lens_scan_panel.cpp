#include "ui/lens_scan_panel.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <utility>

namespace vesko {

LensScanPanel::LensScanPanel(std::string settingsFolder, Dialogs& dialogs, QWidget* parent)
    : FormPanel(std::move(settingsFolder), dialogs, parent) {
  // Scanned axis: no option is chosen until the settings file or the operator picks one.
  auto* fraLenz = Named(new QGroupBox(QStringLiteral("Move Axis"), this), "fraLenz");
  optLenzAxisGroup_ = new QButtonGroup(this);
  auto* axisLayout = new QHBoxLayout(fraLenz);
  for (std::size_t k = 0; k < optLenzAxis_.size(); ++k) {
    optLenzAxis_[k] = Element(new QRadioButton(QString::fromLatin1(kLensAxisNames[k]), fraLenz),
                              "optLenzAxis", static_cast<int>(k));
    optLenzAxisGroup_->addButton(optLenzAxis_[k], static_cast<int>(k));
    axisLayout->addWidget(optLenzAxis_[k]);
  }

  int nextLabel = 0;
  const auto label = [this, &nextLabel](const char* caption) {
    return Element(new QLabel(QString::fromLatin1(caption), this), "lblSetting", nextLabel++);
  };
  const auto box = [this](const char* name) { return Named(new QLineEdit(this), name); };
  auto* fields = new QGridLayout;
  fields->addWidget(label("Scan Center"), 0, 0);
  fields->addWidget(txtLenzScanCenter_ = box("txtLenzScanCenter"), 0, 1);
  fields->addWidget(label("Scan Width"), 1, 0);
  fields->addWidget(txtLenzScanWidth_ = box("txtLenzScanWidth"), 1, 1);
  fields->addWidget(label("Scan Division"), 2, 0);
  fields->addWidget(txtLenzScanDivision_ = box("txtLenzScanDivision"), 2, 1);
  fields->addWidget(label("Output FileName"), 3, 0);
  fields->addWidget(txtLenzOutputFileName_ = box("txtLenzOutputFileName"), 3, 1);
  fields->addWidget(label("(Result File Name = *.dat)"), 4, 0, 1, 2);
  txtLenzOutputFileName_->setText(ToQt(LensScanForm().outputFileName));

  auto* fileCreate = Named(new QPushButton(QStringLiteral("File Create"), this), "cmdLenzFileCreate");
  auto* preview = MakePreviewButton(fileCreate, this);
  auto* status = Named(new QLabel(this), "lblLenzStatus");

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(fraLenz);
  layout->addLayout(fields);
  layout->addLayout(makeActionRow(fileCreate, preview, status));
  layout->addStretch();

  SetTabOrder({optLenzAxis_[0], optLenzAxis_[1], optLenzAxis_[2], optLenzAxis_[3], txtLenzScanCenter_,
               txtLenzScanWidth_, txtLenzScanDivision_, txtLenzOutputFileName_, fileCreate_, preview_});
}

}  // namespace vesko
