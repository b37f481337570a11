#include <QChart>
#include <QChartView>
#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <memory>

#include "core/script_naming.h"
#include "tests/ui/ui_test_support.h"
#include "ui/all_in_one_window.h"
#include "ui/preview_window.h"
#include "ui/scan_windows.h"
#include "ui/window_places.h"

using namespace vesko::test;

// The preview window, the Preview beside every File Create, the progress display of a long script, and where
// windows are placed.
class PreviewTest : public QObject {
  Q_OBJECT

  template <typename W>
  bool open() {
    return ws_.show(new W(ws_.settingsFolder(), ws_.dialogs));
  }

  Workspace ws_;

 private slots:
  // A control character in the file name (typing drops them; a pasted or stored name keeps them) reaches
  // neither the window title, nor the progress display, nor a message raw.
  void previewShowsTheHeadAndALongWriteCanBeCancelled() {
    QVERIFY(open<vesko::SlitScanWindow>());
    qobject_cast<QLineEdit*>(Find(ws_.window, "txt4DOutputFileName"))->setText("a\x1B.tcl");
    QCOMPARE(Enter(ws_.window, {"opt4DAxis_0", "txt4DSlitWidth=0.1", "txt4DScanCenter=0", "txt4DScanWidth=1",
                                "txt4DScanDivision=5", "cmd4DPreview"}),
             QString());
    const QPointer<QWidget> preview = Find(ws_.window, "frmPreview");
    QVERIFY(preview && preview->isVisible() && preview->isWindow());
    QCOMPARE(preview->windowTitle(), QStringLiteral("Preview - a\\x1B.tcl"));
    QVERIFY(Find(preview, "chtPreviewAxes")->isHidden());  // no axis table, no chart
    QVERIFY(Click(preview, "cmdPreviewCopy"));
    QCOMPARE(QGuiApplication::clipboard()->text(), Shown(preview, "txtPreviewScript"));
    // With an axis table the chart shows each blade's targets and the y1 blade's limits.
    const QString table = ws_.settings.filePath("Axes.toml");
    QVERIFY(WriteBytes(table, "[axis.slit_y1]\nlower = -0.4\nupper = 0.5\n"));
    QVERIFY(Click(ws_.window, "cmd4DPreview"));
    auto* view = qobject_cast<QChartView*>(Find(preview, "chtPreviewAxes"));
    QVERIFY(view && view->isVisible());
    QCOMPARE(view->chart()->series().size(), 4);
    QVERIFY(QFile::remove(table));

    // 32767 points: far more lines than are shown, yet too few for a progress display. The window is reused.
    QCOMPARE(Enter(ws_.window, {"txt4DScanDivision=32767", "cmd4DPreview", "cmd4DFileCreate"}), QString());
    QCOMPARE(ws_.window->findChildren<QWidget*>("frmPreview"), QList<QWidget*>{preview.data()});
    QCOMPARE(ws_.dialogs.progressLabels, QStringList());
    const QStringList shown = Shown(preview, "txtPreviewScript").split('\n');
    const QByteArray oldScript = ReadBytes(ws_.output.filePath("a\x1B.tcl"));
    const QByteArray oldSettings = ReadBytes(ws_.settings.filePath("4DSlitScan.ini"));
    QStringList written = QString::fromUtf8(oldScript).split("\r\n");
    written.removeLast();  // after the last line end
    const qsizetype head = 20000;
    QCOMPARE(shown.mid(0, head), written.mid(0, head));
    const QString more = QLocale(QLocale::English).toString(written.size() - head);
    QCOMPARE(shown.mid(head), QStringList{QStringLiteral("\u2026 %1 more lines not shown").arg(more)});
    // The summary counts every line, not only those shown.
    QVERIFY(Shown(preview, "txtPreviewSummary").contains(QString::number(written.size())));
    QVERIFY(Click(preview, "cmdPreviewClose"));
    QVERIFY(!preview->isVisible());

    // 50 passes, about ten million lines, cancelled: the old files stay and no temporary file is left.
    ws_.dialogs.cancelProgress = true;
    QCOMPARE(Enter(ws_.window, {"chk4DRepeatActive", "txt4DRepeatTimes=50", "cmd4DFileCreate"}), QString());
    QCOMPARE(ws_.dialogs.progressLabels.size(), 1);
    QVERIFY(ws_.dialogs.progressLabels[0].startsWith("Writing a\\x1B.tcl ("));
    QVERIFY(ws_.dialogs.progressTotals[0] > 9000000);
    QCOMPARE(ws_.dialogs.progressUpdates.size(), 1);
    const std::string path = vesko::ScriptPath(ws_.output.path().toStdString(), "a\\x1B.tcl");
    QCOMPARE(ws_.dialogs.messages,
             QStringList{QString::fromStdString("File Create cancelled: " + path + " was left as it was.")});
    QCOMPARE(ReadBytes(ws_.output.filePath("a\x1B.tcl")), oldScript);
    QCOMPARE(ReadBytes(ws_.settings.filePath("4DSlitScan.ini")), oldSettings);
    QCOMPARE(FileNames(ws_.output.path()), QStringList{"a\x1B.tcl"});
  }

