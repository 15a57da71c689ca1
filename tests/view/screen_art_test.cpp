#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "platform/ui/bmp.h"
#include "view/screen_art.h"
#include "view/view_fixture.h"
#include "program_test.h"

namespace zarv::view {
namespace {

class ScreenArt : public zarv::testing::ProgramTest {};

namespace fs = std::filesystem;

struct TempFolder {
  zarv::ScratchFolder Scratch;
  fs::path Path = Scratch.path();
  Surface Load(const std::string& name) const {
    Surface s;
    EXPECT_TRUE(LoadBmp(s, (Path / name).string())) << name;
    return s;
  }
};

int Near(double v) { return static_cast<int>(std::nearbyint(v)); }

TEST_F(ScreenArt, PanelFaceAndMaskAtTheThreeSizes) {
  TempFolder t;
  const struct {
    double Scale;
    int Choice, W, H;
  } sizes[] = {{1.0, 0, 540, 220}, {1.25, 1, 675, 275}, {1.6, 2, 864, 352}};
  for (const auto& z : sizes) {
    ASSERT_TRUE(SavePanelArt(t.Path.string(), z.Scale, 1.0, z.Choice, false));
    const std::string d = std::to_string(z.Choice);
    Surface face = t.Load("Panel" + d + ".bmp");
    Surface mask = t.Load("Mask" + d + ".bmp");
    EXPECT_EQ(face.Width(), z.W);
    EXPECT_EQ(face.Height(), z.H);
    EXPECT_EQ(mask.Width(), z.W);
    EXPECT_EQ(mask.Height(), z.H);
    const double s = z.Scale;
    // Above the arched rim: black face, white mask; corners likewise.
    EXPECT_EQ(face.Point(5, 5), vbBlack);
    EXPECT_EQ(mask.Point(5, 5), vbWhite);
    EXPECT_EQ(mask.Point(Near(270 * s), 0), vbWhite);  // the rim's top lies 2 px below
    // Under the panel the mask is black; the face's body is grey there.
    EXPECT_EQ(mask.Point(Near(100 * s), Near(210 * s)), vbBlack);
    EXPECT_EQ(face.Point(Near(100 * s), Near(210 * s)), Color{0x999999});
    EXPECT_EQ(mask.Point(Near(270 * s), Near(10 * s)), vbBlack);
  }
  // Only the current size's pair; no chart paper outside developer mode.
  EXPECT_FALSE(fs::exists(t.Path / "graph1.bmp"));
  ASSERT_TRUE(SavePanelArt(t.Path.string(), 1.0, 1.0, 0, true));
  EXPECT_EQ(t.Load("graph1.bmp").Width(), 73);
  EXPECT_EQ(t.Load("graph2.bmp").Height(), 430);
}

TEST_F(ScreenArt, SkyBackgroundsAndProbe) {
  TempFolder t;
  const SkyTables sky = testing::FixedSky();
  ASSERT_TRUE(SaveSkyBackgrounds(t.Path.string(), 1.6, 2, 2000, sky));
  Surface back = t.Load("Back2.bmp");
  Surface cback = t.Load("CBack2.bmp");
  EXPECT_EQ(back.Width(), 1056);
  EXPECT_EQ(back.Height(), 2240);
  EXPECT_EQ(back.Point(10, 1500), Color{0xBBAA22});
  EXPECT_EQ(cback.Point(10, 1500), Color{0x888888});
  EXPECT_EQ(back.Point(10, 10), Color{0xC1890C});    // the 45th band fills the top
  EXPECT_EQ(back.Point(10, 1118), vbWhite);          // 3 px of back colour above the lake
  EXPECT_EQ(cback.Point(10, 10), Color{0xC1890C});
  // Few colours: 14 bands of the fixed table reaching down to the horizon.
  ASSERT_TRUE(SaveSkyBackgrounds(t.Path.string(), 1.0, 0, 500, sky));
  Surface banded = t.Load("Back0.bmp");
  EXPECT_EQ(banded.Point(10, 699), sky.SkyColourTable[1]);
  EXPECT_EQ(banded.Point(10, 300), sky.SkyColourTable[14]);
  EXPECT_FALSE(fs::exists(t.Path / "Back1.bmp"));
  // The probe: 25 x 25, long enough to select the smooth skies.
  ASSERT_TRUE(SaveGradientProbe(t.Path.string()));
  EXPECT_EQ(t.Load("zarv.bmp").Width(), 25);
  EXPECT_GE(fs::file_size(t.Path / "zarv.bmp"), 1000u);
  EXPECT_LT(RedOf(t.Load("zarv.bmp").Point(12, 12)), 30);  // dark at the centre
}

}  // namespace
}  // namespace zarv::view
