// The window tests in one program: `window_tests <suite> [QTest options]` runs one suite.
#include <QApplication>
#include <QTemporaryDir>
#include <QTest>

#include "tests/ui/ui_test_support.h"
#include "ui/keyboard.h"

int main(int argc, char** argv) {
  // Window places are remembered per user: here in a folder of this run, never in the user's own.
  QTemporaryDir config;
  qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
  QApplication app(argc, argv);
  app.setAttribute(Qt::AA_Use96Dpi, true);
  vesko::ReturnPressesFocusedButtons(&app);
  const QString chosen = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
  for (const auto& [name, make] : vesko::test::Suites()) {
    if (name == chosen) {  // QTest sees the program's name and the options after the suite's name
      argv[1] = argv[0];
      return QTest::qExec(make().get(), argc - 1, argv + 1) == 0 ? 0 : 1;
    }
  }
  return 2;  // no such suite
}
