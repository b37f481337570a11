#include <QApplication>

#include "app/app_settings.h"
#include "ui/dialogs.h"
#include "ui/keyboard.h"
#include "ui/main_menu_window.h"
#include "ui/window_places.h"

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  QApplication::setApplicationName(QString::fromUtf8(vesko::kAppTitle));

  vesko::KeepWindowsOnScreen(application);
  vesko::ReturnPressesFocusedButtons(&application);

  vesko::AppDialogs dialogs;
  vesko::MainMenuWindow mainMenu(vesko::DefaultSettingsFolder(), dialogs);
  mainMenu.show();
  return QApplication::exec();
}
