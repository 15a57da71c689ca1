// The benchmarks' start: the hooks wired and checked as the program's main
// does, so that a screen a benchmark opens reaches the layers above it the
// way it does in the program. No benchmark waits for a user or ends the
// program: a message box or the program's end stops the run with a failure
// instead, so that a run that ends normally has run every benchmark.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>

#include "flightscreen/program_wiring.h"
#include "platform/runtime/process.h"
#include "platform/ui/app.h"
#include "platform/ui/msgbox.h"

int main(int argc, char** argv) {
  zarv::PrepareProcess();
  zarv::flightscreen::WireProgram();
  zarv::flightscreen::EndForUnwiredHooks(zarv::flightscreen::UnwiredHooks());
  zarv::SetMessageBoxResponder([](const zarv::MsgBoxCall& call) -> int {
    std::fprintf(stderr, "zarv_bench: a benchmark asked the user: %s\n", call.prompt.c_str());
    std::exit(EXIT_FAILURE);
  });
  zarv::SetEndHook([] {
    std::fprintf(stderr, "zarv_bench: a benchmark ended the program\n");
    std::exit(EXIT_FAILURE);
  });
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return EXIT_FAILURE;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return EXIT_SUCCESS;
}
