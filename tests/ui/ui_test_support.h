#pragma once

#include <QAbstractButton>
#include <QByteArrayList>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPointer>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>
#include <QVariant>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "app/app_settings.h"
#include "ui/dialogs.h"

namespace vesko::test {

/// Stands in for every modal dialog: records the messages and progress displays and answers folder and
/// file choices from queues.
class RecordingDialogs final : public Dialogs {
 public:
  /// Records the message and its parent, telling `onMessage` first.
  void showMessage(QWidget* parent, const QString& text) override {
    if (onMessage) {
      onMessage(parent);
    }
    messages.append(text);
    messageParents.append(parent);
  }
  /// Records the question; the next queued answer, or No when the queue is empty.
  bool askYesNo(QWidget* /*parent*/, const QString& text) override {
    questions.append(text);
    return !yesNoAnswers.isEmpty() && yesNoAnswers.takeFirst();
  }
  /// The next queued folder, or "" (a cancelled chooser) when the queue is empty.
  QString chooseFolder(QWidget* owner) override {
    folderOwners.append(owner);
    return folderAnswers.isEmpty() ? QString() : folderAnswers.takeFirst();
  }
  /// The next queued file, or "" (a cancelled chooser) when the queue is empty.
  QString chooseOpenFile(QWidget* owner, const QString& /*title*/, const QString& filter,
                         const QString& folder) override {
    openFileOwners.append(owner);
    openFileFolders.append(folder);
    openFileFilters.append(filter);
    return openFileAnswers.isEmpty() ? QString() : openFileAnswers.takeFirst();
  }
  /// Records the starting folder; the next queued list of files, or none (a cancelled chooser).
  QStringList chooseOpenFiles(QWidget* /*owner*/, const QString& /*title*/, const QString& /*filter*/,
                              const QString& folder) override {
    openFilesFolders.append(folder);
    return openFilesAnswers.isEmpty() ? QStringList() : openFilesAnswers.takeFirst();
  }
  /// The next queued file name to write, or "" (a cancelled chooser).
  QString chooseSaveFile(QWidget* /*owner*/, const QString& /*title*/, const QString& /*filter*/,
                         const QString& /*suggested*/) override {
    return saveFileAnswers.isEmpty() ? QString() : saveFileAnswers.takeFirst();
  }
  /// Records the display's label and total; its updates are recorded and answer Cancel when
  /// `cancelProgress` is set.
  std::unique_ptr<ProgressReport> showProgress(QWidget* /*parent*/, const QString& label,
                                               std::uint64_t total) override {
    progressLabels.append(label);
    progressTotals.append(total);
    return std::make_unique<Progress>(*this);
  }

  QStringList messages;
  QStringList questions;
  QList<bool> yesNoAnswers;
  QList<QWidget*> messageParents;
  QStringList folderAnswers;
  QList<QWidget*> folderOwners;
  QStringList openFileAnswers;
  QList<QWidget*> openFileOwners;
  QStringList openFileFilters;
  QStringList openFileFolders;
  QList<QStringList> openFilesAnswers;
  QStringList openFilesFolders;
  QStringList saveFileAnswers;
  /// Told each message's parent while the message is up.
  std::function<void(QWidget*)> onMessage;
  QStringList progressLabels;
  QList<std::uint64_t> progressTotals;
  QList<std::uint64_t> progressUpdates;
  bool cancelProgress = false;

 private:
  struct Progress final : ProgressReport {
    explicit Progress(RecordingDialogs& recorder) : owner(recorder) {}
    bool update(std::uint64_t done) override {
      owner.progressUpdates.append(done);
      return !owner.cancelProgress;
    }
    RecordingDialogs& owner;
  };
};

/// A fresh settings folder and output folder, the dialog recorder and the window under test, which goes
/// with the workspace; the program's output folder is reset when the workspace goes.
class Workspace {
 public:
  /// Makes the new output folder the program's output folder unless `asOutputFolder` is false.
  explicit Workspace(bool asOutputFolder = true) {
    vesko::ResetOutputFolder();
    if (asOutputFolder) {
      vesko::SetOutputFolder(output.path().toStdString());
    }
  }
  ~Workspace() {
    delete window.data();
    vesko::ResetOutputFolder();
  }

