#include <QTabWidget>
#include <QTest>
#include <memory>

#include "app/app_settings.h"
#include "core/script_naming.h"
#include "generators/axis_table.h"
#include "tests/ui/ui_test_support.h"
#include "ui/all_in_one_window.h"
#include "ui/gonio_y_scan_window.h"
#include "ui/output_folder.h"
#include "ui/scan_windows.h"

using namespace vesko::test;

namespace {

template <typename W>
QWidget* Make(const std::string& settingsFolder, vesko::Dialogs& dialogs) {
  return new W(settingsFolder, dialogs);
}

// One generator window: what it loads, one complete "File Create" and its refusals.
struct WindowCase {
  struct {
    const char* name;  // the window's object name
    QWidget* (*make)(const std::string&, vesko::Dialogs&);
    const char* title;
    const char* fileCreate;  // the button used
    bool returnCreates;      // Return in a box presses "File Create"; other windows are clicked
    const char* status;
    int tab;  // the combined window's tab with the same panel and settings file, or -1
  } id;
  QStringList input;     // a complete valid entry from the design texts, as Enter takes it, ending in a box
  QStringList inScript;  // lines the script holds (%1 the output folder), for entries no settings file keeps
  struct {
    const char* script;  // the one file written into the output folder
    const char* settingsFile;
    QByteArray settings;      // its content, written from none
    QStringList report = {};  // the messages of the File Create
  } created;
  QStringList refused;  // Enter steps that each spoil one box of `input`, each followed by its message
};

const WindowCase kWindows[] = {
    {{"frm4DSlitScan", Make<vesko::SlitScanWindow>, "4DSlit Scan Setting", "cmd4DFileCreate", true,
      "lbl4DStatus", 5},
     {"opt4DAxis_1", "chk4DRepeatActive", "txt4DSlitWidth=0.1", "txt4DScanCenter=0.2", "txt4DScanWidth=1",
      "txt4DScanDivision=5", "txt4DOutputFileName=  zrun.tcl  ", "txt4DRepeatTimes=3"},
     {"set fp1 [open %1/zrun_Repeat.dat w+]", "set cnt [expr $cnt04 / 3]"},
     {"zrun.tcl", "4DSlitScan.ini", CrLfLines({"1", "0.100", "0.200", "1.000", "5", "zrun.tcl"})},
     {"txt4DRepeatTimes=1", "Repeat Times Error", "txt4DScanWidth=w", "Setting Error!"}},
    {{"frm4DSlitDecScan", Make<vesko::SlitDecScanWindow>, "4DSlit Decrease Scan Setting",
      "cmd4DDecFileCreate", true, "lbl4DDecStatus", 6},
     {"opt4DDecAxis_0", "chk4DDecRepeatActive", "txt4DDecStartSlitWidth=1.0", "txt4DDecEndSlitWidth=0.5",
      "txt4DDecScanCenter=0.1", "txt4DDecDecStep=0.25"},
     {"set cnt [expr $cnt02 / 2]"},
     {"4DSlitDec1DScan.tcl", "4DSlitDec1DScan.ini",
      CrLfLines({"0", "1.000", "0.500", "0.100", "0.250", "4DSlitDec1DScan.tcl"})},
     {"txt4DDecDecStep=0", "Setting Error!"}},
    {{"frm4DSlitMove", Make<vesko::SlitMoveWindow>, "4D Slit Move", "cmdFileCreate", true, "lblStatus", -1},
     {"txtSlitWidth_0=0.2", "txtSlitWidth_1=0.4", "txtSlitCenter_0=0.0", "txtSlitCenter_1=0.1"},
     {"TclSrv_Optics:4DSlit {slit_z1 move 0.300}"},
     {"4DSlitMove.com",
      "4DSlitMove.ini",
      CrLfLines({"0.200", "0.400", "0.000", "0.100", "4DSlitMove.com"}),
      {"y1=0.100,y2=0.100,z1=0.300,z2=0.100,ファイルネーム=4DSlitMove.comで作成しました。"}},
     {"txtSlitCenter_1=abc", "Setting Error!"}},
    {{"frmCollScan", Make<vesko::CollScanWindow>, "Collimator 1D Scan Setting", "cmdColliFileCreate_1", false,
      "lblColliStatus_1", -1},
     {"txtColliScanCenter_1=0.5", "txtColliScanWidth_1=1.0", "txtColliScanDivision_1=5",
      "chkCollimatorMove4DSlit_1", "txtCollimatorSlitWidthY_1=0.5", "txtCollimatorSlitWidthZ_1=0.3",
      "txtCollimatorSlitCenterY_1=0.1", "txtCollimatorSlitCenterZ_1=-0.05",
      "txtColliOutputFileName_1= z.run.com "},
     {"TclSrv_Optics:4DSlit {slit_y1 move 0.350}", "TclSrv_Optics:4DSlit {slit_z2 move 0.200}"},
     {"z.run.com", "ColliScan_z.ini", CrLfLines({"0.500", "1.000", "5", "z.run.com"})},
     {"txtCollimatorSlitCenterZ_1=z", "SlitCenterZ Error!"}},
    {{"frmLensScan", Make<vesko::LensScanWindow>, "Form1", "cmdLenzFileCreate", true, "lblLenzStatus", 7},
     {"optLenzAxis_3", "txtLenzScanCenter=0.0", "txtLenzScanWidth=0.3", "txtLenzScanDivision=4"},
     {"set fp [open %1/Lens1DScan.dat w+]"},
     {"Lens1DScan.tcl", "LensScan.ini", CrLfLines({"3", "0.000", "0.300", "4", "Lens1DScan.tcl"})},
     {"txtLenzOutputFileName=.tcl", "Setting Error!"}},
    {{"frmGonioStageScan2", Make<vesko::GonioStageScanWindow>, "GonioStage 1D Scan Setting",
      "cmdGonioStageFileCreate_1", false, "lblGonioStageStatus_1", 1},
     {"chkGonioStageMove4DSlit_1", "txtGonioStageSlitWidthY_1=0.5", "txtGonioStageSlitWidthZ_1=0.3",
      "txtGonioStageSlitCenterY_1=0.1", "txtGonioStageSlitCenterZ_1=-0.05", "txtGonioStageScanCenter_1=1.0",
      "txtGonioStageScanWidth_1=0.4", "txtGonioStageScanDivision_1=3"},
     {"TclSrv_GStage {z move 1.000}"},
     {"Gonio1DScan.tcl", "GonioStageScan2_z.ini",
      CrLfLines({"1", "0.500", "0.300", "0.100", "-0.050", "1.000", "0.400", "3", "Gonio1DScan.tcl"})},
     {"txtGonioStageOutputFileName_1=a/b", "FileName Error!"}},
    {{"frmGonioYScan", Make<vesko::GonioYScanWindow>, "GonioYScan", "cmdGonioYFileCreate2", false,
      "lblGonioYStatus", 2},
     {"chkGonioYUseOmega_1", "txtGonioYOmega_1=-4.5", "txtGonioYScanCenter=0", "txtGonioYScanWidth=1",
      "txtGonioYScanDivision=3"},
     {"set fp2 [open %1/GonioYScan_2.dat w+]", "TclSrv_Gonio {omega move -4.500}"},
     {"GonioYScan.tcl", "GonioYScan.ini",
      CrLfLines({"0", "0.000", "1.000", "3", "GonioYScan.tcl", "0", "5.000", "1", "-4.500"})},
     {"txtGonioYOmega_1=x", "Omega1 Setting Error!"}},
};

const WindowCase& Case(const QString& name) {
  for (const WindowCase& c : kWindows) {
    if (name == c.id.name) {
      return c;
    }
  }
  qFatal("no window case %s", qPrintable(name));
}

bool Open(Workspace& ws, const QString& name) {
  return ws.show(Case(name).id.make(ws.settingsFolder(), ws.dialogs));
}

// The "Preview" button beside the "File Create" button `fileCreate`.
QString PreviewOf(const char* fileCreate) {
  return QString::fromLatin1(fileCreate).replace("FileCreate", "Preview");
}

// Which GonioY "File Create" shows ("A", "B"; "AB" or "" would be wrong), how many of the four repeat
// controls are enabled, and the three boxes.
QString OmegaRuleShown(const QWidget* window) {
  int enabled = 0;
  for (const char* name :
       {"fraGonioYRepeatSetting", "chkGonioYRepeatActive", "txtGonioYRepeatTimes", "lblGonioYTimes"}) {
    enabled += Find(window, QLatin1String(name))->isEnabled() ? 1 : 0;
  }
  return QLatin1String(Find(window, "cmdGonioYFileCreate")->isVisible() ? "A" : "") +
         QLatin1String(Find(window, "cmdGonioYFileCreate2")->isVisible() ? "B" : "") +
         QStringLiteral(" %1/4, ").arg(enabled) + Shown(window, "chkGonioYUseOmega_0") + ", " +
         Shown(window, "chkGonioYUseOmega_1") + ", " + Shown(window, "chkGonioYRepeatActive");
}

}  // namespace

