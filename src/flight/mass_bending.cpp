#include "flight/mass_bending.h"

#include <cmath>

#include "flight/ground_contact.h"
#include "flight/guarded_math.h"
#include "flight/launch_run.h"
#include "platform/runtime/numeric.h"

namespace zarv::flight {
namespace {

double Limited(double v, double limit) { return std::fabs(v) > limit ? limit * Sgn(v) : v; }

// One explicit Euler step of a bending mode with its limits (the kept
// acceleration is the limited one).
void IntegrateBend(double& accel, double& rate, double& bend, double n) {
  accel = Limited(accel, 1);
  rate = Limited(rate + accel / n, 1);
  bend = Limited(bend + rate / n, 0.3);
}

}  // namespace

void UpdateInertias(const SetUpConstants& setup, const AirData& air, const aircraft::AircraftData& a,
                    MassProperties& masses, ControlState& controls) {
  const double c = a.WingArea / a.WingSpan;
  const double x = masses.CgX;
  const double l = a.OverallLength;
  const double wing = a.WingWeight * (Sq(0.3 * c) + 0.45 * Sq(x) + 0.4 * Sq(setup.InnerPanelSweepOffset - x) +
                                      0.15 * Sq(setup.OuterPanelSweepOffset - x));
  const double pilot = a.PilotWeight * (Sq(setup.BodyHeight / 2) + l * l / 40 + Sq(masses.PilotArm - x));
  const double rear = a.RearFuselageWeight * Sq((a.TailplaneArm - x) / 2);
  const double tail = a.TailWeight * Sq(a.TailplaneArm - x);
  const double wingSpan = a.WingWeight * (0.35 * Sq(setup.WingRootOffset / 2) + 0.35 * Sq(setup.InnerPanelSpanPos) +
                                          0.25 * Sq(setup.OuterPanelSpanPos));
  masses.PitchInertia = wing + masses.ApparentMass * Sq(l) / 4 + pilot + rear + tail + masses.DryMass * Sq(l) / 32;
  masses.RollInertia = wingSpan + Sq(setup.BodyHeight / 4) * (a.RearFuselageWeight + a.PilotWeight) +
                  Sq(a.WingSpan / 4) * masses.ApparentMass + a.WingSpan * a.WingSpan * masses.DryMass / 32;
  masses.YawInertia = pilot + wingSpan + rear + tail + Sq(a.WingSpan / 4) * masses.ApparentMass + l * l * masses.DryMass / 32;
  const double q = air.DynamicPressure > 1500 ? air.DynamicPressure : 1500.0;
  controls.YawDamperGain = GuardedDiv(GuardedDiv(masses.YawInertia, a.FinArea), a.FinArm) / q * 15;
}

void UpdateLoads(const MassProperties& masses, const BodyMotion& body, const TailState& tail, AirData& air,
                 LoadState& loads) {
  const double q = air.DynamicPressure;
  const double m = masses.Mass + masses.ApparentMass;
  loads.LiftVerticalForce = tail.TotalLiftArea * q * body.ViewRollCos - tail.TotalSideArea * tail.SideDynamicPressure * body.ViewRollSin;
  loads.LiftLateralForce = tail.TotalLiftArea * q * body.ViewRollSin + tail.TotalSideArea * tail.SideDynamicPressure * body.ViewRollCos;
  loads.LiftAccel = (masses.ApparentMass * 9.8 + loads.LiftVerticalForce) / m;
  loads.SideAccel = loads.LiftLateralForce / m;
  air.NormalLoad = (tail.TotalLiftArea + tail.TailplaneLiftArea) * q / (masses.FuelQuantity + masses.DryMass);
  loads.SideLoadRatio = -tail.TotalSideArea / (m * air.SupportAccel / q + tail.TotalLiftArea + 0.0001);
}

void UpdatePosition(const SetUpConstants& setup, const LoopTiming& loop, const aircraft::AircraftData& a,
                    BodyMotion& body, LoadState& loads) {
  const double n = loop.StepsPerSecond;
  body.PosX += body.VelX / n;
  body.PosY += body.VelY / n;
  if (body.Altitude < 213) {
    loads.LowFlightDistance += body.GroundSpeed / n;
  } else {
    loads.LowFlightDistance = 0;
  }
  body.Distance = std::sqrt(body.PosX * body.PosX + body.PosY * body.PosY) - 10;
  body.CourseDistance = a.LaunchHeight < 120000
                         ? body.Distance
                         : std::sqrt(Sq(setup.CourseOffsetX + body.PosX) + Sq(body.PosY - 300)) - 10;
}

void BendAirframe(FlightState& s, const aircraft::AircraftData& a) {
  if (!((s.Loop.FlightTime > 0 && aircraft::StartsAboveSurface(a)) || s.Loop.FlightTime > 0.1)) return;
  const double n = s.Loop.StepsPerSecond;
  const double q = s.Air.DynamicPressure;
  const bool light = aircraft::LaunchAtMost10(a.LaunchSpeed);

  // Wing.
  if (s.Body.AirSpeed > 0.1) {
    s.Loads.WingBend = ((s.Tail.TotalLiftArea * q / s.Masses.InitialDryMass - s.Instruments.WingMassShare * s.Air.SupportAccel) / 9.8 * a.WingDeflection +
                  s.Loads.WingBend) /
                 2;
  } else {
    s.Loads.WingBend = 3.0 / 4 * s.Loads.WingBend;
  }
  s.Loads.WingBend = Limited(s.Loads.WingBend, a.WingSpan / 4);

  // Rear fuselage in pitch.
  const double sign = Sgn(a.TailplaneArm);
  const double tailLoad = (s.Tail.TailLiftArea + s.Tail.ElevatorSlipstreamArea) * q;
  if (a.TailplaneArea > 0) {
    const double m = -s.Controls.RearFuselageBend * sign * a.RearFuselageStiffness +
                     (s.Air.SupportAccel + s.Air.NormalLoad) * a.TailWeight - tailLoad;
    s.Loads.RearFuselageBendAccel =
        2 * m / (std::sqrt(a.TailplaneArea) / 4 * 2 * a.TailplaneArea * s.Air.AirDensity + a.TailWeight) / a.TailplaneArm -
        50 * s.Controls.RearFuselageBendRate;
  }
  s.Loads.RearFuselageBendAccel -= 5 * s.Controls.RearFuselageBendRate;
  const double softness =
      std::fabs(a.RearFuselageStiffness) / (std::fabs(a.TailWeight) + 0.001) / (std::fabs(a.TailplaneArm) + 0.001);
  if (softness < 1000 && light && s.Masses.Mass > 20) {
    IntegrateBend(s.Loads.RearFuselageBendAccel, s.Controls.RearFuselageBendRate, s.Controls.RearFuselageBend, n);
    if (s.Body.AirSpeed < 0.1) s.Controls.RearFuselageBend = 0;
  } else {
    s.Controls.RearFuselageBendRate = 0;
    s.Controls.RearFuselageBend =
        -sign * GuardedDiv(tailLoad - (s.Air.SupportAccel + s.Air.NormalLoad) * a.TailWeight, a.RearFuselageStiffness);
  }

  // Rear fuselage sideways.
  if (a.FinArea > 0) {
    s.Loads.RearFuselageSideBendAccel =
        2 * (-s.Controls.RearFuselageSideBend * a.RearFuselageStiffness * 30 - a.TailWeight * s.Loads.SideAccel - s.Tail.FinSideArea * q) /
            (a.FinArea * s.Masses.ApparentMass / a.WingArea + a.TailWeight) / a.TailplaneArm -
        7 * s.Controls.RearFuselageSideBendRate;
  }
  const double sideSoftness = std::fabs(30 * a.RearFuselageStiffness) / (std::fabs(a.TailWeight) + 0.001) /
                              (std::fabs(a.TailplaneArm) + 0.001);
  if (sideSoftness < 1000 && light && a.TailplaneArm > 0 && s.Masses.Mass > 20) {
    IntegrateBend(s.Loads.RearFuselageSideBendAccel, s.Controls.RearFuselageSideBendRate, s.Controls.RearFuselageSideBend, n);
    s.Tail.FinBodySideArea = -GuardedDiv(s.Controls.RearFuselageSideBend * a.RearFuselageStiffness, q);
    s.Tail.TotalSideArea = s.Tail.DihedralSideTerm + s.Tail.FinBodySideArea + s.Tail.BodySideTerm;
  } else {
    s.Controls.RearFuselageSideBend = 0;
    s.Controls.RearFuselageSideBendRate = 0;
    s.Loads.RearFuselageSideBendAccel = 0;
  }
  if (a.TailplaneArea == 0) s.Controls.RearFuselageBend = 0;
}

void UpdateLoadedDihedral(const SetUpConstants& setup, const MassProperties& masses, const LoadState& loads,
                          const InstrumentState& instruments, const aircraft::AircraftData& a,
                          ControlState& controls) {
  if (!(a.WingDeflection > 0)) {
    // A wing that does not bend keeps its static dihedral.
    controls.InnerDihedralLoaded = a.InnerDihedral;
    controls.OuterDihedralLoaded = a.OuterDihedral;
    controls.TipDihedralLoaded = a.TipDihedral;
    return;
  }
  const double h = a.WingSpan / 2 - a.TipLength - setup.WingRootOffset;
  const double l = h / 2;
  const double k = loads.WingBend / a.WingDeflection * masses.Mass / masses.DryMass;
  controls.InnerDihedralLoaded = k * std::atan((instruments.InnerPanelBend / l) / (1 - Sq(instruments.InnerPanelBend / h / 2))) + a.InnerDihedral;
  controls.OuterDihedralLoaded = k * std::atan((instruments.OuterPanelBend / l) / (1 - Sq(instruments.OuterPanelBend / h / 2))) + a.OuterDihedral;
  if (a.TipLength > 0) {
    controls.TipDihedralLoaded =
        k * std::atan((instruments.TipPanelBend / a.TipLength) / (1 - instruments.TipPanelBend / a.TipLength)) + a.TipDihedral;
  }
}

void UpdateAltitude(const SetUpConstants& setup, const LoopTiming& loop, const GroundState& ground,
                    const aircraft::AircraftData& a, BodyMotion& body) {
  // The start's pin holds the aircraft to its deck only until it has left
  // its start: after that a landing there must stop its sinking, and a
  // lift-off or a fall from just over the deck must go free.
  if (!ground.StartLeft && body.Altitude >= 6 && body.Altitude <= 13 && OnDeck(setup, body, ground, a)) {
    // The deck falls 6 % towards the edge.
    body.Altitude = aircraft::LaunchBelow10(a.LaunchSpeed) ? a.LaunchHeight - 0.06 * body.Distance : a.LaunchHeight;
  } else {
    body.Altitude += body.VelZ / loop.StepsPerSecond;
    // Once the start is left the deck carries what comes down onto it, and
    // lets it slide or lift off again.
    if (ground.StartLeft && OnDeck(setup, body, ground, a)) {
      const double surface = DeckSurfaceHeight(a, body);
      if (body.Altitude < surface) {
        body.Altitude = surface;
        if (body.VelZ < 0) body.VelZ = 0;
      }
    }
  }
}

void AdvanceStepCounter(const BodyMotion& body, const GroundState& ground, const aircraft::AircraftData& a,
                        LoopTiming& loop) {
  ++loop.StepCounter;
  if (loop.StepCounter > kStepCounterWrap) loop.StepCounter = 0;
  if (DownInWater(body, ground, loop, a)) loop.StepCounter = 0;
}

}  // namespace zarv::flight
