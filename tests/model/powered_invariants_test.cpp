// Properties every finished powered outline has, for each configuration and
// for degenerate tails.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>

#include "model/powered_common.h"
#include "model/powered_outline.h"
#include "powered_fixture.h"

namespace zarv::model {
namespace {

using test::Config;
using test::MakeAircraft;
using test::PoweredAircraft;

using Builder = void (*)(const shell::AircraftData&, flight::FlightState&, AirframeOutline&);

struct Case {
  const char* name;
  Config config;
  Builder build;
};

const Case kCases[] = {
    {"wing-root nacelle", Config::WingRoot, &BuildUnderwingNacelleOutline},
    {"wide nacelle", Config::Wide, &BuildWideNacelleOutline},
    {"narrow nacelle", Config::Narrow, &BuildNarrowNacelleOutline},
    {"single fin", Config::SingleFin, &BuildSingleFinJetOutline},
};

template <typename Grid>
void ExpectFinite(const Grid& g, const char* what) {
  for (int i = 0; i < Grid::kCells; ++i) ASSERT_TRUE(std::isfinite(g[i])) << what << " cell " << i;
}

void ExpectAllFinite(const AirframeOutline& o) {
  ExpectFinite(o.FrontFuselageX, "FX");
  ExpectFinite(o.FrontFuselageY, "FY");
  ExpectFinite(o.FrontFuselageZ, "FZ");
  ExpectFinite(o.RearFuselageX, "RX");
  ExpectFinite(o.RearFuselageY, "RY");
  ExpectFinite(o.RearFuselageZ, "RZ");
  ExpectFinite(o.WingX, "WX");
  ExpectFinite(o.WingY, "WY");
  ExpectFinite(o.WingZ, "WZ");
  ExpectFinite(o.TailX, "TX");
  ExpectFinite(o.TailY, "TY");
  ExpectFinite(o.TailZ, "TZ");
  ExpectFinite(o.NacelleX, "NX");
  ExpectFinite(o.NacelleY, "NY");
  ExpectFinite(o.NacelleZ, "NZ");
  for (int i = 0; i < PartPivotSet::kCount; ++i) {
    const OutlinePoint& p = o.PartPivots[i];
    ASSERT_TRUE(std::isfinite(p.X) && std::isfinite(p.Y) && std::isfinite(p.Z)) << "pivot " << i;
  }
  for (double v : {o.TailplaneHingeY, o.TailplaneHingeZ, o.FinHingeY, o.OutlineZMax, o.OutlineZMin}) {
    ASSERT_TRUE(std::isfinite(v));
  }
}

template <typename Grid>
void Range(const Grid& z, double& lo, double& hi) {
  for (int i = 0; i < Grid::kCells; ++i) {
    lo = std::min(lo, z[i]);
    hi = std::max(hi, z[i]);
  }
}

TEST(PoweredOutlineInvariants, EveryConfiguration) {
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    PoweredAircraft a = MakeAircraft(c.config);
    c.build(a.aircraft, a.state, a.outline);
    const AirframeOutline& o = a.outline;
    ExpectAllFinite(o);

    // Centred on the height range of the scanned grids.
    double lo = 1e9, hi = -1e9;
    Range(o.FrontFuselageZ, lo, hi);
    Range(o.RearFuselageZ, lo, hi);
    Range(o.WingZ, lo, hi);
    Range(o.NacelleZ, lo, hi);
    EXPECT_NEAR(hi, -lo, 1e-12);
    EXPECT_NEAR(hi - lo, o.OutlineZMax - o.OutlineZMin, 1e-12);

    if (c.config == Config::SingleFin) continue;
    // Stations the builders copy.
    for (int p = 0; p < 12; ++p) {
      EXPECT_EQ(o.NacelleX(7, p), o.NacelleX(6, p));
      EXPECT_EQ(o.NacelleY(7, p), o.NacelleY(6, p));
      // The twin-boom keel join later lowers station 6's top corners only.
      if (c.config == Config::WingRoot || (p >= 3 && p <= 8)) {
        EXPECT_EQ(o.NacelleZ(7, p), o.NacelleZ(6, p));
      }
      EXPECT_EQ(o.NacelleY(12, p), o.NacelleY(11, 0));
    }
    for (int p = 0; p < 8; ++p) {
      EXPECT_EQ(o.RearFuselageY(4, p), o.RearFuselageY(4, 0));
      EXPECT_EQ(o.RearFuselageZ(4, p), o.RearFuselageZ(4, 0));
      if (c.config == Config::WingRoot) {
        EXPECT_EQ(o.FrontFuselageZ(10, p), o.FrontFuselageZ(9, p));
        EXPECT_EQ(o.RearFuselageX(1, p), o.RearFuselageX(0, p));
        EXPECT_EQ(o.RearFuselageZ(1, p), o.RearFuselageZ(0, p));
      } else {
        EXPECT_EQ(o.FrontFuselageY(10, p), o.FrontFuselageY(9, p));
      }
    }
    // The right fin mirrors the left with its thickness side reversed.
    const int mirror[6] = {0, 5, 4, 3, 2, 1};
    for (int s = 6; s <= 8; ++s) {
      for (int j = 0; j < 6; ++j) {
        EXPECT_NEAR(o.TailX(s + 3, mirror[j]), -o.TailX(s, j), 1e-12) << s << "," << j;
        EXPECT_NEAR(o.TailY(s + 3, mirror[j]), o.TailY(s, j), 1e-12) << s << "," << j;
        if (s != 8) {
          EXPECT_NEAR(o.TailZ(s + 3, mirror[j]), o.TailZ(s, j), 1e-12) << s << "," << j;
        }
      }
    }
    // Tailplane halves mirror likewise.
    for (int s = 0; s <= 2; ++s) {
      for (int j = 0; j < 6; ++j) EXPECT_EQ(o.TailX(5 - s, j), -o.TailX(s, j)) << s << "," << j;
    }
  }
}

TEST(PoweredOutlineInvariants, DegenerateTailsStayFinite) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    // No tailplane and no fin: chords 0, sweeps 0/0 as the set-up leaves them.
    PoweredAircraft a = MakeAircraft(c.config);
    a.aircraft.TailplaneArea = 0;
    a.aircraft.FinArea = 0;
    a.state.TailChord = 0;
    a.state.FinChord = 0;
    a.state.TailplaneSweepOffset = nan;
    a.state.FinSweepOffset = nan;
    c.build(a.aircraft, a.state, a.outline);
    ExpectAllFinite(a.outline);
    // Surfaces of no chord: nothing to draw.
    for (int j = 0; j < 6; ++j) {
      EXPECT_EQ(a.outline.TailY(7, j), 0.0);
      EXPECT_EQ(a.outline.TailY(8, j), 0.0);
      if (c.config != Config::SingleFin) {
        EXPECT_EQ(a.outline.TailY(2, j), 0.0);
      }
    }

