// The readout bar: the time every frame, the other labels one group a frame
// in a cycle of seven.
#include <cmath>

#include "platform/runtime/angles.h"
#include "platform/runtime/numeric.h"
#include "platform/runtime/text.h"
#include "replay/replay_player.h"

namespace zarv::replay {

void ReplayPlayer::Readouts() {
  ReplayState& st = State;
  auto& L = st.Labels;
  const model::ModelScene& sc = model::Scene();
  const double pos = st.Position;
  const flight::FlightSample& s = At(st.Sample);
  const double speed = Aircraft.LaunchSpeed;

  ++st.ReadoutCycle;
  L[3] = "Time " + Format(s.Time, "0.0") + "Sec";
  switch (st.ReadoutCycle) {
    case 1:
      L[2] = "Zoom " + Format(st.ViewZoom, "###.00") + "   ";
      break;
    case 2:
      L[4] = aircraft::LaunchBelow10(speed) ? "Spd " + Format(st.DrawAirspeed, "##0.0") + "m/s"
                                            : "TAS " + Format(st.DrawAirspeed * 3.6 / 1.852, "##0.0") + "kt";
      L[10] = aircraft::LaunchAtMost10(speed) ? "Alt " + Format(sc.ModelPosZ, "##0.00") + "m"
                                              : "Alt " + Format(sc.ModelPosZ / 0.3048, "###0") + "ft";
      break;
    case 3: {
      L[7] = "Ptc " + Format(st.DrawPitch * kDegreesPerRadian, st.DrawPitch > -10 / kDegreesPerRadian ? "##0.0" : "##0") + "°";
      const double aoa = s.WingAngleOfAttack;
      L[8] = "AOA " + Format(aoa, (-10 < aoa && aoa < 60) ? "##0.0" : "###0") + "ﾟ";
      break;
    }
    case 4: {
      L[1] = Format(st.Fps, "#0") + "Frm/Sec";
      const double h = (st.DrawHeading - kFullTurn * std::floor(st.DrawHeading / kPi / 2)) * kDegreesPerRadian;
      L[6] = "Hdg " + Format(h, "##0") + "°";
      break;
    }
    case 5:
      if (pos > 6) {
        const double climb = (s.Height - At(Whole(pos - 5)).Height) * 4;
        const bool mach = Aircraft.EngineType == aircraft::EngineKind::Jet || Aircraft.EngineRating >= 9000;
        if (mach) {
          L[5] = "Mah " + Format(st.MachNumber, "#0.000");
          L[9] = "Clm " + Format(climb, "##0") + "m/s";
        } else {
          L[5] = "Dist " + Format(s.DistanceFlown, "##0.0");
          L[9] = "Clm " + Format(climb, "#0.0") + "m/s";
        }
      } else {
        L[9] = "Clm " + Format(0, "##0") + "m/s";
      }
      break;
    case 6:
      if (pos > 10) {
        const double dv = s.Airspeed - At(Whole(pos - 10)).Airspeed;
        if (aircraft::LaunchAtMost10(speed)) {
          L[11] = "Acc " + Format(dv * 200, "###0") + "gal";
          L[12] = "G " + Format(s.LoadFactor, "0.000") + "G";
        } else {
          double g = 0;
          for (int j = 0; j <= 9; ++j) g += At(Whole(pos - j)).LoadFactor;
          L[11] = "Acc" + Format(dv * 20 / 98, "#0.00") + "G";
          L[12] = "G " + Format(g / 10, "#0.0") + "G";
        }
      }
      break;
    case 7: {
      L[15] = "Turn " + Format(pos > 10 ? 2 * (s.Track - At(Whole(pos - 10)).Track) : 0.0, "##0.0") + "ﾟ/s";
      const double arm = Aircraft.TailEndArm;
      if (arm - 10 < s.DistanceFlown && s.DistanceFlown < arm && 10 < Aircraft.LaunchHeight &&
          Aircraft.LaunchHeight < 12) {
        const double z = std::cos(st.DrawPitch) * Aircraft.TailEndHeight - std::sin(st.DrawPitch) * arm + sc.ModelPosZ;
        const double t = (s.DistanceFlown - arm) * 0.06 + z - 10;
        L[18] = "尾端高さ" + Format(t, "0.00");
      } else {
        L[18] = "";
      }
      st.ReadoutBarVisible = true;
      st.ReadoutCycle = 0;
      break;
    }
    default:
      st.ReadoutCycle = 0;
      break;
  }
}

}  // namespace zarv::replay
