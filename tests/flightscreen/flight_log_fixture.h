// Flight logs written by hand in the flight-log layout, for the companion
// loader: summary, count line, column names and units, data rows, the
// engine trailer and the coordinate block of an outline. Every value of a
// data row is known from its column and row (ColumnValue).
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "flight/companion_record.h"
#include "flight/flight_record.h"
#include "flightscreen/companion_load.h"
#include "model/outline.h"
#include "model/polygon_list.h"
#include "platform/runtime/clock.h"
#include "platform/runtime/files.h"
#include "platform/runtime/text.h"
#include "platform/runtime/textfile.h"
#include "program_test.h"

namespace zarv::flightscreen::testing {

inline const std::array<const char*, 28> kLightNames = {
    "時間", "距離", "高度", "対気速度", "風速", "ピッチ角", "ﾋﾟｯﾁ角速度", "主翼迎角",
    "横滑り角", "経路角", "荷重", "揚力係数", "水尾揚力", "水尾舵角", "水尾操舵量", "垂尾舵角",
    "重心", "風圧中心", "機首方位", "バンク角", "進行方位", "内翼撓角", "外翼撓角", "翼端撓角",
    "東へ", "北へ", "風切り音", "時間"};
inline const std::array<const char*, 7> kPoweredNames = {
    "ｴﾙﾛﾝ舵角", "フラップ角", "前縁ﾌﾗｯﾌﾟ角", "ノズル開度", "ノズル角度", "ｵｰｷﾞｭﾒﾝﾀ開度", "機体温度"};

// Value of log column `column` (1-based, as the layout numbers it) in row
// `row`: exact in binary and in the Str form.
inline double ColumnValue(int column, int row) { return column * 10.0 + row / 4.0; }

// A part grid cell of the test outline: part k, station s, point p, axis c.
inline double OutlineValue(int part, int s, int p, int axis) {
  return part * 10 + s * 0.25 + p * 0.002 - axis * 3.5;
}

// An outline whose every cell and pivot is distinct.
inline model::AirframeOutline TestOutline() {
  model::AirframeOutline o;
  const auto fill = [](auto& x, auto& y, auto& z, int part) {
    using G = std::remove_reference_t<decltype(x)>;
    for (int s = 0; s < G::kStations; ++s) {
      for (int p = 0; p < G::kPoints; ++p) {
        x(s, p) = OutlineValue(part, s, p, 0);
        y(s, p) = OutlineValue(part, s, p, 1);
        z(s, p) = OutlineValue(part, s, p, 2);
      }
    }
  };
  fill(o.FrontFuselageX, o.FrontFuselageY, o.FrontFuselageZ, 1);
  fill(o.RearFuselageX, o.RearFuselageY, o.RearFuselageZ, 2);
  fill(o.WingX, o.WingY, o.WingZ, 3);
  fill(o.TailX, o.TailY, o.TailZ, 4);
  fill(o.NacelleX, o.NacelleY, o.NacelleZ, 5);
  for (int k = 0; k < model::PartPivotSet::kCount; ++k) {
    o.PartPivots[k] = {k + 0.125, -k - 0.5, k * 2 + 0.75};
  }
  o.TailplaneHingeY = -4.25;
  o.TailplaneHingeZ = 0.375;
  o.FinHingeX = 0.5;
  o.FinHingeY = -4.625;
  return o;
}

struct TestLog {
  int32_t LastRow = 1000;      // n of the count line: rows 0..n
  bool Powered = false;
  int32_t RowsWritten = -1;    // rows actually written (a cancelled writer); -1 all
  bool Trailer = true;         // the engine trailer after the rows
  bool OutlineBlock = true;
  model::AirframeOutline Outline = TestOutline();
  std::function<double(int column, int row)> Value = ColumnValue;

  int Fields() const { return Powered ? 35 : 28; }

  std::string Row(int row) const {
    std::string line = Format(row * 0.05, "0.00") + ",";
    for (int c = 2; c < Fields(); ++c) line += Str(Value(c, row)) + ",";
    return line + Format(row * 0.05, "0.00") + ",";
  }

