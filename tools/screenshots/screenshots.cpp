// Takes the README's pictures of the program without a display: the main menu, the 4D slit scan
// window, the analysis window with its plot and the combined window, each saved as a PNG file.
// Usage: vesko-screenshots FOLDER (run with QT_QPA_PLATFORM=offscreen).

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextStream>
#include <cmath>
#include <cstdio>

#include "ui/all_in_one_window.h"
#include "ui/analysis_window.h"
#include "ui/dialogs.h"
#include "ui/main_menu_window.h"
#include "ui/scan_windows.h"

namespace {

// Chooses the prepared result file and never shows a message box.
class PictureDialogs final : public vesko::Dialogs {
 public:
  explicit PictureDialogs(QString resultFile) : resultFile_(std::move(resultFile)) {}
  void showMessage(QWidget*, const QString& text) override {
    std::fprintf(stderr, "vesko-screenshots: message: %s\n", qPrintable(text));
  }
  QString chooseFolder(QWidget*) override { return {}; }
  QString chooseOpenFile(QWidget*, const QString&, const QString&) override { return resultFile_; }

 private:
  QString resultFile_;
};

bool WriteText(const QString& path, const QString& text) {
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly)) {
    return false;
  }
  QTextStream(&file) << text;
  return true;
}

// A decreasing-width scan as the control server writes it: the intensity falls with the opening down to
// about 0.27, below which it stays at the background level.
QString SampleResultFile() {
  QString text = QStringLiteral("slit_y1,slit_y2,Intensity\r\n");
  for (int i = 0; i <= 40; ++i) {
    const double width = 1.0 - 0.025 * i;
    const double pos1 = width / 2 + 0.1;
    const double counts = width > 0.27 ? 1000 + 8000 * (width - 0.27) : 1000 + 15 * std::sin(i);
    text += QStringLiteral("%1,%2, %3\r\n")
                .arg(pos1, 0, 'f', 3)
                .arg(width / 2 - 0.1, 0, 'f', 3)
                .arg(std::lround(counts));
  }
  return text;
}

bool Save(QWidget& window, const QDir& folder, const char* name) {
  window.show();
  QApplication::processEvents();
  const QString path = folder.filePath(QString::fromLatin1(name));
  if (!window.grab().save(path, "PNG")) {
    std::fprintf(stderr, "vesko-screenshots: cannot write %s\n", qPrintable(path));
    return false;
  }
  std::printf("%s\n", qPrintable(path));
  window.close();
  return true;
}

}  // namespace

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: vesko-screenshots FOLDER\n");
    return 2;
  }
  const QDir out(QString::fromLocal8Bit(argv[1]));
  QTemporaryDir work;
  const QDir settings(work.path());
  const QString resultFile = work.path() + QStringLiteral("/data/4DSlitDec1DScan.dat");
  // The worked example of the 4D slit scan and a plausible output folder, as the settings files hold them.
  const bool prepared =
      out.mkpath(QStringLiteral(".")) &&
      WriteText(settings.filePath(QStringLiteral("VeskoScriptCreator.ini")),
                QStringLiteral("/data/scans\r\n")) &&
      WriteText(settings.filePath(QStringLiteral("4DSlitScan.ini")),
                QStringLiteral("0\r\n0.100\r\n0.000\r\n1.000\r\n5\r\n4DSlit1DScan.tcl\r\n")) &&
      settings.mkpath(QStringLiteral("data")) && WriteText(resultFile, SampleResultFile());
  if (!prepared) {
    std::fprintf(stderr, "vesko-screenshots: cannot prepare %s\n", qPrintable(work.path()));
    return 1;
  }
  PictureDialogs dialogs(resultFile);
  const std::string settingsFolder = work.path().toStdString();

  bool ok = true;
  {
    vesko::MainMenuWindow menu(settingsFolder, dialogs);
    ok = Save(menu, out, "main_menu.png") && ok;
  }
  {
    vesko::SlitScanWindow slitScan(settingsFolder, dialogs);
    ok = Save(slitScan, out, "slit_scan.png") && ok;
  }
  {
    vesko::AnalysisWindow analysis(dialogs);
    analysis.resize(760, 560);
    for (const char* button : {"cmdGraphFileOpen", "cmdCalculate"}) {
      if (auto* press = analysis.findChild<QPushButton*>(QString::fromLatin1(button))) {
        press->click();
      }
    }
    ok = Save(analysis, out, "analysis.png") && ok;
  }
  {
    vesko::AllInOneWindow combined(settingsFolder, dialogs);
    ok = Save(combined, out, "all_in_one.png") && ok;
  }
  return ok ? 0 : 1;
}
