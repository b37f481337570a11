#include "ui/results_follow.h"

#include <QDateTime>
#include <QFileInfo>
#include <QtConcurrent/QtConcurrentRun>

namespace vesko {

namespace {

// Often enough to redraw well within a second of a new row, where the watcher misses a change (some
// network file systems) or has dropped a file that was replaced.
constexpr int kCheckMilliseconds = 300;

}  // namespace

std::optional<LoadedResults> LoadResults(const QString& path, const std::string& column, bool wholeLinesOnly,
                                         std::string& error) {
  const std::string file = path.toStdString();
  Result<ResultSet> read = ReadResultSet(file, wholeLinesOnly);
  if (!read) {
    error = read.message();
    return std::nullopt;
  }
  if (read->series.empty()) {
    error = NoSeriesMessage(file);
    return std::nullopt;
  }
  UseIntensityColumn(read.value(), column);
  LoadedResults loaded{path, std::move(read.value()), {}};
  loaded.blocks = FigureBlocksOf(loaded.set);
  return loaded;
}

ResultsFollower::ResultsFollower(QObject* parent) : QObject(parent) {
  timer_.setInterval(kCheckMilliseconds);
  connect(&timer_, &QTimer::timeout, this, &ResultsFollower::check);
  connect(&watcher_, &QFileSystemWatcher::fileChanged, this, &ResultsFollower::check);
  connect(&reading_, &QFutureWatcher<std::optional<LoadedResults>>::finished, this,
          &ResultsFollower::finished);
}

ResultsFollower::~ResultsFollower() {
  reading_.waitForFinished();
}

void ResultsFollower::follow(const QStringList& paths, const std::string& column) {
  column_ = column;
  if (!watcher_.files().isEmpty()) {
    watcher_.removePaths(watcher_.files());
  }
  paths_ = paths;
  stamps_.clear();
  for (const QString& path : paths_) {
    stamps_.insert(path, StampOf(path));
  }
  if (paths_.isEmpty()) {
    timer_.stop();
    return;
  }
  watcher_.addPaths(paths_);
  timer_.start();
}

ResultsFollower::Stamp ResultsFollower::StampOf(const QString& path) {
  const QFileInfo info(path);
  if (!info.exists()) {
    return {};
  }
  return {info.size(), info.lastModified().toMSecsSinceEpoch()};
}

void ResultsFollower::check() {
  if (reading_.isRunning()) {
    return;  // the next check sees what changed meanwhile
  }
  for (const QString& path : paths_) {
    const Stamp now = StampOf(path);
    if (now.size >= 0 && !watcher_.files().contains(path)) {
      watcher_.addPath(path);  // a replaced file is no longer watched
    }
    if (now == stamps_.value(path)) {
      continue;
    }
    stamps_.insert(path, now);
    readingPath_ = path;
    reading_.setFuture(QtConcurrent::run([path, column = column_] {
      std::string error;
      return LoadResults(path, column, true, error);
    }));
    return;
  }
}

void ResultsFollower::finished() {
  std::optional<LoadedResults> loaded = reading_.result();
  if (!loaded) {
    // Unreadable for the moment (being replaced, say): what was shown stays, and the next check tries again.
    stamps_.insert(readingPath_, Stamp{});
    return;
  }
  if (paths_.contains(readingPath_)) {
    emit reread(*loaded);
  }
}

}  // namespace vesko
