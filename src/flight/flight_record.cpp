#include "flight/flight_record.h"

#include <algorithm>
#include <cmath>

#include "platform/runtime/angles.h"
#include "platform/runtime/numeric.h"
#include "platform/runtime/program_state.h"

namespace zarv::flight {
namespace {

// value to 1/k: Int(value x k + 0.5) / k.
double To(double value, double k) { return Int(value * k + 0.5) / k; }

// Radians to degrees, to 1/k degree.
double DegTo(double radians, double k) { return To(radians * kDegreesPerRadian, k); }

int16_t IntOf(double v) { return CheckedTruncate<int16_t>(v, true); }

}  // namespace

void FlightRecord::Reset() {
  std::fill(Samples.rows_.begin(), Samples.rows_.begin() + RowsInUse, FlightSample{});
  RowsInUse = 0;
  RecordCount = -2;
  LastRecorded = -1;
  RecordSampleCount = 1.0;
  LogRowCount = 0;
  LaunchMarkTenths = 0;
  LaunchMarkSamples.fill(0);
  SoundStartCount = 0;
  SoundStartSamples.fill(0);
}

FlightRecord& Record() { return ProgramWide<FlightRecord>(); }

void AdvanceRecordIndex(FlightRecord& r) {
  ++r.RecordCount;
  if (r.RecordCount > kRecordWrapAt) r.RecordCount = kRecordWrapTo;
}

void RecordFlightSample(FlightState& s, FlightRecord& r, const aircraft::AircraftData& a,
                        const FlightOptions& options) {
  if (s.Loop.StepCounter % 2 != 0) return;
  const bool chartsOpen = options.FlightDataChartsActive != 0;
  if (chartsOpen || r.RecordCount < 0 || r.RecordCount >= kRecordCapacity) {
    AdvanceRecordIndex(r);
    return;
  }
  const bool powered = aircraft::LaunchAbove10(a.LaunchSpeed);
  FlightSample& x = r.Row(r.RecordCount);
  r.LastRecorded = r.RecordCount;

  x.Time = static_cast<float>(Int(s.Loop.FlightTime * 20 + 0.2) / 20);
  x.DistanceFlown = To(s.Body.Distance, 1000);
  x.Height = To(s.Body.Altitude, 1000);
  x.PathAngleDeg = DegTo(s.Body.PathAngle, 100);
  x.LoadFactor = powered ? Int((s.Air.SupportAccel + s.Air.NormalLoad) / 0.098 + 0.5) / 100
                         : Int(s.Air.NormalLoad / 0.0098 + 0.5) / 1000;
  x.WingAngleOfAttack = DegTo(powered ? s.Air.AngleOfAttack : s.Setup.WingIncidenceRad + s.Air.AngleOfAttack, 100);
  x.SideslipAngle = DegTo(s.Air.PrevSideslip, 100);
  x.LiftCoefficient = To(s.Wing.WingLift / a.WingArea, 1000);
  x.TailplaneLift = To(s.Air.DynamicPressure * s.Tail.TailplaneLiftArea, 10000);
  x.Airspeed = To(s.Body.AirSpeed, 100);
  x.HeadingDeg = DegTo(s.Body.Heading, 100);
  x.WindNoiseVolume = s.Sound.WindNoiseLevel;
  if (s.Body.CourseDistance < 0 && aircraft::LaunchAtMost10(a.LaunchSpeed)) {
    x.WindNoiseVolume = x.WindNoiseVolume * s.Body.GroundSpeed / a.LaunchSpeed;
  }
  x.CentreOfGravityPct = To(s.Masses.CentreOfGravity, 10);
  x.PressureCentre = To(s.Masses.CentreOfPressure, 10);
  x.TailplaneAngle = DegTo(s.Controls.RearFuselageBend + s.Controls.ElevatorAngle, 100);
  x.TailplaneControl = DegTo(s.Controls.TailplaneCommand, 100);
  x.FinAngle = DegTo(s.Controls.RearFuselageSideBend + s.Controls.RudderAngle, 100);
  x.RecordedWindSpeed = Int(s.Air.WindAtAltitude * 100) / 100;

  if (powered) {
    x.AileronDeg = IntOf(s.Controls.AileronAngle * kDegreesPerRadian / 2 + 0.5);
    const double aspect = a.WingSpan * a.WingSpan / a.WingArea;
    if (s.Engine.EngineType == aircraft::EngineKind::Rocket && aspect < 2.5) {
      x.FlapSetting = CInt(To(s.Controls.TailplaneCommand * kDegreesPerRadian / 3, 100));
    } else {
      x.FlapSetting = IntOf(s.Controls.FlapAngle * 300 + 0.5);
    }
    x.LeadingEdgeFlapAngle = IntOf((s.Airfoils.WingAngleOffsetNow - s.Airfoils.WingAngleOffset) * 80 + 0.5);
    x.NozzleOpening = s.Engine.NozzlePosition < 0.73 ? int16_t{73} : IntOf(s.Engine.NozzlePosition * 100 + 0.5);
    x.NozzleAngle = IntOf(s.Controls.NozzlePitch * kDegreesPerRadian + 0.5);
    // The afterburner opening follows with a lag of about a third of a second.
    const double target =
        ((std::pow(s.Engine.RotorSpeedRatio, 5) * 0.06 + s.Engine.AfterburnerLevel - 1) / (s.Engine.AfterburnerMax - 0.94)) * 100;
    s.Controls.AfterburnerOpeningLag += (target - s.Controls.AfterburnerOpeningLag) * 3 / s.Loop.StepsPerSecond;
    x.AfterburnerOpening = s.Controls.AfterburnerOpeningLag > 0 ? CInt(s.Controls.AfterburnerOpeningLag) : int16_t{0};
    if (s.Controls.AfterburnerLit == 0 && s.Engine.AfterburnerLevel > (s.Engine.AfterburnerMax - 1) * 0.667 + 1) {
      s.Controls.AfterburnerOpeningLag = -3;
      s.Controls.AfterburnerLit = 1;
    }
    x.AirframeTemperature = s.Air.SkinTemperature;
  }

  // The launch attitude is recorded only at the start: back behind the line
  // the aircraft's own is.
  if (s.Body.Distance > 0 || aircraft::StartsFromSurface(a) || s.Ground.StartLeft) {
    x.Bank = DegTo(s.Body.BankAngle, 10);
    x.Pitch = DegTo(s.Body.PitchAngle, 10);
  } else if (a.LaunchHeight > 10.2 && aircraft::LaunchAtMost10(a.LaunchSpeed)) {
    // On a high platform the launch attitude is blended in with speed and
    // shaken by the pilot's run.
    x.Bank = DegTo((s.Body.InertialSpeed / a.LaunchSpeed) * a.LaunchBank -
                       std::sqrt(std::fabs(s.Body.InertialSpeed)) * std::sin(3 * s.Body.CourseDistance) / 150,
                   10);
    x.Pitch = DegTo(s.Body.InertialSpeed * std::sin(6 * s.Body.CourseDistance) / 300 + a.LaunchPitch, 10);
  } else {
    x.Bank = DegTo((s.Body.InertialSpeed / a.LaunchSpeed) * a.LaunchBank, 100);
    x.Pitch = DegTo(a.LaunchPitch, 100);
  }
  x.PitchRateDeg = DegTo(s.Body.PitchRate, 100);
  x.East = To(s.Body.PosX, 1000);
  x.North = To(s.Body.PosY, 1000);
  x.Track = DegTo(s.Body.TrackAngle, 100);
  x.InnerWingDeflection = DegTo(s.Controls.InnerDihedralLoaded - a.InnerDihedral, 100);
  x.OuterWingDeflection = DegTo(s.Controls.OuterDihedralLoaded - a.OuterDihedral, 100);
  x.WingTipDeflection = DegTo(s.Controls.TipDihedralLoaded - a.TipDihedral, 100);

  AdvanceRecordIndex(r);
}

}  // namespace zarv::flight
