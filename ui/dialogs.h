#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <memory>

class QMessageBox;
class QWidget;

namespace vesko {

/// The application's title, shown on the main menu and on every message box.
inline constexpr const char* kAppTitle = "VeskoScriptCreator";

/// A progress display shown while a long script is written; closed when destroyed.
class ProgressReport {
 public:
  virtual ~ProgressReport() = default;
  /// Shows that `done` of the total are done; false once the operator has asked to cancel.
  virtual bool update(std::uint64_t done) = 0;
};

/// Every modal dialog the windows show; the program uses the real dialogs, tests a recorder.
class Dialogs {
 public:
  virtual ~Dialogs() = default;
  /// Shows `text` modally with one OK button, no icon and the application's title.
  virtual void showMessage(QWidget* parent, const QString& text) = 0;
  /// Asks `text` with Yes and No, No the default; true for Yes. Stand-ins that do not answer say No.
  virtual bool askYesNo(QWidget* parent, const QString& text);
  /// Lets the operator pick a file-system folder; its full path, or "" when nothing was chosen.
  virtual QString chooseFolder(QWidget* owner) = 0;
  /// Lets the operator pick an existing file (`filter` "" shows every file), starting in `folder`; its full
  /// path, or "" when nothing was chosen (always, for stand-ins that never choose files).
  virtual QString chooseOpenFile(QWidget* owner, const QString& title, const QString& filter,
                                 const QString& folder);
  /// Lets the operator pick one or more existing files, starting in `folder`; their full paths, or none
  /// (always, for stand-ins that never choose files).
  virtual QStringList chooseOpenFiles(QWidget* owner, const QString& title, const QString& filter,
                                      const QString& folder);
  /// Lets the operator name a file to write, starting with `suggested`; its full path, or "" when nothing
  /// was chosen (always, for stand-ins that never choose files).
  virtual QString chooseSaveFile(QWidget* owner, const QString& title, const QString& filter,
                                 const QString& suggested);
  /// Shows a modal progress display with a Cancel button for `total` steps, or none (null, the default).
  virtual std::unique_ptr<ProgressReport> showProgress(QWidget* parent, const QString& label,
                                                       std::uint64_t total);
};

/// The width a box needs for its window title to show whole in a window manager's title bar.
int TitleRoom(const QWidget& box);

/// Keeps `box` at least TitleRoom wide.
void RoomForTitle(QMessageBox& box);

/// The real message box and folder chooser.
class AppDialogs final : public Dialogs {
 public:
  void showMessage(QWidget* parent, const QString& text) override;
  bool askYesNo(QWidget* parent, const QString& text) override;
  QString chooseFolder(QWidget* owner) override;
  QString chooseOpenFile(QWidget* owner, const QString& title, const QString& filter,
                         const QString& folder) override;
  QStringList chooseOpenFiles(QWidget* owner, const QString& title, const QString& filter,
                              const QString& folder) override;
  QString chooseSaveFile(QWidget* owner, const QString& title, const QString& filter,
                         const QString& suggested) override;
  std::unique_ptr<ProgressReport> showProgress(QWidget* parent, const QString& label,
                                               std::uint64_t total) override;
};

}  // namespace vesko
