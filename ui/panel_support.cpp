#include "ui/panel_support.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QDialog>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <memory>
#include <utility>

#include "app/app_settings.h"
#include "app/axis_table_file.h"
#include "app/limit_check.h"
#include "core/platform.h"
#include "core/script_naming.h"
#include "core/shown_text.h"
#include "ui/dialogs.h"
#include "ui/fonts.h"
#include "ui/form_controls.h"
#include "ui/preview_window.h"

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

QPushButton* MakePreviewButton(const QPushButton* fileCreate, QWidget* parent) {
  auto* button = new QPushButton(QStringLiteral("Preview"), parent);
  button->setObjectName(
      fileCreate->objectName().replace(QStringLiteral("FileCreate"), QStringLiteral("Preview")));
  button->setFont(fileCreate->font());
  return button;
}

QString GroupedCount(std::uint64_t count) {
  return QLocale(QLocale::English, QLocale::UnitedStates).toString(static_cast<qulonglong>(count));
}

namespace {

std::unique_ptr<ProgressReport> ProgressForLines(std::uint64_t lines, const FileCreateJob& job,
                                                 const QString& doing, Dialogs& dialogs, QWidget* parent) {
  if (lines <= kProgressDisplayLines) {
    return nullptr;
  }
  const QString label =
      QStringLiteral("%1 %2 (%3 lines)").arg(doing, ToQt(ShownText(job.outputFileName)), GroupedCount(lines));
  return dialogs.showProgress(parent, label, lines);
}

}  // namespace

std::unique_ptr<ProgressReport> ProgressForLongScript(const FileCreateJob& job, const QString& doing,
                                                      Dialogs& dialogs, QWidget* parent) {
  if (!job.writeScript) {
    return nullptr;
  }
  // A dry pass that only counts lines is quick next to writing or reading them.
  CountingSink counter;
  job.writeScript(counter);
  return ProgressForLines(counter.lineCount(), job, doing, dialogs, parent);
}

bool RunPanelFileCreate(const FileCreateJob& job, const StatusCallback& status, Dialogs& dialogs,
                        QWidget* parent) {
  // A refused folder is reported by RunFileCreate at once, before any line is counted; one dry pass then
  // judges the room and counts the lines for the progress display.
  FileCreateJob run = job;
  std::unique_ptr<ProgressReport> report;
  if (!PlaceRefusal(job)) {
    const ScriptRoom room = MeasureRoom(job);
    if (room.refusal) {
      dialogs.showMessage(parent, ToQt(*room.refusal));
      return false;
    }
    run.roomMeasured = true;
    report = ProgressForLines(room.lines, job, QStringLiteral("Writing"), dialogs, parent);
  }
  if (report) {
    run.progress = [&report](std::uint64_t linesWritten) { return report->update(linesWritten); };
  }
  const FileCreateOutcome outcome = RunFileCreate(run, status);
  report.reset();
  if (outcome.kind != FileCreateOutcome::Kind::Done) {
    dialogs.showMessage(parent, ToQt(outcome.message));
    return false;
  }
  return true;
}

bool RunCheckedFileCreate(const CheckedScript& script, const std::string& settingsFolder,
                          const StatusCallback& status, Dialogs& dialogs, QWidget* parent) {
  const FileCreateJob job = script.Job(OutputFolder());
  // A folder that is refused anyway is refused first, by RunPanelFileCreate.
  if (!PlaceRefusal(job)) {
    const AxisTableRead axes = ReadAxisTable(settingsFolder);
    if (!axes.problem.empty()) {
      dialogs.showMessage(parent, ToQt(axes.problem));
    }
    const std::optional<std::string> note =
        axes.table ? FirstLimitNote(script, job.outputFolder, *axes.table) : std::nullopt;
    if (note && !dialogs.askYesNo(parent, ToQt(*note + ". Write the script anyway?"))) {
      return false;
    }
  }
  return RunPanelFileCreate(job, status, dialogs, parent);
}

