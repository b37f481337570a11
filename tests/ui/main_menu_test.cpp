#include <QAction>
#include <QApplication>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <optional>

#include "app/app_settings.h"
#include "app/version.h"
#include "tests/ui/ui_test_support.h"
#include "ui/all_in_one_window.h"
#include "ui/main_menu_window.h"

using namespace vesko::test;

// The main menu, and the combined window it opens beside it.
class MainMenuTest : public QObject {
  Q_OBJECT

  // The visible combined windows of the program.
  static QList<QWidget*> CombinedWindows() {
    QList<QWidget*> found = QApplication::topLevelWidgets();
    found.removeIf([](const QWidget* w) { return w->objectName() != "frmAllInOne" || !w->isVisible(); });
    return found;
  }
  QString settingsFile(const char* name) const { return ws_->settings.filePath(QLatin1String(name)); }
  // The main menu on a fresh workspace whose application settings file holds `stored` (none when null); its
  // settings folder is the workspace's, or `folder` inside it.
  bool openMenu(const QByteArray& stored, const char* folder = ".") {
    ws_.emplace(false);
    return (stored.isNull() || WriteBytes(settingsFile("VeskoScriptCreator.ini"), stored)) &&
           ws_->show(new vesko::MainMenuWindow(settingsFile(folder).toStdString(), ws_->dialogs));
  }
  // "objectName|title|text of `box`" of the modal window `button` opens, seen from inside its own event
  // loop; then the window is closed.
  QString openedBy(const char* button, const char* box) {
    QString seen = QStringLiteral("<no window>");
    QTimer::singleShot(0, this, [&seen, box] {
      if (QWidget* modal = QApplication::activeModalWidget()) {
        seen = modal->objectName() + '|' + modal->windowTitle() + '|' + Shown(modal, QLatin1String(box));
        modal->close();
      }
    });
    Click(ws_->window, QLatin1String(button));
    return seen;
  }

  std::optional<Workspace> ws_;

 private slots:
  void buttonsOpenTheirModalWindowsAfresh() {
    QVERIFY(openMenu(QByteArray()));
    const QString scanSettings = settingsFile("4DSlitScan.ini");
    QVERIFY(WriteBytes(scanSettings, Lines("1 0.100 0.000 1.000 5 a.tcl")));
    // The collimator's z panel reads its four-line file once the y file was read whole.
    QVERIFY(
        WriteBytes(settingsFile("ColliScan_y.ini"), Lines("1 0.200 0.300 0.010 -0.020 0.500 1.000 5 y.com")));
    QVERIFY(WriteBytes(settingsFile("ColliScan_z.ini"), Lines("-1.000 2.000 3 z.com")));
    const char* const rows[][3] = {
        {"cmd4DSlitScan", "txt4DScanDivision", "frm4DSlitScan|4DSlit Scan Setting|5"},
        {"cmd4DSlitDecScan", "txt4DDecDecStep", "frm4DSlitDecScan|4DSlit Decrease Scan Setting|"},
        {"cmd4DSlitMove", "txtOutputFileName", "frm4DSlitMove|4D Slit Move|4DSlitMove.com"},
        {"cmdCollScan", "txtColliOutputFileName_1", "frmCollScan|Collimator 1D Scan Setting|z.com"},
        {"cmdLensScan", "txtLenzOutputFileName", "frmLensScan|Form1|Lens1DScan.tcl"},
        {"cmdGonioScan", "txtGonioStageScanCenter_1", "frmGonioStageScan2|GonioStage 1D Scan Setting|"},
        {"cmdGonioYScan", "txtGonioYOmega_0", "frmGonioYScan|GonioYScan|5.000"},
        {"cmdAnalysDecScan", "txtGraphDivSetting", "frmGraph|4Dスキャン解析|2.0"},
        {"cmdResults", "cmdResultsOpen", "frmResults|Results|Open…"},
        {"cmdAxes", "cmdAxesSave", "frmAxes|Axes|Save"}};
    for (const auto& row : rows) {
      QCOMPARE(openedBy(row[0], row[1]), QString::fromUtf8(row[2]));
    }
    // The closed window was unloaded, so the next opening reads the file again.
    QVERIFY(WriteBytes(scanSettings, Lines("1 0.100 0.000 1.000 9 a.tcl")));
    QCOMPARE(openedBy("cmd4DSlitScan", "txt4DScanDivision"),
             QStringLiteral("frm4DSlitScan|4DSlit Scan Setting|9"));
    QVERIFY(ws_->window->isVisible());
    QCOMPARE(ws_->dialogs.messages, QStringList());
  }

