#include <QApplication>
#include <QChart>
#include <QChartView>
#include <QClipboard>
#include <QComboBox>
#include <QTableWidget>
#include <QTest>
#include <memory>

#include "core/format.h"
#include "tests/ui/ui_test_support.h"
#include "ui/results_panel.h"
#include "ui/results_window.h"

using namespace vesko::test;

class ResultsWindowTest : public QObject {
  Q_OBJECT

  vesko::ResultsPanel* openWindow() {
    auto* window = new vesko::ResultsWindow(ws_->dialogs);
    return ws_->show(window) ? window->panel() : nullptr;
  }
  QString outputFile(const char* name) const { return ws_->output.filePath(QLatin1String(name)); }
  // The number of drawn series named `objectName`.
  int drawn(const char* objectName) const {
    int count = 0;
    for (QAbstractSeries* series : ws_->window->findChild<QChartView*>("chtResults")->chart()->series()) {
      count += series->objectName() == QLatin1String(objectName) ? 1 : 0;
    }
    return count;
  }

  std::unique_ptr<Workspace> ws_;

 private slots:
  void init() { ws_ = std::make_unique<Workspace>(); }
  void cleanup() { ws_.reset(); }

  void opensPlotsAndExports() {
    QVERIFY(
        WriteBytes(outputFile("scan_Repeat.dat"),
                   CrLfLines({"slit_y1,slit_y2,slit_center,Intensity(Repeat00)", "-0.200,0.300, -0.250, 2",
                              "0.050,0.050, 0.000, 6", "slit_y1,slit_y2,slit_center,Intensity(Repeat01)",
                              "-0.200,0.300, -0.250, 3", "0.050,0.050, 0.000, 5"})));
    QVERIFY(
        WriteBytes(outputFile("scan_Average.dat"),
                   CrLfLines({"slit_y1,slit_y2,slit_center,Intensity(Average)", "-0.200,0.300, -0.250, 2",
                              "0.050,0.050, 0.000, 5", "0.300,-0.200, 0.250, 1", "0.050, 0.050, 0.000, 9"})));
    ws_->dialogs.openFilesAnswers.append({outputFile("scan_Repeat.dat"), outputFile("scan_Average.dat")});
    vesko::ResultsPanel* panel = openWindow();
    QVERIFY(panel);
    QVERIFY(Click(ws_->window, QStringLiteral("cmdResultsOpen")));
    QCOMPARE(ws_->dialogs.openFilesFolders, QStringList{ws_->output.path()});
    QCOMPARE(ws_->dialogs.messages, QStringList());
    // Two passes and the average, whose return to the centre is a marker of its own.
    QCOMPARE(drawn("curve"), 3);
    QCOMPARE(drawn("returnRow"), 1);
    QCOMPARE(drawn("peakMarker"), 3);
    auto* table = ws_->window->findChild<QTableWidget*>("tblResultsFigures");
    QCOMPARE(table->rowCount(), 3);
    QCOMPARE(table->item(2, 1)->text() + ' ' + table->item(2, 2)->text() + ' ' + table->item(2, 3)->text(),
             QStringLiteral("Average 3 0.00000"));

    // A rubber band's zoom, then "Reset Zoom" back to every point.
    QChart* chart = ws_->window->findChild<QChartView*>("chtResults")->chart();
    const QRectF all(chart->mapToValue(chart->plotArea().topLeft()),
                     chart->mapToValue(chart->plotArea().bottomRight()));
    chart->zoomIn(chart->plotArea().adjusted(40, 40, -40, -40));
    QVERIFY(chart->mapToValue(chart->plotArea().topLeft()) != all.topLeft());
    QVERIFY(Click(ws_->window, QStringLiteral("cmdResultsResetZoom")));
    QCOMPARE(chart->mapToValue(chart->plotArea().topLeft()), all.topLeft());
    // The position under the cursor, in the axes' units.
    auto* view = ws_->window->findChild<QChartView*>("chtResults");
    const QPoint middle = view->mapFromScene(chart->mapToScene(chart->plotArea().center()));
    QTest::mouseMove(view->viewport(), middle);
    const QPointF value = chart->mapToValue(QPointF(middle));
    QCOMPARE(
        Shown(ws_->window, QStringLiteral("lblResultsCursor")),
        QString::fromStdString("x = " + vesko::FormatF5(value.x()) + "  y = " + vesko::FormatF5(value.y())));

    ws_->dialogs.saveFileAnswers = {outputFile("plot.png"), outputFile("plot.svg"),
                                    outputFile("figures.csv")};
    QVERIFY(Click(ws_->window, QStringLiteral("cmdResultsExportPlot")));
    QVERIFY(Click(ws_->window, QStringLiteral("cmdResultsExportPlot")));
    QVERIFY(Click(ws_->window, QStringLiteral("cmdResultsExportFigures")));
    QCOMPARE(ws_->dialogs.messages, QStringList());
    QVERIFY(ReadBytes(outputFile("plot.png")).startsWith("\x89PNG"));
    QVERIFY(ReadBytes(outputFile("plot.svg")).contains("<svg"));
    const QList<QByteArray> csv = ReadBytes(outputFile("figures.csv")).split('\n');
    QCOMPARE(csv.size(), 5);  // header, three series, the empty rest after the last line end
    QCOMPARE(csv[0],
             QByteArray("file,series,points,max_x,max_y,min_x,min_y,com,half_left,half_right,fwhm,cen,"
                        "edge_x,edge_slope"));
    QVERIFY(
        csv[3].endsWith(",Average,3,0.00000,5.00000,0.25000,1.00000,-0.05000,-0.16667,0.12500,0.29167,"
                        "-0.02083,0.12500,-16.00000"));
    QVERIFY(Click(ws_->window, QStringLiteral("cmdResultsCopyFigures")));
    QCOMPARE(QApplication::clipboard()->text(), panel->figuresCsv());
  }

