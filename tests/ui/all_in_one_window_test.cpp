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

  QString settingsFile(const char* name) const { return ws_->settings.filePath(QLatin1String(name)); }
  // The main menu on a fresh workspace whose application settings file holds `stored` (none when null).
  bool openMenu(const QByteArray& stored) {
    ws_.reset();
    ws_ = std::make_unique<Workspace>(false);
    return (stored.isNull() || WriteBytes(settingsFile("VeskoScriptCreator.ini"), stored)) &&
           ws_->show(new vesko::MainMenuWindow(ws_->settingsFolder(), ws_->dialogs));
  }

  std::unique_ptr<Workspace> ws_;

 private slots:
  void init() { ws_ = std::make_unique<Workspace>(false); }
  void cleanup() { ws_.reset(); }

  void showsTenTabsAndLoadsEachFileOnItsOwn() {
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
    // The combined reader's skipping is the generators' to check; here, that each tab took its own file.
    QCOMPARE(Differences(ws_->window,
                         {"chkGonioStageMove4DSlit_1=[-] Move 4D Slit",
                          "txtGonioStageScanCenter_0=", "chkCollimatorMove4DSlit_0=[x] Move 4D Slit",
                          "txtColliScanWidth_0=", "txt4DSlitWidth=0.100", "txt4DDecStartSlitWidth=1.000"}),
             QString());
    QCOMPARE(ws_->dialogs.messages, QStringList());

    // The collimator tab stores the nine-line layout (its box was ticked by the file) and no other file.
    vesko::SetOutputFolder(ws_->output.path().toStdString());
    const QStringList stored = FileNames(ws_->settings.path());
    tabs->setCurrentIndex(3);
    QCOMPARE(Enter(ws_->window, {"txtColliScanCenter_0=1.0", "txtColliScanWidth_0=0.4",
                                 "txtColliScanDivision_0=3", "txtCollimatorSlitWidthY_0=0.5",
                                 "txtCollimatorSlitWidthZ_0=0.3", "txtCollimatorSlitCenterY_0=0.1",
                                 "txtCollimatorSlitCenterZ_0=-0.05", "cmdColliFileCreate_0"}),
             QString());
    QCOMPARE(ws_->dialogs.messages, QStringList());
    QCOMPARE(Shown(ws_->window, "lblColliStatus_0"), QStringLiteral("Done"));
    QCOMPARE(FileNames(ws_->settings.path()), stored);
    QCOMPARE(ReadBytes(settingsFile("ColliScan_y.ini")),
             CrLfLines({"1", "0.500", "0.300", "0.100", "-0.050", "1.000", "0.400", "3", "Coll1DScan.com"}));
  }

  // The main menu opens the combined window too only when a folder is stored; the menu shows the folder
  // that is taken as the output folder.
  void startUpOpensCombinedWindowOnlyWithStoredFolder() {
    const QString fallback = QString::fromStdString(vesko::FallbackOutputFolder());
    const struct {
      QByteArray stored;  // the application settings file, none when null
      QString folder;
      int combined;
    } rows[] = {{QByteArray(), fallback, 0},
                {QByteArray(""), fallback, 0},
                {"D:\\data\\may\r\n", "D:\\data\\may", 1},
                {"\r\n", "", 1}};
    for (const auto& row : rows) {
      QVERIFY(openMenu(row.stored));
      QCOMPARE(Shown(ws_->window, "txtOutputFolder") + '|' + QString::fromStdString(vesko::OutputFolder()),
               row.folder + '|' + row.folder);
      const QList<QWidget*> windows = CombinedWindows();
      QCOMPARE(windows.size(), row.combined);
      QVERIFY(windows.isEmpty() || !windows[0]->isModal());
      QVERIFY(ws_->window->isVisible());
      QCOMPARE(ws_->dialogs.messages, QStringList());
    }
  }

  // Every way out ("End", or either window closed by its title bar) is the main menu's shutdown.
  void chosenFolderIsStoredAtShutdown() {
    for (const QString closedBy : {"End", "frmMainMenu", "frmAllInOne"}) {
      QVERIFY(openMenu("D:\\data\r\n"));
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
      QCOMPARE(ws_->dialogs.folderOwners, QList<QWidget*>(3, menu));  // every chooser belongs to the menu
      QCOMPARE(ReadBytes(settingsFile("VeskoScriptCreator.ini")), QByteArray("D:\\data\r\n"));

      QVERIFY(closedBy == "End" ? Click(menu, "cmdEnd")
                                : (closedBy == menu->objectName() ? menu : combined)->close());
      QCOMPARE(ReadBytes(settingsFile("VeskoScriptCreator.ini")), QByteArray("\"/srv/scans,old\"\r\n"));
      QVERIFY(!menu->isVisible());
      QVERIFY(CombinedWindows().isEmpty());
      QCOMPARE(ws_->dialogs.messages, QStringList());
    }
  }
};

VESKO_WINDOW_SUITE(AllInOneWindowTest, "all_in_one_window_test")

#include "all_in_one_window_test.moc"
