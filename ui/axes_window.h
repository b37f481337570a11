#pragma once

#include <QDialog>
#include <string>

class QLabel;
class QLineEdit;
class QTableWidget;

namespace vesko {

class Dialogs;
struct AxisTableForm;

/// The modal "Axes" window: the beamline's axis table (Axes.toml in the settings folder) in an editable
/// grid, one row per axis (lower, upper, speed, settle), and the counting keys below it. "Save" checks every
/// row first and replaces the file safely.
class AxesWindow final : public QDialog {
  Q_OBJECT

 public:
  /// Reads the table of `settingsFolder`; messages and questions go through `dialogs`.
  AxesWindow(std::string settingsFolder, Dialogs& dialogs, QWidget* parent = nullptr);

 private:
  void showForm(const AxisTableForm& form);
  AxisTableForm readForm() const;
  void save();

  std::string settingsFolder_;
  Dialogs& dialogs_;
  QTableWidget* grdAxes_;
  QLineEdit* txtAxesOverhead_;
  QLineEdit* txtAxesShutter_;
  QLabel* lblAxesStatus_;
  /// The file holds what the grid does not show (comments, other keys, or text that cannot be read).
  bool fileHoldsMore_ = false;
};

}  // namespace vesko
