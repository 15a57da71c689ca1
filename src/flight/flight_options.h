// What the flight model needs to know of the screens around it: the screen
// scale, the device and display switches and whether some screens are open.
// Its caller (the flight screen, a headless flight, a tool) fills it and keeps
// the activity flags current while the flight runs.
#pragma once

#include <cstdint>

namespace zarv::flight {

struct FlightOptions {
  double ScreenScale = 1.0;   // 1.0, 1.25 or 1.6
  int16_t JoystickOn = 0;     // 1 = fly with the joystick
  int16_t SoundOn = 0;        // 1 = engine and wind sounds
  bool FrameRate20 = false;   // draw every 2nd step instead of every 4th
  int16_t ShowVelocityVector = 0;  // 1 = the head-up display's marker, counters and sight
  // Active flags of the screens the loop looks at (1 = active).
  int16_t FlightScreenActive = 0;
  int16_t FlightDataChartsActive = 0;
  int16_t DeviceDialogActive = 0;

  void Reset() { *this = FlightOptions{}; }
};

}  // namespace zarv::flight
