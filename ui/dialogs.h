#pragma once

#include <QString>

class QWidget;

namespace vesko {

/// The application's title, shown on the main menu and on every message box.
inline constexpr const char* kAppTitle = "VeskoScriptCreator";

/// Every modal dialog the windows show; the program uses the real dialogs, tests a recorder.
class Dialogs {
 public:
  virtual ~Dialogs() = default;
  /// Shows `text` modally with one OK button, no icon and the application's title.
  virtual void showMessage(QWidget* parent, const QString& text) = 0;
  /// Lets the operator pick a file-system folder; its full path, or "" when nothing was chosen.
  virtual QString chooseFolder(QWidget* owner) = 0;
  /// Lets the operator pick an existing file (`filter` "" shows every file); its full path, or "" when
  /// nothing was chosen (always, for stand-ins that never choose files).
  virtual QString chooseOpenFile(QWidget* owner, const QString& title, const QString& filter);
};

/// The real message box and folder chooser.
class AppDialogs final : public Dialogs {
 public:
  void showMessage(QWidget* parent, const QString& text) override;
  QString chooseFolder(QWidget* owner) override;
  QString chooseOpenFile(QWidget* owner, const QString& title, const QString& filter) override;
};

}  // namespace vesko
