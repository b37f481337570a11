#include <QChart>
#include <QChartView>
#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QLineSeries>
#include <QLocale>
#include <QPushButton>
#include <QRegularExpression>
#include <memory>

#include "core/script_naming.h"
#include "tests/ui/ui_test_support.h"
#include "ui/all_in_one_window.h"
#include "ui/scan_windows.h"

using namespace vesko::test;

// The worked example of the slit scan: y pair, slit width 0.1, centre 0, width 1, five points.
const QStringList kSlitScanExample = {"opt4DAxis_0", "txt4DSlitWidth=0.1", "txt4DScanCenter=0",
                                      "txt4DScanWidth=1", "txt4DScanDivision=5"};

// The preview window, the Preview beside every File Create, and the progress display of a long script.
class PreviewTest : public QObject {
  Q_OBJECT

  template <typename W>
  bool open() {
    return ws_->show(new W(ws_->settingsFolder(), ws_->dialogs));
  }
  QString outputFile(const QString& name) const { return ws_->output.filePath(name); }

  std::unique_ptr<Workspace> ws_;

 private slots:
  void init() { ws_ = std::make_unique<Workspace>(); }
  void cleanup() { ws_.reset(); }

  void previewShowsTheHeadAndCopiesIt() {
    QVERIFY(open<vesko::SlitScanWindow>());
    QCOMPARE(Enter(ws_->window, kSlitScanExample + QStringList{"cmd4DPreview"}), QString());
    const QPointer<QWidget> previewWindow = Find(ws_->window, "frmPreview");
    QVERIFY(previewWindow && previewWindow->isVisible() && previewWindow->isWindow());
    QCOMPARE(previewWindow->windowTitle(), QStringLiteral("Preview - 4DSlit1DScan.tcl"));
    // Without an axis table: no chart (the summary's texts are the generators' to check).
    QVERIFY(Find(previewWindow, "chtPreviewAxes")->isHidden());
    QVERIFY(Click(previewWindow, "cmdPreviewCopy"));
    QCOMPARE(QGuiApplication::clipboard()->text(), Shown(previewWindow, "txtPreviewScript"));

    // With an axis table the chart above the script shows each blade's targets and the y1 blade's limits.
    const QString table = ws_->settings.filePath("Axes.toml");
    QVERIFY(WriteBytes(table, "[axis.slit_y1]\nlower = -0.4\nupper = 0.5\n"));
    QVERIFY(Click(ws_->window, "cmd4DPreview"));
    auto* view = qobject_cast<QChartView*>(Find(previewWindow, "chtPreviewAxes"));
    QVERIFY(view && view->isVisible());
    QStringList drawn;
    for (const QAbstractSeries* series : view->chart()->series()) {
      QStringList points;
      for (const QPointF& p : static_cast<const QLineSeries*>(series)->points()) {
        points << QStringLiteral("%1:%2").arg(p.x()).arg(p.y());
      }
      drawn << series->name() + ' ' + points.join(' ');
    }
    QCOMPARE(drawn, (QStringList{"slit_y1 1:-0.45 3:-0.2 5:0.05 7:0.3 9:0.55 11:0.05",
                                 "slit_y1 lower 1:-0.4 12:-0.4", "slit_y1 upper 1:0.5 12:0.5",
                                 "slit_y2 2:0.55 4:0.3 6:0.05 8:-0.2 10:-0.45 12:0.05"}));
    QVERIFY(QFile::remove(table));

    // 32767 points: far more lines than are shown, yet too few for a progress display. The window is reused.
    QCOMPARE(Enter(ws_->window, {"txt4DScanDivision=32767", "cmd4DPreview"}), QString());
    QCOMPARE(ws_->window->findChildren<QWidget*>("frmPreview"), QList<QWidget*>{previewWindow.data()});
    QCOMPARE(ws_->dialogs.progressLabels, QStringList());
    const QStringList shown = Shown(previewWindow, "txtPreviewScript").split('\n');
    const QString summary = Shown(previewWindow, "txtPreviewSummary");
    QVERIFY(Click(previewWindow, "cmdPreviewClose"));
    QVERIFY(!previewWindow->isVisible());

    QVERIFY(Click(ws_->window, "cmd4DFileCreate"));
    QStringList written = QString::fromUtf8(ReadBytes(outputFile("4DSlit1DScan.tcl"))).split("\r\n");
    written.removeLast();  // after the last line end
    const qsizetype head = 20000;
    QCOMPARE(shown.size(), head + 1);
    QCOMPARE(shown.mid(0, head), written.mid(0, head));
    const QString more = QLocale(QLocale::English).toString(written.size() - head);
    QCOMPARE(shown.last(), QStringLiteral("\u2026 %1 more lines not shown").arg(more));
    // The summary counts every line, not only those shown.
    QVERIFY2(summary.contains(QString::number(written.size())), qPrintable(summary));
  }

