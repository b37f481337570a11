#include "ui/main_menu_window.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDialog>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>
#include <string>
#include <string_view>
#include <utility>

#include "app/app_settings.h"
#include "ui/about.h"
#include "ui/all_in_one_window.h"
#include "ui/analysis_window.h"
#include "ui/axes_window.h"
#include "ui/dialogs.h"
#include "ui/fonts.h"
#include "ui/gonio_y_scan_window.h"
#include "ui/output_folder.h"
#include "ui/results_window.h"
#include "ui/scan_windows.h"
#include "ui/window_places.h"

namespace vesko {

namespace {

// Makes a generator window, modal and unloaded on close (it deletes itself when exec returns).
template <typename Window>
QDialog* Open(const std::string& settingsFolder, Dialogs& dialogs, QWidget* parent) {
  return new Window(settingsFolder, dialogs, parent);
}

QDialog* OpenAnalysis(const std::string&, Dialogs& dialogs, QWidget* parent) {
  return new AnalysisWindow(dialogs, parent);
}

QDialog* OpenResults(const std::string&, Dialogs& dialogs, QWidget* parent) {
  return new ResultsWindow(dialogs, parent);
}

// One main-menu button that opens a window: its object name, caption and the window it makes.
struct MainMenuEntry {
  std::string_view buttonName;
  std::string_view caption;
  QDialog* (*open)(const std::string& settingsFolder, Dialogs& dialogs, QWidget* parent);
};

// The window buttons, top to bottom ("Select Output Folder" and "End" act themselves).
constexpr MainMenuEntry kMainMenuEntries[] = {
    {"cmd4DSlitScan", "4DSlitScan(1Dimension)", &Open<SlitScanWindow>},
    {"cmd4DSlitDecScan", "4DSlitScan(Decrease Width)", &Open<SlitDecScanWindow>},
    {"cmdCollScan", "Coll 1DScan", &Open<CollScanWindow>},
    {"cmdGonioScan", "GonioStage1DScan", &Open<GonioStageScanWindow>},
    {"cmdGonioYScan", "GonioYScan", &Open<GonioYScanWindow>},
    {"cmd4DSlitMove", "4DSlitMove", &Open<SlitMoveWindow>},
    {"cmdLensScan", "Be Lens Scan", &Open<LensScanWindow>},
    {"cmdAnalysDecScan", "4Dスキャン解析", &OpenAnalysis},
    {"cmdResults", "Results", &OpenResults},
};

const QColor kPanelGreen(192, 255, 192);
const QColor kButtonBlue(192, 192, 255);
constexpr double kButtonPointSize = 12.0;
constexpr double kFolderPointSize = 9.75;

QString ToQt(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

void Paint(QWidget* widget, QPalette::ColorRole role, const QColor& color) {
  QPalette palette = widget->palette();
  palette.setColor(role, color);
  widget->setPalette(palette);
}

QPushButton* BlueButton(const QString& objectName, const QString& caption, QWidget* parent) {
  auto* button = new QPushButton(caption, parent);
  button->setObjectName(objectName);
  button->setFont(GothicFont(kButtonPointSize));
  Paint(button, QPalette::Button, kButtonBlue);
  return button;
}

// The small picture in the corner of the green panel: a stylised slit, two blade pairs round an opening.
QPixmap SlitBitmap() {
  QPixmap pixmap(16, 16);
  pixmap.fill(kPanelGreen);
  QPainter painter(&pixmap);
  painter.fillRect(1, 1, 14, 5, QColor(64, 64, 160));
  painter.fillRect(1, 10, 14, 5, QColor(64, 64, 160));
  painter.fillRect(1, 7, 4, 2, QColor(64, 64, 160));
  painter.fillRect(11, 7, 4, 2, QColor(64, 64, 160));
  painter.fillRect(6, 7, 4, 2, QColor(255, 224, 64));
  return pixmap;
}

}  // namespace

MainMenuWindow::MainMenuWindow(std::string settingsFolder, Dialogs& dialogs, QWidget* parent)
    : QWidget(parent), settingsFolder_(std::move(settingsFolder)), dialogs_(dialogs) {
  setObjectName(QStringLiteral("frmMainMenu"));
  setWindowTitle(QString::fromUtf8(kAppTitle));

  auto* picture = new QFrame(this);
  picture->setObjectName(QStringLiteral("Picture1"));
  picture->setAutoFillBackground(true);
  Paint(picture, QPalette::Window, kPanelGreen);
  auto* pictureLayout = new QVBoxLayout(picture);
  pictureLayout->setSpacing(4);

  // The seven scan buttons sit in the green panel; the analysis and results buttons sit below with the
  // default look.
  QPushButton* analysisButton = nullptr;
  QPushButton* resultsButton = nullptr;
  for (const MainMenuEntry& entry : kMainMenuEntries) {
    QPushButton* button = nullptr;
    if (entry.buttonName == "cmdAnalysDecScan" || entry.buttonName == "cmdResults") {
      button = new QPushButton(ToQt(entry.caption), this);
      (entry.buttonName == "cmdResults" ? resultsButton : analysisButton) = button;
      button->setObjectName(ToQt(entry.buttonName));
    } else {
      button = BlueButton(ToQt(entry.buttonName), ToQt(entry.caption), picture);
      pictureLayout->addWidget(button);
    }
    connect(button, &QPushButton::clicked, this,
            [this, &entry] { entry.open(settingsFolder_, dialogs_, this)->exec(); });
  }
  auto* bitmap = new QLabel(picture);
  bitmap->setObjectName(QStringLiteral("Picture1Bitmap"));
  bitmap->setPixmap(SlitBitmap());
  pictureLayout->addWidget(bitmap, 0, Qt::AlignLeft);

  auto* folderButton =
      BlueButton(QStringLiteral("cmdGlobalSetting"), QStringLiteral("Select Output Folder"), this);
  connect(folderButton, &QPushButton::clicked, this, &MainMenuWindow::selectOutputFolder);
  auto* axesButton = BlueButton(QStringLiteral("cmdAxes"), QStringLiteral("Axes"), this);
  connect(axesButton, &QPushButton::clicked, this,
          [this] { (new AxesWindow(settingsFolder_, dialogs_, this))->exec(); });
  auto* folderRow = new QHBoxLayout;
  folderRow->addWidget(folderButton, 1);
  folderRow->addWidget(axesButton);
  auto* versionLabel = new QLabel(QStringLiteral("WithTimer Ver."), this);
  versionLabel->setObjectName(QStringLiteral("Label1"));

  // The program writes the folder here; the operator's typing has no effect, so the box is read-only.
  txtOutputFolder_ = new QLineEdit(this);
  txtOutputFolder_->setObjectName(QStringLiteral("txtOutputFolder"));
  txtOutputFolder_->setReadOnly(true);
  txtOutputFolder_->setFont(GothicFont(kFolderPointSize));

  auto* endButton = new QPushButton(QStringLiteral("End"), this);
  endButton->setObjectName(QStringLiteral("cmdEnd"));
  endButton->setFont(GothicFont(kButtonPointSize));
  connect(endButton, &QPushButton::clicked, this, &QWidget::close);

  auto* lower = new QGridLayout;
  lower->addLayout(folderRow, 0, 0);
  lower->addWidget(versionLabel, 0, 1);
  lower->addWidget(txtOutputFolder_, 1, 0, 1, 2);
  lower->addWidget(analysisButton, 2, 0, Qt::AlignLeft);
  lower->addWidget(endButton, 2, 1);
  lower->addWidget(resultsButton, 3, 0, Qt::AlignLeft);
  lower->setColumnStretch(0, 3);
  lower->setColumnStretch(1, 2);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 4);
  layout->addWidget(picture);
  auto* lowerHost = new QVBoxLayout;
  lowerHost->setContentsMargins(4, 0, 4, 0);
  lowerHost->addLayout(lower);
  layout->addLayout(lowerHost);
  // Keyboard order: the green panel's buttons, then the rows below, each from left to right.
  const QList<QPushButton*> panelButtons =
      picture->findChildren<QPushButton*>(QString(), Qt::FindDirectChildrenOnly);
  QWidget* previous = nullptr;
  for (QWidget* next : QList<QWidget*>(panelButtons.begin(), panelButtons.end()) +
                           QList<QWidget*>{folderButton, axesButton, txtOutputFolder_, analysisButton,
                                           endButton, resultsButton}) {
    if (previous) {
      setTabOrder(previous, next);
    }
    previous = next;
  }
  firstButton_ = panelButtons.front();

