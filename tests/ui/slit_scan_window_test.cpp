#include <QCheckBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "app/app_settings.h"
#include "tests/ui/ui_test_support.h"
#include "ui/slit_scan_window.h"

using namespace vesko::test;

namespace {

// The y-pair example (slit width 0.1, centre 0, width 1, five points) written into `folder`.
QByteArray WorkedExampleScript(const QByteArray& folder) {
  QByteArrayList lines = {"set exptime 1.0",
                          "TclSrv_ORTEC994:MeasureCounts:ConfigureTimer $exptime",
                          "TclSrv_Optics:BeamStop in null",
                          "TclSrv_Optics:Shutter open",
                          "set fp [open " + folder + "/4DSlit1DScan.dat w+]",
                          "puts $fp \"slit_y1, slit_y2, slit_center, Intensity\""};
  // Blade 1, blade 2, opening centre: five points from the low end up, then the range's centre again.
  const QByteArrayList points[] = {{"-0.450", "0.550", "-0.500"}, {"-0.200", "0.300", "-0.250"},
                                   {"0.050", "0.050", "0.000"},   {"0.300", "-0.200", "0.250"},
                                   {"0.550", "-0.450", "0.500"},  {"0.050", "0.050", "0.000"}};
  for (const QByteArrayList& p : points) {
    lines << "TclSrv_Optics:4DSlit {slit_y1 move " + p[0] + "}"
          << "TclSrv_Optics:4DSlit {slit_y2 move " + p[1] + "}"
          << "TclSrv_ORTEC994:MeasureCountsWithTimer $exptime 0"
          << "set cnt $_ORTEC994(counterA)"
          << "puts $fp \"" + p.join(", ") + ", $cnt\"";
  }
  lines << "close $fp"
        << "TclSrv_Optics:Shutter close";
  return CrLfLines(lines);
}

}  // namespace

class SlitScanWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();
  void opensWithDesignTexts();
  void loadsSettingsFile_data();
  void loadsSettingsFile();
  void fileCreateWritesWorkedExample();
  void fileCreatePassesRepeatAndZPair();
  void refusedInputShowsSettingError_data();
  void refusedInputShowsSettingError();
  void repeatTimesErrorKeepsPreviousScript();
  void unwritableOutputFolderIsReported();
  void reopenedWindowLoadsStoredInputs();

 private:
  void openWindow();
  template <typename T>
  T* control(const char* name) const {
    return window_->findChild<T*>(QString::fromLatin1(name));
  }
  QString text(const char* name) const { return control<QWidget>(name)->property("text").toString(); }
  void type(const char* box, const QString& text);
  void click(const char* name);
  void fillWorkedExample(bool chooseBladePair = true);
  QString outputFile(const QString& name) const { return outputDir_->filePath(name); }
  QString settingsFile() const { return settingsDir_->filePath(QStringLiteral("4DSlitScan.ini")); }

  std::unique_ptr<QTemporaryDir> settingsDir_;
  std::unique_ptr<QTemporaryDir> outputDir_;
  RecordingDialogs dialogs_;
  QPointer<vesko::SlitScanWindow> window_;
};

void SlitScanWindowTest::init() {
  settingsDir_ = std::make_unique<QTemporaryDir>();
  outputDir_ = std::make_unique<QTemporaryDir>();
  QVERIFY(settingsDir_->isValid() && outputDir_->isValid());
  dialogs_ = RecordingDialogs();
  vesko::SetOutputFolder(outputDir_->path().toStdString());
}

void SlitScanWindowTest::cleanup() {
  delete window_.data();
  vesko::ResetOutputFolder();
}

void SlitScanWindowTest::openWindow() {
  window_ = new vesko::SlitScanWindow(settingsDir_->path().toStdString(), dialogs_);
  window_->show();
  QVERIFY(QTest::qWaitForWindowExposed(window_));
}

void SlitScanWindowTest::type(const char* box, const QString& text) {
  control<QLineEdit>(box)->clear();
  QTest::keyClicks(control<QLineEdit>(box), text);
}

void SlitScanWindowTest::click(const char* name) {
  auto* button = control<QAbstractButton>(name);
  // Near the left edge: an option's or check box's indicator; any point of a push button.
  QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
}

void SlitScanWindowTest::fillWorkedExample(bool chooseBladePair) {
  if (chooseBladePair) {
    click("opt4DAxis_0");
  }
  type("txt4DSlitWidth", "0.1");
  type("txt4DScanCenter", "0");
  type("txt4DScanWidth", "1");
  type("txt4DScanDivision", "5");
}

