#include <QAbstractSeries>
#include <QChart>
#include <QChartView>
#include <QGroupBox>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QScatterSeries>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "tests/ui/ui_test_support.h"
#include "ui/analysis_window.h"

using namespace vesko::test;

namespace {

const QString kGateStop = QStringLiteral("条件にかかりませんでした。処理を停止します。");
const QString kThresholdReset = QStringLiteral("閾値を2.0にしました");
// Crossing, A0, A1, B0 of the worked example, in the order the boxes are read back below.
const QStringList kWorkedResults{"0.49167", "20.00000", "40.00000", "39.66667"};

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

 private slots:
  void init();
  void cleanup();
  void opensWithDesignTexts();
  void calculateShowsWorkedExampleAndPlot();
  void gateStopKeepsResultsAndClearsPlot_data();
  void gateStopKeepsResultsAndClearsPlot();
  void unusableThresholdFallsBackToTwo_data();
  void unusableThresholdFallsBackToTwo();
  void flatLineShowsNoCrossing();
  void onlyTheFileDialogChoosesTheFile();

 private:
  void openWindow();
  template <typename T>
  T* control(const char* name) const {
    return window_->findChild<T*>(QString::fromLatin1(name));
  }
  QString text(const char* name) const { return control<QWidget>(name)->property("text").toString(); }
  QStringList results() const {
    return {text("txtGraphResult"), text("txtA0"), text("txtA1"), text("txtB0")};
  }
  QString writeFile(const char* name, const QByteArray& content);
  void choose(const QString& path);
  void click(const char* name) { QTest::mouseClick(control<QPushButton>(name), Qt::LeftButton); }
  QChart* chart() const { return control<QChartView>("chtGraph")->chart(); }
  QXYSeries* series(const char* name) const;

  std::unique_ptr<QTemporaryDir> dir_;
  RecordingDialogs dialogs_;
  QPointer<vesko::AnalysisWindow> window_;
};

void AnalysisWindowTest::init() {
  dir_ = std::make_unique<QTemporaryDir>();
  QVERIFY(dir_->isValid());
  dialogs_ = RecordingDialogs();
}

void AnalysisWindowTest::cleanup() {
  delete window_.data();
}

void AnalysisWindowTest::openWindow() {
  window_ = new vesko::AnalysisWindow(dialogs_);
  window_->show();
  QVERIFY(QTest::qWaitForWindowExposed(window_));
}

QString AnalysisWindowTest::writeFile(const char* name, const QByteArray& content) {
  const QString path = dir_->filePath(QString::fromLatin1(name));
  return WriteBytes(path, content) ? path : QString();
}

void AnalysisWindowTest::choose(const QString& path) {
  dialogs_.openFileAnswers.append(path);
  click("cmdGraphFileOpen");
}

QXYSeries* AnalysisWindowTest::series(const char* name) const {
  for (QAbstractSeries* drawn : chart()->series()) {
    if (drawn->objectName() == QLatin1String(name)) {
      return qobject_cast<QXYSeries*>(drawn);
    }
  }
  return nullptr;
}

void AnalysisWindowTest::opensWithDesignTexts() {
  openWindow();
  QCOMPARE(window_->objectName(), QStringLiteral("frmGraph"));
  QCOMPARE(window_->windowTitle(), QStringLiteral("4Dスキャン解析"));
  QVERIFY(window_->isModal());
  QVERIFY(window_->testAttribute(Qt::WA_DeleteOnClose));
  QCOMPARE(control<QGroupBox>("Frame1")->title(), QStringLiteral("Result"));
  const char* const texts[][2] = {{"cmdGraphFileOpen", "ファイル選択"},
                                  {"txtGraphFileName", "Text1"},
                                  {"txtA0", "Text1"},
                                  {"txtA1", "Text1"},
                                  {"txtB0", "Text1"},
                                  {"txtGraphResult", "Text1"},
                                  {"txtGraphDivSetting", "2.0"},
                                  {"cmdCalculate", "Calculate"},
                                  {"Label7", "Label7"}};
  for (const auto& row : texts) {
    QVERIFY2(control<QWidget>(row[0]), row[0]);
    QCOMPARE(text(row[0]), QString::fromUtf8(row[1]));
  }
  for (const char* box : {"txtA0", "txtA1", "txtB0", "txtGraphResult"}) {
    QVERIFY2(control<QWidget>(box)->parentWidget() == control<QGroupBox>("Frame1"), box);
  }
  QVERIFY(control<QPushButton>("cmdCalculate")->isDefault());
  QVERIFY(chart()->series().isEmpty());
}

