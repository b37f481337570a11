#include "ui/gonio_y_scan_panel.h"

#include "ui/form_controls.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <cstddef>
#include <utility>

#include "app/app_settings.h"
#include "core/platform.h"
#include "ui/dialogs.h"
#include "ui/panel_support.h"
#include "ui/preview_window.h"

namespace vesko {

GonioYScanPanel::GonioYScanPanel(std::string settingsFolder, Dialogs& dialogs, QWidget* parent)
    : QWidget(parent), settingsFolder_(std::move(settingsFolder)), dialogs_(dialogs) {
  const GonioYScanForm design;

  // gonio_y is the only axis; its option is shown chosen and never read.
  auto* fraGonioY = Named(new QGroupBox(QStringLiteral("Move Axis"), this), "fraGonioY");
  auto* optGonioYAxis = Element(new QRadioButton(QStringLiteral("Gonio_Y"), fraGonioY), "optGonioYAxis", 0);
  optGonioYAxis->setChecked(true);
  (new QHBoxLayout(fraGonioY))->addWidget(optGonioYAxis);

  int nextLabel = 0;
  const auto label = [this, &nextLabel](const char* caption) {
    return Element(new QLabel(QString::fromLatin1(caption), this), "lblSetting", nextLabel++);
  };
  const auto box = [this](const char* name, const std::string& text) {
    return Named(new QLineEdit(ToQt(text), this), name);
  };
  auto* numbers = new QGridLayout;
  numbers->addWidget(label("Scan Center"), 0, 0);
  numbers->addWidget(txtGonioYScanCenter_ = box("txtGonioYScanCenter", design.scanCenter), 0, 1);
  numbers->addWidget(label("Scan Width"), 1, 0);
  numbers->addWidget(txtGonioYScanWidth_ = box("txtGonioYScanWidth", design.scanWidth), 1, 1);
  numbers->addWidget(label("Scan Division"), 2, 0);
  numbers->addWidget(txtGonioYScanDivision_ = box("txtGonioYScanDivision", design.division), 2, 1);
  numbers->addWidget(label("Output FileName"), 3, 0);
  numbers->addWidget(txtGonioYOutputFileName_ = box("txtGonioYOutputFileName", design.outputFileName), 3, 1);
  numbers->addWidget(label("(Result File Name = *.dat)"), 4, 0, 1, 2);

  // Box k turns omega to the angle beside it (generator B); "ω1" is element 0.
  const char* const omegaCaptions[] = {"ω1", "ω2"};
  auto* omegaRow = new QHBoxLayout;
  for (int k = 0; k < 2; ++k) {
    chkGonioYUseOmega_[k] =
        Element(new QCheckBox(QString::fromUtf8(omegaCaptions[k]), this), "chkGonioYUseOmega", k);
    txtGonioYOmega_[k] = Element(new QLineEdit(ToQt(design.omega[k]), this), "txtGonioYOmega", k);
    omegaRow->addWidget(chkGonioYUseOmega_[k]);
    omegaRow->addWidget(txtGonioYOmega_[k]);
  }

  const RepeatControls repeat = MakeRepeatControls("fraGonioYRepeatSetting", "chkGonioYRepeatActive",
                                                   "lblGonioYTimes", "txtGonioYRepeatTimes", this);
  fraGonioYRepeatSetting_ = repeat.frame;
  chkGonioYRepeatActive_ = repeat.active;
  txtGonioYRepeatTimes_ = repeat.times;
  lblGonioYTimes_ = repeat.frame->findChild<QLabel*>(QStringLiteral("lblGonioYTimes"));

  // Two buttons of one caption in one place, each with its preview; the omega rule shows one pair.
  cmdGonioYFileCreate_ = Named(new QPushButton(QStringLiteral("File Create"), this), "cmdGonioYFileCreate");
  cmdGonioYFileCreate2_ = Named(new QPushButton(QStringLiteral("File Create"), this), "cmdGonioYFileCreate2");
  cmdGonioYPreview_ = MakePreviewButton(cmdGonioYFileCreate_, this);
  cmdGonioYPreview2_ = MakePreviewButton(cmdGonioYFileCreate2_, this);
  cmdGonioYFileCreate2_->hide();
  cmdGonioYPreview2_->hide();
  lblGonioYStatus_ = Named(new QLabel(this), "lblGonioYStatus");
  auto* actionRow = new QHBoxLayout;
  actionRow->addWidget(cmdGonioYFileCreate_);
  actionRow->addWidget(cmdGonioYFileCreate2_);
  actionRow->addWidget(cmdGonioYPreview_);
  actionRow->addWidget(cmdGonioYPreview2_);
  actionRow->addWidget(lblGonioYStatus_, 1);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(fraGonioY);
  layout->addLayout(numbers);
  layout->addLayout(omegaRow);
  layout->addWidget(repeat.frame);
  layout->addLayout(actionRow);
  auto* destination = MakeDestinationLine(cmdGonioYFileCreate_, this);
  layout->addWidget(destination);
  layout->addStretch();
  FollowDestination(this, destination, [this] { return DestinationOf(readForm(), OutputFolder()); });

  SetTabOrder({optGonioYAxis, txtGonioYScanCenter_, txtGonioYScanWidth_, txtGonioYScanDivision_,
               txtGonioYOutputFileName_, chkGonioYUseOmega_[0], txtGonioYOmega_[0], chkGonioYUseOmega_[1],
               txtGonioYOmega_[1], chkGonioYRepeatActive_, txtGonioYRepeatTimes_, cmdGonioYFileCreate_,
               cmdGonioYPreview_, cmdGonioYFileCreate2_, cmdGonioYPreview2_});

  for (QCheckBox* omegaBox : chkGonioYUseOmega_) {
    connect(omegaBox, &QCheckBox::stateChanged, this, &GonioYScanPanel::applyOmegaRule);
  }
  connect(cmdGonioYFileCreate_, &QPushButton::clicked, this, [this] { fileCreate(GonioYGenerator::A); });
  connect(cmdGonioYFileCreate2_, &QPushButton::clicked, this, [this] { fileCreate(GonioYGenerator::B); });
  connect(cmdGonioYPreview_, &QPushButton::clicked, this, [this] { preview(GonioYGenerator::A); });
  connect(cmdGonioYPreview2_, &QPushButton::clicked, this, [this] { preview(GonioYGenerator::B); });
}

GonioYScanForm GonioYScanPanel::readForm() const {
  return ReadFields(this, GonioYScanForm());
}

void GonioYScanPanel::showForm(const GonioYScanForm& form) {
  ShowFields(this, form);
  // A box shown with its old value sends no change, so the rule runs once more on the final values.
  applyOmegaRule();
}

void GonioYScanPanel::loadSettings() {
  GonioYScanForm form = readForm();
  LoadSettings(JoinPath(settingsFolder_, kGonioYScanSettingsFile), form);
  showForm(form);
}

void GonioYScanPanel::applyOmegaRule() {
  GonioYScanForm form = readForm();
  const OmegaRuleState state = ApplyOmegaRule(form);
  chkGonioYRepeatActive_->setChecked(form.repeatActive);
  const std::array<QWidget*, 4> repeatControls = {fraGonioYRepeatSetting_, chkGonioYRepeatActive_,
                                                  txtGonioYRepeatTimes_, lblGonioYTimes_};
  for (QWidget* control : repeatControls) {
    control->setEnabled(state.repeatControlsEnabled);
  }
  const bool generatorB = state.generator == GonioYGenerator::B;
  cmdGonioYFileCreate2_->setVisible(generatorB);
  cmdGonioYFileCreate_->setVisible(!generatorB);
  cmdGonioYPreview2_->setVisible(generatorB);
  cmdGonioYPreview_->setVisible(!generatorB);
}

std::optional<CheckedScript> GonioYScanPanel::checkedScript(GonioYGenerator generator) {
  Result<CheckedScript> checked = CheckScript(readForm(), generator, settingsFolder_);
  if (!checked) {
    dialogs_.showMessage(this, ToQt(checked.message()));
    FocusControl(this, checked.field());
    return std::nullopt;
  }
  return std::move(checked.value());
}

void GonioYScanPanel::fileCreate(GonioYGenerator generator) {
  if (const std::optional<CheckedScript> script = checkedScript(generator)) {
    if (RunCheckedFileCreate(*script, settingsFolder_, ShowStatusIn(lblGonioYStatus_), dialogs_, this)) {
      emit scriptWritten();
    }
  }
}

void GonioYScanPanel::preview(GonioYGenerator generator) {
  if (const std::optional<CheckedScript> script = checkedScript(generator)) {
    ShowPanelPreview(*script, OutputFolder(), settingsFolder_, dialogs_, this);
  }
}

}  // namespace vesko