void SlitScanWindowTest::opensWithDesignTexts() {
  openWindow();
  QCOMPARE(window_->objectName(), QStringLiteral("frm4DSlitScan"));
  QCOMPARE(window_->windowTitle(), QStringLiteral("4DSlit Scan Setting"));
  QVERIFY(window_->isModal());
  QCOMPARE(control<QGroupBox>("fra4D")->title(), QStringLiteral("Move Blades"));
  QCOMPARE(control<QGroupBox>("fra4DRepeatSetting")->title(), QStringLiteral("Repeat Setting"));

  const char* const texts[][2] = {{"opt4DAxis_0", "y1 and y2"},
                                  {"opt4DAxis_1", "z1 and z2"},
                                  {"lblSetting_0", "Slit Width"},
                                  {"lblSetting_1", "Scan Center"},
                                  {"lblSetting_2", "Scan Width"},
                                  {"lblSetting_3", "Scan Division"},
                                  {"lblSetting_5", "Output FileName"},
                                  {"lblSetting_6", "(Result File Name = *.dat)"},
                                  {"chk4DRepeatActive", "Active"},
                                  {"Label1", "Times"},
                                  {"cmd4DFileCreate", "File Create"},
                                  {"lbl4DStatus", ""},
                                  {"txt4DSlitWidth", ""},
                                  {"txt4DScanCenter", ""},
                                  {"txt4DScanWidth", ""},
                                  {"txt4DScanDivision", ""},
                                  {"txt4DRepeatTimes", "2"},
                                  {"txt4DOutputFileName", "4DSlit1DScan.tcl"}};
  for (const auto& row : texts) {
    QVERIFY2(control<QWidget>(row[0]), row[0]);
    QCOMPARE(text(row[0]), QString::fromLatin1(row[1]));
  }
  QVERIFY(!control<QRadioButton>("opt4DAxis_0")->isChecked());
  QVERIFY(!control<QRadioButton>("opt4DAxis_1")->isChecked());
  QVERIFY(!control<QCheckBox>("chk4DRepeatActive")->isChecked());
  // Only the frame caption is bold; the repeat frame keeps the default face.
  QVERIFY(control<QGroupBox>("fra4D")->font().bold());
  QVERIFY(!control<QRadioButton>("opt4DAxis_0")->font().bold());
  QCOMPARE(control<QLineEdit>("txt4DScanCenter")->font().pointSizeF(), 12.0);
  QCOMPARE(control<QLineEdit>("txt4DRepeatTimes")->font(), window_->font());
  QVERIFY(control<QPushButton>("cmd4DFileCreate")->isDefault());
}

void SlitScanWindowTest::loadsSettingsFile_data() {
  QTest::addColumn<QByteArray>("content");
  QTest::addColumn<int>("axis");           // -1: no option chosen
  QTest::addColumn<QStringList>("boxes");  // width, centre, scan width, division, file name

  QTest::newRow("z pair") << CrLfLines({"1", "0.100", "0.000", "1.000", "5", "4DSlit1DScan.tcl"}) << 1
                          << QStringList{"0.100", "0.000", "1.000", "5", "4DSlit1DScan.tcl"};
  QTest::newRow("y pair, blanks dropped") << CrLfLines({"0", "  2.5", "-1.250  ", "3.000", "7", " run.tcl "})
                                          << 0 << QStringList{"2.5", "-1.250", "3.000", "7", "run.tcl"};
  QTest::newRow("first three lines only")
      << CrLfLines({"2", "0.100", "1.500"}) << 1 << QStringList{"0.100", "1.500", "", "", "4DSlit1DScan.tcl"};
  QTest::newRow("selector not a number") << CrLfLines({"y", "0.100", "0.000", "1.000", "5", "a.tcl"}) << -1
                                         << QStringList{"", "", "", "", "4DSlit1DScan.tcl"};
}

void SlitScanWindowTest::loadsSettingsFile() {
  QFETCH(QByteArray, content);
  QFETCH(int, axis);
  QFETCH(QStringList, boxes);
  QVERIFY(WriteBytes(settingsFile(), content));
  openWindow();
  QCOMPARE(control<QRadioButton>("opt4DAxis_0")->isChecked(), axis == 0);
  QCOMPARE(control<QRadioButton>("opt4DAxis_1")->isChecked(), axis == 1);
  const QStringList shown = {text("txt4DSlitWidth"), text("txt4DScanCenter"), text("txt4DScanWidth"),
                             text("txt4DScanDivision"), text("txt4DOutputFileName")};
  QCOMPARE(shown, boxes);
  QVERIFY(!control<QCheckBox>("chk4DRepeatActive")->isChecked());
  QCOMPARE(text("txt4DRepeatTimes"), QStringLiteral("2"));
  QVERIFY(dialogs_.messages.isEmpty());
}

void SlitScanWindowTest::fileCreateWritesWorkedExample() {
  openWindow();
  fillWorkedExample();
  click("cmd4DFileCreate");

  QCOMPARE(dialogs_.messages, QStringList());
  QCOMPARE(text("lbl4DStatus"), QStringLiteral("Done"));
  const QByteArray expected = WorkedExampleScript(QFile::encodeName(outputDir_->path()));
  QCOMPARE(QString::fromUtf8(ReadBytes(outputFile("4DSlit1DScan.tcl"))), QString::fromUtf8(expected));
  QCOMPARE(ReadBytes(settingsFile()), CrLfLines({"0", "0.100", "0.000", "1.000", "5", "4DSlit1DScan.tcl"}));
  QCOMPARE(QDir(outputDir_->path()).entryList(QDir::Files), QStringList{"4DSlit1DScan.tcl"});
}

