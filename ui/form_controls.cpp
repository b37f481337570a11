#include "ui/form_controls.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QLineEdit>
#include <QWidget>

#include "ui/panel_support.h"

namespace vesko {

QString ControlName(const std::string& control, int element) {
  QString name = QString::fromStdString(control);
  return element < 0 ? name : name + QLatin1Char('_') + QString::number(element);
}

std::string ControlText(const QWidget* panel, const QString& name) {
  const auto* box = panel->findChild<QLineEdit*>(name);
  return box ? TextOf(box) : std::string();
}

void ShowControlText(QWidget* panel, const QString& name, const std::string& text) {
  if (auto* box = panel->findChild<QLineEdit*>(name)) {
    box->setText(ToQt(text));
  }
}

int ControlState(const QWidget* panel, FieldKind kind, const QString& name, int choiceCount) {
  if (kind == FieldKind::Choice) {
    for (int k = 0; k < choiceCount; ++k) {
      const auto* option = panel->findChild<QAbstractButton*>(ControlName(name.toStdString(), k));
      if (option && option->isChecked()) {
        return k;
      }
    }
    return -1;
  }
  const auto* box = panel->findChild<QCheckBox*>(name);
  if (!box) {
    return 0;
  }
  return kind == FieldKind::BoxValue ? BoxValue(box) : (box->isChecked() ? 1 : 0);
}

void ShowControlState(QWidget* panel, FieldKind kind, const QString& name, int choiceCount, int state) {
  if (kind != FieldKind::Choice) {
    if (auto* box = panel->findChild<QCheckBox*>(name)) {
      kind == FieldKind::BoxValue ? ShowBoxValue(box, state) : box->setChecked(state != 0);
    }
    return;
  }
  // An exclusive group never lets its last checked button go, so release it while the options are set.
  QButtonGroup* group = nullptr;
  for (int k = 0; k < choiceCount; ++k) {
    if (auto* option = panel->findChild<QAbstractButton*>(ControlName(name.toStdString(), k))) {
      group = option->group();
      if (group) {
        group->setExclusive(false);
      }
      option->setChecked(k == state);
    }
  }
  if (group) {
    group->setExclusive(true);
  }
}

void FocusControl(QWidget* panel, const std::string& objectName) {
  if (objectName.empty()) {
    return;
  }
  auto* control = panel->findChild<QWidget*>(QString::fromStdString(objectName));
  if (!control) {
    return;
  }
  control->setFocus(Qt::OtherFocusReason);
  if (auto* box = qobject_cast<QLineEdit*>(control)) {
    box->selectAll();
  }
}

}  // namespace vesko
