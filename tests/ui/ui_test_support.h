#pragma once

#include <QFile>
#include <QList>
#include <QString>
#include <QStringList>
#include <QWidget>

#include "ui/dialogs.h"

namespace vesko::test {

/// Stands in for every modal dialog: records the messages and answers folder and file choices from queues.
class RecordingDialogs final : public Dialogs {
 public:
  void showMessage(QWidget* parent, const QString& text) override {
    messages.append(text);
    messageParents.append(parent);
  }
  /// The next queued folder, or "" (a cancelled chooser) when the queue is empty.
  QString chooseFolder(QWidget* owner) override {
    folderOwners.append(owner);
    return folderAnswers.isEmpty() ? QString() : folderAnswers.takeFirst();
  }
  /// The next queued file, or "" (a cancelled chooser) when the queue is empty.
  QString chooseOpenFile(QWidget* owner, const QString& /*title*/, const QString& filter) override {
    openFileOwners.append(owner);
    openFileFilters.append(filter);
    return openFileAnswers.isEmpty() ? QString() : openFileAnswers.takeFirst();
  }

  QStringList messages;
  QList<QWidget*> messageParents;
  QStringList folderAnswers;
  QList<QWidget*> folderOwners;
  QStringList openFileAnswers;
  QList<QWidget*> openFileOwners;
  QStringList openFileFilters;
};

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
