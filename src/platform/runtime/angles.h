// The angle constants the whole program converts and wraps angles with,
// with the values it has always used: 57.3 degrees per radian (not 180 / pi)
// and pi to seven places. Stored files and recorded flights depend on them.
#pragma once

namespace zarv {

inline constexpr double kDegreesPerRadian = 57.3;
inline constexpr double kPi = 3.1415926;
inline constexpr double kFullTurn = 6.2831852;  // 2 x kPi, as written where an angle is brought back into range
// The characteristic charts sweep their angles of attack with pi to six
// places; their curves and the working values they leave depend on it.
inline constexpr double kChartPi = 3.141592;

}  // namespace zarv