  /// The settings folder as the windows take it.
  std::string settingsFolder() const { return settings.path().toStdString(); }
  /// Shows `w` as the window under test and waits until it is on screen; false when it never is.
  bool show(QWidget* w) {
    window = w;
    w->show();
    return QTest::qWaitForWindowExposed(w);
  }

  QTemporaryDir settings;
  QTemporaryDir output;
  RecordingDialogs dialogs;
  QPointer<QWidget> window;
};

/// Element `n` of the control array `name`.
inline QString At(const char* name, int n) {
  return QStringLiteral("%1_%2").arg(QLatin1String(name)).arg(n);
}

/// The control `path` names below `root`: an object name, or "frame/name" for a control inside a frame.
inline QWidget* Find(const QWidget* root, const QString& path) {
  QWidget* found = const_cast<QWidget*>(root);
  for (const QString& name : path.split(QLatin1Char('/'))) {
    found = found ? found->findChild<QWidget*>(name) : nullptr;
  }
  return found;
}

/// What a control shows: a check box or option "[x] ", "[ ] " or "[-] " (grey) and its
/// caption, a multi-line box its plain text, anything else its text; "<missing>" when there is no such
/// control.
inline QString Shown(const QWidget* root, const QString& path) {
  const QWidget* widget = Find(root, path);
  const auto* button = qobject_cast<const QAbstractButton*>(widget);
  const auto* box = qobject_cast<const QCheckBox*>(widget);
  if (!widget) {
    return QStringLiteral("<missing>");
  } else if (box && box->checkState() == Qt::PartiallyChecked) {
    return QStringLiteral("[-] ") + box->text();
  } else if (button && button->isCheckable()) {
    return QLatin1String(button->isChecked() ? "[x] " : "[ ] ") + button->text();
  }
  const QVariant text = widget->property("text");
  return (text.isValid() ? text : widget->property("plainText")).toString();
}

/// The rows of `expected` ("path=shown") that the controls do not show, each as "path=what it shows",
/// joined by "; "; "" when every row matches.
inline QString Differences(const QWidget* root, const QStringList& expected) {
  QStringList differing;
  for (const QString& row : expected) {
    const QString path = row.section(QLatin1Char('='), 0, 0);
    if (path + QLatin1Char('=') + Shown(root, path) != row) {
      differing << path + QLatin1Char('=') + Shown(root, path);
    }
  }
  return differing.join(QStringLiteral("; "));
}

/// Clicks a button as the operator does (an option's or check box's indicator); false when it is missing.
inline bool Click(const QWidget* root, const QString& path) {
  auto* button = qobject_cast<QAbstractButton*>(Find(root, path));
  if (button) {
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
  }
  return button != nullptr;
}

/// Works through `input` as the operator does: "box=text" replaces the box's text by typing, a bare name
/// clicks that control. The name of the first control that is missing, or "".
inline QString Enter(const QWidget* root, const QStringList& input) {
  for (const QString& step : input) {
    const QString path = step.section(QLatin1Char('='), 0, 0);
    auto* box = qobject_cast<QLineEdit*>(Find(root, path));
    if (path == step ? !Click(root, path) : !box) {
      return path;
    } else if (box) {
      box->clear();
      QTest::keyClicks(box, step.section(QLatin1Char('='), 1));
    }
  }
  return QString();
}

/// The names of the files in `folder`, sorted.
inline QStringList FileNames(const QString& folder) {
  return QDir(folder).entryList(QDir::Files, QDir::Name);
}

/// The whole content of a file; empty when it cannot be read.
inline QByteArray ReadBytes(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

/// Creates or replaces a file with exactly these bytes.
inline bool WriteBytes(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

/// The lines, each ended by CR LF.
inline QByteArray CrLfLines(const QByteArrayList& lines) {
  return lines.join("\r\n") + "\r\n";
}

}  // namespace vesko::test
