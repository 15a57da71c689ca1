#include "platform/ui/restart.h"

#include <filesystem>
#include <utility>

#include "platform/runtime/files.h"
#include "platform/runtime/process.h"
#include "platform/runtime/program_state.h"
#include "platform/ui/app.h"

namespace zarv {

namespace {

struct RestartState {
  bool developer = false;
  std::function<bool(const std::string&, const std::string&)> starter;
};

RestartState& State() {
  static RestartState* s = new RestartState;
  [[maybe_unused]] static const bool registered =
      OnProgramReset(ResetStage::State, [] { *s = RestartState{}; });
  return *s;
}

}  // namespace

std::string OwnExecutable() {
  std::error_code ec;
  std::string exe = std::filesystem::read_symlink("/proc/self/exe", ec).string();
  if (ec) return {};
  // A rebuilt program replaces the file: start the new one.
  const std::string deleted = " (deleted)";
  if (exe.size() > deleted.size() && exe.compare(exe.size() - deleted.size(), deleted.size(), deleted) == 0) {
    exe.resize(exe.size() - deleted.size());
  }
  return exe;
}

bool Restart() {
  RestartState& st = State();
  if (!st.developer) {
    const std::string exe = OwnExecutable();
    const std::string dir = ProgramFolder();
    bool started = false;
    if (st.starter) {
      started = st.starter(exe, dir);
    } else if (!exe.empty()) {
      // By the path's own bytes (a folder name need not be UTF-8), and with
      // none of this process's handles: each restart would pass them on.
      started = StartDetachedProcess(exe, dir);
    }
    if (!started) return false;
  }
  End();
  return true;
}

void SetDeveloperMode(bool on) { State().developer = on; }
bool DeveloperMode() { return State().developer; }

void SetProcessStarter(std::function<bool(const std::string&, const std::string&)> starter) {
  State().starter = std::move(starter);
}

}  // namespace zarv
