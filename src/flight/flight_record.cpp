#include "flight/flight_record.h"

#include <algorithm>
#include <cmath>

#include "platform/runtime/numeric.h"

namespace zarv::flight {
namespace {

// value to 1/k: Int(value x k + 0.5) / k.
double To(double value, double k) { return Int(value * k + 0.5) / k; }

// Radians to degrees, to 1/k degree.
double DegTo(double radians, double k) { return To(radians * 57.3, k); }

int16_t IntOf(double v) { return CheckedTruncate<int16_t>(v, true); }

}  // namespace

void FlightRecord::Reset() {
  std::fill(Samples.begin(), Samples.begin() + RowsInUse, FlightSample{});
  RowsInUse = 0;
  RecordCount = -2;
  RecordSampleCount = 1.0;
  LogRowCount = 0;
  LaunchMarkTenths = 0;
  LaunchMarkSamples.fill(0);
  SoundStartCount = 0;
  SoundStartSamples.fill(0);
}

FlightRecord& Record() {
  static FlightRecord instance;
  return instance;
}

void AdvanceRecordIndex(FlightRecord& r) {
  ++r.RecordCount;
  if (r.RecordCount > kRecordWrapAt) r.RecordCount = kRecordWrapTo;
}

void RecordFlightSample(FlightState& s, FlightRecord& r, const aircraft::AircraftData& a,
                        const FlightOptions& options) {
  if (s.StepCounter % 2 != 0) return;
  const bool chartsOpen = options.FlightDataChartsActive != 0;
  if (chartsOpen || r.RecordCount < 0 || r.RecordCount >= kRecordCapacity) {
    AdvanceRecordIndex(r);
    return;
  }
  const bool powered = a.LaunchSpeed > 10;
  FlightSample& x = r.Row(r.RecordCount);

  x.Time = static_cast<float>(Int(s.FlightTime * 20 + 0.2) / 20);
  x.DistanceFlown = To(s.Distance, 1000);
  x.Height = To(s.Altitude, 1000);
  x.PathAngleDeg = DegTo(s.PathAngle, 100);
  x.LoadFactor = powered ? Int((s.SupportAccel + s.NormalLoad) / 0.098 + 0.5) / 100
                         : Int(s.NormalLoad / 0.0098 + 0.5) / 1000;
  x.WingAngleOfAttack = DegTo(powered ? s.AngleOfAttack : s.WingIncidenceRad + s.AngleOfAttack, 100);
  x.SideslipAngle = DegTo(s.PrevSideslip, 100);
  x.LiftCoefficient = To(s.WingLift / a.WingArea, 1000);
  x.TailplaneLift = To(s.DynamicPressure * s.TailplaneLiftArea, 10000);
  x.Airspeed = To(s.AirSpeed, 100);
  x.HeadingDeg = DegTo(s.Heading, 100);
  x.WindNoiseVolume = s.WindNoiseLevel;
  if (s.CourseDistance < 0 && a.LaunchSpeed <= 10) {
    x.WindNoiseVolume = x.WindNoiseVolume * s.GroundSpeed / a.LaunchSpeed;
  }
  x.CentreOfGravityPct = To(s.CentreOfGravity, 10);
  x.PressureCentre = To(s.CentreOfPressure, 10);
  x.TailplaneAngle = DegTo(s.RearFuselageBend + s.ElevatorAngle, 100);
  x.TailplaneControl = DegTo(s.ElevatorInput, 100);
  x.FinAngle = DegTo(s.RearFuselageSideBend + s.RudderAngle, 100);
  x.RecordedWindSpeed = Int(s.WindAtAltitude * 100) / 100;

  if (powered) {
    x.AileronDeg = IntOf(s.AileronAngle * 57.3 / 2 + 0.5);
    const double aspect = a.WingSpan * a.WingSpan / a.WingArea;
    if (s.EngineType == "roket" && aspect < 2.5) {
      x.FlapSetting = CInt(To(s.ElevatorInput * 57.3 / 3, 100));
    } else {
      x.FlapSetting = IntOf(s.FlapAngle * 300 + 0.5);
    }
    x.LeadingEdgeFlapAngle = IntOf((s.WingAngleOffsetNow - s.WingAngleOffset) * 80 + 0.5);
    x.NozzleOpening = s.NozzlePosition < 0.73 ? int16_t{73} : IntOf(s.NozzlePosition * 100 + 0.5);
    x.NozzleAngle = IntOf(s.NozzlePitch * 57.3 + 0.5);
    // The afterburner opening follows with a lag of about a third of a second.
    const double target =
        ((std::pow(s.RotorSpeedRatio, 5) * 0.06 + s.AfterburnerLevel - 1) / (s.AfterburnerMax - 0.94)) * 100;
    s.AfterburnerOpeningLag += (target - s.AfterburnerOpeningLag) * 3 / s.StepsPerSecond;
    x.AfterburnerOpening = s.AfterburnerOpeningLag > 0 ? CInt(s.AfterburnerOpeningLag) : int16_t{0};
    if (s.AfterburnerLit == 0 && s.AfterburnerLevel > (s.AfterburnerMax - 1) * 0.667 + 1) {
      s.AfterburnerOpeningLag = -3;
      s.AfterburnerLit = 1;
    }
    x.AirframeTemperature = s.SkinTemperature;
  }

  if (s.Distance > 0 || a.LaunchHeight < 1) {
    x.Bank = DegTo(s.BankAngle, 10);
    x.Pitch = DegTo(s.PitchAngle, 10);
  } else if (a.LaunchHeight > 10.2 && a.LaunchSpeed <= 10) {
    // On a high platform the launch attitude is blended in with speed and
    // shaken by the pilot's run.
    x.Bank = DegTo((s.InertialSpeed / a.LaunchSpeed) * a.LaunchBank -
                       std::sqrt(std::fabs(s.InertialSpeed)) * std::sin(3 * s.CourseDistance) / 150,
                   10);
    x.Pitch = DegTo(s.InertialSpeed * std::sin(6 * s.CourseDistance) / 300 + a.LaunchPitch, 10);
  } else {
    x.Bank = DegTo((s.InertialSpeed / a.LaunchSpeed) * a.LaunchBank, 100);
    x.Pitch = DegTo(a.LaunchPitch, 100);
  }
  x.PitchRateDeg = DegTo(s.PitchRate, 100);
  x.East = To(s.PosX, 1000);
  x.North = To(s.PosY, 1000);
  x.Track = DegTo(s.TrackAngle, 100);
  x.InnerWingDeflection = DegTo(s.InnerDihedralLoaded - a.InnerDihedral, 100);
  x.OuterWingDeflection = DegTo(s.OuterDihedralLoaded - a.OuterDihedral, 100);
  x.WingTipDeflection = DegTo(s.TipDihedralLoaded - a.TipDihedral, 100);

  AdvanceRecordIndex(r);
}

}  // namespace zarv::flight
