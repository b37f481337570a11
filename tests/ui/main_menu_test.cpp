#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <memory>

#include "app/app_settings.h"
#include "app/main_menu_table.h"
#include "tests/ui/ui_test_support.h"
#include "ui/main_menu_window.h"

using namespace vesko::test;

class MainMenuTest : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();
  void showsEveryControl();
  void startUpShowsStoredFolder_data();
  void startUpShowsStoredFolder();
  void chosenFolderReplacesOutputFolder();
  void closingStoresFolder_data();
  void closingStoresFolder();
  void unwritableSettingsAreReportedOnClose();
  void slitScanButtonOpensModalWindowAfresh();
  void scanButtonsOpenTheirWindows();

 private:
  void openMenu(const QString& settingsFolder = QString());
  QPushButton* button(const char* name) const {
    return menu_->findChild<QPushButton*>(QString::fromLatin1(name));
  }
  QLineEdit* folderBox() const { return menu_->findChild<QLineEdit*>(QStringLiteral("txtOutputFolder")); }
  QString iniPath() const { return settingsDir_->filePath(QStringLiteral("VeskoScriptCreator.ini")); }
  QString divisionShownByScanWindow();

  std::unique_ptr<QTemporaryDir> settingsDir_;
  RecordingDialogs dialogs_;
  std::unique_ptr<vesko::MainMenuWindow> menu_;
};

void MainMenuTest::init() {
  settingsDir_ = std::make_unique<QTemporaryDir>();
  QVERIFY(settingsDir_->isValid());
  dialogs_ = RecordingDialogs();
  vesko::ResetOutputFolder();
}

void MainMenuTest::cleanup() {
  menu_.reset();
  vesko::ResetOutputFolder();
}

void MainMenuTest::openMenu(const QString& settingsFolder) {
  const QString folder = settingsFolder.isEmpty() ? settingsDir_->path() : settingsFolder;
  menu_ = std::make_unique<vesko::MainMenuWindow>(folder.toStdString(), dialogs_);
  menu_->show();
  QVERIFY(QTest::qWaitForWindowExposed(menu_.get()));
}

void MainMenuTest::showsEveryControl() {
  openMenu();
  QCOMPARE(menu_->objectName(), QStringLiteral("frmMainMenu"));
  QCOMPARE(menu_->windowTitle(), QStringLiteral("VeskoScriptCreator"));
  QWidget* picture = menu_->findChild<QWidget*>(QStringLiteral("Picture1"));
  QVERIFY(picture && picture->autoFillBackground());
  QCOMPARE(picture->palette().color(QPalette::Window), QColor(192, 255, 192));

  // Name, caption, inside the green panel, enabled (only windows that exist can be opened).
  const struct {
    const char* name;
    const char* caption;
    bool inPicture, enabled;
  } rows[] = {{"cmd4DSlitScan", "4DSlitScan(1Dimension)", true, true},
              {"cmd4DSlitDecScan", "4DSlitScan(Decrease Width)", true, true},
              {"cmdCollScan", "Coll 1DScan", true, true},
              {"cmdGonioScan", "GonioStage1DScan", true, true},
              {"cmdGonioYScan", "GonioYScan", true, true},
              {"cmd4DSlitMove", "4DSlitMove", true, true},
              {"cmdLensScan", "Be Lens Scan", true, true},
              {"cmdGlobalSetting", "Select Output Folder", false, true},
              {"cmdAnalysDecScan", "4Dスキャン解析", false, true},
              {"cmdEnd", "End", false, true}};
  for (const auto& row : rows) {
    QPushButton* b = button(row.name);
    QVERIFY2(b && b->isVisible(), row.name);
    QCOMPARE(b->text(), QString::fromUtf8(row.caption));
    QCOMPARE(b->parentWidget() == picture, row.inPicture);
    QCOMPARE(b->isEnabled(), row.enabled);
    if (const vesko::MainMenuEntry* entry = vesko::FindMainMenuEntry(row.name)) {
      QCOMPARE(entry->windowBuilt, row.enabled);
    }
    const bool blue = row.inPicture || qstrcmp(row.name, "cmdGlobalSetting") == 0;
    QCOMPARE(b->palette().color(QPalette::Button) == QColor(192, 192, 255), blue);
    QCOMPARE(b->font().pointSizeF() == 12.0, blue || qstrcmp(row.name, "cmdEnd") == 0);
  }
  auto* label = menu_->findChild<QLabel*>(QStringLiteral("Label1"));
  QVERIFY(label);
  QCOMPARE(label->text(), QStringLiteral("WithTimer Ver."));
  QCOMPARE(folderBox()->font().pointSizeF(), 9.75);
  QCOMPARE(picture->findChild<QLabel*>()->pixmap().size(), QSize(16, 16));
}