void SlitScanWindowTest::fileCreatePassesRepeatAndZPair() {
  openWindow();
  fillWorkedExample();
  click("opt4DAxis_1");
  type("txt4DOutputFileName", "  zrun.tcl  ");
  click("chk4DRepeatActive");
  type("txt4DRepeatTimes", "3");
  click("cmd4DFileCreate");

  QCOMPARE(dialogs_.messages, QStringList());
  const QByteArrayList lines = ReadBytes(outputFile("zrun.tcl")).split('\n');
  QVERIFY(
      lines.contains("set fp1 [open " + QFile::encodeName(outputDir_->path()) + "/zrun_Repeat.dat w+]\r"));
  QVERIFY(lines.contains("puts $fp1 \"slit_z1,slit_z2,slit_center,Intensity(Repeat02)\"\r"));
  QVERIFY(!lines.contains("puts $fp1 \"slit_z1,slit_z2,slit_center,Intensity(Repeat03)\"\r"));
  QCOMPARE(ReadBytes(settingsFile()), CrLfLines({"1", "0.100", "0.000", "1.000", "5", "zrun.tcl"}));
}

void SlitScanWindowTest::refusedInputShowsSettingError_data() {
  QTest::addColumn<QByteArray>("box");  // "": the blade pair is left unchosen
  QTest::addColumn<QString>("typed");
  QTest::newRow("no blade pair") << QByteArray() << QString();
  QTest::newRow("slit width not a number") << QByteArray("txt4DSlitWidth") << "abc";
  QTest::newRow("division of one") << QByteArray("txt4DScanDivision") << "1";
  QTest::newRow("name without base") << QByteArray("txt4DOutputFileName") << ".tcl";
}

void SlitScanWindowTest::refusedInputShowsSettingError() {
  QFETCH(QByteArray, box);
  QFETCH(QString, typed);
  openWindow();
  fillWorkedExample(!box.isEmpty());
  if (!box.isEmpty()) {
    type(box.constData(), typed);
  }
  click("cmd4DFileCreate");

  QCOMPARE(dialogs_.messages, QStringList{"Setting Error!"});
  QCOMPARE(dialogs_.messageParents[0]->window(), static_cast<QWidget*>(window_.data()));
  QCOMPARE(text("lbl4DStatus"), QString());
  QVERIFY(QDir(outputDir_->path()).isEmpty());
  QVERIFY(QDir(settingsDir_->path()).isEmpty());
}

void SlitScanWindowTest::repeatTimesErrorKeepsPreviousScript() {
  const QByteArray previous = CrLfLines({"set exptime 1.0", "# the operator's previous script"});
  QVERIFY(WriteBytes(outputFile("4DSlit1DScan.tcl"), previous));
  openWindow();
  fillWorkedExample();
  click("chk4DRepeatActive");
  type("txt4DRepeatTimes", "1");
  click("cmd4DFileCreate");

  QCOMPARE(dialogs_.messages, QStringList{"Repeat Times Error"});
  QCOMPARE(ReadBytes(outputFile("4DSlit1DScan.tcl")), previous);
  QCOMPARE(QDir(outputDir_->path()).entryList(QDir::Files), QStringList{"4DSlit1DScan.tcl"});
  QVERIFY(!QFile::exists(settingsFile()));
}

void SlitScanWindowTest::unwritableOutputFolderIsReported() {
  vesko::SetOutputFolder(outputFile(QStringLiteral("missing")).toStdString());
  openWindow();
  fillWorkedExample();
  click("cmd4DFileCreate");

  QCOMPARE(dialogs_.messages.size(), 1);
  QVERIFY2(dialogs_.messages[0].startsWith(QStringLiteral("Cannot write ")) &&
               dialogs_.messages[0].contains(QStringLiteral("missing/4DSlit1DScan.tcl")),
           qPrintable(dialogs_.messages[0]));
  QVERIFY(QDir(outputDir_->path()).isEmpty());
  QVERIFY(!QFile::exists(settingsFile()));
}

void SlitScanWindowTest::reopenedWindowLoadsStoredInputs() {
  openWindow();
  fillWorkedExample();
  type("txt4DSlitWidth", "0.12345");
  type("txt4DScanDivision", "4.5");
  // Return in a box presses the window's default button, "File Create".
  QTest::keyClick(control<QLineEdit>("txt4DOutputFileName"), Qt::Key_Return);
  QCOMPARE(text("lbl4DStatus"), QStringLiteral("Done"));

  // Closing unloads the window; inputs typed since the last "File Create" go with it.
  type("txt4DScanCenter", "9");
  window_->close();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  QVERIFY(window_.isNull());

  openWindow();
  QVERIFY(control<QRadioButton>("opt4DAxis_0")->isChecked());
  QCOMPARE(text("txt4DSlitWidth"), QStringLiteral("0.123"));
  QCOMPARE(text("txt4DScanCenter"), QStringLiteral("0.000"));
  QCOMPARE(text("txt4DScanDivision"), QStringLiteral("4"));
  QCOMPARE(text("lbl4DStatus"), QString());
}

QTEST_MAIN(SlitScanWindowTest)
#include "slit_scan_window_test.moc"
