#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <memory>
#include <variant>

#include "app/app_settings.h"
#include "core/line_sink.h"
#include "generators/coll_scan.h"
#include "generators/gonio_stage_scan.h"
#include "generators/gonio_y_scan.h"
#include "generators/lens_scan.h"
#include "generators/slit_dec_scan.h"
#include "generators/slit_move.h"
#include "generators/slit_scan.h"
#include "tests/ui/ui_test_support.h"
#include "ui/all_in_one_window.h"
#include "ui/coll_scan_window.h"
#include "ui/gonio_stage_scan_window.h"
#include "ui/gonio_y_scan_window.h"
#include "ui/lens_scan_window.h"
#include "ui/slit_dec_scan_window.h"
#include "ui/slit_move_window.h"
#include "ui/slit_scan_window.h"

using namespace vesko::test;

namespace {

// Opens a `W` on the settings folder.
template <typename W>
QWidget* Make(const std::string& settingsFolder, vesko::Dialogs& dialogs) {
  return new W(settingsFolder, dialogs);
}

// The bytes the generator writes for `form`, which its checks pass.
template <typename Form>
std::string Written(const Form& form, const std::string& outputFolder) {
  vesko::StringSink sink;
  vesko::BuildScript(*vesko::Validate(form), outputFolder, sink);
  return sink.text();
}
std::string Written(const vesko::SlitMoveForm& form, const std::string&) {
  vesko::StringSink sink;
  vesko::BuildScript(*vesko::Validate(form), sink);
  return sink.text();
}
std::string Written(const vesko::GonioYScanForm& form, const std::string& outputFolder) {
  vesko::StringSink sink;
  vesko::BuildScriptB(*vesko::Validate(form, vesko::GonioYGenerator::B), outputFolder, sink);
  return sink.text();
}

using AnyForm =
    std::variant<vesko::SlitScanForm, vesko::SlitDecScanForm, vesko::SlitMoveForm, vesko::CollScanForm,
                 vesko::LensScanForm, vesko::GonioStageScan2Form, vesko::GonioYScanForm>;

// One generator window: what it shows, what it loads, and one complete "File Create".
struct WindowCase {
  struct {
    const char* name;  // the window's object name
    QWidget* (*make)(const std::string&, vesko::Dialogs&);
    const char* title;
    const char* fileCreate;  // the button used; the default button when `returnCreates`
    bool returnCreates;
    const char* status;
    int tab;  // the combined window's tab with the same panel and settings file, or -1
  } id;
  QStringList design;     // "control=shown" when no settings file exists
  QByteArrayList stored;  // settings files (name, content, ...) to open with
  QStringList loaded;     // "control=shown" after opening with `stored`
  QStringList input;      // a complete valid entry, as Enter takes it
  AnyForm form;           // the same entry as the generator takes it
  struct {
    const char* script;  // the one file written into the output folder
    const char* settingsFile;
    QByteArray settings;      // its content, written from none
    QStringList report = {};  // the messages of the File Create
  } created;
};

// "name_k=caption" for each caption of the control array `name`; a null caption has no element.
QStringList Captions(const char* name, std::initializer_list<const char*> captions) {
  QStringList rows;
  int k = 0;
  for (const char* caption : captions) {
    if (caption) {
      rows << At(name, k) + QLatin1Char('=') + QString::fromUtf8(caption);
    }
    ++k;
  }
  return rows;
}

// The rows of both panels of a two-panel window ("%1" the panel), inside their frames.
QStringList PanelDesign(const char* frame, const QStringList& perPanel, const char* titleY,
                        const char* titleZ) {
  QStringList design = Captions(frame, {titleY, titleZ});
  for (int n = 0; n < 2; ++n) {
    for (const QString& row : perPanel) {
      design << At(frame, n) + QLatin1Char('/') + row.arg(n);
    }
  }
  return design;
}

const WindowCase kWindows[] = {
    {{"frm4DSlitScan", Make<vesko::SlitScanWindow>, "4DSlit Scan Setting", "cmd4DFileCreate", true,
      "lbl4DStatus", 5},
     Captions("lblSetting", {"Slit Width", "Scan Center", "Scan Width", "Scan Division", nullptr,
                             "Output FileName", "(Result File Name = *.dat)"}) +
         QStringList{"fra4D=Move Blades", "fra4DRepeatSetting=Repeat Setting", "opt4DAxis_0=[ ] y1 and y2",
                     "opt4DAxis_1=[ ] z1 and z2", "chk4DRepeatActive=[ ] Active", "Label1=Times",
                     "cmd4DFileCreate=File Create", "lbl4DStatus=", "txt4DSlitWidth=", "txt4DScanCenter=",
                     "txt4DScanWidth=", "txt4DScanDivision=", "txt4DRepeatTimes=2",
                     "txt4DOutputFileName=4DSlit1DScan.tcl"},
     {"4DSlitScan.ini", CrLfLines({"1", "0.100", "-0.250", "1.000", "5", "run.tcl"})},
     {"opt4DAxis_0=[ ] y1 and y2", "opt4DAxis_1=[x] z1 and z2", "txt4DSlitWidth=0.100",
      "txt4DScanCenter=-0.250", "txt4DScanWidth=1.000", "txt4DScanDivision=5", "txt4DOutputFileName=run.tcl"},
     {"opt4DAxis_1", "txt4DSlitWidth=0.1", "txt4DScanCenter=0.2", "txt4DScanWidth=1", "txt4DScanDivision=5",
      "txt4DOutputFileName=  zrun.tcl  ", "chk4DRepeatActive", "txt4DRepeatTimes=3"},
     vesko::SlitScanForm{false, true, "0.1", "0.2", "1", "5", "zrun.tcl", true, "3"},
     {"zrun.tcl", "4DSlitScan.ini", CrLfLines({"1", "0.100", "0.200", "1.000", "5", "zrun.tcl"})}},
    {{"frm4DSlitDecScan", Make<vesko::SlitDecScanWindow>, "4DSlit Decrease Scan Setting",
      "cmd4DDecFileCreate", true, "lbl4DDecStatus", 6},
     Captions("lblSetting", {"Start Slit Width", "End Slit Width", "Scan Center", "Dec Step",
                             "Output FileName", "(Result File Name = *.dat)", "Times"}) +
         QStringList{"fra4DDec=Move Blades", "fra4DDecRepeatSetting=Repeat Setting",
                     "opt4DDecAxis_0=[ ] y1 and y2", "opt4DDecAxis_1=[ ] z1 and z2",
                     "chk4DDecRepeatActive=[ ] Active", "cmd4DDecFileCreate=File Create",
                     "lbl4DDecStatus=", "txt4DDecStartSlitWidth=", "txt4DDecEndSlitWidth=",
                     "txt4DDecScanCenter=", "txt4DDecDecStep=", "txt4DDecOutputFileName=4DSlitDec1DScan.tcl",
                     "txt4DDecRepeatTimes=2"},
     {"4DSlitDec1DScan.ini", CrLfLines({"1", "1.000", "0.100", "-0.500", "0.250", "dec.tcl"})},
     {"opt4DDecAxis_1=[x] z1 and z2", "txt4DDecStartSlitWidth=1.000", "txt4DDecEndSlitWidth=0.100",
      "txt4DDecScanCenter=-0.500", "txt4DDecDecStep=0.250", "txt4DDecOutputFileName=dec.tcl"},
     {"opt4DDecAxis_0", "txt4DDecStartSlitWidth=1.0", "txt4DDecEndSlitWidth=0.5", "txt4DDecScanCenter=0.1",
      "txt4DDecDecStep=0.25", "chk4DDecRepeatActive", "txt4DDecRepeatTimes=4"},
     vesko::SlitDecScanForm{true, false, "1.0", "0.5", "0.1", "0.25", "4DSlitDec1DScan.tcl", true, "4"},
     {"4DSlitDec1DScan.tcl", "4DSlitDec1DScan.ini",
      CrLfLines({"0", "1.000", "0.500", "0.100", "0.250", "4DSlitDec1DScan.tcl"})}},
    {{"frm4DSlitMove", Make<vesko::SlitMoveWindow>, "4D Slit Move", "cmdFileCreate", true, "lblStatus", -1},
     Captions("lblSetting", {"Slit Width", "Slit Center", "Output FileName", "Y", "Z"}) +
         QStringList{"txtSlitWidth_0=", "txtSlitWidth_1=", "txtSlitCenter_0=", "txtSlitCenter_1=",
                     "txtOutputFileName=4DSlitMove.com", "cmdFileCreate=File Create", "lblStatus="},
     {"4DSlitMove.ini", CrLfLines({"0.200", "0.400", "-0.050", "0.100", "move.com"})},
     {"txtSlitWidth_0=0.200", "txtSlitWidth_1=0.400", "txtSlitCenter_0=-0.050", "txtSlitCenter_1=0.100",
      "txtOutputFileName=move.com"},
     {"txtSlitWidth_0=0.2", "txtSlitWidth_1=0.4", "txtSlitCenter_0=0.0", "txtSlitCenter_1=0.1"},
     vesko::SlitMoveForm{"0.2", "0.4", "0.0", "0.1"},
     {"4DSlitMove.com",
      "4DSlitMove.ini",
      CrLfLines({"0.200", "0.400", "0.000", "0.100", "4DSlitMove.com"}),
      {"y1=0.100,y2=0.100,z1=0.300,z2=0.100,ファイルネーム=4DSlitMove.comで作成しました。"}}},
    {{"frmCollScan", Make<vesko::CollScanWindow>, "Collimator 1D Scan Setting", "cmdColliFileCreate_1", false,
      "lblColliStatus_1", -1},
     PanelDesign("fraCollimator",
                 {"fraScanSetting_%1=Scan Setting", "fra4DSlit_%1=4D Slit",
                  "chkCollimatorMove4DSlit_%1=[ ] Move 4D Slit", "txtColliOutputFileName_%1=Coll1DScan.com",
                  "txtColliScanCenter_%1=", "txtColliScanWidth_%1=", "txtColliScanDivision_%1=",
                  "txtCollimatorSlitWidthY_%1=", "txtCollimatorSlitWidthZ_%1=",
                  "txtCollimatorSlitCenterY_%1=", "txtCollimatorSlitCenterZ_%1=", "lblColliStatus_%1="},
                 "collimator_y", "collimator_z") +
         QStringList{"fraCollimator_0/cmdColliFileCreate_0=File Create(CollimatorY)",
                     "fraCollimator_1/cmdColliFileCreate_1=File Create(CollimatorZ)"},
     {"ColliScan_y.ini",
      CrLfLines({"1", "0.200", "0.300", "0.010", "-0.020", "0.500", "1.000", "5", "y9.com"}),
      "ColliScan_z.ini", CrLfLines({"-1.000", "2.000", "3", "z.com"})},
     {"chkCollimatorMove4DSlit_0=[x] Move 4D Slit", "txtCollimatorSlitWidthY_0=0.200",
      "txtCollimatorSlitWidthZ_0=0.300", "txtCollimatorSlitCenterY_0=0.010",
      "txtCollimatorSlitCenterZ_0=-0.020", "txtColliScanCenter_0=0.500", "txtColliScanWidth_0=1.000",
      "txtColliScanDivision_0=5", "txtColliOutputFileName_0=y9.com",
      "chkCollimatorMove4DSlit_1=[ ] Move 4D Slit", "txtColliScanCenter_1=-1.000",
      "txtColliScanWidth_1=2.000", "txtColliScanDivision_1=3", "txtColliOutputFileName_1=z.com",
      "txtCollimatorSlitWidthY_1="},
     {"txtColliScanCenter_1=0.5", "txtColliScanWidth_1=1.0", "txtColliScanDivision_1=5",
      "chkCollimatorMove4DSlit_1", "txtCollimatorSlitWidthY_1=0.5", "txtCollimatorSlitWidthZ_1=0.3",
      "txtCollimatorSlitCenterY_1=0.1", "txtCollimatorSlitCenterZ_1=-0.05",
      "txtColliOutputFileName_1= z.run.com "},
     vesko::CollScanForm{1, "0.5", "1.0", "5", "z.run.com", true, "0.5", "0.3", "0.1", "-0.05"},
     {"z.run.com", "ColliScan_z.ini", CrLfLines({"0.500", "1.000", "5", "z.run.com"})}},
    {{"frmLensScan", Make<vesko::LensScanWindow>, "Form1", "cmdLenzFileCreate", true, "lblLenzStatus", 7},
     Captions("lblSetting", {"Scan Center", "Scan Width", "Scan Division", "Output FileName",
                             "(Result File Name = *.dat)"}) +
         QStringList{"fraLenz=Move Axis", "fraLenz/optLenzAxis_0=[ ] lens_y",
                     "fraLenz/optLenzAxis_1=[ ] lens_z", "fraLenz/optLenzAxis_2=[ ] lens_ry",
                     "fraLenz/optLenzAxis_3=[ ] lens_rz", "txtLenzScanCenter=", "txtLenzScanWidth=",
                     "txtLenzScanDivision=", "txtLenzOutputFileName=Lens1DScan.tcl",
                     "cmdLenzFileCreate=File Create", "lblLenzStatus="},
     {"LensScan.ini", CrLfLines({"2", "0.000", "0.300", "4", "ry.tcl"})},
     {"optLenzAxis_1=[ ] lens_z", "optLenzAxis_2=[x] lens_ry", "txtLenzScanCenter=0.000",
      "txtLenzScanWidth=0.300", "txtLenzScanDivision=4", "txtLenzOutputFileName=ry.tcl"},
     {"optLenzAxis_3", "txtLenzScanCenter=0.0", "txtLenzScanWidth=0.3", "txtLenzScanDivision=4"},
     vesko::LensScanForm{{false, false, false, true}, "0.0", "0.3", "4", "Lens1DScan.tcl"},
     {"Lens1DScan.tcl", "LensScan.ini", CrLfLines({"3", "0.000", "0.300", "4", "Lens1DScan.tcl"})}},
    {{"frmGonioStageScan2", Make<vesko::GonioStageScanWindow>, "GonioStage 1D Scan Setting",
      "cmdGonioStageFileCreate_1", false, "lblGonioStageStatus_1", 1},
     PanelDesign(
         "fraGonioStage",
         {"chkGonioStageMove4DSlit_%1=[ ] Move 4D Slit", "txtGonioStageOutputFileName_%1=Gonio1DScan.tcl",
          "txtGonioStageScanCenter_%1=", "lblGonioStageStatus_%1="},
         "gonio_stage_y", "gonio_stage_z") +
         QStringList{"fraGonioStage_0/cmdGonioStageFileCreate_0=File Create(StageY)",
                     "fraGonioStage_1/cmdGonioStageFileCreate_1=File Create(StageZ)"},
     // The z file holds a grey box (2), which only a file can set.
     {"GonioStageScan2_y.ini",
      CrLfLines({"0", "0.500", "0.300", "0.100", "-0.050", "1.000", "0.400", "3", "y.tcl"}),
      "GonioStageScan2_z.ini",
      CrLfLines({"2", "0.300", "0.200", "0.000", "0.000", "2.000", "1.000", "4", "z.tcl"})},
     {"txtGonioStageSlitWidthY_0=0.500", "txtGonioStageSlitWidthZ_0=0.300",
      "txtGonioStageSlitCenterY_0=0.100", "txtGonioStageSlitCenterZ_0=-0.050",
      "txtGonioStageScanCenter_0=1.000", "txtGonioStageScanWidth_0=0.400", "txtGonioStageScanDivision_0=3",
      "txtGonioStageOutputFileName_0=y.tcl", "chkGonioStageMove4DSlit_1=[-] Move 4D Slit",
      "txtGonioStageScanCenter_1=2.000", "txtGonioStageOutputFileName_1=z.tcl"},
     {"txtGonioStageSlitWidthY_1=0.5", "txtGonioStageSlitWidthZ_1=0.3", "txtGonioStageSlitCenterY_1=0.1",
      "txtGonioStageSlitCenterZ_1=-0.05", "txtGonioStageScanCenter_1=1.0", "txtGonioStageScanWidth_1=0.4",
      "txtGonioStageScanDivision_1=3", "chkGonioStageMove4DSlit_1"},
     vesko::GonioStageScan2Form{1, 1, "0.5", "0.3", "0.1", "-0.05", "1.0", "0.4", "3"},
     {"Gonio1DScan.tcl", "GonioStageScan2_z.ini",
      CrLfLines({"1", "0.500", "0.300", "0.100", "-0.050", "1.000", "0.400", "3", "Gonio1DScan.tcl"})}},
    {{"frmGonioYScan", Make<vesko::GonioYScanWindow>, "GonioYScan", "cmdGonioYFileCreate2", false,
      "lblGonioYStatus", 2},
     {"chkGonioYUseOmega_0=[ ] ω1", "txtGonioYOmega_0=5.000", "chkGonioYUseOmega_1=[ ] ω2",
      "txtGonioYOmega_1=-5.000", "txtGonioYScanCenter=", "txtGonioYOutputFileName=GonioYScan.tcl",
      "chkGonioYRepeatActive=[ ] Active", "txtGonioYRepeatTimes=2", "cmdGonioYFileCreate=File Create"},
     {"GonioYScan.ini", CrLfLines({"0", "0.500", "1.000", "3", "gy.tcl", "1", "4.000", "0", "-4.000"})},
     {"txtGonioYScanCenter=0.500", "txtGonioYScanWidth=1.000", "txtGonioYScanDivision=3",
      "txtGonioYOutputFileName=gy.tcl", "chkGonioYUseOmega_0=[x] ω1", "txtGonioYOmega_0=4.000",
      "chkGonioYUseOmega_1=[ ] ω2", "txtGonioYOmega_1=-4.000"},
     {"txtGonioYScanCenter=0", "txtGonioYScanWidth=1", "txtGonioYScanDivision=3", "chkGonioYUseOmega_1",
      "txtGonioYOmega_1=-4.5"},
     vesko::GonioYScanForm{"0", "1", "3", "GonioYScan.tcl", {0, 1}, {"5.000", "-4.5"}},
     {"GonioYScan.tcl", "GonioYScan.ini",
      CrLfLines({"0", "0.000", "1.000", "3", "GonioYScan.tcl", "0", "5.000", "1", "-4.500"})}},
};

const WindowCase& Case(const QString& name) {
  for (const WindowCase& c : kWindows) {
    if (name == c.id.name) {
      return c;
    }
  }
  qFatal("no window case %s", qPrintable(name));
}

// Opens the window `name` on the workspace's settings folder.
bool Open(Workspace& ws, const QString& name) {
  return ws.show(Case(name).id.make(ws.settingsFolder(), ws.dialogs));
}

// "" when the texts are equal, else the first line that differs.
QString FirstDifference(const QByteArray& expected, const QByteArray& actual) {
  const QByteArrayList want = expected.split('\n');
  const QByteArrayList got = actual.split('\n');
  int k = 0;
  while (k < want.size() && k < got.size() && want[k] == got[k]) {
    ++k;
  }
  return expected == actual ? QString()
                            : QStringLiteral("line %1: expected \"%2\", written \"%3\"")
                                  .arg(k + 1)
                                  .arg(QString::fromUtf8(want.value(k)), QString::fromUtf8(got.value(k)));
}

void AddWindowRows() {
  QTest::addColumn<QString>("window");
  for (const WindowCase& c : kWindows) {
    QTest::newRow(c.id.name) << QString::fromLatin1(c.id.name);
  }
}

// Which GonioY "File Create" shows ("A", "B"; "AB" or "" would be wrong), and how many of the four repeat
// controls are enabled.
QString OmegaRuleShown(const QWidget* window) {
  int enabled = 0;
  for (const char* name :
       {"fraGonioYRepeatSetting", "chkGonioYRepeatActive", "txtGonioYRepeatTimes", "lblGonioYTimes"}) {
    enabled += Find(window, QLatin1String(name))->isEnabled() ? 1 : 0;
  }
  return QLatin1String(Find(window, "cmdGonioYFileCreate")->isVisible() ? "A" : "") +
         QLatin1String(Find(window, "cmdGonioYFileCreate2")->isVisible() ? "B" : "") +
         QStringLiteral(" %1/4 enabled").arg(enabled);
}

}  // namespace

