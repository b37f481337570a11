#include "ui/dialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QMessageBox>

namespace vesko {

void AppDialogs::showMessage(QWidget* parent, const QString& text) {
  QMessageBox box(QMessageBox::NoIcon, QString::fromUtf8(kAppTitle), text, QMessageBox::Ok, parent);
  box.exec();
}

QString AppDialogs::chooseFolder(QWidget* owner) {
  // Each choice starts afresh at the top of the file-system tree; nothing is preselected.
  const QString folder = QFileDialog::getExistingDirectory(
      owner, QStringLiteral("フォルダを選択してください"), QDir::rootPath(), QFileDialog::ShowDirsOnly);
  if (folder.isEmpty()) {
    return QString();
  }
  return QDir::toNativeSeparators(folder);
}

QString Dialogs::chooseOpenFile(QWidget* /*owner*/, const QString& /*title*/, const QString& /*filter*/) {
  return QString();
}

QString AppDialogs::chooseOpenFile(QWidget* owner, const QString& title, const QString& filter) {
  const QString file = QFileDialog::getOpenFileName(owner, title, QString(), filter);
  if (file.isEmpty()) {
    return QString();
  }
  return QDir::toNativeSeparators(file);
}

}  // namespace vesko
