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
#include "core/line_sink.h"
#include "generators/gonio_stage_scan.h"
#include "tests/ui/ui_test_support.h"
#include "ui/gonio_stage_scan_window.h"

using namespace vesko::test;

namespace {

// The boxes of one panel in file order: slit width Y, Z, slit centre Y, Z, centre, width, division, name.
const char* const kBoxes[] = {"txtGonioStageSlitWidthY",   "txtGonioStageSlitWidthZ",
                              "txtGonioStageSlitCenterY",  "txtGonioStageSlitCenterZ",
                              "txtGonioStageScanCenter",   "txtGonioStageScanWidth",
                              "txtGonioStageScanDivision", "txtGonioStageOutputFileName"};

// Element `n` of the control array `name`.
QString At(const char* name, int n) {
  return QStringLiteral("%1_%2").arg(QLatin1String(name)).arg(n);
}

}  // namespace

class GonioStageScanWindowTest : public QObject {
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
  void loadsBothFilesUnderOneFailureRule_data();
  void loadsBothFilesUnderOneFailureRule();
  void zPanelTouchesOnlyItsOwnFiles();

 private:
  void openWindow() {
    window_ = new vesko::GonioStageScanWindow(settingsDir_->path().toStdString(), dialogs_);
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_));
  }
  template <typename T = QWidget>
  T* control(const QString& name) const {
    return window_->findChild<T*>(name);
  }
  QString text(const QString& name) const { return control(name)->property("text").toString(); }
  QStringList boxes(int n) const {
    QStringList shown;
    for (const char* box : kBoxes) {
      shown << text(At(box, n));
    }
    return shown;
  }
  void click(const QString& name) {
    auto* button = control<QAbstractButton>(name);
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
  }
  // Slit width Y 0.5, width Z 0.3, centre Y 0.1, centre Z -0.05; scan centre 1.0, width 0.4, three points.
  void fillWorkedExample(int n) {
    const char* const typed[] = {"0.5", "0.3", "0.1", "-0.05", "1.0", "0.4", "3"};
    for (int k = 0; k < 7; ++k) {
      QTest::keyClicks(control(At(kBoxes[k], n)), QString::fromLatin1(typed[k]));
    }
  }
  QString settingsFile(int n) const {
    return settingsDir_->filePath(n == 0 ? QStringLiteral("GonioStageScan2_y.ini")
                                         : QStringLiteral("GonioStageScan2_z.ini"));
  }

  std::unique_ptr<QTemporaryDir> settingsDir_;
  std::unique_ptr<QTemporaryDir> outputDir_;
  RecordingDialogs dialogs_;
  QPointer<vesko::GonioStageScanWindow> window_;
};

void GonioStageScanWindowTest::loadsBothFilesUnderOneFailureRule_data() {
  QTest::addColumn<QByteArray>("yFile");  // empty: no file
  QTest::addColumn<QStringList>("yBoxes");
  QTest::addColumn<QStringList>("zBoxes");
  QTest::addColumn<int>("zBox");  // Qt::CheckState of the z panel's "Move 4D Slit"

  const QStringList design = {"", "", "", "", "", "", "", "Gonio1DScan.tcl"};
  const QStringList zShown = {"0.300", "0.200", "0.000", "0.000", "2.000", "1.000", "4", "z.tcl"};
  const QByteArray y = CrLfLines({"0", "0.500", "0.300", "0.100", "-0.050", "1.000", "0.400", "3", "y.tcl"});
  QTest::newRow("both files") << y << QStringList{"0.500", "0.300", "0.100", "-0.050",
                                                  "1.000", "0.400", "3",     "y.tcl"}
                              << zShown << 1;
  QTest::newRow("no y file: neither panel loads") << QByteArray() << design << design << 0;
  QTest::newRow("short y file keeps what it read")
      << CrLfLines({"0", "0.500", "0.300"})
      << QStringList{"0.500", "0.300", "", "", "", "", "", "Gonio1DScan.tcl"} << design << 0;
}

