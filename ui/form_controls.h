#pragma once

#include <QString>
#include <string>

#include "generators/form_fields.h"

class QWidget;

namespace vesko {

// The controls of a generator panel found through its window's description: each field's control by its
// object name, read into the form and shown from it.

/// The object name of `control`, element `element` of its control array (none when `element` is -1).
QString ControlName(const std::string& control, int element);

/// The text of the text box `name` below `panel`.
std::string ControlText(const QWidget* panel, const QString& name);
void ShowControlText(QWidget* panel, const QString& name, const std::string& text);

/// The state of the check box or option buttons `name` below `panel` as FormField::state has it.
int ControlState(const QWidget* panel, FieldKind kind, const QString& name, int choiceCount);
void ShowControlState(QWidget* panel, FieldKind kind, const QString& name, int choiceCount, int state);

/// Puts the keyboard focus on the control `objectName` below `panel`, a text box with its text selected.
void FocusControl(QWidget* panel, const std::string& objectName);

/// `form` with every field of its description read from the controls below `panel`.
template <typename Form>
Form ReadFields(const QWidget* panel, Form form, int element = -1) {
  for (const FormField<Form>& f : DescriptionOf<Form>().fields) {
    const QString name = ControlName(f.control, element);
    if (f.kind == FieldKind::Text) {
      f.setText(form, ControlText(panel, name));
    } else {
      f.setState(form, ControlState(panel, f.kind, name, f.choiceCount));
    }
  }
  return form;
}

/// Shows every field of `form` in its control below `panel`, in the description's order.
template <typename Form>
void ShowFields(QWidget* panel, const Form& form, int element = -1) {
  for (const FormField<Form>& f : DescriptionOf<Form>().fields) {
    const QString name = ControlName(f.control, element);
    if (f.kind == FieldKind::Text) {
      ShowControlText(panel, name, f.text(form));
    } else {
      ShowControlState(panel, f.kind, name, f.choiceCount, f.state(form));
    }
  }
}

}  // namespace vesko
