#include <QAbstractButton>
#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QSet>
#include <QTest>
#include <algorithm>
#include <iterator>

#include "app/app_settings.h"
#include "core/script_naming.h"
#include "generators/axis_table.h"
#include "generators/form_fields.h"
#include "tests/ui/ui_test_support.h"
#include "ui/gonio_y_scan_window.h"
#include "ui/output_folder.h"
#include "ui/scan_windows.h"

using namespace vesko::test;

namespace {

template <typename W>
QWidget* Make(const std::string& settingsFolder, vesko::Dialogs& dialogs) {
  return new W(settingsFolder, dialogs);
}

// One generator window: a complete valid entry, one refusal, and what its "File Create" writes.
struct WindowCase {
  struct {
    const char* name;  // the window's object name
    QWidget* (*make)(const std::string&, vesko::Dialogs&);
    const char *fileCreate, *status, *destination;
    bool returnCreates;  // Return in a box presses "File Create"; other windows are clicked
  } id;
  QStringList input;    // as Enter takes it, ending in a box
  QStringList refused;  // an Enter step that spoils one box of `input`, then its message
  struct {
    const char* destination;  // the line that tells it after the input, %1 the output folder
    const char *script, *settingsFile, *settings;  // the settings file's lines, written from none
    QStringList report = {};                       // the messages of the File Create
  } created;
};

const WindowCase kWindows[] = {
    {{"frm4DSlitScan", Make<vesko::SlitScanWindow>, "cmd4DFileCreate", "lbl4DStatus", "txt4DDestination",
      true},
     {"opt4DAxis_1", "chk4DRepeatActive", "txt4DSlitWidth=0.1", "txt4DScanCenter=0.2", "txt4DScanWidth=1",
      "txt4DScanDivision=5", "txt4DOutputFileName=  zrun.tcl  ", "txt4DRepeatTimes=3"},
     {"txt4DRepeatTimes=1", "Repeat Times Error"},
     {"→ %1/zrun.tcl, results %1/zrun_Repeat.dat, %1/zrun_Average.dat", "zrun.tcl", "4DSlitScan.ini",
      "1 0.100 0.200 1.000 5 zrun.tcl"}},
    {{"frm4DSlitMove", Make<vesko::SlitMoveWindow>, "cmdFileCreate", "lblStatus", "txtDestination", true},
     {"txtSlitWidth_0=0.2", "txtSlitWidth_1=0.4", "txtSlitCenter_0=0.0", "txtSlitCenter_1=0.1"},
     {"txtSlitCenter_1=abc", "Setting Error!"},
     {"→ %1/4DSlitMove.com",
      "4DSlitMove.com",
      "4DSlitMove.ini",
      "0.200 0.400 0.000 0.100 4DSlitMove.com",
      {"y1=0.100,y2=0.100,z1=0.300,z2=0.100,ファイルネーム=4DSlitMove.comで作成しました。"}}},
    {{"frmCollScan", Make<vesko::CollScanWindow>, "cmdColliFileCreate_1", "lblColliStatus_1",
      "txtColliDestination_1", false},
     {"txtColliScanCenter_1=0.5", "txtColliScanWidth_1=1.0", "txtColliScanDivision_1=5",
      "chkCollimatorMove4DSlit_1", "txtCollimatorSlitWidthY_1=0.5", "txtCollimatorSlitWidthZ_1=0.3",
      "txtCollimatorSlitCenterY_1=0.1", "txtCollimatorSlitCenterZ_1=-0.05",
      "txtColliOutputFileName_1= z.run.com "},
     {"txtCollimatorSlitCenterZ_1=z", "SlitCenterZ Error!"},
     {"→ %1/z.run.com, results %1/z.dat", "z.run.com", "ColliScan_z.ini", "0.500 1.000 5 z.run.com"}},
    {{"frmGonioYScan", Make<vesko::GonioYScanWindow>, "cmdGonioYFileCreate2", "lblGonioYStatus",
      "txtGonioYDestination", false},
     {"chkGonioYUseOmega_1", "txtGonioYOmega_1=-4.5", "txtGonioYScanCenter=0", "txtGonioYScanWidth=1",
      "txtGonioYScanDivision=3"},
     {"txtGonioYOmega_1=x", "Omega1 Setting Error!"},
     {"→ %1/GonioYScan.tcl, results %1/GonioYScan_2.dat", "GonioYScan.tcl", "GonioYScan.ini",
      "0 0.000 1.000 3 GonioYScan.tcl 0 5.000 1 -4.500"}},
};

// Every axis limited far below anything the entries above move to.
const QByteArray kAxesBelowEveryMove = [] {
  QByteArray table;
  for (const char* axis : vesko::kTableAxisNames) {
    table += QByteArray("[axis.") + axis + "]\nlower = -200\nupper = -100\n";
  }
  return table;
}();

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

// Each field of the description has a control of its kind in `W`, which shows its line of a settings file
// of distinct lines (a choice its second option, a box ticked, a text naming its panel and line); every
// input control of `W` is a field or one of `others`.
template <typename Form, typename W>
void ExpectAgreement(const QStringList& others = {}) {
  const vesko::FormDescription<Form>& d = vesko::DescriptionOf<Form>();
  const auto storedText = [](int panel, int line) { return QStringLiteral("p%1l%2").arg(panel).arg(line); };
  Workspace ws;
  for (int panel = 0; panel < static_cast<int>(d.settingsFiles.size()); ++panel) {
    QByteArrayList lines;
    for (const vesko::FormField<Form>& f : d.fields) {
      if (f.settingsLine >= 0) {
        lines.resize(std::max(lines.size(), qsizetype{f.settingsLine} + 1), "0");
        const bool flag = f.storedAs == vesko::StoredAs::Index || f.storedAs == vesko::StoredAs::Box;
        lines[f.settingsLine] = flag ? "1" : storedText(panel, f.settingsLine).toUtf8();
      }
    }
    QVERIFY(
        WriteBytes(ws.settings.filePath(QString::fromStdString(d.settingsFiles[panel])), CrLfLines(lines)));
  }
  QVERIFY(ws.show(new W(ws.settingsFolder(), ws.dialogs)));

  QSet<QString> fieldControls;
  for (int panel = d.twoPanels ? 0 : -1; panel < (d.twoPanels ? 2 : 0); ++panel) {
    for (const vesko::FormField<Form>& f : d.fields) {
      const QString name =
          QString::fromStdString(f.control) + (panel < 0 ? "" : QStringLiteral("_%1").arg(panel));
      const bool stored = f.settingsLine >= 0;
      if (f.kind == vesko::FieldKind::Choice) {
        QVERIFY2(!Find(ws.window, name + '_' + QString::number(f.choiceCount)), qPrintable(name));
        for (int k = 0; k < f.choiceCount; ++k) {
          const QString option = name + '_' + QString::number(k);
          auto* button = qobject_cast<QRadioButton*>(Find(ws.window, option));
          QVERIFY2(button && button->isChecked() == (stored && k == 1), qPrintable(option));
          fieldControls << option;
        }
      } else if (f.kind == vesko::FieldKind::Text) {
        auto* box = qobject_cast<QLineEdit*>(Find(ws.window, name));
        QVERIFY2(box, qPrintable(name));
        QCOMPARE(box->text(), stored ? storedText(std::max(panel, 0), f.settingsLine) : box->text());
      } else {
        auto* box = qobject_cast<QCheckBox*>(Find(ws.window, name));
        QVERIFY2(box && (!stored || box->isChecked()), qPrintable(name));
      }
      fieldControls << name;
    }
  }
  for (QWidget* control : ws.window->findChildren<QWidget*>()) {
    const auto* button = qobject_cast<QAbstractButton*>(control);
    if (qobject_cast<QLineEdit*>(control) || (button && button->isCheckable())) {
      QVERIFY2(fieldControls.contains(control->objectName()) || others.contains(control->objectName()),
               qPrintable(control->objectName()));
    }
  }
  QCOMPARE(ws.dialogs.messages, QStringList());
}

}  // namespace

