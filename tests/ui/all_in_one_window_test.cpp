#include <QApplication>
#include <QTabWidget>
#include <QTest>
#include <memory>

#include "app/app_settings.h"
#include "tests/ui/ui_test_support.h"
#include "ui/all_in_one_window.h"
#include "ui/main_menu_window.h"

using namespace vesko::test;

namespace {

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

}  // namespace

class AllInOneWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void init() { ws_ = std::make_unique<Workspace>(false); }
  void cleanup() { ws_.reset(); }
  void showsTenTabsOfTheSinglePanels();
  void loadsEachFileOnItsOwn();
  void collimatorTabStoresTheNineLineLayout();
  void startUpOpensCombinedWindowOnlyWithStoredFolder_data();
  void startUpOpensCombinedWindowOnlyWithStoredFolder();
  void folderIsSharedButEachWindowShowsItsOwnChoice();

 private:
  QString settingsFile(const char* name) const { return ws_->settings.filePath(QLatin1String(name)); }
  // Opens the combined window on tab `tab` (as the operator brings a tab to the front), or the main menu.
  bool open(int tab = -1) {
    if (tab < 0) {
      return ws_->show(new vesko::MainMenuWindow(ws_->settingsFolder(), ws_->dialogs));
    }
    auto* combined = new vesko::AllInOneWindow(ws_->settingsFolder(), ws_->dialogs);
    combined->findChild<QTabWidget*>("SSTab1")->setCurrentIndex(tab);
    vesko::SetOutputFolder(ws_->output.path().toStdString());
    return ws_->show(combined);
  }

  std::unique_ptr<Workspace> ws_;
};

void AllInOneWindowTest::showsTenTabsOfTheSinglePanels() {
  // Only the application settings file: the folder is filled in, every panel keeps its design texts.
  QVERIFY(WriteBytes(settingsFile("VeskoScriptCreator.ini"), "D:\\data\r\n"));
  QVERIFY(ws_->show(new vesko::AllInOneWindow(ws_->settingsFolder(), ws_->dialogs)));
  QCOMPARE(ws_->window->objectName() + '|' + ws_->window->windowTitle(),
           QStringLiteral("frmAllInOne|VeskoScriptCreator"));
  QVERIFY(!ws_->window->isModal());
  auto* tabs = ws_->window->findChild<QTabWidget*>("SSTab1");
  QVERIFY(tabs);
  // Caption, and a control of the panel that tab carries.
  const char* const rows[][2] = {{"GonioStageY", "cmdGonioStageFileCreate_0=File Create(StageY)"},
                                 {"GonioStageZ", "cmdGonioStageFileCreate_1=File Create(StageZ)"},
                                 {"GonioY", "chkGonioYUseOmega_0=[ ] ω1"},
                                 {"ColliY", "cmdColliFileCreate_0=File Create(CollimatorY)"},
                                 {"ColliZ", "cmdColliFileCreate_1=File Create(CollimatorZ)"},
                                 {"4DScan", "opt4DAxis_0=[ ] y1 and y2"},
                                 {"4DDec", "txt4DDecOutputFileName=4DSlitDec1DScan.tcl"},
                                 {"Lens", "optLenzAxis_0=[ ] lens_y"},
                                 {"4D解析", "txtGraphResult=0"},
                                 {"設定", "txtOutputFolder=D:\\data"}};
  QCOMPARE(tabs->count(), 10);
  for (int n = 0; n < tabs->count(); ++n) {
    QCOMPARE(tabs->tabText(n), QString::fromUtf8(rows[n][0]));
    QCOMPARE(tabs->widget(n)->objectName(), At("fraTab", n));
    QCOMPARE(Differences(tabs->widget(n), {QString::fromUtf8(rows[n][1])}), QString());
  }
  QCOMPARE(vesko::OutputFolder(), std::string("D:\\data"));
  QCOMPARE(ws_->dialogs.messages, QStringList());
  // The tab captions replace the panel frames of the two-panel windows.
  for (const char* frame : {"fraGonioStage_0", "fraGonioStage_1", "fraCollimator_0", "fraCollimator_1"}) {
    QVERIFY2(!Find(ws_->window, QLatin1String(frame)), frame);
  }
}