  // Tab goes down the green panel, then through the rows below, each from left to right. The About box is
  // on the right-click menu and F1. Return presses the button that has the focus: "End", whose settings
  // file cannot be written here, which is reported.
  void keyboardStartsOnTheFirstButton() {
    QVERIFY(openMenu(QByteArray(), "missing"));
    QCOMPARE(ws_->window->objectName() + '|' + ws_->window->windowTitle(),
             QStringLiteral("frmMainMenu|VeskoScriptCreator"));
    // No folder was stored: the menu shows the fallback and opens no combined window.
    const QString fallback = QString::fromStdString(vesko::FallbackOutputFolder());
    QCOMPARE(Shown(ws_->window, "txtOutputFolder") + '|' + QString::fromStdString(vesko::OutputFolder()),
             fallback + '|' + fallback);
    QVERIFY(CombinedWindows().isEmpty());
    QWidget* at = ws_->window->focusWidget();
    QVERIFY(at && ws_->window->testAttribute(Qt::WA_KeyboardFocusChange));  // the focus frame shows
    QStringList order;
    for (int k = 0; k < 14; at = at->nextInFocusChain()) {
      if (at->focusPolicy() & Qt::TabFocus) {
        order << at->objectName();
        ++k;
      }
    }
    QCOMPARE(order,
             (QStringList{"cmd4DSlitScan", "cmd4DSlitDecScan", "cmdCollScan", "cmdGonioScan", "cmdGonioYScan",
                          "cmd4DSlitMove", "cmdLensScan", "cmdGlobalSetting", "cmdAxes", "txtOutputFolder",
                          "cmdAnalysDecScan", "cmdEnd", "cmdResults", "cmd4DSlitScan"}));
    auto* about = ws_->window->findChild<QAction*>(QStringLiteral("actAbout"));
    QVERIFY(about && ws_->window->actions().contains(about) && about->shortcut() == QKeySequence(Qt::Key_F1));
    QCOMPARE(ws_->window->contextMenuPolicy(), Qt::ActionsContextMenu);
    about->trigger();
    QWidget* end = Find(ws_->window, "cmdEnd");
    end->setFocus();
    QTest::keyClick(end, Qt::Key_Return);
    QVERIFY(!ws_->window->isVisible());
    const QStringList& told = ws_->dialogs.messages;
    QCOMPARE(told.size(), 2);
    QVERIFY(told[0].startsWith(
        QString::fromStdString("VeskoScriptCreator " + std::string(vesko::kVersion) + "\n")));
    QVERIFY(told[1].startsWith("Cannot write ") && told[1].contains("VeskoScriptCreator.ini"));
    QVERIFY(!QFile::exists(settingsFile("missing")));
  }

  // A stored folder, an empty one too, opens the combined window beside the menu. Every way out ("End", or
  // either window closed by its title bar) is the main menu's shutdown.
  void chosenFolderIsStoredAtShutdown() {
    for (const QString closedBy : {"End", "frmMainMenu", "frmAllInOne"}) {
      const QString stored = closedBy == "End" ? "" : "D:\\data";
      QVERIFY(openMenu((stored + "\r\n").toUtf8()));
      QWidget* menu = ws_->window;
      QCOMPARE(CombinedWindows().size(), 1);
      QWidget* combined = CombinedWindows().front();
      QVERIFY(!combined->isModal());
      // The main menu's box, the combined window's, the program's folder.
      const auto folders = [menu, combined] {
        return Shown(menu, "txtOutputFolder") + '|' + Shown(combined, "txtOutputFolder") + '|' +
               QString::fromStdString(vesko::OutputFolder());
      };
      // Only the program writes the folder box; typing into it changes nothing.
      QTest::keyClicks(Find(menu, "txtOutputFolder"), "E:\\other");
      QCOMPARE(folders(), QStringList(3, stored).join('|'));

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
      QCOMPARE(ReadBytes(settingsFile("VeskoScriptCreator.ini")), (stored + "\r\n").toUtf8());

      QVERIFY(closedBy == "End" ? Click(menu, "cmdEnd")
                                : (closedBy == menu->objectName() ? menu : combined)->close());
      QCOMPARE(ReadBytes(settingsFile("VeskoScriptCreator.ini")), QByteArray("\"/srv/scans,old\"\r\n"));
      QVERIFY(!menu->isVisible() && CombinedWindows().isEmpty());
      QCOMPARE(ws_->dialogs.messages, QStringList());
    }
  }

