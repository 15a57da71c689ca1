// Linked into every test program: its tests need neither a display nor a
// sound card, however the program is started (by CTest, by hand, on a
// desktop or on a machine without a sound device). The screens draw
// off-screen and the sound goes to SDL's dummy driver; a test that listens
// through another driver sets it for itself and puts this one back. A test
// program starts as every program of ours does.
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/runtime/process.h"

namespace {

class NoDisplayNoSoundCard : public ::testing::Environment {
 public:
  void SetUp() override {
    zarv::PrepareProcess();
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
  }
};

// Registered before main; gtest runs its SetUp before the first test.
[[maybe_unused]] const ::testing::Environment* const kNoDisplayNoSoundCard =
    ::testing::AddGlobalTestEnvironment(new NoDisplayNoSoundCard);

}  // namespace
