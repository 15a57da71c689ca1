#include "view/panel_texts.h"

#include <cmath>
#include <numbers>

#include "platform/runtime/angles.h"
#include "platform/runtime/numeric.h"
#include "platform/runtime/text.h"

namespace zarv::view {

std::string HeadingText(double heading, double airSpeed) {
  if (airSpeed > 3000) return "";
  return Format((heading - 2 * kPi * Int(heading / (2 * kPi))) * kDegreesPerRadian, "000");
}

std::string PoweredDistanceText(double distance) {
  if (distance < 3048) return Str(Int(distance / 0.3048 + 0.5)) + "ft";
  if (distance < 185200) return Str(Int(distance / 185.2 + 0.5) / 10) + "nm";
  return Str(Int(distance / 1852 + 0.5)) + "nm";
}

std::string LightDistanceText(double distance) {
  if (distance < 1000) return Format(distance, "##0.0") + "ｍ";
  return Format(distance / 1000, "##0.0") + "km";
}

double HomeBearing(double posX, double posY) {
  // The origin seen from the aircraft; atan2 also holds on the start line
  // (PosY = 0), where a plain arctangent of PosX / PosY divides by zero.
  double b = std::atan2(0.0 - posX, 0.0 - posY);  // +0 at the origin itself
  if (!std::isfinite(b)) return 0;
  if (b < 0) b += 2 * std::numbers::pi;
  if (b >= 2 * std::numbers::pi) b = 0;
  return b;
}

std::string BearingText(double bearing) { return Str(Int(bearing * kDegreesPerRadian + 0.5)) + "°"; }

std::string SkinTemperatureText(int skinKelvin) { return Str(Int(skinKelvin - 272.5)) + "℃"; }

std::string FrameRateText(double framesPerSecond, double frameRate) {
  return Format(framesPerSecond, "##0") + "Frm/Sec " + Format(frameRate, "##.00");
}

std::string AttitudeAngleText(double angle) {
  const double m = std::fabs(angle);
  return std::string(angle < 0 ? "-" : "+") + Format(m * kDegreesPerRadian, m < 0.174 ? "0.0" : "00") + "°";
}

std::string PoweredLoadText(double loadSum) {
  return std::string(loadSum < 0 ? "-" : "") + Format(std::fabs(loadSum) / 10, "#0.00") + "Ｇ";
}

std::string PoweredAlphaText(double angleOfAttack) {
  return std::string(angleOfAttack < 0 ? "-" : "") + Format(std::fabs(angleOfAttack) * kDegreesPerRadian, "##0.00") + "α";
}

std::string ThrottleText(double throttle, double afterburnerLevel) {
  return Str(Int(throttle * afterburnerLevel * 100 + 0.5)) + "%";
}

}  // namespace zarv::view
