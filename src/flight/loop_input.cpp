#include "flight/loop_input.h"

#include <cmath>

#include "flight/ground_contact.h"
#include "platform/runtime/sound_flags.h"
#include "platform/runtime/clock.h"
#include "platform/runtime/numeric.h"

namespace zarv::flight {
namespace {

// Axis readings run 0..65535 around this; a full deflection moves the
// virtual pointer 32767 / 340 (sideways) and 32767 / 250 (pitch) pixels.
constexpr double kAxisCentre = 32767.0;
constexpr double kAxisUnitsPerPixelX = 340;
constexpr double kAxisUnitsPerPixelY = 250;

// A default FlightSeams flies headless (the probe, the flight tests): its
// empty seams are skipped by design. The flight screen fills every one,
// checked when it has set itself up.
void Call(const std::function<void()>& hook) {
  if (hook) hook();
}

// Silent when headless, like the other seams.
void Play(FlightSeams& seams, const std::string& path, unsigned flags) {
  if (seams.PlaySound) seams.PlaySound(path, flags);
}

// Stick from the joystick, read as a pointer around the view centre, and
// the throttle lever on its third axis.
void ReadJoystick(FlightState& s, const aircraft::AircraftData& a, const FlightOptions& options) {
  const double sc = options.ScreenScale;
  const bool powered = aircraft::LaunchAbove10(a.LaunchSpeed);
  if (s.Pilot.JoyXpos != 0) s.Pilot.JoyAxisPresentX = 1;
  if (s.Pilot.JoyYpos != 0) s.Pilot.JoyAxisPresentY = 1;
  if (s.Pilot.JoyZpos != 0) s.Pilot.JoyAxisPresentZ = 1;
  s.Pilot.SteeringPointerX = CInt(s.View.ViewCentreX - (s.Pilot.JoyXpos - kAxisCentre * s.Pilot.JoyAxisPresentX) * sc / kAxisUnitsPerPixelX);
  s.Pilot.SteeringPointerY = CInt(s.View.ViewCentreY - (s.Pilot.JoyYpos - kAxisCentre * s.Pilot.JoyAxisPresentY) * sc / kAxisUnitsPerPixelY);
  s.Pilot.StickLateral = ShapeLateralStick(s.Pilot.SteeringPointerX - s.Pilot.JoyOffsetX - s.View.ViewCentreX, sc);
  const double pitch = static_cast<double>(s.Pilot.SteeringPointerY) - s.Pilot.JoyOffsetY - s.View.ViewCentreY;
  s.Pilot.StickPitch = a.TailplaneFixed == 0 ? CInt(pitch) : CInt(1.4 * pitch);

  const bool deviceDialog = options.DeviceDialogActive != 0;
  if (!deviceDialog) {
    s.Pilot.ThrottleAxisValue = CInt((s.Pilot.JoyAxisPresentZ + 1 - s.Pilot.JoyZpos / 32767.0) * 128);
    if (s.Loop.StepCounter % s.Loop.DisplayDivisor == 0 && powered) {
      const bool leverMoved = std::fabs(static_cast<double>(s.Pilot.JoyZpos) - s.Pilot.JoyThrottleLatch) > 1000 &&
                              s.Pilot.JoyThrottleLatch > 0;
      // A throttle cut below 0.1 is taken back only by a clear move of the lever.
      if (!(s.Engine.Throttle < 0.1 && !leverMoved)) {
        const double v = s.Pilot.ThrottleAxisValue;
        const double detent = s.Pilot.ThrottleDetent;
        if (s.Engine.AfterburnerMax > 1) {
          s.Engine.Throttle = v / detent * 0.95 + 0.05;
          s.Engine.AfterburnerLevel =
              v / detent > 1.1
                  ? std::fmin(1 + (s.Engine.AfterburnerMax - 1) * (v - detent) / (245 - detent), s.Engine.AfterburnerMax)
                  : 1.0;
        } else {
          s.Engine.Throttle = v / 245 + 0.05;
        }
        if (s.Engine.EngineType == aircraft::EngineKind::Rocket) {
          s.Engine.Throttle -= 0.07;
          if (s.Engine.Throttle > 1) {
            s.Engine.Throttle = 1;
          } else if (s.Engine.Throttle < 0) {
            s.Engine.Throttle = 0;
          }
        } else if (s.Engine.Throttle > 1) {
          s.Engine.Throttle = 1;
        } else if (s.Engine.Throttle < 0.1) {
          s.Engine.Throttle = 0.1;
        }
      }
      s.Pilot.JoyThrottleLatch = static_cast<int32_t>(s.Pilot.JoyZpos);
    }
  }

  // Dead zone of the pitch stick.
  const double zone = (powered ? 10 : 5) * sc;
  if (std::fabs(static_cast<double>(s.Pilot.StickPitch)) < zone) {
    s.Pilot.StickPitch = 0;
  } else {
    s.Pilot.StickPitch = CInt(s.Pilot.StickPitch - Sgn(s.Pilot.StickPitch) * zone);
  }
}

// Which of the few sounds plays: the hit sound after a hit, the wind loop
// again after a burst or the hit sound, and the levels.
void RunSoundStep(FlightState& s, FlightRecord& r, const aircraft::AircraftData& a, const FlightOptions& options, FlightSeams& seams) {
  const bool formActive = options.FlightScreenActive == 1;
  if (!formActive || options.SoundOn != 1 || aircraft::LaunchAtMost10(a.LaunchSpeed)) {
    Call(seams.UpdateWindSound);
    return;
  }
  const double now = Timer();
  if (s.Sound.BurnSound.size() > 10 && s.Sound.HitSoundTime < now && now < s.Sound.HitSoundTime + 0.7 && s.Sound.HitSoundPlaying == 0) {
    Play(seams, s.Sound.BurnSound, SND_ASYNC);
    // The marks hold 30 sound starts; later ones are not marked.
    if (r.SoundStartCount < kMarkCount - 1) {
      ++r.SoundStartCount;
      r.SoundStartSamples[static_cast<std::size_t>(r.SoundStartCount)] = r.RecordCount;
    }
    s.Sound.HitSoundPlaying = 1;
  }
  if (s.Sound.HitSoundPlaying == 0) {
    if (now > s.Sound.TriggerTime + 0.7 && s.Sound.SoundRefresh == 1) {
      Play(seams, s.Sound.LoopSound, SND_ASYNC | SND_LOOP);
      s.Sound.SoundRefresh = 0;
      Call(seams.UpdateWindSound);
    }
  } else if (now > s.Sound.HitSoundTime + 0.7) {
    Play(seams, s.Sound.LoopSound, SND_ASYNC | SND_LOOP);
    s.Sound.SoundRefresh = 0;
    s.Sound.HitSoundPlaying = 0;
    Call(seams.UpdateWindSound);
  }
  if (now > s.Sound.TriggerTime + 0.7 && now > s.Sound.LastHitTime + 0.7) Call(seams.UpdateWindSound);
}

}  // namespace

double ShapeLateralStick(double x, double scale) {
  const double ax = std::fabs(x);
  const int sign = Sgn(x);
  if (ax < 5 * scale) {
    x = 0;
  } else if (ax < 15 * scale) {
    const double u = x / (5 * scale) - sign;
    x = sign * 1.25 * scale * (u * u);
  } else {
    x = x - sign * 10 * scale;
  }
  if (std::fabs(x) > 100 * scale) x = Sgn(x) * 100 * scale;
  return x;
}

void SetJoystickRest(PilotControls& pilot, double scale) {
  if (pilot.JoyXpos != 0) pilot.JoyAxisPresentX = 1;
  if (pilot.JoyYpos != 0) pilot.JoyAxisPresentY = 1;
  pilot.JoyOffsetX = CInt((kAxisCentre * pilot.JoyAxisPresentX - pilot.JoyXpos) * scale / kAxisUnitsPerPixelX);
  pilot.JoyOffsetY = CInt((kAxisCentre * pilot.JoyAxisPresentY - pilot.JoyYpos) * scale / kAxisUnitsPerPixelY);
}

void ProcessLoopInput(FlightState& s, FlightRecord& r, const aircraft::AircraftData& a, const FlightOptions& options, FlightSeams& seams) {
  const double sc = options.ScreenScale;
  const bool light = aircraft::LaunchAtMost10(a.LaunchSpeed);
  if (DownInWater(s.Body, s.Ground, s.Loop, a)) s.Loop.StepCounter = 0;

  if (s.Pilot.MouseSteering != 1) {
    if (seams.SetPointerShape) seams.SetPointerShape(1);
  } else if (options.JoystickOn == 0) {
    s.Pilot.StickPitch = CInt(static_cast<double>(s.View.ViewCentreY) - s.Pilot.SteeringPointerY);
    s.Pilot.StickLateral = static_cast<double>(s.View.ViewCentreX) - s.Pilot.SteeringPointerX;
    // Take-off dead zone around the launch-pitch mark.
    if (std::fabs(s.Pilot.StickPitch - 10 * sc * a.LaunchPitch) < 5 * sc && s.Air.SupportAccel > 0) s.Pilot.StickPitch = 0;
    s.Pilot.StickLateral = ShapeLateralStick(s.Pilot.StickLateral, sc);
    if (light) {
      const int16_t top = CInt(120 * sc);
      const int16_t bottom = a.TailplaneFixed == 0 ? CInt(-120 * sc) : CInt(-240 * sc);
      if (s.Pilot.StickPitch > top) s.Pilot.StickPitch = top;
      if (s.Pilot.StickPitch < bottom) s.Pilot.StickPitch = bottom;
    }
  } else {
    ReadJoystick(s, a, options);
  }

  if (s.Pilot.JoyButtons != 0 && options.JoystickOn == 1) Call(seams.DispatchJoystickButtons);
  if (options.JoystickOn != 0) Call(seams.PollJoystick);

  if (s.Loop.StepCounter % (2 * s.Loop.DisplayDivisor) == 0 || s.Sound.SoundRefresh == 1) {
    RunSoundStep(s, r, a, options, seams);
  }
}

}  // namespace zarv::flight
