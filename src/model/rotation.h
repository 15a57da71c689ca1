// Point rotation from an aircraft's body frame into world axes, and the
// angular view projection every 3-D drawing uses. World frame: X east,
// Y north, Z up from the water; headings clockwise from north. Screen offsets
// in pixels from the view centre, +Y downwards.
#pragma once

namespace zarv::model {

// The in/out point of both operations.
struct WorkPoint {
  double X = 0.0;
  double Y = 0.0;
  double Z = 0.0;
};

// Sines and cosines of an attitude. Positive bank lowers the right side,
// positive pitch raises the nose, positive heading turns the nose east.
struct AttitudeRotation {
  double BankSin = 0.0;
  double BankCos = 0.0;
  double PitchSin = 0.0;
  double PitchCos = 0.0;
  double HeadingSin = 0.0;
  double HeadingCos = 0.0;
};

// The viewpoint and line of sight of the projection.
struct ViewSetup {
  // World position of the eye (m).
  double EyeX = 0.0;
  double EyeY = 0.0;
  double EyeZ = 0.0;
  // sin/cos of minus the view heading (clockwise from north).
  double ViewHeadingSin = 0.0;
  double ViewHeadingCos = 0.0;
  // sin/cos of the angle of the line of sight below the horizontal.
  double ViewDepressionSin = 0.0;
  double ViewDepressionCos = 0.0;
  // sin/cos of the view roll.
  double ViewRollSin = 0.0;
  double ViewRollCos = 0.0;
  // 573 x screen scale: 10 pixels per degree on the 640 x 480 layout.
  double PixelsPerRadian = 0.0;
  // Extra factor some callers apply to the projected offsets; the
  // projection itself ignores it.
  double ViewZoom = 1.0;
};

struct ProjectionResult {
  double ProjX = 0.0;          // pixels right of the view centre, before zoom
  double ProjY = 0.0;          // pixels below the view centre, before zoom
  double ProjDistance = 0.0;   // m from the eye (point lifted to the water)
  double ProjAzimuth = 0.0;    // rad right of the line of sight
  double ProjElevation = 0.0;  // rad above the line of sight
};

// Turns the body-frame vector in `point` into world axes (no translation):
// bank about Y, then pitch about X, then heading about Z.
void RotatePointByAttitude(const AttitudeRotation& attitude, WorkPoint& point);

// Makes the world point in `point` eye-relative (Z not lifted) and projects
// it angularly. A point below the water is measured as if on the surface;
// a point level with or behind the eye goes to +-3.1415926 rad.
void ProjectPointToView(const ViewSetup& view, WorkPoint& point, ProjectionResult& result);

// The program-wide records the drawing code shares: each caller sets what it
// needs before a call and reads the result after it; fields it does not set
// keep what the last writer left.
struct ProjectionRecords {
  WorkPoint Work;
  AttitudeRotation Attitude;
  ViewSetup View;
  ProjectionResult Result;

  void Reset() { *this = ProjectionRecords{}; }
  void Rotate() { RotatePointByAttitude(Attitude, Work); }
  void Project() { ProjectPointToView(View, Work, Result); }
};

ProjectionRecords& Projection();

}  // namespace zarv::model