  void followPicksUpAppendedRows() {
    const QString path = outputFile("lens.dat");
    QVERIFY(WriteBytes(path, CrLfLines({"lens_y, Io", "0.150, 7", "0.050, 9"})));
    ws_->dialogs.openFilesAnswers.append({path});
    vesko::ResultsPanel* panel = openWindow();
    QVERIFY(panel);
    QVERIFY(Click(ws_->window, QStringLiteral("cmdResultsOpen")));
    QVERIFY(Click(ws_->window, QStringLiteral("chkResultsFollow")));
    const auto points = [panel] { return panel->files().at(0).set.series.at(0).x.size(); };
    QCOMPARE(points(), std::size_t{2});

    QFile file(path);
    QVERIFY(file.open(QIODevice::Append));
    // The control server's writes may end inside a row: that row waits for its line end.
    file.write("-0.050, 8\r\n-0.150, 1");
    file.flush();
    QTRY_COMPARE_WITH_TIMEOUT(points(), std::size_t{3}, 5000);
    file.write("2\r\n");
    file.flush();
    QTRY_COMPARE_WITH_TIMEOUT(points(), std::size_t{4}, 5000);
    QCOMPARE(panel->files().at(0).set.series.at(0).y.back(), 12.0);
    // The return to the centre, once written, leaves the points and becomes the marker.
    file.write("0.000, 10\r\n");
    file.close();
    QTRY_VERIFY_WITH_TIMEOUT(panel->files().at(0).set.series.at(0).returnRow.has_value(), 5000);
    QCOMPARE(points(), std::size_t{4});
    QCOMPARE(drawn("returnRow"), 1);
    // A file gone for a moment keeps what was shown until it is back.
    QVERIFY(QFile::remove(path));
    QVERIFY(WriteBytes(path, CrLfLines({"lens_y, Io", "0.150, 7"})));
    QTRY_COMPARE_WITH_TIMEOUT(points(), std::size_t{1}, 5000);
    QCOMPARE(ws_->dialogs.messages, QStringList());
  }

  // The column box reads a two-counter file again for the counter chosen; figures that cannot be
  // written say so.
  void columnChoiceAndFailedExport() {
    const QString path = outputFile("c.dat");
    QVERIFY(
        WriteBytes(path, CrLfLines({"col_y, Io, I, I/Io", "1.000, 10.0, 5.0, 0.5", "0.500, 20.0, 18.0, 0.9",
                                    "0.000, 30.0, 3.0, 0.1", "0.500, 99.0, 99.0, 1.0"})));
    ws_->dialogs.openFilesAnswers.append({path});
    QVERIFY(openWindow());
    QVERIFY(Click(ws_->window, QStringLiteral("cmdResultsOpen")));
    auto* table = ws_->window->findChild<QTableWidget*>("tblResultsFigures");
    QCOMPARE(table->item(0, 4)->text(), QStringLiteral("0.90000"));  // max_y of I/Io
    ws_->window->findChild<QComboBox*>("cboResultsColumn")->setCurrentText(QStringLiteral("Io"));
    QCOMPARE(table->item(0, 4)->text(), QStringLiteral("30.00000"));

    const QString unwritable = outputFile("missing/figures.csv");
    ws_->dialogs.saveFileAnswers = {unwritable};
    QVERIFY(Click(ws_->window, QStringLiteral("cmdResultsExportFigures")));
    QCOMPARE(ws_->dialogs.messages.size(), 1);
    QVERIFY(ws_->dialogs.messages[0].startsWith(QStringLiteral("Cannot write %1: ").arg(unwritable)));
  }
};

VESKO_WINDOW_SUITE(ResultsWindowTest, "results_window_test")

#include "results_window_test.moc"
