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
  void showsTenTabsAndLoadsEachFileOnItsOwn();
  void collimatorTabStoresTheNineLineLayout();
  void startUpOpensCombinedWindowOnlyWithStoredFolder_data();
  void startUpOpensCombinedWindowOnlyWithStoredFolder();
  void chosenFolderIsStoredAtShutdown_data();
  void chosenFolderIsStoredAtShutdown();

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

void AllInOneWindowTest::showsTenTabsAndLoadsEachFileOnItsOwn() {
  // Each file is read with the combined window's reader, which skips what it cannot take, and no file
  // keeps another from loading: the z stage file without the y file, a truncated nine-line collimator
  // file, blade-pair and axis fields that are not numbers.
  const QByteArrayList files[] = {
      {"VeskoScriptCreator.ini", "D:\\data\r\n"},
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
  QCOMPARE(ws_->window->objectName() + '|' + ws_->window->windowTitle(),
           QStringLiteral("frmAllInOne|VeskoScriptCreator"));
  QVERIFY(!ws_->window->isModal());
  auto* tabs = ws_->window->findChild<QTabWidget*>("SSTab1");
  QVERIFY(tabs);
  // Caption, and a control of the panel that tab carries.
  const char* const rows[][2] = {{"GonioStageY", "cmdGonioStageFileCreate_0=File Create(StageY)"},
                                 {"GonioStageZ", "cmdGonioStageFileCreate_1=File Create(StageZ)"},
                                 {"GonioY", "txtGonioYOmega_1=-5.000"},
                                 {"ColliY", "cmdColliFileCreate_0=File Create(CollimatorY)"},
                                 {"ColliZ", "cmdColliFileCreate_1=File Create(CollimatorZ)"},
                                 {"4DScan", "txt4DOutputFileName=s.tcl"},
                                 {"4DDec", "txt4DDecOutputFileName=d.tcl"},
                                 {"Lens", "txtLenzOutputFileName=l.tcl"},
                                 {"4D解析", "txtGraphResult=0"},
                                 {"設定", "txtOutputFolder=D:\\data"},
                                 {"結果", "cmdResultsOpen=Open…"}};
  QCOMPARE(tabs->count(), 11);
  for (int n = 0; n < tabs->count(); ++n) {
    QCOMPARE(tabs->tabText(n), QString::fromUtf8(rows[n][0]));
    QCOMPARE(tabs->widget(n)->objectName(), At("fraTab", n));
    QCOMPARE(Differences(tabs->widget(n), {QString::fromUtf8(rows[n][1])}), QString());
  }
  QCOMPARE(vesko::OutputFolder(), std::string("D:\\data"));
  // The tab captions replace the panel frames of the two-panel windows.
  for (const char* frame : {"fraGonioStage_0", "fraGonioStage_1", "fraCollimator_0", "fraCollimator_1"}) {
    QVERIFY2(!Find(ws_->window, QLatin1String(frame)), frame);
  }
  QCOMPARE(Differences(ws_->window,
                       {"chkGonioStageMove4DSlit_1=[-] Move 4D Slit", "txtGonioStageScanCenter_1=2.000",
                        "txtGonioStageOutputFileName_1=z", "txtGonioStageScanCenter_0=",
                        "chkCollimatorMove4DSlit_0=[x] Move 4D Slit", "txtCollimatorSlitCenterZ_0=-0.050",
                        "txtColliScanCenter_0=1.000", "txtColliScanWidth_0=", "opt4DAxis_0=[ ] y1 and y2",
                        "opt4DAxis_1=[ ] z1 and z2", "txt4DSlitWidth=0.100", "opt4DDecAxis_0=[ ] y1 and y2",
                        "opt4DDecAxis_1=[ ] z1 and z2", "txt4DDecStartSlitWidth=1.000",
                        "optLenzAxis_0=[ ] lens_y", "optLenzAxis_1=[ ] lens_z", "txtLenzScanCenter=1.000"}),
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
  QTest::addColumn<QString>("folder");  // shown in the main menu and taken as the output folder
  QTest::addColumn<int>("combined");
  const QString fallback = QString::fromStdString(vesko::FallbackOutputFolder());
  QTest::newRow("no application settings file") << false << QByteArray() << fallback << 0;
  QTest::newRow("empty application settings file") << true << QByteArray() << fallback << 0;
  QTest::newRow("stored folder") << true << QByteArray("D:\\data\\may\r\n") << "D:\\data\\may" << 1;
  QTest::newRow("stored empty folder") << true << QByteArray("\r\n") << QString() << 1;
}

void AllInOneWindowTest::startUpOpensCombinedWindowOnlyWithStoredFolder() {
  QFETCH(bool, hasFile);
  QFETCH(QByteArray, content);
  QFETCH(QString, folder);
  QFETCH(int, combined);
  QVERIFY(!hasFile || WriteBytes(settingsFile("VeskoScriptCreator.ini"), content));
  QVERIFY(open());
  QCOMPARE(Shown(ws_->window, "txtOutputFolder") + '|' + QString::fromStdString(vesko::OutputFolder()),
           folder + '|' + folder);
  const QList<QWidget*> windows = CombinedWindows();
  QCOMPARE(windows.size(), combined);
  QVERIFY(windows.isEmpty() || !windows[0]->isModal());
  QVERIFY(ws_->window->isVisible());
  QCOMPARE(ws_->dialogs.messages, QStringList());
}

void AllInOneWindowTest::chosenFolderIsStoredAtShutdown_data() {
  QTest::addColumn<QString>("closedBy");  // "End", or the window closed by its title bar
  QTest::newRow("End") << "End";
  QTest::newRow("main menu") << "frmMainMenu";
  QTest::newRow("combined window") << "frmAllInOne";
}

void AllInOneWindowTest::chosenFolderIsStoredAtShutdown() {
  QFETCH(QString, closedBy);
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
  // Only the program writes the folder box; typing into it changes nothing.
  QTest::keyClicks(Find(menu, "txtOutputFolder"), "E:\\other");
  QCOMPARE(folders(), QStringLiteral("D:\\data|D:\\data|D:\\data"));

  combined->findChild<QTabWidget*>("SSTab1")->setCurrentIndex(9);
  ws_->dialogs.folderAnswers = QStringList{"/srv/tab", "/srv/scans,old"};  // then a cancelled chooser
  QVERIFY(Click(combined, "cmdGlobalSetting"));
  // Both boxes show the one folder, whichever window chose it.
  QCOMPARE(folders(), QStringLiteral("/srv/tab|/srv/tab|/srv/tab"));
  for (int k = 0; k < 2; ++k) {
    QVERIFY(Click(menu, "cmdGlobalSetting"));
    QCOMPARE(folders(), QStringLiteral("/srv/scans,old|/srv/scans,old|/srv/scans,old"));
  }
  QCOMPARE(ws_->dialogs.folderOwners, QList<QWidget*>(3, menu));  // every chooser belongs to the main menu
  QCOMPARE(ReadBytes(settingsFile("VeskoScriptCreator.ini")), QByteArray("D:\\data\r\n"));

  // Every way out is the main menu's shutdown: the folder is stored, every window goes.
  QVERIFY(closedBy == "End" ? Click(menu, "cmdEnd")
                            : (closedBy == menu->objectName() ? menu : combined)->close());
  QCOMPARE(ReadBytes(settingsFile("VeskoScriptCreator.ini")), QByteArray("\"/srv/scans,old\"\r\n"));
  QVERIFY(!menu->isVisible());
  QVERIFY(CombinedWindows().isEmpty());
  QCOMPARE(ws_->dialogs.messages, QStringList());
}

VESKO_WINDOW_SUITE(AllInOneWindowTest, "all_in_one_window_test")

#include "all_in_one_window_test.moc"
