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
  void fitInside_data();
  void fitInside();
  void placeIsRememberedInsideTheScreen_data();
  void placeIsRememberedInsideTheScreen();
};

void WindowPlacesTest::fitInside_data() {
  QTest::addColumn<QRect>("frame");
  QTest::addColumn<QRect>("fitted");  // inside the area 0,0 1024x768
  QTest::newRow("inside") << QRect(10, 20, 300, 200) << QRect(10, 20, 300, 200);
  QTest::newRow("title bar above the top") << QRect(72, -20, 953, 579) << QRect(71, 0, 953, 579);
  QTest::newRow("below the bottom edge") << QRect(100, 700, 300, 83) << QRect(100, 685, 300, 83);
  QTest::newRow("left of the screen") << QRect(-50, 10, 300, 200) << QRect(0, 10, 300, 200);
  QTest::newRow("larger than the screen") << QRect(-5, -5, 1200, 900) << QRect(0, 0, 1024, 768);
}

void WindowPlacesTest::fitInside() {
  QFETCH(QRect, frame);
  QFETCH(QRect, fitted);
  QCOMPARE(vesko::FitInside(frame, QRect(0, 0, 1024, 768)), fitted);
}

void WindowPlacesTest::placeIsRememberedInsideTheScreen_data() {
  QTest::addColumn<QPoint>("left");      // where the operator left the frame
  QTest::addColumn<QPoint>("reopened");  // where it opens next time; (-1, -1) the screen's far corner
  QTest::newRow("on the screen") << QPoint(100, 120) << QPoint(100, 120);
  QTest::newRow("screen gone") << QPoint(5000, 4000) << QPoint(-1, -1);
}

void WindowPlacesTest::placeIsRememberedInsideTheScreen() {
  QFETCH(QPoint, left);
  QFETCH(QPoint, reopened);
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

VESKO_WINDOW_SUITE(WindowPlacesTest, "window_places_test")

#include "window_places_test.moc"
