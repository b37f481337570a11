#include "ui/analysis_panel.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "analysis/break_analysis.h"
#include "app/app_settings.h"
#include "core/format.h"
#include "ui/analysis_plot.h"
#include "ui/dialogs.h"
#include "ui/panel_support.h"

namespace vesko {

namespace {

QLabel* Caption(const char* objectName, const char* text, QWidget* parent) {
  return Named(new QLabel(QString::fromUtf8(text), parent), objectName);
}

// A box the program writes; the operator can select and copy its text but not change it.
QLineEdit* ShownBox(const char* objectName, const char* text, QWidget* parent) {
  auto* box = Named(new QLineEdit(QString::fromUtf8(text), parent), objectName);
  box->setReadOnly(true);
  box->setMinimumWidth(box->fontMetrics().horizontalAdvance(QStringLiteral("-00000.00000")) + 12);
  return box;
}

}  // namespace

AnalysisPanel::AnalysisPanel(Dialogs& dialogs, const char* crossXText, QWidget* parent)
    : QWidget(parent), dialogs_(dialogs) {
  cmdGraphFileOpen_ = Named(new QPushButton(QStringLiteral("ファイル選択"), this), "cmdGraphFileOpen");
  // Only the file dialog sets the analysed file; this box just names it.
  txtGraphFileName_ = ShownBox("txtGraphFileName", kAnalysisBoxText, this);
  auto* fileRow = new QHBoxLayout;
  fileRow->addWidget(cmdGraphFileOpen_);
  fileRow->addWidget(txtGraphFileName_, 1);

  auto* frame = Named(new QGroupBox(QStringLiteral("Result"), this), "Frame1");
  txtA0_ = ShownBox("txtA0", kAnalysisBoxText, frame);
  txtA1_ = ShownBox("txtA1", kAnalysisBoxText, frame);
  txtB0_ = ShownBox("txtB0", kAnalysisBoxText, frame);
  txtGraphResult_ = ShownBox("txtGraphResult", crossXText, frame);
  txtGraphDivSetting_ =
      Named(new QLineEdit(QString::fromUtf8(kDefaultThresholdText), frame), "txtGraphDivSetting");
  cmdCalculate_ = Named(new QPushButton(QStringLiteral("Calculate"), frame), "cmdCalculate");
  auto* label7 = Caption("Label7", "Label7", frame);
  QFont tiny = label7->font();
  tiny.setPointSizeF(tiny.pointSizeF() * 0.6);
  label7->setFont(tiny);

  // Falling line "y = A0 + A1 x", then the level "y = B0", then where they meet.
  auto* rows = new QGridLayout(frame);
  rows->addWidget(Caption("lblLineY", "y=", frame), 0, 0);
  rows->addWidget(txtA0_, 0, 1);
  rows->addWidget(Caption("lblLinePlus", "+", frame), 0, 2);
  rows->addWidget(txtA1_, 0, 3);
  rows->addWidget(Caption("lblLineX", "x", frame), 0, 4);
  rows->addWidget(Caption("lblLevelY", "y=", frame), 1, 0);
  rows->addWidget(txtB0_, 1, 1);
  rows->addWidget(Caption("lblCrossX", "交点X座標", frame), 2, 0, 1, 2);
  rows->addWidget(txtGraphResult_, 2, 2, 1, 2);
  rows->addWidget(Caption("lblDivSetting", "判定条件", frame), 3, 0, 1, 2);
  rows->addWidget(txtGraphDivSetting_, 3, 2, 1, 2);
  rows->addWidget(cmdCalculate_, 4, 2, 1, 2);
  rows->addWidget(label7, 4, 0);

  auto* controls = new QVBoxLayout;
  controls->addLayout(fileRow);
  controls->addWidget(frame);
  controls->addStretch();

  plot_ = new AnalysisPlot(this);
  auto* layout = new QHBoxLayout(this);
  layout->addLayout(controls);
  layout->addWidget(plot_, 1);

  SetTabOrder({cmdGraphFileOpen_, txtGraphFileName_, txtA0_, txtA1_, txtB0_, txtGraphResult_,
               txtGraphDivSetting_, cmdCalculate_});

  connect(cmdGraphFileOpen_, &QPushButton::clicked, this, &AnalysisPanel::chooseFile);
  connect(cmdCalculate_, &QPushButton::clicked, this, &AnalysisPanel::calculate);
}

void AnalysisPanel::chooseFile() {
  // Platform defaults: no title of our own, no filter; result files land in the output folder.
  const QString file = dialogs_.chooseOpenFile(this, QString(), QString(), ToQt(OutputFolder()));
  if (file.isEmpty()) {
    return;
  }
  analysisFileName_ = file.toStdString();
  txtGraphFileName_->setText(file);
  // The results shown belong to the previous file.
  for (QLineEdit* box : {txtA0_, txtA1_, txtB0_, txtGraphResult_}) {
    box->clear();
  }
}

void AnalysisPanel::calculate() {
  // Every run rereads the chosen file from scratch; a file that cannot be read has no rows.
  const BreakAnalysis run = AnalyseResultFile(analysisFileName_, TextOf(txtGraphDivSetting_));
  for (const std::string& message : run.messages) {
    dialogs_.showMessage(this, ToQt(message));
  }
  if (run.crossX) {
    txtGraphResult_->setText(ToQt(FormatF5(*run.crossX)));
    txtA0_->setText(ToQt(FormatF5(run.line.a0)));
    txtA1_->setText(ToQt(FormatF5(run.line.a1)));
    txtB0_->setText(ToQt(FormatF5(run.level)));
  }
  plot_->showRun(run);
}

}  // namespace vesko
