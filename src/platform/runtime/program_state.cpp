#include "platform/runtime/program_state.h"

#include <utility>
#include <vector>

#include "platform/runtime/clock.h"
#include "platform/runtime/files.h"

namespace zarv {

namespace {

struct Resets {
  std::vector<std::function<void()>> screens, state;
};

Resets& Registered() {
  static Resets* resets = new Resets;  // registrations may come from other statics' first use
  return *resets;
}

}  // namespace

bool OnProgramReset(ResetStage stage, std::function<void()> reset) {
  Resets& r = Registered();
  (stage == ResetStage::Screens ? r.screens : r.state).push_back(std::move(reset));
  return true;
}

void ResetProgramState() {
  // A reset may make another structure for the first time, which registers
  // it meanwhile: walk by index, each reset called from a copy of its own.
  Resets& r = Registered();
  for (auto* stage : {&r.screens, &r.state}) {
    for (std::size_t i = 0; i < stage->size(); ++i) {
      const std::function<void()> reset = (*stage)[i];
      reset();
    }
  }
  ResetClockSource();
  SetProgramFolder("");
}

}  // namespace zarv
