// Under a real X server: starts the window manager named first on the command line, opens every top-level
// window of the program and checks that each frame, title bar included, lies inside the screen's available
// area once the manager has framed it. Exit 0 when all do, 1 otherwise.
#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QProcess>
#include <QRegularExpression>
#include <QScreen>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <cstdio>
#include <optional>
#include <vector>

#include "app/app_settings.h"
#include "app/checked_script.h"
#include "core/platform.h"
#include "core/settings_file.h"
#include "generators/axis_table.h"
#include "ui/all_in_one_window.h"
#include "ui/analysis_window.h"
#include "ui/axes_window.h"
#include "ui/dialogs.h"
#include "ui/gonio_y_scan_window.h"
#include "ui/main_menu_window.h"
#include "ui/preview_window.h"
#include "ui/results_window.h"
#include "ui/scan_windows.h"
#include "ui/window_places.h"

namespace {

constexpr qint64 kFramingMs =
    30000;  // the longest wait for the manager to start or to frame a window (a busy machine)
constexpr qint64 kStillMs = 300;  // a frame unchanged this long has settled

void Spin(int ms) {
  QElapsedTimer timer;
  timer.start();
  while (timer.elapsed() < ms) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    QThread::msleep(5);
  }
}

// The output of an X utility, "" when it fails.
QString Run(const QString& program, const QStringList& arguments) {
  QProcess process;
  process.start(program, arguments);
  return process.waitForFinished(5000) && process.exitCode() == 0 ? QString::fromLocal8Bit(process.readAll())
                                                                  : QString();
}

// The number after `label` in `text`, or none.
std::optional<int> NumberAfter(const QString& text, const QString& label) {
  const QRegularExpressionMatch found =
      QRegularExpression(QRegularExpression::escape(label) + QStringLiteral("\\s*(-?\\d+)")).match(text);
  return found.hasMatch() ? std::optional<int>(found.captured(1).toInt()) : std::nullopt;
}

// The window's frame as the X server has it: the client's place on the screen widened by the frame extents
// the manager announced; none while the manager has announced none.
std::optional<QRect> FrameOnServer(const QWidget* window) {
  const QString id = QString::number(window->winId());
  const QString info = Run(QStringLiteral("xwininfo"), {QStringLiteral("-id"), id});
  const QString extents =
      Run(QStringLiteral("xprop"), {QStringLiteral("-id"), id, QStringLiteral("_NET_FRAME_EXTENTS")});
  const QRegularExpressionMatch margins =
      QRegularExpression(QStringLiteral("= (\\d+), (\\d+), (\\d+), (\\d+)")).match(extents);
  const auto x = NumberAfter(info, QStringLiteral("Absolute upper-left X:"));
  const auto y = NumberAfter(info, QStringLiteral("Absolute upper-left Y:"));
  const auto width = NumberAfter(info, QStringLiteral("Width:"));
  const auto height = NumberAfter(info, QStringLiteral("Height:"));
  if (!margins.hasMatch() || !x || !y || !width || !height) {
    return std::nullopt;
  }
  const int left = margins.captured(1).toInt(), right = margins.captured(2).toInt();
  const int top = margins.captured(3).toInt(), bottom = margins.captured(4).toInt();
  return QRect(*x - left, *y - top, *width + left + right, *height + top + bottom);
}

// Waits until `window` has a frame with a title bar that has stopped changing; none on time-out.
std::optional<QRect> WaitFramed(const QWidget* window, qint64 patienceMs = kFramingMs) {
  QElapsedTimer timer;
  timer.start();
  std::optional<QRect> last;
  QElapsedTimer still;
  still.start();
  while (timer.elapsed() < patienceMs) {
    Spin(50);
    const std::optional<QRect> frame = window->isVisible() ? FrameOnServer(window) : std::nullopt;
    if (frame != last) {
      last = frame;
      still.restart();
    } else if (frame && frame->top() < window->geometry().top() && still.elapsed() >= kStillMs) {
      return frame;
    }
  }
  return std::nullopt;
}

// Waits until a window manager has set _NET_SUPPORTING_WM_CHECK on the root window (xprop tells).
bool WaitForManager() {
  QElapsedTimer timer;
  timer.start();
  while (timer.elapsed() < kFramingMs) {
    QProcess xprop;
    xprop.start(QStringLiteral("xprop"),
                {QStringLiteral("-root"), QStringLiteral("_NET_SUPPORTING_WM_CHECK")});
    if (xprop.waitForFinished(2000) && xprop.readAllStandardOutput().contains("window id")) {
      return true;
    }
    Spin(100);
  }
  return false;
}

int failures = 0;

void Check(const QWidget* window, const char* what) {
  const std::optional<QRect> frame = WaitFramed(window);
  const QRect area = window->screen()->availableGeometry();
  const bool inside = frame && area.contains(*frame);
  const QRect shown = frame.value_or(window->geometry());
  std::printf("%-4s %-22s frame %d,%d %dx%d in %d,%d %dx%d%s\n", inside ? "ok" : "FAIL", what, shown.x(),
              shown.y(), shown.width(), shown.height(), area.x(), area.y(), area.width(), area.height(),
              frame ? "" : " (never framed; the client area shown)");
  failures += inside ? 0 : 1;
}