  std::vector<std::string> Lines() const {
    std::vector<std::string> out;
    out.push_back(" 123.40m by Test 90Deg  wind 1.0m/s  12.3sec 01-02-2024   10:11:12");
    out.push_back(Str(LastRow) + ",'=データ行数");
    if (LastRow > 3) {
      std::string names, units;
      for (int c = 0; c < Fields(); ++c) {
        const bool last = c == Fields() - 1;
        const char* name = (Powered && c >= 16 && c < 23) ? kPoweredNames[static_cast<std::size_t>(c - 16)]
                           : kLightNames[static_cast<std::size_t>(Powered && c >= 23 ? c - 7 : c)];
        names += std::string(name) + (last ? "" : ",");
        units += std::string(c == 0 || last ? "Sec" : "m") + (last ? "" : ",");
      }
      out.push_back(names);
      out.push_back(units);
      const int32_t rows = RowsWritten < 0 ? LastRow + 1 : RowsWritten;
      for (int i = 0; i < rows; ++i) out.push_back(Row(i));
    }
    if (Trailer) {
      for (const char* v : {" 1.5", " 10", " 40", " 80", " 0", " 0"}) out.push_back(v);
    }
    if (OutlineBlock) AppendOutline(out);
    return out;
  }

  void AppendOutline(std::vector<std::string>& out) const {
    const model::AirframeOutline& o = Outline;
    out.push_back("機体各部の座標");
    const auto xyz = [](double x, double y, double z) {
      return Format(x, "0.000") + "," + Format(y, "0.000") + "," + Format(z, "0.000") + ",";
    };
    const auto grid = [&](const char* label, const auto& x, const auto& y, const auto& z) {
      using G = std::remove_cvref_t<decltype(x)>;
      for (int s = 0; s < G::kStations; ++s) {
        for (int p = 0; p < G::kPoints; ++p) {
          out.push_back(label + Format(s, "00") + "," + xyz(x(s, p), y(s, p), z(s, p)));
        }
      }
    };
    const auto pivots = [&](int first, int count) {
      for (int k = first; k < first + count; ++k) {
        const model::OutlinePoint& q = o.PartPivots[k];
        out.push_back(std::string(model::kPartPivotLabels[static_cast<std::size_t>(k)]) + "," +
                      xyz(q.X, q.Y, q.Z));
      }
    };
    grid("前部胴体", o.FrontFuselageX, o.FrontFuselageY, o.FrontFuselageZ);
    pivots(0, 2);
    grid("後部胴体", o.RearFuselageX, o.RearFuselageY, o.RearFuselageZ);
    pivots(2, 3);
    grid("主翼", o.WingX, o.WingY, o.WingZ);
    pivots(5, 3);
    grid("尾翼", o.TailX, o.TailY, o.TailZ);
    pivots(8, 4);
    grid("予備", o.NacelleX, o.NacelleY, o.NacelleZ);
    pivots(12, 2);
    out.push_back("水平尾翼回転軸YZ座標," + Format(o.TailplaneHingeY, "0.000") + "," +
                  Format(o.TailplaneHingeZ, "0.000"));
    out.push_back("垂直尾翼回転軸XY座標," + Format(o.FinHingeX, "0.000") + "," +
                  Format(o.FinHingeY, "0.000"));
  }

  bool WriteTo(const std::string& path) const { return WriteTextLines(path, Lines()); }
};

// A scratch folder to put logs in, a hand-driven clock, and the record,
// companion and part references the companion loader fills.
class CompanionFolderTest : public zarv::testing::ProgramTest {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    SetClockSource(&clock_);
  }

  CompanionLoadResult Load() {
    return LoadCompanionFlight(folder_, *record_, *companion_, reference_, taskStart_, progress_);
  }

  ManualClock clock_{5000};
  std::unique_ptr<flight::FlightRecord> record_ = std::make_unique<flight::FlightRecord>();
  std::unique_ptr<flight::CompanionData> companion_ = std::make_unique<flight::CompanionData>();
  model::PartReference reference_;
  double taskStart_ = -1;
  CompanionLoadProgress progress_;
};

}  // namespace zarv::flightscreen::testing
