// The probe's "fly" command: flies an aircraft file with no screen and
// prints the recorded samples and the result.
#pragma once

#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "flight/key_script.h"

namespace zarv::flight {

// Flies aircraft file `path` from its launch conditions, pressing the
// take-off key at 0.5 s, until the flight ends or FlightTime reaches
// `seconds` (no limit when <= 0). Writes the CSV header, one row per recorded
// sample and the "result" line to out; problems go to err. Returns the
// process exit status. With a logPath the flight log that the post-flight
// processing would file is written there; with keys, the flight is flown by
// that key script instead of the single take-off key. Each of sets puts a
// value into the aircraft record's field of that listed name (a launch height
// or a wind of one's own) before the flight.
using FieldSettings = std::vector<std::pair<std::string, double>>;
int RunFlyProbe(const std::string& path, double seconds, std::ostream& out, std::ostream& err,
                const std::string& logPath = {}, const std::vector<ScriptedKey>* keys = nullptr,
                const FieldSettings& sets = {});

// Parses "fly FILE [--seconds T] [--log OUT.csv] [--keys SCRIPT] [--set Name=value ...]" (args without the
// program name and the command word) and runs it; 2 on a usage error.
int FlyCommand(int argc, char** argv, std::ostream& out, std::ostream& err);

}  // namespace zarv::flight
