#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "app/app_settings.h"
#include "tests/ui/ui_test_support.h"
#include "ui/all_in_one_window.h"
#include "ui/coll_scan_window.h"
#include "ui/gonio_stage_scan_window.h"
#include "ui/main_menu_window.h"

using namespace vesko::test;

namespace {

// Element `n` of the control array `name`.
QString At(const char* name, int n) {
  return QStringLiteral("%1_%2").arg(QLatin1String(name)).arg(n);
}

// What a control shows: a box its text, an option or check box "[x]", "[ ]" or "[-]" (grey).
QString Shown(const QWidget* root, const QString& name) {
  const auto* widget = root->findChild<QWidget*>(name);
  if (!widget) {
    return QStringLiteral("<missing>");
  }
  if (const auto* box = qobject_cast<const QCheckBox*>(widget)) {
    return box->checkState() == Qt::PartiallyChecked ? QStringLiteral("[-]")
           : box->isChecked()                        ? QStringLiteral("[x]")
                                                     : QStringLiteral("[ ]");
  }
  if (const auto* button = qobject_cast<const QAbstractButton*>(widget); button && button->isCheckable()) {
    return button->isChecked() ? QStringLiteral("[x]") : QStringLiteral("[ ]");
  }
  return widget->property("text").toString();
}

// "name=shown" for every control named in `expected`, in the same order.
QStringList ShownAs(const QWidget* root, const QStringList& expected) {
  QStringList shown;
  for (const QString& row : expected) {
    const QString name = row.section(QLatin1Char('='), 0, 0);
    shown << name + QLatin1Char('=') + Shown(root, name);
  }
  return shown;
}

// The visible combined windows of the program.
QList<QWidget*> CombinedWindows() {
  QList<QWidget*> found;
  for (QWidget* window : QApplication::topLevelWidgets()) {
    if (window->objectName() == QStringLiteral("frmAllInOne") && window->isVisible()) {
      found << window;
    }
  }
  return found;
}

// Slit width Y 0.5, width Z 0.3, centre Y 0.1, centre Z -0.05; scan centre 1.0, width 0.4, three points.
const QByteArrayList kStageTyped = {"0.5", "0.3", "0.1", "-0.05", "1.0", "0.4", "3"};
const char* const kStageBoxes[] = {"txtGonioStageSlitWidthY",  "txtGonioStageSlitWidthZ",
                                   "txtGonioStageSlitCenterY", "txtGonioStageSlitCenterZ",
                                   "txtGonioStageScanCenter",  "txtGonioStageScanWidth",
                                   "txtGonioStageScanDivision"};

}  // namespace

class AllInOneWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    settingsDir_ = std::make_unique<QTemporaryDir>();
    outputDir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(settingsDir_->isValid() && outputDir_->isValid());
    dialogs_ = RecordingDialogs();
    vesko::ResetOutputFolder();
  }
  void cleanup() {
    window_.reset();
    menu_.reset();
    vesko::ResetOutputFolder();
  }
  void showsTenTabsOfTheSinglePanels();
  void eachFileLoadsOnItsOwn_data();
  void eachFileLoadsOnItsOwn();
  void stageZTabWritesWhatTheSingleWindowWrites();
  void collimatorTabWritesNineLinesTheSingleWindowReads();
  void startUpOpensCombinedWindowOnlyWithStoredFolder_data();
  void startUpOpensCombinedWindowOnlyWithStoredFolder();
  void folderIsSharedButEachWindowShowsItsOwnChoice();

 private:
  QString settingsFile(const char* name) const { return settingsDir_->filePath(QString::fromLatin1(name)); }
  void writeAppSettings() {
    QVERIFY(WriteBytes(settingsFile("VeskoScriptCreator.ini"), CrLfLines({outputDir_->path().toUtf8()})));
  }
  void openWindow() {
    window_ = std::make_unique<vesko::AllInOneWindow>(settingsDir_->path().toStdString(), dialogs_);
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
  }
  void openMenu() {
    menu_ = std::make_unique<vesko::MainMenuWindow>(settingsDir_->path().toStdString(), dialogs_);
    menu_->show();
    QVERIFY(QTest::qWaitForWindowExposed(menu_.get()));
  }
  // Brings tab `index` to the front, as the operator does before using its controls.
  void showTab(int index) {
    window_->findChild<QTabWidget*>(QStringLiteral("SSTab1"))->setCurrentIndex(index);
  }
  static void click(const QWidget* root, const QString& name) {
    auto* button = root->findChild<QAbstractButton*>(name);
    QVERIFY2(button && button->isVisible(), qPrintable(name));
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
  }
  static void fillStagePanel(const QWidget* root, int n) {
    for (int k = 0; k < kStageTyped.size(); ++k) {
      QTest::keyClicks(root->findChild<QLineEdit*>(At(kStageBoxes[k], n)),
                       QString::fromLatin1(kStageTyped[k]));
    }
  }

  std::unique_ptr<QTemporaryDir> settingsDir_;
  std::unique_ptr<QTemporaryDir> outputDir_;
  RecordingDialogs dialogs_;
  std::unique_ptr<vesko::AllInOneWindow> window_;
  std::unique_ptr<vesko::MainMenuWindow> menu_;
};

void AllInOneWindowTest::showsTenTabsOfTheSinglePanels() {
  // Only the application settings file: the folder is filled in, every panel keeps its design texts.
  QVERIFY(WriteBytes(settingsFile("VeskoScriptCreator.ini"), "D:\\data\r\n"));
  openWindow();
  QCOMPARE(window_->objectName() + '|' + window_->windowTitle(),
           QStringLiteral("frmAllInOne|VeskoScriptCreator"));
  QVERIFY(!window_->isModal());
  auto* tabs = window_->findChild<QTabWidget*>(QStringLiteral("SSTab1"));
  QVERIFY(tabs);
  // Caption, and a control of the panel that tab carries with its single window's caption.
  const char* const rows[][3] = {{"GonioStageY", "cmdGonioStageFileCreate_0", "File Create(StageY)"},
                                 {"GonioStageZ", "cmdGonioStageFileCreate_1", "File Create(StageZ)"},
                                 {"GonioY", "txtGonioYOmega_0", "5.000"},
                                 {"ColliY", "cmdColliFileCreate_0", "File Create(CollimatorY)"},
                                 {"ColliZ", "cmdColliFileCreate_1", "File Create(CollimatorZ)"},
                                 {"4DScan", "txt4DOutputFileName", "4DSlit1DScan.tcl"},
                                 {"4DDec", "txt4DDecOutputFileName", "4DSlitDec1DScan.tcl"},
                                 {"Lens", "txtLenzOutputFileName", "Lens1DScan.tcl"},
                                 {"4D解析", "txtGraphResult", "0"},
                                 {"設定", "cmdGlobalSetting", "Select Output Folder"}};
  QCOMPARE(tabs->count(), 10);
  for (int n = 0; n < tabs->count(); ++n) {
    QCOMPARE(tabs->tabText(n), QString::fromUtf8(rows[n][0]));
    QCOMPARE(tabs->widget(n)->objectName(), At("fraTab", n));
    QCOMPARE(Shown(tabs->widget(n), QString::fromLatin1(rows[n][1])), QString::fromUtf8(rows[n][2]));
  }
  QCOMPARE(Shown(tabs->widget(8), QStringLiteral("txtA0")), QStringLiteral("Text1"));
  QCOMPARE(Shown(tabs->widget(9), QStringLiteral("txtOutputFolder")), QStringLiteral("D:\\data"));
  QCOMPARE(vesko::OutputFolder(), std::string("D:\\data"));
  const QStringList design = {"opt4DAxis_0=[ ]",         "opt4DAxis_1=[ ]",
                              "opt4DDecAxis_1=[ ]",      "optLenzAxis_0=[ ]",
                              "chkGonioYUseOmega_0=[ ]", "chkCollimatorMove4DSlit_1=[ ]",
                              "txtColliScanCenter_0=",   "txtGonioStageScanDivision_1="};
  QCOMPARE(ShownAs(window_.get(), design), design);
  QVERIFY(dialogs_.messages.isEmpty());
  // The tab captions replace the panel frames of the two-panel windows.
  for (const char* frame : {"fraGonioStage_0", "fraGonioStage_1", "fraCollimator_0", "fraCollimator_1"}) {
    QVERIFY2(!window_->findChild<QWidget*>(QString::fromLatin1(frame)), frame);
  }
}

