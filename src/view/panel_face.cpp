// The panel face composed at load, the mask, the hang-glider speed tape and
// the balance ball.
#include <cmath>
#include <cstdlib>
#include <string>

#include "platform/runtime/text.h"
#include "platform/ui/bmp.h"
#include "view/instrument_panel.h"
#include "view/panel_drawing.h"

namespace zarv::view {
namespace {

using namespace panel;

constexpr Color kWindowDark = 0x444444;
constexpr Color kWindowLight = 0xDDDDDD;

std::string CachedArtPath(const PanelScreen& screen, const char* stem) {
  if (screen.ScreenSizeChoice < 0 || screen.ScreenSizeChoice > 2) return {};
  return screen.ProgramFolder + "/Temp/" + stem + std::to_string(screen.ScreenSizeChoice) + ".bmp";
}

class FaceDrawer {
 public:
  FaceDrawer(Surface& f, double s, double fontScale) : f_(f), s_(s), fs_(fontScale) {}

  void Font(double size) { f_.SetFontSize(size * s_ * fs_); }
  void Text(double x, double y, const std::string& t) { PrintAt(f_, x * s_, y * s_, t); }
  void TextPx(int x, int y, const std::string& t) { PrintAt(f_, x, y, t); }

  // A readout window sunk into the panel: a black inside, a dark outline and
  // light right and bottom edges.
  void FilledWindow(double x, double y, double w, double h) {
    const double S = s_;
    f_.LineStep(x * S, y * S, w * S, h * S, vbBlack, LineBox::BF);
    f_.LineStep(x * S - 1, y * S - 1, w * S + 2, h * S + 2, kWindowDark, LineBox::B);
    f_.LineStep((x + w) * S + 1, y * S - 1, 0, h * S + 2, kWindowLight);
    f_.LineToStep(-w * S - 2, 0, kWindowLight);
  }
  void ColumnWindow(double x, int row) {
    const double S = s_;
    const double y = (18.0 * row) * S + 140 * S;
    f_.LineStep(x * S - 1, y - 1, 30 * S + 2, 10 * S + 2, kWindowDark, LineBox::B);
    f_.LineStep((x + 30) * S + 1, y - 1, 0, 10 * S + 2, kWindowLight);
    f_.LineToStep(-30 * S - 1, 0, kWindowLight);
  }
  void SingleWindow() {
    const double S = s_;
    f_.LineStep(75 * S - 2, 140 * S - 2, 30 * S + 3, 10 * S + 3, kWindowDark, LineBox::B);
    f_.LineStep(105 * S + 1, 140 * S - 1, 0, 10 * S + 2, kWindowLight);
    f_.LineToStep(-30 * S - 1, 0, kWindowLight);
  }

  // A tick of a round dial about (cx, cy), angle a from straight down,
  // clockwise on the screen.
  void Tick(double cx, double cy, double a, double len) {
    const double S = s_;
    f_.Line(Px((cx - 40 * std::sin(a)) * S), Px((cy + 40 * std::cos(a)) * S),
            Px((cx - (40 - len) * std::sin(a)) * S), Px((cy + (40 - len) * std::cos(a)) * S), vbWhite);
  }

