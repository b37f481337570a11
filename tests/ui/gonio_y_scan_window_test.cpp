#include <QCheckBox>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "app/app_settings.h"
#include "core/line_sink.h"
#include "generators/gonio_y_scan.h"
#include "tests/ui/ui_test_support.h"
#include "ui/gonio_y_scan_window.h"

using namespace vesko::test;

namespace {

// A stored file with these two omega box lines.
QByteArray SettingsWithBoxes(const QByteArray& box0, const QByteArray& box1) {
  return CrLfLines({"0", "0.000", "1.000", "3", "GonioYScan.tcl", box0, "4.000", box1, "-4.000"});
}

}  // namespace

class GonioYScanWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    settingsDir_ = std::make_unique<QTemporaryDir>();
    outputDir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(settingsDir_->isValid() && outputDir_->isValid());
    dialogs_ = RecordingDialogs();
    vesko::SetOutputFolder(outputDir_->path().toStdString());
  }
  void cleanup() {
    delete window_.data();
    vesko::ResetOutputFolder();
  }
  void omegaRuleFollowsClicks();
  void loadedBoxesApplyTheOmegaRule_data();
  void loadedBoxesApplyTheOmegaRule();
  void generatorBWritesWorkedExample();
  void greyBoxWritesNoBlockAndIsStoredUnticked();

 private:
  void openWindow() {
    window_ = new vesko::GonioYScanWindow(settingsDir_->path().toStdString(), dialogs_);
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_));
  }
  template <typename T = QWidget>
  T* control(const char* name) const {
    return window_->findChild<T*>(QString::fromLatin1(name));
  }
  QString text(const char* name) const { return control(name)->property("text").toString(); }
  void click(const char* name) {
    // Near the left edge: a check box's indicator; any point of a push button.
    auto* button = control<QAbstractButton>(name);
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
  }
  // Which "File Create" shows ("A" or "B"), then whether the four repeat controls are enabled.
  QString omegaRuleShown() const {
    const bool a = control("cmdGonioYFileCreate")->isVisible();
    const bool b = control("cmdGonioYFileCreate2")->isVisible();
    int enabled = 0;
    for (const char* name :
         {"fraGonioYRepeatSetting", "chkGonioYRepeatActive", "txtGonioYRepeatTimes", "lblGonioYTimes"}) {
      enabled += control(name)->isEnabled() ? 1 : 0;
    }
    return QString(a == b ? "?"
                   : a    ? "A"
                          : "B") +
           (enabled == 4   ? " enabled"
            : enabled == 0 ? " disabled"
                           : " mixed");
  }
  QByteArray script() const { return ReadBytes(outputDir_->filePath(QStringLiteral("GonioYScan.tcl"))); }
  QString settingsFile() const { return settingsDir_->filePath(QStringLiteral("GonioYScan.ini")); }

  std::unique_ptr<QTemporaryDir> settingsDir_;
  std::unique_ptr<QTemporaryDir> outputDir_;
  RecordingDialogs dialogs_;
  QPointer<vesko::GonioYScanWindow> window_;
};

void GonioYScanWindowTest::omegaRuleFollowsClicks() {
  openWindow();
  QCOMPARE(window_->objectName() + '|' + window_->windowTitle(), QStringLiteral("frmGonioYScan|GonioYScan"));
  QVERIFY(window_->isModal() && window_->testAttribute(Qt::WA_DeleteOnClose));
  QCOMPARE(text("chkGonioYUseOmega_0") + text("txtGonioYOmega_0"), QString::fromUtf8("ω15.000"));
  QCOMPARE(omegaRuleShown(), QStringLiteral("A enabled"));
  click("chkGonioYRepeatActive");

  click("chkGonioYUseOmega_0");
  QCOMPARE(omegaRuleShown(), QStringLiteral("B disabled"));
  QVERIFY(!control<QCheckBox>("chkGonioYRepeatActive")->isChecked());
  click("chkGonioYUseOmega_1");
  click("chkGonioYUseOmega_0");
  QCOMPARE(omegaRuleShown(), QStringLiteral("B disabled"));  // "ω2" still ticked

  // Both unticked: generator A again, with the repeat box left unticked.
  click("chkGonioYUseOmega_1");
  QCOMPARE(omegaRuleShown(), QStringLiteral("A enabled"));
  QVERIFY(!control<QCheckBox>("chkGonioYRepeatActive")->isChecked());
}

