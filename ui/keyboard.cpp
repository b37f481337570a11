#include "ui/keyboard.h"

#include <QEvent>
#include <QKeyEvent>
#include <QPushButton>

namespace vesko {

namespace {

class ReturnPresser final : public QObject {
 public:
  using QObject::QObject;

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::KeyPress) {
      return false;
    }
    const auto* key = static_cast<QKeyEvent*>(event);
    auto* button = qobject_cast<QPushButton*>(watched);
    const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
    if (!enter || !button || !button->hasFocus() || !button->isEnabled() ||
        (key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier) {
      return false;
    }
    button->click();
    return true;
  }
};

}  // namespace

void ReturnPressesFocusedButtons(QObject* application) {
  application->installEventFilter(new ReturnPresser(application));
}

}  // namespace vesko
