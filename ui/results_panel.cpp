#include "ui/results_panel.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSplitter>
#include <QTableWidget>
#include <QVBoxLayout>

#include "app/app_settings.h"
#include "core/format.h"
#include "core/safe_file.h"
#include "ui/dialogs.h"
#include "ui/panel_support.h"
#include "ui/results_follow.h"

namespace vesko {

namespace {

QPushButton* Button(const char* objectName, const char* caption, QWidget* parent) {
  return Named(new QPushButton(QString::fromUtf8(caption), parent), objectName);
}

// The folder of `path`, where the next save dialog starts.
QString FolderOf(const QString& path) {
  const qsizetype slash = std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')));
  return slash < 0 ? QString() : path.left(slash);
}

}  // namespace

ResultsPanel::ResultsPanel(Dialogs& dialogs, QWidget* parent)
    : QWidget(parent), dialogs_(dialogs), follower_(new ResultsFollower(this)) {
  cmdOpen_ = Button("cmdResultsOpen", "Open…", this);
  chkFollow_ = Named(new QCheckBox(QStringLiteral("Follow"), this), "chkResultsFollow");
  chkFollow_->setToolTip(QStringLiteral("Read the files again as the scan writes them"));
  // Io and I of the two-counter scans can stand in for their ratio.
  cboColumn_ = Named(new QComboBox(this), "cboResultsColumn");
  cboColumn_->addItems({QStringLiteral("I/Io"), QStringLiteral("Io"), QStringLiteral("I")});
  cboColumn_->setEnabled(false);
  cmdResetZoom_ = Button("cmdResultsResetZoom", "Reset Zoom", this);
  cmdExportPlot_ = Button("cmdResultsExportPlot", "Export Plot…", this);
  cmdExportFigures_ = Button("cmdResultsExportFigures", "Export Figures…", this);
  cmdCopyFigures_ = Button("cmdResultsCopyFigures", "Copy Figures", this);
  lblCursor_ = Named(new QLabel(this), "lblResultsCursor");
  lblCursor_->setMinimumWidth(
      lblCursor_->fontMetrics().horizontalAdvance(QStringLiteral("x = -0000.00000  y = -0000000.00000")));

  auto* buttons = new QHBoxLayout;
  for (QWidget* widget :
       std::initializer_list<QWidget*>{cmdOpen_, chkFollow_, cboColumn_, cmdResetZoom_, cmdExportPlot_,
                                       cmdExportFigures_, cmdCopyFigures_}) {
    buttons->addWidget(widget);
  }
  buttons->addStretch();
  buttons->addWidget(lblCursor_);

  plot_ = new ResultsPlot(this);
  tblFigures_ = Named(new QTableWidget(this), "tblResultsFigures");
  tblFigures_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  tblFigures_->verticalHeader()->setVisible(false);
  auto* split = new QSplitter(Qt::Vertical, this);
  split->addWidget(plot_);
  split->addWidget(tblFigures_);
  split->setStretchFactor(0, 3);
  split->setStretchFactor(1, 1);
  split->setSizes({480, 150});

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(buttons);
  layout->addWidget(split, 1);
  SetTabOrder(
      {cmdOpen_, chkFollow_, cmdResetZoom_, cmdExportPlot_, cmdExportFigures_, cmdCopyFigures_, tblFigures_});

  connect(cmdOpen_, &QPushButton::clicked, this, &ResultsPanel::chooseFiles);
  connect(chkFollow_, &QCheckBox::toggled, this, &ResultsPanel::followChanged);
  connect(cboColumn_, &QComboBox::currentTextChanged, this, &ResultsPanel::columnChanged);
  connect(cmdResetZoom_, &QPushButton::clicked, plot_, &ResultsPlot::resetZoom);
  connect(cmdExportPlot_, &QPushButton::clicked, this, &ResultsPanel::exportPlot);
  connect(cmdExportFigures_, &QPushButton::clicked, this, &ResultsPanel::exportFigures);
  connect(cmdCopyFigures_, &QPushButton::clicked, this, &ResultsPanel::copyFigures);
  connect(follower_, &ResultsFollower::reread, this, &ResultsPanel::replaceFile);
  connect(plot_, &ResultsPlot::cursorMoved, this, [this](QPointF at) {
    lblCursor_->setText(QStringLiteral("x = %1  y = %2").arg(ToQt(FormatF5(at.x())), ToQt(FormatF5(at.y()))));
  });
}

void ResultsPanel::chooseFiles() {
  // Result files land in the output folder, beside the scripts that write them.
  const QStringList chosen = dialogs_.chooseOpenFiles(
      this, QStringLiteral("Result files"), QStringLiteral("Result files (*.dat *.csv *.txt);;All files (*)"),
      ToQt(OutputFolder()));
  if (!chosen.isEmpty()) {
    openFiles(chosen);
  }
}

void ResultsPanel::openFiles(const QStringList& paths) {
  std::vector<LoadedResults> opened;
  for (const QString& path : paths) {
    std::string error;
    if (std::optional<LoadedResults> loaded =
            LoadResults(path, cboColumn_->currentText().toStdString(), false, error)) {
      opened.push_back(std::move(*loaded));
    } else {
      dialogs_.showMessage(this, ToQt(error));
    }
  }
  if (opened.empty()) {
    return;
  }
  files_ = std::move(opened);
  bool counters = false;
  for (const LoadedResults& file : files_) {
    counters = counters || IntensityColumns(file.set).size() > 1;
  }
  cboColumn_->setEnabled(counters);
  showFiles(true);
  followChanged();
}

void ResultsPanel::followChanged() {
  follower_->follow(chkFollow_->isChecked() ? paths() : QStringList(),
                    cboColumn_->currentText().toStdString());
}

void ResultsPanel::columnChanged() {
  if (!files_.empty()) {
    openFiles(paths());
  }
}

void ResultsPanel::replaceFile(const LoadedResults& results) {
  for (LoadedResults& file : files_) {
    if (file.path == results.path) {
      file = results;
      showFiles(false);
      return;
    }
  }
}

QStringList ResultsPanel::paths() const {
  QStringList list;
  for (const LoadedResults& file : files_) {
    list << file.path;
  }
  return list;
}

QStringList ResultsPanel::figureKeys() const {
  // Every series' keys in their order; a decreasing-width scan's crossing figures come last.
  QStringList keys;
  for (const LoadedResults& file : files_) {
    for (const FigureBlock& block : file.blocks) {
      for (const auto& [key, value] : block.texts) {
        if (!keys.contains(ToQt(key))) {
          keys << ToQt(key);
        }
      }
    }
  }
  return keys;
}

void ResultsPanel::showFiles(bool fit) {
  plot_->showResults(files_, fit);
  const QStringList keys = figureKeys();
  int rows = 0;
  for (const LoadedResults& file : files_) {
    rows += static_cast<int>(file.blocks.size());
  }
  tblFigures_->clear();
  tblFigures_->setColumnCount(static_cast<int>(keys.size()) + 1);
  tblFigures_->setRowCount(rows);
  tblFigures_->setHorizontalHeaderLabels(QStringList{QStringLiteral("file")} + keys);
  int row = 0;
  for (const LoadedResults& file : files_) {
    for (const FigureBlock& block : file.blocks) {
      tblFigures_->setItem(row, 0, new QTableWidgetItem(QDir(file.path).dirName()));
      for (const auto& [key, value] : block.texts) {
        tblFigures_->setItem(row, static_cast<int>(keys.indexOf(ToQt(key))) + 1,
                             new QTableWidgetItem(ToQt(value)));
      }
      ++row;
    }
  }
  tblFigures_->resizeColumnsToContents();
}

QString ResultsPanel::figuresCsv() const {
  const QStringList keys = figureKeys();
  QString text = (QStringList{QStringLiteral("file")} + keys).join(QLatin1Char(',')) + QLatin1Char('\n');
  for (const LoadedResults& file : files_) {
    for (const FigureBlock& block : file.blocks) {
      QStringList cells(keys.size() + 1);
      // A comma or quote in a file name keeps its cell whole.
      cells[0] = QLatin1Char('"') + QString(file.path).replace(QLatin1Char('"'), QStringLiteral("\"\"")) +
                 QLatin1Char('"');
      for (const auto& [key, value] : block.texts) {
        cells[keys.indexOf(ToQt(key)) + 1] = ToQt(value);
      }
      text += cells.join(QLatin1Char(',')) + QLatin1Char('\n');
    }
  }
  return text;
}

void ResultsPanel::exportPlot() {
  if (files_.empty()) {
    return;
  }
  const QString path = dialogs_.chooseSaveFile(this, QStringLiteral("Export Plot"),
                                               QStringLiteral("PNG picture (*.png);;SVG picture (*.svg)"),
                                               FolderOf(files_.front().path));
  if (!path.isEmpty() && !plot_->exportTo(path)) {
    dialogs_.showMessage(this, QStringLiteral("Cannot write %1").arg(path));
  }
}

void ResultsPanel::exportFigures() {
  if (files_.empty()) {
    return;
  }
  const QString path =
      dialogs_.chooseSaveFile(this, QStringLiteral("Export Figures"), QStringLiteral("CSV file (*.csv)"),
                              FolderOf(files_.front().path));
  if (path.isEmpty()) {
    return;
  }
  if (const std::optional<IoError> error = ReplaceFileBytes(path.toStdString(), figuresCsv().toStdString())) {
    dialogs_.showMessage(this, QString::fromStdString(error->Message()));
  }
}

void ResultsPanel::copyFigures() {
  QApplication::clipboard()->setText(figuresCsv());
}

}  // namespace vesko