void AllInOneWindowTest::eachFileLoadsOnItsOwn_data() {
  QTest::addColumn<QString>("file");
  QTest::addColumn<QByteArray>("content");
  QTest::addColumn<QStringList>("expected");  // "control=shown"

  QTest::newRow("missing y stage file does not keep the z file")
      << "GonioStageScan2_z.ini"
      << CrLfLines({"2", "0.300", "0.200", "0.000", "0.000", "2.000", "1.000", "4", "z.tcl"})
      << QStringList{"chkGonioStageMove4DSlit_1=[-]",   "txtGonioStageSlitWidthY_1=0.300",
                     "txtGonioStageScanCenter_1=2.000", "txtGonioStageOutputFileName_1=z.tcl",
                     "txtGonioStageScanCenter_0=",      "txtGonioStageOutputFileName_0=Gonio1DScan.tcl"};
  QTest::newRow("truncated nine-line collimator file")
      << "ColliScan_y.ini" << CrLfLines({"1", "0.500", "0.300", "0.100", "-0.050", "1.000"})
      << QStringList{"chkCollimatorMove4DSlit_0=[x]", "txtCollimatorSlitCenterZ_0=-0.050",
                     "txtColliScanCenter_0=1.000",    "txtColliScanWidth_0=",
                     "txtColliScanDivision_0=",       "txtColliOutputFileName_0=Coll1DScan.com"};
  QTest::newRow("truncated slit scan file")
      << "4DSlitScan.ini" << CrLfLines({"1", "0.100"})
      << QStringList{"opt4DAxis_0=[ ]", "opt4DAxis_1=[x]", "txt4DSlitWidth=0.100",
                     "txt4DScanCenter=", "txt4DOutputFileName=4DSlit1DScan.tcl"};
  QTest::newRow("unreadable blade pair selects neither")
      << "4DSlitScan.ini" << CrLfLines({"y", "0.100", "0.000", "1.000", "5", "s.tcl"})
      << QStringList{"opt4DAxis_0=[ ]", "opt4DAxis_1=[ ]", "txt4DSlitWidth=0.100", "txt4DScanDivision=5",
                     "txt4DOutputFileName=s.tcl"};
  QTest::newRow("unreadable decreasing-scan pair selects neither")
      << "4DSlitDec1DScan.ini" << CrLfLines({"", "1.000", "0.100", "0.000", "0.050", "d.tcl"})
      << QStringList{"opt4DDecAxis_0=[ ]", "opt4DDecAxis_1=[ ]", "txt4DDecStartSlitWidth=1.000",
                     "txt4DDecOutputFileName=d.tcl"};
  QTest::newRow("unreadable lens axis selects none")
      << "LensScan.ini" << CrLfLines({"lens_z", "1.000", "0.500", "5", "l.tcl"})
      << QStringList{"optLenzAxis_0=[ ]", "optLenzAxis_1=[ ]", "txtLenzScanCenter=1.000",
                     "txtLenzOutputFileName=l.tcl"};
}