  // Each tab's caption and a control of the panel it carries; each panel reads its own file with the
  // combined window's reader, which skips what it cannot take (the z stage file without the y file, a
  // truncated nine-line collimator file, a lens axis that is not a number).
  void combinedWindowShowsElevenTabsEachWithItsOwnFile() {
    ws_.emplace(false);
    const QByteArrayList files[] = {
        {"VeskoScriptCreator.ini", "D:\\data\r\n"},
        {"GonioStageScan2_z.ini", Lines("2 0.300 0.200 0.000 0.000 2.000 1.000 4 z")},
        {"ColliScan_y.ini", Lines("1 0.500 0.300 0.100 -0.050 1.000")},
        {"LensScan.ini", Lines("lens_z 1.000 0.500 5 l.tcl")}};
    for (const QByteArrayList& file : files) {
      QVERIFY(WriteBytes(settingsFile(file[0].constData()), file[1]));
    }
    QVERIFY(ws_->show(new vesko::AllInOneWindow(ws_->settingsFolder(), ws_->dialogs)));
    QCOMPARE(ws_->window->objectName() + '|' + ws_->window->windowTitle(),
             QStringLiteral("frmAllInOne|VeskoScriptCreator"));
    auto* tabs = ws_->window->findChild<QTabWidget*>("SSTab1");
    const char* const rows[][3] = {{"GonioStageY", "txtGonioStageScanCenter_0", ""},
                                   {"GonioStageZ", "chkGonioStageMove4DSlit_1", "[-] Move 4D Slit"},
                                   {"GonioY", "txtGonioYOmega_1", "-5.000"},
                                   {"ColliY", "chkCollimatorMove4DSlit_0", "[x] Move 4D Slit"},
                                   {"ColliZ", "cmdColliFileCreate_1", "File Create(CollimatorZ)"},
                                   {"4DScan", "txt4DOutputFileName", "4DSlit1DScan.tcl"},
                                   {"4DDec", "txt4DDecOutputFileName", "4DSlitDec1DScan.tcl"},
                                   {"Lens", "txtLenzOutputFileName", "l.tcl"},
                                   {"4D解析", "txtGraphResult", "0"},
                                   {"設定", "txtOutputFolder", "D:\\data"},
                                   {"結果", "cmdResultsOpen", "Open…"}};
    QCOMPARE(tabs->count(), 11);
    for (int n = 0; n < tabs->count(); ++n) {
      QCOMPARE(
          tabs->tabText(n) + '|' + tabs->widget(n)->objectName() + '|' + Shown(tabs->widget(n), rows[n][1]),
          QString::fromUtf8(rows[n][0]) + "|fraTab_" + QString::number(n) + '|' +
              QString::fromUtf8(rows[n][2]));
    }
    QCOMPARE(openedBy("cmdAxes", "cmdAxesSave"), QStringLiteral("frmAxes|Axes|Save"));
    QCOMPARE(vesko::OutputFolder(), std::string("D:\\data"));

    // The collimator tab stores the nine-line layout (its box was ticked by the file) and no other file.
    vesko::SetOutputFolder(ws_->output.path().toStdString());
    const QStringList stored = FileNames(ws_->settings.path());
    tabs->setCurrentIndex(3);
    QCOMPARE(
        Enter(ws_->window, {"txtColliScanWidth_0=0.4", "txtColliScanDivision_0=3", "cmdColliFileCreate_0"}),
        QString());
    QCOMPARE(ws_->dialogs.messages, QStringList());
    QCOMPARE(Shown(ws_->window, "lblColliStatus_0"), QStringLiteral("Done"));
    QCOMPARE(FileNames(ws_->settings.path()), stored);
    QCOMPARE(ReadBytes(settingsFile("ColliScan_y.ini")),
             Lines("1 0.500 0.300 0.100 -0.050 1.000 0.400 3 Coll1DScan.com"));
  }
};

VESKO_WINDOW_SUITE(MainMenuTest, "main_menu_test")

#include "main_menu_test.moc"
