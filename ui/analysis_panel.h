#pragma once

#include <QWidget>
#include <string>

class QLineEdit;
class QPushButton;

namespace vesko {

class AnalysisPlot;
class Dialogs;

/// What every box of the analysis controls shows before the first analysis.
inline constexpr const char* kAnalysisBoxText = "Text1";

/// The analysis of a decreasing-width scan's result file with its plot; hosted by its own window and,
/// later, by a tab.
class AnalysisPanel final : public QWidget {
  Q_OBJECT

 public:
  /// File choices and messages go through `dialogs`; the crossing box starts with `crossXText`.
  AnalysisPanel(Dialogs& dialogs, const char* crossXText, QWidget* parent = nullptr);

  /// The "Calculate" button, for hosts that make it their default button.
  QPushButton* calculateButton() const { return cmdCalculate_; }
  /// The file "Calculate" reads: the last one chosen, "" before any choice.
  const std::string& AnalysisFileName() const { return analysisFileName_; }

 private:
  void chooseFile();
  void calculate();

  Dialogs& dialogs_;
  std::string analysisFileName_;

  QPushButton* cmdGraphFileOpen_;
  QLineEdit* txtGraphFileName_;
  QLineEdit* txtA0_;
  QLineEdit* txtA1_;
  QLineEdit* txtB0_;
  QLineEdit* txtGraphResult_;
  QLineEdit* txtGraphDivSetting_;
  QPushButton* cmdCalculate_;
  AnalysisPlot* plot_;
};

}  // namespace vesko