GeneratorPanel::GeneratorPanel(std::string settingsFolder, Dialogs& dialogs, QWidget* parent)
    : QWidget(parent), dialogs_(dialogs), settingsFolder_(std::move(settingsFolder)) {}

QLayout* GeneratorPanel::makeActionRow(QPushButton* fileCreate, QPushButton* preview, QLabel* status) {
  fileCreate_ = fileCreate;
  preview_ = preview;
  status_ = status;
  auto* row = new QHBoxLayout;
  row->addWidget(fileCreate_);
  row->addWidget(preview_);
  row->addWidget(status_, 1);
  connect(fileCreate_, &QPushButton::clicked, this, &GeneratorPanel::fileCreate);
  connect(preview_, &QPushButton::clicked, this, &GeneratorPanel::preview);
  destination_ = MakeDestinationLine(fileCreate_, this);
  FollowDestination(this, destination_, [this] { return destination(); });
  auto* rows = new QVBoxLayout;
  rows->addLayout(row);
  rows->addWidget(destination_);
  return rows;
}

void GeneratorPanel::fileCreate() {
  if (const std::optional<CheckedScript> script = checkedScript()) {
    if (RunCheckedFileCreate(*script, settingsFolder_, ShowStatusIn(status_), dialogs_, this)) {
      emit scriptWritten();
    }
  }
}

void GeneratorPanel::preview() {
  if (const std::optional<CheckedScript> script = checkedScript()) {
    ShowPanelPreview(*script, OutputFolder(), settingsFolder_, dialogs_, this);
  }
}

std::optional<CheckedScript> GeneratorPanel::shown(Result<CheckedScript> checked) {
  if (!checked) {
    dialogs_.showMessage(this, ToQt(checked.message()));
    // Then the operator can retype the field that failed at once.
    FocusControl(this, checked.field());
    return std::nullopt;
  }
  return std::move(checked.value());
}

std::string GeneratorPanel::settingsPath(const char* file) const {
  return JoinPath(settingsFolder_, file);
}

ScanDialog::ScanDialog(Dialogs& dialogs, QWidget* parent) : QDialog(parent), dialogs_(dialogs) {}

void ScanDialog::keepShown() {
  kept_ = shown();
}

void ScanDialog::reject() {
  if (shown() != kept_ && !dialogs_.askYesNo(this, QString::fromLatin1(kDiscardQuestion))) {
    return;
  }
  QDialog::reject();
}

QStringList ScanDialog::shown() const {
  // The window's own controls: a preview window it has opened is another window.
  QStringList values;
  for (const QLineEdit* box : findChildren<QLineEdit*>()) {
    if (box->window() == this && !box->isReadOnly()) {
      values << box->objectName() + QLatin1Char('=') + box->text();
    }
  }
  for (const QAbstractButton* button : findChildren<QAbstractButton*>()) {
    if (button->window() == this && button->isCheckable()) {
      const auto* box = qobject_cast<const QCheckBox*>(button);
      values << button->objectName() + QLatin1Char('=') +
                    QString::number(box                   ? box->checkState()
                                    : button->isChecked() ? 1
                                                          : 0);
    }
  }
  return values;
}

void SetUpScanWindow(QDialog* window, const char* objectName, const char* title, QLayout* layout) {
  window->setObjectName(QString::fromLatin1(objectName));
  window->setWindowTitle(QString::fromUtf8(title));
  window->setModal(true);
  window->setAttribute(Qt::WA_DeleteOnClose);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

void HostPanel(QDialog* window, const char* objectName, const char* title, QWidget* panel,
               QPushButton* defaultButton) {
  auto* layout = new QVBoxLayout(window);
  SetUpScanWindow(window, objectName, title, layout);
  layout->addWidget(panel);
  if (defaultButton) {
    defaultButton->setDefault(true);
  } else {
    KeepReturnFromButtons(window);
  }
}

void KeepReturnFromButtons(QDialog* window) {
  for (QPushButton* button : window->findChildren<QPushButton*>()) {
    button->setAutoDefault(false);
  }
}

}  // namespace vesko