class ScanWindowsTest : public QObject {
  Q_OBJECT

 private slots:
  void fileCreateRefusesPreviewsWritesAndCloses_data() {
    QTest::addColumn<int>("n");
    for (int n = 0; n < static_cast<int>(std::size(kWindows)); ++n) {
      QTest::newRow(kWindows[n].id.name) << n;
    }
  }
  void fileCreateRefusesPreviewsWritesAndCloses() {
    QFETCH(int, n);
    const WindowCase& c = kWindows[n];
    Workspace ws;
    QVERIFY(ws.show(c.id.make(ws.settingsFolder(), ws.dialogs)));
    const QString preview = QString(c.id.fileCreate).replace("FileCreate", "Preview");
    const QString box = c.refused[0].section('=', 0, 0),
                  destination = QString::fromUtf8(c.created.destination);
    QCOMPARE(Enter(ws.window, c.input), QString());
    QCOMPARE(Shown(ws.window, c.id.destination), destination.arg(ws.output.path()));
    // The spoilt entry: both buttons refuse it over the window, write nothing and leave the focus on the
    // failed box, its text selected; then the box is put right.
    const QString before = Shown(ws.window, box);
    QCOMPARE(Enter(ws.window, {c.refused[0], preview, c.id.fileCreate}), QString());
    QCOMPARE(ws.dialogs.messages, QStringList(2, c.refused[1]));
    QCOMPARE(ws.dialogs.messageParents[1]->window(), ws.window.data());
    auto* focused = qobject_cast<QLineEdit*>(ws.window->focusWidget());
    QVERIFY(focused);
    QCOMPARE(focused->objectName() + '|' + focused->selectedText(), box + '|' + focused->text());
    QVERIFY(Shown(ws.window, c.id.status).isEmpty() && !Find(ws.window, "frmPreview"));
    QCOMPARE(FileNames(ws.output.path()) + FileNames(ws.settings.path()), QStringList());
    QCOMPARE(Enter(ws.window, {box + '=' + before}), QString());
    ws.dialogs.messages.clear();

    // Put right, the entry is previewed without writing anything. Back in a box, Return is "File Create" in
    // the windows that have it as their default button, and presses nothing in the others. An axis table
    // that cannot be read is told, then the script is written.
    QVERIFY(Click(ws.window, preview));
    const QString previewed = Shown(ws.window, "frmPreview/txtPreviewScript");
    QCOMPARE(ws.dialogs.messages + FileNames(ws.output.path()) + FileNames(ws.settings.path()),
             QStringList());
    QVERIFY(WriteBytes(ws.settings.filePath("Axes.toml"), "[axis\n"));
    QWidget* last = Find(ws.window, c.input.last().section('=', 0, 0));
    QTest::mouseClick(last, Qt::LeftButton);
    QTest::keyClick(last, Qt::Key_Return);
    QCOMPARE(FileNames(ws.output.path()).size(), c.id.returnCreates ? 1 : 0);
    QVERIFY(c.id.returnCreates || Click(ws.window, c.id.fileCreate));
    QVERIFY2(ws.dialogs.messages.value(0).startsWith("Axes.toml line 1: "),
             qPrintable(ws.dialogs.messages.value(0)));
    QCOMPARE(ws.dialogs.messages.mid(1), c.created.report);
    QCOMPARE(Shown(ws.window, c.id.status), QStringLiteral("Done"));
    QCOMPARE(FileNames(ws.output.path()), QStringList{c.created.script});
    QCOMPARE(QString(previewed).replace('\n', "\r\n").toUtf8(),
             ReadBytes(ws.output.filePath(c.created.script)));
    QVERIFY(QFile::remove(ws.settings.filePath("Axes.toml")));
    QCOMPARE(FileNames(ws.settings.path()), QStringList{c.created.settingsFile});
    QCOMPARE(ReadBytes(ws.settings.filePath(c.created.settingsFile)), Lines(c.created.settings));

    // The destination follows another window's choice of folder. What File Create wrote closes at once;
    // typed over, the window asks first and No keeps it open. The preview is a window of its own: its
    // controls are not the scan window's.
    vesko::ChangeOutputFolder("/srv/other");
    QCOMPARE(Shown(ws.window, c.id.destination), destination.arg("/srv/other"));
    QCOMPARE(Enter(ws.window, {c.refused[0]}), QString());
    ws.window->close();
    QVERIFY(ws.window->isVisible());
    QCOMPARE(Enter(ws.window, {box + '=' + before}), QString());
    QTest::keyClick(ws.window, Qt::Key_Escape);
    QCOMPARE(ws.dialogs.questions, QStringList{"Discard the typed values?"});
    QTRY_VERIFY(!ws.window);  // and it is deleted
  }

