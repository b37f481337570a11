#include <QCheckBox>
#include <QDir>
#include <QGroupBox>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "app/app_settings.h"
#include "tests/ui/ui_test_support.h"
#include "ui/coll_scan_window.h"

using namespace vesko::test;

namespace {

// The y panel example (centre 0.5, width 1.0, five points, no slit move) written into `folder`.
QByteArray WorkedExampleScript(const QByteArray& folder) {
  QByteArrayList lines = {"proc Seikika {strArg} {",
                          "scan $strArg \"%f %f\" counterA counterB",
                          "if {$counterA == 0} {",
                          "set c 0",
                          "} else {",
                          "set c [expr $counterB / $counterA]",
                          "}",
                          "return [list $counterA, $counterB, $c]",
                          "}",
                          "set exptime 1.0",
                          "TclSrv_ORTEC994:MeasureCounts:ConfigureTimer $exptime",
                          "set fp [open " + folder + "/Coll1DScan.dat w+]",
                          "TclSrv_Optics:BeamStop out null",
                          "TclSrv_Optics:Shutter open",
                          "puts $fp \"col_y, Io, I, I/Io\""};
  // From the high edge down, then back to the centre.
  for (const char* p : {"1.000", "0.750", "0.500", "0.250", "0.000", "0.500"}) {
    lines << QByteArray("TclSrv_Optics:Collimator {col_y move ") + p + "}"
          << "set counts [TclSrv_ORTEC994:MeasureCountsWithTimer $exptime -1]"
          << "set strBuff2 [Seikika $counts]" << QByteArray("puts $fp \"") + p + ", $strBuff2\"";
  }
  lines << "close $fp"
        << "TclSrv_Optics:Shutter close"
        << "TclSrv_Optics:BeamStop in null";
  return CrLfLines(lines);
}

}  // namespace

class CollScanWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();
  void opensWithDesignTexts();
  void loadsBothSettingsFiles_data();
  void loadsBothSettingsFiles();
  void fileCreateWritesWorkedExample();
  void zPanelTouchesOnlyItsOwnFiles();
  void refusedInputShowsItsMessage_data();
  void refusedInputShowsItsMessage();
  void tickedSlitIsSetAndNotStored();

 private:
  void openWindow();
  template <typename T>
  T* control(const QString& name) const {
    return window_->findChild<T*>(name);
  }
  // Element `n` of the control array `name`.
  static QString at(const char* name, int n) {
    return QStringLiteral("%1_%2").arg(QLatin1String(name)).arg(n);
  }
  QString text(const QString& name) const { return control<QWidget>(name)->property("text").toString(); }
  void type(const QString& box, const QString& text);
  void click(const QString& name);
  void fillWorkedExample(int n);
  QString outputFile(const QString& name) const { return outputDir_->filePath(name); }
  QString settingsFile(int n) const {
    return settingsDir_->filePath(n == 0 ? QStringLiteral("ColliScan_y.ini")
                                         : QStringLiteral("ColliScan_z.ini"));
  }

  std::unique_ptr<QTemporaryDir> settingsDir_;
  std::unique_ptr<QTemporaryDir> outputDir_;
  RecordingDialogs dialogs_;
  QPointer<vesko::CollScanWindow> window_;
};

void CollScanWindowTest::init() {
  settingsDir_ = std::make_unique<QTemporaryDir>();
  outputDir_ = std::make_unique<QTemporaryDir>();
  QVERIFY(settingsDir_->isValid() && outputDir_->isValid());
  dialogs_ = RecordingDialogs();
  vesko::SetOutputFolder(outputDir_->path().toStdString());
}

void CollScanWindowTest::cleanup() {
  delete window_.data();
  vesko::ResetOutputFolder();
}

void CollScanWindowTest::openWindow() {
  window_ = new vesko::CollScanWindow(settingsDir_->path().toStdString(), dialogs_);
  window_->show();
  QVERIFY(QTest::qWaitForWindowExposed(window_));
}

void CollScanWindowTest::type(const QString& box, const QString& text) {
  control<QLineEdit>(box)->clear();
  QTest::keyClicks(control<QLineEdit>(box), text);
}

void CollScanWindowTest::click(const QString& name) {
  auto* button = control<QAbstractButton>(name);
  // Near the left edge: a check box's indicator; any point of a push button.
  QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
}

void CollScanWindowTest::fillWorkedExample(int n) {
  type(at("txtColliScanCenter", n), "0.5");
  type(at("txtColliScanWidth", n), "1.0");
  type(at("txtColliScanDivision", n), "5");
  for (const char* box : {"txtCollimatorSlitWidthY", "txtCollimatorSlitWidthZ", "txtCollimatorSlitCenterY",
                          "txtCollimatorSlitCenterZ"}) {
    type(at(box, n), "0");
  }
}

