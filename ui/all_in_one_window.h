#pragma once

#include <QWidget>
#include <array>
#include <string>

class QCloseEvent;
class QLineEdit;

namespace vesko {

class CollScanPanel;
class Dialogs;
class GonioStageScanPanel;
class GonioYScanPanel;
class LensScanPanel;
class SlitDecScanPanel;
class SlitScanPanel;

/// The non-modal "VeskoScriptCreator" window: the scan panels, the analysis, the output folder choice and the
/// results on eleven tabs, each panel the same class its own window hosts.
class AllInOneWindow final : public QWidget {
  Q_OBJECT

 public:
  /// Loads the output folder and every panel's settings file from `settingsFolder`, each file on its own;
  /// the folder chooser is owned by `folderChooserOwner` (this window when null).
  AllInOneWindow(std::string settingsFolder, Dialogs& dialogs, QWidget* folderChooserOwner = nullptr);

 signals:
  /// The operator closed the window; the program is to end.
  void closed();

 protected:
  /// Closing the window reports `closed`.
  void closeEvent(QCloseEvent* event) override;

 private:
  QWidget* makeSettingTab();
  void loadSettings();
  void selectOutputFolder();

  std::string settingsFolder_;
  Dialogs& dialogs_;
  QWidget* folderChooserOwner_;

  std::array<GonioStageScanPanel*, 2> gonioStageScan_{};
  GonioYScanPanel* gonioYScan_ = nullptr;
  std::array<CollScanPanel*, 2> collScan_{};
  SlitScanPanel* slitScan_ = nullptr;
  SlitDecScanPanel* slitDecScan_ = nullptr;
  LensScanPanel* lensScan_ = nullptr;
  QLineEdit* txtOutputFolder_ = nullptr;
};

}  // namespace vesko
