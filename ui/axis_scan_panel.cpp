#include "ui/axis_scan_panel.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <utility>

namespace vesko {

namespace {

// Each panel owns this many of the form's static labels; panel n's start at n times this.
constexpr int kLabelsPerPanel = 9;

}  // namespace

AxisScanPanel::AxisScanPanel(std::int16_t panel, const AxisScanDesign& design, std::string settingsFolder,
                             Dialogs& dialogs, QWidget* parent)
    : GeneratorPanel(std::move(settingsFolder), dialogs, parent), panel_(panel == 0 ? 0 : 1) {
  const int n = panel_;
  int nextLabel = n * kLabelsPerPanel;
  const auto label = [&nextLabel](const char* caption, QWidget* host) {
    return Element(new QLabel(QString::fromLatin1(caption), host), "lblSetting", nextLabel++);
  };
  const auto box = [n](const char* name, QWidget* host) { return Element(new QLineEdit(host), name, n); };

  const auto makeScanSetting = [&] {
    auto* frame = Element(new QGroupBox(QStringLiteral("Scan Setting"), this), "fraScanSetting", n);
    auto* grid = new QGridLayout(frame);
    grid->addWidget(label("Scan Center", frame), 0, 0);
    grid->addWidget(scanCenter_ = box(design.scanBoxes[0], frame), 0, 1);
    grid->addWidget(label("Scan Width", frame), 1, 0);
    grid->addWidget(scanWidth_ = box(design.scanBoxes[1], frame), 1, 1);
    grid->addWidget(label("Scan Division", frame), 2, 0);
    grid->addWidget(scanDivision_ = box(design.scanBoxes[2], frame), 2, 1);
    grid->addWidget(label("Output FileName", frame), 3, 0);
    grid->addWidget(fileName_ = box(design.scanBoxes[3], frame), 3, 1);
    grid->addWidget(label("(Result File Name = *.dat)", frame), 4, 0, 1, 2);
    fileName_->setText(ToQt(design.designFileName));
    return frame;
  };
  // The slit fields are checked whenever the button is pressed, ticked or not.
  const auto make4DSlit = [&] {
    auto* frame = Element(new QGroupBox(QStringLiteral("4D Slit"), this), "fra4DSlit", n);
    move4DSlit_ = Element(new QCheckBox(QStringLiteral("Move 4D Slit"), frame), design.move4DSlit, n);
    auto* grid = new QGridLayout(frame);
    grid->addWidget(move4DSlit_, 0, 0, 1, 3);
    grid->addWidget(label("Slit Width", frame), 2, 0);
    grid->addWidget(label("Slit Center", frame), 3, 0);
    grid->addWidget(label("Y", frame), 1, 1, Qt::AlignHCenter);
    grid->addWidget(label("Z", frame), 1, 2, Qt::AlignHCenter);
    grid->addWidget(slitWidthY_ = box(design.slitBoxes[0], frame), 2, 1);
    grid->addWidget(slitWidthZ_ = box(design.slitBoxes[1], frame), 2, 2);
    grid->addWidget(slitCenterY_ = box(design.slitBoxes[2], frame), 3, 1);
    grid->addWidget(slitCenterZ_ = box(design.slitBoxes[3], frame), 3, 2);
    return frame;
  };
  QGroupBox* first = design.slitFirst ? make4DSlit() : makeScanSetting();
  QGroupBox* second = design.slitFirst ? makeScanSetting() : make4DSlit();

  auto* fileCreate =
      Element(new QPushButton(QString::fromLatin1(design.fileCreateCaptions[n]), this), design.fileCreate, n);
  auto* preview = MakePreviewButton(fileCreate, this);
  auto* status = Element(new QLabel(this), design.status, n);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(first);
  layout->addWidget(second);
  layout->addLayout(makeActionRow(fileCreate, preview, status));
  layout->addStretch();

  if (design.slitFirst) {
    SetTabOrder({move4DSlit_, slitWidthY_, slitWidthZ_, slitCenterY_, slitCenterZ_, scanCenter_, scanWidth_,
                 scanDivision_, fileName_, fileCreate_, preview_});
  } else {
    SetTabOrder({scanCenter_, scanWidth_, scanDivision_, fileName_, move4DSlit_, slitWidthY_, slitWidthZ_,
                 slitCenterY_, slitCenterZ_, fileCreate_, preview_});
  }
}

}  // namespace vesko
