// The shell's tests start in an empty program folder of their own, with all
// program-wide state reset.
#pragma once

#include "aircraft/aircraft_data.h"
#include "platform/runtime/files.h"
#include "platform/runtime/textfile.h"
#include "screen_test.h"
#include "shell/settings.h"
#include "shell/shell_state.h"
#include "shell/sky_bands.h"
#include "shell/startup.h"

namespace zarv::shell::testing {

using ProgramFolderTest = zarv::testing::ScreenTest;

}  // namespace zarv::shell::testing