void AllInOneWindowTest::eachFileLoadsOnItsOwn() {
  QFETCH(QString, file);
  QFETCH(QByteArray, content);
  QFETCH(QStringList, expected);
  // The last file of the load, to show that nothing before it stopped the reading.
  QVERIFY(WriteBytes(settingsFile("LensScan.ini"), CrLfLines({"3", "1.000", "0.500", "5", "last.tcl"})));
  if (file != QStringLiteral("LensScan.ini")) {
    expected << QStringLiteral("txtLenzOutputFileName=last.tcl");
  }
  QVERIFY(WriteBytes(settingsDir_->filePath(file), content));
  openWindow();
  QCOMPARE(ShownAs(window_.get(), expected), expected);
  QVERIFY(dialogs_.messages.isEmpty());
}

void AllInOneWindowTest::stageZTabWritesWhatTheSingleWindowWrites() {
  openWindow();
  vesko::SetOutputFolder(outputDir_->path().toStdString());
  showTab(1);
  fillStagePanel(window_.get(), 1);
  click(window_.get(), At("cmdGonioStageFileCreate", 1));
  QCOMPARE(dialogs_.messages, QStringList());
  QCOMPARE(Shown(window_.get(), At("lblGonioStageStatus", 1)), QStringLiteral("Done"));
  QCOMPARE(Shown(window_.get(), At("lblGonioStageStatus", 0)), QString());
  const QString script = outputDir_->filePath(QStringLiteral("Gonio1DScan.tcl"));
  const QByteArray fromTab = ReadBytes(script);
  const QByteArray settingsFromTab = ReadBytes(settingsFile("GonioStageScan2_z.ini"));
  QVERIFY(fromTab.contains("TclSrv_GStage") && settingsFromTab.endsWith("\r\n3\r\nGonio1DScan.tcl\r\n"));
  QVERIFY(!QFile::exists(settingsFile("GonioStageScan2_y.ini")));
  QVERIFY(QFile::remove(script) && QFile::remove(settingsFile("GonioStageScan2_z.ini")));

  auto* single = new vesko::GonioStageScanWindow(settingsDir_->path().toStdString(), dialogs_);
  single->show();
  QVERIFY(QTest::qWaitForWindowExposed(single));
  fillStagePanel(single, 1);
  click(single, At("cmdGonioStageFileCreate", 1));
  QCOMPARE(ReadBytes(script), fromTab);
  QCOMPARE(ReadBytes(settingsFile("GonioStageScan2_z.ini")), settingsFromTab);
  single->close();  // deletes itself
  QCOMPARE(dialogs_.messages, QStringList());
}

void AllInOneWindowTest::collimatorTabWritesNineLinesTheSingleWindowReads() {
  openWindow();
  vesko::SetOutputFolder(outputDir_->path().toStdString());
  showTab(3);
  const char* const typed[][2] = {
      {"txtColliScanCenter_0", "1.0"},        {"txtColliScanWidth_0", "0.4"},
      {"txtColliScanDivision_0", "3"},        {"txtCollimatorSlitWidthY_0", "0.5"},
      {"txtCollimatorSlitWidthZ_0", "0.3"},   {"txtCollimatorSlitCenterY_0", "0.1"},
      {"txtCollimatorSlitCenterZ_0", "-0.05"}};
  for (const auto& row : typed) {
    QTest::keyClicks(window_->findChild<QLineEdit*>(QString::fromLatin1(row[0])),
                     QString::fromLatin1(row[1]));
  }
  click(window_.get(), At("chkCollimatorMove4DSlit", 0));
  click(window_.get(), At("cmdColliFileCreate", 0));
  QCOMPARE(dialogs_.messages, QStringList());
  QCOMPARE(Shown(window_.get(), At("lblColliStatus", 0)), QStringLiteral("Done"));
  QCOMPARE(ReadBytes(settingsFile("ColliScan_y.ini")),
           CrLfLines({"1", "0.500", "0.300", "0.100", "-0.050", "1.000", "0.400", "3", "Coll1DScan.com"}));
  QVERIFY(!QFile::exists(settingsFile("ColliScan_z.ini")));

  auto* single = new vesko::CollScanWindow(settingsDir_->path().toStdString(), dialogs_);
  const QStringList loaded = {"chkCollimatorMove4DSlit_0=[x]",
                              "txtCollimatorSlitWidthY_0=0.500",
                              "txtCollimatorSlitCenterZ_0=-0.050",
                              "txtColliScanCenter_0=1.000",
                              "txtColliScanWidth_0=0.400",
                              "txtColliScanDivision_0=3",
                              "txtColliOutputFileName_0=Coll1DScan.com"};
  QCOMPARE(ShownAs(single, loaded), loaded);
  delete single;
}

