#include "flightscreen/companion_load.h"

#include <algorithm>
#include <cstddef>

#include "flight/gun_rounds.h"
#include "model/polygon_list.h"
#include "platform/runtime/clock.h"
#include "platform/runtime/cp932.h"
#include "platform/runtime/files.h"
#include "platform/runtime/numeric.h"
#include "platform/runtime/text.h"
#include "platform/runtime/textfile.h"
#include "platform/runtime/utf8.h"
#include "logbook/flight_log.h"
#include "logbook/log_text.h"
#include "shell/shell_state.h"

namespace zarv::flightscreen {
namespace {

using flight::CompanionData;
using flight::CompanionSample;

constexpr int kRowFields = 34;     // fields 0..33 of a split row
constexpr int kRowChars = 400;
constexpr int kOutlineFields = 5;  // label, X, Y, Z and one spare
constexpr int kOutlineChars = 71;
constexpr double kPoweredEastShift = -20.0;  // m
constexpr double kPoweredNorthShift = 22.0;  // m
constexpr int kMinFileNameLength = 6;
constexpr const char* kOutlineTitle = "機体各部の座標";
// Rows that fit the record: a powered log's row i lands at i - 1, a light
// log's at i - 40; the larger bound keeps the row count sane for either.
constexpr int32_t kMaxRowIndex = CompanionData::kSampleCapacity - 1 + kLightFirstRow;

// The log's lines as text, read one after the other; nothing past the last.
class LineReader {
 public:
  explicit LineReader(const std::string& path) : in_(path, records::kMaxLogFileBytes) {}
  bool AtEnd() { return in_.AtEnd(); }
  std::string_view Peek() { return in_.Peek(); }
  std::string Read() { return FileLineToUtf8(in_.Next()); }

