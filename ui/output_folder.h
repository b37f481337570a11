#pragma once

#include <QObject>
#include <QString>
#include <string>

namespace vesko {

/// Tells every window that the one application output folder has changed.
class OutputFolderNews final : public QObject {
  Q_OBJECT

 signals:
  /// OutputFolder now holds `folder`.
  void changed(const QString& folder);
};

/// The one source of folder news.
OutputFolderNews& OutputFolderChanges();

/// Makes `folder` the application's output folder and tells every window.
void ChangeOutputFolder(std::string folder);

}  // namespace vesko