class ScanWindowsTest : public QObject {
  Q_OBJECT

 private slots:
  void opensWithDesignTexts_data() { AddWindowRows(); }
  void opensWithDesignTexts();
  void loadsSettingsIntoControls_data() { AddWindowRows(); }
  void loadsSettingsIntoControls();
  void fileCreateWritesScriptAndSettings_data();
  void fileCreateWritesScriptAndSettings();
  void refusalShowsMessageAndWritesNothing_data();
  void refusalShowsMessageAndWritesNothing();
  void unwritableFolderIsReportedWithoutMoveReport();
  void returnCreatesAndReopenedWindowShowsStoredInputs();
  void slitMoveReportComesBeforeDoneAndStays();
  void omegaRuleFollowsClicks();
  void loadedOmegaBoxesApplyTheRule_data();
  void loadedOmegaBoxesApplyTheRule();
};

void ScanWindowsTest::opensWithDesignTexts() {
  QFETCH(QString, window);
  const WindowCase& c = Case(window);
  Workspace ws;
  QVERIFY(Open(ws, window));
  QCOMPARE(ws.window->objectName() + '|' + ws.window->windowTitle(),
           window + '|' + QLatin1String(c.id.title));
  QVERIFY(ws.window->isModal() && ws.window->testAttribute(Qt::WA_DeleteOnClose));
  QCOMPARE(Differences(ws.window, c.design), QString());
  auto* button = qobject_cast<QPushButton*>(Find(ws.window, QLatin1String(c.id.fileCreate)));
  QVERIFY(button);
  QCOMPARE(button->isDefault(), c.id.returnCreates);
}

