#pragma once

#include <QDialog>

namespace vesko {

class Dialogs;
class ResultsPanel;

/// The modal "Results" window: the results panel on its own.
class ResultsWindow final : public QDialog {
  Q_OBJECT

 public:
  /// Starts with no file open; closing the window deletes it.
  explicit ResultsWindow(Dialogs& dialogs, QWidget* parent = nullptr);

  ResultsPanel* panel() const { return panel_; }

 private:
  ResultsPanel* panel_;
};

}  // namespace vesko