void AllInOneWindowTest::startUpOpensCombinedWindowOnlyWithStoredFolder_data() {
  QTest::addColumn<bool>("hasFile");
  QTest::addColumn<QByteArray>("content");
  QTest::addColumn<int>("combined");
  QTest::newRow("no application settings file") << false << QByteArray() << 0;
  QTest::newRow("empty application settings file") << true << QByteArray() << 0;
  QTest::newRow("stored folder") << true << QByteArray("D:\\data\r\n") << 1;
  QTest::newRow("stored empty folder") << true << QByteArray("\r\n") << 1;
}

void AllInOneWindowTest::startUpOpensCombinedWindowOnlyWithStoredFolder() {
  QFETCH(bool, hasFile);
  QFETCH(QByteArray, content);
  QFETCH(int, combined);
  if (hasFile) {
    QVERIFY(WriteBytes(settingsFile("VeskoScriptCreator.ini"), content));
  }
  openMenu();
  const QList<QWidget*> windows = CombinedWindows();
  QCOMPARE(windows.size(), combined);
  if (combined) {
    QVERIFY(!windows[0]->isModal());
    QVERIFY(menu_->isVisible());
  }
}

void AllInOneWindowTest::folderIsSharedButEachWindowShowsItsOwnChoice() {
  QVERIFY(WriteBytes(settingsFile("VeskoScriptCreator.ini"), "D:\\data\r\n"));
  openMenu();
  QCOMPARE(CombinedWindows().size(), 1);
  QWidget* combined = CombinedWindows().front();
  const auto menuBox = [this] { return Shown(menu_.get(), QStringLiteral("txtOutputFolder")); };
  const auto combinedBox = [combined] { return Shown(combined, QStringLiteral("txtOutputFolder")); };
  QCOMPARE(combinedBox(), QStringLiteral("D:\\data"));

  combined->findChild<QTabWidget*>(QStringLiteral("SSTab1"))->setCurrentIndex(9);
  dialogs_.folderAnswers = QStringList{"/srv/tab", "/srv/menu"};
  click(combined, QStringLiteral("cmdGlobalSetting"));
  QCOMPARE(vesko::OutputFolder(), std::string("/srv/tab"));
  QCOMPARE(combinedBox(), QStringLiteral("/srv/tab"));
  QCOMPARE(menuBox(), QStringLiteral("D:\\data"));
  QCOMPARE(dialogs_.folderOwners, QList<QWidget*>{menu_.get()});  // the chooser belongs to the main menu

  click(menu_.get(), QStringLiteral("cmdGlobalSetting"));
  QCOMPARE(vesko::OutputFolder(), std::string("/srv/menu"));
  QCOMPARE(menuBox(), QStringLiteral("/srv/menu"));
  QCOMPARE(combinedBox(), QStringLiteral("/srv/tab"));

  // Closing the combined window is the main menu's shutdown: the folder is stored, every window goes.
  combined->close();
  QCOMPARE(ReadBytes(settingsFile("VeskoScriptCreator.ini")), QByteArray("/srv/menu\r\n"));
  QVERIFY(!menu_->isVisible());
  QVERIFY(CombinedWindows().isEmpty());
  QVERIFY(dialogs_.messages.isEmpty());
}

QTEST_MAIN(AllInOneWindowTest)
#include "all_in_one_window_test.moc"