void ScanWindowsTest::loadsSettingsIntoControls() {
  QFETCH(QString, window);
  const WindowCase& c = Case(window);
  Workspace ws;
  for (int k = 0; k + 1 < c.stored.size(); k += 2) {
    QVERIFY(WriteBytes(ws.settings.filePath(QString::fromUtf8(c.stored[k])), c.stored[k + 1]));
  }
  QVERIFY(Open(ws, window));
  QCOMPARE(Differences(ws.window, c.loaded), QString());
  QCOMPARE(ws.dialogs.messages, QStringList());
}

void ScanWindowsTest::fileCreateWritesScriptAndSettings_data() {
  QTest::addColumn<QString>("window");
  QTest::addColumn<bool>("combined");  // through the panel's tab of the combined window
  for (const WindowCase& c : kWindows) {
    QTest::newRow(c.id.name) << QString::fromLatin1(c.id.name) << false;
    if (c.id.tab >= 0) {
      QTest::addRow("%s tab", c.id.name) << QString::fromLatin1(c.id.name) << true;
    }
  }
}

void ScanWindowsTest::fileCreateWritesScriptAndSettings() {
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
  QCOMPARE(Enter(ws.window, c.input + QStringList{c.id.fileCreate}), QString());

  QCOMPARE(ws.dialogs.messages, c.created.report);
  QCOMPARE(Shown(ws.window, QLatin1String(c.id.status)), QStringLiteral("Done"));
  QCOMPARE(FileNames(ws.output.path()), QStringList{c.created.script});
  const std::string folder = ws.output.path().toStdString();
  const auto expected = std::visit([&folder](const auto& form) { return Written(form, folder); }, c.form);
  QCOMPARE(
      FirstDifference(QByteArray::fromStdString(expected), ReadBytes(ws.output.filePath(c.created.script))),
      QString());
  QCOMPARE(FileNames(ws.settings.path()), QStringList{c.created.settingsFile});
  QCOMPARE(ReadBytes(ws.settings.filePath(c.created.settingsFile)), c.created.settings);
}