void AllInOneWindowTest::loadsEachFileOnItsOwn() {
  // Each file is read with the combined window's reader, which skips what it cannot take, and no file
  // keeps another from loading: the z stage file without the y file, a truncated nine-line collimator
  // file, blade-pair and axis fields that are not numbers.
  const QByteArrayList files[] = {
      {"GonioStageScan2_z.ini",
       CrLfLines({"2", "0.300", "0.200", "0.000", "0.000", "2.000", "1.000", "4", "z"})},
      {"ColliScan_y.ini", CrLfLines({"1", "0.500", "0.300", "0.100", "-0.050", "1.000"})},
      {"4DSlitScan.ini", CrLfLines({"y", "0.100", "0.000", "1.000", "5", "s.tcl"})},
      {"4DSlitDec1DScan.ini", CrLfLines({"", "1.000", "0.100", "0.000", "0.050", "d.tcl"})},
      {"LensScan.ini", CrLfLines({"lens_z", "1.000", "0.500", "5", "l.tcl"})}};
  for (const QByteArrayList& file : files) {
    QVERIFY(WriteBytes(settingsFile(file[0].constData()), file[1]));
  }
  QVERIFY(ws_->show(new vesko::AllInOneWindow(ws_->settingsFolder(), ws_->dialogs)));
  QCOMPARE(
      Differences(ws_->window,
                  {"chkGonioStageMove4DSlit_1=[-] Move 4D Slit", "txtGonioStageScanCenter_1=2.000",
                   "txtGonioStageOutputFileName_1=z", "txtGonioStageScanCenter_0=",
                   "chkCollimatorMove4DSlit_0=[x] Move 4D Slit", "txtCollimatorSlitCenterZ_0=-0.050",
                   "txtColliScanCenter_0=1.000", "txtColliScanWidth_0=", "opt4DAxis_0=[ ] y1 and y2",
                   "opt4DAxis_1=[ ] z1 and z2", "txt4DSlitWidth=0.100", "opt4DDecAxis_0=[ ] y1 and y2",
                   "opt4DDecAxis_1=[ ] z1 and z2", "txt4DDecStartSlitWidth=1.000", "optLenzAxis_0=[ ] lens_y",
                   "optLenzAxis_1=[ ] lens_z", "txtLenzScanCenter=1.000", "txtLenzOutputFileName=l.tcl"}),
      QString());
  QCOMPARE(ws_->dialogs.messages, QStringList());
}

void AllInOneWindowTest::collimatorTabStoresTheNineLineLayout() {
  QVERIFY(open(3));
  QCOMPARE(
      Enter(ws_->window, {"txtColliScanCenter_0=1.0", "txtColliScanWidth_0=0.4", "txtColliScanDivision_0=3",
                          "txtCollimatorSlitWidthY_0=0.5", "txtCollimatorSlitWidthZ_0=0.3",
                          "txtCollimatorSlitCenterY_0=0.1", "txtCollimatorSlitCenterZ_0=-0.05",
                          "chkCollimatorMove4DSlit_0", "cmdColliFileCreate_0"}),
      QString());
  QCOMPARE(ws_->dialogs.messages, QStringList());
  QCOMPARE(Shown(ws_->window, "lblColliStatus_0"), QStringLiteral("Done"));
  QCOMPARE(FileNames(ws_->settings.path()), QStringList{"ColliScan_y.ini"});
  QCOMPARE(ReadBytes(settingsFile("ColliScan_y.ini")),
           CrLfLines({"1", "0.500", "0.300", "0.100", "-0.050", "1.000", "0.400", "3", "Coll1DScan.com"}));
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
  QVERIFY(!hasFile || WriteBytes(settingsFile("VeskoScriptCreator.ini"), content));
  QVERIFY(open());
  const QList<QWidget*> windows = CombinedWindows();
  QCOMPARE(windows.size(), combined);
  QVERIFY(windows.isEmpty() || !windows[0]->isModal());
  QVERIFY(ws_->window->isVisible());
}

void AllInOneWindowTest::folderIsSharedButEachWindowShowsItsOwnChoice() {
  QVERIFY(WriteBytes(settingsFile("VeskoScriptCreator.ini"), "D:\\data\r\n"));
  QVERIFY(open());
  QWidget* menu = ws_->window;
  QCOMPARE(CombinedWindows().size(), 1);
  QWidget* combined = CombinedWindows().front();
  // The main menu's box, the combined window's box, the program's folder.
  const auto folders = [menu, combined] {
    return Shown(menu, "txtOutputFolder") + '|' + Shown(combined, "txtOutputFolder") + '|' +
           QString::fromStdString(vesko::OutputFolder());
  };
  QCOMPARE(folders(), QStringLiteral("D:\\data|D:\\data|D:\\data"));

  combined->findChild<QTabWidget*>("SSTab1")->setCurrentIndex(9);
  ws_->dialogs.folderAnswers = QStringList{"/srv/tab", "/srv/menu"};
  QVERIFY(Click(combined, "cmdGlobalSetting"));
  QCOMPARE(folders(), QStringLiteral("D:\\data|/srv/tab|/srv/tab"));
  QCOMPARE(ws_->dialogs.folderOwners, QList<QWidget*>{menu});  // the chooser belongs to the main menu
  QVERIFY(Click(menu, "cmdGlobalSetting"));
  QCOMPARE(folders(), QStringLiteral("/srv/menu|/srv/tab|/srv/menu"));

  // Closing the combined window is the main menu's shutdown: the folder is stored, every window goes.
  combined->close();
  QCOMPARE(ReadBytes(settingsFile("VeskoScriptCreator.ini")), QByteArray("/srv/menu\r\n"));
  QVERIFY(!menu->isVisible());
  QVERIFY(CombinedWindows().isEmpty());
  QCOMPARE(ws_->dialogs.messages, QStringList());
}

namespace vesko::test {
std::unique_ptr<QObject> MakeAllInOneWindowTest() {
  return std::make_unique<AllInOneWindowTest>();
}
}  // namespace vesko::test

#include "all_in_one_window_test.moc"
