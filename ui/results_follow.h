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

/// Reads the result file at `path` with `column` as the intensity (the layout's own when it has no such
/// column), and the figures of its series; "Cannot read <path>: <reason>" or the no-series message in
/// `error` when there is nothing to show. `wholeLinesOnly` leaves out a last line still being written.
std::optional<LoadedResults> LoadResults(const QString& path, const std::string& column, bool wholeLinesOnly,
                                         std::string& error);

/// Watches result files that the control server is still writing and reads each again, away from the
/// window's thread, soon after it changes. A file that cannot be read for a moment is tried again.
class ResultsFollower final : public QObject {
  Q_OBJECT

 public:
  explicit ResultsFollower(QObject* parent = nullptr);
  ~ResultsFollower() override;

  /// Follows exactly `paths` from now on, reading `column` as the intensity; an empty list stops.
  void follow(const QStringList& paths, const std::string& column);

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
  std::string column_;
  QHash<QString, Stamp> stamps_;
  QFutureWatcher<std::optional<LoadedResults>> reading_;
  QString readingPath_;
};

}  // namespace vesko
