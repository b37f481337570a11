#include "ui/dialogs.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFontMetrics>
#include <QGridLayout>
#include <QMessageBox>
#include <QProgressDialog>
#include <QSpacerItem>
#include <algorithm>

namespace vesko {

namespace {

// The bar runs over this many steps whatever the total, so that no count overflows an int.
constexpr int kProgressSteps = 1000;

// A QProgressDialog that blocks the whole application while it is up: no other window can start a second
// "File Create" in the middle of this one.
class AppProgress final : public ProgressReport {
 public:
  AppProgress(QWidget* parent, const QString& label, std::uint64_t total)
      : dialog_(label, QStringLiteral("Cancel"), 0, kProgressSteps, parent), total_(total == 0 ? 1 : total) {
    dialog_.setWindowTitle(QString::fromUtf8(kAppTitle));
    dialog_.setWindowModality(Qt::ApplicationModal);
    dialog_.setMinimumDuration(0);
    dialog_.setAutoReset(false);
    dialog_.setAutoClose(false);
    dialog_.setValue(0);
  }

  bool update(std::uint64_t done) override {
    const std::uint64_t step = std::min<std::uint64_t>(done, total_) * kProgressSteps / total_;
    dialog_.setValue(static_cast<int>(step));
    // setValue repaints only when the step changes; Cancel and repaints need events every time.
    QCoreApplication::processEvents();
    return !dialog_.wasCanceled();
  }

 private:
  QProgressDialog dialog_;
  std::uint64_t total_;
};

}  // namespace

int TitleRoom(const QWidget& box) {
  // The title bar's font is the window manager's, commonly bold and a little larger than the box's own;
  // its buttons and icon take about this much beside the title.
  QFont title = box.font();
  title.setBold(true);
  title.setPointSizeF(title.pointSizeF() * 1.2);
  constexpr int kTitleBarButtons = 140;
  return QFontMetrics(title).horizontalAdvance(box.windowTitle()) + kTitleBarButtons;
}

void RoomForTitle(QMessageBox& box) {
  // A message box sizes itself to its text; a spacer across its grid keeps it as wide as its title needs.
  if (auto* grid = qobject_cast<QGridLayout*>(box.layout())) {
    grid->addItem(new QSpacerItem(TitleRoom(box), 0, QSizePolicy::Minimum, QSizePolicy::Fixed),
                  grid->rowCount(), 0, 1, grid->columnCount());
  }
}

void AppDialogs::showMessage(QWidget* parent, const QString& text) {
  QMessageBox box(QMessageBox::NoIcon, QString::fromUtf8(kAppTitle), text, QMessageBox::Ok, parent);
  RoomForTitle(box);
  box.exec();
}

bool AppDialogs::askYesNo(QWidget* parent, const QString& text) {
  QMessageBox box(QMessageBox::NoIcon, QString::fromUtf8(kAppTitle), text, QMessageBox::Yes | QMessageBox::No,
                  parent);
  box.setDefaultButton(QMessageBox::No);
  RoomForTitle(box);
  box.setEscapeButton(QMessageBox::No);
  return box.exec() == QMessageBox::Yes;
}

QString AppDialogs::chooseFolder(QWidget* owner) {
  // Each choice starts afresh at the top of the file-system tree; nothing is preselected.
  const QString folder = QFileDialog::getExistingDirectory(
      owner, QStringLiteral("フォルダを選択してください"), QDir::rootPath(), QFileDialog::ShowDirsOnly);
  if (folder.isEmpty()) {
    return QString();
  }
  // The text up to a NUL, as the file system reads the name.
  return QDir::toNativeSeparators(folder.left(folder.indexOf(QChar(0))));
}

bool Dialogs::askYesNo(QWidget* /*parent*/, const QString& /*text*/) {
  return false;
}

QString Dialogs::chooseOpenFile(QWidget* /*owner*/, const QString& /*title*/, const QString& /*filter*/,
                                const QString& /*folder*/) {
  return QString();
}

QStringList Dialogs::chooseOpenFiles(QWidget* /*owner*/, const QString& /*title*/, const QString& /*filter*/,
                                     const QString& /*folder*/) {
  return QStringList();
}

QString Dialogs::chooseSaveFile(QWidget* /*owner*/, const QString& /*title*/, const QString& /*filter*/,
                                const QString& /*suggested*/) {
  return QString();
}

std::unique_ptr<ProgressReport> Dialogs::showProgress(QWidget* /*parent*/, const QString& /*label*/,
                                                      std::uint64_t /*total*/) {
  return nullptr;
}

std::unique_ptr<ProgressReport> AppDialogs::showProgress(QWidget* parent, const QString& label,
                                                         std::uint64_t total) {
  return std::make_unique<AppProgress>(parent, label, total);
}

QString AppDialogs::chooseOpenFile(QWidget* owner, const QString& title, const QString& filter,
                                   const QString& folder) {
  const QString file = QFileDialog::getOpenFileName(owner, title, folder, filter);
  if (file.isEmpty()) {
    return QString();
  }
  return QDir::toNativeSeparators(file);
}

}  // namespace vesko

namespace vesko {

QStringList AppDialogs::chooseOpenFiles(QWidget* owner, const QString& title, const QString& filter,
                                        const QString& folder) {
  QStringList files = QFileDialog::getOpenFileNames(owner, title, folder, filter);
  for (QString& file : files) {
    file = QDir::toNativeSeparators(file);
  }
  return files;
}

QString AppDialogs::chooseSaveFile(QWidget* owner, const QString& title, const QString& filter,
                                   const QString& suggested) {
  const QString file = QFileDialog::getSaveFileName(owner, title, suggested, filter);
  return file.isEmpty() ? QString() : QDir::toNativeSeparators(file);
}

}  // namespace vesko
