#include "ui/panel_support.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

#include "ui/dialogs.h"
#include "ui/fonts.h"

namespace vesko {

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

BladePairChoice MakeBladePairChoice(const char* frameName, const char* optionName, QWidget* parent) {
  BladePairChoice choice;
  choice.frame = Named(new QGroupBox(QStringLiteral("Move Blades"), parent), frameName);
  choice.frame->setFont(GothicFont(kPanelPointSize, true));
  // The two options form one control array: "<name>_0" and "<name>_1".
  const QString name = QString::fromLatin1(optionName);
  choice.y = new QRadioButton(QStringLiteral("y1 and y2"), choice.frame);
  choice.y->setObjectName(name + QStringLiteral("_0"));
  choice.z = new QRadioButton(QStringLiteral("z1 and z2"), choice.frame);
  choice.z->setObjectName(name + QStringLiteral("_1"));
  choice.group = new QButtonGroup(parent);
  choice.group->addButton(choice.y, 0);
  choice.group->addButton(choice.z, 1);
  auto* layout = new QHBoxLayout(choice.frame);
  for (QRadioButton* option : {choice.y, choice.z}) {
    option->setFont(GothicFont(kPanelPointSize));
    layout->addWidget(option);
  }
  return choice;
}

void ShowBladePair(const BladePairChoice& choice, bool y, bool z) {
  if (y || z) {
    (z ? choice.z : choice.y)->setChecked(true);
    return;
  }
  // An exclusive group never lets its last checked button go, so release it for the moment.
  choice.group->setExclusive(false);
  choice.y->setChecked(false);
  choice.z->setChecked(false);
  choice.group->setExclusive(true);
}

RepeatControls MakeRepeatControls(const char* frameName, const char* activeName, const char* timesCaptionName,
                                  const char* timesName, QWidget* parent) {
  RepeatControls repeat;
  repeat.frame = Named(new QGroupBox(QStringLiteral("Repeat Setting"), parent), frameName);
  repeat.active = Named(new QCheckBox(QStringLiteral("Active"), repeat.frame), activeName);
  auto* timesCaption = Named(new QLabel(QStringLiteral("Times"), repeat.frame), timesCaptionName);
  repeat.times = Named(new QLineEdit(QStringLiteral("2"), repeat.frame), timesName);
  repeat.times->setMaximumWidth(repeat.times->fontMetrics().horizontalAdvance(QStringLiteral("00000")) + 12);
  auto* layout = new QHBoxLayout(repeat.frame);
  layout->addWidget(repeat.active);
  layout->addStretch();
  layout->addWidget(timesCaption);
  layout->addWidget(repeat.times);
  return repeat;
}

void ShowBoxValue(QCheckBox* box, int value) {
  if (value == 2) {
    box->setTristate(true);
    box->setCheckState(Qt::PartiallyChecked);
    // A click moves grey on to ticked; from then on the box only ticks and unticks.
    QObject::connect(
        box, &QCheckBox::clicked, box, [box] { box->setTristate(false); }, Qt::SingleShotConnection);
    return;
  }
  box->setTristate(false);
  box->setCheckState(value == 1 ? Qt::Checked : Qt::Unchecked);
}

int BoxValue(const QCheckBox* box) {
  switch (box->checkState()) {
    case Qt::Checked:
      return 1;
    case Qt::PartiallyChecked:
      return 2;
    default:
      return 0;
  }
}

void SetTabOrder(std::initializer_list<QWidget*> widgets) {
  QWidget* previous = nullptr;
  for (QWidget* widget : widgets) {
    if (previous) {
      QWidget::setTabOrder(previous, widget);
    }
    previous = widget;
  }
}

StatusCallback ShowStatusIn(QLabel* label) {
  return [label](const std::string& status) { label->setText(ToQt(status)); };
}

void RunPanelFileCreate(const FileCreateJob& job, const StatusCallback& status, Dialogs& dialogs,
                        QWidget* parent) {
  const FileCreateOutcome outcome = RunFileCreate(job, status);
  if (outcome.kind != FileCreateOutcome::Kind::Done) {
    dialogs.showMessage(parent, ToQt(outcome.message));
  }
}

}  // namespace vesko
