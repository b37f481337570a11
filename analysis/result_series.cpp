#include "analysis/result_series.h"

#include <algorithm>
#include <cmath>
#include <span>

#include "analysis/result_file.h"
#include "analysis/rows_ahead.h"
#include "core/shown_text.h"

namespace vesko {
namespace {

// Where a layout keeps its numbers: how many fields a row needs and which of them are read.
struct Columns {
  std::size_t fields = 0;
  std::size_t x = 0;
  std::size_t y = 0;
  bool twoCounter = false;  // fields 1 and 2 are Io and I
};

struct KnownHeader {
  std::string_view names;  // the column names without blanks or the "(...)" of passes and average
  ResultLayout layout;
  Columns columns;
};

constexpr Columns kSlitScan{4, 2, 3, false};
constexpr Columns kSlitDec{3, 0, 2, false};
constexpr Columns kLens{2, 0, 1, false};
constexpr Columns kTwoCounter{4, 0, 3, true};

constexpr KnownHeader kKnownHeaders[] = {
    {"slit_y1,slit_y2,slit_center,Intensity", ResultLayout::SlitScan, kSlitScan},
    {"slit_z1,slit_z2,slit_center,Intensity", ResultLayout::SlitScan, kSlitScan},
    {"slit_y1,slit_y2,Intensity", ResultLayout::SlitDecScan, kSlitDec},
    {"slit_z1,slit_z2,Intensity", ResultLayout::SlitDecScan, kSlitDec},
    {"col_y,Io,I,I/Io", ResultLayout::CollScan, kTwoCounter},
    {"col_z,Io,I,I/Io", ResultLayout::CollScan, kTwoCounter},
    {"lens_y,Io", ResultLayout::LensScan, kLens},
    {"lens_z,Io", ResultLayout::LensScan, kLens},
    {"lens_ry,Io", ResultLayout::LensScan, kLens},
    {"lens_rz,Io", ResultLayout::LensScan, kLens},
    {"GonioY,Io,I,I/Io", ResultLayout::GonioYScan, kTwoCounter},
    {"gonio_stage_y,Io,I,I/Io", ResultLayout::GonioStage, kTwoCounter},
    {"gonio_stage_z,Io,I,I/Io", ResultLayout::GonioStage, kTwoCounter},
};

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
    text.remove_prefix(1);
  }
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) {
    text.remove_suffix(1);
  }
  return text;
}

// A header line taken apart: its column names joined by "," and the tag of its last column
// ("Repeat00" of "Intensity(Repeat00)"), "" when it has none.
struct Header {
  std::string names;
  std::vector<std::string> columns;
  std::string tag;
};

Header ParseHeader(std::string_view line) {
  Header header;
  std::size_t start = 0;
  for (;;) {
    const std::size_t comma = line.find(',', start);
    std::string_view column =
        Trimmed(line.substr(start, comma == std::string_view::npos ? comma : comma - start));
    header.tag.clear();
    if (!column.empty() && column.back() == ')') {
      const std::size_t open = column.rfind('(');
      if (open != std::string_view::npos) {
        header.tag = column.substr(open + 1, column.size() - open - 2);
        column = Trimmed(column.substr(0, open));
      }
    }
    header.names.append(header.columns.empty() ? "" : ",").append(column);
    header.columns.emplace_back(column);
    if (comma == std::string_view::npos) {
      return header;
    }
    start = comma + 1;
  }
}

const KnownHeader* FindKnown(const Header& header) {
  for (const KnownHeader& known : kKnownHeaders) {
    if (known.names == header.names) {
      return &known;
    }
  }
  return nullptr;
}

bool IsPass(const std::string& name) {
  return name.rfind("Repeat", 0) == 0;
}

// The scans that measure once more at the centre after their points write that row last, outside
// their passes. It lies half-way between the first and the last point, up to the rounding of the
// three written decimals; the newest point of a scan still running never does, unless every point
// lies at the centre.
void SetAsideReturnRow(ResultLayout layout, ResultSeries& s) {
  const std::size_t n = s.x.size();
  const bool writesOne = layout != ResultLayout::SlitDecScan && layout != ResultLayout::Generic;
  if (!writesOne || n < 2 || IsPass(s.name)) {
    return;
  }
  const double middle = (s.x[0] + s.x[n - 2]) / 2;
  const double room = 0.0011 + 4e-7 * std::max(std::fabs(s.x[0]), std::fabs(s.x[n - 2]));
  if (std::fabs(s.x[n - 1] - middle) > room) {
    return;
  }
  s.returnRow =
      ResultPoint{s.x.back(), s.y.back(), s.io.empty() ? 0 : s.io.back(), s.i.empty() ? 0 : s.i.back()};
  for (std::vector<double>* column : {&s.x, &s.y, &s.io, &s.i}) {
    if (!column->empty()) {
      column->pop_back();
    }
  }
}

ResultSeries NewSeries(std::string name, bool twoCounter, std::size_t room) {
  ResultSeries s;
  s.name = std::move(name);
  for (std::vector<double>* column : {&s.x, &s.y, &s.io, &s.i}) {
    if (twoCounter || (column != &s.io && column != &s.i)) {
      ReserveColumn(*column, room);
    }
  }
  return s;
}

}  // namespace