void MainMenuTest::startUpShowsStoredFolder_data() {
  QTest::addColumn<QByteArray>("content");  // empty: no settings file at all
  QTest::addColumn<QString>("folder");
  QTest::newRow("first run") << QByteArray() << QString::fromStdString(vesko::FallbackOutputFolder());
  QTest::newRow("stored folder") << QByteArray("D:\\data\\may\r\n") << "D:\\data\\may";
  QTest::newRow("comma ends the field") << QByteArray("D:\\scan,old\r\n") << "D:\\scan";
  QTest::newRow("empty first line") << QByteArray("\r\n") << QString();
}

void MainMenuTest::startUpShowsStoredFolder() {
  QFETCH(QByteArray, content);
  QFETCH(QString, folder);
  QVERIFY(content.isEmpty() || WriteBytes(iniPath(), content));
  openMenu();
  QCOMPARE(folderBox()->text(), folder);
  QCOMPARE(QString::fromStdString(vesko::OutputFolder()), folder);
  QVERIFY(dialogs_.messages.isEmpty());
}

void MainMenuTest::chosenFolderReplacesOutputFolder() {
  QVERIFY(WriteBytes(iniPath(), "D:\\data\r\n"));
  openMenu();
  // Only the program writes the folder box; typing into it changes nothing.
  QTest::keyClicks(folderBox(), "E:\\other");
  QCOMPARE(folderBox()->text(), QStringLiteral("D:\\data"));

  dialogs_.folderAnswers = QStringList{"/srv/scans/may"};  // then a cancelled chooser
  QTest::mouseClick(button("cmdGlobalSetting"), Qt::LeftButton);
  QCOMPARE(dialogs_.folderOwners, QList<QWidget*>{menu_.get()});
  QCOMPARE(vesko::OutputFolder(), std::string("/srv/scans/may"));
  QCOMPARE(folderBox()->text(), QStringLiteral("/srv/scans/may"));

  QTest::mouseClick(button("cmdGlobalSetting"), Qt::LeftButton);
  QCOMPARE(dialogs_.folderOwners.size(), 2);
  QCOMPARE(vesko::OutputFolder(), std::string("/srv/scans/may"));
  QCOMPARE(folderBox()->text(), QStringLiteral("/srv/scans/may"));
  QCOMPARE(ReadBytes(iniPath()), QByteArray("D:\\data\r\n"));  // stored only at shutdown
}

void MainMenuTest::closingStoresFolder_data() {
  QTest::addColumn<bool>("byEndButton");
  QTest::newRow("End") << true;
  QTest::newRow("title bar") << false;
}

void MainMenuTest::closingStoresFolder() {
  QFETCH(bool, byEndButton);
  openMenu();
  dialogs_.folderAnswers = QStringList{"/srv/scans,old"};
  QTest::mouseClick(button("cmdGlobalSetting"), Qt::LeftButton);
  if (byEndButton) {
    QTest::mouseClick(button("cmdEnd"), Qt::LeftButton);
  } else {
    menu_->close();
  }
  QVERIFY(!menu_->isVisible());
  QCOMPARE(ReadBytes(iniPath()), QByteArray("\"/srv/scans,old\"\r\n"));
  QVERIFY(dialogs_.messages.isEmpty());
}

