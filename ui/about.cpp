#include "ui/about.h"

#include <QAction>
#include <QKeySequence>
#include <QWidget>

#include "app/version.h"
#include "ui/dialogs.h"

namespace vesko {

QString AboutText() {
  return QString::fromUtf8(kAppTitle) + QStringLiteral(" ") +
         QString::fromUtf8(kVersion.data(), static_cast<qsizetype>(kVersion.size())) +
         QStringLiteral(
             "\n\nWrites Tcl scripts for the alignment scans of an X-ray beamline.\n"
             "The same scripts can be written from the command line: vesko-script --help.");
}

void AddAboutAction(QWidget* window, Dialogs& dialogs) {
  auto* about = new QAction(QStringLiteral("About ") + QString::fromUtf8(kAppTitle), window);
  about->setObjectName(QStringLiteral("actAbout"));
  about->setShortcut(QKeySequence(Qt::Key_F1));
  about->setShortcutContext(Qt::WindowShortcut);
  QObject::connect(about, &QAction::triggered, window,
                   [window, &dialogs] { dialogs.showMessage(window, AboutText()); });
  window->addAction(about);
  window->setContextMenuPolicy(Qt::ActionsContextMenu);
}

}  // namespace vesko
