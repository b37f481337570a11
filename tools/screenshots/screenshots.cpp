// Takes the README's pictures of the program without a display: the main menu, the 4D slit scan
// window, the analysis window with its plot, the combined window and the Results window with a
// repeated slit scan, each saved as a PNG file.
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
#include "ui/results_window.h"
#include "ui/scan_windows.h"

namespace {

// Chooses the prepared result file and never shows a message box.
class PictureDialogs final : public vesko::Dialogs {
 public:
  PictureDialogs(QString resultFile, QStringList scanFiles)
      : resultFile_(std::move(resultFile)), scanFiles_(std::move(scanFiles)) {}
  void showMessage(QWidget*, const QString& text) override {
    std::fprintf(stderr, "vesko-screenshots: message: %s\n", qPrintable(text));
  }
  QString chooseFolder(QWidget*) override { return {}; }
  QString chooseOpenFile(QWidget*, const QString&, const QString&, const QString&) override {
    return resultFile_;
  }
  QStringList chooseOpenFiles(QWidget*, const QString&, const QString&, const QString&) override {
    return scanFiles_;
  }

 private:
  QString resultFile_;
  QStringList scanFiles_;
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

// A slit scan over a beam of about 0.2 width centred at 0.03, three passes and their average as the
// control server writes them; the average ends with the return to the centre.
QString SlitScanFile(const QString& tag, int pass) {
  QString text = QStringLiteral("slit_y1,slit_y2,slit_center,Intensity(%1)\r\n").arg(tag);
  // The beam drifts a little from pass to pass.
  const auto counts = [](double centre, int k) {
    const double d = (centre - 0.01 - 0.02 * k) / 0.09;
    return std::lround(20 + 5000 * std::exp(-d * d / 2) + 90 * std::sin(3.0 * k + 40 * centre));
  };
  for (int i = 0; i <= 40; ++i) {
    const double centre = -0.5 + 0.025 * i;
    text += QStringLiteral("%1,%2, %3, %4\r\n")
                .arg(0.05 + centre, 0, 'f', 3)
                .arg(0.05 - centre, 0, 'f', 3)
                .arg(centre, 0, 'f', 3)
                .arg(pass < 0 ? (counts(centre, 0) + counts(centre, 1) + counts(centre, 2)) / 3
                              : counts(centre, pass));
  }
  if (pass < 0) {
    text += QStringLiteral("0.000,0.000, 0.000, %1\r\n").arg(counts(0, 1));
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
      settings.mkpath(QStringLiteral("data")) && WriteText(resultFile, SampleResultFile()) &&
      WriteText(settings.filePath(QStringLiteral("data/beam_Repeat.dat")),
                SlitScanFile(QStringLiteral("Repeat00"), 0) + SlitScanFile(QStringLiteral("Repeat01"), 1) +
                    SlitScanFile(QStringLiteral("Repeat02"), 2)) &&
      WriteText(settings.filePath(QStringLiteral("data/beam_Average.dat")),
                SlitScanFile(QStringLiteral("Average"), -1));
  if (!prepared) {
    std::fprintf(stderr, "vesko-screenshots: cannot prepare %s\n", qPrintable(work.path()));
    return 1;
  }
  PictureDialogs dialogs(resultFile, {settings.filePath(QStringLiteral("data/beam_Repeat.dat")),
                                      settings.filePath(QStringLiteral("data/beam_Average.dat"))});
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
  {
    vesko::ResultsWindow results(dialogs);
    results.resize(980, 720);
    if (auto* open = results.findChild<QPushButton*>(QStringLiteral("cmdResultsOpen"))) {
      open->click();
    }
    ok = Save(results, out, "results.png") && ok;
  }
  return ok ? 0 : 1;
}