template <typename Window>
void CheckScanWindow(const std::string& settingsFolder, vesko::Dialogs& dialogs, QWidget* menu,
                     const char* what) {
  auto* window = new Window(settingsFolder, dialogs, menu);
  window->show();
  Check(window, what);
  window->hide();
  delete window;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s WINDOW-MANAGER\n", argv[0]);
    return 2;
  }
  // Remembered places go to a fresh folder, never to the user's own.
  QTemporaryDir config;
  qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
  qputenv("QT_QPA_PLATFORM", "xcb");
  // No icon or cursor themes, so that the check reads nothing that only a desktop machine has; the manager
  // keeps the data folders, where its own theme is.
  qputenv("XCURSOR_PATH", config.path().toLocal8Bit());
  const QProcessEnvironment managerEnvironment = QProcessEnvironment::systemEnvironment();
  qputenv("XDG_DATA_DIRS", config.path().toLocal8Bit());
  QApplication app(argc, argv);
  vesko::KeepWindowsOnScreen(app);

  QProcess manager;
  manager.setProcessEnvironment(managerEnvironment);
  manager.setProcessChannelMode(QProcess::ForwardedChannels);
  manager.start(QString::fromLocal8Bit(argv[1]), {});
  if (!manager.waitForStarted(5000)) {
    std::fprintf(stderr, "cannot start %s\n", argv[1]);
    return 1;
  }
  // The manager announces itself on the root window; windows shown before that may keep no frame.
  if (!WaitForManager()) {
    std::fprintf(stderr, "%s never announced itself\n", argv[1]);
    manager.kill();
    return 1;
  }
  // A probe window: once one is framed, the manager is at work. A manager that has only just announced
  // itself may pass over a window mapped meanwhile, so a new probe is tried now and then.
  bool managing = false;
  for (int attempt = 0; attempt < 6 && !managing; ++attempt) {
    QWidget probe;
    probe.resize(200, 100);
    probe.show();
    managing = WaitFramed(&probe, kFramingMs / 6).has_value();
  }
  if (!managing) {
    std::fprintf(stderr, "%s framed no window\n", argv[1]);
    manager.kill();
    return 1;
  }

  QTemporaryDir settings;
  QTemporaryDir output;
  const std::string settingsFolder = settings.path().toStdString();
  // A stored folder makes the main menu open the combined window too.
  vesko::SaveSettings(vesko::JoinPath(settingsFolder, vesko::kAppSettingsFile),
                      {output.path().toStdString()});
  vesko::AppDialogs dialogs;
  {
    vesko::MainMenuWindow menu(settingsFolder, dialogs);
    menu.show();
    Check(&menu, "main menu");
    for (QWidget* window : QApplication::topLevelWidgets()) {
      if (window->objectName() == QStringLiteral("frmAllInOne")) {
        Check(window, "combined window");
      }
    }
    CheckScanWindow<vesko::SlitScanWindow>(settingsFolder, dialogs, &menu, "4D slit scan");
    CheckScanWindow<vesko::SlitDecScanWindow>(settingsFolder, dialogs, &menu, "4D slit decrease scan");
    CheckScanWindow<vesko::CollScanWindow>(settingsFolder, dialogs, &menu, "collimator scan");
    CheckScanWindow<vesko::GonioStageScanWindow>(settingsFolder, dialogs, &menu, "gonio stage scan");
    CheckScanWindow<vesko::GonioYScanWindow>(settingsFolder, dialogs, &menu, "GonioY scan");
    CheckScanWindow<vesko::SlitMoveWindow>(settingsFolder, dialogs, &menu, "4D slit move");
    CheckScanWindow<vesko::LensScanWindow>(settingsFolder, dialogs, &menu, "lens scan");
    CheckScanWindow<vesko::AxesWindow>(settingsFolder, dialogs, &menu, "axes");
    {
      vesko::AnalysisWindow window(dialogs, &menu);
      window.show();
      Check(&window, "analysis");
    }
    {
      vesko::ResultsWindow window(dialogs, &menu);
      window.show();
      Check(&window, "results");
    }
    {
      // The preview opens beside a scan window at the right edge of the screen.
      vesko::SlitScanWindow scan(settingsFolder, dialogs, &menu);
      scan.show();
      WaitFramed(&scan);
      scan.move(scan.screen()->availableGeometry().topRight() - QPoint(scan.frameGeometry().width(), 0));
      WaitFramed(&scan);
      vesko::SlitScanForm form{
          .axisY = true, .slitWidth = "0.1", .scanCenter = "0", .scanWidth = "1", .division = "5"};
      auto* preview = new vesko::PreviewWindow(&scan);
      preview->showScript(*vesko::CheckScript(form, settingsFolder), output.path().toStdString(), {},
                          dialogs);
      preview->show();
      Check(preview, "preview");
    }
    // A message box over the main menu, checked while it is up.
    QTimer::singleShot(0, [] {
      QWidget* box = QApplication::activeModalWidget();
      if (!box) {
        std::printf("FAIL message box never shown\n");
        ++failures;
        return;
      }
      Check(box, "message box");
      if (box->width() < vesko::TitleRoom(*box)) {
        std::printf("FAIL message box %d wide, its title needs %d\n", box->width(), vesko::TitleRoom(*box));
        ++failures;
      }
      box->close();
    });
    dialogs.showMessage(&menu, QStringLiteral("Setting Error!"));
    menu.hide();
  }

  manager.terminate();
  if (!manager.waitForFinished(3000)) {
    manager.kill();
    manager.waitForFinished(3000);
  }
  std::printf("%d window(s) outside the screen or never framed\n", failures);
  return failures == 0 ? 0 : 1;
}
