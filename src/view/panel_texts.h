// The panel's number texts: pure functions from flight values to the texts
// the readouts, the head-up display and the listing show.
#pragma once

#include <string>

namespace zarv::view {

// Nose heading in whole degrees, "000".."359"; "" above 3000 m/s airspeed.
std::string HeadingText(double heading, double airSpeed);
// A powered aircraft's distance: feet below 3048 m, tenths of a nautical
// mile below 185200 m, whole nautical miles beyond.
std::string PoweredDistanceText(double distance);
// A light aircraft's distance: "ｍ" below 1000 m, else "km".
std::string LightDistanceText(double distance);
// Bearing from (posX, posY) back to the origin, clockwise from north, in
// [0, 2 pi); 0 at the origin itself.
double HomeBearing(double posX, double posY);
std::string BearingText(double bearing);
// Airframe temperature in degrees C from kelvin.
std::string SkinTemperatureText(int skinKelvin);
// The frame-rate label and the status line's rate: the frames drawn per
// second, then the measured figure, "20Frm/Sec 19.87".
std::string FrameRateText(double framesPerSecond, double frameRate);
// A signed angle of the attitude window: sign, then degrees ("0.0" below
// 0.174 rad, else "00") and "°".
std::string AttitudeAngleText(double angle);
// Load factor text of a powered aircraft from the sum of ten samples.
std::string PoweredLoadText(double loadSum);
// Angle-of-attack text of a powered aircraft.
std::string PoweredAlphaText(double angleOfAttack);
// The throttle window: throttle times afterburner in whole percent, halves
// up ("100%" from 0.995).
std::string ThrottleText(double throttle, double afterburnerLevel);

}  // namespace zarv::view