void CollScanWindowTest::opensWithDesignTexts() {
  openWindow();
  QCOMPARE(window_->objectName(), QStringLiteral("frmCollScan"));
  QCOMPARE(window_->windowTitle(), QStringLiteral("Collimator 1D Scan Setting"));
  QVERIFY(window_->isModal());
  const char* const frames[] = {"collimator_y", "collimator_z"};
  const char* const buttons[] = {"File Create(CollimatorY)", "File Create(CollimatorZ)"};
  for (int n = 0; n < 2; ++n) {
    QCOMPARE(control<QGroupBox>(at("fraCollimator", n))->title(), QString::fromLatin1(frames[n]));
    QCOMPARE(control<QGroupBox>(at("fraScanSetting", n))->title(), QStringLiteral("Scan Setting"));
    QCOMPARE(control<QGroupBox>(at("fra4DSlit", n))->title(), QStringLiteral("4D Slit"));
    // Every control of a panel lies inside that panel's frame.
    const auto* frame = control<QGroupBox>(at("fraCollimator", n));
    const char* const texts[][2] = {{"cmdColliFileCreate", buttons[n]},
                                    {"chkCollimatorMove4DSlit", "Move 4D Slit"},
                                    {"txtColliOutputFileName", "Coll1DScan.com"},
                                    {"txtColliScanCenter", ""},
                                    {"txtColliScanWidth", ""},
                                    {"txtColliScanDivision", ""},
                                    {"txtCollimatorSlitWidthY", ""},
                                    {"txtCollimatorSlitWidthZ", ""},
                                    {"txtCollimatorSlitCenterY", ""},
                                    {"txtCollimatorSlitCenterZ", ""},
                                    {"lblColliStatus", ""}};
    for (const auto& row : texts) {
      QVERIFY2(frame->findChild<QWidget*>(at(row[0], n)), qPrintable(at(row[0], n)));
      QCOMPARE(text(at(row[0], n)), QString::fromLatin1(row[1]));
    }
    QVERIFY(!control<QCheckBox>(at("chkCollimatorMove4DSlit", n))->isChecked());
  }
}

void CollScanWindowTest::loadsBothSettingsFiles_data() {
  QTest::addColumn<QByteArray>("yFile");  // empty: no file
  QTest::addColumn<QByteArray>("zFile");
  QTest::addColumn<QStringList>("yBoxes");  // centre, width, division, name, slit width Y ... slit centre Z
  QTest::addColumn<QStringList>("zBoxes");
  QTest::addColumn<bool>("yTicked");

  const QStringList fresh = {"", "", "", "Coll1DScan.com", "", "", "", ""};
  const QByteArray z = CrLfLines({"-1.000", "2.000", "3", "z.com"});
  const QStringList zShown = {"-1.000", "2.000", "3", "z.com", "", "", "", ""};
  QTest::newRow("both files") << CrLfLines({"0.500", "1.000", "5", "y.com"}) << z
                              << QStringList{"0.500", "1.000", "5", "y.com", "", "", "", ""} << zShown
                              << false;
  QTest::newRow("no y file: neither panel loads") << QByteArray() << z << fresh << fresh << false;
  QTest::newRow("short y file stops the load")
      << CrLfLines({"0.500", "1.000"}) << z
      << QStringList{"0.500", "1.000", "", "Coll1DScan.com", "", "", "", ""} << fresh << false;
  QTest::newRow("nine-line y file")
      << CrLfLines({"1", "0.200", "0.300", "0.010", "-0.020", "0.500", "1.000", "5", "y9.com"}) << z
      << QStringList{"0.500", "1.000", "5", "y9.com", "0.200", "0.300", "0.010", "-0.020"} << zShown << true;
}

void CollScanWindowTest::loadsBothSettingsFiles() {
  QFETCH(QByteArray, yFile);
  QFETCH(QByteArray, zFile);
  QFETCH(QStringList, yBoxes);
  QFETCH(QStringList, zBoxes);
  QFETCH(bool, yTicked);
  QVERIFY(yFile.isEmpty() || WriteBytes(settingsFile(0), yFile));
  QVERIFY(WriteBytes(settingsFile(1), zFile));
  openWindow();
  const QStringList expected[] = {yBoxes, zBoxes};
  for (int n = 0; n < 2; ++n) {
    QStringList shown;
    for (const char* box : {"txtColliScanCenter", "txtColliScanWidth", "txtColliScanDivision",
                            "txtColliOutputFileName", "txtCollimatorSlitWidthY", "txtCollimatorSlitWidthZ",
                            "txtCollimatorSlitCenterY", "txtCollimatorSlitCenterZ"}) {
      shown << text(at(box, n));
    }
    QCOMPARE(shown, expected[n]);
  }
  QCOMPARE(control<QCheckBox>(at("chkCollimatorMove4DSlit", 0))->isChecked(), yTicked);
  QVERIFY(dialogs_.messages.isEmpty());
}

void CollScanWindowTest::fileCreateWritesWorkedExample() {
  openWindow();
  fillWorkedExample(0);
  click(at("cmdColliFileCreate", 0));

  QCOMPARE(dialogs_.messages, QStringList());
  QCOMPARE(text(at("lblColliStatus", 0)), QStringLiteral("Done"));
  const QByteArray expected = WorkedExampleScript(QFile::encodeName(outputDir_->path()));
  QCOMPARE(QString::fromUtf8(ReadBytes(outputFile("Coll1DScan.com"))), QString::fromUtf8(expected));
  QCOMPARE(ReadBytes(settingsFile(0)), CrLfLines({"0.500", "1.000", "5", "Coll1DScan.com"}));
  QVERIFY(!QFile::exists(settingsFile(1)));
}

