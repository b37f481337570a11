// The window tests in one program: `window_tests <suite> [QTest options]` runs one suite; without a suite's
// name first, every suite runs.
#include <QApplication>
#include <QTemporaryDir>
#include <QTest>
#include <cstring>
#include <memory>
#include <utility>

#include "ui/keyboard.h"

namespace vesko::test {
std::unique_ptr<QObject> MakeMainMenuTest();
std::unique_ptr<QObject> MakeAllInOneWindowTest();
std::unique_ptr<QObject> MakeScanWindowsTest();
std::unique_ptr<QObject> MakeAnalysisWindowTest();
std::unique_ptr<QObject> MakePreviewTest();
std::unique_ptr<QObject> MakeResultsWindowTest();
std::unique_ptr<QObject> MakeFormDescriptionsTest();
std::unique_ptr<QObject> MakeAxesWindowTest();
std::unique_ptr<QObject> MakeWindowPlacesTest();
}  // namespace vesko::test

int main(int argc, char** argv) {
  using namespace vesko::test;
  // Window places are remembered per user: here in a folder of this run, never in the user's own.
  QTemporaryDir config;
  qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
  QApplication app(argc, argv);
  app.setAttribute(Qt::AA_Use96Dpi, true);
  vesko::ReturnPressesFocusedButtons(&app);
  const std::pair<const char*, std::unique_ptr<QObject> (*)()> suites[] = {
      {"main_menu_test", MakeMainMenuTest},
      {"all_in_one_window_test", MakeAllInOneWindowTest},
      {"scan_windows_test", MakeScanWindowsTest},
      {"analysis_window_test", MakeAnalysisWindowTest},
      {"preview_test", MakePreviewTest},
      {"results_window_test", MakeResultsWindowTest},
      {"form_descriptions_test", MakeFormDescriptionsTest},
      {"axes_window_test", MakeAxesWindowTest},
      {"window_places_test", MakeWindowPlacesTest}};
  const char* chosen = nullptr;
  for (const auto& [name, make] : suites) {
    chosen = argc > 1 && std::strcmp(argv[1], name) == 0 ? name : chosen;
  }
  if (chosen) {  // QTest sees the program's name and the options after the suite's name
    argv[1] = argv[0];
    --argc;
    ++argv;
  }
  int failures = 0;
  for (const auto& [name, make] : suites) {
    if (!chosen || chosen == name) {
      failures += QTest::qExec(make().get(), argc, argv);
    }
  }
  return failures == 0 ? 0 : 1;
}