    // Fins tilted flat and a keel whose stations meet.
    PoweredAircraft b = MakeAircraft(c.config);
    b.aircraft.FinTilt = 3.1415926 / 2;
    b.state.EngineDiameter = (b.state.TailPointArm + b.outline.WingY(1, 0)) / 1.3;
    c.build(b.aircraft, b.state, b.outline);
    ExpectAllFinite(b.outline);
  }
}

TEST(PoweredOutlineInvariants, RebuildLeavesNothingOfAnEarlierBuild) {
  PoweredAircraft fresh = MakeAircraft(Config::SingleFin);
  fresh.state.EngineType = "roket";  // no tailplane rows
  PoweredAircraft reused = fresh;
  BuildSingleFinJetOutline(fresh.aircraft, fresh.state, fresh.outline);

  PoweredAircraft other = MakeAircraft(Config::Wide);
  reused.outline = other.outline;
  BuildWideNacelleOutline(other.aircraft, other.state, reused.outline);
  test::FillWingGrid(reused);
  BuildSingleFinJetOutline(reused.aircraft, reused.state, reused.outline);

  const AirframeOutline& f = fresh.outline;
  const AirframeOutline& r = reused.outline;
  for (int i = 0; i < TailGrid::kCells; ++i) EXPECT_EQ(r.TailX[i], f.TailX[i]) << i;
  for (int i = 0; i < NacelleGrid::kCells; ++i) {
    EXPECT_EQ(r.NacelleX[i], f.NacelleX[i]) << i;
    EXPECT_EQ(r.NacelleZ[i], f.NacelleZ[i]) << i;
  }
  EXPECT_EQ(r.OutlineZMax, f.OutlineZMax);
  EXPECT_EQ(r.OutlineZMin, f.OutlineZMin);
}

TEST(PoweredOutlineInterpolation, CoincidentStationsGiveTheNearerValue) {
  EXPECT_DOUBLE_EQ(powered::Interpolate(1.5, 1, 10, 2, 20), 15);
  EXPECT_DOUBLE_EQ(powered::Interpolate(3, 1, 10, 2, 20), 30);  // extended, not clamped
  EXPECT_DOUBLE_EQ(powered::Interpolate(3, 1, 10, 1, 20), 10);
  EXPECT_DOUBLE_EQ(powered::SafeRatio(1, 0), 0);
}

}  // namespace
}  // namespace zarv::model
