// The flight log's bytes worked out by hand for a light and a powered
// aircraft, and the reader taking back what the writer wrote.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <random>

#include "fuzz_damage.h"
#include "logbook/flight_log.h"
#include "logbook/log_text.h"
#include "platform/runtime/text.h"
#include "records_fixture.h"

namespace zarv::records {
namespace {

using flight::FlightRecord;
using flight::FlightSample;
using testing::Bytes;
using testing::SplitLines;
using testing::TimedRecord;

const char* const kLightNames =
    "時間,距離,高度,対気速度,風速,ピッチ角,ﾋﾟｯﾁ角速度,主翼迎角,横滑り角,経路角,荷重,揚力係数,水尾揚力,"
    "水尾舵角,水尾操舵量,垂尾舵角,重心,風圧中心,機首方位,バンク角,進行方位,内翼撓角,外翼撓角,翼端撓角,東へ,"
    "北へ,風切り音,時間";
const char* const kLightUnits =
    "Sec,m,m,m/s,m/s,Deg,Deg/Sec,Deg,Deg,Deg,Ｇ,,Ｎ,Deg,Deg,Deg,%,%,Deg,Deg,Deg,Deg,Deg,Deg,m,m, ﾎﾞﾘｭｰﾑ比,Sec";

model::AirframeOutline HandOutline() {
  model::AirframeOutline o;
  o.FrontFuselageX(3, 0) = 0.12;
  o.FrontFuselageY(3, 0) = -1.5;
  o.FrontFuselageZ(3, 0) = 0.85;
  o.PartPivots.NacellePivot1 = {1, 2, 3};
  o.PartPivots.NacellePivot2 = {-0.0004, 0.0005, 2.5};
  o.TailplaneHingeY = -2.25;
  o.TailplaneHingeZ = 0.3;
  o.FinHingeY = 1.0125;
  return o;
}

TEST(FlightLogWriter, LightAircraftLogByteForByte) {
  auto r = TimedRecord(4, 0.5f);
  r->Row(0).Time = 0;  // before the launch: negative log time
  FlightSample& x = r->Row(1);
  x.DistanceFlown = 12.345;
  x.Height = 30.5;
  x.Airspeed = 0.25;
  x.RecordedWindSpeed = -0.5;
  x.Pitch = 3;
  x.PitchRateDeg = -12.34;
  x.WingAngleOfAttack = 0.00001;
  x.PathAngleDeg = -1.1;
  x.LoadFactor = 1.001;
  x.LiftCoefficient = 0.123;
  x.TailplaneLift = 123456.789;
  x.CentreOfGravityPct = 25.5;
  x.PressureCentre = 30;
  x.HeadingDeg = 359.99;
  x.Bank = 190;
  x.InnerWingDeflection = 1.5;
  x.East = -3.25;
  x.North = 1234.5;
  x.WindNoiseVolume = 0.35;
  r->Row(2).Bank = 540;
  r->Row(3).Bank = -180;
  r->Row(4).Bank = -540;
  r->Row(1).AileronDeg = 7;  // a powered field: not in a light log

  LogWriteInputs in;
  in.FlightSummary = "123.45m by Test ﾃｽﾄ  0Deg  wind 1.0m/s   7.2sec 07-04-2026   12:00:00";
  in.LaunchTime = 0.5;
  in.LaunchSpeed = 10;  // exactly 10 m/s is still the light layout
  in.EngineCount = 0;
  const model::AirframeOutline outline = HandOutline();
  ScratchFolder dir;
  const std::string path = dir / "before.csv";
  ASSERT_TRUE(WriteFlightLog(path, in, *r, outline));

  const std::string zeros = " 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,";  // 15
  std::string expected = std::string(in.FlightSummary) + "\r\n" + " 4,'=データ行数\r\n" + kLightNames + "\r\n" +
                         kLightUnits + "\r\n";
  expected += "-0.50," + zeros + " 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,-0.50,\r\n";
  expected +=
      "0.05, 12.345, 30.5, .25,-.5, 3,-12.34, 1E-05, 0,-1.1, 1.001, .123, 123456.789, 0, 0, 0, 25.5, 30, 359.99,"
      "-170, 0, 1.5, 0, 0,-3.25, 1234.5, .35,0.05,\r\n";
  expected += "0.10," + zeros + " 0, 0, 0, 180," + " 0, 0, 0, 0, 0, 0, 0,0.10,\r\n";
  expected += "0.15," + zeros + " 0, 0, 0,-180," + " 0, 0, 0, 0, 0, 0, 0,0.15,\r\n";
  expected += "0.20," + zeros + " 0, 0, 0,-180," + " 0, 0, 0, 0, 0, 0, 0,0.20,\r\n";
  expected += "機体各部の座標\r\n";

  const std::string bytes = Bytes(path);
  const std::string head = Utf8ToCp932(expected);
  ASSERT_GE(bytes.size(), head.size());
  EXPECT_EQ(Cp932ToUtf8(bytes.substr(0, head.size())), expected);
  EXPECT_EQ(bytes.substr(0, head.size()), head);
  // Half-width katakana stay single bytes: ﾎ is 0xCE.
  EXPECT_NE(bytes.find("\x20\xCE\xDE\xD8\xAD\xB0\xD1"), std::string::npos);

  const std::vector<std::string> lines = SplitLines(Cp932ToUtf8(bytes));
  ASSERT_EQ(lines.size(), 2u + 2u + 5u + 453u);
  const size_t block = 9;
  EXPECT_EQ(lines[block], "機体各部の座標");
  EXPECT_EQ(lines[block + 1], "前部胴体00,0.000,0.000,0.000,");
  EXPECT_EQ(lines[block + 1 + 3 * 8], "前部胴体03,0.120,-1.500,0.850,");
  EXPECT_EQ(lines[block + 1 + 96], "前前部胴体位置,0.000,0.000,0.000,");
  EXPECT_EQ(lines[block + 1 + 98], "後部胴体00,0.000,0.000,0.000,");
  EXPECT_EQ(lines[block + 1 + 98 + 40 + 3], "主翼00,0.000,0.000,0.000,");
  EXPECT_EQ(lines[block + 1 + 98 + 43 + 75], "尾翼00,0.000,0.000,0.000,");
  EXPECT_EQ(lines[block + 1 + 98 + 43 + 75 + 76], "予備00,0.000,0.000,0.000,");
  EXPECT_EQ(lines[lines.size() - 4], "予備位置,1.000,2.000,3.000,");
  EXPECT_EQ(lines[lines.size() - 3], "予備位置,0.000,0.001,2.500,");
  EXPECT_EQ(lines[lines.size() - 2], "水平尾翼回転軸YZ座標,-2.250,0.300");
  EXPECT_EQ(lines[lines.size() - 1], "垂直尾翼回転軸XY座標,0.000,1.013");
  EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n");

  // The record is left as the charts and the replay then see it.
  EXPECT_EQ(r->LogRowCount, 4);
  EXPECT_FLOAT_EQ(r->Samples[0].Time, -0.5f);
  EXPECT_EQ(r->Samples[1].Bank, -170);
  EXPECT_EQ(r->Samples[2].Bank, 180);
}

TEST(FlightLogWriter, PoweredAircraftLogWithEngineTrailer) {
  auto r = TimedRecord(4);
  FlightSample& x = r->Row(2);
  x.AileronDeg = -3;
  x.FlapSetting = 10;
  x.NozzleOpening = 73;
  x.NozzleAngle = -5;
  x.AfterburnerOpening = 12;
  x.AirframeTemperature = 288;
  x.DistanceFlown = 1852;
  r->LaunchMarkTenths = 25;
  r->LaunchMarkSamples = {40, 80, 120, 160};
  r->SoundStartCount = 1;
  r->SoundStartSamples = {45, 90, 135};

  LogWriteInputs in;
  in.FlightSummary = "summary";
  in.LaunchTime = 0;
  in.LaunchSpeed = 50;
  in.EngineCount = 2;
  const std::string text = ComposeFlightLog(in, *r, model::AirframeOutline{});
  const std::vector<std::string> lines = SplitLines(text);
  ASSERT_GE(lines.size(), 9u + 9u);
  EXPECT_EQ(lines[2],
            "時間,距離,高度,対気速度,風速,ピッチ角,ﾋﾟｯﾁ角速度,主翼迎角,横滑り角,経路角,荷重,揚力係数,水尾揚力,"
            "水尾舵角,水尾操舵量,垂尾舵角,ｴﾙﾛﾝ舵角,フラップ角,前縁ﾌﾗｯﾌﾟ角,ノズル開度,ノズル角度,ｵｰｷﾞｭﾒﾝﾀ開度,機体温度,"
            "重心,風圧中心,機首方位,バンク角,進行方位,内翼撓角,外翼撓角,翼端撓角,東へ,北へ,風切り音,時間");
  EXPECT_EQ(lines[3],
            "Sec,m,m,m/s,m/s,Deg,Deg/Sec,Deg,Deg,Deg,Ｇ,,Ｎ,Deg,Deg,Deg,Deg,Deg,Deg,%,Deg,%,K,%,%,Deg,Deg,Deg,Deg,"
            "Deg,Deg,m,m, ﾎﾞﾘｭｰﾑ比,Sec");
  EXPECT_EQ(lines[6],
            "0.10, 1852, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,-3, 10, 0, 73,-5, 12, 288, 0, 0, 0, 0, 0, 0, 0, 0,"
            " 0, 0, 0,0.10,");
  // 35 fields, each followed by a comma.
  EXPECT_EQ(std::count(lines[4].begin(), lines[4].end(), ','), 35);
  // Trailer: launch time, rounds fired, marks 0..2 (25/10 = 2.5 goes to the
  // even 2), the sound count and sounds 0..1, then the coordinate block.
  const std::vector<std::string> trailer(lines.begin() + 9, lines.begin() + 18);
  EXPECT_EQ(trailer, (std::vector<std::string>{" 0", " 25", " 40", " 80", " 120", " 1", " 45", " 90",
                                               "機体各部の座標"}));
}

TEST(FlightLogWriter, ShortCancelledAndOutOfRangeCases) {
  LogWriteInputs in;
  in.FlightSummary = "s";
  in.EngineCount = 1;
  in.LaunchSpeed = 8;

  // A cancelled flight loses its last two samples; with three rows left
  // there are no column lines and no rows.
  auto r = TimedRecord(5);
  in.Altitude = -2000;
  std::vector<std::string> lines = SplitLines(ComposeFlightLog(in, *r, {}));
  EXPECT_EQ(lines[1], " 3,'=データ行数");
  EXPECT_EQ(lines[2], " 0");  // the trailer follows the count line
  EXPECT_EQ(r->LogRowCount, 3);

  // A touch-down keeps every sample; mark counts past the tables' end are
  // bounded (the tables hold 31 entries).
  r = TimedRecord(4);
  in.Altitude = -0.2;
  r->LaunchMarkTenths = 1000;
  r->SoundStartCount = 200;
  lines = SplitLines(ComposeFlightLog(in, *r, {}));
  EXPECT_EQ(lines[1], " 4,'=データ行数");
  EXPECT_EQ(lines.size(), 2u + 2u + 5u + (2u + 31u + 1u + 31u) + 453u);

  // A touch-down whose row RecordCount was never recorded ends with the
  // latest row, the one before it: four recorded samples make a log of
  // n = 3, which is not filed.
  r = TimedRecord(4);
  in.LatestRow = 3;
  lines = SplitLines(ComposeFlightLog(in, *r, {}));
  EXPECT_EQ(lines[1], " 3,'=データ行数");
  EXPECT_EQ(lines[2], " 0");
  EXPECT_EQ(r->LogRowCount, 3);
  r = TimedRecord(5);
  in.LatestRow = 4;
  lines = SplitLines(ComposeFlightLog(in, *r, {}));
  EXPECT_EQ(lines[1], " 4,'=データ行数");
  EXPECT_EQ(lines[8].substr(0, 5), "0.20,");  // rows 0..4, then the trailer
  EXPECT_EQ(lines[9], " 0");
  in.LatestRow = -1;

  // The progress dialog's cancel zeroes the count: the loop ends after the
  // current row and the rest is still written.
  r = TimedRecord(100);
  in.Altitude = 0;
  LongTaskHooks hooks;
  int rows = 0;
  hooks.DoEvents = [&] {
    if (++rows == 3) r->LogRowCount = 0;
  };
  lines = SplitLines(ComposeFlightLog(in, *r, {}, hooks));
  EXPECT_EQ(lines[1], " 100,'=データ行数");
  EXPECT_EQ(lines[7], " 0");  // summary, count, 2 headers, 3 rows, then the trailer
  EXPECT_EQ(r->LogRowCount, 0);
}

// A light aircraft records on after the cancel until it has slowed down:
// every row at the cancel's height goes, not only the last two, and the
// record keeps no row past the log's.
TEST(FlightLogWriter, ACancelledLogEndsBeforeTheCancel) {
  LogWriteInputs in;
  in.FlightSummary = "s";
  in.LaunchSpeed = 8;
  in.Altitude = -2000;
  auto r = TimedRecord(12);
  for (int32_t i = 0; i <= 12; ++i) r->Row(i).Height = i < 8 ? 5.0 : -2000.0;
  std::vector<std::string> lines = SplitLines(ComposeFlightLog(in, *r, {}));
  EXPECT_EQ(lines[1], " 7,'=データ行数");
  EXPECT_EQ(lines[11].substr(0, 12), "0.35, 0, 5, ");  // row 7, the last before the cancel
  EXPECT_EQ(lines[12], "機体各部の座標");
  EXPECT_EQ(r->RecordCount, 7);
  EXPECT_EQ(r->LogRowCount, 7);

  // Cancelled with no row at the mark: the last two go, as before; a flight
  // that ended in the water keeps a row below the deck's height.
  r = TimedRecord(12);
  EXPECT_EQ(SplitLines(ComposeFlightLog(in, *r, {}))[1], " 10,'=データ行数");
  r = TimedRecord(12);
  r->Row(12).Height = -2000;
  in.Altitude = -0.3;
  EXPECT_EQ(SplitLines(ComposeFlightLog(in, *r, {}))[1], " 12,'=データ行数");

  // Nothing left before the mark: an empty log, no row read past row 0.
  r = TimedRecord(3);
  for (int32_t i = 0; i <= 3; ++i) r->Row(i).Height = -2000;
  in.Altitude = -2000;
  EXPECT_EQ(SplitLines(ComposeFlightLog(in, *r, {}))[1], "-1,'=データ行数");
}

TEST(FlightLogWriter, BankAnglesAreNormalisedByRemainder) {
  EXPECT_EQ(NormaliseBank(190), -170);
  EXPECT_EQ(NormaliseBank(540), 180);
  EXPECT_EQ(NormaliseBank(180), 180);
  EXPECT_EQ(NormaliseBank(-180), -180);
  EXPECT_EQ(NormaliseBank(-190), 170);
  EXPECT_EQ(NormaliseBank(-540), -180);
  EXPECT_DOUBLE_EQ(NormaliseBank(3600.5), 0.5);
  EXPECT_EQ(NormaliseBank(1e300) <= 180, true);  // no loop of 1e297 turns
  EXPECT_TRUE(std::isinf(NormaliseBank(INFINITY)));
}

TEST(LogText, NumberTextsMatchTheRuntimeStrAndFormat) {
  std::mt19937_64 gen(7);
  std::uniform_real_distribution<double> mag(-7, 13);
  std::vector<double> values = {0, -0.0, 0.005, -0.005, 0.0005, -0.0004, 0.0001, 0.00009, 2.675, 1.0125, 0.995,
                                9.9995, -9.995, 123456.785, 999999999999.999, 1e12, 1e15, -1e-20, 1e300,
                                std::nan(""), -HUGE_VAL};
  for (int i = 0; i < 20000; ++i) {
    const double v = std::pow(10.0, mag(gen)) * (i % 2 ? -1 : 1);
    values.push_back(v);
    values.push_back(static_cast<float>(v));
    for (double step : {1.0, 10.0, 100.0, 1000.0, 10000.0, 1e6, 1e7})
      values.push_back(std::round(v * step) / step);  // the recorder's steps
    values.push_back(std::round(v * 100) / 100 + 0.005);
  }
  for (double v : values) {
    ASSERT_EQ(FormatStr(v), Str(v)) << v;
    if (!(std::fabs(v) < 1e40)) continue;
    ASSERT_EQ(FormatFixed(v, 2), Format(v, "0.00")) << v;
    ASSERT_EQ(FormatFixed(v, 3), Format(v, "0.000")) << v;
  }
}

TEST(LogText, FieldValueMatchesTheLenientParse) {
  for (const char* t : {" 12.5", "-.25", " .5", " 1E-05", "-1.5E-07", "", " ", "abc", "12abc", " 0", "0.05",
                        "-0.50", "1.2.3", "-", ".", " 123456.789", " NaN", "1D3", " 1 2"}) {
    const std::string s = t;
    EXPECT_EQ(FieldValue(s.data(), s.data() + s.size()), Val(s)) << '"' << s << '"';
  }
}

// Every column a light and a powered log carry comes back from the reader.
class FlightLogRoundTrip : public ::testing::TestWithParam<bool> {};

TEST_P(FlightLogRoundTrip, EveryColumnComesBack) {
  const bool powered = GetParam();
  std::mt19937 gen(powered ? 3 : 5);
  std::uniform_int_distribution<int> d(-99999, 99999);
  auto val = [&](double step) { return d(gen) / std::round(1 / step); };  // as the recorder rounds
  const int32_t n = 250;
  auto written = TimedRecord(n, 1.0f);
  for (int32_t i = 0; i <= n; ++i) {
    FlightSample& x = written->Row(i);
    // Each column at the step the recorder stores it with.
    const std::pair<double*, double> columns[] = {
        {&x.DistanceFlown, 0.001}, {&x.Height, 0.001}, {&x.Airspeed, 0.01}, {&x.RecordedWindSpeed, 0.01},
        {&x.Pitch, 0.1}, {&x.PitchRateDeg, 0.01}, {&x.WingAngleOfAttack, 0.01}, {&x.SideslipAngle, 0.01},
        {&x.PathAngleDeg, 0.01}, {&x.LoadFactor, 0.001}, {&x.LiftCoefficient, 0.001}, {&x.TailplaneLift, 0.0001},
        {&x.TailplaneAngle, 0.01}, {&x.TailplaneControl, 0.01}, {&x.FinAngle, 0.01}, {&x.CentreOfGravityPct, 0.1},
        {&x.PressureCentre, 0.1}, {&x.HeadingDeg, 0.01}, {&x.Bank, 0.001}, {&x.Track, 0.01},
        {&x.InnerWingDeflection, 0.01}, {&x.OuterWingDeflection, 0.01}, {&x.WingTipDeflection, 0.01},
        {&x.East, 0.001}, {&x.North, 0.001}};
    for (const auto& [field, step] : columns) *field = val(step);
    x.WindNoiseVolume = std::fabs(val(0.00001));
    for (int16_t* f : {&x.AileronDeg, &x.FlapSetting, &x.LeadingEdgeFlapAngle, &x.NozzleOpening, &x.NozzleAngle,
                       &x.AfterburnerOpening, &x.AirframeTemperature})
      *f = static_cast<int16_t>(d(gen) % 400);
  }
  written->LaunchMarkTenths = 35;
  written->LaunchMarkSamples = {11, 22, 33, 44, 55};
  written->SoundStartCount = 2;
  written->SoundStartSamples = {7, 8, 9};

  model::AirframeOutline outline;
  for (int k = 0; k < 8; ++k) outline.WingX(k, 0) = k * 1.5;
  outline.WingY[7] = 0.2;
  outline.WingZ[7] = 0.4;

  LogWriteInputs in;
  in.FlightSummary = "432.10m by Wing, with comma  90Deg  wind 2.0m/s  30.0sec 01-02-2026   03:04:05";
  in.LaunchTime = 1.0;
  in.LaunchSpeed = powered ? 60 : 7;
  in.EngineCount = 1;
  ScratchFolder dir;
  const std::string path = dir / "log.csv";
  ASSERT_TRUE(WriteFlightLog(path, in, *written, outline));

  auto read = std::make_unique<FlightRecord>();
  read->Row(n + 1).DistanceFlown = 77;  // past the rows: cleared
  read->Row(20000).DistanceFlown = 77;  // past 13503: kept
  const LogReadResult result = ReadFlightLog(path, {in.LaunchSpeed, in.EngineCount}, *read, outline);
  ASSERT_TRUE(result.Opened);
  EXPECT_EQ(result.FlightSummary, in.FlightSummary);
  EXPECT_EQ(result.RowsRead, n + 1);
  EXPECT_EQ(read->LogRowCount, n);
  EXPECT_EQ(read->RecordSampleCount, n);
  EXPECT_EQ(read->LaunchMarkTenths, 35);
  for (int k = 0; k <= 4; ++k) EXPECT_EQ(read->LaunchMarkSamples[k], written->LaunchMarkSamples[k]);
  EXPECT_EQ(read->SoundStartCount, 2);
  for (int k = 0; k <= 2; ++k) EXPECT_EQ(read->SoundStartSamples[k], written->SoundStartSamples[k]);
  EXPECT_EQ(read->Samples[n + 1].DistanceFlown, 0);
  EXPECT_EQ(read->Samples[20000].DistanceFlown, 77);

  for (int32_t i = 0; i <= n; ++i) {
    FlightSample want = written->Samples[static_cast<size_t>(i)];
    const FlightSample& got = read->Samples[static_cast<size_t>(i)];
    SCOPED_TRACE(i);
    // What the format does not carry exactly: time to 0.01 s, heights and
    // positions cut to 0.01 m, no powered fields in a light log.
    EXPECT_NEAR(got.Time, want.Time, 0.0051);
    want.Time = got.Time;
    want.Height = std::floor(want.Height * 100) / 100;
    want.East = std::floor(want.East * 100) / 100;
    want.North = std::floor(want.North * 100) / 100;
    if (i == n) {  // the last row is cleared in the 21 fields
      want.DistanceFlown = want.Height = want.Pitch = want.WingAngleOfAttack = want.InnerWingDeflection = 0;
      want.LiftCoefficient = want.TailplaneLift = want.Airspeed = want.RecordedWindSpeed = 0;
      want.CentreOfGravityPct = want.OuterWingDeflection = want.PressureCentre = want.TailplaneAngle = 0;
      want.FinAngle = want.HeadingDeg = want.Bank = want.PathAngleDeg = want.East = want.North = 0;
      want.LoadFactor = 0;
      want.AileronDeg = 0;
    }
    if (!powered) {
      want.AileronDeg = want.FlapSetting = want.LeadingEdgeFlapAngle = want.NozzleOpening = 0;
      want.NozzleAngle = want.AfterburnerOpening = want.AirframeTemperature = 0;
    }
    if (i != n) ComputeTipTrail(want, outline);
    else {
      want.TipAEast = got.TipAEast, want.TipANorth = got.TipANorth, want.TipAHeight = got.TipAHeight;
      want.TipBEast = got.TipBEast, want.TipBNorth = got.TipBNorth, want.TipBHeight = got.TipBHeight;
    }
    EXPECT_EQ(got, want);
  }
}

INSTANTIATE_TEST_SUITE_P(LightAndPowered, FlightLogRoundTrip, ::testing::Bool());

// A log whose line ends were changed on the way (doubled, or one kind only)
// reads as the log it was: every row, the trailer after them.
TEST(FlightLogReader, EveryLineEndReadsAsCrLf) {
  auto written = testing::SteadyRecord(60);
  written->LaunchMarkTenths = 12;
  written->SoundStartSamples[0] = 33;
  LogWriteInputs in;
  in.FlightSummary = "29.50m by Ends";
  in.LaunchSpeed = 60;
  in.EngineCount = 1;
  const std::string good = ComposeFlightLog(in, *written, HandOutline());
  auto want = std::make_unique<FlightRecord>();
  const LogReadResult base = ReadFlightLogText(good, {60, 1}, *want, {});
  ASSERT_EQ(base.RowsRead, 61);
  for (const char* end : {"\r\r\n", "\n\r", "\r", "\n"}) {
    SCOPED_TRACE(::testing::PrintToString(std::string(end)));
    auto r = std::make_unique<FlightRecord>();
    const LogReadResult res = ReadFlightLogText(zarv::testing::WithLineEnds(good, end), {60, 1}, *r, {});
    EXPECT_EQ(res.RowsRead, base.RowsRead);
    EXPECT_EQ(res.FlightSummary, base.FlightSummary);
    EXPECT_EQ(r->LogRowCount, want->LogRowCount);
    EXPECT_EQ(r->LaunchMarkTenths, 12);
    EXPECT_EQ(r->SoundStartSamples[0], 33);
    for (int i : {0, 30, 58}) {
      EXPECT_EQ(r->Samples[static_cast<size_t>(i)].DistanceFlown, want->Samples[static_cast<size_t>(i)].DistanceFlown);
      EXPECT_EQ(r->Samples[static_cast<size_t>(i)].Time, want->Samples[static_cast<size_t>(i)].Time);
    }
  }
}

// A log cut off inside its last row: that row lacks the fields its layout
// has and is no sample, in either layout; the rows before it are read
// whole. A short row with lines after it is still read.
TEST(FlightLogReader, ARowCutOffByTheEndOfTheLogIsNoSample) {
  for (const bool powered : {false, true}) {
    SCOPED_TRACE(powered ? "powered" : "light");
    auto written = testing::SteadyRecord(61);
    for (int i = 0; i <= 60; ++i) {
      written->Row(i).Track = 303.99;
      written->Row(i).WingTipDeflection = 8.7;
    }
    written->RecordCount = 60;
    LogWriteInputs in;
    in.FlightSummary = "29.50m by Cut";
    in.LaunchSpeed = powered ? 60 : 7;
    const std::string log = ComposeFlightLog(in, *written, HandOutline());
    const size_t lastRow = log.rfind("\r\n3.00,");
    ASSERT_NE(lastRow, std::string::npos);
    const size_t track = log.find(", 303.99,", lastRow);
    ASSERT_NE(track, std::string::npos);
    const std::string cut = log.substr(0, track + 4);  // "..., 30"
    for (const std::string& text : {cut, cut + "\r\n"}) {
      auto r = std::make_unique<FlightRecord>();
      const LogReadResult res = ReadFlightLogText(text, {in.LaunchSpeed, 0}, *r, {});
      EXPECT_EQ(res.RowsRead, 60);
      EXPECT_EQ(r->LogRowCount, 59);
      EXPECT_EQ(r->Samples[59].Track, 303.99);
      EXPECT_EQ(r->Samples[59].WingTipDeflection, 8.7);
      EXPECT_EQ(r->Samples[58].DistanceFlown, 29);
    }
    auto r = std::make_unique<FlightRecord>();
    const std::string inner = cut + "\r\n" + log.substr(lastRow + 2);
    EXPECT_EQ(ReadFlightLogText(inner, {in.LaunchSpeed, 0}, *r, {}).RowsRead, 61);
  }
  EXPECT_EQ(LogRowFields("0.00, 1, 2,"), 3);
  EXPECT_EQ(LogRowFields("0.00, 1, 2"), 3);
  EXPECT_EQ(LogRowFields(""), 1);
}

TEST(FlightLogReader, DamagedAndShortLogs) {
  const std::string units = std::string(kLightNames) + "\r\n" + kLightUnits + "\r\n";
  LogReadInputs light{7, 0};

  // Logs that promise more rows than they hold (a cancelled writer, a cut
  // file): the counts are the rows read, so nothing of the log read before
  // shows. The rows end at the end of the file or at the first line without
  // a comma (the trailer, the outline title; outline lines have commas).
  const std::string rows = "0.00, 1, 2.349,\r\n0.05, 2, -12.345,,,,,,,,,,,,,,,,,,,,,,,, .35,\r\n0.10, 3," +
                           std::string(26, ',') + "\r\n";
  const struct {
    std::string after;
    LogReadInputs in;
  } cut[] = {{"", light},
             {"機体各部の座標\r\n前部胴体00,0.120,-1.500,0.850,\r\n", light},
             {" 12.5\r\n 0\r\n 7\r\n 0\r\n 9\r\n機体各部の座標\r\n", {7, 1}}};
  for (const auto& c : cut) {
    auto r = std::make_unique<FlightRecord>();
    for (int i = 0; i <= 40; ++i) r->Row(i).Pitch = 5;  // the log read before
    const LogReadResult res = ReadFlightLogText("s\r\n 40,'=データ行数\r\n" + units + rows + c.after, c.in, *r, {});
    EXPECT_EQ(res.RowsRead, 3);
    EXPECT_EQ(r->LogRowCount, 2);
    EXPECT_EQ(r->RecordSampleCount, 2);
    EXPECT_EQ(r->Samples[0].Height, 2.34);
    EXPECT_EQ(r->Samples[1].Height, -12.35);
    EXPECT_DOUBLE_EQ(r->Samples[1].WindNoiseVolume, 0.35);
    EXPECT_EQ(r->Samples[1].Pitch, 0);
  }
  // The trailer after the rows of a cancelled log is read as the trailer.
  auto r = std::make_unique<FlightRecord>();
  LogReadResult res = ReadFlightLogText("s\r\n 40\r\n" + units + rows + "0.15,\r\n0.20,\r\n" + cut[2].after,
                                        {7, 1}, *r, {});
  EXPECT_EQ(r->LogRowCount, 4);
  EXPECT_EQ(r->SoundStartCount, 0);
  EXPECT_EQ(r->SoundStartSamples[0], 9);
  // A count of 3 or less reads no rows: nothing of the record shows.
  r = std::make_unique<FlightRecord>();
  r->Row(2).Pitch = 5;
  res = ReadFlightLogText("s\r\n 3,'=データ行数\r\n0\r\n", light, *r, {});
  EXPECT_EQ(res.RowsRead, 0);
  EXPECT_EQ(r->RecordSampleCount, 0);
  EXPECT_EQ(r->Samples[2].Pitch, 0);

  // Numbers no flight has are read as ones the screens can show.
  r = std::make_unique<FlightRecord>();
  res = ReadFlightLogText("s\r\n 5\r\n" + units + "0.00,1e400,-1E+999,nan,1e300,\r\n" + rows, light, *r, {});
  EXPECT_EQ(r->Samples[0].DistanceFlown, kLogValueLimit);
  EXPECT_EQ(r->Samples[0].Height, -kLogValueLimit);
  EXPECT_EQ(r->Samples[0].Airspeed, 0);
  EXPECT_EQ(r->Samples[0].RecordedWindSpeed, kLogValueLimit);

  // A count far beyond the record's size reads the rows there are.
  r = std::make_unique<FlightRecord>();
  res = ReadFlightLogText("s\r\n 1E+12\r\n" + units + rows, light, *r, {});
  EXPECT_EQ(r->LogRowCount, 2);
  EXPECT_EQ(res.RowsRead, 3);

  // Powered integer columns are rounded half to even.
  r = std::make_unique<FlightRecord>();
  std::string row = "0.00";
  for (int k = 1; k <= 15; ++k) row += ",0";
  row += ",12.5,13.5,-2.5,0,0,0,0";
  std::string powered = "s\r\n 4\r\nnames\r\nunits\r\n";
  for (int i = 0; i <= 4; ++i) powered += row + ",\r\n";
  res = ReadFlightLogText(powered, {60, 0}, *r, {});
  EXPECT_EQ(r->Samples[0].AileronDeg, 12);
  EXPECT_EQ(r->Samples[0].FlapSetting, 14);
  EXPECT_EQ(r->Samples[0].LeadingEdgeFlapAngle, -2);

  // A missing file reads nothing; nor does a FIFO (its open would wait for a
  // writer) or a file far larger than the longest flight's log.
  EXPECT_FALSE(ReadFlightLog("/nonexistent/x.csv", light, *r, {}).Opened);
  ScratchFolder dir;
  ASSERT_EQ(mkfifo((dir / "fifo.csv").c_str(), 0600), 0);
  EXPECT_FALSE(ReadFlightLog(dir / "fifo.csv", light, *r, {}).Opened);
  testing::WriteBytes(dir / "huge.csv", "s\r\n 4\r\n" + units + rows);
  ASSERT_TRUE(ReadFlightLog(dir / "huge.csv", light, *r, {}).Opened);
  ASSERT_EQ(truncate((dir / "huge.csv").c_str(), kMaxLogFileBytes + 1), 0);
  EXPECT_FALSE(ReadFlightLog(dir / "huge.csv", light, *r, {}).Opened);
}

}  // namespace
}  // namespace zarv::records