void ScanWindowsTest::refusalShowsMessageAndWritesNothing_data() {
  QTest::addColumn<QString>("window");
  QTest::addColumn<QString>("spoilt");  // an Enter step after the complete entry
  QTest::addColumn<QString>("message");
  const char* const rows[][4] = {
      {"slit width", "frm4DSlitScan", "txt4DSlitWidth=abc", "Setting Error!"},
      {"slit repeat", "frm4DSlitScan", "txt4DRepeatTimes=1", "Repeat Times Error"},
      {"dec step", "frm4DSlitDecScan", "txt4DDecDecStep=0", "Setting Error!"},
      {"dec repeat", "frm4DSlitDecScan", "txt4DDecRepeatTimes=1", "Repeat Times Error"},
      {"move centre", "frm4DSlitMove", "txtSlitCenter_1=abc", "Setting Error!"},
      {"coll division", "frmCollScan", "txtColliScanDivision_1=1", "Setting Error!"},
      {"coll slit centre z", "frmCollScan", "txtCollimatorSlitCenterZ_1=z", "SlitCenterZ Error!"},
      {"lens width", "frmLensScan", "txtLenzScanWidth=wide", "Setting Error!"},
      {"stage division", "frmGonioStageScan2", "txtGonioStageScanDivision_1=1", "Scan Division Error!"},
      {"gonio y omega 2", "frmGonioYScan", "txtGonioYOmega_1=x", "Omega1 Setting Error!"}};
  for (const auto& row : rows) {
    QTest::newRow(row[0]) << QString(row[1]) << QString(row[2]) << QString(row[3]);
  }
}

