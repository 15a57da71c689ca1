#include "flight/flight_loop.h"

#include <chrono>
#include <cmath>
#include <limits>
#include <thread>

#include "flight/atmosphere.h"
#include "flight/augmentation.h"
#include "flight/coefficients.h"
#include "flight/control_surfaces.h"
#include "flight/fuel.h"
#include "flight/ground_contact.h"
#include "flight/launch_run.h"
#include "flight/loop_input.h"
#include "flight/mass_bending.h"
#include "flight/pilot_demand.h"
#include "flight/propulsion.h"
#include "flight/rotation_dynamics.h"
#include "flight/tail.h"
#include "flight/translation.h"
#include "flight/wing.h"
#include "model/rotation.h"
#include "platform/runtime/clock.h"
#include "platform/runtime/numeric.h"

namespace zarv::flight {
namespace {

constexpr int16_t kTriggerCountWrap = 3266;

void Call(const std::function<void()>& hook) {
  if (hook) hook();
}

template <typename T>
void CountUp(T& counter) {
  if (counter < std::numeric_limits<T>::max()) ++counter;
}

// A NaN or infinity would fly on for ever: the flight ends as a cancel.
void EndOnNonFiniteState(FlightLoop& f) {
  FlightState& s = f.State;
  s.Altitude = kCancelAltitude;
  s.GroundSpeed = 0;
  s.VelX = s.VelY = s.VelZ = 0;
  s.EndCause = static_cast<int16_t>(FlightEndCause::NonFinite);
  s.FlightEnded = true;
  s.FlightEndShown = true;
  if (f.Seams.ShowMessage) f.Seams.ShowMessage("計算が発散したため、飛行を中止しました。");
}

void AdvanceLoopCounters(FlightState& s) {
  CountUp(s.PassCount);
  CountUp(s.PassesThisSecond);
  ++s.StepsSinceTrigger;
  if (s.StepsSinceTrigger > kTriggerCountWrap) s.StepsSinceTrigger = 0;
}

// Pass 5: the wind sound levels; pass 25: the settings are saved (once per
// flight, nested runs included).
void RunStartUpActions(const FlightState& s, FlightSeams& seams) {
  if (s.PassCount == 5) Call(seams.UpdateWindSound);
  if (s.PassCount == 25) Call(seams.SaveSettings);
}

// Once a second of real time: 40 steps per second from then on, and the
// figure of how much faster than real time the simulation could run.
void UpdateOncePerSecond(FlightState& s) {
  const uint64_t now = timeGetTime();
  if (static_cast<int64_t>(now) <= s.TimeMark + 1000) return;
  s.TimeMark = static_cast<int64_t>(now);
  s.StepsPerSecond = 40;
  if (s.BusyMs != s.WaitMs) {
    s.FrameRate = (s.PassesThisSecond / 40.0) * static_cast<double>(s.BusyMs) /
                  static_cast<double>(s.BusyMs - s.WaitMs);
  }
  s.WaitMs = s.BusyMs = 0;
  s.PassesThisSecond = 0;
}

void AdvanceFlightTime(FlightState& s) { s.FlightTime += 1.0 / s.StepsPerSecond; }

// A small push while the surface carries the aircraft. Without an engine
// nothing resets the thrust each step, so there it is set, not added: it
// would otherwise grow without bound while the aircraft rolls.
void AddSupportThrust(FlightState& s) {
  const bool engine = s.EngineType == "pist" || s.EngineType == "jet" || s.EngineType == "roket";
  if (!engine) {
    s.Thrust = s.SupportAccel > 0 ? s.Mass * 0.001 : 0.0;
  } else if (s.SupportAccel > 0) {
    s.Thrust += s.Mass * 0.001;
  }
}

// Display steps: the pointer, the head-up display and the slowly changing
// aerodynamic coefficients.
void RunDisplayStepWork(FlightState& s, const aircraft::AircraftData& a, const FlightOptions& options,
                        FlightSeams& seams) {
  if (s.StepCounter % s.DisplayDivisor != 0) return;
  if (seams.SetPointerShape) seams.SetPointerShape(s.MouseSteering == 1 && options.JoystickOn == 0 ? 2 : 1);
  Call(seams.DrawHeadUpDisplay);
  RefreshAeroCoefficients(s, a);
}

void UpdateCompanionAndRounds(FlightSeams& seams) {
  Call(seams.UpdateCompanion);
  Call(seams.UpdateGunRounds);
}

void UpdateAirAndExhaust(FlightState& s, const aircraft::AircraftData& a, FlightSeams& seams) {
  UpdateAtmosphere(s, a);
  Call(seams.UpdateExhaustAndEngineSound);
}

// The panel on every second drawn frame and on the first steps after the
// step counter wraps.
void UpdateInstrumentPanel(FlightState& s, const aircraft::AircraftData& a, FlightSeams& seams) {
  if (s.StepCounter % (2 * s.DisplayDivisor) != 0 && s.StepCounter >= 5) return;
  if (seams.DrawInstrumentPanel) {
    seams.DrawInstrumentPanel();
  } else {
    UpdateInstrumentPanelPhysics(s, a);
  }
}

void SetDisplayDivisor(FlightState& s, const FlightOptions& options) {
  if (s.SpeedMode < 1) {
    s.DisplayDivisor = 36;
  } else {
    s.DisplayDivisor = options.FrameRate20 ? 2 : 4;
  }
}

// A display step, or the last pass of an aircraft at rest in the water.
bool IsDisplayStep(const FlightState& s) {
  return s.StepCounter % s.DisplayDivisor == 0 || (s.Altitude < 0 && s.GroundSpeed < s.StopSpeed);
}

void WaitOnPlatformClock(uint64_t deadline) {
  for (;;) {
    const uint64_t now = timeGetTime();
    if (now >= deadline) return;
    if (deadline - now > 2) {
      std::this_thread::sleep_for(std::chrono::milliseconds(deadline - now - 2));
    } else {
      std::this_thread::yield();
    }
  }
}

// Waits until real time has caught up with the frame's deadline. A frame
// that took longer than its period is not made up later.
void PaceToRealTime(FlightState& s, FlightSeams& seams) {
  if (s.SpeedMode < 1 || seams.Headless) {
    s.WaitMs = 0;
    return;
  }
  uint64_t now = timeGetTime();
  s.BusyMs += static_cast<int64_t>(now - s.LastTick);
  s.LastTick = now;
  if (now < s.NextFrameTime) {
    if (seams.WaitUntil) {
      seams.WaitUntil(s.NextFrameTime);
    } else {
      WaitOnPlatformClock(s.NextFrameTime);
    }
    now = timeGetTime();
  }
  s.WaitMs += static_cast<int64_t>(now - s.LastTick);
  s.NextFrameTime = now + static_cast<uint64_t>(CLng(1000.0 / s.StepsPerSecond * s.DisplayDivisor));
  if (s.WaitMs > s.BusyMs - 1) s.WaitMs = s.BusyMs - 1;
}

}  // namespace

void SetViewAndEye(FlightState& s, const aircraft::AircraftData& a, const model::AirframeOutline& o) {
  s.ViewHeading = s.Heading;
  s.ViewDepression = -s.PitchAngle;
  s.ViewHeadingSin = std::sin(-s.ViewHeading);
  s.ViewHeadingCos = std::cos(-s.ViewHeading);
  s.ViewDepressionSin = std::sin(s.ViewDepression);
  s.ViewDepressionCos = std::cos(s.ViewDepression);

  model::WorkPoint eye;
  if (a.LaunchSpeed < 10 && a.WingHeight >= 0.9) {
    eye = {0, 0.8, a.WingHeight - 0.2};
  } else {
    eye = {0, o.FrontFuselageY(4, 0), o.FrontFuselageZ(4, 0) - 0.4};
  }
  const model::AttitudeRotation attitude{std::sin(s.BankAngle), std::cos(s.BankAngle), std::sin(s.PitchAngle),
                                         std::cos(s.PitchAngle), std::sin(s.Heading),   std::cos(s.Heading)};
  model::RotatePointByAttitude(attitude, eye);
  s.EyeX = s.PosX + eye.X;
  s.EyeY = s.PosY + eye.Y;
  s.EyeZ = s.Altitude + eye.Z;
  s.ViewZoom = 1.0;
}

bool FlightStateIsFinite(const FlightState& s) {
  // A fault anywhere in a stage reaches the integrated quantities within the
  // pass: the rates, velocities, attitude and position.
  const double values[] = {
      s.PosX,       s.PosY,     s.Altitude,   s.VelX,      s.VelY,        s.VelZ,     s.GroundSpeed,
      s.AirSpeed,   s.PitchRate, s.RollRate,  s.YawRate,   s.PitchAngle,  s.BankAngle, s.Heading,
      s.Thrust,     s.FuelQuantity, s.ElevatorAngle, s.RudderAngle, s.AileronAngle, s.FlightTime,
  };
  // Anything times 0 is 0, except NaN and infinity.
  double sum = 0;
  for (double v : values) sum += v * 0.0;
  return sum == 0;
}

bool TestEndOfFlight(FlightState& s, const aircraft::AircraftData& a) {
  const bool wasEnded = s.FlightEnded;
  if (a.LaunchSpeed > 10 && s.Altitude < 0) {
    s.FlightEndShown = true;
    s.FlightEnded = true;
    if (s.Altitude > -50) s.ScreenColour = 0x80;  // a real touch-down, not the cancel sentinel
  }
  if (s.Distance > 0 && s.GroundSpeed < s.StopSpeed && s.Altitude < 0) {
    s.FlightEnded = true;
    s.FlightEndShown = true;
  }
  if (s.FlightEnded && !wasEnded && s.EndCause == static_cast<int16_t>(FlightEndCause::None)) {
    s.EndCause = static_cast<int16_t>(s.Altitude > -50 ? FlightEndCause::Water : FlightEndCause::Cancel);
  }
  return s.FlightEnded;
}

void CheckRestWatchdog(FlightState& s) {
  const double now = Timer();
  if (s.GroundSpeed <= 1 && s.Distance >= 200 && s.CourseDistance >= 0) {
    if (now > s.WatchdogMark + 60 && s.FlightTime > 100) {
      s.Altitude = kCancelAltitude;
      s.EndCause = static_cast<int16_t>(FlightEndCause::Watchdog);
    }
  } else {
    s.WatchdogMark = now;
  }
}

void BeginFlightRun(FlightLoop& f) {
  FlightState& s = f.State;
  s.ScreenColour = 0x800000;
  s.FlightEnded = false;
  s.BusyMs = 1000;
  s.SoundRefresh = 1;
  const double scale = f.Options.ScreenScale;
  s.ViewCentreY = CLng(f.Aircraft.LaunchPitch > 9 / 57.3 ? s.ViewCentreBaseY - 50 * scale
                                                         : s.ViewCentreBaseY - 108 * scale);
}

bool RunFlightPass(FlightLoop& f) {
  FlightState& s = f.State;
  FlightRecord& r = f.Record;
  const aircraft::AircraftData& a = f.Aircraft;
  const FlightOptions& options = f.Options;
  FlightSeams& seams = f.Seams;

  // Loop head and end tests. A pass on which a test fires still runs to its
  // end; the loop is left at the next head.
  if (s.FlightEnded) return false;
  if (!FlightStateIsFinite(s)) {
    EndOnNonFiniteState(f);
    return false;
  }
  TestEndOfFlight(s, a);

  AdvanceLoopCounters(s);
  RunStartUpActions(s, seams);
  UpdateOncePerSecond(s);
  RecordFlightSample(s, r, a, options);

  // Rigid body: moments, rates, translation, attitude, air data, pilot.
  UpdateCentreOfGravity(s, a);
  ApplyStandingFloor(s);
  AdvanceFlightTime(s);
  ComputeRollAcceleration(s, a);
  MarkLaunchTime(s, a);
  if (std::fabs(s.GroundSpeed) > 1e-5) {
    ComputePitchYawAcceleration(s, a);
    ApplyGroundContactLoads(s, a);
  }
  UpdateBodyRates(s);
  ComputePathAngleRate(s);
  HoldRatesOnPlatform(s, a);
  ComputeLongAccel(s);
  ApplyWaterDrag(s, a);
  s.OnPlatform = IsOnPlatform(s, a);
  if (s.OnPlatform) {
    RunOnPlatform(s, r, a);
  } else {
    UpdateVerticalVelocity(s);
    if (UsesSurfaceTranslation(s, a)) {
      TranslateOnSurface(s, a);
    } else {
      TranslateInFreeFlight(s);
    }
    UpdatePathAngle(s);
  }
  StopBelowSurface(s);
  UpdatePathSines(s);
  HoldSurfaceStart(s, a);
  BounceTailStrike(s, a);
  CheckWingEnds(s, a);
  PropagateAttitude(s, a);
  UpdateAirData(s, a);
  HoldSurfaceStartSpeed(s, a);
  UpdateInertialSpeedAndGravity(s);
  FormPilotDemand(s, a, options);

  // Control surfaces, trims and augmentation.
  if (UsesControlAugmentation(s, a)) {
    ApplyControlAugmentation(s, a, options);
  } else {
    ApplyDirectControl(s, a);
    FormReactionControl(s, options);
  }
  HoldBank(s, a);
  LimitReactionMoments(s);
  DriveControlSurfaces(s, a);

  // Aerodynamics (the wing advances the wind and the updraft).
  UpdateWingAerodynamics(s, a);
  UpdateTailAndTotals(s, a, f.Outline);

  // Mass properties, bending, position.
  UpdateInertias(s, a);
  UpdateLoads(s);
  UpdatePosition(s, a);
  BendAirframe(s, a);
  UpdateLoadedDihedral(s, a);
  UpdateAltitude(s, a);
  AdvanceStepCounter(s, a);

  ProcessLoopInput(s, r, a, options, seams);
  UpdatePropulsion(s, a);
  AddSupportThrust(s);
  RunDisplayStepWork(s, a, options, seams);
  UpdateCompanionAndRounds(seams);
  UpdateAirAndExhaust(s, a, seams);
  UpdateInstrumentPanel(s, a, seams);
  SetDisplayDivisor(s, options);

  if (!IsDisplayStep(s)) return true;
  PaceToRealTime(s, seams);
  SetViewAndEye(s, a, f.Outline);
  if (s.Altitude > -15) Call(seams.DrawFlightFrame);
  CheckRestWatchdog(s);
  Call(seams.DoEvents);
  return true;
}

void FinishFlightRun(FlightLoop& f) {
  FlightState& s = f.State;
  if (s.AfterLoopDone || !s.FlightEnded) return;
  s.AfterLoopDone = true;
  --f.Record.RecordCount;  // points at the last sample written
  Call(f.Seams.StopSoundAndRestoreVolume);
  if (s.Altitude < 0) Call(f.Seams.EndFlight);
}

void RunFlight(FlightLoop& f) {
  BeginFlightRun(f);
  while (RunFlightPass(f)) {
  }
  FinishFlightRun(f);
}

}  // namespace zarv::flight
