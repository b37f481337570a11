#include "ui/preview_window.h"

#include <QApplication>
#include <QClipboard>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>
#include <memory>
#include <string_view>

#include "app/axis_table_file.h"
#include "app/file_create.h"
#include "core/shown_text.h"
#include "generators/script_summary.h"
#include "ui/axis_path_chart.h"
#include "ui/dialogs.h"
#include "ui/panel_support.h"

namespace vesko {

namespace {

// Keeps the first kPreviewLines lines with plain line breaks, counts every line and tells `report` the count
// now and then.
class PreviewSink final : public LineSink {
 public:
  explicit PreviewSink(ProgressReport* report) : report_(report) {}

  void WriteLine(std::string_view line) override { Take(line); }
  void WriteLines(std::string_view lines) override {
    while (!lines.empty()) {
      const std::size_t end = lines.find("\r\n");
      if (end == std::string_view::npos) {
        Take(lines);
        return;
      }
      Take(lines.substr(0, end));
      lines.remove_prefix(end + 2);
    }
  }

  const std::string& shown() const { return shown_; }
  std::uint64_t lineCount() const { return lines_; }

 private:
  void Take(std::string_view line) {
    if (lines_ < kPreviewLines) {
      shown_.append(line);
      shown_ += '\n';
    }
    ++lines_;
    if (report_ && lines_ % kProgressInterval == 0 && !report_->update(lines_)) {
      throw ScriptCancelled{};
    }
  }

  ProgressReport* report_;
  std::string shown_;
  std::uint64_t lines_ = 0;
};

QString JoinLines(const std::vector<std::string>& lines) {
  QStringList joined;
  for (const std::string& line : lines) {
    joined << ToQt(line);
  }
  return joined.join(QLatin1Char('\n'));
}

}  // namespace

PreviewWindow::PreviewWindow(QWidget* owner) : QWidget(owner, Qt::Window) {
  setObjectName(QStringLiteral("frmPreview"));
  setWindowTitle(QStringLiteral("Preview"));

  const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  txtPreviewSummary_ = Named(new QPlainTextEdit(this), "txtPreviewSummary");
  txtPreviewSummary_->setReadOnly(true);
  txtPreviewSummary_->setFixedHeight(txtPreviewSummary_->fontMetrics().lineSpacing() * 7 + 12);
  chtPreviewAxes_ = new AxisPathChart(this);
  chtPreviewAxes_->hide();
  txtPreviewScript_ = Named(new QPlainTextEdit(this), "txtPreviewScript");
  txtPreviewScript_->setReadOnly(true);
  txtPreviewScript_->setFont(fixed);
  txtPreviewScript_->setLineWrapMode(QPlainTextEdit::NoWrap);
  txtPreviewScript_->setUndoRedoEnabled(false);

  cmdPreviewCopy_ = Named(new QPushButton(QStringLiteral("Copy"), this), "cmdPreviewCopy");
  cmdPreviewClose_ = Named(new QPushButton(QStringLiteral("Close"), this), "cmdPreviewClose");
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(cmdPreviewCopy_);
  buttons->addWidget(cmdPreviewClose_);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(txtPreviewSummary_);
  layout->addWidget(chtPreviewAxes_);
  layout->addWidget(txtPreviewScript_, 1);
  layout->addLayout(buttons);
  resize(760, 600);

  SetTabOrder({txtPreviewSummary_, txtPreviewScript_, cmdPreviewCopy_, cmdPreviewClose_});
  connect(cmdPreviewCopy_, &QPushButton::clicked, this, &PreviewWindow::copy);
  connect(cmdPreviewClose_, &QPushButton::clicked, this, &QWidget::close);
  connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this, &QWidget::close);
}

bool PreviewWindow::showScript(const CheckedScript& script, const std::string& outputFolder,
                               const AxisTableRead& axes, Dialogs& dialogs) {
  std::unique_ptr<ProgressReport> report =
      ProgressForLongScript(script.Job(outputFolder), QStringLiteral("Previewing"), dialogs, parentWidget());
  PreviewSink shown(report.get());
  SummarySink summary(&shown, axes);
  try {
    script.write(outputFolder, summary);
  } catch (const ScriptCancelled&) {
    return false;
  }
  report.reset();

  setWindowTitle(QStringLiteral("Preview - ") + ToQt(ShownText(script.outputFileName)));
  const ScriptSummary figures = summary.Summary(script.outline);
  txtPreviewSummary_->setPlainText(JoinLines(SummaryText(figures)));
  // The chart reads the moves the summary has just read; without a table the window is as it was.
  const bool chart = figures.axisReport && !figures.axisReport->paths.empty();
  if (chart) {
    chtPreviewAxes_->showPaths(figures.axisReport->paths);
  }
  chtPreviewAxes_->setVisible(chart);
  // The estimate and the limit notes take a few more lines.
  txtPreviewSummary_->setFixedHeight(txtPreviewSummary_->fontMetrics().lineSpacing() * (chart ? 11 : 7) + 12);
  scriptText_ = ToQt(shown.shown());
  QString text = scriptText_;
  if (shown.lineCount() > kPreviewLines) {
    text +=
        QStringLiteral("\u2026 %1 more lines not shown").arg(GroupedCount(shown.lineCount() - kPreviewLines));
  }
  txtPreviewScript_->setPlainText(text);
  return true;
}

void PreviewWindow::copy() {
  QApplication::clipboard()->setText(scriptText_);
}

void ShowPanelPreview(const CheckedScript& script, const std::string& outputFolder,
                      const std::string& settingsFolder, Dialogs& dialogs, QWidget* panel) {
  // The same checks as "File Create", though nothing is written.
  if (std::optional<std::string> refusal = PlaceRefusal(script.Job(outputFolder))) {
    dialogs.showMessage(panel, ToQt(*refusal));
    return;
  }
  auto* window = panel->findChild<PreviewWindow*>(QString(), Qt::FindDirectChildrenOnly);
  if (!window) {
    window = new PreviewWindow(panel);
  }
  if (window->showScript(script, outputFolder, ReadAxisTable(settingsFolder), dialogs)) {
    window->show();
    window->raise();
    window->activateWindow();
  }
}

}  // namespace vesko
