// A batch of headless flights must not pay for binding the screen libraries:
// the probe's headless commands run in a process that loads none of Qt, SDL
// or OpenGL (its drawing commands are handed to a program of their own).
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

TEST(ProbeLibraries, TheHeadlessProbeLoadsNoScreenLibrary) {
  std::string listing;
  if (FILE* p = popen((std::string("ldd '") + ZARV_PROBE + "' 2>&1").c_str(), "r")) {
    char buf[4096];
    for (size_t n; (n = fread(buf, 1, sizeof buf, p)) > 0;) listing.append(buf, n);
    pclose(p);
  }
  ASSERT_NE(listing.find("libc.so"), std::string::npos) << listing;
  for (const char* screen : {"libQt", "libSDL", "libGL", "libEGL", "libOpenGL"})
    EXPECT_EQ(listing.find(screen), std::string::npos) << screen << " in\n" << listing;
}

}  // namespace
