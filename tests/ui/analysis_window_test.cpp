#include <QAbstractSeries>
#include <QChart>
#include <QChartView>
#include <QPushButton>
#include <QTest>
#include <QXYSeries>
#include <memory>

#include "tests/ui/ui_test_support.h"
#include "ui/analysis_window.h"

using namespace vesko::test;

namespace {

const QString kGateStop = QStringLiteral("条件にかかりませんでした。処理を停止します。");
// Crossing, A0, A1, B0 of the worked example.
const QStringList kWorkedResults{"txtGraphResult=0.49167", "txtA0=20.00000", "txtA1=40.00000",
                                 "txtB0=39.66667"};

// A result file: a header line, then one "x, blade 2, y" row per point.
QByteArray ResultFile(const QList<QPair<double, double>>& points) {
  QByteArrayList lines{"blade1,blade2,intensity"};
  for (const auto& [x, y] : points) {
    lines.append(QByteArray::number(x) + "," + QByteArray::number(-x) + ", " + QByteArray::number(y));
  }
  return CrLfLines(lines);
}

const QByteArray kWorkedExample =
    ResultFile({{2.0, 100}, {1.5, 80}, {1.0, 60}, {0.5, 40}, {0.0, 39}, {-0.5, 40}, {-1.0, 40}});

}  // namespace

class AnalysisWindowTest : public QObject {
  Q_OBJECT

  QString writeFile(const char* name, const QByteArray& content) {
    const QString path = ws_->output.filePath(QString::fromLatin1(name));
    return WriteBytes(path, content) ? path : QString();
  }
  // Chooses `path` ("" cancels) in the file dialog, then presses "Calculate" when `calculate`.
  void choose(const QString& path, bool calculate = true) {
    ws_->dialogs.openFileAnswers.append(path);
    Click(ws_->window, "cmdGraphFileOpen");
    if (calculate) {
      Click(ws_->window, "cmdCalculate");
    }
  }
  QChart* chart() const { return ws_->window->findChild<QChartView*>("chtGraph")->chart(); }
  QXYSeries* series(const QString& name) const {
    for (QAbstractSeries* drawn : chart()->series()) {
      if (drawn->objectName() == name) {
        return qobject_cast<QXYSeries*>(drawn);
      }
    }
    return nullptr;
  }
  // The number of points of each drawn series named in `names`, -1 for one not drawn.
  QList<int> counts(const QStringList& names) const {
    QList<int> found;
    for (const QString& name : names) {
      found << (series(name) ? series(name)->count() : -1);
    }
    return found;
  }

  std::unique_ptr<Workspace> ws_;

 private slots:
  void init() {
    ws_ = std::make_unique<Workspace>(false);
    QVERIFY(ws_->show(new vesko::AnalysisWindow(ws_->dialogs)));
  }
  void cleanup() { ws_.reset(); }

