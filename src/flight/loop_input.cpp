#include "flight/loop_input.h"

#include <cmath>

#include "platform/runtime/sound_flags.h"
#include "platform/runtime/clock.h"
#include "platform/runtime/numeric.h"

namespace zarv::flight {
namespace {

void Call(const std::function<void()>& hook) {
  if (hook) hook();
}

void Play(FlightSeams& seams, const std::string& path, unsigned flags) {
  if (seams.PlaySound) seams.PlaySound(path, flags);
}

// Stick from the joystick, read as a pointer around the view centre, and
// the throttle lever on its third axis.
void ReadJoystick(FlightState& s, const aircraft::AircraftData& a, const FlightOptions& options) {
  const double sc = options.ScreenScale;
  const bool powered = aircraft::LaunchAbove10(a.LaunchSpeed);
  if (s.JoyXpos != 0) s.JoyAxisPresentX = 1;
  if (s.JoyYpos != 0) s.JoyAxisPresentY = 1;
  if (s.JoyZpos != 0) s.JoyAxisPresentZ = 1;
  s.SteeringPointerX = CInt(s.ViewCentreX - (s.JoyXpos - 32767.0 * s.JoyAxisPresentX) * sc / 340);
  s.SteeringPointerY = CInt(s.ViewCentreY - (s.JoyYpos - 32767.0 * s.JoyAxisPresentY) * sc / 250);
  s.StickLateral = ShapeLateralStick(s.SteeringPointerX - s.JoyOffsetX - s.ViewCentreX, sc);
  const double pitch = static_cast<double>(s.SteeringPointerY) - s.JoyOffsetY - s.ViewCentreY;
  s.StickPitch = a.TailplaneFixed == 0 ? CInt(pitch) : CInt(1.4 * pitch);

  const bool deviceDialog = options.DeviceDialogActive != 0;
  if (!deviceDialog) {
    s.ThrottleAxisValue = CInt((s.JoyAxisPresentZ + 1 - s.JoyZpos / 32767.0) * 128);
    if (s.StepCounter % s.DisplayDivisor == 0 && powered) {
      const bool leverMoved = std::fabs(static_cast<double>(s.JoyZpos) - s.JoyThrottleLatch) > 1000 &&
                              s.JoyThrottleLatch > 0;
      // A throttle cut below 0.1 is taken back only by a clear move of the lever.
      if (!(s.Throttle < 0.1 && !leverMoved)) {
        const double v = s.ThrottleAxisValue;
        const double detent = s.ThrottleDetent;
        if (s.AfterburnerMax > 1) {
          s.Throttle = v / detent * 0.95 + 0.05;
          s.AfterburnerLevel =
              v / detent > 1.1
                  ? std::fmin(1 + (s.AfterburnerMax - 1) * (v - detent) / (245 - detent), s.AfterburnerMax)
                  : 1.0;
        } else {
          s.Throttle = v / 245 + 0.05;
        }
        if (s.EngineType == aircraft::EngineKind::Rocket) {
          s.Throttle -= 0.07;
          if (s.Throttle > 1) {
            s.Throttle = 1;
          } else if (s.Throttle < 0) {
            s.Throttle = 0;
          }
        } else if (s.Throttle > 1) {
          s.Throttle = 1;
        } else if (s.Throttle < 0.1) {
          s.Throttle = 0.1;
        }
      }
      s.JoyThrottleLatch = static_cast<int32_t>(s.JoyZpos);
    }
  }

  // Dead zone of the pitch stick.
  const double zone = (powered ? 10 : 5) * sc;
  if (std::fabs(static_cast<double>(s.StickPitch)) < zone) {
    s.StickPitch = 0;
  } else {
    s.StickPitch = CInt(s.StickPitch - Sgn(s.StickPitch) * zone);
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
  if (s.BurnSound.size() > 10 && s.HitSoundTime < now && now < s.HitSoundTime + 0.7 && s.HitSoundPlaying == 0) {
    Play(seams, s.BurnSound, SND_ASYNC);
    // The marks hold 30 sound starts; later ones are not marked.
    if (r.SoundStartCount < kMarkCount - 1) {
      ++r.SoundStartCount;
      r.SoundStartSamples[static_cast<std::size_t>(r.SoundStartCount)] = r.RecordCount;
    }
    s.HitSoundPlaying = 1;
  }
  if (s.HitSoundPlaying == 0) {
    if (now > s.TriggerTime + 0.7 && s.SoundRefresh == 1) {
      Play(seams, s.LoopSound, SND_ASYNC | SND_LOOP);
      s.SoundRefresh = 0;
      Call(seams.UpdateWindSound);
    }
  } else if (now > s.HitSoundTime + 0.7) {
    Play(seams, s.LoopSound, SND_ASYNC | SND_LOOP);
    s.SoundRefresh = 0;
    s.HitSoundPlaying = 0;
    Call(seams.UpdateWindSound);
  }
  if (now > s.TriggerTime + 0.7 && now > s.LastHitTime + 0.7) Call(seams.UpdateWindSound);
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

void ProcessLoopInput(FlightState& s, FlightRecord& r, const aircraft::AircraftData& a, const FlightOptions& options, FlightSeams& seams) {
  const double sc = options.ScreenScale;
  const bool light = aircraft::LaunchAtMost10(a.LaunchSpeed);
  if (light ? (s.Altitude < 0 && s.GroundSpeed < s.StopSpeed) : s.Altitude < 0) s.StepCounter = 0;

  if (s.MouseSteering != 1) {
    if (seams.SetPointerShape) seams.SetPointerShape(1);
  } else if (options.JoystickOn == 0) {
    s.StickPitch = CInt(static_cast<double>(s.ViewCentreY) - s.SteeringPointerY);
    s.StickLateral = static_cast<double>(s.ViewCentreX) - s.SteeringPointerX;
    // Take-off dead zone around the launch-pitch mark.
    if (std::fabs(s.StickPitch - 10 * sc * a.LaunchPitch) < 5 * sc && s.SupportAccel > 0) s.StickPitch = 0;
    s.StickLateral = ShapeLateralStick(s.StickLateral, sc);
    if (light) {
      const int16_t top = CInt(120 * sc);
      const int16_t bottom = a.TailplaneFixed == 0 ? CInt(-120 * sc) : CInt(-240 * sc);
      if (s.StickPitch > top) s.StickPitch = top;
      if (s.StickPitch < bottom) s.StickPitch = bottom;
    }
  } else {
    ReadJoystick(s, a, options);
  }

  if (s.JoyButtons != 0 && options.JoystickOn == 1) Call(seams.DispatchJoystickButtons);
  if (options.JoystickOn != 0) Call(seams.PollJoystick);

  if (s.StepCounter % (2 * s.DisplayDivisor) == 0 || s.SoundRefresh == 1) {
    RunSoundStep(s, r, a, options, seams);
  }
}

}  // namespace zarv::flight
