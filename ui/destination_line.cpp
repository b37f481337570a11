#include "ui/destination_line.h"

#include <QAbstractButton>
#include <QEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextDocument>
#include <utility>

#include "ui/output_folder.h"

namespace vesko {

QString DestinationText(const ScriptDestination& destination) {
  if (destination.script.empty()) {
    return QStringLiteral("→ no script: the file name is not usable");
  }
  QString text = QStringLiteral("→ ") + QString::fromStdString(destination.script);
  for (std::size_t k = 0; k < destination.resultFiles.size(); ++k) {
    text += (k == 0 ? QStringLiteral(", results ") : QStringLiteral(", ")) +
            QString::fromStdString(destination.resultFiles[k]);
  }
  return text;
}

QPlainTextEdit* MakeDestinationLine(const QPushButton* fileCreate, QWidget* parent) {
  QString name = fileCreate->objectName();
  name.replace(QStringLiteral("FileCreate"), QStringLiteral("Destination"));
  if (name.startsWith(QStringLiteral("cmd"))) {
    name.replace(0, 3, QStringLiteral("txt"));
  }
  auto* line = new QPlainTextEdit(parent);
  line->setObjectName(name);
  line->setReadOnly(true);
  line->setFocusPolicy(Qt::ClickFocus);
  line->setTabChangesFocus(true);
  line->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  line->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  // A long path wraps inside the box instead of widening the window.
  line->setMinimumWidth(0);
  line->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
  const int margins = line->contentsMargins().top() + line->contentsMargins().bottom();
  line->setFixedHeight(line->fontMetrics().lineSpacing() * 3 +
                       2 * static_cast<int>(line->document()->documentMargin()) + margins);
  return line;
}

namespace {

// Refreshes a destination line whenever what it shows may have changed.
class DestinationFollower final : public QObject {
 public:
  DestinationFollower(QWidget* panel, QPlainTextEdit* line, std::function<ScriptDestination()> destination)
      : QObject(panel), panel_(panel), line_(line), destination_(std::move(destination)) {
    panel->installEventFilter(this);
  }

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == panel_ && event->type() == QEvent::Show) {
      // The panel is whole by now: its boxes and buttons exist and its form can be read.
      if (!following_) {
        following_ = true;
        follow();
      }
      refresh();
    }
    return false;
  }

 private:
  void follow() {
    for (QLineEdit* box : panel_->findChildren<QLineEdit*>()) {
      connect(box, &QLineEdit::textChanged, this, &DestinationFollower::refresh);
    }
    for (QAbstractButton* button : panel_->findChildren<QAbstractButton*>()) {
      connect(button, &QAbstractButton::toggled, this, &DestinationFollower::refresh);
    }
    connect(&OutputFolderChanges(), &OutputFolderNews::changed, this, &DestinationFollower::refresh);
  }

  void refresh() {
    const QString text = DestinationText(destination_());
    line_->setPlainText(text);
    line_->setToolTip(text);
  }

  QWidget* panel_;
  QPlainTextEdit* line_;
  std::function<ScriptDestination()> destination_;
  bool following_ = false;
};

}  // namespace

void FollowDestination(QWidget* panel, QPlainTextEdit* line, std::function<ScriptDestination()> destination) {
  new DestinationFollower(panel, line, std::move(destination));
}

}  // namespace vesko