void GonioYScanWindowTest::loadedBoxesApplyTheOmegaRule_data() {
  QTest::addColumn<QByteArray>("file");
  QTest::addColumn<QString>("shown");
  QTest::addColumn<int>("state0");  // Qt::CheckState of "ω1", then of "ω2"
  QTest::addColumn<int>("state1");
  QTest::addColumn<QString>("omega1");
  QTest::newRow("both unticked") << SettingsWithBoxes("0", "0") << "A enabled" << 0 << 0 << "-4.000";
  QTest::newRow("omega 1 ticked") << SettingsWithBoxes("1", "0") << "B disabled" << 2 << 0 << "-4.000";
  QTest::newRow("omega 2 grey") << SettingsWithBoxes("0", "2") << "B disabled" << 0 << 1 << "-4.000";
  // Reading stops at a box value that is not 0, 1 or 2: the rest keep their design texts.
  QTest::newRow("bad box value") << SettingsWithBoxes("1", "3") << "B disabled" << 2 << 0 << "-5.000";
}

void GonioYScanWindowTest::loadedBoxesApplyTheOmegaRule() {
  QFETCH(QByteArray, file);
  QFETCH(QString, shown);
  QFETCH(int, state0);
  QFETCH(int, state1);
  QFETCH(QString, omega1);
  QVERIFY(WriteBytes(settingsFile(), file));
  openWindow();
  QCOMPARE(omegaRuleShown(), shown);
  QCOMPARE(static_cast<int>(control<QCheckBox>("chkGonioYUseOmega_0")->checkState()), state0);
  QCOMPARE(static_cast<int>(control<QCheckBox>("chkGonioYUseOmega_1")->checkState()), state1);
  QCOMPARE(text("txtGonioYScanWidth") + text("txtGonioYOmega_0"), QStringLiteral("1.0004.000"));
  QCOMPARE(text("txtGonioYOmega_1"), omega1);
}

void GonioYScanWindowTest::generatorBWritesWorkedExample() {
  openWindow();
  QTest::keyClicks(control("txtGonioYScanCenter"), "0");
  QTest::keyClicks(control("txtGonioYScanWidth"), "1");
  QTest::keyClicks(control("txtGonioYScanDivision"), "3");
  click("chkGonioYUseOmega_1");
  click("cmdGonioYFileCreate2");

  QCOMPARE(dialogs_.messages, QStringList());
  QCOMPARE(text("lblGonioYStatus"), QStringLiteral("Done"));
  vesko::GonioYScanForm form;
  form.scanCenter = "0";
  form.scanWidth = "1";
  form.division = "3";
  form.useOmega = {0, 1};
  vesko::StringSink expected;
  vesko::BuildScriptB(*vesko::Validate(form, vesko::GonioYGenerator::B), outputDir_->path().toStdString(),
                      expected);
  QVERIFY(expected.text().find("/GonioYScan_2.dat w+]\r\n") != std::string::npos);
  QCOMPARE(QString::fromUtf8(script()), QString::fromStdString(expected.text()));
  QCOMPARE(ReadBytes(settingsFile()),
           CrLfLines({"0", "0.000", "1.000", "3", "GonioYScan.tcl", "0", "5.000", "1", "-5.000"}));
}

void GonioYScanWindowTest::greyBoxWritesNoBlockAndIsStoredUnticked() {
  QVERIFY(WriteBytes(settingsFile(), SettingsWithBoxes("2", "0")));
  openWindow();
  click("cmdGonioYFileCreate2");
  QCOMPARE(dialogs_.messages, QStringList());
  QVERIFY(!script().contains("set fp"));
  QVERIFY(script().contains("\r\nTclSrv_Optics:Shutter open\r\nTclSrv_Gonio {omega move 0.000}\r\n"));
  QCOMPARE(ReadBytes(settingsFile()), SettingsWithBoxes("0", "0"));

  // A click moves grey on to ticked; after that the box only ticks and unticks.
  auto* box = control<QCheckBox>("chkGonioYUseOmega_0");
  for (const Qt::CheckState expected : {Qt::Checked, Qt::Unchecked, Qt::Checked}) {
    click("chkGonioYUseOmega_0");
    QCOMPARE(box->checkState(), expected);
  }
}

QTEST_MAIN(GonioYScanWindowTest)
#include "gonio_y_scan_window_test.moc"
