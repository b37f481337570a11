#include <QAbstractSeries>
#include <QChart>
#include <QChartView>
#include <QPushButton>
#include <QTest>

#include "tests/ui/ui_test_support.h"
#include "ui/analysis_window.h"

using namespace vesko::test;

class AnalysisWindowTest : public QObject {
  Q_OBJECT

  // Writes a result file ("x, blade 2, y" rows after a header) and chooses it in the file dialog.
  QString choose(const char* name, const QList<QPair<double, double>>& points) {
    QByteArrayList lines{"blade1,blade2,intensity"};
    for (const auto& [x, y] : points) {
      lines.append(QByteArray::number(x) + "," + QByteArray::number(-x) + ", " + QByteArray::number(y));
    }
    const QString path = ws_.output.filePath(QLatin1String(name));
    ws_.dialogs.openFileAnswers.append(WriteBytes(path, CrLfLines(lines)) ? path : QString());
    Click(ws_.window, "cmdGraphFileOpen");
    return path;
  }
  QStringList drawn() const {
    QStringList names;
    for (const QAbstractSeries* series : ws_.window->findChild<QChartView*>("chtGraph")->chart()->series()) {
      names << series->objectName();
    }
    return names;
  }

  Workspace ws_;

 private slots:
  // Only the file dialog chooses the file (a cancelled one keeps it, a name typed into the box is only
  // shown); the run's figures go to their boxes and its messages come over the window; a new file clears
  // the figures of the last.
  void calculateShowsTheRunOfTheChosenFile() {
    QVERIFY(ws_.show(new vesko::AnalysisWindow(ws_.dialogs)));
    QCOMPARE(ws_.window->windowTitle(), QStringLiteral("4Dスキャン解析"));
    QVERIFY(ws_.window->findChild<QPushButton*>("cmdCalculate")->isDefault());
    // Intensities that are not whole numbers: the fall is summed step by step.
    const QString worked = choose(
        "worked.dat", {{2, 100.5}, {1.5, 80.5}, {1, 60.5}, {0.5, 40.5}, {0, 39.5}, {-0.5, 40.5}, {-1, 40.5}});
    ws_.dialogs.openFileAnswers.append(QString());
    Click(ws_.window, "cmdGraphFileOpen");
    QCOMPARE(Shown(ws_.window, "txtGraphFileName"), worked);
    QCOMPARE(ws_.dialogs.openFileFolders, QStringList(2, ws_.output.path()));
    QCOMPARE(ws_.dialogs.openFileOwners.value(0)->window(), ws_.window.data());
    QCOMPARE(Enter(ws_.window, {"txtGraphDivSetting=abc", "txtGraphFileName=steady.dat", "cmdCalculate"}),
             QString());
    QCOMPARE(ws_.dialogs.messages, QStringList{"閾値を2.0にしました"});
    QCOMPARE(ws_.dialogs.messageParents.value(0)->window(), ws_.window.data());
    const auto figures = [this] {
      QStringList shown;
      for (const char* box : {"txtGraphResult", "txtA0", "txtA1", "txtB0"}) {
        shown << Shown(ws_.window, QLatin1String(box));
      }
      return shown;
    };
    QCOMPARE(figures(), (QStringList{"0.49167", "20.50000", "40.00000", "40.16667"}));
    // Each run starts afresh: a second run draws the same plot, not twice as much.
    const QStringList plot{"measuredCurve", "linePoints", "breakPoint", "levelPoints",
                           "fittedLine",    "levelLine",  "crossDrop",  "crossPoint"};
    QCOMPARE(drawn(), plot);
    Click(ws_.window, "cmdCalculate");
    QCOMPARE(drawn(), plot);

    choose("next.dat", {{2, 100}});
    QCOMPARE(figures(), QStringList(4, QString()));
  }
};

VESKO_WINDOW_SUITE(AnalysisWindowTest, "analysis_window_test")

#include "analysis_window_test.moc"
