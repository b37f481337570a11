#include "ui/axes_window.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <utility>

#include "app/axis_table_file.h"
#include "app/axis_table_form.h"
#include "ui/dialogs.h"
#include "ui/panel_support.h"

namespace vesko {
namespace {

constexpr int kFigureColumns = 4;

constexpr const char* kDropQuestion =
    "Axes.toml holds comments or entries this window does not show. Saving writes only the table shown "
    "here and drops them. Save anyway?";

}  // namespace

AxesWindow::AxesWindow(std::string settingsFolder, Dialogs& dialogs, QWidget* parent)
    : QDialog(parent), settingsFolder_(std::move(settingsFolder)), dialogs_(dialogs) {
  setObjectName(QStringLiteral("frmAxes"));
  setWindowTitle(QStringLiteral("Axes"));
  setModal(true);
  setAttribute(Qt::WA_DeleteOnClose);

  auto* intro = Named(new QLabel(QStringLiteral("Soft limits in the axis' units, speed in units per second, "
                                                "settle in seconds after each move. An empty cell is not "
                                                "checked or timed."),
                                 this),
                      "lblAxesIntro");
  intro->setWordWrap(true);
  grdAxes_ =
      Named(new QTableWidget(static_cast<int>(kTableAxisNames.size()), kFigureColumns + 1, this), "grdAxes");
  grdAxes_->setHorizontalHeaderLabels({QStringLiteral("Axis"), QStringLiteral("Lower"),
                                       QStringLiteral("Upper"), QStringLiteral("Speed"),
                                       QStringLiteral("Settle")});
  grdAxes_->verticalHeader()->hide();
  for (int row = 0; row < grdAxes_->rowCount(); ++row) {
    auto* name = new QTableWidgetItem(QString::fromLatin1(kTableAxisNames[static_cast<std::size_t>(row)]));
    name->setFlags(name->flags() & ~Qt::ItemIsEditable);
    grdAxes_->setItem(row, 0, name);
    for (int column = 1; column <= kFigureColumns; ++column) {
      grdAxes_->setItem(row, column, new QTableWidgetItem);
    }
  }
  grdAxes_->resizeColumnsToContents();
  grdAxes_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
  grdAxes_->setMinimumSize(460,
                           grdAxes_->verticalHeader()->length() + grdAxes_->horizontalHeader()->height() + 4);

  txtAxesOverhead_ = Named(new QLineEdit(this), "txtAxesOverhead");
  txtAxesShutter_ = Named(new QLineEdit(this), "txtAxesShutter");
  auto* counting = new QFormLayout;
  counting->addRow(QStringLiteral("Seconds added to every count measurement"), txtAxesOverhead_);
  counting->addRow(QStringLiteral("Seconds per shutter or beam-stop command"), txtAxesShutter_);

  lblAxesStatus_ = Named(new QLabel(this), "lblAxesStatus");
  lblAxesStatus_->setWordWrap(true);
  auto* saveButton = Named(new QPushButton(QStringLiteral("Save"), this), "cmdAxesSave");
  auto* closeButton = Named(new QPushButton(QStringLiteral("Close"), this), "cmdAxesClose");
  saveButton->setAutoDefault(false);
  closeButton->setAutoDefault(false);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(lblAxesStatus_, 1);
  buttons->addWidget(saveButton);
  buttons->addWidget(closeButton);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(intro);
  layout->addWidget(grdAxes_, 1);
  layout->addLayout(counting);
  layout->addLayout(buttons);
  connect(saveButton, &QPushButton::clicked, this, &AxesWindow::save);
  connect(closeButton, &QPushButton::clicked, this, &QWidget::close);

  const AxisTableFile file = LoadAxisTableFile(settingsFolder_);
  fileHoldsMore_ = file.holdsMore;
  if (file.read.table) {
    showForm(FormOf(*file.read.table));
  }
  // A table that cannot be read is named; the grid starts empty, and saving asks before it is replaced.
  lblAxesStatus_->setText(ToQt(file.read.problem));
}

void AxesWindow::showForm(const AxisTableForm& form) {
  for (int row = 0; row < grdAxes_->rowCount(); ++row) {
    for (int k = 0; k < kFigureColumns; ++k) {
      grdAxes_->item(row, k + 1)
          ->setText(ToQt(form.rows[static_cast<std::size_t>(row)][static_cast<std::size_t>(k)]));
    }
  }
  txtAxesOverhead_->setText(ToQt(form.overhead));
  txtAxesShutter_->setText(ToQt(form.shutter));
}

AxisTableForm AxesWindow::readForm() const {
  AxisTableForm form;
  for (int row = 0; row < grdAxes_->rowCount(); ++row) {
    for (int k = 0; k < kFigureColumns; ++k) {
      form.rows[static_cast<std::size_t>(row)][static_cast<std::size_t>(k)] =
          grdAxes_->item(row, k + 1)->text().toStdString();
    }
  }
  form.overhead = TextOf(txtAxesOverhead_);
  form.shutter = TextOf(txtAxesShutter_);
  return form;
}

void AxesWindow::save() {
  const AxisFormCheck check = CheckAxisForm(readForm());
  if (check.fault) {
    // The offending cell is selected before the message, so that it is in view while the message is up.
    if (check.fault->row == kCountingRow) {
      QLineEdit* box = check.fault->column == 0 ? txtAxesOverhead_ : txtAxesShutter_;
      box->setFocus();
      box->selectAll();
    } else {
      grdAxes_->setCurrentCell(check.fault->row, check.fault->column + 1);
      grdAxes_->setFocus();
    }
    dialogs_.showMessage(this, ToQt(check.fault->message));
    return;
  }
  if (fileHoldsMore_ && !dialogs_.askYesNo(this, QString::fromLatin1(kDropQuestion))) {
    return;
  }
  if (const std::optional<IoError> error = SaveAxisTable(settingsFolder_, check.table)) {
    dialogs_.showMessage(this, ToQt(error->Message()));
    return;
  }
  fileHoldsMore_ = false;
  lblAxesStatus_->setText(QStringLiteral("Saved"));
}

}  // namespace vesko