 private:
  TextLineReader in_;
};

double Field(const std::vector<std::string>& f, int column) {
  return records::LogValue(Val(f[static_cast<std::size_t>(column - 1)]));
}

int16_t Field16(const std::vector<std::string>& f, int column) { return CInt(Field(f, column)); }

// Columns as the flight log numbers them, the first time column being 1.
void StoreLightRow(const std::vector<std::string>& f, CompanionSample& k) {
  k.CompanionAltitude = Field(f, 3);
  k.CompanionEast = Field(f, 25);
  k.CompanionNorth = Field(f, 26);
  k.CompanionPitch = Field(f, 6);
  k.CompanionHeading = Field(f, 19);
  k.CompanionBank = Field(f, 20);
  k.CompanionElevator = Field(f, 14);
  k.CompanionRudder = Field16(f, 16);
  k.CompanionInnerDeflection = Field(f, 22);
  k.CompanionOuterDeflection = Field(f, 23);
  k.CompanionTipDeflection = Field(f, 24);
}

void StorePoweredRow(const std::vector<std::string>& f, CompanionSample& k) {
  k.CompanionAltitude = Field(f, 3);
  k.CompanionEast = Field(f, 32) + kPoweredEastShift;
  k.CompanionNorth = Field(f, 33) + kPoweredNorthShift;
  k.CompanionPitch = Field(f, 6);
  k.CompanionHeading = Field(f, 26);
  k.CompanionBank = Field(f, 27);
  k.CompanionElevator = Field(f, 14);
  k.CompanionRudder = Field16(f, 16);
  k.CompanionAileron = Field16(f, 17);
  k.CompanionFlap = Field16(f, 18);
  k.CompanionNozzle = Field16(f, 20);
  k.CompanionAfterburner = Field16(f, 22);
  k.CompanionInnerDeflection = Field(f, 29);
  k.CompanionOuterDeflection = Field(f, 30);
  k.CompanionTipDeflection = Field(f, 31);
}

// Once the record has run out the companion holds its last position and
// attitude; the control surfaces and bending are not held.
void HoldLastSample(CompanionData& companion, int32_t count) {
  const CompanionSample last = companion.Sample(count - 1);
  for (int32_t i = count; i < CompanionData::kSampleCapacity; ++i) {
    CompanionSample& k = companion.Sample(i);
    k.CompanionAltitude = last.CompanionAltitude;
    k.CompanionPitch = last.CompanionPitch;
    k.CompanionElevator = last.CompanionElevator;
    k.CompanionHeading = last.CompanionHeading;
    k.CompanionBank = last.CompanionBank;
    k.CompanionEast = last.CompanionEast;
    k.CompanionNorth = last.CompanionNorth;
  }
}

// A coordinate no airframe has (1E+400) is read as one the drawing can take.
double OutlineValue(const std::string& field) { return records::LogValue(Val(field)); }

// One outline line: fields 1, 2 and 3 are X, Y and Z (a hinge line has two
// values in fields 1 and 2).
std::vector<std::string> NextOutlineLine(LineReader& in) {
  return SplitLogLine(in.Read(), kOutlineFields, kOutlineChars);
}

template <class Grid>
void ReadGrid(LineReader& in, Grid& x, Grid& y, Grid& z) {
  for (int s = 0; s < Grid::kStations; ++s) {
    for (int p = 0; p < Grid::kPoints; ++p) {
      if (in.AtEnd()) return;
      const std::vector<std::string> f = NextOutlineLine(in);
      x(s, p) = OutlineValue(f[1]);
      y(s, p) = OutlineValue(f[2]);
      z(s, p) = OutlineValue(f[3]);
    }
  }
}

void ReadPivots(LineReader& in, model::PartPivotSet& pivots, int first, int count) {
  for (int k = first; k < first + count; ++k) {
    if (in.AtEnd()) return;
    const std::vector<std::string> f = NextOutlineLine(in);
    pivots[k] = {OutlineValue(f[1]), OutlineValue(f[2]), OutlineValue(f[3])};
  }
}

void ReadHinge(LineReader& in, double& first, double& second) {
  if (in.AtEnd()) return;
  const std::vector<std::string> f = NextOutlineLine(in);
  first = OutlineValue(f[1]);
  second = OutlineValue(f[2]);
}

// The coordinate block after its title; a short block leaves zeros.
void ReadOutlineBlock(LineReader& in, model::CompanionOutline& o) {
  while (!in.AtEnd() && in.Read() != kOutlineTitle) {
  }
  model::PartPivotSet& pivots = o.Pivots.Points;
  ReadGrid(in, o.FrontFuselageX, o.FrontFuselageY, o.FrontFuselageZ);
  ReadPivots(in, pivots, 0, 2);
  ReadGrid(in, o.RearFuselageX, o.RearFuselageY, o.RearFuselageZ);
  ReadPivots(in, pivots, 2, 3);
  ReadGrid(in, o.WingX, o.WingY, o.WingZ);
  ReadPivots(in, pivots, 5, 3);
  ReadGrid(in, o.TailX, o.TailY, o.TailZ);
  ReadPivots(in, pivots, 8, 4);
  ReadGrid(in, o.NacelleX, o.NacelleY, o.NacelleZ);
  ReadPivots(in, pivots, 12, 2);
  ReadHinge(in, o.Pivots.TailplaneHingeY, o.Pivots.TailplaneHingeZ);
  ReadHinge(in, o.Pivots.FinHingeX, o.Pivots.FinHingeY);
}

// Samples the companion can use from a log whose last row is `rows`: a
// light log's first two seconds are not used, nor a powered log shorter
// than a second.
int32_t UsableSamples(int32_t rows, bool powered) {
  if (!powered) return rows > kLightFirstRow ? rows - kLightFirstRow : 0;
  return rows > 20 ? rows - 1 : 0;
}

}  // namespace

std::vector<std::string> SplitLogLine(const std::string& line, int maxFields, int maxChars) {
  std::vector<std::string> fields(static_cast<std::size_t>(maxFields));
  std::size_t pos = 0;  // byte offset of the next character
  int chars = 0;
  int j = 0;
  // The next character's bytes (none past the line's end).
  const auto next = [&](std::size_t& at, std::size_t& len) {
    at = pos;
    len = pos < line.size() ? Utf8CharLen(line, pos) : 0;
    pos += len;
  };
  while (j < maxFields - 1 && chars < maxChars) {
    ++chars;
    std::size_t at = 0, len = 0;
    next(at, len);
    if (len == 1 && line[at] == ',') {
      ++j;
      ++chars;
      next(at, len);
    }
    fields[static_cast<std::size_t>(j)].append(line, at, len);
  }
  return fields;
}

std::string CompanionProgressText(int32_t row, int32_t rows, double elapsedSeconds) {
  const double percent = rows > 0 ? Int(static_cast<double>(row) / rows * 100 + 0.999) : 0;
  std::string text = Format(percent, "#0") + "％完了しました";
  if (elapsedSeconds > 0.5 && row > 0) {
    const double remaining = elapsedSeconds / row * (rows - row) + 0.3;
    text += "\r\nあと" + Format(remaining, "##0") + "秒かかります";
  }
  return text;
}

CompanionLoadResult LoadCompanionFlight(const std::string& programFolder,
                                        flight::FlightRecord& record, CompanionData& companion,
                                        model::PartReference& reference, double& taskStartTime,
                                        const CompanionLoadProgress& progress) {
  companion.Reset();
  CompanionLoadResult result;
  const std::vector<std::string> names = ListFiles(programFolder, "*.csv");
  if (names.empty() || Len(names.front()) < kMinFileNameLength) return result;
  result.FileTaken = true;
  result.FileName = names.front();
  if (progress.Opened) progress.Opened();
  LineReader in(JoinPath(programFolder, names.front()));

  in.Read();  // the flight summary
  const int32_t promised = CLng(Val(in.Read()));
  record.LogRowCount = std::min(promised, kMaxRowIndex);
  taskStartTime = Timer();
  const int32_t step = std::max<int32_t>(10, CheckedTruncate<int32_t>(record.LogRowCount / 20.0, true));
  if (progress.SetTitle) progress.SetTitle("随伴ﾓｰﾄﾞに必要なﾌｧｲﾙを読み込んでいます。");

  int wholeRow = records::kLightLogFields;
  for (int32_t i = 0; i <= record.LogRowCount; ++i) {
    if (record.LogRowCount >= 4) {
      if (i == 0) {
        wholeRow = records::LogLayoutFields(in.Read());
        result.Powered = wholeRow == records::kPoweredLogFields;
        in.Read();  // units
      }
      // The data end early at the end of the file, at the trailer or the
      // outline title of a cancelled log, and at a row cut off by the end
      // of the file.
      const bool endOfData = in.AtEnd() || in.Peek().find(',') == std::string_view::npos;
      const int32_t index = result.Powered ? i - 1 : i - kLightFirstRow;
      if (endOfData || index >= CompanionData::kSampleCapacity) {
        record.LogRowCount = i - 1;
        break;
      }
      const std::string row = in.Read();
      if (records::LogRowFields(row) < wholeRow && in.AtEnd()) {
        record.LogRowCount = i - 1;
        break;
      }
      const std::vector<std::string> f = SplitLogLine(row, kRowFields, kRowChars);
      if (index >= 0) {
        if (result.Powered) {
          StorePoweredRow(f, companion.Sample(index));
        } else {
          StoreLightRow(f, companion.Sample(index));
        }
      }
      if (i > 0 && i % step == 0 && progress.SetText) {
        progress.SetText(CompanionProgressText(i, record.LogRowCount, Timer() - taskStartTime));
      }
    }
    if (progress.Yield) progress.Yield();
  }

  taskStartTime = 0;
  const int32_t rows = record.LogRowCount;
  const int32_t usable = UsableSamples(rows, result.Powered);
  companion.CompanionSampleCount = usable;
  if (usable > 0) {
    HoldLastSample(companion, usable);
    ReadOutlineBlock(in, companion.Outline);
    reference = model::PartReferenceFromPivots(companion.Outline.Pivots.Points);
    // Its readers only test the count: the log's own row count, as long as
    // some of its rows were usable.
    companion.CompanionSampleCount = rows;
  }
  if (progress.Close) progress.Close();
  return result;
}

CompanionLoadResult LoadCompanionFlight(const CompanionLoadProgress& progress) {
  return LoadCompanionFlight(ProgramFolder(), flight::Record(), flight::Companion(),
                             model::Scene().Reference, shell::Shell().TaskStartTime, progress);
}

void ConnectCompanionSeams(flight::FlightSeams& seams, const CompanionSeamLinks& links) {
  seams.UpdateCompanion = [links] {
    flight::UpdateCompanionPosition(*links.Companion, links.Record->RecordCount);
  };
  seams.UpdateGunRounds = [links] {
    flight::GunRoundsContext c{*links.State, *links.Record, *links.Outline, *links.Companion,
                               *links.View, links.SoundOn != nullptr ? *links.SoundOn : int16_t{0},
                               links.SetHitVolume};
    flight::UpdateGunRounds(c, Timer());
  };
}

}  // namespace zarv::flightscreen