  // The combined window hosts every panel class but the slit move's.
  void everyFileCreateHasPreview() {
    for (const int fileCreates : {1, 9}) {
      QVERIFY(fileCreates == 1 ? open<vesko::SlitMoveWindow>() : open<vesko::AllInOneWindow>());
      const auto buttons = ws_.window->findChildren<QPushButton*>(QRegularExpression("FileCreate"));
      QCOMPARE(buttons.size(), fileCreates);
      for (const QPushButton* fileCreate : buttons) {
        const QString name = QString(fileCreate->objectName()).replace("FileCreate", "Preview");
        QCOMPARE(Shown(ws_.window, name), QStringLiteral("Preview"));
        QCOMPARE(Find(ws_.window, name)->isHidden(), fileCreate->isHidden());
        QCOMPARE(fileCreate->nextInFocusChain(), Find(ws_.window, name));
      }
    }
  }

  void fitInside() {
    const QRect area(0, 0, 1024, 768);
    QCOMPARE(vesko::FitInside(QRect(72, -20, 953, 579), area), QRect(71, 0, 953, 579));  // title bar above
    QCOMPARE(vesko::FitInside(QRect(-50, 10, 300, 200), area), QRect(0, 10, 300, 200));
    QCOMPARE(vesko::FitInside(QRect(-5, -5, 1200, 900), area), QRect(0, 0, 1024, 768));  // larger
  }

  // Where the operator left the frame, and where it opens next time: (-1, -1) the screen's far corner.
  void placeIsRememberedInsideTheScreen() {
    vesko::KeepWindowsOnScreen(*qApp);
    const QPoint rows[][2] = {{{100, 120}, {100, 120}}, {{5000, 4000}, {-1, -1}}};
    for (const auto& [left, reopened] : rows) {
      auto first = std::make_unique<vesko::PreviewWindow>(nullptr);
      first->resize(440, 320);
      first->show();
      QVERIFY(QTest::qWaitForWindowExposed(first.get()));
      vesko::MoveFrameTo(first.get(), left);
      first->close();

      QVERIFY(ws_.show(new vesko::PreviewWindow(nullptr)));
      const QRect area = ws_.window->screen()->availableGeometry();
      const QRect frame = vesko::FrameOf(ws_.window);
      QCOMPARE(ws_.window->size(), QSize(440, 320));
      QCOMPARE(frame.topLeft(), reopened == QPoint(-1, -1)
                                    ? area.bottomRight() - QPoint(frame.width() - 1, frame.height() - 1)
                                    : reopened);
      QVERIFY(area.contains(frame));
      ws_.window->close();  // where it is left now is remembered
    }
  }
};

VESKO_WINDOW_SUITE(PreviewTest, "preview_test")

#include "preview_test.moc"
