#include "flight/flight_loop.h"

#include <algorithm>
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
#include "flight/head_up.h"
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
#include "platform/runtime/angles.h"
#include "platform/runtime/clock.h"
#include "platform/runtime/numeric.h"

namespace zarv::flight {
namespace {

constexpr int16_t kTriggerCountWrap = 3266;

// A default FlightSeams flies headless (the probe, the flight tests): its
// empty seams are skipped by design. The flight screen fills every one,
// checked when it has set itself up.
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
  s.Body.Altitude = kCancelAltitude;
  s.Body.GroundSpeed = 0;
  s.Body.VelX = s.Body.VelY = s.Body.VelZ = 0;
  s.Loop.EndCause = static_cast<int16_t>(FlightEndCause::NonFinite);
  s.Loop.FlightEnded = true;
  s.Loop.FlightEndShown = true;
  if (f.Seams.ShowMessage) f.Seams.ShowMessage("計算が発散したため、飛行を中止しました。");
}

void AdvanceLoopCounters(LoopTiming& loop) {
  CountUp(loop.PassCount);
  CountUp(loop.PassesThisSecond);
  ++loop.StepsSinceTrigger;
  if (loop.StepsSinceTrigger > kTriggerCountWrap) loop.StepsSinceTrigger = 0;
}

// Pass 5: the wind sound levels; pass 25: the settings are saved (once per
// flight, nested runs included).
void RunStartUpActions(const LoopTiming& loop, FlightSeams& seams) {
  if (loop.PassCount == 5) Call(seams.UpdateWindSound);
  if (loop.PassCount == 25) Call(seams.SaveSettings);
}

// Once a second of the loop's clock (a third of one at x1/3): 40 steps per
// second from then on, and the figure of how much faster than real time the
// simulation could run.
void UpdateOncePerSecond(LoopTiming& loop) {
  const uint64_t now = timeGetTime();
  if (static_cast<int64_t>(now) <= loop.TimeMark + 1000) return;
  loop.TimeMark = static_cast<int64_t>(now);
  loop.StepsPerSecond = 40;
  if (loop.BusyMs != loop.WaitMs) {
    loop.FrameRate = (loop.PassesThisSecond / 40.0 / PaceSlowdown(loop)) * static_cast<double>(loop.BusyMs) /
                     static_cast<double>(loop.BusyMs - loop.WaitMs);
  }
  loop.WaitMs = loop.BusyMs = 0;
  loop.PassesThisSecond = 0;
}

void AdvanceFlightTime(LoopTiming& loop) { loop.FlightTime += 1.0 / loop.StepsPerSecond; }

// A small push while the surface carries the aircraft: added to an engine's
// thrust, or the whole thrust of an aircraft with no engine to run (one whose
// engine the catalogue does not know), which nothing else resets each step.
// A light aircraft afloat gets none: the push alone would carry it across a
// calm lake for ever, its pilot's pedals idle.
void AddSupportThrust(const MassProperties& masses, const AirData& air, const GroundState& ground,
                      EngineState& engine) {
  if (StartedAfloat(ground)) return;
  if (!HasEngineToRun(engine)) {
    engine.Thrust = air.SupportAccel > 0 ? masses.Mass * 0.001 : 0.0;
  } else if (air.SupportAccel > 0) {
    engine.Thrust += masses.Mass * 0.001;
  }
}

// Display steps: the pointer, the head-up display (its first of two steps
// per drawn frame) and the slowly changing aerodynamic coefficients.
void RunDisplayStepWork(FlightState& s, FlightRecord& r, const aircraft::AircraftData& a,
                        const FlightOptions& options, FlightSeams& seams) {
  if (s.Loop.StepCounter % s.Loop.DisplayDivisor != 0) return;
  if (seams.SetPointerShape) seams.SetPointerShape(s.Pilot.MouseSteering == 1 && options.JoystickOn == 0 ? 2 : 1);
  StepHeadUpDisplay(s, r, a, options);
  Call(seams.DrawHeadUpDisplay);
  RefreshAeroCoefficients(s, a);
}

void UpdateCompanionAndRounds(FlightSeams& seams) {
  Call(seams.UpdateCompanion);
  Call(seams.UpdateGunRounds);
}

void UpdateAirAndExhaust(const LoopTiming& loop, const BodyMotion& body, const aircraft::AircraftData& a,
                         FlightSeams& seams, AirData& air) {
  UpdateAtmosphere(loop, body, a, air);
  Call(seams.UpdateExhaustAndEngineSound);
}

// The panel on every second drawn frame and on the first steps after the
// step counter wraps: its drawing, then its physics (bend shares,
// compressibility, fuel burn, engine shake), so that the last listing page
// shows the flow and fuel of the burn before this one.
void UpdateInstrumentPanel(FlightState& s, const aircraft::AircraftData& a, FlightSeams& seams) {
  if (s.Loop.StepCounter % (2 * s.Loop.DisplayDivisor) != 0 && s.Loop.StepCounter >= 5) return;
  Call(seams.DrawInstrumentPanel);
  UpdateInstrumentPanelPhysics(s, a);
}

void SetDisplayDivisor(const FlightOptions& options, LoopTiming& loop) {
  if (loop.SpeedMode < 1) {
    loop.DisplayDivisor = 36;
  } else {
    loop.DisplayDivisor = options.FrameRate20 ? 2 : 4;
  }
}

// A display step, or the last pass of an aircraft at rest in the water.
bool IsDisplayStep(const LoopTiming& loop, const BodyMotion& body, const GroundState& ground) {
  return loop.StepCounter % loop.DisplayDivisor == 0 || AtRestInWater(body, ground, loop);
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

// Real ms that one drawn frame takes at a slowdown.
int32_t FramePeriodMs(const LoopTiming& loop, int slowdown) {
  return CLng(1000.0 / loop.StepsPerSecond * loop.DisplayDivisor * slowdown);
}

// The loop's clock is real time less what the x1/3 pace adds to each frame's
// wait (at most the frame's own period twice over), so that the
// once-per-second update and the rest watchdog count a flight at x1/3 as
// the same flight at x1: the marks they count from move on by that much.
void LeaveOutSlowedWait(LoopTiming& loop, int64_t waitedMs) {
  const int slowdown = PaceSlowdown(loop);
  if (slowdown == 1) return;
  const int64_t slowed = std::min<int64_t>(waitedMs, FramePeriodMs(loop, slowdown) - FramePeriodMs(loop, 1));
  if (slowed <= 0) return;
  loop.TimeMark += slowed;
  loop.WatchdogMark += static_cast<double>(slowed) / 1000;
}

// Waits until real time has caught up with the frame's deadline. A frame
// that took longer than its period is not made up later.
void PaceToRealTime(FlightSeams& seams, LoopTiming& loop) {
  if (loop.SpeedMode < 1 || seams.Headless) {
    loop.WaitMs = 0;
    return;
  }
  uint64_t now = timeGetTime();
  loop.BusyMs += static_cast<int64_t>(now - loop.LastTick);
  loop.LastTick = now;
  if (now < loop.NextFrameTime) {
    if (seams.WaitUntil) {
      seams.WaitUntil(loop.NextFrameTime);
    } else {
      WaitOnPlatformClock(loop.NextFrameTime);
    }
    now = timeGetTime();
  }
  const int64_t waited = static_cast<int64_t>(now - loop.LastTick);
  loop.WaitMs += waited;
  LeaveOutSlowedWait(loop, waited);
  loop.NextFrameTime = now + static_cast<uint64_t>(FramePeriodMs(loop, PaceSlowdown(loop)));
  if (loop.WaitMs > loop.BusyMs - 1) loop.WaitMs = loop.BusyMs - 1;
}

}  // namespace

int PaceSlowdown(const LoopTiming& loop) { return loop.SpeedMode == kSpeedModeThird ? 3 : 1; }

double DrawnFramesPerSecond(const LoopTiming& loop) {
  if (loop.DisplayDivisor <= 0) return 0;
  return static_cast<double>(loop.StepsPerSecond) / loop.DisplayDivisor / PaceSlowdown(loop);
}

void SetViewAndEye(const BodyMotion& body, const aircraft::AircraftData& a, const model::AirframeOutline& o,
                   ViewState& view) {
  view.ViewHeading = body.Heading;
  view.ViewDepression = -body.PitchAngle;
  view.ViewHeadingSin = std::sin(-view.ViewHeading);
  view.ViewHeadingCos = std::cos(-view.ViewHeading);
  view.ViewDepressionSin = std::sin(view.ViewDepression);
  view.ViewDepressionCos = std::cos(view.ViewDepression);

  model::WorkPoint eye;
  if (aircraft::LaunchBelow10(a.LaunchSpeed) && a.WingHeight >= 0.9) {
    eye = {0, 0.8, a.WingHeight - 0.2};
  } else {
    eye = {0, o.FrontFuselageY(4, 0), o.FrontFuselageZ(4, 0) - 0.4};
  }
  const model::AttitudeRotation attitude{std::sin(body.BankAngle), std::cos(body.BankAngle), std::sin(body.PitchAngle),
                                         std::cos(body.PitchAngle), std::sin(body.Heading),   std::cos(body.Heading)};
  model::RotatePointByAttitude(attitude, eye);
  view.EyeX = body.PosX + eye.X;
  view.EyeY = body.PosY + eye.Y;
  view.EyeZ = body.Altitude + eye.Z;
  view.ViewZoom = 1.0;
}

bool FlightStateIsFinite(const FlightState& s) {
  // A fault anywhere in a stage reaches the integrated quantities within the
  // pass: the rates, velocities, attitude and position.
  const double values[] = {
      s.Body.PosX,       s.Body.PosY,     s.Body.Altitude,   s.Body.VelX,      s.Body.VelY,        s.Body.VelZ,     s.Body.GroundSpeed,
      s.Body.AirSpeed,   s.Body.PitchRate, s.Body.RollRate,  s.Body.YawRate,   s.Body.PitchAngle,  s.Body.BankAngle, s.Body.Heading,
      s.Engine.Thrust,     s.Masses.FuelQuantity, s.Controls.ElevatorAngle, s.Controls.RudderAngle, s.Controls.AileronAngle, s.Loop.FlightTime,
  };
  // Anything times 0 is 0, except NaN and infinity.
  double sum = 0;
  for (double v : values) sum += v * 0.0;
  return sum == 0;
}

bool FlightIsDown(const FlightState& s) {
  return (s.Body.Altitude < 0 && !FloatsUnderSurface(s.Body, s.Ground, s.Loop)) ||
         (s.Loop.FlightEnded && s.Loop.EndCause != static_cast<int16_t>(FlightEndCause::None));
}

bool TestEndOfFlight(const BodyMotion& body, const GroundState& ground, const aircraft::AircraftData& a,
                     LoopTiming& loop, ViewState& view) {
  const bool wasEnded = loop.FlightEnded;
  if (aircraft::LaunchAbove10(a.LaunchSpeed) && body.Altitude < 0) {
    loop.FlightEndShown = true;
    loop.FlightEnded = true;
    if (!AtCancelHeight(body.Altitude)) view.ScreenColour = 0x80;  // a real touch-down
  }
  // A rest on the water ends out beyond the edge, or anywhere once the
  // aircraft has left its start (behind the line its distance is negative).
  if ((body.Distance > 0 || ground.StartLeft) && body.GroundSpeed < loop.StopSpeed && body.Altitude < 0) {
    loop.FlightEnded = true;
    loop.FlightEndShown = true;
  }
  // Started afloat it floats above the surface, where the tests above never
  // see it, and the wind would drift it on for ever.
  if (AfloatStartEnded(body, ground, loop)) {
    loop.FlightEnded = true;
    loop.FlightEndShown = true;
  }
  if (loop.FlightEnded && !wasEnded && loop.EndCause == static_cast<int16_t>(FlightEndCause::None)) {
    loop.EndCause = static_cast<int16_t>(AtCancelHeight(body.Altitude) ? FlightEndCause::Cancel : FlightEndCause::Water);
  }
  return loop.FlightEnded;
}

void CheckRestWatchdog(LoopTiming& loop, const GroundState& ground, BodyMotion& body, bool onDeck) {
  const double now = Timer();
  // Far out, or on the water or back on the deck anywhere once the aircraft
  // has left its start (behind the line too): a hull's buoyancy can hold it
  // above the surface, and the deck carries it, where the end tests never
  // see it. One waiting at its start is left alone, and so is a start afloat
  // on its own clock.
  const bool away = !AfloatEndsByItsOwnRules(ground) && ((body.Distance >= 200 && body.CourseDistance >= 0) ||
                                                         (ground.StartLeft && (RestsOnWater(ground) || onDeck)));
  if (body.GroundSpeed <= 1 && away) {
    if (now > loop.WatchdogMark + 60 && loop.FlightTime > 100) {
      body.Altitude = kCancelAltitude;
      loop.EndCause = static_cast<int16_t>(FlightEndCause::Watchdog);
    }
  } else {
    loop.WatchdogMark = now;
  }
}

void BeginFlightRun(FlightLoop& f) {
  FlightState& s = f.State;
  s.View.ScreenColour = 0x800000;
  s.Loop.FlightEnded = false;
  s.Loop.BusyMs = 1000;
  s.Sound.SoundRefresh = 1;
  const double scale = f.Options.ScreenScale;
  s.View.ViewCentreY = CLng(f.Aircraft.LaunchPitch > 9 / kDegreesPerRadian ? s.View.ViewCentreBaseY - 50 * scale
                                                         : s.View.ViewCentreBaseY - 108 * scale);
}

bool RunFlightPass(FlightLoop& f) {
  FlightState& s = f.State;
  FlightRecord& r = f.Record;
  const aircraft::AircraftData& a = f.Aircraft;
  const FlightOptions& options = f.Options;
  FlightSeams& seams = f.Seams;

  // Loop head and end tests. A pass on which a test fires still runs to its
  // end; the loop is left at the next head.
  if (s.Loop.FlightEnded) return false;
  if (!FlightStateIsFinite(s)) {
    EndOnNonFiniteState(f);
    return false;
  }
  TestEndOfFlight(s.Body, s.Ground, a, s.Loop, s.View);

  AdvanceLoopCounters(s.Loop);
  RunStartUpActions(s.Loop, seams);
  UpdateOncePerSecond(s.Loop);
  RecordFlightSample(s, r, a, options);

  // Rigid body: moments, rates, translation, attitude, air data, pilot.
  UpdateCentreOfGravity(s.Setup, s.Body, a, s.Masses);
  ApplyStandingFloor(s.Setup, s.Body);
  AdvanceFlightTime(s.Loop);
  ComputeRollAcceleration(s, a);
  MarkLaunchTime(s.Setup, s.Loop, s.Body, s.Pilot, s.Loads, a, s.Ground);
  if (std::fabs(s.Body.GroundSpeed) > 1e-5) {
    ComputePitchYawAcceleration(s, a);
    ApplyGroundContactLoads(s, a);
  }
  UpdateBodyRates(s.Loop, s.Air, s.Ground, s.Body);
  ComputePathAngleRate(s.Setup, s.Air, s.Body);
  HoldRatesOnPlatform(s.Setup, s.Engine, s.Loads, s.Pilot, s.Ground, a, s.Body);
  ComputeLongAccel(s);
  ApplyWaterDrag(s.Setup, s.Masses, s.Wing, a, s.Body, s.Ground);
  s.Body.OnPlatform = IsOnPlatform(s.Setup, s.Body, s.Ground, s.Loads, a);
  if (s.Body.OnPlatform) {
    RunOnPlatform(s, r, a);
  } else {
    UpdateVerticalVelocity(s);
    if (UsesSurfaceTranslation(s.Setup, s.Body, s.Ground, s.Air, a)) {
      TranslateOnSurface(s, a);
    } else {
      TranslateInFreeFlight(s);
    }
    UpdatePathAngle(s.Setup, s.Loop, s.Ground, a, s.Body);
  }
  StopBelowSurface(s.Body);
  HoldAfloatAtStart(s, a);
  UpdatePathSines(s.Body, s.Memo);
  HoldSurfaceStart(s.Loop, a, s.Body);
  BounceTailStrike(s.Setup, s.Controls, a, s.Body);
  CheckWingEnds(s.Setup, s.Body, s.Controls, a, s.Wing, s.Ground);
  MarkAfloatProgress(s.Body, s.Ground);
  PropagateAttitude(s.Setup, s.Loop, s.Ground, a, s.Body, s.Memo);
  UpdateAirData(s.Setup, a, s.Body, s.Air, s.Memo);
  HoldSurfaceStartSpeed(s.Loop, a, s.Body);
  UpdateInertialSpeedAndGravity(s.Setup, s.Body);
  FormPilotDemand(s, a, options);

  // Control surfaces, trims and augmentation.
  if (UsesControlAugmentation(s.Loop, s.Body, s.Air, s.Pilot, a)) {
    ApplyControlAugmentation(s, a, options);
  } else {
    ApplyDirectControl(s.Pilot, a, s.Masses, s.Controls);
    FormReactionControl(s.Engine, s.Masses, s.Air, s.Pilot, options, s.Controls);
  }
  HoldBank(s.Loop, s.Body, s.Air, s.Pilot, a, s.Controls);
  LimitReactionMoments(s.Controls);
  DriveControlSurfaces(s, a);

  // Aerodynamics (the wing advances the wind and the updraft).
  UpdateWingAerodynamics(s, a);
  UpdateTailAndTotals(s, a, f.Outline);

  // Mass properties, bending, position.
  UpdateInertias(s.Setup, s.Air, a, s.Masses, s.Controls);
  UpdateLoads(s.Masses, s.Body, s.Tail, s.Air, s.Loads);
  UpdatePosition(s.Setup, s.Loop, a, s.Body, s.Loads);
  BendAirframe(s, a);
  UpdateLoadedDihedral(s.Setup, s.Masses, s.Loads, s.Instruments, a, s.Controls);
  UpdateAltitude(s.Setup, s.Loop, s.Ground, a, s.Body);
  AdvanceStepCounter(s.Body, s.Ground, a, s.Loop);

  ProcessLoopInput(s, r, a, options, seams);
  UpdatePropulsion(s, a);
  AddSupportThrust(s.Masses, s.Air, s.Ground, s.Engine);
  RunDisplayStepWork(s, r, a, options, seams);
  UpdateCompanionAndRounds(seams);
  UpdateAirAndExhaust(s.Loop, s.Body, a, seams, s.Air);
  UpdateInstrumentPanel(s, a, seams);
  SetDisplayDivisor(options, s.Loop);

  if (!IsDisplayStep(s.Loop, s.Body, s.Ground)) return true;
  PaceToRealTime(seams, s.Loop);
  SetViewAndEye(s.Body, a, f.Outline, s.View);
  if (s.Body.Altitude > -15) {
    StepHeadUpDisplay(s, r, a, options);  // the frame draws the display again
    Call(seams.DrawFlightFrame);
  }
  CheckRestWatchdog(s.Loop, s.Ground, s.Body, OnDeck(s.Setup, s.Body, s.Ground, a));
  Call(seams.DoEvents);
  return true;
}

void FinishFlightRun(FlightLoop& f) {
  FlightState& s = f.State;
  if (s.Loop.AfterLoopDone || !s.Loop.FlightEnded) return;
  s.Loop.AfterLoopDone = true;
  --f.Record.RecordCount;  // points at the last sample written
  Call(f.Seams.StopSoundAndRestoreVolume);
  if (FlightIsDown(s)) Call(f.Seams.EndFlight);
}

void RunFlight(FlightLoop& f) {
  BeginFlightRun(f);
  while (RunFlightPass(f)) {
  }
  FinishFlightRun(f);
}

}  // namespace zarv::flight
