#include <QAbstractButton>
#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QSet>
#include <QTest>
#include <algorithm>
#include <memory>
#include <set>
#include <string>

#include "generators/form_fields.h"
#include "tests/ui/ui_test_support.h"
#include "ui/gonio_y_scan_window.h"
#include "ui/scan_windows.h"

using namespace vesko::test;

namespace {

// What a stored line holds in the test's files: a choice's second option, a ticked box, or a text that
// names the panel and the line.
QByteArray StoredLine(vesko::StoredAs storedAs, int panel, int line) {
  if (storedAs == vesko::StoredAs::Index || storedAs == vesko::StoredAs::Box) {
    return "1";
  }
  return QStringLiteral("p%1l%2").arg(panel).arg(line).toUtf8();
}

// Every field of the description has its control in the window `W` with the kind it names; loading a
// settings file whose lines differ shows each stored line in its field's control; the command line offers
// as many choices as there are options; and every input control of the window is a field (or `others`).
template <typename Form, typename W>
void ExpectAgreement(const QStringList& others = {}) {
  const vesko::FormDescription<Form>& d = vesko::DescriptionOf<Form>();
  Workspace ws;
  int lastLine = 0;
  for (const vesko::FormField<Form>& f : d.fields) {
    lastLine = std::max(lastLine, f.settingsLine);
  }
  for (int panel = 0; panel < static_cast<int>(d.settingsFiles.size()); ++panel) {
    QByteArrayList lines(lastLine + 1, "0");
    for (const vesko::FormField<Form>& f : d.fields) {
      if (f.settingsLine >= 0) {
        lines[f.settingsLine] = StoredLine(f.storedAs, panel, f.settingsLine);
      }
    }
    QVERIFY(
        WriteBytes(ws.settings.filePath(QString::fromStdString(d.settingsFiles[panel])), CrLfLines(lines)));
  }
  QVERIFY(ws.show(new W(ws.settingsFolder(), ws.dialogs)));

  QSet<QString> fieldControls;
  std::set<std::string> options;
  for (int panel = d.twoPanels ? 0 : -1; panel < (d.twoPanels ? 2 : 0); ++panel) {
    for (const vesko::FormField<Form>& f : d.fields) {
      const QString name =
          QString::fromStdString(f.control) + (panel < 0 ? "" : QStringLiteral("_%1").arg(panel));
      const bool stored = f.settingsLine >= 0;
      if (f.kind == vesko::FieldKind::Choice) {
        QCOMPARE(static_cast<int>(f.option.choices.size()), f.choiceCount);
        QVERIFY2(!Find(ws.window, At(name.toLatin1().constData(), f.choiceCount)), qPrintable(name));
        for (int k = 0; k < f.choiceCount; ++k) {
          const QString option = At(name.toLatin1().constData(), k);
          auto* button = qobject_cast<QRadioButton*>(Find(ws.window, option));
          QVERIFY2(button, qPrintable(option));
          QCOMPARE(button->isChecked(), stored && k == 1);
          fieldControls << option;
        }
      } else if (f.kind == vesko::FieldKind::Text) {
        auto* box = qobject_cast<QLineEdit*>(Find(ws.window, name));
        QVERIFY2(box, qPrintable(name));
        if (stored) {
          QCOMPARE(box->text(),
                   QString::fromUtf8(StoredLine(f.storedAs, std::max(panel, 0), f.settingsLine)));
        }
        fieldControls << name;
      } else {
        auto* box = qobject_cast<QCheckBox*>(Find(ws.window, name));
        QVERIFY2(box, qPrintable(name));
        QVERIFY2(!stored || box->isChecked(), qPrintable(name));
        QVERIFY(f.option.name.empty() || f.option.choices == std::vector<std::string>({"0", "1"}));
        fieldControls << name;
      }
      QVERIFY2(f.option.name.empty() || options.insert(f.option.name).second || panel == 1,
               f.option.name.c_str());
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