void GonioStageScanWindowTest::loadsBothFilesUnderOneFailureRule() {
  QFETCH(QByteArray, yFile);
  QFETCH(QStringList, yBoxes);
  QFETCH(QStringList, zBoxes);
  QFETCH(int, zBox);
  QVERIFY(yFile.isEmpty() || WriteBytes(settingsFile(0), yFile));
  // The z file holds a grey box (2), which only a file can set.
  QVERIFY(WriteBytes(settingsFile(1),
                     CrLfLines({"2", "0.300", "0.200", "0.000", "0.000", "2.000", "1.000", "4", "z.tcl"})));
  openWindow();
  QCOMPARE(boxes(0), yBoxes);
  QCOMPARE(boxes(1), zBoxes);
  QCOMPARE(static_cast<int>(control<QCheckBox>(At("chkGonioStageMove4DSlit", 1))->checkState()), zBox);
  QVERIFY(dialogs_.messages.isEmpty());
}

void GonioStageScanWindowTest::zPanelTouchesOnlyItsOwnFiles() {
  const QByteArray ySettings =
      CrLfLines({"1", "9.000", "9.000", "9.000", "9.000", "9.000", "9.000", "9", "y.tcl"});
  QVERIFY(WriteBytes(settingsFile(0), ySettings));
  openWindow();
  QCOMPARE(window_->objectName() + '|' + window_->windowTitle(),
           QStringLiteral("frmGonioStageScan2|GonioStage 1D Scan Setting"));
  QVERIFY(window_->isModal() && window_->testAttribute(Qt::WA_DeleteOnClose));
  const auto* frameZ = control<QGroupBox>(At("fraGonioStage", 1));
  QCOMPARE(frameZ->title(), QStringLiteral("gonio_stage_z"));
  QCOMPARE(frameZ->findChild<QPushButton*>(At("cmdGonioStageFileCreate", 1))->text(),
           QStringLiteral("File Create(StageZ)"));
  // A division of 1 is refused with the division's message before anything is written.
  fillWorkedExample(1);
  control<QLineEdit>(At("txtGonioStageScanDivision", 1))->setText(QStringLiteral("1"));
  click(At("cmdGonioStageFileCreate", 1));
  QCOMPARE(dialogs_.messages, QStringList{"Scan Division Error!"});
  QCOMPARE(dialogs_.messageParents[0]->window(), static_cast<QWidget*>(window_.data()));
  QCOMPARE(text(At("lblGonioStageStatus", 1)), QString());
  QVERIFY(QDir(outputDir_->path()).isEmpty());

  dialogs_.messages.clear();
  control<QLineEdit>(At("txtGonioStageScanDivision", 1))->setText(QStringLiteral("3"));
  click(At("chkGonioStageMove4DSlit", 1));
  click(At("cmdGonioStageFileCreate", 1));
  QCOMPARE(dialogs_.messages, QStringList());
  QCOMPARE(text(At("lblGonioStageStatus", 0)), QString());
  QCOMPARE(text(At("lblGonioStageStatus", 1)), QStringLiteral("Done"));
  QCOMPARE(QDir(outputDir_->path()).entryList(QDir::Files), QStringList{"Gonio1DScan.tcl"});
  vesko::GonioStageScan2Form form{1, 1, "0.5", "0.3", "0.1", "-0.05", "1.0", "0.4", "3"};
  vesko::StringSink expected;
  vesko::BuildScript(*vesko::Validate(form), outputDir_->path().toStdString(), expected);
  QVERIFY(expected.text().find("\r\nTclSrv_Optics:4DSlit {slit_z2 move 0.200}\r\n") != std::string::npos);
  QCOMPARE(QString::fromUtf8(ReadBytes(outputDir_->filePath(QStringLiteral("Gonio1DScan.tcl")))),
           QString::fromStdString(expected.text()));
  QCOMPARE(ReadBytes(settingsFile(0)), ySettings);
  QCOMPARE(ReadBytes(settingsFile(1)),
           CrLfLines({"1", "0.500", "0.300", "0.100", "-0.050", "1.000", "0.400", "3", "Gonio1DScan.tcl"}));
}

QTEST_MAIN(GonioStageScanWindowTest)
#include "gonio_stage_scan_window_test.moc"
