#pragma once

#include <QDialog>

namespace vesko {

class AnalysisPanel;
class Dialogs;

/// The modal "4Dスキャン解析" window: the analysis panel on its own.
class AnalysisWindow final : public QDialog {
  Q_OBJECT

 public:
  /// Starts with no file chosen; closing the window deletes it, and the chosen file with it.
  explicit AnalysisWindow(Dialogs& dialogs, QWidget* parent = nullptr);

 private:
  AnalysisPanel* panel_;
};

}  // namespace vesko