void ScanWindowsTest::refusalShowsMessageAndWritesNothing() {
  QFETCH(QString, window);
  QFETCH(QString, spoilt);
  QFETCH(QString, message);
  const WindowCase& c = Case(window);
  Workspace ws;
  QVERIFY(Open(ws, window));
  QCOMPARE(Enter(ws.window, c.input + QStringList{spoilt, c.id.fileCreate}), QString());

  QCOMPARE(ws.dialogs.messages, QStringList{message});
  QCOMPARE(ws.dialogs.messageParents[0]->window(), ws.window.data());
  QCOMPARE(Shown(ws.window, QLatin1String(c.id.status)), QString());
  QCOMPARE(FileNames(ws.output.path()) + FileNames(ws.settings.path()), QStringList());
}

void ScanWindowsTest::unwritableFolderIsReportedWithoutMoveReport() {
  const WindowCase& c = Case("frm4DSlitMove");
  Workspace ws;
  vesko::SetOutputFolder(ws.output.filePath("missing").toStdString());
  QVERIFY(Open(ws, c.id.name));
  QCOMPARE(Enter(ws.window, c.input + QStringList{c.id.fileCreate}), QString());

  QCOMPARE(ws.dialogs.messages.size(), 1);
  const QString& shown = ws.dialogs.messages[0];
  QVERIFY2(shown.startsWith(QStringLiteral("Cannot write ")) &&
               shown.contains(QStringLiteral("missing/4DSlitMove.com")),
           qPrintable(shown));
  QCOMPARE(Shown(ws.window, QLatin1String(c.id.status)), QString());
  QCOMPARE(FileNames(ws.output.path()) + FileNames(ws.settings.path()), QStringList());
}

