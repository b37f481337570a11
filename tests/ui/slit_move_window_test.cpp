#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "app/app_settings.h"
#include "tests/ui/ui_test_support.h"
#include "ui/slit_move_window.h"

using namespace vesko::test;

namespace {

// Records each message together with what the window's status label showed while it was up.
class StatusSeeingDialogs final : public vesko::Dialogs {
 public:
  void showMessage(QWidget* parent, const QString& text) override {
    messages.append(text);
    const auto* status = parent->window()->findChild<QLabel*>(QStringLiteral("lblStatus"));
    statusWhileShown.append(status ? status->text() : QStringLiteral("<no lblStatus>"));
  }
  QString chooseFolder(QWidget*) override { return QString(); }

  QStringList messages;
  QStringList statusWhileShown;
};

const QByteArray kWorkedExampleSettings = "0.200\r\n0.400\r\n0.000\r\n0.100\r\n4DSlitMove.com\r\n";

}  // namespace

class SlitMoveWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();
  void opensWithDesignTexts();
  void loadsSettingsFile();
  void fileCreateWritesMovesAndReports();
  void refusedInputKeepsStatusAndFiles();
  void unwritableOutputFolderGivesNoReport();

 private:
  void openWindow();
  QString text(const char* name) const {
    return window_->findChild<QWidget*>(QString::fromLatin1(name))->property("text").toString();
  }
  void type(const char* box, const QString& text);
  void fillWorkedExample();
  void pressFileCreate() {
    QTest::mouseClick(window_->findChild<QPushButton*>(QStringLiteral("cmdFileCreate")), Qt::LeftButton);
  }
  QString commandFile() const { return outputDir_->filePath(QStringLiteral("4DSlitMove.com")); }
  QString settingsFile() const { return settingsDir_->filePath(QStringLiteral("4DSlitMove.ini")); }

  std::unique_ptr<QTemporaryDir> settingsDir_;
  std::unique_ptr<QTemporaryDir> outputDir_;
  StatusSeeingDialogs dialogs_;
  QPointer<vesko::SlitMoveWindow> window_;
};

void SlitMoveWindowTest::init() {
  settingsDir_ = std::make_unique<QTemporaryDir>();
  outputDir_ = std::make_unique<QTemporaryDir>();
  QVERIFY(settingsDir_->isValid() && outputDir_->isValid());
  dialogs_ = StatusSeeingDialogs();
  vesko::SetOutputFolder(outputDir_->path().toStdString());
}

void SlitMoveWindowTest::cleanup() {
  delete window_.data();
  vesko::ResetOutputFolder();
}

void SlitMoveWindowTest::openWindow() {
  window_ = new vesko::SlitMoveWindow(settingsDir_->path().toStdString(), dialogs_);
  window_->show();
  QVERIFY(QTest::qWaitForWindowExposed(window_));
}

void SlitMoveWindowTest::type(const char* box, const QString& text) {
  auto* edit = window_->findChild<QLineEdit*>(QString::fromLatin1(box));
  edit->clear();
  QTest::keyClicks(edit, text);
}

void SlitMoveWindowTest::fillWorkedExample() {
  type("txtSlitWidth_0", "0.2");
  type("txtSlitWidth_1", "0.4");
  type("txtSlitCenter_0", "0.0");
  type("txtSlitCenter_1", "0.1");
}

void SlitMoveWindowTest::opensWithDesignTexts() {
  openWindow();
  QCOMPARE(window_->objectName(), QStringLiteral("frm4DSlitMove"));
  QCOMPARE(window_->windowTitle(), QStringLiteral("4D Slit Move"));
  QVERIFY(window_->isModal());
  QVERIFY(window_->testAttribute(Qt::WA_DeleteOnClose));
  const char* const texts[][2] = {{"lblSetting_0", "Slit Width"},
                                  {"lblSetting_1", "Slit Center"},
                                  {"lblSetting_2", "Output FileName"},
                                  {"lblSetting_3", "Y"},
                                  {"lblSetting_4", "Z"},
                                  {"txtSlitWidth_0", ""},
                                  {"txtSlitWidth_1", ""},
                                  {"txtSlitCenter_0", ""},
                                  {"txtSlitCenter_1", ""},
                                  {"txtOutputFileName", "4DSlitMove.com"},
                                  {"cmdFileCreate", "File Create"},
                                  {"lblStatus", ""}};
  for (const auto& row : texts) {
    QVERIFY2(window_->findChild<QWidget*>(QString::fromLatin1(row[0])), row[0]);
    QCOMPARE(text(row[0]), QString::fromLatin1(row[1]));
  }
  QVERIFY(window_->findChild<QPushButton*>(QStringLiteral("cmdFileCreate"))->isDefault());
}

