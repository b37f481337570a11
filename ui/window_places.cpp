#include "ui/window_places.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QGuiApplication>
#include <QHash>
#include <QMargins>
#include <QScreen>
#include <QSettings>
#include <QTimer>
#include <QWidget>
#include <algorithm>

namespace vesko {

namespace {

// A window manager frames a new window some time after it is shown; until then the frame is the client area.
// Moves and resizes this soon after a showing are the system's, and are corrected.
constexpr qint64 kSettlingMs = 5000;
// Framing need not move the client area, and then tells the window nothing: the frame is looked at again
// this long after the showing.
constexpr int kLookAgainMs[] = {50, 200, 500, 1000, 2500};
// Gap between a window and the one that opened it.
constexpr int kBesideGap = 8;

QSettings Places() {
  return QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("VeskoScriptCreator"),
                   QStringLiteral("window-places"));
}

bool IsPlacedWindow(const QWidget* widget) {
  if (!widget->isWindow()) {
    return false;
  }
  const Qt::WindowType type = widget->windowType();
  return type == Qt::Window || type == Qt::Dialog;
}

QRect AvailableAreaFor(const QWidget* window, const QRect& frame) {
  const QScreen* screen = QGuiApplication::screenAt(frame.center());
  if (!screen) {
    screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
  }
  return screen ? screen->availableGeometry() : QRect();
}

// The frame a window manager puts round a window, as far as the toolkit knows it. The toolkit learns it
// late and keeps it until the window is next moved or resized; until then it may be nothing or a frame
// smaller than the window, so this much is assumed for the title bar and the borders.
constexpr QMargins kAssumedFrame(8, 32, 8, 8);

QMargins FrameMarginsOf(const QWidget* window) {
  const QRect frame = window->frameGeometry();
  const QRect client = window->geometry();
  const QMargins known(client.left() - frame.left(), client.top() - frame.top(),
                       frame.right() - client.right(), frame.bottom() - client.bottom());
  const bool plausible = known.top() > 0 && known.left() >= 0 && known.right() >= 0 && known.bottom() >= 0;
  return plausible ? known : kAssumedFrame;
}

bool Resizable(const QWidget* window) {
  return window->minimumSize() != window->maximumSize();
}

// Watches every top-level window: places it when it is shown, corrects what the system does to it while it
// settles, and remembers where the operator leaves it.
class WindowKeeper final : public QObject {
 public:
  using QObject::QObject;

  bool eventFilter(QObject* watched, QEvent* event) override {
    // Every event of the program passes here: the few that matter are picked out first.
    const QEvent::Type type = event->type();
    if (type != QEvent::Show && type != QEvent::Move && type != QEvent::Resize && type != QEvent::Hide) {
      return false;
    }
    auto* window = qobject_cast<QWidget*>(watched);
    if (!window || !IsPlacedWindow(window)) {
      return false;
    }
    switch (type) {
      case QEvent::Show:
        place(window);
        break;
      case QEvent::Move:
      case QEvent::Resize:
        if (settling(window)) {
          KeepInsideScreen(window);
        }
        break;
      case QEvent::Hide:
        remember(window);
        break;
      default:
        break;
    }
    return false;
  }

 private:
  struct Watched {
    QElapsedTimer shown;
    bool placed = false;  // restored or put beside its opener, once in the window's life
  };

  bool settling(const QWidget* window) const {
    const auto found = windows_.constFind(window);
    return found != windows_.constEnd() && window->isVisible() && found->shown.elapsed() < kSettlingMs;
  }

  void place(QWidget* window) {
    if (!windows_.contains(window)) {
      connect(window, &QObject::destroyed, this, [this, window] { windows_.remove(window); });
    }
    Watched& watched = windows_[window];
    watched.shown.start();
    if (!watched.placed) {
      watched.placed = true;
      const QWidget* opener = window->parentWidget() ? window->parentWidget()->window() : nullptr;
      if (restore(window)) {
        // where the operator left it
      } else if (opener && !window->isModal()) {
        MoveFrameTo(window, FrameOf(opener).topRight() + QPoint(kBesideGap + 1, 0));
      } else if (!opener && !window->testAttribute(Qt::WA_Moved)) {
        // A first window that no one placed starts at the top left, leaving room beside it.
        MoveFrameTo(window, AvailableAreaFor(window, FrameOf(window)).topLeft());
      }
    }
    KeepInsideScreen(window);
    for (const int ms : kLookAgainMs) {
      QTimer::singleShot(ms, window, [this, window] {
        if (settling(window)) {
          KeepInsideScreen(window);
        }
      });
    }
  }

  // The program's own windows are named "frm..."; message boxes and file dialogs place themselves.
  static bool Remembered(const QWidget* window) {
    return window->objectName().startsWith(QStringLiteral("frm"));
  }

  // Puts the window where the operator last left it; false when that is not known.
  static bool restore(QWidget* window) {
    const QString name = window->objectName();
    QSettings places = Places();
    if (!Remembered(window) || !places.contains(name + QStringLiteral("/frame"))) {
      return false;
    }
    const QSize size = places.value(name + QStringLiteral("/size")).toSize();
    if (size.isValid() && Resizable(window)) {
      window->resize(size.expandedTo(window->minimumSize()));
    }
    MoveFrameTo(window, places.value(name + QStringLiteral("/frame")).toPoint());
    return true;
  }

  static void remember(const QWidget* window) {
    if (!Remembered(window)) {
      return;
    }
    QSettings places = Places();
    const QString name = window->objectName();
    places.setValue(name + QStringLiteral("/frame"), FrameOf(window).topLeft());
    places.setValue(name + QStringLiteral("/size"), window->size());
  }

  QHash<const QWidget*, Watched> windows_;
};

}  // namespace

QRect FitInside(const QRect& frame, const QRect& area) {
  if (!area.isValid()) {
    return frame;
  }
  QRect fitted(frame.topLeft(), frame.size().boundedTo(area.size()));
  fitted.moveLeft(std::clamp(fitted.left(), area.left(), area.right() - fitted.width() + 1));
  fitted.moveTop(std::clamp(fitted.top(), area.top(), area.bottom() - fitted.height() + 1));
  return fitted;
}

QRect FrameOf(const QWidget* window) {
  return window->geometry().marginsAdded(FrameMarginsOf(window));
}

void MoveFrameTo(QWidget* window, const QPoint& frameTopLeft) {
  // move() places the frame as the toolkit knows it, which may be none yet.
  const QPoint clientAt = frameTopLeft + (window->geometry().topLeft() - FrameOf(window).topLeft());
  window->move(clientAt - (window->geometry().topLeft() - window->frameGeometry().topLeft()));
}

void KeepInsideScreen(QWidget* window) {
  const QRect frame = FrameOf(window);
  const QRect fitted = FitInside(frame, AvailableAreaFor(window, frame));
  if (fitted.size() != frame.size() && Resizable(window)) {
    window->resize(window->size() - (frame.size() - fitted.size()));
  }
  if (fitted.topLeft() != frame.topLeft()) {
    MoveFrameTo(window, fitted.topLeft());
  }
}

void KeepWindowsOnScreen(QApplication& application) {
  application.installEventFilter(new WindowKeeper(&application));
}

}  // namespace vesko
