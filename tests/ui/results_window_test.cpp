#include <QAbstractSeries>
#include <QApplication>
#include <QChart>
#include <QChartView>
#include <QClipboard>
#include <QComboBox>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <optional>

#include "core/format.h"
#include "tests/support/file_size_limit.h"
#include "tests/ui/ui_test_support.h"
#include "ui/analysis_window.h"
#include "ui/results_panel.h"
#include "ui/results_window.h"

using namespace vesko::test;

// The results window and the analysis window.
class ResultsWindowTest : public QObject {
  Q_OBJECT

  // Writes the file and opens it through the window's file dialog.
  bool open(const QString& path, const QByteArrayList& lines) {
    ws_->dialogs.openFilesAnswers.append({path});
    return WriteBytes(path, CrLfLines(lines)) && Click(ws_->window, QStringLiteral("cmdResultsOpen"));
  }
  QString outputFile(const char* name) const { return ws_->output.filePath(QLatin1String(name)); }
  // Writes a result file ("x, blade 2, y" rows after a header) and chooses it in the file dialog.
  QString choose(const char* name, const QList<QPair<double, double>>& points) {
    QByteArrayList lines{"blade1,blade2,intensity"};
    for (const auto& [x, y] : points) {
      lines.append(QByteArray::number(x) + "," + QByteArray::number(-x) + ", " + QByteArray::number(y));
    }
    const QString path = ws_->output.filePath(QLatin1String(name));
    ws_->dialogs.openFileAnswers.append(WriteBytes(path, CrLfLines(lines)) ? path : QString());
    Click(ws_->window, "cmdGraphFileOpen");
    return path;
  }
  // The names of the curves and markers `chart` draws.
  QStringList drawn(const char* chart) const {
    QStringList names;
    for (const QAbstractSeries* series : ws_->window->findChild<QChartView*>(chart)->chart()->series()) {
      names << series->objectName();
    }
    return names;
  }

  std::optional<Workspace> ws_;

 private slots:
  void init() { ws_.emplace(); }

