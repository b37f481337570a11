#pragma once

#include <QString>

class QWidget;

namespace vesko {

class Dialogs;

/// The About box's text: the program's name and version, and where its command line is described.
QString AboutText();

/// Gives `window` the action "About VeskoScriptCreator" (object name `actAbout`): on its context menu
/// (right-click on the window) and on F1. The box is shown through `dialogs`.
void AddAboutAction(QWidget* window, Dialogs& dialogs);

}  // namespace vesko
