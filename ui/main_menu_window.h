#pragma once

#include <QWidget>
#include <string>

class QLineEdit;
class QCloseEvent;

namespace vesko {

class Dialogs;
struct MainMenuEntry;

/// The main menu "VeskoScriptCreator": restores the output folder, opens the scan windows and
/// stores the folder when it closes.
class MainMenuWindow final : public QWidget {
  Q_OBJECT

 public:
  /// Runs start-up from `settingsFolder` (which also holds every window's settings file).
  MainMenuWindow(std::string settingsFolder, Dialogs& dialogs, QWidget* parent = nullptr);

 protected:
  /// Closing the main menu shuts the program down: the folder is stored and the program ends.
  void closeEvent(QCloseEvent* event) override;

 private:
  void openWindow(const MainMenuEntry& entry);
  void selectOutputFolder();

  std::string settingsFolder_;
  Dialogs& dialogs_;
  QLineEdit* txtOutputFolder_;
  bool shutDown_ = false;
};

}  // namespace vesko