void ScanWindowsTest::returnCreatesAndReopenedWindowShowsStoredInputs() {
  Workspace ws;
  QVERIFY(Open(ws, "frm4DSlitScan"));
  const QStringList input = {"txt4DSlitWidth=0.12345", "txt4DScanDivision=4.5"};
  QCOMPARE(Enter(ws.window, Case("frm4DSlitScan").input + input), QString());
  QTest::keyClick(Find(ws.window, "txt4DOutputFileName"), Qt::Key_Return);
  QCOMPARE(Shown(ws.window, "lbl4DStatus"), QStringLiteral("Done"));

  // Closing unloads the window; inputs typed since the last "File Create" go with it.
  QCOMPARE(Enter(ws.window, {"txt4DScanCenter=9"}), QString());
  ws.window->close();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  QVERIFY(ws.window.isNull());
  QVERIFY(Open(ws, "frm4DSlitScan"));
  QCOMPARE(
      Differences(ws.window, {"opt4DAxis_1=[x] z1 and z2", "txt4DSlitWidth=0.123", "txt4DScanCenter=0.200",
                              "txt4DScanDivision=4", "txt4DOutputFileName=zrun.tcl",
                              "chk4DRepeatActive=[ ] Active", "lbl4DStatus="}),
      QString());
}