std::string_view LayoutName(ResultLayout layout) {
  switch (layout) {
    case ResultLayout::SlitScan:
      return "slit-scan";
    case ResultLayout::SlitDecScan:
      return "slit-dec-scan";
    case ResultLayout::CollScan:
      return "coll-scan";
    case ResultLayout::LensScan:
      return "lens-scan";
    case ResultLayout::GonioYScan:
      return "gonio-y-scan";
    case ResultLayout::GonioStage:
      return "gonio-stage-scan";
    case ResultLayout::Generic:
      break;
  }
  return "generic";
}

std::string NoSeriesMessage(const std::string& path) {
  return "No series in " + ShownText(path) +
         ": a result file starts with a header line of comma-separated column names, followed by rows of "
         "numbers.";
}

Result<ResultSet> ReadResultSet(const std::string& path, bool wholeLinesOnly) {
  ResultLines lines(path);
  ResultSet set;
  const std::optional<std::string_view> first = lines.Next();
  if (!first || (wholeLinesOnly && !lines.lastLineEnded())) {
    if (!lines.error().empty()) {
      return Result<ResultSet>::Refused(lines.error());
    }
    return set;
  }
  const Header header = ParseHeader(*first);
  const KnownHeader* known = FindKnown(header);
  Columns columns;
  if (known) {
    set.layout = known->layout;
    columns = known->columns;
  } else if (header.columns.size() >= 2) {
    columns = {header.columns.size(), 0, header.columns.size() - 1, false};
  } else {
    return set;  // a single column: nothing to plot against
  }
  set.xName = header.columns[columns.x];
  set.yName = header.columns[columns.y];
  const auto seriesName = [&](const Header& h) {
    return !known ? std::string("generic") : h.tag.empty() ? std::string("data") : h.tag;
  };

  std::vector<double> values(columns.fields);
  const std::uintmax_t bodySize = lines.size() - std::min<std::uintmax_t>(first->size(), lines.size());
  set.series.push_back(NewSeries(seriesName(header), columns.twoCounter, 0));
  bool reserved = false;
  bool stopped = false;
  // A long file's second half is read meanwhile by a second thread, up to its first line that is not
  // a row; its rows join the series being read when this reading gets there.
  std::vector<std::size_t> kept{columns.x, columns.y};
  if (columns.twoCounter) {
    kept.insert(kept.end(), {1, 2});
  }
  RowsAhead ahead(lines, path, columns.fields, kept);
  const bool split = ahead.start() && lines.StopAt(*ahead.start());
  const std::uint32_t keptFields = KeptFields(kept);
  for (;;) {
    const std::uintmax_t rowStart = lines.offset();
    ResultSeries* s = &set.series.back();
    if (!lines.NextPlainRow(values, keptFields)) {
      const std::optional<std::string_view> line = lines.Next();
      if (!line && split && lines.AtStop()) {
        reserved = true;  // rows read ahead without one read here first are the very first rows
        std::vector<double>* aheadColumns[] = {&s->x, &s->y, &s->io, &s->i};
        if (!lines.ResumeAt(ahead.AppendTo(aheadColumns))) {
          break;
        }
        continue;
      }
      if (!line || (wholeLinesOnly && !lines.lastLineEnded())) {
        break;
      }
      if (!ReadRowNumbers(*line, values)) {
        SetAsideReturnRow(set.layout, *s);
        const Header next = known ? ParseHeader(*line) : Header{};
        if (!known || FindKnown(next) != known) {
          stopped = true;
          break;
        }
        set.series.push_back(NewSeries(seriesName(next), columns.twoCounter, s->x.size() + 16));
        continue;
      }
    }
    if (!reserved) {
      reserved = true;
      const std::size_t room = ExpectedRows(bodySize, static_cast<std::size_t>(lines.offset() - rowStart));
      *s = NewSeries(std::move(s->name), columns.twoCounter, room);
    }
    s->x.push_back(values[columns.x]);
    s->y.push_back(values[columns.y]);
    if (columns.twoCounter) {
      s->io.push_back(values[1]);
      s->i.push_back(values[2]);
    }
  }
  if (!lines.error().empty()) {
    return Result<ResultSet>::Refused(lines.error());
  }
  if (!stopped) {
    SetAsideReturnRow(set.layout, set.series.back());
  }
  return set;
}

std::vector<std::string> IntensityColumns(const ResultSet& set) {
  if (set.layout == ResultLayout::CollScan || set.layout == ResultLayout::GonioYScan ||
      set.layout == ResultLayout::GonioStage) {
    return {"I/Io", "Io", "I"};
  }
  return {set.yName};
}

bool UseIntensityColumn(ResultSet& set, const std::string& column) {
  const std::vector<std::string> columns = IntensityColumns(set);
  if (std::find(columns.begin(), columns.end(), column) == columns.end()) {
    return false;
  }
  if (column == set.yName || (column != "Io" && column != "I")) {
    return true;
  }
  const bool io = column == "Io";
  for (ResultSeries& s : set.series) {
    s.y = io ? s.io : s.i;
    if (s.returnRow) {
      s.returnRow->y = io ? s.returnRow->io : s.returnRow->i;
    }
  }
  set.yName = column;
  return true;
}

}  // namespace vesko
