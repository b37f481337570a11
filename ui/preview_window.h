#pragma once

#include <QString>
#include <QWidget>
#include <cstdint>
#include <string>

class QPlainTextEdit;
class QPushButton;

namespace vesko {

class AxisPathChart;
class Dialogs;
struct AxisTableRead;
struct CheckedScript;

/// At most this many lines of a script are shown; the summary still covers every line.
inline constexpr std::uint64_t kPreviewLines = 20000;

/// The non-modal, read-only "Preview - <file>" window: a script's summary above its first lines; with an axis
/// table, a chart of the moves between them.
class PreviewWindow final : public QWidget {
  Q_OBJECT

 public:
  /// A top-level window that goes with `owner`; closing it only hides it, so that it can be shown again.
  explicit PreviewWindow(QWidget* owner);

  /// Runs the script once through the summary (with the axis table `axes`) into the view, under a progress
  /// display when it is long; nothing reaches a file. False, with the view as it was, when the operator
  /// cancelled.
  bool showScript(const CheckedScript& script, const std::string& outputFolder, const AxisTableRead& axes,
                  Dialogs& dialogs);
  /// The script lines shown, each ended by "\n": what "Copy" puts on the clipboard.
  const QString& scriptText() const { return scriptText_; }

 private:
  void copy();

  QPlainTextEdit* txtPreviewSummary_;
  AxisPathChart* chtPreviewAxes_;
  QPlainTextEdit* txtPreviewScript_;
  QPushButton* cmdPreviewCopy_;
  QPushButton* cmdPreviewClose_;
  QString scriptText_;
};

/// Shows in `panel`'s preview window (made on first use, then reused and raised) the script that "File
/// Create" would write now, checked against the axis table of `settingsFolder`; an output folder the script
/// cannot name is refused through `dialogs` with the message "File Create" gives. Writes nothing and reports
/// no status.
void ShowPanelPreview(const CheckedScript& script, const std::string& outputFolder,
                      const std::string& settingsFolder, Dialogs& dialogs, QWidget* panel);

}  // namespace vesko
