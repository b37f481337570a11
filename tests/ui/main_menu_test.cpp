#include <QAction>
#include <QApplication>
#include <QTest>
#include <QTimer>
#include <memory>

#include "app/version.h"
#include "tests/ui/ui_test_support.h"
#include "ui/main_menu_window.h"

using namespace vesko::test;

class MainMenuTest : public QObject {
  Q_OBJECT

  bool openMenu(const QString& settingsFolder) {
    return ws_->show(new vesko::MainMenuWindow(settingsFolder.toStdString(), ws_->dialogs));
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

  std::unique_ptr<Workspace> ws_;

 private slots:
  void init() { ws_ = std::make_unique<Workspace>(false); }
  void cleanup() { ws_.reset(); }

  void buttonsOpenTheirModalWindowsAfresh() {
    const QString scanSettings = ws_->settings.filePath("4DSlitScan.ini");
    QVERIFY(WriteBytes(scanSettings, CrLfLines({"1", "0.100", "0.000", "1.000", "5", "a.tcl"})));
    QVERIFY(openMenu(ws_->settings.path()));
    const char* const rows[][3] = {
        {"cmd4DSlitScan", "txt4DScanDivision", "frm4DSlitScan|4DSlit Scan Setting|5"},
        {"cmd4DSlitDecScan", "txt4DDecDecStep", "frm4DSlitDecScan|4DSlit Decrease Scan Setting|"},
        {"cmd4DSlitMove", "txtOutputFileName", "frm4DSlitMove|4D Slit Move|4DSlitMove.com"},
        {"cmdCollScan", "txtColliOutputFileName_0", "frmCollScan|Collimator 1D Scan Setting|Coll1DScan.com"},
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
    QVERIFY(WriteBytes(scanSettings, CrLfLines({"1", "0.100", "0.000", "1.000", "9", "a.tcl"})));
    QCOMPARE(openedBy("cmd4DSlitScan", "txt4DScanDivision"),
             QStringLiteral("frm4DSlitScan|4DSlit Scan Setting|9"));
    QVERIFY(ws_->window->isVisible());
    QCOMPARE(ws_->dialogs.messages, QStringList());
  }

  // Tab goes down the green panel, then through the rows below, each from left to right. The About box is
  // on the right-click menu and F1. Return presses the button that has the focus: "End", whose settings
  // file cannot be written here, which is reported.
  void keyboardStartsOnTheFirstButton() {
    const QString missing = ws_->settings.filePath("missing");
    QVERIFY(openMenu(missing));
    QCOMPARE(ws_->window->objectName() + '|' + ws_->window->windowTitle(),
             QStringLiteral("frmMainMenu|VeskoScriptCreator"));
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
    QVERIFY(about && ws_->window->actions().contains(about));
    QCOMPARE(ws_->window->contextMenuPolicy(), Qt::ActionsContextMenu);
    QCOMPARE(about->shortcut(), QKeySequence(Qt::Key_F1));
    about->trigger();
    QWidget* end = Find(ws_->window, "cmdEnd");
    end->setFocus();
    QTest::keyClick(end, Qt::Key_Return);
    QVERIFY(!ws_->window->isVisible());
    QCOMPARE(ws_->dialogs.messages.size(), 2);
    const QString version =
        QString::fromUtf8(vesko::kVersion.data(), static_cast<qsizetype>(vesko::kVersion.size()));
    QVERIFY2(ws_->dialogs.messages[0].startsWith("VeskoScriptCreator " + version + "\n"),
             qPrintable(ws_->dialogs.messages[0]));
    QVERIFY2(ws_->dialogs.messages[1].startsWith("Cannot write ") &&
                 ws_->dialogs.messages[1].contains("VeskoScriptCreator.ini"),
             qPrintable(ws_->dialogs.messages[1]));
    QVERIFY(!QFile::exists(missing));
  }
};

VESKO_WINDOW_SUITE(MainMenuTest, "main_menu_test")

#include "main_menu_test.moc"
