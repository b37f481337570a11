#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>

#include "app/checked_script.h"
#include "generators/script_destination.h"
#include "generators/script_summary.h"
#include "ui/destination_line.h"

class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QHBoxLayout;
class QLabel;
class QLayout;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

namespace vesko {

class Dialogs;
class ProgressReport;

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

/// The "Preview" button beside `fileCreate`: its font, and its name with "FileCreate" replaced by "Preview".
QPushButton* MakePreviewButton(const QPushButton* fileCreate, QWidget* parent);

/// A count with thousands separators: 9830143 gives "9,830,143".
QString GroupedCount(std::uint64_t count);

/// Scripts longer than this many lines are written under a progress display that offers Cancel.
inline constexpr std::uint64_t kProgressDisplayLines = 1000000;

/// Counts the job's script lines in a dry pass; when they are more than kProgressDisplayLines, the progress
/// display `dialogs` shows for them with the text "<doing> <file> (<count> lines)"; otherwise null.
std::unique_ptr<ProgressReport> ProgressForLongScript(const FileCreateJob& job, const QString& doing,
                                                      Dialogs& dialogs, QWidget* parent);

/// A status callback that shows every status text in `label`.
StatusCallback ShowStatusIn(QLabel* label);

/// Runs a checked "File Create", reporting through `status`, under a progress display when the script is
/// long; a refusal, a write failure or a cancel is shown over `parent`. True when the script was written.
bool RunPanelFileCreate(const FileCreateJob& job, const StatusCallback& status, Dialogs& dialogs,
                        QWidget* parent);

/// Writes a checked script as RunPanelFileCreate does, after one question: a script that takes an axis
/// beyond a limit of the axis table in `settingsFolder` asks "<the first note>. Write the script anyway?"
/// (No by default), and No writes nothing. A table that cannot be read is told, then the script is written.
/// True when the script was written.
bool RunCheckedFileCreate(const CheckedScript& script, const std::string& settingsFolder,
                          const StatusCallback& status, Dialogs& dialogs, QWidget* parent);

/// A generator panel with its "File Create" and "Preview" buttons and its status label. The panel supplies
/// the checked script; both buttons ask for it, and after a refusal do nothing more.
class GeneratorPanel : public QWidget {
  Q_OBJECT

 signals:
  /// "File Create" wrote the script.
  void scriptWritten();

 public:
  /// The "File Create" button, for hosts that make it their default button.
  QPushButton* fileCreateButton() const { return fileCreate_; }

 protected:
  /// `settingsFolder` holds the panel's settings file; messages go through `dialogs`.
  GeneratorPanel(std::string settingsFolder, Dialogs& dialogs, QWidget* parent);

  /// The row of `fileCreate`, `preview` (MakePreviewButton) and `status` taking the rest, with the
  /// destination line below; both buttons are connected. Making the three in this order keeps "Preview" next
  /// after "File Create" in the focus chain.
  QLayout* makeActionRow(QPushButton* fileCreate, QPushButton* preview, QLabel* status);
  /// Where "File Create" would put the script now, from the name box and the output folder.
  virtual ScriptDestination destination() const = 0;
  /// The checked inputs' script, or none after the refusal has been shown.
  virtual std::optional<CheckedScript> checkedScript() = 0;
  /// The script, or none after showing the refusal over the panel and putting the focus on the field that
  /// failed.
  std::optional<CheckedScript> shown(Result<CheckedScript> checked);
  /// Writes the checked script, showing its status texts in the status label.
  virtual void fileCreate();
  /// The full name of `file` in the settings folder.
  std::string settingsPath(const char* file) const;
  const std::string& settingsFolder() const { return settingsFolder_; }

  Dialogs& dialogs_;
  QPushButton* fileCreate_ = nullptr;
  QPushButton* preview_ = nullptr;
  QLabel* status_ = nullptr;
  QPlainTextEdit* destination_ = nullptr;

 private:
  void preview();

  const std::string settingsFolder_;
};

/// Asked before a scan window that holds typed values closes.
inline constexpr const char* kDiscardQuestion = "Discard the typed values?";

/// A modal scan window that asks before its typed values are lost: closing it (Escape or the title bar)
/// while its boxes and buttons differ from what it showed on opening or after its last "File Create" asks
/// kDiscardQuestion, No the default.
class ScanDialog : public QDialog {
  Q_OBJECT

 public:
  /// Messages go through `dialogs`.
  ScanDialog(Dialogs& dialogs, QWidget* parent);
  /// Takes what the window shows now as kept: closing it asks nothing until it changes.
  void keepShown();
  /// Closes the window, after the question when it holds typed values that the operator keeps.
  void reject() override;

 private:
  QStringList shown() const;

  Dialogs& dialogs_;
  QStringList kept_;
};

/// Makes `window` the modal window `objectName` titled `title`, laid out by `layout` at a fixed size and
/// deleted on close, so that its next opening reads the settings files again.
void SetUpScanWindow(QDialog* window, const char* objectName, const char* title, QLayout* layout);

/// Return in a box of `window` presses no button: a window without a default button would otherwise make
/// the first button of its first panel the default when shown (in a two-panel window, the other panel's).
void KeepReturnFromButtons(QDialog* window);

/// Sets up `window` as SetUpScanWindow does, around `panel` alone, with `defaultButton` (when not null) as
/// its default button (or, without one, KeepReturnFromButtons).
void HostPanel(QDialog* window, const char* objectName, const char* title, QWidget* panel,
               QPushButton* defaultButton);

}  // namespace vesko
