#pragma once

#include <QWidget>
#include <memory>
#include <string>

class QLineEdit;
class QCloseEvent;
class QShowEvent;

namespace vesko {

class AllInOneWindow;
class Dialogs;

/// The main menu "VeskoScriptCreator": restores the output folder, opens the scan windows and
/// stores the folder when it closes.
class MainMenuWindow final : public QWidget {
  Q_OBJECT

 public:
  /// Runs start-up from `settingsFolder` (which also holds every window's settings file); the combined
  /// window is made only when the stored folder could be read.
  MainMenuWindow(std::string settingsFolder, Dialogs& dialogs, QWidget* parent = nullptr);
  ~MainMenuWindow() override;

 protected:
  /// Closing the main menu shuts the program down: the folder is stored and the program ends.
  void closeEvent(QCloseEvent* event) override;
  /// The first showing opens the combined window, non-modally, beside the main menu.
  void showEvent(QShowEvent* event) override;

 private:
  void selectOutputFolder();

  std::string settingsFolder_;
  Dialogs& dialogs_;
  QLineEdit* txtOutputFolder_;
  QWidget* firstButton_ = nullptr;
  std::unique_ptr<AllInOneWindow> allInOne_;
  bool shutDown_ = false;
  bool allInOneOpened_ = false;
};

}  // namespace vesko