class ScanWindowsTest : public QObject {
  Q_OBJECT

 private slots:
  // Every window's name and title. Of the loading, what the field-by-field check of the form descriptions
  // does not reach: the collimator's four-line z file (no slit fields) and the gonio stage's grey box (2),
  // which only a file can set; each z file is read once the y file was read whole.
  void opensAndLoadsSettings() {
    for (const WindowCase& c : kWindows) {
      Workspace ws;
      QVERIFY(Open(ws, c.id.name));
      QCOMPARE(ws.window->objectName() + '|' + ws.window->windowTitle(),
               QLatin1String(c.id.name) + '|' + c.id.title);
      QVERIFY(ws.window->isModal() && ws.window->testAttribute(Qt::WA_DeleteOnClose));
    }
    const struct {
      const char* window;
      QByteArrayList stored;  // settings files (name, content, ...)
      QStringList loaded;     // "control=shown"
    } rows[] = {{"frmCollScan",
                 {"ColliScan_y.ini",
                  CrLfLines({"1", "0.200", "0.300", "0.010", "-0.020", "0.500", "1.000", "5", "y9.com"}),
                  "ColliScan_z.ini", CrLfLines({"-1.000", "2.000", "3", "z.com"})},
                 {"chkCollimatorMove4DSlit_1=[ ] Move 4D Slit", "txtColliScanCenter_1=-1.000",
                  "txtColliScanWidth_1=2.000", "txtColliScanDivision_1=3", "txtColliOutputFileName_1=z.com",
                  "txtCollimatorSlitWidthY_1="}},
                {"frmGonioStageScan2",
                 {"GonioStageScan2_y.ini",
                  CrLfLines({"0", "0.500", "0.300", "0.100", "-0.050", "1.000", "0.400", "3", "y.tcl"}),
                  "GonioStageScan2_z.ini",
                  CrLfLines({"2", "0.300", "0.200", "0.000", "0.000", "2.000", "1.000", "4", "z.tcl"})},
                 {"chkGonioStageMove4DSlit_1=[-] Move 4D Slit", "txtGonioStageScanCenter_1=2.000"}}};
    for (const auto& row : rows) {
      Workspace ws;
      for (int k = 0; k + 1 < row.stored.size(); k += 2) {
        QVERIFY(WriteBytes(ws.settings.filePath(QString::fromUtf8(row.stored[k])), row.stored[k + 1]));
      }
      QVERIFY(Open(ws, row.window));
      QCOMPARE(Differences(ws.window, row.loaded), QString());
      QCOMPARE(ws.dialogs.messages, QStringList());
    }
  }

