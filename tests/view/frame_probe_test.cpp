// The probe renders whole frames of every sample aircraft at the three
// screen sizes, on the platform and a few seconds into the flight, with
// every value of the frame finite.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "aircraft/samples.h"
#include "platform/ui/bmp.h"
#include "program_test.h"

namespace zarv::view {
namespace {

class FrameProbe : public zarv::testing::ProgramTest {};

namespace fs = std::filesystem;

std::string Quoted(const fs::path& p) {
  std::string s(1, '\'');
  s.append(p.string());
  s.push_back('\'');
  return s;
}

int RunProbe(const std::string& args) {
  const std::string line = std::string(ZARV_PROBE) + " frame " + args + " >/dev/null 2>&1";
  return std::system(line.c_str());
}

TEST_F(FrameProbe, EverySampleAtEverySize) {
  const zarv::ScratchFolder scratch;
  const fs::path dir = scratch.path();
  ASSERT_TRUE(aircraft::WriteSampleAircraft(dir.string()));
  const struct {
    int Size, W, H;
  } sizes[] = {{640, 640, 480}, {800, 800, 600}, {1024, 1024, 768}};
  for (const auto& sample : aircraft::SampleAircraftList()) {
    const std::string file = Quoted(dir / sample.FileName);
    for (const auto& z : sizes) {
      for (const char* seconds : {"0", "6"}) {
        const fs::path out = dir / "frame.bmp";
        fs::remove(out);
        std::string args = file;
        args.append(" --seconds ").append(seconds).append(" --size ").append(std::to_string(z.Size));
        args.append(" --out ").append(Quoted(out));
        ASSERT_EQ(RunProbe(args), 0) << args;
        Surface frame;
        ASSERT_TRUE(LoadBmp(frame, out.string())) << args;
        EXPECT_EQ(frame.Width(), z.W) << args;
        EXPECT_EQ(frame.Height(), z.H) << args;
      }
    }
  }
  // A pose by listed names; unknown names are refused.
  const std::string file = Quoted(dir / aircraft::SampleAircraftList()[0].FileName);
  EXPECT_EQ(RunProbe(file + " --set PitchAngle=0.1 --set BankAngle=3.1 --set Altitude=50 --out " +
                     Quoted(dir / "posed.bmp")),
            0);
  EXPECT_NE(RunProbe(file + " --set NoSuchField=1 --out " + Quoted(dir / "x.bmp")), 0);
}

}  // namespace
}  // namespace zarv::view
