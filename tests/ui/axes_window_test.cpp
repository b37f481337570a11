#include <QLineEdit>
#include <QTableWidget>
#include <optional>

#include "tests/ui/ui_test_support.h"
#include "ui/axes_window.h"

using namespace vesko::test;

// The "Axes" window: the axis table in a grid, its row checks and its safe save.
class AxesWindowTest : public QObject {
  Q_OBJECT

  bool open(const std::string& settingsFolder) {
    return ws_->show(new vesko::AxesWindow(settingsFolder, ws_->dialogs));
  }
  QTableWidget* grid() const { return ws_->window->findChild<QTableWidget*>("grdAxes"); }
  QString axesFile() const { return ws_->settings.filePath("Axes.toml"); }

  std::optional<Workspace> ws_;

 private slots:
  void init() { ws_.emplace(); }

  // Cells "row,column=text" (column 1 lower … 4 settle) or boxes "name=text", the message, and the cell or
  // box then selected; nothing is written.
  void rowChecksSelectTheOffendingCell() {
    const struct {
      QStringList cells;
      QString message, selected;
    } rows[] = {
        {{"0,1=abc"}, "slit_y1 lower: \"abc\" is not a number.", "0,1"},
        {{"13,3=0", "12,4=-1"}, "gonio_y: settle must not be negative.", "12,4"},  // the first fault wins
        // Blanks around a figure, a plus sign and a fraction of a second are fine.
        {{"0,1= -1 ", "0,2=+1", "txtAxesOverhead=0.5", "txtAxesShutter=-0.5"},
         "Counting shutter must not be negative.",
         "txtAxesShutter"}};
    for (const auto& row : rows) {
      ws_.emplace();
      QVERIFY(open(ws_->settingsFolder()));
      for (const QString& cell : row.cells) {
        const QString where = cell.section('=', 0, 0);
        if (where.contains(',')) {
          grid()
              ->item(where.section(',', 0, 0).toInt(), where.section(',', 1).toInt())
              ->setText(cell.section('=', 1));
        } else {
          QCOMPARE(Enter(ws_->window, {cell}), QString());
        }
      }
      QVERIFY(Click(ws_->window, "cmdAxesSave"));
      QCOMPARE(ws_->dialogs.messages, QStringList{row.message});
      auto* box = ws_->window->findChild<QLineEdit*>(row.selected);
      QCOMPARE(box ? box->selectedText()
                   : QStringLiteral("%1,%2").arg(grid()->currentRow()).arg(grid()->currentColumn()),
               box ? row.cells.last().section('=', 1) : row.selected);
      QCOMPARE(FileNames(ws_->settings.path()), QStringList());
    }
  }

  // A hand-written table with a comment: the window shows its figures; saving asks first (No keeps the file),
  // then replaces it with the table shown, numbers as typed.
  void saveAsksBeforeDroppingCommentsAndReplacesSafely() {
    const QByteArray handWritten =
        "# by hand\n[axis.slit_y1]\nlower = -5\nupper = 5.0\n[counting]\nshutter = 1\n";
    QVERIFY(WriteBytes(axesFile(), handWritten));
    QVERIFY(open(ws_->settingsFolder()));
    QCOMPARE(grid()->item(0, 0)->text() + ' ' + grid()->item(0, 1)->text() + ' ' + grid()->item(0, 2)->text(),
             QStringLiteral("slit_y1 -5.0 5.0"));
    QCOMPARE(Shown(ws_->window, "txtAxesShutter"), QStringLiteral("1.0"));
    grid()->item(13, 3)->setText("2.5");
    QVERIFY(Click(ws_->window, "cmdAxesSave"));
    QCOMPARE(ws_->dialogs.questions.size(), 1);
    QVERIFY(ws_->dialogs.questions[0].contains("drops them. Save anyway?"));
    QCOMPARE(ReadBytes(axesFile()), handWritten);

    ws_->dialogs.yesNoAnswers = {true};
    QVERIFY(Click(ws_->window, "cmdAxesSave"));
    QCOMPARE(ReadBytes(axesFile()),
             CrLfLines({"[axis.slit_y1]", "lower = -5.0", "upper = 5.0", "", "[axis.omega]", "speed = 2.5",
                        "", "[counting]", "shutter = 1.0"}));
    QCOMPARE(Shown(ws_->window, "lblAxesStatus"), QStringLiteral("Saved"));
    QCOMPARE(FileNames(ws_->settings.path()), QStringList{"Axes.toml"});  // no temporary file left
    // What the window wrote itself holds nothing more: the next save asks nothing. A folder that cannot take
    // the file is reported.
    QVERIFY(Click(ws_->window, "cmdAxesSave"));
    QCOMPARE(ws_->dialogs.questions.size(), 2);
    QVERIFY(open(ws_->settings.filePath("missing").toStdString()));
    QVERIFY(Click(ws_->window, "cmdAxesSave"));
    QCOMPARE(ws_->dialogs.messages.size(), 1);
    QVERIFY(ws_->dialogs.messages[0].startsWith("Cannot write "));
  }
};

VESKO_WINDOW_SUITE(AxesWindowTest, "axes_window_test")

#include "axes_window_test.moc"