  // The combined window hosts every panel class but the slit move's.
  void everyFileCreateHasPreview() {
    for (const int fileCreates : {1, 9}) {
      delete ws_->window.data();
      QVERIFY(fileCreates == 1 ? open<vesko::SlitMoveWindow>() : open<vesko::AllInOneWindow>());
      const auto buttons = ws_->window->findChildren<QPushButton*>(QRegularExpression("FileCreate"));
      QCOMPARE(buttons.size(), fileCreates);
      for (const QPushButton* fileCreate : buttons) {
        const QString name = QString(fileCreate->objectName()).replace("FileCreate", "Preview");
        const QWidget* preview = Find(ws_->window, name);
        QCOMPARE(Shown(ws_->window, name), QStringLiteral("Preview"));
        QCOMPARE(preview->isHidden(), fileCreate->isHidden());
        QCOMPARE(fileCreate->nextInFocusChain(), preview);
      }
    }
  }

  void cancelledHugeScriptKeepsOldFiles() {
    const QByteArray oldScript = "# the operator's previous script\r\n";
    const QByteArray oldSettings = "keep\r\n";
    QVERIFY(WriteBytes(outputFile("4DSlit1DScan.tcl"), oldScript));
    QVERIFY(WriteBytes(ws_->settings.filePath("4DSlitScan.ini"), oldSettings));
    ws_->dialogs.cancelProgress = true;
    QVERIFY(open<vesko::SlitScanWindow>());
    // 32767 points 50 times over: about ten million lines.
    QCOMPARE(Enter(ws_->window, kSlitScanExample + QStringList{"txt4DScanDivision=32767", "chk4DRepeatActive",
                                                               "txt4DRepeatTimes=50", "cmd4DFileCreate"}),
             QString());

    QCOMPARE(ws_->dialogs.progressLabels.size(), 1);
    QVERIFY2(ws_->dialogs.progressLabels[0].startsWith("Writing 4DSlit1DScan.tcl ("),
             qPrintable(ws_->dialogs.progressLabels[0]));
    QVERIFY(ws_->dialogs.progressTotals[0] > 9000000);
    QCOMPARE(ws_->dialogs.progressUpdates.size(), 1);
    const std::string path = vesko::ScriptPath(ws_->output.path().toStdString(), "4DSlit1DScan.tcl");
    QCOMPARE(ws_->dialogs.messages,
             QStringList{QString::fromStdString("File Create cancelled: " + path + " was left as it was.")});
    QCOMPARE(ReadBytes(outputFile("4DSlit1DScan.tcl")), oldScript);
    QCOMPARE(ReadBytes(ws_->settings.filePath("4DSlitScan.ini")), oldSettings);
    // No temporary file is left beside the script.
    QCOMPARE(FileNames(ws_->output.path()), QStringList{"4DSlit1DScan.tcl"});
    QCOMPARE(Shown(ws_->window, "lbl4DStatus"), QStringLiteral("Output Start"));

    // Six passes: just over a million lines, still enough for a progress display. A control character in the
    // file name (typing drops them; a pasted or stored name keeps them) reaches neither the progress display
    // nor the window title raw.
    ws_->dialogs.cancelProgress = false;
    QCOMPARE(Enter(ws_->window, {"txt4DRepeatTimes=6"}), QString());
    qobject_cast<QLineEdit*>(Find(ws_->window, "txt4DOutputFileName"))->setText("a\x1B.tcl");
    QVERIFY(Click(ws_->window, "cmd4DPreview"));
    QCOMPARE(ws_->dialogs.progressLabels.size(), 2);
    QVERIFY2(ws_->dialogs.progressLabels[1].startsWith("Previewing a\\x1B.tcl ("),
             qPrintable(ws_->dialogs.progressLabels[1]));
    QCOMPARE(Find(ws_->window, "frmPreview")->windowTitle(), QStringLiteral("Preview - a\\x1B.tcl"));
  }
};

VESKO_WINDOW_SUITE(PreviewTest, "preview_test")

#include "preview_test.moc"