void SlitMoveWindowTest::loadsSettingsFile() {
  // The name line is missing: the name box keeps its design text.
  QVERIFY(WriteBytes(settingsFile(), CrLfLines({"0.200", " 0.400 ", "-0.050", "0.100"})));
  openWindow();
  const QStringList shown = {text("txtSlitWidth_0"), text("txtSlitWidth_1"), text("txtSlitCenter_0"),
                             text("txtSlitCenter_1"), text("txtOutputFileName")};
  QCOMPARE(shown, (QStringList{"0.200", "0.400", "-0.050", "0.100", "4DSlitMove.com"}));
  QVERIFY(dialogs_.messages.isEmpty());
}

void SlitMoveWindowTest::fileCreateWritesMovesAndReports() {
  openWindow();
  fillWorkedExample();
  pressFileCreate();

  QCOMPARE(
      ReadBytes(commandFile()),
      CrLfLines({"TclSrv_Optics:4DSlit {slit_y1 move 0.100}", "TclSrv_Optics:4DSlit {slit_y2 move 0.100}",
                 "TclSrv_Optics:4DSlit {slit_z1 move 0.300}", "TclSrv_Optics:4DSlit {slit_z2 move 0.100}"}));
  QCOMPARE(dialogs_.messages,
           QStringList{QStringLiteral(
               "y1=0.100,y2=0.100,z1=0.300,z2=0.100,ファイルネーム=4DSlitMove.comで作成しました。")});
  // The report comes first; the window never shows "Output Start".
  QCOMPARE(dialogs_.statusWhileShown, QStringList{QString()});
  QCOMPARE(text("lblStatus"), QStringLiteral("Done"));
  QCOMPARE(ReadBytes(settingsFile()), kWorkedExampleSettings);
}

void SlitMoveWindowTest::refusedInputKeepsStatusAndFiles() {
  openWindow();
  fillWorkedExample();
  pressFileCreate();
  const QByteArray written = ReadBytes(commandFile());
  dialogs_ = StatusSeeingDialogs();

  const char* const refusals[][2] = {{"txtSlitCenter_1", "abc"}, {"txtOutputFileName", ".com"}};
  for (const auto& refusal : refusals) {
    fillWorkedExample();
    type("txtOutputFileName", "4DSlitMove.com");
    type(refusal[0], QString::fromLatin1(refusal[1]));
    pressFileCreate();
  }
  QCOMPARE(dialogs_.messages, (QStringList{"Setting Error!", "Setting Error!"}));
  QCOMPARE(text("lblStatus"), QStringLiteral("Done"));
  QCOMPARE(ReadBytes(commandFile()), written);
  QCOMPARE(ReadBytes(settingsFile()), kWorkedExampleSettings);
  QCOMPARE(QDir(outputDir_->path()).entryList(QDir::Files), QStringList{"4DSlitMove.com"});
}

void SlitMoveWindowTest::unwritableOutputFolderGivesNoReport() {
  vesko::SetOutputFolder(outputDir_->filePath(QStringLiteral("missing")).toStdString());
  openWindow();
  fillWorkedExample();
  pressFileCreate();

  QCOMPARE(dialogs_.messages.size(), 1);
  QVERIFY2(dialogs_.messages[0].startsWith(QStringLiteral("Cannot write ")),
           qPrintable(dialogs_.messages[0]));
  QCOMPARE(text("lblStatus"), QString());
  QVERIFY(!QFile::exists(settingsFile()));
}

QTEST_MAIN(SlitMoveWindowTest)
#include "slit_move_window_test.moc"