void CollScanWindowTest::zPanelTouchesOnlyItsOwnFiles() {
  const QByteArray ySettings = CrLfLines({"9.000", "9.000", "9", "y.com"});
  QVERIFY(WriteBytes(settingsFile(0), ySettings));
  openWindow();
  fillWorkedExample(1);
  type(at("txtColliOutputFileName", 1), " z.run.com ");
  click(at("cmdColliFileCreate", 1));

  QCOMPARE(dialogs_.messages, QStringList());
  QCOMPARE(text(at("lblColliStatus", 0)), QString());
  QCOMPARE(text(at("lblColliStatus", 1)), QStringLiteral("Done"));
  QCOMPARE(QDir(outputDir_->path()).entryList(QDir::Files), QStringList{"z.run.com"});
  QCOMPARE(ReadBytes(settingsFile(0)), ySettings);
  QCOMPARE(ReadBytes(settingsFile(1)), CrLfLines({"0.500", "1.000", "5", "z.run.com"}));

  // The z panel scans col_z from the low edge up and names its result file after "z".
  const QByteArray script = ReadBytes(outputFile("z.run.com"));
  const QByteArray lowEdge = "\r\nTclSrv_Optics:Collimator {col_z move 0.000}\r\n";
  const QByteArray highEdge = "\r\nTclSrv_Optics:Collimator {col_z move 1.000}\r\n";
  QVERIFY(script.indexOf(lowEdge) >= 0 && script.indexOf(lowEdge) < script.indexOf(highEdge));
  QVERIFY(script.contains("/z.dat w+]\r\n"));
  QVERIFY(script.contains("\r\nputs $fp \"col_z, Io, I, I/Io\"\r\n"));
}

void CollScanWindowTest::refusedInputShowsItsMessage_data() {
  QTest::addColumn<QString>("box");
  QTest::addColumn<QString>("typed");
  QTest::addColumn<QString>("message");
  QTest::newRow("centre") << "txtColliScanCenter"
                          << "abc"
                          << "Setting Error!";
  QTest::newRow("division of one") << "txtColliScanDivision"
                                   << "1"
                                   << "Setting Error!";
  QTest::newRow("unused slit width Y empty") << "txtCollimatorSlitWidthY"
                                             << ""
                                             << "SlitWidthY Error!";
  QTest::newRow("slit centre Z") << "txtCollimatorSlitCenterZ"
                                 << "z"
                                 << "SlitCenterZ Error!";
  QTest::newRow("name without base") << "txtColliOutputFileName"
                                     << ".com"
                                     << "Setting Error!";
}

void CollScanWindowTest::refusedInputShowsItsMessage() {
  QFETCH(QString, box);
  QFETCH(QString, typed);
  QFETCH(QString, message);
  openWindow();
  fillWorkedExample(1);
  type(at(box.toLatin1().constData(), 1), typed);
  click(at("cmdColliFileCreate", 1));

  QCOMPARE(dialogs_.messages, QStringList{message});
  QCOMPARE(dialogs_.messageParents[0]->window(), static_cast<QWidget*>(window_.data()));
  QCOMPARE(text(at("lblColliStatus", 1)), QString());
  QVERIFY(QDir(outputDir_->path()).isEmpty());
  QVERIFY(QDir(settingsDir_->path()).isEmpty());
}

void CollScanWindowTest::tickedSlitIsSetAndNotStored() {
  openWindow();
  fillWorkedExample(0);
  click(at("chkCollimatorMove4DSlit", 0));
  type(at("txtCollimatorSlitWidthY", 0), "0.3");
  type(at("txtCollimatorSlitCenterY", 0), "0.05");
  click(at("cmdColliFileCreate", 0));
  QCOMPARE(dialogs_.messages, QStringList());
  const QByteArray script = ReadBytes(outputFile("Coll1DScan.com"));
  QVERIFY(script.contains(
      "\r\nTclSrv_Optics:BeamStop out null\r\nTclSrv_Optics:4DSlit {slit_y1 move 0.200}\r\n"));
  QVERIFY(script.contains("\r\nTclSrv_Optics:4DSlit {slit_y2 move 0.100}\r\n"));

  // Closing unloads the window; the slit fields and the check box are not stored.
  window_->close();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  QVERIFY(window_.isNull());
  openWindow();
  QCOMPARE(text(at("txtColliScanCenter", 0)), QStringLiteral("0.500"));
  QCOMPARE(text(at("txtCollimatorSlitWidthY", 0)), QString());
  QVERIFY(!control<QCheckBox>(at("chkCollimatorMove4DSlit", 0))->isChecked());
}

QTEST_MAIN(CollScanWindowTest)
#include "coll_scan_window_test.moc"
