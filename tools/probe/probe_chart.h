// The probe's "chart" command: the characteristic charts of an aircraft file
// as text.
#pragma once

#include <ostream>

namespace zarv::flight {

// "chart FILE [--airfoil NAME]" (args without the program name and the
// command word). Without --airfoil: the aircraft chart as CSV, one row per
// sweep step with the plotted quantities (empty where the chart plots no
// point), then the summary lines as the chart shows them. With --airfoil:
// the airfoil chart of the section NAME as CSV. Returns the exit status; 2
// on a usage error.
int ChartCommand(int argc, char** argv, std::ostream& out, std::ostream& err);

}  // namespace zarv::flight
