#pragma once

#include <QString>
#include <functional>

#include "generators/script_destination.h"

class QPlainTextEdit;
class QPushButton;
class QWidget;

namespace vesko {

/// The text of a destination line: "→ <script>, results <file>, <file>", or the note that the name box
/// holds no usable name.
QString DestinationText(const ScriptDestination& destination);

/// The read-only destination line below the action row of `fileCreate` (its name with "cmd" made "txt" and
/// "FileCreate" made "Destination"): three lines high, a long path wrapped rather than widening the window;
/// the mouse can select its text, the Tab key passes it by.
QPlainTextEdit* MakeDestinationLine(const QPushButton* fileCreate, QWidget* parent);

/// Keeps `line` showing `destination()` from the first showing of `panel` on: again at each showing, as
/// any box or button of the panel changes and when the output folder changes.
void FollowDestination(QWidget* panel, QPlainTextEdit* line, std::function<ScriptDestination()> destination);

}  // namespace vesko