  void fileCreateWritesScriptAndSettings_data() {
    QTest::addColumn<QString>("window");
    QTest::addColumn<bool>("combined");  // through the panel's tab of the combined window
    for (const WindowCase& c : kWindows) {
      QTest::newRow(c.id.name) << QString::fromLatin1(c.id.name) << false;
      if (c.id.tab >= 0) {
        QTest::addRow("%s tab", c.id.name) << QString::fromLatin1(c.id.name) << true;
      }
    }
  }
  void fileCreateWritesScriptAndSettings() {
    QFETCH(QString, window);
    QFETCH(bool, combined);
    const WindowCase& c = Case(window);
    Workspace ws;
    if (combined) {
      auto* all = new vesko::AllInOneWindow(ws.settingsFolder(), ws.dialogs);
      all->findChild<QTabWidget*>("SSTab1")->setCurrentIndex(c.id.tab);
      vesko::SetOutputFolder(ws.output.path().toStdString());  // it took its own folder on opening
      QVERIFY(ws.show(all));
    } else {
      QVERIFY(Open(ws, window));
    }
    // Each spoilt entry: both buttons refuse it over the window, write nothing and leave the focus on the
    // failed box, its text selected; then the box is put right.
    const QString preview = PreviewOf(c.id.fileCreate);
    QCOMPARE(Enter(ws.window, c.input), QString());
    for (int k = 0; k + 1 < c.refused.size(); k += 2) {
      const QString box = c.refused[k].section('=', 0, 0);
      const QString before = Shown(ws.window, box);
      QCOMPARE(Enter(ws.window, {c.refused[k], preview, c.id.fileCreate}), QString());
      QCOMPARE(ws.dialogs.messages, QStringList(2, c.refused[k + 1]));
      QCOMPARE(ws.dialogs.messageParents[1]->window(), ws.window.data());
      auto* focused = qobject_cast<QLineEdit*>(ws.window->focusWidget());
      QVERIFY(focused);
      QCOMPARE(focused->objectName() + '|' + focused->selectedText(), box + '|' + focused->text());
      QVERIFY(!Find(ws.window, "frmPreview"));
      QCOMPARE(Shown(ws.window, QLatin1String(c.id.status)), QString());
      QCOMPARE(FileNames(ws.output.path()) + FileNames(ws.settings.path()), QStringList());
      QCOMPARE(Enter(ws.window, {box + '=' + before}), QString());
      ws.dialogs.messages.clear();
      ws.dialogs.messageParents.clear();
    }

    // Put right, the entry is previewed without writing anything.
    QStringList statusWhileShown;
    ws.dialogs.onMessage = [&statusWhileShown, &c](QWidget* parent) {
      statusWhileShown << Shown(parent->window(), QLatin1String(c.id.status));
    };
    QVERIFY(Click(ws.window, preview));
    const QString previewed = Shown(ws.window, "frmPreview/txtPreviewScript");
    QCOMPARE(ws.dialogs.messages + FileNames(ws.output.path()) + FileNames(ws.settings.path()),
             QStringList());
    // Back in a box, Return is "File Create" in the one-panel windows that have it as their default button;
    // without a default button it presses nothing (in a two-panel window, not the other panel's).
    if (!combined) {
      QWidget* box = Find(ws.window, c.input.last().section('=', 0, 0));
      QTest::mouseClick(box, Qt::LeftButton);
      QTest::keyClick(box, Qt::Key_Return);
    }
    if (!c.id.returnCreates || combined) {
      QCOMPARE(ws.dialogs.messages + FileNames(ws.output.path()), QStringList());
      QVERIFY(Click(ws.window, QLatin1String(c.id.fileCreate)));
    }

    // A report comes before "Done"; the window never shows "Output Start".
    QCOMPARE(ws.dialogs.messages, c.created.report);
    QCOMPARE(statusWhileShown, QStringList(c.created.report.size(), QString()));
    QCOMPARE(Shown(ws.window, QLatin1String(c.id.status)), QStringLiteral("Done"));
    QCOMPARE(FileNames(ws.output.path()), QStringList{c.created.script});
    const QByteArray written = ReadBytes(ws.output.filePath(c.created.script));
    QCOMPARE(QString(previewed).replace('\n', "\r\n").toUtf8(), written);
    for (const QString& line : c.inScript) {
      QVERIFY2(written.contains((line.arg(ws.output.path()) + "\r\n").toUtf8()), qPrintable(line));
    }
    QCOMPARE(FileNames(ws.settings.path()), QStringList{c.created.settingsFile});
    QCOMPARE(ReadBytes(ws.settings.filePath(c.created.settingsFile)), c.created.settings);
  }

