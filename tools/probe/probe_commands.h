// The probe's command table and usage text, shared by the headless probe and
// its drawing half.
#pragma once

#include <cstddef>
#include <cstring>
#include <iostream>
#include <ostream>

namespace zarv::probe {

// A command that parses its own arguments ("fly FILE ..."); it returns 2 on a
// usage error.
struct Command {
  const char* Name;
  int (*Run)(int argc, char** argv, std::ostream& out, std::ostream& err);
};

inline int Usage() {
  std::cerr << "usage: zarv-probe setup FILE\n"
               "       zarv-probe outline FILE\n"
               "       zarv-probe fly FILE [--seconds T] [--log OUT.csv] [--keys SCRIPT] [--set Name=value ...]\n"
               "       zarv-probe log FILE.csv\n"
               "       zarv-probe chart FILE [--airfoil NAME]\n"
               "       zarv-probe panel FILE [--seconds T] [--size 640|800|1024] [--set Name=value ...] --out "
               "PICTURE.bmp\n"
               "       zarv-probe replay FILE.brd|LOG.csv [--seconds T] --frame N [--size 640|800|1024] [--vortex] "
               "[--wireframe] --out PICTURE.bmp\n"
               "       zarv-probe frame FILE [--seconds T] [--size 640|800|1024] [--set Name=value ...] --out "
               "PICTURE.bmp\n";
  return 2;
}

// Runs the command argv[1] names with the arguments after it and returns its
// exit status (the usage after a usage error); -1 when the table has no such
// command.
template <std::size_t N>
int RunCommand(const Command (&commands)[N], int argc, char** argv) {
  for (const Command& c : commands) {
    if (argc >= 3 && std::strcmp(argv[1], c.Name) == 0) {
      const int status = c.Run(argc - 2, argv + 2, std::cout, std::cerr);
      return status == 2 ? Usage() : status;
    }
  }
  return -1;
}

}  // namespace zarv::probe
