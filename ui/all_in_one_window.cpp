#include "ui/all_in_one_window.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>
#include <cstdint>
#include <utility>

#include "app/app_settings.h"
#include "core/platform.h"
#include "ui/analysis_panel.h"
#include "ui/axes_window.h"
#include "ui/coll_scan_panel.h"
#include "ui/dialogs.h"
#include "ui/fonts.h"
#include "ui/gonio_stage_scan_panel.h"
#include "ui/gonio_y_scan_panel.h"
#include "ui/lens_scan_panel.h"
#include "ui/output_folder.h"
#include "ui/panel_support.h"
#include "ui/results_panel.h"
#include "ui/slit_dec_scan_panel.h"
#include "ui/slit_scan_panel.h"

namespace vesko {

namespace {

constexpr double kFolderPointSize = 9.75;

// How a tab holds its page: a scan panel keeps the width of its own window; a plot, a list or the folder
// box takes the whole tab.
enum class TabWidth { Natural, Full };

// Hosts `panel` on tab `n` inside its frame fraTab_<n>. The tab caption stands in for the frame captions
// of the two-panel windows.
void AddTab(QTabWidget* tabs, int n, const char* caption, QWidget* panel,
            TabWidth width = TabWidth::Natural) {
  auto* frame = Element(new QWidget, "fraTab", n);
  auto* layout = new QVBoxLayout(frame);
  if (width == TabWidth::Natural) {
    layout->addWidget(panel, 0, Qt::AlignLeft | Qt::AlignTop);
  } else {
    layout->addWidget(panel);
  }
  tabs->addTab(frame, QString::fromUtf8(caption));
}

// Reads one panel's settings file with the combined window's reader: fields that cannot be taken leave
// their controls as they are, and nothing stops the next file from being read.
template <typename Panel>
void LoadPanel(Panel* panel, const std::string& path) {
  auto form = panel->readForm();
  LoadCombinedSettings(path, form);
  panel->showForm(form);
}

}  // namespace

AllInOneWindow::AllInOneWindow(std::string settingsFolder, Dialogs& dialogs, QWidget* folderChooserOwner)
    : settingsFolder_(std::move(settingsFolder)),
      dialogs_(dialogs),
      folderChooserOwner_(folderChooserOwner ? folderChooserOwner : this) {
  setObjectName(QStringLiteral("frmAllInOne"));
  setWindowTitle(QString::fromUtf8(kAppTitle));

  auto* tabs = Named(new QTabWidget(this), "SSTab1");
  gonioStageScan_[0] = new GonioStageScanPanel(0, settingsFolder_, dialogs_);
  AddTab(tabs, 0, "GonioStageY", gonioStageScan_[0]);
  gonioStageScan_[1] = new GonioStageScanPanel(1, settingsFolder_, dialogs_);
  AddTab(tabs, 1, "GonioStageZ", gonioStageScan_[1]);
  gonioYScan_ = new GonioYScanPanel(settingsFolder_, dialogs_);
  AddTab(tabs, 2, "GonioY", gonioYScan_);
  for (std::int16_t n = 0; n < 2; ++n) {
    collScan_[n] = new CollScanPanel(n, settingsFolder_, dialogs_);
    collScan_[n]->setCombinedLayout(true);
    AddTab(tabs, 3 + n, n == 0 ? "ColliY" : "ColliZ", collScan_[n]);
  }
  slitScan_ = new SlitScanPanel(settingsFolder_, dialogs_);
  AddTab(tabs, 5, "4DScan", slitScan_);
  slitDecScan_ = new SlitDecScanPanel(settingsFolder_, dialogs_);
  AddTab(tabs, 6, "4DDec", slitDecScan_);
  lensScan_ = new LensScanPanel(settingsFolder_, dialogs_);
  AddTab(tabs, 7, "Lens", lensScan_);
  AddTab(tabs, 8, "4D解析", new AnalysisPanel(dialogs_, "0"), TabWidth::Full);
  AddTab(tabs, 9, "設定", makeSettingTab(), TabWidth::Full);
  AddTab(tabs, 10, "結果", new ResultsPanel(dialogs_), TabWidth::Full);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(tabs);

  loadSettings();
}

QWidget* AllInOneWindow::makeSettingTab() {
  auto* tab = new QWidget;
  // Shows the one application folder, whichever window chose it; the program writes it.
  txtOutputFolder_ = Named(new QLineEdit(tab), "txtOutputFolder");
  connect(&OutputFolderChanges(), &OutputFolderNews::changed, txtOutputFolder_, &QLineEdit::setText);
  txtOutputFolder_->setReadOnly(true);
  txtOutputFolder_->setFont(GothicFont(kFolderPointSize));
  auto* button = Named(new QPushButton(QStringLiteral("Select Output Folder"), tab), "cmdGlobalSetting");
  button->setFont(GothicFont(kPanelPointSize));
  connect(button, &QPushButton::clicked, this, &AllInOneWindow::selectOutputFolder);
  auto* axesButton = Named(new QPushButton(QStringLiteral("Axes"), tab), "cmdAxes");
  axesButton->setFont(GothicFont(kPanelPointSize));
  connect(axesButton, &QPushButton::clicked, this,
          [this] { (new AxesWindow(settingsFolder_, dialogs_, this))->exec(); });

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(button);
  buttons->addWidget(axesButton);
  buttons->addStretch();
  auto* layout = new QVBoxLayout(tab);
  layout->addLayout(buttons);
  layout->addWidget(txtOutputFolder_);
  layout->addStretch();
  return tab;
}

void AllInOneWindow::loadSettings() {
  // Nine files in a fixed order. Each is read on its own and as far as it goes: a missing file, a short
  // one or an unreadable field leaves its controls as designed, silently, and the next file is still read.
  if (const StartUpResult stored = ReadStoredOutputFolder(settingsFolder_); stored.settingsRead) {
    ChangeOutputFolder(stored.outputFolder);
  }
  const auto path = [this](const char* file) { return JoinPath(settingsFolder_, file); };
  LoadPanel(slitDecScan_, path(kSlitDecScanSettingsFile));
  LoadPanel(slitScan_, path(kSlitScanSettingsFile));
  for (std::int16_t n = 0; n < 2; ++n) {
    LoadPanel(collScan_[n], path(CollScanSettingsFile(n)));
  }
  for (std::int16_t n = 0; n < 2; ++n) {
    LoadPanel(gonioStageScan_[n], path(GonioStageScanSettingsFile(n)));
  }
  LoadPanel(gonioYScan_, path(kGonioYScanSettingsFile));
  LoadPanel(lensScan_, path(kLensScanSettingsFile));
}

void AllInOneWindow::selectOutputFolder() {
  const QString folder = dialogs_.chooseFolder(folderChooserOwner_);
  if (folder.isEmpty()) {
    return;
  }
  ChangeOutputFolder(folder.toStdString());
}

void AllInOneWindow::closeEvent(QCloseEvent* event) {
  event->accept();
  emit closed();
}

}  // namespace vesko
