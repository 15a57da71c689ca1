// The flight's shared state: per-flight values derived at load from the
// aircraft record, and the dynamic state the flight loop's stages meet in.
// One program-wide instance (State()); stages take a reference so that tests
// can use their own. Every field starts at its load-time value; Reset() puts
// them all back.
//
// Units: SI inside (m, m/s, kg, N, s), angles in radians unless noted.
// Panel numbering, used by every per-panel table: 0 centre section,
// 1 left inner, 2 right inner, 3 left outer, 4 right outer, 5 left tip,
// 6 right tip.
#pragma once

#include <array>
#include <cmath>
#include <cstdint>
#include <string>

#include "aircraft/engine_kind.h"
#include "flight/memo_math.h"

namespace zarv::flight {

// One piece of the wing's strip model, kept from step to step.
struct WingPanel {
  double PanelAirspeed = 0;       // local airspeed, m/s
  double PanelPressure = 0;       // local dynamic pressure, Pa
  double Angle = 0;               // local angle of attack
  double RawLift = 0;             // lift coefficient before the stall, with the Mach lift factor
  double IncompressibleLift = 0;  // the same without the Mach lift factor, for the induced drag
  double StalledLift = 0;         // lift coefficient after the soft stall
  double Drag = 0;                // drag area in the panel's own flow, m^2
  // Panels 1..6 turned into the aircraft's wind axes, the lift through the
  // dihedral; the outer and tip drag limited to 2 x area. (The centre's are
  // Wing.CentreLiftArea and Wing.CentreDrag.)
  double PanelLiftArea = 0;       // m^2
  double PanelDragArea = 0;       // m^2
  double PanelLiftCoeff = 0;      // force area along the body normal
  double PanelDragCoeff = 0;      // force area along the body axis
  // Refreshed once per drawn frame.
  double PanelHeight = 0;         // smoothed height above the water, m
  double PanelAspectRatio = 0;    // with ground effect
  double PanelLiftSlope = 1.0;    // lift-slope factor
};

inline constexpr int kWingPanelCount = 6;  // panels 1..6; index 0 is the centre

// Per-flight constants the set-up derives from the aircraft record: wing
// geometry, airframe sizes, flight limits.
struct SetUpConstants {
  double GeometricAspectRatio = 0;  // WingSpan^2 / WingArea
  double RootChordRatio = 0;        // root chord / mean chord (set-up)
  double CentrePanelArea = 0;       // whole centre section, m^2
  double InnerPanelArea = 0, OuterPanelArea = 0, TipPanelArea = 0;  // per side
  double InnerPanelSpanPos = 0, OuterPanelSpanPos = 0, TipPanelSpanPos = 0;
  double InnerPanelSweepOffset = 0, OuterPanelSweepOffset = 0, TipPanelSweepOffset = 0;
  double InnerSweepCos = 1.0, OuterSweepCos = 1.0, TipSweepCos = 1.0;
  double SweepAreaFactor = 1.0;     // (centre + sum of 2 x panel x cos) / area
  double InnerDihedralSin = 0, InnerDihedralCos = 1.0;
  double OuterDihedralSin = 0, OuterDihedralCos = 1.0;
  double TipDihedralSin = 0, TipDihedralCos = 1.0;
  double WingIncidenceRad = 0;
  double HalfWashout = 0;
  double CourseOffsetX = 0;
  double DragAreaLength = 0;      // 1.35 x ParasiteDragArea^0.6
  double BodyHeight = 0, BodyHalfWidth = 0;
  double WingRootOffset = 0;      // half-span of the centre section
  double MeanChord = 0;
  double FinChord = 0, FinSweepOffset = 0;
  double TailChord = 0, TailplaneSweepOffset = 0;
  double TailPointArm = 0;
  double InnerSweepOffset = 0, OuterSweepOffset = 0, TipSweepOffset = 0;
  double RootChordFactor = 0;     // root section of a powered twin-fin aircraft
  double RootExtension = 0;
  double DihedralRise = 0;
  double TailEndArm = 0;
  double BodySideArea = 0;
  double GearHeight = 0;
  double GroundPitchLimit = 0;
  double TailWakeBase = 0;        // wing height less the tailplane hinge height
  double EarthRadius = 6378140;
  double EarthGm = 0;
  double Gravity = 9.8;
  // Initial deflected panel angles, element 0 of the recorded channels.
  double InitialInnerWingDeflection = 0;
  double InitialOuterWingDeflection = 0;
  double InitialWingTipDeflection = 0;
  double MinAngleOfAttack = 0;
  double GroundAngleLimit = 0;
  double InnerStallRatio = 0;     // CL / unstalled CL of the inner panel
  double TailWakeGap = 0;         // m, tailplane below the wing's wake line
};

// The wing and tail sections from the airfoil tables (the "Now" values move
// with the leading-edge flaps).
struct AirfoilConstants {
  double WingProfileDrag = 0;      // floored at 0.0001
  double WingLiftOffset = 0;       // working form: 1.3 x Cl0 / 6.28
  double WingAngleOffset = 0;      // -0.3 x Cl0 / 6.28
  double WingLiftOffsetNow = 0;    // as moved by the leading-edge flaps
  double WingAngleOffsetNow = 0;
  double WingPitchMoment = 0;      // section pitching-moment coefficient
  double WingMinDragAngle = 0;     // rad in working form
  double WingDragRise = 0;
  double WingDragRiseLimit = 0;
  double MaxAngleOfAttack = 0;     // rad in working form
  int16_t LeadingEdgeFlaps = 0;
  double TailProfileDrag = 0;
  double TailLiftOffset = 0;
  double TailAngleOffset = 0;
  double TailMinDragAngle = 0;     // as stored in the table
  double TailDragRise = 0;
  double TailDragRiseLimit = 0;
  double PistonTorqueFactor = 0;
};

// The engine catalogue's values for this aircraft and the engine's running
// state.
struct EngineState {
  aircraft::EngineKind EngineType = aircraft::EngineKind::None;  // from the catalogue at load
  double EngineRating = 0;         // W (pist) or N
  double RatedFuelFlow = 0;        // kg/s at rating after the look-up
  double FlowFactor = 0;
  double SlipstreamSpeed = 0;
  double PropellerAngle = 0;
  double PropellerDiameter = 0;
  double EngineDiameter = 0;
  double RatedRpm = 0;             // rev/s of the propeller after the set-up
  double GearRatio = 0;
  int16_t ConstantSpeedProp = 0;
  double BoostFactor1 = 0, BoostFactor2 = 0, BoostFactor3 = 0, TurboBoostFactor = 0;
  int16_t ManifoldPressureMax = 0;
  int16_t EngineNoiseLevel = 0;
  double AfterburnerMax = 0;
  int16_t TvcCapability = 0;
  int16_t TvcOn = 0;
  double Throttle = 0;
  double EngineSpeedRatio = 0;
  double RotorSpeedRatio = 0;
  double MinPropellerPitch = 0, MaxPropellerPitch = 0;
  double PropellerDiscArea = 0;
  double GovernorSetting = 0;
  double GovernorMinimum = 0;
  double NozzlePosition = 0;
  double InletPressureRatio = 0, InletTemperature = 0, ChargeDensityRatio = 0, StageFactor = 0;
  double AfterburnerLevel = 1.0;
  double Thrust = 0;
  // Propulsion.
  double PowerAvailable = 0, PowerBalance = 0;
  double AxialInflowSpeed = 0, TipMachSquared = 0, CompressibilityFactor = 1.0;
  double GrossThrust = 0;
  double PFactorMoment = 0, PropellerTorqueMoment = 0, PropellerSideMoment = 0;
};

// Masses, fuel, inertias, centre of gravity and trim.
struct MassProperties {
  double DryMass = 0;             // kg
  double InitialDryMass = 0;
  double Mass = 0;
  double FuelQuantity = 0;
  double PitchInertia = 100, RollInertia = 100, YawInertia = 100;
  double ApparentMass = 0.1;
  double CgX = 0;                 // m, centre of gravity along the body axis
  double CentreOfGravity = 0;     // % of the mean chord
  double CentreOfPressure = 0;    // % of the mean chord
  double CgChordFraction = 0;     // centre of gravity / mean chord
  double StructureMoment = 0;     // kg m, airframe about the reference
  double PilotArm = 0;            // m, pilot position for a quarter-chord CG
  double TrimPosition = 0;        // m, trim the keys set
  double TrimCentre = 0;          // m, trim the loop follows
  double TrimStep = 0, TrimMax = 0, TrimMin = 0;
  double WingAcOffset = 0;        // m, area-weighted sweep offset (wing reference)
};

// The flight loop's counters, pacing and end state.
struct LoopTiming {
  double FlightTime = 0;          // s since launch
  int16_t StepsPerSecond = 24;    // 24 at load, 40 from the first second on
  int16_t StepCounter = 0;        // 0..3000
  int32_t DisplayDivisor = 4;
  int32_t PassCount = 0;
  int32_t PassesThisSecond = 0;
  // ms of the loop's last once-a-second update, moved on by the wait the
  // x1/3 pace adds (64-bit: ms pass 2^31 in 24 days). The load and the
  // screens that hold the loop up write clock seconds instead, so the next
  // pass starts a new second at once; the flight screen reads it as "the
  // loop has been started". Both stay in one field: the update would have to
  // know which was written last.
  int64_t TimeMark = 0;
  double StopSpeed = 0.3;         // m/s
  // Loop bookkeeping (the flight loop and its pacing).
  bool FlightEnded = false;        // an end test fired; the loop leaves at the next pass head
  bool FlightEndShown = false;     // the screen's end-of-flight display state
  bool AfterLoopDone = false;      // the after-loop steps ran (once per flight, nested runs too)
  int16_t EndCause = 0;            // FlightEndCause of the end test that fired
  int16_t SpeedMode = 1;           // 1 paced to real time, 0 fastest, 3 paced at a third of it
  int16_t StepsSinceTrigger = 0;   // steps since the last gun burst, 0..3266
  int64_t BusyMs = 0, WaitMs = 0;  // since the last once-per-second update
  uint64_t LastTick = 0, NextFrameTime = 0;  // ms of the monotonic clock
  double FrameRate = 0;            // "Frm/Sec": times faster than real time; 0 until measured
  // s (monotonic) when the rest watchdog was last not armed; moved on by the
  // wait the x1/3 pace adds, as TimeMark is, so that both count flight-paced time
  double WatchdogMark = 0;
};

// Position, velocity, attitude and their rates.
struct BodyMotion {
  double PosX = 0, PosY = 0;      // m east, north
  double Altitude = 0;            // m above the water; kCancelAltitude = cancelled
  double VelX = 0, VelY = 0, VelZ = 0;
  double GroundSpeed = 0;
  double InertialSpeed = 0;
  double AirSpeed = 0.01;
  double Distance = 0;
  double CourseDistance = 0;
  double StartRadius = 0.001;     // m, start point from the origin
  double PitchAngle = 0, PitchSin = 0, PitchCos = 1.0;
  double BankAngle = 0, ViewRollSin = 0, ViewRollCos = 1.0;
  double Heading = 0, HeadingSin = 0, HeadingCos = 1.0;
  double TrackAngle = 0;
  double PathAngle = 0;
  double PitchRate = 0, YawRate = 0, RollRate = 0;
  // Body axes in world axes (x east, y north, z up), kept by the attitude
  // step; the load builds them from the launch attitude.
  std::array<double, 3> NoseVector{0, 1.0, 0};
  std::array<double, 3> TopVector{0, 0, 1.0};
  bool OnPlatform = false;         // this step's translation ran on the platform
  // Rigid body: moments, rates and attitude.
  double RollAccel = 0, PitchAccel = 0, YawAccel = 0;  // rad/s^2
  double CouplingAngle = 0;        // Atn(YawRate / RollRate)
  std::array<double, 3> NoseVectorRate{}, TopVectorRate{};
  // Translation and air data.
  double TurnRate = 0;
  double PathAngleSin = 0, PathAngleCos = 1.0, PathAngleRate = 0;
  double LongAccel = 0;
  double ForceHeading = 0;
  double AirVelX = 0, AirVelY = 0, AirVelZ = 0;
};

// The cancel ends a flight by putting the aircraft this far under the
// surface, where the end tests see it and no frame draws it.
inline constexpr double kCancelAltitude = -2000;

// Whether the aircraft is at the cancel's height: no flight of its own takes
// it so deep (20 m under the surface the water stops all motion), and a hull
// the wind pushes under is a few millimetres down.
inline bool AtCancelHeight(double altitude) { return altitude <= -50; }

// Air data, atmosphere and wind at the aircraft.
struct AirData {
  double AngleOfAttack = 0;
  double Sideslip = 0;
  double PrevSideslip = 0;
  double TotalIncidence = 0;      // angle between relative wind and body axis
  double BodyAirX = 0.0001;       // relative wind along the body axis / AirSpeed
  double BodyAirY = 0;            // sideways
  double BodyAirZ = 0;            // along the body normal
  double NormalLoad = 0;          // m/s^2
  double SupportAccel = 0;        // m/s^2 from deck, gear or water; 0 airborne
  double DynamicPressure = 0.001; // Pa, over the wing: its panels' area-weighted mean
  double TotalDragArea = 0.001;
  double AirTemperature = 280;    // K
  double DensityRatio = 1.0;      // pressure at altitude / 1013 hPa
  double AirDensity = 354.025 / 306 * 1025 / 1013;
  double MachSquared = 0;
  int16_t SkinTemperature = 0;    // K
  double WindDirectionAtLoad = 0; // rad, the wind direction the flight started with
  double WindAtAltitude = 0;      // m/s, lagged
  float WindChangeRate = 0;       // m/s per s, within +-9
  double EyeAltitude = 0;         // wind reference height set at load, m
  double UpdraftStrength = 5;     // m/s at the column's centre
  int32_t UpdraftRadius = 500;    // m
  double VerticalWind = 0;        // m/s at the point last evaluated
  double TailUpdraft = 0;
  double AirPathSin = 0, AirPathCos = 1.0, AirDirX = 0, AirDirY = 0;
  double AirPathAngle = 0, AirTrackAngle = 0;
  double DriftAngle = 0;
  double HeadingValue = 0;
  double AoaText = 0;              // WingIncidenceRad + AngleOfAttack as its 15-digit text holds it
};

// The wing's strip model and its totals.
struct WingState {
  std::array<WingPanel, kWingPanelCount + 1> Panels{};  // [0] centre section
  double WingRootAngle = 0;
  double CentreLiftArea = 0;
  double CentreDrag = 0;
  double WingLift = 0;            // m^2, total lift area
  double WingDrag = 0;
  double StallRatio = 1.0;
  double RollDamperScale = 0;
  double AileronLift = 0;
  double PitchRateAngle = 0;      // rad, the centre section's flow angle from the pitch rate
};

// Slowly changing aerodynamic coefficients (refreshed on drawn frames) and
// the compressibility factors.
struct AeroCoefficients {
  double MachIndex = 0;
  double LiftSlopeMachFactor = 1.0;
  double MachFactor = 1.0;
  double MachFactorTransonic = 1.0;
  double MachSpanTerm = 0;
  double TailHeight = 0;
  double TailAspectRatio = 0;
  double EffectiveAspectRatio = 0;
  double LiftSlope = 1.0;
  double TailLiftSlope = 1.0;
  double ReynoldsFactor = 1.0;
  double TailReynoldsFactor = 1.0;
  double LowSpeedLimit = 0;
  double StallExponent = 0, StallCoefficient = 0;
  double TailStallExponent = 0, TailStallCoefficient = 0;
};

// Tail, fin and body forces and the totals.
struct TailState {
  double WakeFactor = 0;
  double TailFlowAngle = 0, FinFlowAngle = 0;
  double TailAngle = 0;
  double TailDynamicPressure = 0, SideDynamicPressure = 0;
  double FinAngle = 0;
  double ElevatorSlipstreamArea = 0, FinSideTerm2 = 0;
  double TailplaneLiftArea = 0, TailDragArea = 0, TailLiftArea = 0;
  double FinShield = 1.0;
  double TailPitchRateAngle = 0;  // rad, the flow angle the pitch rate adds at the tailplane (less the wake's)
  // The fin's side and drag areas in its own flow, and the side area turned
  // into the aircraft's wind axes.
  double FinSideTerm = 0, FinSideArea = 0, FinDragArea = 0;
  double FinWindDragArea = 0;     // m^2, the fin's drag area in the wind axes (into DragArea)
  // m^2, the fin's side area across the body, for the roll and yaw moments.
  // A soft rear fuselage passes the fin's force on through its bend: there
  // the bending stage puts its spring force here in its place.
  double FinBodySideArea = 0;
  double DihedralSideTerm = 0, BodySideTerm = 0;
  // m^2; the bending stage renews it through the bent rear fuselage, as for
  // FinBodySideArea (read by the loads before that).
  double TotalSideArea = 0;
  double TotalLiftArea = 0, DragArea = 0;
  double WingMomentTerm = 0;      // N m, the wing's pitching moment
};

// Control surfaces, augmentation and the control laws.
struct ControlState {
  double ElevatorAngle = 0, RudderAngle = 0, AileronAngle = 0;
  // rad. The pilot's demand; the augmentation leaves its angle-of-attack
  // demand (negated) here and the control law its bounded demand. One field:
  // the device dialog shows whichever was written last.
  double ElevatorDemand = 0;
  double ElevatorCommand = 0;
  double ElevatorInput = 0;        // rad, the angle of attack the augmentation asks of the control law
  double TailplaneCommand = 0;     // rad, the tailplane angle the surface drive follows
  double FlapAngle = 0;
  double GearValue = 0;
  double RearFuselageBend = 0, RearFuselageBendRate = 0;
  double RearFuselageSideBend = 0, RearFuselageSideBendRate = 0;
  double InnerDihedralLoaded = 0, OuterDihedralLoaded = 0, TipDihedralLoaded = 0;
  // Mass properties, loads and bending.
  double YawDamperGain = 0;
  // Surfaces, augmentation and control law.
  double RudderDemand = 0, AileronDemand = 0;
  double FlapTarget = 0;
  double NozzlePitchCommand = 0, NozzlePitch = 0, NozzleYaw = 0;
  double TrimTailAngle = 0;        // rad, the control law's balancing tailplane angle (with a tailplane)
  double TrimAngleOfAttack = 0;    // rad, the automatic trim's angle of attack for the wanted load
  double CasPitchMoment = 0, CasRollMoment = 0;  // N m
  int32_t CasYawMoment = 0;
  double LiftOffSpeed = 0;
  double AfterburnerOpeningLag = 0;  // %, for the record
  int16_t AfterburnerLit = 0;
};

// Loads and the airframe's bending.
struct LoadState {
  double LiftVerticalForce = 0, LiftLateralForce = 0;
  double LiftAccel = 0, SideAccel = 0;
  double SideLoadRatio = 0;
  double LowFlightDistance = 0;
  double WingBend = 0;
  double RearFuselageBendAccel = 0, RearFuselageSideBendAccel = 0;
};

// Launch run, platform and contact with the deck, gear and water.
// A light aircraft with no platform under it starts afloat on the lake: held
// still until the take-off key lets it go, then on its own forces; once it
// has flown a metre clear of the water, coming back down on it ends it.
enum class AfloatStart : int8_t { None = 0, Held = 1, LetGo = 2, Flown = 3 };

struct GroundState {
  // Launch run and platform.
  double LaunchTime = 0;
  bool StartLeft = false;  // away from the start and moving: LaunchTime stays
  bool RunStarted = false;  // the take-off key has started the run
  AfloatStart Afloat = AfloatStart::None;  // the start afloat, owned by the ground contact
  std::array<double, 5> PlatformOutlineX{}, PlatformOutlineY{};  // points 1..4
  // Ground and water contact.
  double GearExtension = 0;
  double RunFactorLagged = 0;
  double GearDepthLeft = 0, GearDepthRight = 0;
  double GearContactDepth = 0;  // m, the deeper side; 0 when the gear model does not run
  double TailContactAccel = 0;
  double BodyBottomHeight = 0, WaterCheckHeight = 0;
  double TipContactYawRate = 0, TipContactRollRate = 0;
  bool WingEndInWater = false;  // a panel end of either wing more than 0.1 m under the surface
};

// The launch mark's flight time now, to 0.05 s: what LaunchTime keeps.
inline double LaunchMark(const LoopTiming& loop) { return std::floor(loop.FlightTime * 20 + 0.5) / 20; }

// What the instrument panel's physics keeps for the flight model.
struct InstrumentState {
  // What the instrument panel keeps for the flight model.
  int16_t PanelPhase = 0;
  int32_t EngineShakeCounter = 0;  // +1 per panel update (widened: long flights)
  double FuelFlow = 0;             // kg/s of the last burn
  double DragAcceleration = 0;     // m/s^2, drag / (mass + apparent mass)
  double WingMassShare = 0;        // 0.7 x WingWeight / Mass
  double InnerPanelBend = 0, OuterPanelBend = 0, TipPanelBend = 0;  // m of WingDeflection
};

// The pilot's controls, written by keys, mouse and joystick.
struct PilotControls {
  double TakeoffRunAcceleration = -50;
  // The pilot's controls, written by keys, mouse and joystick.
  double PixelsPerRadian = 573;
  int16_t MouseSteering = 1;
  int16_t StickPitch = 0;          // pixels x ScreenScale
  double StickLateral = 0;
  int16_t SteeringPointerX = 0, SteeringPointerY = 0;
  double RudderCommand = 0;
  int16_t PitchHoldOn = 0, CasOn = 0, BrakeOn = 0;
  double PitchHoldAngle = 0;
  int16_t FlapNotch = 0;           // 0..3
  double WheelBrakeSetting = 0;    // 0 released, 0.15 light, 0.5 powered
  uint32_t JoyXpos = 0, JoyYpos = 0, JoyZpos = 0, JoyButtons = 0;  // the last joystick poll
  int32_t JoyAxisPresentX = 0, JoyAxisPresentY = 0, JoyAxisPresentZ = 0;
  int16_t JoyOffsetX = 0, JoyOffsetY = 0;
  int16_t ThrottleAxisValue = 0;   // 0..256
  int32_t JoyThrottleLatch = 0;
  int32_t ThrottleDetent = 10;     // element 15 of the joystick button map
};

// The cockpit view's line of sight, eye and screen colour.
struct ViewState {
  uint32_t ScreenColour = 0x800000;  // &H800000 in flight, &H80 at a flying-start touch-down
  int32_t ViewCentreX = 0, ViewCentreY = 0;  // pixels
  int16_t ViewCentreBaseY = 0;
  double ViewHeading = 0, ViewDepression = 0;
  double ViewHeadingSin = 0, ViewHeadingCos = 1.0, ViewDepressionSin = 0, ViewDepressionCos = 1.0;
  double EyeX = 0, EyeY = 0, EyeZ = 0;  // m, world
  double ViewZoom = 1.0;
};

// Sounds and the gun's marks the sound step reads.
struct SoundState {
  int16_t SoundRefresh = 0;        // 1 = run the sound stretch on the next pass
  // Sounds and the gun's marks the sound step reads.
  std::string LoopSound, BurnSound;  // full paths; empty when not found
  double TriggerTime = 0, LastHitTime = 0, HitSoundTime = 0;  // s (monotonic)
  int16_t HitFlag = 0, HitSoundPlaying = 0;
  double WindNoiseLevel = 0;       // 0..1, set by the wind sound
};

// The ten rounds of the gun's current burst. The burst's time and step
// count are Sound.TriggerTime and Loop.StepsSinceTrigger; the hit times and
// HitFlag are in Sound.
inline constexpr int kGunRounds = 10;
inline constexpr int kMuzzleA = kGunRounds;      // entry of the left (or only) gun
inline constexpr int kMuzzleB = kGunRounds + 1;  // entry of the right gun

struct GunState {
  // World position (m east, north, height above the water); the two entries
  // after the rounds hold this step's muzzle points.
  std::array<double, kGunRounds + 2> RoundX{}, RoundY{}, RoundZ{};
  std::array<double, kGunRounds> RoundVelX{}, RoundVelY{}, RoundVelZ{};  // m/s; 0 after a hit
  std::array<double, kGunRounds> RoundHitTime{};  // s (monotonic)
  std::array<int16_t, kGunRounds> RoundScreenX{}, RoundScreenY{};  // pixels, rounds in flight
  std::array<int16_t, kGunRounds> RoundDistance{};  // m from the eye, rounded
  double MuzzleSpeed = 0;          // m/s: 600 piston engines, else 1100
  int16_t HitCount = 0;            // hits this flight, never more than the rounds fired
  // Bit i: round i has not been at its gun since the burst. A burst fired
  // between two passes meets the rounds with its step count already
  // advanced; such a round still leaves from the gun.
  uint16_t RoundsToLoad = 0;
};
inline constexpr uint16_t kAllRoundsToLoad = (1u << kGunRounds) - 1;

// The head-up display's marks, stepped by the loop (flight/head_up.h) and
// read by its drawing, with what the companion's drawing and the gun leave
// for them. Pixels of the display, not the flight model's state: the state
// listing leaves them out.
struct HeadUpState {
  int16_t VelocityMarkX = 0, VelocityMarkY = 0;  // px, centre of the velocity-vector marker
  int16_t GunSightX = 0, GunSightY = 0;          // px, the lead-computing sight, smoothed
  int16_t ShotsFiredTarget = 0;      // shots fired once the current burst is counted up
  int32_t CompanionSampleCount = 0;  // of the companion flight; 0 none
  double CameraDistance = 0;         // m, eye to the companion's nearest drawn triangle
};

// Memoised functions (speed only, never read as state).
struct MemoTables {
  PowMemo SideslipShareArPow;                               // (effective / geometric AR)^0.3
  std::array<PowMemo, kWingPanelCount + 1> InducedArPow{};  // per panel, (AR x area factor / AR)^0.2
  std::array<PowMemo, kWingPanelCount + 1> PanelSweepPow{}; // per panel, sweep cos^0.2
  PowMemo TailSweepPow;                                     // SweepAreaFactor^0.2
  PowMemo BoostStage2Pow, BoostStage3Pow;                   // boost factors^0.87
  SinCosMemo BankSinCos;                                    // BankAngle
  SinCosMemo WindDirectionSinCos;                           // the aircraft's wind direction
};

// The flight's shared state, one struct per concern, so that a stage's
// signature shows what it touches.
struct FlightState {
  SetUpConstants Setup;
  AirfoilConstants Airfoils;
  EngineState Engine;
  MassProperties Masses;
  LoopTiming Loop;
  BodyMotion Body;
  AirData Air;
  WingState Wing;
  AeroCoefficients Aero;
  TailState Tail;
  ControlState Controls;
  LoadState Loads;
  GroundState Ground;
  InstrumentState Instruments;
  PilotControls Pilot;
  ViewState View;
  SoundState Sound;
  GunState Gun;
  HeadUpState HeadUp;
  MemoTables Memo;

  void Reset() { *this = FlightState{}; }
};

// The program-wide flight state.
FlightState& State();

}  // namespace zarv::flight
