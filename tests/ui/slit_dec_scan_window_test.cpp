#include <QCheckBox>
#include <QDir>
#include <QGroupBox>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "app/app_settings.h"
#include "tests/ui/ui_test_support.h"
#include "ui/slit_dec_scan_window.h"

using namespace vesko::test;

class SlitDecScanWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();
  void opensWithDesignTexts();
  void loadsSettingsFile();
  void fileCreateWritesWorkedExample();
  void refusedInputShowsSettingError_data();
  void refusedInputShowsSettingError();
  void repeatTimesErrorKeepsPreviousScript();

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
  QString scriptFile() const { return outputDir_->filePath(QStringLiteral("4DSlitDec1DScan.tcl")); }
  QString settingsFile() const { return settingsDir_->filePath(QStringLiteral("4DSlitDec1DScan.ini")); }

  std::unique_ptr<QTemporaryDir> settingsDir_;
  std::unique_ptr<QTemporaryDir> outputDir_;
  RecordingDialogs dialogs_;
  QPointer<vesko::SlitDecScanWindow> window_;
};

void SlitDecScanWindowTest::init() {
  settingsDir_ = std::make_unique<QTemporaryDir>();
  outputDir_ = std::make_unique<QTemporaryDir>();
  QVERIFY(settingsDir_->isValid() && outputDir_->isValid());
  dialogs_ = RecordingDialogs();
  vesko::SetOutputFolder(outputDir_->path().toStdString());
}

void SlitDecScanWindowTest::cleanup() {
  delete window_.data();
  vesko::ResetOutputFolder();
}

void SlitDecScanWindowTest::openWindow() {
  window_ = new vesko::SlitDecScanWindow(settingsDir_->path().toStdString(), dialogs_);
  window_->show();
  QVERIFY(QTest::qWaitForWindowExposed(window_));
}

void SlitDecScanWindowTest::type(const char* box, const QString& text) {
  control<QLineEdit>(box)->clear();
  QTest::keyClicks(control<QLineEdit>(box), text);
}

void SlitDecScanWindowTest::click(const char* name) {
  auto* button = control<QAbstractButton>(name);
  // Near the left edge: an option's or check box's indicator; any point of a push button.
  QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
}

void SlitDecScanWindowTest::fillWorkedExample(bool chooseBladePair) {
  if (chooseBladePair) {
    click("opt4DDecAxis_0");
  }
  type("txt4DDecStartSlitWidth", "1.0");
  type("txt4DDecEndSlitWidth", "0.5");
  type("txt4DDecScanCenter", "0.1");
  type("txt4DDecDecStep", "0.25");
}

void SlitDecScanWindowTest::opensWithDesignTexts() {
  openWindow();
  QCOMPARE(window_->objectName(), QStringLiteral("frm4DSlitDecScan"));
  QCOMPARE(window_->windowTitle(), QStringLiteral("4DSlit Decrease Scan Setting"));
  QVERIFY(window_->isModal());
  QVERIFY(window_->testAttribute(Qt::WA_DeleteOnClose));
  QCOMPARE(control<QGroupBox>("fra4DDec")->title(), QStringLiteral("Move Blades"));
  QCOMPARE(control<QGroupBox>("fra4DDecRepeatSetting")->title(), QStringLiteral("Repeat Setting"));

  const char* const texts[][2] = {{"opt4DDecAxis_0", "y1 and y2"},
                                  {"opt4DDecAxis_1", "z1 and z2"},
                                  {"lblSetting_0", "Start Slit Width"},
                                  {"lblSetting_1", "End Slit Width"},
                                  {"lblSetting_2", "Scan Center"},
                                  {"lblSetting_3", "Dec Step"},
                                  {"lblSetting_4", "Output FileName"},
                                  {"lblSetting_5", "(Result File Name = *.dat)"},
                                  {"lblSetting_6", "Times"},
                                  {"chk4DDecRepeatActive", "Active"},
                                  {"cmd4DDecFileCreate", "File Create"},
                                  {"lbl4DDecStatus", ""},
                                  {"txt4DDecStartSlitWidth", ""},
                                  {"txt4DDecEndSlitWidth", ""},
                                  {"txt4DDecScanCenter", ""},
                                  {"txt4DDecDecStep", ""},
                                  {"txt4DDecOutputFileName", "4DSlitDec1DScan.tcl"},
                                  {"txt4DDecRepeatTimes", "2"}};
  for (const auto& row : texts) {
    QVERIFY2(control<QWidget>(row[0]), row[0]);
    QCOMPARE(text(row[0]), QString::fromLatin1(row[1]));
  }
  QVERIFY(!control<QRadioButton>("opt4DDecAxis_0")->isChecked());
  QVERIFY(!control<QRadioButton>("opt4DDecAxis_1")->isChecked());
  QVERIFY(!control<QCheckBox>("chk4DDecRepeatActive")->isChecked());
  // The sibling scan window's look: bold frame caption, gothic 12 points, default face in the repeat frame.
  QVERIFY(control<QGroupBox>("fra4DDec")->font().bold());
  QCOMPARE(control<QLineEdit>("txt4DDecDecStep")->font().pointSizeF(), 12.0);
  QCOMPARE(control<QLineEdit>("txt4DDecRepeatTimes")->font(), window_->font());
  QVERIFY(control<QPushButton>("cmd4DDecFileCreate")->isDefault());
}

