// What a shell command line prints on its standard output, and how it ended.
#pragma once

#include <sys/wait.h>

#include <cstdio>
#include <string>

namespace zarv::testing {

// status: the command's exit code, -1 when it could not run or was killed.
inline std::string CommandOutput(const std::string& line, int* status = nullptr) {
  std::string out;
  int rc = -1;
  if (FILE* p = popen(line.c_str(), "r")) {
    char buf[65536];
    for (size_t n; (n = fread(buf, 1, sizeof buf, p)) > 0;) out.append(buf, n);
    rc = pclose(p);
  }
  if (status) *status = rc != -1 && WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
  return out;
}

}  // namespace zarv::testing