  // A two-counter file: its figures in the table and the exports, the column box, a failed export. Then a
  // file followed as the control server writes it.
  void opensShowsExportsAndFollows() {
    auto* window = new vesko::ResultsWindow(ws_->dialogs);
    QVERIFY(ws_->show(window));
    QVERIFY(
        open(outputFile("c.dat"), {"col_y, Io, I, I/Io", "-0.900, 10.0, 5.0, 0.5", "-0.300, 20.0, 18.0, 0.9",
                                   "0.300, 30.0, 3.0, 0.1", "-0.300, 99.0, 99.0, 1.0"}));
    QCOMPARE(ws_->dialogs.openFilesFolders, QStringList{ws_->output.path()});
    auto* table = ws_->window->findChild<QTableWidget*>("tblResultsFigures");
    QCOMPARE(table->rowCount(), 1);
    QVERIFY(table->item(0, 0));
    QCOMPARE(table->item(0, 0)->text() + ' ' + table->item(0, 3)->text() + ' ' + table->item(0, 4)->text(),
             QStringLiteral("c.dat -0.30000 0.90000"));
    ws_->window->findChild<QComboBox*>("cboResultsColumn")->setCurrentText(QStringLiteral("Io"));
    QCOMPARE(table->item(0, 4)->text(), QStringLiteral("30.00000"));
    // The curve with its markers; the place under the cursor in the axes' units.
    QCOMPARE(drawn("chtResults"), (QStringList{"curve", "returnRow", "peakMarker", "edgeMarker"}));
    auto* view = ws_->window->findChild<QChartView*>("chtResults");
    const QPoint middle = view->mapFromScene(view->chart()->mapToScene(view->chart()->plotArea().center()));
    QTest::mouseMove(view->viewport(), middle);
    const QPointF value = view->chart()->mapToValue(QPointF(middle));
    QCOMPARE(
        Shown(ws_->window, QStringLiteral("lblResultsCursor")),
        QString::fromStdString("x = " + vesko::FormatF5(value.x()) + "  y = " + vesko::FormatF5(value.y())));

    const QString unwritable = outputFile("missing/figures.csv");
    ws_->dialogs.saveFileAnswers = {outputFile("plot.png"), outputFile("figures.csv"), unwritable};
    for (const char* button : {"cmdResultsExportPlot", "cmdResultsExportFigures", "cmdResultsExportFigures",
                               "cmdResultsCopyFigures"}) {
      QVERIFY(Click(ws_->window, QLatin1String(button)));
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
    QCOMPARE(ws_->dialogs.messages.size(), 1);
    QVERIFY(ws_->dialogs.messages[0].startsWith(QStringLiteral("Cannot write %1: ").arg(unwritable)));
    // A write stopped part-way (as on a full disk) keeps the old file whole.
    ws_->dialogs.saveFileAnswers = {outputFile("figures.csv")};
    {
      const vesko::test::FileSizeLimit limit(8);
      QVERIFY(Click(ws_->window, QStringLiteral("cmdResultsExportFigures")));
    }
    QCOMPARE(ws_->dialogs.messages.size(), 2);
    QCOMPARE(QString::fromUtf8(ReadBytes(outputFile("figures.csv"))), csv);

    // The control server's writes may end inside a row: that row waits for its line end. A file gone for a
    // moment keeps what was shown until it is back.
    const QString path = outputFile("lens.dat");
    QVERIFY(open(path, {"lens_y, Io", "0.150, 7", "0.050, 9"}));
    QVERIFY(Click(ws_->window, QStringLiteral("chkResultsFollow")));
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
    QCOMPARE(ws_->dialogs.messages.size(), 2);
  }

  // Only the file dialog chooses the file (a cancelled one keeps it, a name typed into the box is only
  // shown); the run's figures go to their boxes and its messages come over the window; a new file clears
  // the figures of the last.
  void calculateShowsTheRunOfTheChosenFile() {
    QVERIFY(ws_->show(new vesko::AnalysisWindow(ws_->dialogs)));
    QCOMPARE(ws_->window->windowTitle(), QStringLiteral("4Dスキャン解析"));
    QVERIFY(ws_->window->findChild<QPushButton*>("cmdCalculate")->isDefault());
    // Intensities that are not whole numbers: the fall is summed step by step.
    const QString worked = choose(
        "worked.dat", {{2, 100.5}, {1.5, 80.5}, {1, 60.5}, {0.5, 40.5}, {0, 39.5}, {-0.5, 40.5}, {-1, 40.5}});
    ws_->dialogs.openFileAnswers.append(QString());
    Click(ws_->window, "cmdGraphFileOpen");
    QCOMPARE(Shown(ws_->window, "txtGraphFileName"), worked);
    QCOMPARE(ws_->dialogs.openFileFolders, QStringList(2, ws_->output.path()));
    QCOMPARE(ws_->dialogs.openFileOwners.value(0)->window(), ws_->window.data());
    QCOMPARE(Enter(ws_->window, {"txtGraphDivSetting=abc", "txtGraphFileName=steady.dat", "cmdCalculate"}),
             QString());
    QCOMPARE(ws_->dialogs.messages, QStringList{"閾値を2.0にしました"});
    QCOMPARE(ws_->dialogs.messageParents.value(0)->window(), ws_->window.data());
    const auto figures = [this] {
      return Shown(ws_->window, "txtGraphResult") + ' ' + Shown(ws_->window, "txtA0") + ' ' +
             Shown(ws_->window, "txtA1") + ' ' + Shown(ws_->window, "txtB0");
    };
    QCOMPARE(figures(), QStringLiteral("0.49167 20.50000 40.00000 40.16667"));
    // Each run starts afresh: a second run draws the same plot, not twice as much.
    const QStringList plot{"measuredCurve", "linePoints", "breakPoint", "levelPoints",
                           "fittedLine",    "levelLine",  "crossDrop",  "crossPoint"};
    QCOMPARE(drawn("chtGraph"), plot);
    Click(ws_->window, "cmdCalculate");
    QCOMPARE(drawn("chtGraph"), plot);

    choose("next.dat", {{2, 100}});
    QCOMPARE(figures(), QStringLiteral("   "));
  }
};

VESKO_WINDOW_SUITE(ResultsWindowTest, "results_window_test")

#include "results_window_test.moc"
