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
#include "ui/lens_scan_window.h"

using namespace vesko::test;

namespace {

// The lens_y example (centre 0.0, width 0.3, four points) written into `folder`.
QByteArray WorkedExampleScript(const QByteArray& folder) {
  QByteArrayList lines = {"set exptime 1.0",
                          "TclSrv_ORTEC994:MeasureCounts:ConfigureTimer $exptime",
                          "set fp [open " + folder + "/Lens1DScan.dat w+]",
                          "TclSrv_Optics:BeamStop in null",
                          "TclSrv_Optics:Shutter open",
                          "puts $fp \"lens_y, Io\""};
  // From the high edge down, then back to the centre.
  for (const char* p : {"0.150", "0.050", "-0.050", "-0.150", "0.000"}) {
    lines << QByteArray("TclSrv_Optics:Lens {lens_y move ") + p + "}"
          << "TclSrv_ORTEC994:MeasureCountsWithTimer $exptime 0"
          << "set cnt $_ORTEC994(counterA)" << QByteArray("puts $fp \"") + p + ", $cnt\"";
  }
  lines << "close $fp"
        << "TclSrv_Optics:Shutter close";
  return CrLfLines(lines);
}

const char* const kAxes[] = {"lens_y", "lens_z", "lens_ry", "lens_rz"};

}  // namespace

class LensScanWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();
  void opensWithDesignTexts();
  void loadsSettingsFile_data();
  void loadsSettingsFile();
  void fileCreateWritesWorkedExample();
  void chosenAxisIsScannedAndStored_data();
  void chosenAxisIsScannedAndStored();
  void refusedInputShowsSettingError_data();
  void refusedInputShowsSettingError();

 private:
  void openWindow();
  template <typename T>
  T* control(const QString& name) const {
    return window_->findChild<T*>(name);
  }
  static QString axisOption(int k) { return QStringLiteral("optLenzAxis_%1").arg(k); }
  QString text(const QString& name) const { return control<QWidget>(name)->property("text").toString(); }
  void type(const QString& box, const QString& text);
  void click(const QString& name);
  void fillWorkedExample(int axis);
  QString outputFile(const QString& name) const { return outputDir_->filePath(name); }
  QString settingsFile() const { return settingsDir_->filePath(QStringLiteral("LensScan.ini")); }

  std::unique_ptr<QTemporaryDir> settingsDir_;
  std::unique_ptr<QTemporaryDir> outputDir_;
  RecordingDialogs dialogs_;
  QPointer<vesko::LensScanWindow> window_;
};

void LensScanWindowTest::init() {
  settingsDir_ = std::make_unique<QTemporaryDir>();
  outputDir_ = std::make_unique<QTemporaryDir>();
  QVERIFY(settingsDir_->isValid() && outputDir_->isValid());
  dialogs_ = RecordingDialogs();
  vesko::SetOutputFolder(outputDir_->path().toStdString());
}

void LensScanWindowTest::cleanup() {
  delete window_.data();
  vesko::ResetOutputFolder();
}

void LensScanWindowTest::openWindow() {
  window_ = new vesko::LensScanWindow(settingsDir_->path().toStdString(), dialogs_);
  window_->show();
  QVERIFY(QTest::qWaitForWindowExposed(window_));
}

void LensScanWindowTest::type(const QString& box, const QString& text) {
  control<QLineEdit>(box)->clear();
  QTest::keyClicks(control<QLineEdit>(box), text);
}

void LensScanWindowTest::click(const QString& name) {
  auto* button = control<QAbstractButton>(name);
  // Near the left edge: an option's indicator; any point of a push button.
  QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
}

void LensScanWindowTest::fillWorkedExample(int axis) {
  if (axis >= 0) {
    click(axisOption(axis));
  }
  type(QStringLiteral("txtLenzScanCenter"), "0.0");
  type(QStringLiteral("txtLenzScanWidth"), "0.3");
  type(QStringLiteral("txtLenzScanDivision"), "4");
}

void LensScanWindowTest::opensWithDesignTexts() {
  openWindow();
  QCOMPARE(window_->objectName(), QStringLiteral("frmLensScan"));
  QCOMPARE(window_->windowTitle(), QStringLiteral("Form1"));
  QVERIFY(window_->isModal());
  auto* frame = control<QGroupBox>(QStringLiteral("fraLenz"));
  QCOMPARE(frame->title(), QStringLiteral("Move Axis"));
  for (int k = 0; k < 4; ++k) {
    auto* option = frame->findChild<QRadioButton*>(axisOption(k));
    QVERIFY(option);
    QCOMPARE(option->text(), QString::fromLatin1(kAxes[k]));
    QVERIFY(!option->isChecked());
  }
  const char* const texts[][2] = {{"lblSetting_0", "Scan Center"},
                                  {"lblSetting_1", "Scan Width"},
                                  {"lblSetting_2", "Scan Division"},
                                  {"lblSetting_3", "Output FileName"},
                                  {"lblSetting_4", "(Result File Name = *.dat)"},
                                  {"txtLenzScanCenter", ""},
                                  {"txtLenzScanWidth", ""},
                                  {"txtLenzScanDivision", ""},
                                  {"txtLenzOutputFileName", "Lens1DScan.tcl"},
                                  {"cmdLenzFileCreate", "File Create"},
                                  {"lblLenzStatus", ""}};
  for (const auto& row : texts) {
    QVERIFY2(control<QWidget>(QString::fromLatin1(row[0])), row[0]);
    QCOMPARE(text(QString::fromLatin1(row[0])), QString::fromLatin1(row[1]));
  }
  QVERIFY(control<QPushButton>(QStringLiteral("cmdLenzFileCreate"))->isDefault());
}