void AnalysisWindowTest::calculateShowsWorkedExampleAndPlot() {
  const QString path = writeFile("worked.dat", kWorkedExample);
  openWindow();
  choose(path);
  QCOMPARE(dialogs_.openFileOwners.size(), 1);
  QCOMPARE(dialogs_.openFileOwners[0]->window(), static_cast<QWidget*>(window_.data()));
  QCOMPARE(dialogs_.openFileFilters, QStringList{QString()});
  QCOMPARE(text("txtGraphFileName"), path);
  click("cmdCalculate");

  QCOMPARE(dialogs_.messages, QStringList());
  QCOMPARE(results(), kWorkedResults);
  // The three points before the break make the line, the three after it the level.
  const struct {
    const char* name;
    int count;
  } drawn[] = {{"measuredCurve", 7}, {"linePoints", 3}, {"breakPoint", 1}, {"levelPoints", 3},
               {"fittedLine", 2},    {"levelLine", 2},  {"crossPoint", 1}, {"crossDrop", 2}};
  for (const auto& row : drawn) {
    QXYSeries* s = series(row.name);
    QVERIFY2(s, row.name);
    QCOMPARE(s->count(), row.count);
  }
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
  const int seriesCount = chart()->series().size();
  click("cmdCalculate");
  QCOMPARE(chart()->series().size(), seriesCount);
  QCOMPARE(series("measuredCurve")->count(), 7);
}

void AnalysisWindowTest::gateStopKeepsResultsAndClearsPlot_data() {
  QTest::addColumn<QByteArray>("content");  // empty: the chosen file does not exist
  QTest::addColumn<QString>("message");
  QTest::newRow("steady fall, no break")
      << ResultFile({{2, 100}, {1.5, 90}, {1, 80}, {0.5, 70}, {0, 60}}) << "0" + kGateStop;
  QTest::newRow("break at index 1") << ResultFile({{2, 100}, {1.5, 80}, {1, 79}, {0.5, 60}, {0, 40}})
                                    << "1" + kGateStop;
  QTest::newRow("three rows") << ResultFile({{2, 100}, {1.5, 50}, {1, 49}}) << "1" + kGateStop;
  QTest::newRow("file gone") << QByteArray() << "0" + kGateStop;
}

void AnalysisWindowTest::gateStopKeepsResultsAndClearsPlot() {
  QFETCH(QByteArray, content);
  QFETCH(QString, message);
  const QString worked = writeFile("worked.dat", kWorkedExample);
  const QString stopping = content.isEmpty() ? dir_->filePath("missing.dat") : writeFile("stop.dat", content);
  openWindow();
  choose(worked);
  click("cmdCalculate");
  QVERIFY(!chart()->series().isEmpty());

  choose(stopping);
  click("cmdCalculate");
  QCOMPARE(dialogs_.messages, QStringList{message});
  QCOMPARE(dialogs_.messageParents[0]->window(), static_cast<QWidget*>(window_.data()));
  QCOMPARE(results(), kWorkedResults);
  QVERIFY(chart()->series().isEmpty());
}

void AnalysisWindowTest::unusableThresholdFallsBackToTwo_data() {
  QTest::addColumn<QString>("threshold");
  QTest::newRow("zero") << "0";
  QTest::newRow("not a number") << "abc";
  QTest::newRow("beyond 64-bit range") << "1e999";
}

void AnalysisWindowTest::unusableThresholdFallsBackToTwo() {
  QFETCH(QString, threshold);
  const QString path = writeFile("worked.dat", kWorkedExample);
  openWindow();
  choose(path);
  control<QLineEdit>("txtGraphDivSetting")->clear();
  QTest::keyClicks(control<QLineEdit>("txtGraphDivSetting"), threshold);
  click("cmdCalculate");

  QCOMPARE(dialogs_.messages, QStringList{kThresholdReset});
  QCOMPARE(results(), kWorkedResults);
  QCOMPARE(text("txtGraphDivSetting"), threshold);
}

void AnalysisWindowTest::flatLineShowsNoCrossing() {
  // The three points before the break share one x: no line can be fitted through them.
  const QString path = writeFile(
      "flat.dat", ResultFile({{1, 100}, {1, 80}, {1, 60}, {0.5, 40}, {0, 39}, {-0.5, 40}, {-1, 40}}));
  openWindow();
  choose(path);
  click("cmdCalculate");

  QCOMPARE(dialogs_.messages, QStringList{"No crossing point: the fitted line is flat."});
  QCOMPARE(results(), (QStringList{"Text1", "Text1", "Text1", "Text1"}));
  // The points and the level are still drawn; there is no line and no crossing to show.
  QCOMPARE(series("linePoints")->count(), 3);
  QVERIFY(series("levelLine"));
  QVERIFY(!series("fittedLine"));
  QVERIFY(!series("crossPoint"));
}

void AnalysisWindowTest::onlyTheFileDialogChoosesTheFile() {
  const QString worked = writeFile("worked.dat", kWorkedExample);
  const QString steady = writeFile("steady.dat", ResultFile({{2, 100}, {1.5, 90}, {1, 80}, {0.5, 70}}));
  openWindow();
  choose(worked);
  // A cancelled dialog keeps the chosen file; a name put into the box is only shown.
  choose(QString());
  QCOMPARE(text("txtGraphFileName"), worked);
  QTest::keyClicks(control<QLineEdit>("txtGraphFileName"), QStringLiteral("x"));
  control<QLineEdit>("txtGraphFileName")->setText(steady);
  click("cmdCalculate");

  QCOMPARE(dialogs_.openFileOwners.size(), 2);
  QCOMPARE(dialogs_.messages, QStringList());
  QCOMPARE(results(), kWorkedResults);
}

QTEST_MAIN(AnalysisWindowTest)
#include "analysis_window_test.moc"
