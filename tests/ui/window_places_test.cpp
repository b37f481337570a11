#include "ui/window_places.h"

#include <QApplication>
#include <QScreen>
#include <QTest>
#include <memory>

#include "tests/ui/ui_test_support.h"
#include "ui/preview_window.h"

using namespace vesko::test;

class WindowPlacesTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { vesko::KeepWindowsOnScreen(*qApp); }

  void fitInside() {
    const QRect area(0, 0, 1024, 768);
    QCOMPARE(vesko::FitInside(QRect(72, -20, 953, 579), area), QRect(71, 0, 953, 579));  // title bar above
    QCOMPARE(vesko::FitInside(QRect(-50, 10, 300, 200), area), QRect(0, 10, 300, 200));
    QCOMPARE(vesko::FitInside(QRect(-5, -5, 1200, 900), area), QRect(0, 0, 1024, 768));  // larger
  }

  // Where the operator left the frame, and where it opens next time: (-1, -1) the screen's far corner.
  void placeIsRememberedInsideTheScreen() {
    const QPoint rows[][2] = {{{100, 120}, {100, 120}}, {{5000, 4000}, {-1, -1}}};
    for (const auto& [left, reopened] : rows) {
      Workspace ws;
      auto first = std::make_unique<vesko::PreviewWindow>(nullptr);
      first->resize(440, 320);
      first->show();
      QVERIFY(QTest::qWaitForWindowExposed(first.get()));
      vesko::MoveFrameTo(first.get(), left);
      first->close();

      QVERIFY(ws.show(new vesko::PreviewWindow(nullptr)));
      const QRect area = ws.window->screen()->availableGeometry();
      const QRect frame = vesko::FrameOf(ws.window);
      QCOMPARE(ws.window->size(), QSize(440, 320));
      QCOMPARE(frame.topLeft(), reopened == QPoint(-1, -1)
                                    ? area.bottomRight() - QPoint(frame.width() - 1, frame.height() - 1)
                                    : reopened);
      QVERIFY(area.contains(frame));
    }
  }
};

VESKO_WINDOW_SUITE(WindowPlacesTest, "window_places_test")

#include "window_places_test.moc"
