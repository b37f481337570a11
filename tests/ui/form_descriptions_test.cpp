#include <QAbstractButton>
#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QSet>
#include <QTest>
#include <algorithm>

#include "generators/form_fields.h"
#include "tests/ui/ui_test_support.h"
#include "ui/gonio_y_scan_window.h"
#include "ui/scan_windows.h"

using namespace vesko::test;

namespace {

// Every field of the description has its control in the window `W` with the kind it names, and loading a
// settings file whose lines differ shows each stored line in its field's control: a choice its second
// option, a box ticked, a text the one naming its panel and line. Every input control of the window is a
// field (or one of `others`).
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

class FormDescriptionsTest : public QObject {
  Q_OBJECT

 private slots:
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

VESKO_WINDOW_SUITE(FormDescriptionsTest, "form_descriptions_test")

#include "form_descriptions_test.moc"
