#pragma once

class QObject;

namespace vesko {

/// From now on Return and Enter press the push button that has the keyboard focus, in every window of the
/// program, as the space bar does.
void ReturnPressesFocusedButtons(QObject* application);

}  // namespace vesko