  // A folder Tcl would read as a pipe: both buttons refuse it before any question. In a usable folder,
  // File Create asks about axes beyond their limits, and No (the default) writes nothing.
  void fileCreateChecksFolderThenAxes() {
    Workspace ws;
    QVERIFY(WriteBytes(ws.settings.filePath("Axes.toml"), kAxesBelowEveryMove));
    vesko::SetOutputFolder("|cat");
    QVERIFY(ws.show(new vesko::SlitScanWindow(ws.settingsFolder(), ws.dialogs)));
    QCOMPARE(Enter(ws.window, kWindows[0].input + QStringList{"cmd4DPreview", "cmd4DFileCreate"}), QString());
    const QString refusal = QString::fromStdString(vesko::CheckOutputFolderForScript("|cat").value_or(""));
    QCOMPARE(ws.dialogs.messages + ws.dialogs.questions, QStringList(2, refusal));
    vesko::SetOutputFolder(ws.output.path().toStdString());
    QVERIFY(Click(ws.window, "cmd4DFileCreate"));
    QCOMPARE(ws.dialogs.questions.size() + ws.dialogs.messages.size(), 3);
    QCOMPARE(Shown(ws.window, "lbl4DStatus") + FileNames(ws.output.path()).join(""), QString());
  }

  // Which "File Create" shows and what the repeat controls allow follow the two angle boxes; a grey box
  // (2 in the file) goes on to ticked when clicked, and after that only ticks and unticks.
  void omegaRuleFollowsTheBoxes() {
    Workspace ws;
    QVERIFY(WriteBytes(ws.settings.filePath("GonioYScan.ini"),
                       Lines("0 0.000 1.000 3 GonioYScan.tcl 2 4.000 0 -4.000")));
    QVERIFY(ws.show(new vesko::GonioYScanWindow(ws.settingsFolder(), ws.dialogs)));
    QStringList seen = {OmegaRuleShown(ws.window)};
    for (const char* box : {"chkGonioYUseOmega_0", "chkGonioYUseOmega_0", "chkGonioYRepeatActive",
                            "chkGonioYUseOmega_1", "chkGonioYUseOmega_0"}) {
      QVERIFY(Click(ws.window, QLatin1String(box)));
      seen << OmegaRuleShown(ws.window);
    }
    QCOMPARE(seen, (QStringList{"B 0/4, [-] ω1, [ ] ω2, [ ] Active", "B 0/4, [x] ω1, [ ] ω2, [ ] Active",
                                "A 4/4, [ ] ω1, [ ] ω2, [ ] Active", "A 4/4, [ ] ω1, [ ] ω2, [x] Active",
                                "B 0/4, [ ] ω1, [x] ω2, [ ] Active", "B 0/4, [x] ω1, [x] ω2, [ ] Active"}));
  }

  void descriptionsAgreeWithTheWindows() {
    ExpectAgreement<vesko::SlitScanForm, vesko::SlitScanWindow>();
    ExpectAgreement<vesko::SlitDecScanForm, vesko::SlitDecScanWindow>();
    ExpectAgreement<vesko::SlitMoveForm, vesko::SlitMoveWindow>();
    ExpectAgreement<vesko::CollScanForm, vesko::CollScanWindow>();
    ExpectAgreement<vesko::LensScanForm, vesko::LensScanWindow>();
    ExpectAgreement<vesko::GonioStageScan2Form, vesko::GonioStageScanWindow>();
    // gonio_y is the window's only axis: its option is shown and never read.
    ExpectAgreement<vesko::GonioYScanForm, vesko::GonioYScanWindow>({"optGonioYAxis_0"});
  }
};

VESKO_WINDOW_SUITE(ScanWindowsTest, "scan_windows_test")

#include "scan_windows_test.moc"
