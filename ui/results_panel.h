#pragma once

#include <QStringList>
#include <QWidget>
#include <vector>

#include "ui/results_plot.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QTableWidget;

namespace vesko {

class Dialogs;
class ResultsFollower;

/// The results of any scan: open result files, plot their series with peak, half-maximum and edge
/// markers, list the figures, export and copy them, and follow files still being written. Hosted by
/// its own window and by a tab.
class ResultsPanel final : public QWidget {
  Q_OBJECT

 public:
  /// File choices and messages go through `dialogs`.
  explicit ResultsPanel(Dialogs& dialogs, QWidget* parent = nullptr);

  /// Shows these files instead of the ones shown; each that cannot be shown is reported.
  void openFiles(const QStringList& paths);
  /// The files shown, in the order they were opened.
  const std::vector<LoadedResults>& files() const { return files_; }
  /// The figures as comma-separated text: a header line, then one line per series of every file.
  QString figuresCsv() const;

 private:
  void chooseFiles();
  void exportPlot();
  void exportFigures();
  void copyFigures();
  void followChanged();
  void columnChanged();
  void replaceFile(const LoadedResults& results);
  void showFiles(bool fit);
  QStringList figureKeys() const;
  QStringList paths() const;

  Dialogs& dialogs_;
  std::vector<LoadedResults> files_;
  ResultsFollower* follower_;

  QPushButton* cmdOpen_;
  QCheckBox* chkFollow_;
  QComboBox* cboColumn_;
  QPushButton* cmdResetZoom_;
  QPushButton* cmdExportPlot_;
  QPushButton* cmdExportFigures_;
  QPushButton* cmdCopyFigures_;
  QLabel* lblCursor_;
  ResultsPlot* plot_;
  QTableWidget* tblFigures_;
};

}  // namespace vesko
