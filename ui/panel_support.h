#pragma once

#include <QString>
#include <initializer_list>
#include <string>

#include "core/file_create.h"

class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QWidget;

namespace vesko {

class Dialogs;

/// Point size of the gothic face the generator panels use for their own controls.
inline constexpr double kPanelPointSize = 12.0;

/// Gives `widget` its object name and hands it back.
template <typename W>
W* Named(W* widget, const char* objectName) {
  widget->setObjectName(QString::fromLatin1(objectName));
  return widget;
}

/// Makes `widget` element `index` of the control array `name` ("<name>_<index>") and hands it back.
template <typename W>
W* Element(W* widget, const char* name, int index) {
  widget->setObjectName(QString::fromLatin1(name) + QLatin1Char('_') + QString::number(index));
  return widget;
}

/// Shows a check box value as a settings file holds it: 0 unticked, 1 ticked, 2 grey. Grey is reached
/// only this way; the operator's next click leaves it for good.
void ShowBoxValue(QCheckBox* box, int value);

/// The check box value: 0 unticked, 1 ticked, 2 grey.
int BoxValue(const QCheckBox* box);

/// A static caption in the panels' gothic face.
QLabel* SettingLabel(const char* objectName, const char* caption, QWidget* parent);

/// An input box in the panels' gothic face, holding `text` at first.
QLineEdit* SettingBox(const char* objectName, const char* text, QWidget* parent);

/// The box's text as UTF-8.
std::string TextOf(const QLineEdit* box);

/// UTF-8 text as a QString.
QString ToQt(const std::string& text);

/// The bold "Move Blades" frame with its two blade-pair options (index 0 y, index 1 z), neither chosen.
struct BladePairChoice {
  QGroupBox* frame;
  QButtonGroup* group;
  QRadioButton* y;
  QRadioButton* z;
};
BladePairChoice MakeBladePairChoice(const char* frameName, const char* optionName, QWidget* parent);

/// Chooses the y or the z option (z wins when both are set), or neither when both flags are false.
void ShowBladePair(const BladePairChoice& choice, bool y, bool z);

/// The "Repeat Setting" frame in the default font: "Active" box, "Times" caption and the count box ("2").
struct RepeatControls {
  QGroupBox* frame;
  QCheckBox* active;
  QLineEdit* times;
};
RepeatControls MakeRepeatControls(const char* frameName, const char* activeName, const char* timesCaptionName,
                                  const char* timesName, QWidget* parent);

/// Keyboard order through `widgets`, first to last.
void SetTabOrder(std::initializer_list<QWidget*> widgets);

/// A status callback that shows every status text in `label`.
StatusCallback ShowStatusIn(QLabel* label);

/// Runs a checked "File Create", reporting through `status`; a refusal or a write failure is shown over
/// `parent`.
void RunPanelFileCreate(const FileCreateJob& job, const StatusCallback& status, Dialogs& dialogs,
                        QWidget* parent);

}  // namespace vesko
