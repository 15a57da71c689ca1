// The developer probe's drawing commands, which link the screens. zarv-probe
// hands them over to this program, found beside it:
//   zarv-probe-draw frame|panel|replay ...  as "zarv-probe frame|panel|replay ..."
#include "platform/runtime/process.h"
#include "probe/probe_commands.h"
#include "probe/probe_frame.h"
#include "probe/probe_panel.h"
#include "probe/probe_replay.h"

namespace {

const zarv::probe::Command kCommands[] = {
    {"panel", zarv::view::PanelCommand},
    {"replay", zarv::replay::ReplayCommand},
    {"frame", zarv::view::FrameCommand},
};

}  // namespace

int main(int argc, char** argv) {
  zarv::PrepareProcess();
  const int status = zarv::probe::RunCommand(kCommands, argc, argv);
  return status >= 0 ? status : zarv::probe::Usage();
}
