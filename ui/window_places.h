#pragma once

#include <QPoint>
#include <QRect>

class QApplication;
class QWidget;

namespace vesko {

/// `frame` moved, and shrunk where it is larger, so that it lies inside `area`.
QRect FitInside(const QRect& frame, const QRect& area);

/// The frame of `window` on the screen, title bar included; a frame not known yet is taken as a common title
/// bar and border round the client area.
QRect FrameOf(const QWidget* window);

/// Moves `window` so that its frame (FrameOf) has its top left corner at `frameTopLeft`.
void MoveFrameTo(QWidget* window, const QPoint& frameTopLeft);

/// Moves `window` so that its frame (title bar included) lies inside the available area of its screen;
/// shrinks a resizable window that is larger. A frame not known yet is taken as a common title bar and
/// border.
void KeepInsideScreen(QWidget* window);

/// From now on every top-level window of `application` is kept inside the available area of its screen,
/// measured by its frame, also once the window manager has added the frame; a window with an object name
/// opens where the operator last left it (per user, in "window-places.ini" of the user's configuration,
/// never in the program's settings files), and a non-modal window opened by another one opens beside it.
void KeepWindowsOnScreen(QApplication& application);

}  // namespace vesko
