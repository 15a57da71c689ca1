#include "logbook/flight_log.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string_view>

#include "logbook/log_text.h"
#include "model/rotation.h"
#include "platform/runtime/angles.h"
#include "platform/runtime/clock.h"
#include "platform/runtime/cp932.h"
#include "platform/runtime/files.h"
#include "platform/runtime/numeric.h"
#include "platform/runtime/text.h"
#include "platform/runtime/textfile.h"

namespace zarv::records {

using flight::FlightRecord;
using flight::FlightSample;
using flight::kMarkCount;
using flight::kRecordCapacity;

namespace {

constexpr const char* kCountText = ",'=データ行数";

const std::vector<std::string>& Columns(bool powered, bool units) {
  static const std::vector<std::string> kNamesHead = {
      "時間", "距離", "高度", "対気速度", "風速", "ピッチ角", "ﾋﾟｯﾁ角速度", "主翼迎角",
      "横滑り角", "経路角", "荷重", "揚力係数", "水尾揚力", "水尾舵角", "水尾操舵量", "垂尾舵角"};
  static const std::vector<std::string> kNamesPowered = {
      "ｴﾙﾛﾝ舵角", "フラップ角", "前縁ﾌﾗｯﾌﾟ角", "ノズル開度", "ノズル角度", "ｵｰｷﾞｭﾒﾝﾀ開度", "機体温度"};
  static const std::vector<std::string> kNamesTail = {
      "重心", "風圧中心", "機首方位", "バンク角", "進行方位", "内翼撓角",
      "外翼撓角", "翼端撓角", "東へ", "北へ", "風切り音", "時間"};
  static const std::vector<std::string> kUnitsHead = {
      "Sec", "m", "m", "m/s", "m/s", "Deg", "Deg/Sec", "Deg", "Deg", "Deg", "Ｇ", "", "Ｎ", "Deg", "Deg", "Deg"};
  static const std::vector<std::string> kUnitsPowered = {"Deg", "Deg", "Deg", "%", "Deg", "%", "K"};
  static const std::vector<std::string> kUnitsTail = {
      "%", "%", "Deg", "Deg", "Deg", "Deg", "Deg", "Deg", "m", "m", " ﾎﾞﾘｭｰﾑ比", "Sec"};
  auto join = [](const std::vector<std::string>& a, const std::vector<std::string>* b,
                 const std::vector<std::string>& c) {
    std::vector<std::string> all = a;
    if (b) all.insert(all.end(), b->begin(), b->end());
    all.insert(all.end(), c.begin(), c.end());
    return all;
  };
  static const std::vector<std::string> kLight[2] = {join(kNamesHead, nullptr, kNamesTail),
                                                     join(kUnitsHead, nullptr, kUnitsTail)};
  static const std::vector<std::string> kPowered[2] = {join(kNamesHead, &kNamesPowered, kNamesTail),
                                                       join(kUnitsHead, &kUnitsPowered, kUnitsTail)};
  return (powered ? kPowered : kLight)[units ? 1 : 0];
}

// The writer composes the file's cp932 bytes directly: only the fixed
// texts need converting, the rows are ASCII.
std::string Enc(std::string_view text, bool cp932) { return cp932 ? Utf8ToCp932(text) : std::string(text); }

void AppendHeaderLine(std::string& out, const std::vector<std::string>& entries, bool cp932) {
  std::string line;
  for (size_t i = 0; i < entries.size(); ++i) {
    if (i) line += ',';
    line += entries[i];
  }
  out += Enc(line, cp932);
  out += "\r\n";
}

double Now(const LongTaskHooks& hooks) { return hooks.Seconds ? hooks.Seconds() : Timer(); }

// A log written or read without the progress dialog (the probe, the tests)
// leaves these hooks empty by design, and they are skipped; the flight
// screen's dialog fills every one, checked when it has set itself up.
void Call(const std::function<void()>& f) {
  if (f) f();
}

// The log's progress step: a twentieth of the rows, at least 10.
int32_t ProgressStep(int32_t rows) {
  const int32_t step = CheckedTruncate<int32_t>(rows / 20.0, true);
  return step < 10 ? 10 : step;
}

std::string PercentText(double p) { return Format(p, "#0") + "％完了しました"; }

std::string EstimateText(double elapsed, double done, double total) {
  return "\r\nあと" + Format(elapsed / done * (total - done) + 0.3, "##0") + "秒かかります";
}

// Last index a mark table may be read or written at for a count.
int MarkBound(double last) {
  if (!(last >= 0)) return -1;
  return last > kMarkCount - 1 ? kMarkCount - 1 : CheckedRound<int>(last);
}

// One data row, made in a buffer and appended whole.
void AppendRow(std::string& out, const FlightSample& x, bool powered) {
  char row[36 * (kNumberTextRoom + 1) + 2];
  char* p = PutFixed(row, x.Time, 2);
  const auto timeLength = p - row;
  *p++ = ',';
  auto field = [&p](double v) {
    p = PutStr(p, v);
    *p++ = ',';
  };
  for (double v : {x.DistanceFlown, x.Height, x.Airspeed, x.RecordedWindSpeed, x.Pitch, x.PitchRateDeg,
                   x.WingAngleOfAttack, x.SideslipAngle, x.PathAngleDeg, x.LoadFactor, x.LiftCoefficient,
                   x.TailplaneLift, x.TailplaneAngle, x.TailplaneControl, x.FinAngle})
    field(v);
  if (powered) {
    for (int16_t v : {x.AileronDeg, x.FlapSetting, x.LeadingEdgeFlapAngle, x.NozzleOpening, x.NozzleAngle,
                      x.AfterburnerOpening, x.AirframeTemperature})
      field(v);
  }
  for (double v : {x.CentreOfGravityPct, x.PressureCentre, x.HeadingDeg, x.Bank, x.Track, x.InnerWingDeflection,
                   x.OuterWingDeflection, x.WingTipDeflection, x.East, x.North, x.WindNoiseVolume})
    field(v);
  std::memcpy(p, row, static_cast<size_t>(timeLength));  // the time again
  p += timeLength;
  *p++ = ',';
  *p++ = '\r';
  *p++ = '\n';
  out.append(row, p);
}

template <typename Grid>
void AppendGrid(std::string& out, const char* utf8Label, const Grid& gx, const Grid& gy, const Grid& gz,
                bool cp932) {
  const std::string label = Enc(utf8Label, cp932);
  for (int s = 0; s < Grid::kStations; ++s) {
    for (int p = 0; p < Grid::kPoints; ++p) {
      out += label;
      out += Format(s, "00");
      for (double v : {gx(s, p), gy(s, p), gz(s, p)}) {
        out += ',';
        AppendFixed(out, v, 3);
      }
      out += ",\r\n";
    }
  }
}

void AppendPivots(std::string& out, const model::PartPivotSet& pivots, int from, int to, bool cp932) {
  for (int k = from; k <= to; ++k) {
    out += Enc(model::kPartPivotLabels[static_cast<size_t>(k)], cp932);
    out += ',';
    const model::OutlinePoint& q = pivots[k];
    for (double v : {q.X, q.Y, q.Z}) {
      AppendFixed(out, v, 3);
      out += ',';
    }
    out += "\r\n";
  }
}

void AppendCoordinateBlock(std::string& out, const model::AirframeOutline& o, bool cp932) {
  out += Enc(kCoordinateTitle, cp932);
  out += "\r\n";
  AppendGrid(out, "前部胴体", o.FrontFuselageX, o.FrontFuselageY, o.FrontFuselageZ, cp932);
  AppendPivots(out, o.PartPivots, 0, 1, cp932);
  AppendGrid(out, "後部胴体", o.RearFuselageX, o.RearFuselageY, o.RearFuselageZ, cp932);
  AppendPivots(out, o.PartPivots, 2, 4, cp932);
  AppendGrid(out, "主翼", o.WingX, o.WingY, o.WingZ, cp932);
  AppendPivots(out, o.PartPivots, 5, 7, cp932);
  AppendGrid(out, "尾翼", o.TailX, o.TailY, o.TailZ, cp932);
  AppendPivots(out, o.PartPivots, 8, 11, cp932);
  AppendGrid(out, "予備", o.NacelleX, o.NacelleY, o.NacelleZ, cp932);
  AppendPivots(out, o.PartPivots, 12, 13, cp932);
  out += Enc("水平尾翼回転軸YZ座標,", cp932);
  AppendFixed(out, o.TailplaneHingeY, 3);
  out += ',';
  AppendFixed(out, o.TailplaneHingeZ, 3);
  out += "\r\n";
  out += Enc("垂直尾翼回転軸XY座標,", cp932);
  AppendFixed(out, o.FinHingeX, 3);
  out += ',';
  AppendFixed(out, o.FinHingeY, 3);
  out += "\r\n";
}

double LineValue(std::string_view line) { return LogValue(Val(line)); }

}  // namespace

const std::vector<std::string>& LogColumnNames(bool powered) { return Columns(powered, false); }
const std::vector<std::string>& LogColumnUnits(bool powered) { return Columns(powered, true); }

double NormaliseBank(double degrees) {
  if (!std::isfinite(degrees)) return degrees;
  if (degrees > 180) return degrees - 360 * std::ceil((degrees - 180) / 360);
  if (degrees < -180) return degrees + 360 * std::ceil((-180 - degrees) / 360);
  return degrees;
}

void ComputeTipTrail(FlightSample& x, const model::AirframeOutline& o) {
  model::AttitudeRotation att;
  att.BankSin = std::sin(x.Bank / kDegreesPerRadian);
  att.BankCos = std::cos(x.Bank / kDegreesPerRadian);
  att.PitchSin = std::sin(x.Pitch / kDegreesPerRadian);
  att.PitchCos = std::cos(x.Pitch / kDegreesPerRadian);
  att.HeadingSin = std::sin(x.HeadingDeg / kDegreesPerRadian);
  att.HeadingCos = std::cos(x.HeadingDeg / kDegreesPerRadian);
  const double rise = (o.WingX[3] - o.WingX[2]) * std::sin(x.InnerWingDeflection / kDegreesPerRadian) +
                      (o.WingX[5] - o.WingX[4]) * std::sin(x.OuterWingDeflection / kDegreesPerRadian) +
                      (o.WingX[7] - o.WingX[6]) * std::sin(x.WingTipDeflection / kDegreesPerRadian);
  const double tipZ = rise + o.WingZ[7];
  model::WorkPoint a{o.WingX[7], o.WingY[7], tipZ};
  model::RotatePointByAttitude(att, a);
  x.TipAEast = Int((a.X + x.East) * 100) / 100;
  x.TipANorth = Int((a.Y + x.North) * 100) / 100;
  x.TipAHeight = Int((a.Z + x.Height) * 100) / 100;
  model::WorkPoint b{-o.WingX[7], o.WingY[7], tipZ};
  model::RotatePointByAttitude(att, b);
  x.TipBEast = Int((b.X + x.East) * 100) / 100;
  x.TipBNorth = Int((b.Y + x.North) * 100) / 100;
  x.TipBHeight = Int((b.Z + x.Height) * 100) / 100;
}


namespace {

std::string Compose(const LogWriteInputs& in, FlightRecord& r, const model::AirframeOutline& outline,
                    const LongTaskHooks& hooks, bool cp932) {
  // A cancelled flight drops its last two samples, and any sample taken at
  // or after the cancel that is still left (a light aircraft records on
  // until it has slowed down); otherwise the log ends with the latest.
  int32_t last = r.RecordCount;
  if (in.Altitude < kCancelledBelow) {
    last = r.RecordCount - 2;
    while (last >= 0 && last < kRecordCapacity && r.Samples[static_cast<size_t>(last)].Height < kCancelledBelow) --last;
    r.RecordCount = last;
  } else if (in.LatestRow >= 0) {
    last = in.LatestRow;
  }
  const bool powered = aircraft::LaunchAbove10(in.LaunchSpeed);
  std::string out;
  out.reserve(last > 3 ? static_cast<size_t>(last) * (powered ? 220 : 190) + 60000 : 60000);
  out += Enc(in.FlightSummary, cp932);
  out += "\r\n";
  out += Str(last);
  out += Enc(kCountText, cp932);
  out += "\r\n";

  r.LogRowCount = last;
  const double start = Now(hooks);
  const int32_t step = ProgressStep(r.LogRowCount);
  if (hooks.SetTitle) hooks.SetTitle(kWriteProgressTitle);
  // The bound is read afresh each pass: the progress dialog's cancel zeroes it.
  for (int32_t i = 0; i <= r.LogRowCount && i < kRecordCapacity; ++i) {
    if (r.LogRowCount > 3) {
      FlightSample& x = r.Row(i);
      x.Bank = NormaliseBank(x.Bank);
      if (i == 0) {
        AppendHeaderLine(out, Columns(powered, false), cp932);
        AppendHeaderLine(out, Columns(powered, true), cp932);
      }
      x.Time = static_cast<float>(x.Time - in.LaunchTime);
      ComputeTipTrail(x, outline);
      AppendRow(out, x, powered);
      if (i >= 1 && i % step == 0 && hooks.SetText) {
        const double total = r.LogRowCount;
        const double p = Int(i / total * 100 + 0.999);
        const double elapsed = Now(hooks) - start;
        hooks.SetText(elapsed > 0.5 ? PercentText(p) + EstimateText(elapsed, i, total) : PercentText(p));
      }
    }
    Call(hooks.DoEvents);
  }
  Call(hooks.AfterRows);

  if (in.EngineCount > 0) {
    out += Str(in.LaunchTime);
    out += "\r\n";
    out += StrSingle(r.LaunchMarkTenths);
    out += "\r\n";
    const int marks = MarkBound(std::nearbyint(r.LaunchMarkTenths / 10.0));
    for (int k = 0; k <= marks; ++k) {
      out += Str(r.LaunchMarkSamples[static_cast<size_t>(k)]);
      out += "\r\n";
    }
    out += Str(r.SoundStartCount);
    out += "\r\n";
    const int sounds = MarkBound(r.SoundStartCount);
    for (int k = 0; k <= sounds; ++k) {
      out += Str(r.SoundStartSamples[static_cast<size_t>(k)]);
      out += "\r\n";
    }
  }
  AppendCoordinateBlock(out, outline, cp932);
  Call(hooks.Close);
  return out;
}

}  // namespace

std::string ComposeFlightLog(const LogWriteInputs& in, FlightRecord& r, const model::AirframeOutline& outline,
                             const LongTaskHooks& hooks) {
  return Compose(in, r, outline, hooks, false);
}

std::string ComposeFlightLogFile(const LogWriteInputs& in, FlightRecord& r, const model::AirframeOutline& outline,
                                 const LongTaskHooks& hooks) {
  return Compose(in, r, outline, hooks, true);
}

bool WriteFlightLog(const std::string& path, const LogWriteInputs& in, FlightRecord& r,
                    const model::AirframeOutline& outline, const LongTaskHooks& hooks) {
  return AtomicWriteBytes(path, ComposeFlightLogFile(in, r, outline, hooks));
}

void ReadLogRow(std::string_view row, bool powered, FlightSample& x) {
  const int lastField = powered ? 33 : 26;
  std::string_view fields[35];
  size_t at = 0;
  for (int k = 0; k <= lastField && at <= row.size(); ++k) {
    const size_t comma = row.find(',', at);
    const size_t end = comma == std::string_view::npos ? row.size() : comma;
    fields[k] = row.substr(at, end - at);
    if (comma == std::string_view::npos) break;
    at = comma + 1;
  }
  double v[35];
  for (int k = 0; k <= lastField; ++k) v[k] = LogValue(FieldValue(fields[k].data(), fields[k].data() + fields[k].size()));
  x.Time = static_cast<float>(v[0]);
  double* head[] = {&x.DistanceFlown, &x.Height, &x.Airspeed, &x.RecordedWindSpeed, &x.Pitch,
                    &x.PitchRateDeg, &x.WingAngleOfAttack, &x.SideslipAngle, &x.PathAngleDeg,
                    &x.LoadFactor, &x.LiftCoefficient, &x.TailplaneLift, &x.TailplaneAngle,
                    &x.TailplaneControl, &x.FinAngle};
  for (int k = 0; k < 15; ++k) *head[k] = v[k + 1];
  int k = 16;
  if (powered) {
    for (int16_t* f : {&x.AileronDeg, &x.FlapSetting, &x.LeadingEdgeFlapAngle, &x.NozzleOpening,
                       &x.NozzleAngle, &x.AfterburnerOpening, &x.AirframeTemperature})
      *f = CInt(v[k++]);
  }
  for (double* f : {&x.CentreOfGravityPct, &x.PressureCentre, &x.HeadingDeg, &x.Bank, &x.Track,
                    &x.InnerWingDeflection, &x.OuterWingDeflection, &x.WingTipDeflection, &x.East,
                    &x.North, &x.WindNoiseVolume})
    *f = v[k++];
  x.Height = Int(x.Height * 100) / 100;
  x.East = Int(x.East * 100) / 100;
  x.North = Int(x.North * 100) / 100;
}

namespace {

// Reads the log's text: UTF-8, or the file's cp932 bytes as they are (the
// rows are ASCII, and no cp932 trail byte is a digit, sign, point or comma,
// so the numbers parse the same either way; only the summary is converted).
LogReadResult ReadLog(TextLineReader& lines, bool cp932, const LogReadInputs& in, FlightRecord& r,
                      const model::AirframeOutline& outline, const LongTaskHooks& hooks) {
  LogReadResult result;
  const std::string summary = cp932 ? FileLineToUtf8(lines.Next()) : std::string(lines.Next());
  const std::string_view countLine = lines.Next();
  // A file without a count where the log has it is no log: the record the
  // caller shows stays as it is.
  if (ValLength(countLine) == 0) return result;
  result.Opened = true;
  result.FlightSummary = summary;
  const double count = LineValue(countLine);
  r.RecordSampleCount = count;
  // A count beyond what the record holds would send the charts and the
  // replay past its end: it is cut to the last row.
  r.LogRowCount = std::min<int32_t>(CLng(count), kRecordCapacity - 1);
  const int32_t bound = r.LogRowCount;
  const bool powered = aircraft::LaunchAbove10(in.LaunchSpeed);
  const int32_t step = ProgressStep(r.LogRowCount);
  const double start = Now(hooks);

  int wholeRow = kLightLogFields;
  bool rowsEnded = false;
  for (int32_t i = 0; i <= bound && !rowsEnded; ++i) {
    if (r.LogRowCount >= 4 && !lines.AtEnd()) {
      if (i == 0) {
        wholeRow = LogLayoutFields(lines.Next());
        lines.Next();
      }
      // The rows end early at the end of the file and at the first line
      // without a comma: the trailer or the outline title of a cancelled log.
      rowsEnded = lines.AtEnd() || lines.Peek().find(',') == std::string_view::npos;
      if (!rowsEnded) {
        std::string_view row = lines.Next();
        std::string shortRow;
        if (LogRowFields(row) < wholeRow) {
          // Cut off by the end of the file: no sample.
          shortRow.assign(row);
          if (lines.AtEnd()) break;
          row = shortRow;
        }
        ++result.RowsRead;
        FlightSample& x = r.Row(i);
        ReadLogRow(row, powered, x);
        ComputeTipTrail(x, outline);
      }
    }
    if (i % step == 0 && hooks.SetText && r.LogRowCount > 0) {
      const double total = r.LogRowCount;
      const double p = Int(i / total * 100 + 0.5);
      const double elapsed = Now(hooks) - start;
      hooks.SetText(elapsed > 0.5 && i >= 1 ? PercentText(p) + EstimateText(elapsed, i, total) : PercentText(p));
    }
    Call(hooks.DoEvents);
    // Past the end of the file nothing more can be read.
    if (lines.AtEnd()) break;
  }
  Call(hooks.Close);
  // Only the rows the file held count: rows past them still hold what the
  // record held before (another log). A cancel has zeroed the count.
  r.LogRowCount = std::max(0, std::min(r.LogRowCount, result.RowsRead - 1));

  if (r.LogRowCount > 3 && in.EngineCount > 0) {
    auto next = [&lines](double& value) {
      if (lines.AtEnd()) return false;
      value = LineValue(lines.Next());
      return true;
    };
    double v = 0;
    next(v);  // the launch time: not used
    if (next(v)) r.LaunchMarkTenths = static_cast<float>(v);
    const int marks = MarkBound(std::nearbyint(r.LaunchMarkTenths / 10.0));
    for (int k = 0; k <= marks; ++k)
      if (next(v)) r.LaunchMarkSamples[static_cast<size_t>(k)] = CLng(v);
    if (next(v)) r.SoundStartCount = CInt(v);
    const int sounds = MarkBound(r.SoundStartCount);
    for (int k = 0; k <= sounds; ++k)
      if (next(v)) r.SoundStartSamples[static_cast<size_t>(k)] = CLng(v);
  }

  r.RecordSampleCount = r.LogRowCount;
  constexpr int32_t kClearTo = 13503;
  for (int32_t i = std::max<int32_t>(r.LogRowCount, 0); i <= kClearTo; ++i) {
    FlightSample& x = r.Row(i);
    x.DistanceFlown = x.Height = x.Pitch = x.WingAngleOfAttack = x.InnerWingDeflection = 0;
    x.LiftCoefficient = x.TailplaneLift = x.Airspeed = x.RecordedWindSpeed = x.CentreOfGravityPct = 0;
    x.OuterWingDeflection = x.PressureCentre = x.TailplaneAngle = x.FinAngle = 0;
    x.AileronDeg = 0;
    x.HeadingDeg = x.Bank = x.PathAngleDeg = x.East = x.North = x.LoadFactor = 0;
  }
  return result;
}

}  // namespace

int LogRowFields(std::string_view row) {
  const auto commas = static_cast<int>(std::count(row.begin(), row.end(), ','));
  const bool endsInComma = !row.empty() && row.back() == ',';
  return endsInComma ? commas : commas + 1;
}

int LogLayoutFields(std::string_view nameLine) {
  // The names have no comma after the last one.
  const auto names = static_cast<int>(std::count(nameLine.begin(), nameLine.end(), ',')) + 1;
  return names >= kPoweredLogFields ? kPoweredLogFields : kLightLogFields;
}

LogReadResult ReadFlightLogText(const std::string& text, const LogReadInputs& in, FlightRecord& r,
                                const model::AirframeOutline& outline, const LongTaskHooks& hooks) {
  TextLineReader lines(text);
  return ReadLog(lines, false, in, r, outline, hooks);
}

LogReadResult ReadFlightLog(const std::string& path, const LogReadInputs& in, FlightRecord& r,
                            const model::AirframeOutline& outline, const LongTaskHooks& hooks) {
  TextLineReader lines(path, kMaxLogFileBytes);
  if (!lines.Ok()) return {};
  return ReadLog(lines, true, in, r, outline, hooks);
}

}  // namespace zarv::records
