// The pilot's controls flown from the key or the joystick to the motion:
// each input is given in one of two flights that start alike, and the
// difference it makes is held against its expected sign and the size that
// the flight's own coefficients give it.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <memory>
#include <string>

#include "flight/headless_flight.h"
#include "flight/key_script.h"
#include "flight/loop_fixture.h"
#include "flight/loop_input.h"

namespace zarv::flight {
namespace {

// Two flights of one aircraft from one start; the inputs go to `moved`
// alone, through the flight screen's key handlers between two passes. A
// surface moved in one pass acts on the aerodynamics of that pass and on
// the accelerations of the next, before the motion has changed: that is
// where its size is measured.
struct Paired {
  std::unique_ptr<HeadlessFlight> plain, moved;
  explicit Paired(const aircraft::AircraftData& a)
      : plain(std::make_unique<HeadlessFlight>(a)), moved(std::make_unique<HeadlessFlight>(a)) {}
  void To(double t) {
    ASSERT_EQ(plain->Fly(t), "limit");
    ASSERT_EQ(moved->Fly(t), "limit");
  }
  void Step() {
    ASSERT_TRUE(plain->Step());
    ASSERT_TRUE(moved->Step());
  }
  static void Press(HeadlessFlight& f, const std::string& name) {
    const ScriptedKey k = *KeyByName(name);
    if (k.KeyCode != 0) FlightKeyDown(k.KeyCode, f.State, f.Aircraft, f.Keyboard, f.Commands);
    if (k.KeyAscii != 0) FlightKeyPress(k.KeyAscii, f.State, f.Aircraft, f.Keyboard, f.Commands);
  }
  void Press(const std::string& name, int times = 1) {
    for (int i = 0; i < times; ++i) Press(*moved, name);
  }
  void Both(const std::string& name) {
    Press(*plain, name);
    Press(*moved, name);
  }
  const FlightState& P() const { return plain->State; }
  const FlightState& M() const { return moved->State; }
};

aircraft::AircraftData Jet() { return testing::DataAircraft("TestJet.brd"); }

// The jet 1.5 s after its flying start at 150 m/s, climbing away, mouse
// steering off so that the stick keys act. It starts with the control
// augmentation on; without `cas` the I key switches it off and the keys
// move the surfaces directly.
std::unique_ptr<Paired> JetFlight(bool cas) {
  auto f = std::make_unique<Paired>(Jet());
  f->To(1);
  f->Both("Semicolon");
  if (!cas) f->Both("I");
  f->To(1.5);
  return f;
}

// The roll acceleration a change of aileron angle gives, through the outer
// panels' lift (0.3 x angle on the lift term, plus on the left and minus on
// the right; positive = right wing down).
double AileronRollAccel(const FlightState& s, double aileron) {
  const WingPanel& l = s.Wing.Panels[3];
  const WingPanel& r = s.Wing.Panels[4];
  const double q = (l.PanelPressure + r.PanelPressure) / 2;
  const double stall = (l.RawLift / l.StalledLift + r.RawLift / r.StalledLift) / 2;
  const double dLift = 2 * s.Aero.LiftSlopeMachFactor * 6.28 * s.Wing.RollDamperScale * aileron / stall;
  return s.Setup.OuterPanelSpanPos * (1 + s.Setup.OuterDihedralSin) * q * s.Setup.OuterPanelArea * s.Setup.OuterDihedralCos *
         std::cos(s.Air.AngleOfAttack) * dLift / s.Masses.RollInertia;
}

TEST(ControlResponse, StickKeysRollAPoweredAircraftTheirWay) {
  // "4" twice: the stick 20 px to the left, the ailerons -4 x 20 / 573.
  auto f = JetFlight(false);
  f->Press("4", 2);
  f->Step();
  const double first = f->M().Controls.AileronAngle;
  EXPECT_DOUBLE_EQ(first, -30 / 30.0 / 40);  // the surface rate / 30 a second
  const double want = AileronRollAccel(f->M(), first);
  EXPECT_LT(want, -0.2);
  f->Step();
  EXPECT_NEAR(f->M().Body.RollAccel - f->P().Body.RollAccel, want, 0.02 * std::fabs(want));
  f->To(1.8);
  EXPECT_NEAR(f->M().Controls.AileronAngle, -4 * 20 / 573.0, 1e-12);
  EXPECT_EQ(f->P().Controls.AileronAngle, 0);
  // Left wing down, then turning left.
  f->To(3);
  EXPECT_LT(f->M().Body.RollRate, -0.05);
  EXPECT_LT(f->M().Body.BankAngle, f->P().Body.BankAngle - 0.1);
  f->To(6);
  EXPECT_LT(f->M().Body.Heading, f->P().Body.Heading - 0.05);

  // "6" four times: right wing down.
  auto r = JetFlight(false);
  r->Press("6", 4);
  r->To(2);
  EXPECT_NEAR(r->M().Controls.AileronAngle, 4 * 40 / 573.0, 1e-12);
  r->To(3);
  EXPECT_GT(r->M().Body.RollRate, 0.05);
  EXPECT_GT(r->M().Body.BankAngle, r->P().Body.BankAngle + 0.1);

  // With the augmentation the stick asks for a roll the same way.
  for (const char* key : {"4", "6"}) {
    SCOPED_TRACE(key);
    const double sign = key[0] == '4' ? -1 : 1;
    auto c = JetFlight(true);
    c->Press(key, 2);
    c->To(3);
    EXPECT_GT(sign * (c->M().Body.BankAngle - c->P().Body.BankAngle), 0.1);
  }
}

TEST(ControlResponse, RudderKeysYawTheNoseTheirWay) {
  // Left six times: 2 degrees of rudder to the left; the fin pushed right.
  auto f = JetFlight(false);
  f->Press("Left", 6);
  f->Step();
  const FlightState& m = f->M();
  const double rudder = m.Controls.RudderAngle;
  EXPECT_DOUBLE_EQ(rudder, 30 / 57.3 / 40);
  // The fin's side area at its angle, less the one it had without the rudder.
  const auto fin = [](double x) { return std::sin(2 * x) / 2 / (1 + 200 * std::pow(x, 4)); };
  const double fa = m.Tail.FinAngle;
  const double sideQ = m.Tail.SideDynamicPressure / m.Air.DynamicPressure;
  const double side = m.Tail.FinShield * sideQ * sideQ * Jet().FinArea * 4.5 * m.Aero.LiftSlopeMachFactor * (fin(fa) - fin(fa - rudder));
  const double want = side * m.Air.DynamicPressure * (m.Masses.CgX - Jet().FinArm) / m.Masses.YawInertia;
  EXPECT_LT(want, -0.1);
  f->Step();
  EXPECT_NEAR(m.Body.YawAccel - f->P().Body.YawAccel, want, 0.02 * std::fabs(want));
  f->To(1.85);
  EXPECT_NEAR(m.Controls.RudderAngle, 6 / 171.9, 1e-12);
  f->To(2.2);
  EXPECT_LT(f->M().Body.YawRate, f->P().Body.YawRate - 0.01);
  EXPECT_LT(f->M().Body.Heading, f->P().Body.Heading - 0.005);

  // Period: ten degrees to the right, the nose goes right.
  auto r = JetFlight(false);
  r->Press("Period");
  r->To(2.2);
  EXPECT_EQ(r->M().Controls.RudderAngle, -0.1745);  // just within the limit
  EXPECT_GT(r->M().Body.Heading, r->P().Body.Heading + 0.02);

  // With the augmentation the keys ask for a sideslip the same way.
  for (const char* key : {"Left", "Right"}) {
    SCOPED_TRACE(key);
    const double sign = key[0] == 'L' ? -1 : 1;
    auto c = JetFlight(true);
    c->Press(key, 6);
    c->To(2.5);
    EXPECT_GT(sign * (c->M().Body.Heading - c->P().Body.Heading), 0.005);
  }
}

// The pitch acceleration a change of tailplane angle gives: the tailplane's
// lift slope at its angle, 5 m behind the wing.
double ElevatorPitchAccel(const FlightState& s, const aircraft::AircraftData& a, double change) {
  const double t = s.Tail.TailAngle, off = s.Airfoils.TailAngleOffset, eff = s.Setup.SweepAreaFactor;
  const double slope = s.Aero.TailLiftSlope;
  const double stall = 1 + s.Aero.TailStallCoefficient * std::pow(std::fabs(std::sqrt(eff) * (slope * t + off)), s.Aero.TailStallExponent);
  const double dLift = a.TailplaneArea * s.Aero.LiftSlopeMachFactor * eff * 6.28 * slope * std::cos(2 * (off + t)) / stall * change;
  return (s.Masses.CgX - a.TailplaneArm) * std::cos(s.Air.AngleOfAttack) * dLift * s.Tail.TailDynamicPressure / s.Masses.PitchInertia;
}

TEST(ControlResponse, ElevatorKeysAndStickPitchTheNoseTheirWay) {
  // Up three times: the tail one degree up, the nose down.
  auto f = JetFlight(false);
  f->Press("Up", 3);
  f->Step();
  const double first = f->M().Controls.ElevatorAngle - f->P().Controls.ElevatorAngle;
  EXPECT_NEAR(first, 30 / 57.3 / 40, 1e-12);
  const double want = ElevatorPitchAccel(f->M(), Jet(), first);
  EXPECT_LT(want, -0.1);
  f->Step();
  EXPECT_NEAR(f->M().Body.PitchAccel - f->P().Body.PitchAccel, want, 0.02 * std::fabs(want));
  f->To(1.7);
  EXPECT_NEAR(f->M().Controls.ElevatorAngle - f->P().Controls.ElevatorAngle, 3 / 171.9, 1e-9);
  EXPECT_LT(f->M().Body.PitchRate, f->P().Body.PitchRate - 0.01);
  f->To(2.5);
  EXPECT_LT(f->M().Body.PitchAngle, f->P().Body.PitchAngle - 0.01);

  // Down, and the stick key "2" (a degree back): nose up.
  for (const char* key : {"Down", "2"}) {
    SCOPED_TRACE(key);
    auto u = JetFlight(false);
    u->Press(key, key[0] == 'D' ? 3 : 1);
    u->To(1.7);
    EXPECT_LT(u->M().Controls.ElevatorAngle, u->P().Controls.ElevatorAngle - 0.01);
    EXPECT_GT(u->M().Body.PitchRate, u->P().Body.PitchRate + 0.01);
    u->To(2.5);
    EXPECT_GT(u->M().Body.PitchAngle, u->P().Body.PitchAngle + 0.01);
  }

  // With the augmentation Up asks for less angle of attack: nose down.
  auto c = JetFlight(true);
  c->Press("Up", 3);
  c->To(2.5);
  EXPECT_LT(c->M().Body.PitchAngle, c->P().Body.PitchAngle - 0.01);
}

TEST(ControlResponse, TrimKeysMoveTheCentreOfGravityAndPitch) {
  // "0" three times: the fuel three steps aft, the nose up by the lift
  // acting further ahead of the centre of gravity.
  // The fuel moves at 0.3 m/s: 0.0075 m in the first pass.
  auto f = JetFlight(false);
  f->Press("0", 3);
  f->Step();
  const FlightState& m = f->M();
  EXPECT_NEAR(m.Masses.TrimCentre - f->P().Masses.TrimCentre, 0.3 / 40, 1e-12);
  const double shift = m.Masses.FuelQuantity * 0.3 / 40 / m.Masses.Mass;
  const double lift = (m.Wing.WingLift + m.Tail.TailLiftArea) * m.Air.DynamicPressure;
  f->Step();
  EXPECT_NEAR(m.Masses.CgX - f->P().Masses.CgX, shift, 1e-3 * shift);
  const double want = shift * lift / m.Masses.PitchInertia;
  EXPECT_GT(want, 0.001);
  EXPECT_NEAR(m.Body.PitchAccel - f->P().Body.PitchAccel, want, 0.02 * want);
  f->To(2.9);
  EXPECT_NEAR(m.Masses.TrimCentre - f->P().Masses.TrimCentre, 3 * m.Masses.TrimStep, 1e-9);
  EXPECT_GT(m.Body.PitchAngle, f->P().Body.PitchAngle + 0.01);

  auto d = JetFlight(false);
  d->Press("Minus", 3);
  d->To(3.5);
  EXPECT_LT(d->M().Masses.CgX, d->P().Masses.CgX);
  EXPECT_LT(d->M().Body.PitchAngle, d->P().Body.PitchAngle - 0.01);
}

TEST(ControlResponse, FlapsLiftTheWingAndPitchItDown) {
  // The first pass moves the flaps 0.15 / 25^0.3 / 40.
  auto f = JetFlight(false);
  f->Press("F");
  f->Step();
  const FlightState& m = f->M();
  const double flap = m.Controls.FlapAngle;
  EXPECT_NEAR(flap, 0.15 / std::pow(25, 0.3) / 40, 1e-15);
  // The flap angle on the lift term of the four inner and outer panels.
  double want = 0;
  for (int i = 1; i <= 4; ++i) {
    const WingPanel& p = m.Wing.Panels[i];
    const double area = i <= 2 ? m.Setup.InnerPanelArea : m.Setup.OuterPanelArea;
    const double dihedral = i <= 2 ? m.Setup.InnerDihedralCos : m.Setup.OuterDihedralCos;
    want += p.PanelPressure / m.Air.DynamicPressure * area * dihedral * m.Aero.LiftSlopeMachFactor * 6.28 * flap * p.StalledLift / p.RawLift;
  }
  EXPECT_NEAR(m.Wing.WingLift - f->P().Wing.WingLift, want, 0.02 * want);
  const double moment = flap / 5 * Jet().WingArea * m.Air.DynamicPressure;
  EXPECT_NEAR(m.Tail.WingMomentTerm - f->P().Tail.WingMomentTerm, moment, 0.02 * moment);
  f->To(2.2);
  EXPECT_DOUBLE_EQ(f->M().Controls.FlapAngle, 0.1 / 4);
  EXPECT_GT(f->M().Body.VelZ, f->P().Body.VelZ);

  // R takes them up again.
  auto r = JetFlight(false);
  r->Press("F", 2);
  r->To(2);
  r->Press("R", 2);
  r->To(4);
  EXPECT_EQ(r->M().Controls.FlapAngle, 0);
}

TEST(ControlResponse, ThrottleKeysPushTheAircraftOn) {
  // A ten times from idle: half throttle more; the speed gained is the
  // added thrust over the mass, summed step by step.
  auto f = JetFlight(true);
  f->Press("A", 10);
  EXPECT_NEAR(f->M().Engine.Throttle - f->P().Engine.Throttle, 0.5, 1e-9);
  double gained = 0;
  const double v0 = f->M().Body.InertialSpeed - f->P().Body.InertialSpeed;
  while (f->M().Loop.FlightTime < 3.5) {
    const FlightState& m = f->M();
    gained += (m.Engine.Thrust - f->P().Engine.Thrust) * m.Body.PitchCos / (m.Masses.Mass + m.Masses.ApparentMass) / m.Loop.StepsPerSecond;
    f->Step();
  }
  EXPECT_GT(f->M().Engine.Thrust, f->P().Engine.Thrust + 1000);
  EXPECT_GT(gained, 0.5);
  EXPECT_NEAR(f->M().Body.InertialSpeed - f->P().Body.InertialSpeed - v0, gained, 0.02 * gained);

  // Z takes it back, not below a tenth.
  f->Press("Z", 20);
  EXPECT_DOUBLE_EQ(f->M().Engine.Throttle, 0.1);
}

// The joystick as the program reads it: 0 .. 65535 on each axis, centred at
// rest; 0 is stick left, stick forward and the throttle lever forward.
struct Joystick {
  std::unique_ptr<HeadlessFlight> f = std::make_unique<HeadlessFlight>(Jet());
  Joystick() {
    f->Options.JoystickOn = 1;
    Set(32767, 32767, 65535);
    SetJoystickRest(f->State.Pilot, 1.0);
  }
  void Set(uint32_t x, uint32_t y, uint32_t z) {
    f->State.Pilot.JoyXpos = x;
    f->State.Pilot.JoyYpos = y;
    f->State.Pilot.JoyZpos = z;
  }
};

TEST(ControlResponse, JoystickAxesRollPitchAndThrottleTheirWay) {
  Joystick plain, left, forward, lever;
  for (Joystick* j : {&plain, &left, &forward, &lever}) {
    ASSERT_EQ(j->f->Fly(1), "limit");
    Paired::Press(*j->f, "I");  // the surfaces as the stick puts them
    ASSERT_EQ(j->f->Fly(1.5), "limit");
  }
  left.Set(32767 - 10000, 32767, 65535);    // 29 px of pointer, 19 after the shaping
  forward.Set(32767, 32767 - 5000, 65535);  // 20 px, 10 after the dead zone
  lever.Set(32767, 32767, 0);
  for (Joystick* j : {&plain, &left, &forward, &lever}) ASSERT_EQ(j->f->Fly(3), "limit");
  const FlightState& p = plain.f->State;
  EXPECT_NEAR(left.f->State.Controls.AileronAngle, -4 * 19 / 573.0, 1e-12);
  EXPECT_LT(left.f->State.Body.BankAngle, p.Body.BankAngle - 0.1);
  EXPECT_NEAR(forward.f->State.Controls.ElevatorAngle - p.Controls.ElevatorAngle, 10 * Jet().PitchRatio / 573.0, 1e-9);
  EXPECT_LT(forward.f->State.Body.PitchAngle, p.Body.PitchAngle - 0.01);
  EXPECT_DOUBLE_EQ(lever.f->State.Engine.Throttle, 1.0);
  EXPECT_GT(lever.f->State.Engine.Thrust, p.Engine.Thrust + 1000);
  EXPECT_GT(lever.f->State.Body.InertialSpeed, p.Body.InertialSpeed + 0.5);
}

// The mouse pointer is the stick while mouse steering is on: left of the
// view's centre rolls left, above it lowers the nose.
TEST(ControlResponse, MousePointerRollsAndPitchesTheirWay) {
  auto f = std::make_unique<Paired>(Jet());
  f->To(1);
  f->Both("I");
  f->To(1.5);
  PilotControls& pointer = f->moved->State.Pilot;
  const ViewState& view = f->moved->State.View;
  pointer.SteeringPointerX = static_cast<int16_t>(view.ViewCentreX - 30);  // 20 px after the shaping
  pointer.SteeringPointerY = static_cast<int16_t>(view.ViewCentreY - 10);
  f->To(2);
  EXPECT_NEAR(f->M().Controls.AileronAngle, -4 * 20 / 573.0, 1e-12);
  EXPECT_NEAR(f->M().Controls.ElevatorAngle - f->P().Controls.ElevatorAngle, 10 / 573.0, 1e-9);
  f->To(3);
  EXPECT_LT(f->M().Body.BankAngle, f->P().Body.BankAngle - 0.1);
  EXPECT_LT(f->M().Body.PitchAngle, f->P().Body.PitchAngle - 0.01);
}

// A light aircraft steers with the fin alone: "4" turns it left by the
// rudder, "6" right.
TEST(ControlResponse, StickKeysYawALightAircraftByItsFin) {
  const aircraft::AircraftData a = testing::DataAircraft("Super ZarvⅣ.brd");
  ASSERT_EQ(a.FinFixed, 0);
  for (const char* key : {"4", "6"}) {
    SCOPED_TRACE(key);
    const double sign = key[0] == '4' ? 1 : -1;
    Paired f(a);
    f.To(0.2);
    f.Both("Semicolon");
    f.To(5);
    f.Press(key, 2);
    f.To(5.5);
    EXPECT_NEAR(f.M().Controls.RudderAngle - f.P().Controls.RudderAngle, sign * 20 / 573.0, 1e-12);
    EXPECT_EQ(f.M().Controls.AileronAngle, 0);
    f.To(7);
    EXPECT_LT(sign * (f.M().Body.YawRate - f.P().Body.YawRate), -0.01);
    EXPECT_LT(sign * (f.M().Body.Heading - f.P().Body.Heading), -0.02);
  }
}

}  // namespace
}  // namespace zarv::flight