  // The fixed menu has no room for another button: the About box is on the right-click menu and F1.
  AddAboutAction(this, dialogs_);

  // Start-up: the stored folder, or the fallback folder when the file cannot be read; in that case the
  // combined window stays closed for this run.
  const StartUpResult startUp = StartUp(settingsFolder_);
  txtOutputFolder_->setText(QString::fromStdString(startUp.outputFolder));
  // The box shows the one application folder, whichever window chose it.
  connect(&OutputFolderChanges(), &OutputFolderNews::changed, txtOutputFolder_, &QLineEdit::setText);
  if (startUp.settingsRead) {
    allInOne_ = std::make_unique<AllInOneWindow>(settingsFolder_, dialogs_, this);
    // Closing the combined window takes the main menu's own way out, exactly as "End" does.
    connect(allInOne_.get(), &AllInOneWindow::closed, this, &QWidget::close);
  }
}

MainMenuWindow::~MainMenuWindow() = default;

void MainMenuWindow::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (!focusWidget()) {
    // The first button takes the keyboard at once, with its focus frame showing.
    setAttribute(Qt::WA_KeyboardFocusChange);
    firstButton_->setFocus(Qt::TabFocusReason);
  }
  if (allInOne_ && !allInOneOpened_) {
    allInOneOpened_ = true;
    MoveFrameTo(allInOne_.get(), FrameOf(this).topRight() + QPoint(9, 0));
    allInOne_->show();
  }
}

void MainMenuWindow::selectOutputFolder() {
  const QString folder = dialogs_.chooseFolder(this);
  if (folder.isEmpty()) {
    return;
  }
  ChangeOutputFolder(folder.toStdString());
}

void MainMenuWindow::closeEvent(QCloseEvent* event) {
  if (!shutDown_) {
    shutDown_ = true;
    if (const std::optional<IoError> error = ShutDown(settingsFolder_)) {
      dialogs_.showMessage(this, QString::fromStdString(error->Message()));
    }
  }
  event->accept();
  // The program ends with the main menu, whatever else is open.
  if (allInOne_) {
    allInOne_->hide();
  }
  QCoreApplication::quit();
}

}  // namespace vesko