void SlitDecScanWindowTest::loadsSettingsFile() {
  // The fifth line is missing: reading stops there and the step box keeps its design text.
  QVERIFY(WriteBytes(settingsFile(), CrLfLines({"1", "1.000", " 0.100 ", "-0.500"})));
  openWindow();
  QVERIFY(control<QRadioButton>("opt4DDecAxis_1")->isChecked());
  const QStringList shown = {text("txt4DDecStartSlitWidth"), text("txt4DDecEndSlitWidth"),
                             text("txt4DDecScanCenter"), text("txt4DDecDecStep"),
                             text("txt4DDecOutputFileName")};
  QCOMPARE(shown, (QStringList{"1.000", "0.100", "-0.500", "", "4DSlitDec1DScan.tcl"}));
  QVERIFY(dialogs_.messages.isEmpty());
}

void SlitDecScanWindowTest::fileCreateWritesWorkedExample() {
  openWindow();
  fillWorkedExample();
  click("cmd4DDecFileCreate");

  QCOMPARE(dialogs_.messages, QStringList());
  QCOMPARE(text("lbl4DDecStatus"), QStringLiteral("Done"));
  const QByteArray script = ReadBytes(scriptFile());
  QVERIFY(script.endsWith("TclSrv_Optics:Shutter close\r\n"));
  const QByteArrayList lines = script.split('\n');
  QCOMPARE(lines.size() - 1, 23);  // head 5, header 1, three points of 5, tail 2
  QCOMPARE(lines[2], "set fp [open " + QFile::encodeName(outputDir_->path()) + "/4DSlitDec1DScan.dat w+]\r");
  QCOMPARE(lines[15], QByteArray("puts $fp \"0.475,0.275, $cnt\"\r"));
  QCOMPARE(ReadBytes(settingsFile()),
           CrLfLines({"0", "1.000", "0.500", "0.100", "0.250", "4DSlitDec1DScan.tcl"}));
}

void SlitDecScanWindowTest::refusedInputShowsSettingError_data() {
  QTest::addColumn<QByteArray>("box");  // "": the blade pair is left unchosen
  QTest::addColumn<QString>("typed");
  QTest::newRow("no blade pair") << QByteArray() << QString();
  QTest::newRow("step of zero") << QByteArray("txt4DDecDecStep") << "0";
  QTest::newRow("name without dot") << QByteArray("txt4DDecOutputFileName") << "scan";
}

void SlitDecScanWindowTest::refusedInputShowsSettingError() {
  QFETCH(QByteArray, box);
  QFETCH(QString, typed);
  openWindow();
  fillWorkedExample(!box.isEmpty());
  if (!box.isEmpty()) {
    type(box.constData(), typed);
  }
  click("cmd4DDecFileCreate");

  QCOMPARE(dialogs_.messages, QStringList{"Setting Error!"});
  QCOMPARE(dialogs_.messageParents[0]->window(), static_cast<QWidget*>(window_.data()));
  QCOMPARE(text("lbl4DDecStatus"), QString());
  QVERIFY(QDir(outputDir_->path()).isEmpty());
  QVERIFY(QDir(settingsDir_->path()).isEmpty());
}

void SlitDecScanWindowTest::repeatTimesErrorKeepsPreviousScript() {
  const QByteArray previous = CrLfLines({"set exptime 1.0", "# the operator's previous script"});
  QVERIFY(WriteBytes(scriptFile(), previous));
  openWindow();
  fillWorkedExample();
  click("chk4DDecRepeatActive");
  type("txt4DDecRepeatTimes", "1");
  click("cmd4DDecFileCreate");

  QCOMPARE(dialogs_.messages, QStringList{"Repeat Times Error"});
  QCOMPARE(ReadBytes(scriptFile()), previous);
  QCOMPARE(QDir(outputDir_->path()).entryList(QDir::Files), QStringList{"4DSlitDec1DScan.tcl"});
  QVERIFY(!QFile::exists(settingsFile()));
}

QTEST_MAIN(SlitDecScanWindowTest)
#include "slit_dec_scan_window_test.moc"