  void calculateShowsWorkedExampleAndPlot() {
    QCOMPARE(ws_->window->windowTitle(), QStringLiteral("4Dスキャン解析"));
    QVERIFY(ws_->window->isModal() && ws_->window->testAttribute(Qt::WA_DeleteOnClose));
    QVERIFY(ws_->window->findChild<QPushButton*>("cmdCalculate")->isDefault());
    QVERIFY(chart()->series().isEmpty());
    // Only the file dialog chooses the file: a cancelled dialog keeps it, a name put into the box is only
    // shown. A threshold that cannot be used is reported and left in its box; the run takes 2.0.
    const QString path = writeFile("worked.dat", kWorkedExample);
    choose(path, false);
    choose(QString(), false);
    QCOMPARE(Shown(ws_->window, "txtGraphFileName"), path);
    const QString steady = writeFile("steady.dat", ResultFile({{2, 100}, {1.5, 90}, {1, 80}, {0.5, 70}}));
    QCOMPARE(Enter(ws_->window, {"txtGraphDivSetting=abc", "txtGraphFileName=" + steady, "cmdCalculate"}),
             QString());
    QCOMPARE(ws_->dialogs.openFileOwners.size(), 2);
    QCOMPARE(ws_->dialogs.openFileOwners.value(0)->window(), ws_->window.data());
    QCOMPARE(ws_->dialogs.openFileFilters, QStringList(2, QString()));
    QCOMPARE(Shown(ws_->window, "txtGraphDivSetting"), QStringLiteral("abc"));
    QCOMPARE(ws_->dialogs.messages, QStringList{"閾値を2.0にしました"});
    QCOMPARE(Differences(ws_->window, kWorkedResults), QString());

    // The three points before the break make the line, the three after it the level.
    const QStringList drawn = {"measuredCurve", "linePoints", "breakPoint", "levelPoints",
                               "fittedLine",    "levelLine",  "crossPoint", "crossDrop"};
    QCOMPARE(counts(drawn), (QList<int>{7, 3, 1, 3, 2, 2, 1, 2}));
    QCOMPARE(series("breakPoint")->at(0), QPointF(0.5, 40));
    QCOMPARE(series("levelPoints")->at(0), QPointF(0.0, 39));
    const QPointF cross = series("crossPoint")->at(0);
    QVERIFY(qAbs(cross.x() - 0.4916666) < 1e-6 && qAbs(cross.y() - 39.666666) < 1e-5);
    QVERIFY(series("crossPoint")->pointLabelsVisible());
    QVERIFY(series("crossPoint")->pointLabelsFormat().contains(QStringLiteral("0.49167")));
    for (const QPointF& end : series("fittedLine")->points()) {
      QVERIFY(qAbs(end.y() - (20 + 40 * end.x())) < 1e-9);
    }
    // Each run starts afresh: a second run draws the same plot, not twice as much.
    Click(ws_->window, "cmdCalculate");
    QCOMPARE(counts(drawn), (QList<int>{7, 3, 1, 3, 2, 2, 1, 2}));
    QCOMPARE(chart()->series().size(), drawn.size());
  }

  void newFileClearsResultsAndRefusedPointsArePlotted() {
    vesko::SetOutputFolder(ws_->output.path().toStdString());
    const QStringList cleared = {"txtGraphResult=", "txtA0=", "txtA1=", "txtB0="};
    const QString worked = writeFile("worked.dat", kWorkedExample);
    choose(worked);
    QCOMPARE(Differences(ws_->window, kWorkedResults), QString());
    // The three points before the break share one x: no line can be fitted through them. The boxes are
    // cleared; the points and the level are still drawn, with no line and no crossing.
    choose(writeFile("flat.dat",
                     ResultFile({{1, 100}, {1, 80}, {1, 60}, {0.5, 40}, {0, 39}, {-0.5, 40}, {-1, 40}})));
    QCOMPARE(ws_->dialogs.messages, QStringList{"No crossing point: the fitted line is flat."});
    QCOMPARE(Differences(ws_->window, cleared), QString());
    QCOMPARE(counts({"linePoints", "levelLine", "fittedLine", "crossPoint"}), (QList<int>{3, 2, -1, -1}));
    // The break comes at the first step: the gate stops the run, its points are drawn all the same.
    choose(worked);
    ws_->dialogs.messages.clear();
    ws_->dialogs.messageParents.clear();
    choose(writeFile("early.dat", ResultFile({{2, 100}, {1.5, 99}, {1, 60}, {0.5, 20}})));
    QCOMPARE(ws_->dialogs.messages, QStringList{"0" + kGateStop});
    QCOMPARE(ws_->dialogs.messageParents[0]->window(), ws_->window.data());
    QCOMPARE(Differences(ws_->window, cleared), QString());
    QCOMPARE(counts({"measuredCurve", "measuredPoints", "linePoints", "fittedLine"}),
             (QList<int>{4, 4, -1, -1}));
    // A file that has gone since it was chosen has no points to draw.
    choose(ws_->output.filePath("missing.dat"));
    QVERIFY(chart()->series().isEmpty());
    QCOMPARE(ws_->dialogs.openFileFolders, QStringList(5, ws_->output.path()));
  }
};

VESKO_WINDOW_SUITE(AnalysisWindowTest, "analysis_window_test")

#include "analysis_window_test.moc"