void MainMenuTest::unwritableSettingsAreReportedOnClose() {
  const QString missing = settingsDir_->filePath(QStringLiteral("missing"));
  openMenu(missing);
  QTest::mouseClick(button("cmdEnd"), Qt::LeftButton);
  QCOMPARE(dialogs_.messages.size(), 1);
  QVERIFY2(dialogs_.messages[0].startsWith(QStringLiteral("Cannot write ")) &&
               dialogs_.messages[0].contains(QStringLiteral("VeskoScriptCreator.ini")),
           qPrintable(dialogs_.messages[0]));
  QVERIFY(!menu_->isVisible());
  QVERIFY(!QFile::exists(missing));
}

QString MainMenuTest::divisionShownByScanWindow() {
  QString division = QStringLiteral("<no window>");
  // The modal window runs its own event loop: look at it from inside that loop, then close it.
  QTimer visit;
  visit.setSingleShot(true);
  connect(&visit, &QTimer::timeout, this, [&division] {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal && modal->objectName() == QStringLiteral("frm4DSlitScan") &&
        modal->windowTitle() == QStringLiteral("4DSlit Scan Setting")) {
      division = modal->findChild<QLineEdit*>(QStringLiteral("txt4DScanDivision"))->text();
    }
    if (modal) {
      modal->close();
    }
  });
  visit.start(0);
  QTest::mouseClick(button("cmd4DSlitScan"), Qt::LeftButton);
  return division;
}

void MainMenuTest::slitScanButtonOpensModalWindowAfresh() {
  const QString scanSettings = settingsDir_->filePath(QStringLiteral("4DSlitScan.ini"));
  QVERIFY(WriteBytes(scanSettings, CrLfLines({"1", "0.100", "0.000", "1.000", "5", "4DSlit1DScan.tcl"})));
  openMenu();
  QCOMPARE(divisionShownByScanWindow(), QStringLiteral("5"));
  QVERIFY(!menu_->findChild<QWidget*>(QStringLiteral("frm4DSlitScan")));

  // The closed window was unloaded, so the next opening reads the file again.
  QVERIFY(WriteBytes(scanSettings, CrLfLines({"1", "0.100", "0.000", "1.000", "9", "4DSlit1DScan.tcl"})));
  QCOMPARE(divisionShownByScanWindow(), QStringLiteral("9"));
  QVERIFY(menu_->isVisible());
  QVERIFY(dialogs_.messages.isEmpty());
}

void MainMenuTest::scanButtonsOpenTheirWindows() {
  openMenu();
  const char* const rows[][2] = {{"cmd4DSlitDecScan", "frm4DSlitDecScan|4DSlit Decrease Scan Setting"},
                                 {"cmd4DSlitMove", "frm4DSlitMove|4D Slit Move"},
                                 {"cmdCollScan", "frmCollScan|Collimator 1D Scan Setting"},
                                 {"cmdLensScan", "frmLensScan|Form1"},
                                 {"cmdGonioScan", "frmGonioStageScan2|GonioStage 1D Scan Setting"},
                                 {"cmdGonioYScan", "frmGonioYScan|GonioYScan"},
                                 {"cmdAnalysDecScan", "frmGraph|4Dスキャン解析"}};
  for (const auto& row : rows) {
    QString seen = QStringLiteral("<no window>");
    QTimer visit;
    visit.setSingleShot(true);
    connect(&visit, &QTimer::timeout, this, [&seen] {
      if (QWidget* modal = QApplication::activeModalWidget()) {
        seen = modal->objectName() + QLatin1Char('|') + modal->windowTitle();
        modal->close();
      }
    });
    visit.start(0);
    QTest::mouseClick(button(row[0]), Qt::LeftButton);
    QCOMPARE(seen, QString::fromUtf8(row[1]));
  }
  QVERIFY(dialogs_.messages.isEmpty());
}

QTEST_MAIN(MainMenuTest)
#include "main_menu_test.moc"