  // A folder Tcl would read as a pipe: both buttons refuse it. A missing folder: Preview writes nothing;
  // File Create cannot write and gives no move report.
  void unusableFolderIsReported() {
    const QString pipe = QString::fromStdString(vesko::CheckOutputFolderForScript("|cat").value_or("?"));
    const struct {
      const char* window;
      QString folder;       // inside the test's output folder unless it starts with "|"
      QStringList refused;  // how each message starts, from Preview, then File Create; %1 the script
    } rows[] = {{"frm4DSlitScan", "|cat", QStringList(2, pipe)},
                {"frm4DSlitMove", "missing", {"Cannot write %1: "}}};
    for (const auto& row : rows) {
      const WindowCase& c = Case(row.window);
      Workspace ws;
      const std::string outputFolder =
          (row.folder.startsWith('|') ? row.folder : ws.output.filePath(row.folder)).toStdString();
      vesko::SetOutputFolder(outputFolder);
      QVERIFY(Open(ws, row.window));
      QCOMPARE(Enter(ws.window, c.input + QStringList{PreviewOf(c.id.fileCreate), c.id.fileCreate}),
               QString());
      QCOMPARE(ws.dialogs.messages.size(), row.refused.size());
      const QString script = QString::fromStdString(vesko::ScriptPath(outputFolder, c.created.script));
      for (int k = 0; k < row.refused.size(); ++k) {
        QVERIFY2(ws.dialogs.messages[k].startsWith(row.refused[k].arg(script)),
                 qPrintable(ws.dialogs.messages[k]));
      }
      QCOMPARE(Shown(ws.window, QLatin1String(c.id.status)), QString());
      QCOMPARE(FileNames(ws.output.path()) + FileNames(ws.settings.path()), QStringList());
    }
  }

