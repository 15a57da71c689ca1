// The probe's flight-log seams: the log a headless flight leaves, and a log
// read back as the program reads it.
#pragma once

#include <ostream>
#include <string>

#include "flight/headless_flight.h"

namespace zarv::flight {

// After a headless flight: the post-flight processing's result and log
// writing, the log written to path. 1 when the flight leaves no log.
int WriteProbeLog(HeadlessFlight& flight, const std::string& path, std::ostream& err);

// Reads a log with the program's reader and prints "Name value" lines: the
// summary line's fields, the row count, the first and last rows by column.
int LogCommand(const std::string& path, std::ostream& out, std::ostream& err);

}  // namespace zarv::flight