void ScanWindowsTest::slitMoveReportComesBeforeDoneAndStays() {
  QStringList statusWhileShown;
  Workspace ws;
  ws.dialogs.onMessage = [&statusWhileShown](QWidget* parent) {
    statusWhileShown << Shown(parent->window(), QStringLiteral("lblStatus"));
  };
  const WindowCase& c = Case("frm4DSlitMove");
  QVERIFY(Open(ws, c.id.name));
  QCOMPARE(Enter(ws.window, c.input + QStringList{c.id.fileCreate}), QString());
  // The window never shows "Output Start"; "Done" follows the report.
  QCOMPARE(statusWhileShown, QStringList{QString()});
  const QByteArray written = ReadBytes(ws.output.filePath(c.created.script));

  // A refusal keeps the status and both files.
  QCOMPARE(Enter(ws.window, {"txtOutputFileName=.com", c.id.fileCreate}), QString());
  QCOMPARE(ws.dialogs.messages.value(1), QStringLiteral("Setting Error!"));
  QCOMPARE(Shown(ws.window, QLatin1String(c.id.status)), QStringLiteral("Done"));
  QCOMPARE(ReadBytes(ws.output.filePath(c.created.script)), written);
  QCOMPARE(ReadBytes(ws.settings.filePath(c.created.settingsFile)), c.created.settings);
}