void LensScanWindowTest::loadsSettingsFile_data() {
  QTest::addColumn<QByteArray>("content");
  QTest::addColumn<int>("axis");           // -1: no option chosen
  QTest::addColumn<QStringList>("boxes");  // centre, width, division, file name

  QTest::newRow("lens_ry") << CrLfLines({"2", "0.000", "0.300", "4", "ry.tcl"}) << 2
                           << QStringList{"0.000", "0.300", "4", "ry.tcl"};
  QTest::newRow("axis outside 0...3 still reads the rest")
      << CrLfLines({"7", "1.000", "2.000", "3", "a.tcl"}) << -1
      << QStringList{"1.000", "2.000", "3", "a.tcl"};
  QTest::newRow("axis not a number stops the load")
      << CrLfLines({"x", "1.000", "2.000", "3", "a.tcl"}) << -1 << QStringList{"", "", "", "Lens1DScan.tcl"};
}

void LensScanWindowTest::loadsSettingsFile() {
  QFETCH(QByteArray, content);
  QFETCH(int, axis);
  QFETCH(QStringList, boxes);
  QVERIFY(WriteBytes(settingsFile(), content));
  openWindow();
  for (int k = 0; k < 4; ++k) {
    QCOMPARE(control<QRadioButton>(axisOption(k))->isChecked(), k == axis);
  }
  const QStringList shown = {
      text(QStringLiteral("txtLenzScanCenter")), text(QStringLiteral("txtLenzScanWidth")),
      text(QStringLiteral("txtLenzScanDivision")), text(QStringLiteral("txtLenzOutputFileName"))};
  QCOMPARE(shown, boxes);
  QVERIFY(dialogs_.messages.isEmpty());
}

void LensScanWindowTest::fileCreateWritesWorkedExample() {
  openWindow();
  fillWorkedExample(0);
  click(QStringLiteral("cmdLenzFileCreate"));

  QCOMPARE(dialogs_.messages, QStringList());
  QCOMPARE(text(QStringLiteral("lblLenzStatus")), QStringLiteral("Done"));
  const QByteArray expected = WorkedExampleScript(QFile::encodeName(outputDir_->path()));
  QCOMPARE(QString::fromUtf8(ReadBytes(outputFile("Lens1DScan.tcl"))), QString::fromUtf8(expected));
  QCOMPARE(ReadBytes(settingsFile()), CrLfLines({"0", "0.000", "0.300", "4", "Lens1DScan.tcl"}));
}

void LensScanWindowTest::chosenAxisIsScannedAndStored_data() {
  QTest::addColumn<int>("axis");
  for (int k = 1; k < 4; ++k) {
    QTest::newRow(kAxes[k]) << k;
  }
}

void LensScanWindowTest::chosenAxisIsScannedAndStored() {
  QFETCH(int, axis);
  // A stored lens_y choice is replaced by the operator's click.
  QVERIFY(WriteBytes(settingsFile(), CrLfLines({"0"})));
  openWindow();
  fillWorkedExample(axis);
  click(QStringLiteral("cmdLenzFileCreate"));

  QCOMPARE(dialogs_.messages, QStringList());
  const QByteArray name(kAxes[axis]);
  const QByteArray script = ReadBytes(outputFile("Lens1DScan.tcl"));
  QVERIFY(script.contains("\r\nputs $fp \"" + name + ", Io\"\r\nTclSrv_Optics:Lens {" + name +
                          " move 0.150}\r\n"));
  QVERIFY(!script.contains("lens_y"));
  QCOMPARE(ReadBytes(settingsFile()),
           CrLfLines({QByteArray::number(axis), "0.000", "0.300", "4", "Lens1DScan.tcl"}));
}

void LensScanWindowTest::refusedInputShowsSettingError_data() {
  QTest::addColumn<int>("axis");  // -1: no option chosen
  QTest::addColumn<QString>("box");
  QTest::addColumn<QString>("typed");
  QTest::newRow("no axis") << -1 << QString() << QString();
  QTest::newRow("width not a number") << 1 << "txtLenzScanWidth"
                                      << "wide";
  QTest::newRow("division of one") << 1 << "txtLenzScanDivision"
                                   << "1";
  QTest::newRow("empty name") << 1 << "txtLenzOutputFileName"
                              << "  ";
}

void LensScanWindowTest::refusedInputShowsSettingError() {
  QFETCH(int, axis);
  QFETCH(QString, box);
  QFETCH(QString, typed);
  openWindow();
  fillWorkedExample(axis);
  if (!box.isEmpty()) {
    type(box, typed);
  }
  click(QStringLiteral("cmdLenzFileCreate"));

  QCOMPARE(dialogs_.messages, QStringList{"Setting Error!"});
  QCOMPARE(dialogs_.messageParents[0]->window(), static_cast<QWidget*>(window_.data()));
  QCOMPARE(text(QStringLiteral("lblLenzStatus")), QString());
  QVERIFY(QDir(outputDir_->path()).isEmpty());
  QVERIFY(QDir(settingsDir_->path()).isEmpty());
}

QTEST_MAIN(LensScanWindowTest)
#include "lens_scan_window_test.moc"