  // Every axis limited far below anything the examples move to: "File Create" asks first. No (the default)
  // writes nothing and leaves the status; Yes writes. A table that cannot be read is told, then written.
  void axisLimitsAskBeforeWriting() {
    const struct {
      const char *window, *firstAxis, *answer;  // "no", "yes" or "broken table"
    } rows[] = {{"frm4DSlitScan", "slit_z1", "no"},
                {"frm4DSlitScan", "slit_z1", "yes"},
                {"frm4DSlitScan", "slit_z1", "broken table"},
                {"frm4DSlitMove", "slit_y1", "no"},
                {"frmGonioYScan", "omega", "yes"}};
    QByteArray table;
    for (const char* axis : vesko::kTableAxisNames) {
      table += QByteArray("[axis.") + axis + "]\nlower = -200\nupper = -100\n";
    }
    for (const auto& row : rows) {
      const WindowCase& c = Case(row.window);
      const QString answer = QLatin1String(row.answer);
      Workspace ws;
      QVERIFY(WriteBytes(ws.settings.filePath("Axes.toml"), answer == "broken table" ? "[axis\n" : table));
      ws.dialogs.yesNoAnswers = {answer == "yes"};
      QVERIFY(Open(ws, row.window));
      QCOMPARE(Enter(ws.window, c.input + QStringList{c.id.fileCreate}), QString());
      const bool written = answer != "no";
      if (answer == "broken table") {
        QCOMPARE(ws.dialogs.questions, QStringList());
        QVERIFY2(ws.dialogs.messages.value(0).startsWith("Axes.toml line 1: "),
                 qPrintable(ws.dialogs.messages.value(0)));
      } else {
        QCOMPARE(ws.dialogs.questions.size(), 1);
        const QString question = ws.dialogs.questions[0];
        QVERIFY2(question.startsWith(QLatin1String(row.firstAxis) + " goes to ") &&
                     question.contains(", above its upper limit -100.000 (first ") &&
                     question.endsWith("). Write the script anyway?"),
                 qPrintable(question));
        QCOMPARE(ws.dialogs.messages, written ? c.created.report : QStringList());
      }
      QCOMPARE(FileNames(ws.output.path()), written ? QStringList{c.created.script} : QStringList());
      QCOMPARE(Shown(ws.window, QLatin1String(c.id.status)), written ? QStringLiteral("Done") : QString());
    }
  }

  // The settings file's lines for "ω1" and "ω2" ("" no file), the boxes clicked one after another, and
  // OmegaRuleShown on opening, then after each click.
  void omegaRuleFollowsTheBoxes() {
    const struct {
      QByteArray boxes;
      QStringList clicks, shown;
    } rows[] = {{"",
                 {"chkGonioYRepeatActive", "chkGonioYUseOmega_0", "chkGonioYUseOmega_1",
                  "chkGonioYUseOmega_0", "chkGonioYUseOmega_1"},
                 {"A 4/4, [ ] ω1, [ ] ω2, [ ] Active", "A 4/4, [ ] ω1, [ ] ω2, [x] Active",
                  "B 0/4, [x] ω1, [ ] ω2, [ ] Active", "B 0/4, [x] ω1, [x] ω2, [ ] Active",
                  "B 0/4, [ ] ω1, [x] ω2, [ ] Active", "A 4/4, [ ] ω1, [ ] ω2, [ ] Active"}},
                {"0|1", {}, {"B 0/4, [ ] ω1, [x] ω2, [ ] Active"}},
                // A click moves grey on to ticked; after that the box only ticks and unticks.
                {"2|0",
                 QStringList(3, "chkGonioYUseOmega_0"),
                 {"B 0/4, [-] ω1, [ ] ω2, [ ] Active", "B 0/4, [x] ω1, [ ] ω2, [ ] Active",
                  "A 4/4, [ ] ω1, [ ] ω2, [ ] Active", "B 0/4, [x] ω1, [ ] ω2, [ ] Active"}}};
    for (const auto& row : rows) {
      Workspace ws;
      const QByteArrayList box = row.boxes.split('|');
      QVERIFY(row.boxes.isEmpty() || WriteBytes(ws.settings.filePath("GonioYScan.ini"),
                                                CrLfLines({"0", "0.000", "1.000", "3", "GonioYScan.tcl",
                                                           box[0], "4.000", box[1], "-4.000"})));
      QVERIFY(Open(ws, "frmGonioYScan"));
      QStringList seen = {OmegaRuleShown(ws.window)};
      for (const QString& name : row.clicks) {
        QVERIFY(Click(ws.window, name));
        seen << OmegaRuleShown(ws.window);
      }
      QCOMPARE(seen, row.shown);
    }
  }