void ScanWindowsTest::omegaRuleFollowsClicks() {
  Workspace ws;
  QVERIFY(Open(ws, "frmGonioYScan"));
  QCOMPARE(OmegaRuleShown(ws.window), QStringLiteral("A 4/4 enabled"));
  // Each row: the box clicked, then what shows and whether "Active" is still ticked.
  const char* const rows[][3] = {{"chkGonioYRepeatActive", "A 4/4 enabled", "[x] Active"},
                                 {"chkGonioYUseOmega_0", "B 0/4 enabled", "[ ] Active"},
                                 {"chkGonioYUseOmega_1", "B 0/4 enabled", "[ ] Active"},
                                 {"chkGonioYUseOmega_0", "B 0/4 enabled", "[ ] Active"},  // "ω2" still ticked
                                 {"chkGonioYUseOmega_1", "A 4/4 enabled", "[ ] Active"}};
  for (const auto& row : rows) {
    QVERIFY(Click(ws.window, QLatin1String(row[0])));
    QCOMPARE(OmegaRuleShown(ws.window) + '|' + Shown(ws.window, "chkGonioYRepeatActive"),
             QLatin1String(row[1]) + '|' + QLatin1String(row[2]));
  }
}

void ScanWindowsTest::loadedOmegaBoxesApplyTheRule_data() {
  QTest::addColumn<QByteArray>("boxes");    // the file's lines for "ω1" and "ω2"
  QTest::addColumn<QString>("shown");       // the omega rule, then "ω2"
  QTest::addColumn<QStringList>("clicks");  // what "ω1" shows on opening, then after each click
  QTest::newRow("both unticked") << QByteArray("0|0") << "A 4/4 enabled|[ ] ω2"
                                 << QStringList{"[ ] ω1", "[x] ω1", "[ ] ω1"};
  QTest::newRow("omega 2 ticked") << QByteArray("0|1") << "B 0/4 enabled|[x] ω2" << QStringList{"[ ] ω1"};
  // A click moves grey on to ticked; after that the box only ticks and unticks.
  QTest::newRow("omega 1 grey") << QByteArray("2|0") << "B 0/4 enabled|[ ] ω2"
                                << QStringList{"[-] ω1", "[x] ω1", "[ ] ω1", "[x] ω1"};
}

void ScanWindowsTest::loadedOmegaBoxesApplyTheRule() {
  QFETCH(QByteArray, boxes);
  QFETCH(QString, shown);
  QFETCH(QStringList, clicks);
  Workspace ws;
  const QByteArrayList box = boxes.split('|');
  QVERIFY(WriteBytes(
      ws.settings.filePath("GonioYScan.ini"),
      CrLfLines({"0", "0.000", "1.000", "3", "GonioYScan.tcl", box[0], "4.000", box[1], "-4.000"})));
  QVERIFY(Open(ws, "frmGonioYScan"));
  QCOMPARE(OmegaRuleShown(ws.window) + '|' + Shown(ws.window, "chkGonioYUseOmega_1"), shown);
  QStringList seen = {Shown(ws.window, "chkGonioYUseOmega_0")};
  while (seen.size() < clicks.size() && Click(ws.window, "chkGonioYUseOmega_0")) {
    seen << Shown(ws.window, "chkGonioYUseOmega_0");
  }
  QCOMPARE(seen, clicks);
}

namespace vesko::test {
std::unique_ptr<QObject> MakeScanWindowsTest() {
  return std::make_unique<ScanWindowsTest>();
}
}  // namespace vesko::test

#include "scan_windows_test.moc"
