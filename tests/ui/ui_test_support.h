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
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/app_settings.h"
#include "ui/dialogs.h"

namespace vesko::test {

/// Stands in for every modal dialog: records messages, questions and progress displays; answers choosers
/// and questions from queues (an empty queue cancels, or answers No).
class RecordingDialogs final : public Dialogs {
 public:
  void showMessage(QWidget* parent, const QString& text) override {
    messages.append(text);
    messageParents.append(parent);
  }
  bool askYesNo(QWidget*, const QString& text) override {
    questions.append(text);
    return Next(yesNoAnswers);
  }
  QString chooseFolder(QWidget* owner) override {
    folderOwners.append(owner);
    return Next(folderAnswers);
  }
  QString chooseOpenFile(QWidget* owner, const QString&, const QString&, const QString& folder) override {
    openFileOwners.append(owner);
    openFileFolders.append(folder);
    return Next(openFileAnswers);
  }
  QStringList chooseOpenFiles(QWidget*, const QString&, const QString&, const QString& folder) override {
    openFilesFolders.append(folder);
    return Next(openFilesAnswers);
  }
  QString chooseSaveFile(QWidget*, const QString&, const QString&, const QString&) override {
    return Next(saveFileAnswers);
  }
  std::unique_ptr<ProgressReport> showProgress(QWidget*, const QString& label, std::uint64_t total) override {
    progressLabels.append(label);
    progressTotals.append(total);
    return std::make_unique<Progress>(*this);
  }

  QStringList messages, questions, folderAnswers, openFileAnswers, openFileFolders;
  QStringList openFilesFolders, saveFileAnswers, progressLabels;
  QList<bool> yesNoAnswers;
  QList<QWidget*> messageParents, folderOwners, openFileOwners;
  QList<QStringList> openFilesAnswers;
  QList<std::uint64_t> progressTotals, progressUpdates;
  bool cancelProgress = false;  // progress updates answer Cancel

 private:
  template <typename T>
  static T Next(QList<T>& queue) {
    return queue.isEmpty() ? T() : queue.takeFirst();
  }
  struct Progress final : ProgressReport {
    explicit Progress(RecordingDialogs& recorder) : owner(recorder) {}
    bool update(std::uint64_t done) override {
      owner.progressUpdates.append(done);
      return !owner.cancelProgress;
    }
    RecordingDialogs& owner;
  };
};

/// A fresh settings folder and output folder (the program's output folder unless `asOutputFolder` is
/// false), the dialog recorder and the window under test, which goes with the workspace.
class Workspace {
 public:
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
  std::string settingsFolder() const { return settings.path().toStdString(); }
  /// Shows `w` as the window under test in place of the last; false when it never comes on screen.
  bool show(QWidget* w) {
    delete window.data();
    window = w;
    w->show();
    return QTest::qWaitForWindowExposed(w);
  }

  QTemporaryDir settings, output;
  RecordingDialogs dialogs;
  QPointer<QWidget> window;
};

/// The control `path` names below `root`: an object name, or "frame/name" for a control inside a frame.
inline QWidget* Find(const QWidget* root, const QString& path) {
  QWidget* found = const_cast<QWidget*>(root);
  for (const QString& name : path.split(QLatin1Char('/'))) {
    found = found ? found->findChild<QWidget*>(name) : nullptr;
  }
  return found;
}

/// What a control shows: a check box or option "[x] ", "[ ] " or "[-] " (grey) and its caption, a
/// multi-line box its plain text, anything else its text; "<missing>" when there is no such control.
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

inline QStringList FileNames(const QString& folder) {
  return QDir(folder).entryList(QDir::Files, QDir::Name);
}

/// The whole content of a file; empty when it cannot be read.
inline QByteArray ReadBytes(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline bool WriteBytes(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

/// The lines, each ended by CR LF.
inline QByteArray CrLfLines(const QByteArrayList& lines) {
  return lines.join("\r\n") + "\r\n";
}

/// A settings file: the space-separated `fields`, each on a line ended by CR LF.
inline QByteArray Lines(const char* fields) {
  return CrLfLines(QByteArray(fields).split(' '));
}

/// The suites of the window test program, by name; VESKO_WINDOW_SUITE adds one.
inline std::vector<std::pair<QString, std::unique_ptr<QObject> (*)()>>& Suites() {
  static std::vector<std::pair<QString, std::unique_ptr<QObject> (*)()>> suites;
  return suites;
}
#define VESKO_WINDOW_SUITE(Class, name)  \
  static const bool kRegistered##Class = \
      (vesko::test::Suites().emplace_back(name, [] { return std::unique_ptr<QObject>(new Class); }), true);

}  // namespace vesko::test