  // The destination line on opening, then after the input (%1 the output folder), then after another
  // window chose another folder.
  void destinationFollowsNameAndFolder() {
    const struct {
      const char *window, *line;
      QStringList input, shown;
    } rows[] = {{"frm4DSlitScan",
                 "txt4DDestination",
                 {"txt4DOutputFileName=run1.tcl", "chk4DRepeatActive"},
                 {"→ %1/4DSlit1DScan.tcl, results %1/4DSlit1DScan.dat",
                  "→ %1/run1.tcl, results %1/run1_Repeat.dat, %1/run1_Average.dat"}},
                {"frmGonioYScan",
                 "txtGonioYDestination",
                 {"chkGonioYUseOmega_1"},
                 {"→ %1/GonioYScan.tcl, results %1/GonioYScan.dat",
                  "→ %1/GonioYScan.tcl, results %1/GonioYScan_2.dat"}},
                {"frmCollScan",
                 "txtColliDestination_1",
                 {"txtColliOutputFileName_1=z.run.com"},
                 {"→ %1/Coll1DScan.com, results %1/Coll1DScan.dat", "→ %1/z.run.com, results %1/z.dat"}},
                {"frm4DSlitMove",
                 "txtDestination",
                 {"txtOutputFileName=.com"},
                 {"→ %1/4DSlitMove.com", "→ no script: the file name is not usable"}}};
    for (const auto& row : rows) {
      Workspace ws;
      QVERIFY(Open(ws, row.window));
      QCOMPARE(Shown(ws.window, row.line), row.shown[0].arg(ws.output.path()));
      QCOMPARE(Enter(ws.window, row.input), QString());
      QCOMPARE(Shown(ws.window, row.line), row.shown[1].arg(ws.output.path()));
      vesko::ChangeOutputFolder("/srv/other");
      QCOMPARE(Shown(ws.window, row.line), row.shown[1].arg("/srv/other"));
    }
  }

  void closingAsksAfterTyping() {
    const WindowCase& lens = Case("frmLensScan");
    const WindowCase& move = Case("frm4DSlitMove");
    const struct {
      const char* window;
      QStringList input;  // before closing
      bool escape;        // closed by Escape, otherwise by the title bar
      QList<bool> answers;
      int questions;
      bool closed;
    } rows[] = {{"frm4DSlitScan", {}, true, {}, 0, true},
                {"frm4DSlitScan", {"txt4DSlitWidth=0.1"}, true, {}, 1, false},
                {"frmGonioYScan", {"txtGonioYScanWidth=2"}, false, {true}, 1, true},
                {"frmCollScan", {"chkCollimatorMove4DSlit_0"}, false, {false}, 1, false},
                // The preview is a window of its own: its controls are not the scan window's.
                {"frmLensScan",
                 lens.input + QStringList{lens.id.fileCreate, PreviewOf(lens.id.fileCreate)},
                 true,
                 {},
                 0,
                 true},
                {"frm4DSlitMove", move.input + QStringList{move.id.fileCreate}, true, {}, 0, true},
                {"frmLensScan",
                 lens.input + QStringList{lens.id.fileCreate, "txtLenzScanWidth=1"},
                 false,
                 {},
                 1,
                 false}};
    for (const auto& row : rows) {
      Workspace ws;
      QVERIFY(Open(ws, row.window));
      QCOMPARE(Enter(ws.window, row.input), QString());
      ws.dialogs.yesNoAnswers = row.answers;
      if (row.escape) {
        QTest::keyClick(ws.window, Qt::Key_Escape);
      } else {
        ws.window->close();
      }
      QCOMPARE(ws.dialogs.questions, QStringList(row.questions, "Discard the typed values?"));
      QCOMPARE(ws.window->isVisible(), !row.closed);
    }
  }
};

VESKO_WINDOW_SUITE(ScanWindowsTest, "scan_windows_test")

#include "scan_windows_test.moc"