  Surface& f_;
  double s_, fs_;
};

void DrawEngineSpeedScale(FaceDrawer& d, const flight::FlightState& s) {
  const bool jet = s.Engine.EngineType == aircraft::EngineKind::Jet;
  const double gear = s.Engine.GearRatio != 0 ? s.Engine.GearRatio : 1.0;
  const double maxRpm = s.Engine.RatedRpm * 60 / gear;
  const bool percent = jet || maxRpm > 10000;
  const int first = jet ? 30 : 0;
  const int last = jet ? 110 : Px((maxRpm + 500) / 100);
  for (int i = first; i <= last; ++i) {
    const double a = percent ? 7.0 * i / 110 - 2.108 : 3.5 * (100.0 * i) / (maxRpm + 500) + 1.392;
    int len;
    if (maxRpm >= 6000 && !jet) {
      len = i % 10 == 0 ? 6 : (i % 5 == 0 ? 3 : 0);
    } else {
      len = i % 10 == 0 ? 10 : (i % 5 == 0 ? 6 : 3);
    }
    if (len > 0) d.Tick(360, 200, a, len);  // a tick of no length draws nothing
    if (i % 10 != 0) continue;
    int x = Px((357 - (34 - len) * std::sin(a)) * d.s_);
    const int y = Px((194 + (34 - len) * std::cos(a)) * d.s_);
    if (percent) {
      d.Font(7);
      if (i > 95) x = Px(x - 5 * d.s_);
    } else {
      d.Font(maxRpm > 6000 ? 6 : 8);
    }
    d.TextPx(x, y, Format(i, "#0"));
  }
  d.Font(8);
  if (s.Engine.EngineType == aircraft::EngineKind::Piston) {
    d.Text(343, 203, "X100RPM");
  } else {
    d.Text(348, 199, "RPM%");
  }
}

void DrawManifoldScale(FaceDrawer& d, const flight::FlightState& s) {
  d.Font(8);
  const int16_t r = CheckedRound<int16_t>(static_cast<double>(s.Engine.ManifoldPressureMax) + 10);
  if (r <= 0) return;
  const int last = Px(r / 5.0);
  for (int i = 0; i <= last; ++i) {
    const double a = 3.5 * (5.0 * i) / r + 1.392;
    d.Tick(260, 200, a, i % 2 == 0 ? 7 : 3);
    if (i % 2 != 0) continue;
    if (s.Engine.ManifoldPressureMax >= 40 && i % 4 != 0) continue;
    d.TextPx(Px((256 - 27 * std::sin(a)) * d.s_), Px((194 + 27 * std::cos(a)) * d.s_), Format(5 * i, "#0"));
  }
}

void DrawClimbRateDial(FaceDrawer& d) {
  Surface& f = d.f_;
  const double S = d.s_;
  d.Font(8);
  f.SetFillStyle(vbFSSolid);
  f.SetFillColor(vbBlack);
  const double cx = kAltitudeDialX, cy = kAltitudeDialY;
  f.Circle(cx * S, cy * S, 39 * S, vbBlack);
  f.SetFillStyle(vbFSTransparent);
  for (int i = -30; i <= 30; ++i) {
    const double a = 0.4 * i / 5;
    const int len = i % 5 == 0 ? 6 : 3;
    f.Line(Px((cx - 40 * std::cos(a)) * S), Px((cy - 40 * std::sin(a)) * S),
           Px((cx - (40 - len) * std::cos(a)) * S), Px((cy - (40 - len) * std::sin(a)) * S), vbWhite);
    if (i % 5 == 0) {
      d.TextPx(Px((379 - (36 - len) * std::cos(a)) * S), Px((95 - (36 - len) * std::sin(a)) * S),
               Format(std::abs(i) / 5, "#0"));
    }
  }
  d.Text(356, 88, "＋");
  d.Text(356, 102, "－");
  d.Font(9);
}

}  // namespace

SpeedUnitCaption AirspeedUnit(const flight::FlightState& s, const aircraft::AircraftData& a) {
  // The unit of the scale the needle turns by: knots only with a real
  // engine, whatever the engine's kind (a jet or rocket without engines
  // flies with a rating of 0 on the metric scales).
  switch (VariantOf(s, a)) {
    case PanelVariant::Engine: {
      const bool jet = s.Engine.EngineType == aircraft::EngineKind::Jet && aircraft::LaunchAbove10(a.LaunchSpeed);
      if (jet || s.Engine.EngineType == aircraft::EngineKind::Rocket) return {"ﾉｯﾄ", 150, 113, 9};
      return {"ノット", 150, 98, 9};
    }
    case PanelVariant::Light: return {"m/s", 151, 100, 11};
    case PanelVariant::PoweredLight: return {"km/h", 149, 100, 11};
  }
  return {"", 0, 0, 9};
}

bool ComposePanelFace(PanelSurfaces& p, const PanelScreen& screen, const flight::FlightState& s,
                      const aircraft::AircraftData& a, double scale) {
  const double S = scale;
  const bool light = aircraft::LaunchAtMost10(a.LaunchSpeed);
  const bool realEngine = s.Engine.EngineRating >= 9000;

  Surface& f = p.Face;
  f = Surface(Px(730 * S), Px(220 * S), vbBlack);
  Surface background;
  const std::string path = CachedArtPath(screen, "Panel");
  const bool loaded = !path.empty() && LoadBmp(background, path);
  if (loaded) f.SetPicture(background);
  f.SetFontName("ＭＳ Ｐゴシック");
  FaceDrawer d(f, S, screen.FontScale);
  d.Font(10);
  f.SetFillStyle(vbFSTransparent);
  f.SetFillColor(vbBlack);
  f.SetForeColor(vbWhite);
  f.SetDrawWidth(2);

  if (light) {
    d.Text(200, 27, "距離");
    d.FilledWindow(185, 42, 40, 14);
  } else {
    d.FilledWindow(185, 36, 40, 21);
  }

  f.SetDrawWidth(1);
  DrawEngineSpeedScale(d, s);
  DrawManifoldScale(d, s);

  if (light || realEngine) {
    d.Font(10);
    d.Text(375, 102, realEngine ? "ft" : "ｍ");
  } else {
    DrawClimbRateDial(d);
  }

  d.Font(9);
  f.SetDrawWidth(2);
  if (realEngine) {
    d.Text(244, 200, "ＭＡＮ");
    const int n = s.Engine.TvcCapability > 0 ? 3 : 2;
    for (int i = 0; i <= n; ++i) d.ColumnWindow(35, i);
    for (int i = 0; i <= 2; ++i) d.ColumnWindow(75, i);
    d.Text(445, 151, "X1000");
    d.Text(447, 178, "ft/min");
  } else {
    d.SingleWindow();
    if (aircraft::LaunchAbove10(a.LaunchSpeed)) {
      d.Text(365, 81, "上昇率");
      d.Font(11);
      d.Text(370, 105, "m/s");
      d.Font(9);
    }
  }

  const SpeedUnitCaption unit = AirspeedUnit(s, a);
  d.Font(unit.FontSize);
  d.Text(unit.X, unit.Y, unit.Text);

  f.SetFillStyle(vbFSTransparent);
  f.SetForeColor(vbWhite);
  f.SetDrawWidth(1);
  d.Font(9);
  if (!realEngine) {
    f.Line(107 * S, 147 * S, 505 * S, 300 * S, kLampOff, LineBox::BF);
    f.Line(420 * S, 124 * S, 502 * S, 300 * S, kLampOff, LineBox::BF);
  }

  // Flatten: what was drawn becomes the box's picture; the box then takes
  // its flight size, black beyond the face.
  Surface flat(f.Width(), f.Height(), vbBlack);
  BitBlt(flat, 0, 0, f.Width(), f.Height(), f, 0, 0, SRCCOPY);
  f.SetPicture(flat);
  f.Resize(Px(724 * S), Px(276 * S));

  // The clean dial faces, copied into the unseen column at the right.
  f.SetFillStyle(vbFSSolid);
  f.SetFillColor(vbWhite);
  const int side = Px(92 * S);
  const int atlas[6][4] = {{114, 54, 540, 0},   {334, 54, 540, 92},  {114, 154, 540, 184},
                           {214, 154, 632, 0},  {314, 154, 632, 92}, {414, 124, 632, 184}};
  for (const auto& c : atlas) {
    BitBlt(f, Px(c[2] * S), Px(c[3] * S), side, side, f, Px(c[0] * S), Px(c[1] * S), SRCCOPY);
  }
  f.SetFontSize(9 * S * screen.FontScale);
  return loaded;
}

bool LoadPanelMask(PanelSurfaces& p, const PanelScreen& screen, double scale) {
  p.Mask = Surface(Px(650 * scale), Px(220 * scale), vbWhite);
  Surface mask;
  const std::string path = CachedArtPath(screen, "Mask");
  if (path.empty() || !LoadBmp(mask, path)) return false;
  p.Mask.SetPicture(mask);
  return true;
}

void DrawSpeedTape(Surface& tape, double fontScale) {
  tape = Surface(30, 160, vbWhite);
  tape.SetFontName("ＭＳ ゴシック");
  tape.SetFontBold(true);
  tape.SetFontSize(9 * fontScale);
  tape.SetForeColor(vbBlack);
  tape.Line(0, 0, 29, 160, vbWhite, LineBox::BF);
  PrintAt(tape, 0, 147, "km/h");
  tape.SetFontSize(8 * fontScale);
  for (int i = 0; i <= 35; ++i) {
    const int len = i % 5 == 0 ? 4 : 2;
    tape.LineStep(14, 145 - 4 * i, len, 0, vbBlack);
    tape.LineStep(14, 145 - 4 * i, -len, 0, vbBlack);
    if (i % 5 == 0 && i > 0) {
      const std::string label = Format(2 * i, "#0");
      PrintAt(tape, 0, 4 * (35 - i), label);
      PrintAt(tape, 17, 4 * (35 - i), label);
    }
  }
}

void MakeBallImage(Surface& ball) {
  ball = Surface(12, 12, vbBlack);
  ball.SetFillStyle(vbFSSolid);
  ball.SetFillColor(0xE0E0E0);
  ball.Circle(5.5, 5.5, 5, 0xE0E0E0);
}

}  // namespace zarv::view
