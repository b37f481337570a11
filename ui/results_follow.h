#pragma once

#include <QFileSystemWatcher>
#include <QFutureWatcher>
#include <QHash>
#include <QObject>
#include <QStringList>
#include <QTimer>
#include <optional>
#include <string>

#include "ui/results_plot.h"

namespace vesko {

/// Reads the result file at `path` with the figures of its series; "Cannot read <path>: <reason>" or
/// the no-series message in `error` when there is nothing to show.
std::optional<LoadedResults> LoadResults(const QString& path, std::string& error);

/// Watches result files that the control server is still writing and reads each again, away from the
/// window's thread, soon after it changes. A file that cannot be read for a moment is tried again.
class ResultsFollower final : public QObject {
  Q_OBJECT

 public:
  explicit ResultsFollower(QObject* parent = nullptr);
  ~ResultsFollower() override;

  /// Follows exactly `paths` from now on; an empty list stops following.
  void follow(const QStringList& paths);

 signals:
  /// A followed file was read again after it changed.
  void reread(const LoadedResults& results);

 private:
  struct Stamp {
    qint64 size = -1;
    qint64 modified = -1;
    bool operator==(const Stamp&) const = default;
  };
  static Stamp StampOf(const QString& path);
  void check();
  void finished();

  QFileSystemWatcher watcher_;
  QTimer timer_;
  QStringList paths_;
  QHash<QString, Stamp> stamps_;
  QFutureWatcher<std::optional<LoadedResults>> reading_;
  QString readingPath_;
};

}  // namespace vesko
