#include <QApplication>
#include <QChart>
#include <QChartView>
#include <QClipboard>
#include <QComboBox>
#include <QTableWidget>
#include <QTest>
#include <csignal>

#include <sys/resource.h>

#include "core/format.h"
#include "tests/ui/ui_test_support.h"
#include "ui/results_panel.h"
#include "ui/results_window.h"

using namespace vesko::test;

class ResultsWindowTest : public QObject {
  Q_OBJECT

  // Writes the file and opens it through the window's file dialog.
  bool open(const QString& path, const QByteArrayList& lines) {
    ws_.dialogs.openFilesAnswers.append({path});
    return WriteBytes(path, CrLfLines(lines)) && Click(ws_.window, QStringLiteral("cmdResultsOpen"));
  }
  QString outputFile(const char* name) const { return ws_.output.filePath(QLatin1String(name)); }

  Workspace ws_;

 private slots:
  // A two-counter file: its figures in the table and the exports, the column box, a failed export. Then a
  // file followed as the control server writes it.
  void opensShowsExportsAndFollows() {
    auto* window = new vesko::ResultsWindow(ws_.dialogs);
    QVERIFY(ws_.show(window));
    QVERIFY(
        open(outputFile("c.dat"), {"col_y, Io, I, I/Io", "-0.900, 10.0, 5.0, 0.5", "-0.300, 20.0, 18.0, 0.9",
                                   "0.300, 30.0, 3.0, 0.1", "-0.300, 99.0, 99.0, 1.0"}));
    QCOMPARE(ws_.dialogs.openFilesFolders, QStringList{ws_.output.path()});
    auto* table = ws_.window->findChild<QTableWidget*>("tblResultsFigures");
    QCOMPARE(table->rowCount(), 1);
    QCOMPARE(table->item(0, 3)->text() + ' ' + table->item(0, 4)->text(), QStringLiteral("-0.30000 0.90000"));
    ws_.window->findChild<QComboBox*>("cboResultsColumn")->setCurrentText(QStringLiteral("Io"));
    QCOMPARE(table->item(0, 4)->text(), QStringLiteral("30.00000"));
    // The curve with its markers; the place under the cursor in the axes' units.
    auto* view = ws_.window->findChild<QChartView*>("chtResults");
    QStringList drawn;
    for (const QAbstractSeries* series : view->chart()->series()) {
      drawn << series->objectName();
    }
    QCOMPARE(drawn, (QStringList{"curve", "returnRow", "peakMarker", "edgeMarker"}));
    const QPoint middle = view->mapFromScene(view->chart()->mapToScene(view->chart()->plotArea().center()));
    QTest::mouseMove(view->viewport(), middle);
    const QPointF value = view->chart()->mapToValue(QPointF(middle));
    QCOMPARE(
        Shown(ws_.window, QStringLiteral("lblResultsCursor")),
        QString::fromStdString("x = " + vesko::FormatF5(value.x()) + "  y = " + vesko::FormatF5(value.y())));

    const QString unwritable = outputFile("missing/figures.csv");
    ws_.dialogs.saveFileAnswers = {outputFile("plot.png"), outputFile("figures.csv"), unwritable};
    for (const char* button : {"cmdResultsExportPlot", "cmdResultsExportFigures", "cmdResultsExportFigures",
                               "cmdResultsCopyFigures"}) {
      QVERIFY(Click(ws_.window, QLatin1String(button)));
    }
    QVERIFY(ReadBytes(outputFile("plot.png")).startsWith("\x89PNG"));
    // The file's row holds the table's figures, each under its own heading.
    QStringList headings{QStringLiteral("file")}, row{'"' + outputFile("c.dat") + '"'};
    for (int column = 1; column < table->columnCount(); ++column) {
      headings << table->horizontalHeaderItem(column)->text();
      row << table->item(0, column)->text();
    }
    const QString csv = QString::fromUtf8(ReadBytes(outputFile("figures.csv")));
    QCOMPARE(csv, headings.join(',') + '\n' + row.join(',') + '\n');
    QCOMPARE(QApplication::clipboard()->text(), csv);
    QCOMPARE(ws_.dialogs.messages.size(), 1);
    QVERIFY(ws_.dialogs.messages[0].startsWith(QStringLiteral("Cannot write %1: ").arg(unwritable)));
    // A write stopped part-way (as on a full disk) keeps the old file whole.
    ws_.dialogs.saveFileAnswers = {outputFile("figures.csv")};
    auto* const handler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    rlimit limited = saved;
    limited.rlim_cur = 8;
    setrlimit(RLIMIT_FSIZE, &limited);
    QVERIFY(Click(ws_.window, QStringLiteral("cmdResultsExportFigures")));
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, handler);
    QCOMPARE(ws_.dialogs.messages.size(), 2);
    QCOMPARE(QString::fromUtf8(ReadBytes(outputFile("figures.csv"))), csv);

    // The control server's writes may end inside a row: that row waits for its line end. A file gone for a
    // moment keeps what was shown until it is back.
    const QString path = outputFile("lens.dat");
    QVERIFY(open(path, {"lens_y, Io", "0.150, 7", "0.050, 9"}));
    QVERIFY(Click(ws_.window, QStringLiteral("chkResultsFollow")));
    const auto points = [window] {
      const std::vector<double>& y = window->panel()->files().at(0).set.series.at(0).y;
      return QList<double>(y.begin(), y.end());
    };
    QFile file(path);
    QVERIFY(file.open(QIODevice::Append));
    file.write("-0.050, 8\r\n-0.150, 1");
    file.flush();
    QTRY_COMPARE_WITH_TIMEOUT(points(), (QList<double>{7, 9, 8}), 5000);
    file.write("2\r\n");
    file.close();
    QTRY_COMPARE_WITH_TIMEOUT(points(), (QList<double>{7, 9, 8, 12}), 5000);
    QVERIFY(QFile::remove(path));
    QVERIFY(WriteBytes(path, CrLfLines({"lens_y, Io", "0.150, 7"})));
    QTRY_COMPARE_WITH_TIMEOUT(points(), QList<double>{7}, 5000);
    QCOMPARE(ws_.dialogs.messages.size(), 2);
  }
};

VESKO_WINDOW_SUITE(ResultsWindowTest, "results_window_test")

#include "results_window_test.moc"
