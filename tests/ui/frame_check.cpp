// Under a real X server: starts the window manager named first on the command line, opens three of the
// program's windows and checks that each frame, title bar included, lies inside the screen's
// available area once the manager has framed it. Exit 0 when all do, 1 otherwise.
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QProcess>
#include <QRegularExpression>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <optional>

#include "ui/dialogs.h"
#include "ui/preview_window.h"
#include "ui/results_window.h"
#include "ui/window_places.h"

namespace {

constexpr qint64 kFramingMs = 30000;  // the longest wait for the manager to frame a window (a busy machine)
constexpr qint64 kStillMs = 300;      // a frame unchanged this long has settled

// The output of an X utility, "" when it fails.
QString Run(const QString& program, const QStringList& arguments) {
  QProcess process;
  process.start(program, arguments);
  return process.waitForFinished(5000) && process.exitCode() == 0 ? QString::fromLocal8Bit(process.readAll())
                                                                  : QString();
}

// The window's frame as the X server has it: the client's place on the screen widened by the frame extents
// the manager announced; none while the manager has announced none.
std::optional<QRect> FrameOnServer(const QWidget* window) {
  const QString id = QString::number(window->winId());
  const QRegularExpressionMatch place =
      QRegularExpression(
          QStringLiteral("upper-left X: *(-?\\d+).*?upper-left Y: *(-?\\d+).*?Width: *(\\d+).*?"
                         "Height: *(\\d+)"),
          QRegularExpression::DotMatchesEverythingOption)
          .match(Run(QStringLiteral("xwininfo"), {QStringLiteral("-id"), id}));
  const QRegularExpressionMatch margins =
      QRegularExpression(QStringLiteral("= (\\d+), (\\d+), (\\d+), (\\d+)"))
          .match(Run(QStringLiteral("xprop"),
                     {QStringLiteral("-id"), id, QStringLiteral("_NET_FRAME_EXTENTS")}));
  if (!margins.hasMatch() || !place.hasMatch()) {
    return std::nullopt;
  }
  const auto at = [](const QRegularExpressionMatch& m, int n) { return m.captured(n).toInt(); };
  return QRect(at(place, 1), at(place, 2), at(place, 3), at(place, 4))
      .adjusted(-at(margins, 1), -at(margins, 3), at(margins, 2), at(margins, 4));
}

// Waits until `window` has a frame with a title bar that has stopped changing; none on time-out.
std::optional<QRect> WaitFramed(const QWidget* window, qint64 patienceMs = kFramingMs) {
  QElapsedTimer timer, still;
  timer.start();
  still.start();
  std::optional<QRect> last;
  while (timer.elapsed() < patienceMs) {
    QEventLoop loop;
    QTimer::singleShot(50, &loop, &QEventLoop::quit);
    loop.exec();
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

}  // namespace

int main(int argc, char** argv) {
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
  manager.start(QString::fromLocal8Bit(argc > 1 ? argv[1] : ""), {});
  // A probe window: once one is framed, the manager is at work. A manager that is still starting may pass
  // over a window mapped meanwhile, so a new probe is tried now and then.
  bool managing = false;
  for (int attempt = 0; attempt < 12 && !managing && manager.waitForStarted(5000); ++attempt) {
    QWidget probe;
    probe.resize(200, 100);
    probe.show();
    managing = WaitFramed(&probe, kFramingMs / 6).has_value();
  }
  if (!managing) {
    std::fprintf(stderr, "the window manager did not start or framed no window\n");
    manager.kill();
    return 1;
  }

  // The tallest window at the screen's top left, a preview opened beside it (so past the screen's right edge
  // but for the correction) and a message box over it.
  vesko::AppDialogs dialogs;
  {
    vesko::ResultsWindow results(dialogs);
    results.show();
    Check(&results, "results");
    vesko::PreviewWindow preview(&results);
    preview.show();
    Check(&preview, "preview beside it");
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
    dialogs.showMessage(&results, QStringLiteral("Setting Error!"));
  }
  manager.kill();
  manager.waitForFinished(3000);
  std::printf("%d window(s) outside the screen or never framed\n", failures);
  return failures == 0 ? 0 : 1;
}
