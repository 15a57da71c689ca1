// The probe's log seams: a headless flight's log as the post-flight
// processing writes it, read back with the program's reader.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "platform/runtime/scratch_folder.h"
#include "memory_bounds.h"
#include "tools/command_output.h"

namespace {

namespace fs = std::filesystem;

const fs::path kAircraft = fs::path(ZARV_SOURCE_DIR) / "tests" / "data" / "aircraft";

std::string Probe(const std::string& args) {
  return zarv::testing::CommandOutput(std::string(ZARV_PROBE) + " " + args + " 2>/dev/null");
}

std::map<std::string, std::string> Fields(const std::string& text) {
  std::map<std::string, std::string> m;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    const size_t blank = line.find(' ');
    if (blank != std::string::npos) m[line.substr(0, blank)] = line.substr(blank + 1);
  }
  return m;
}

std::string Bytes(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

// The probe run with its output thrown away: how it ended, its peak
// resident size and its time. The peak counts the pages the child had from
// this process before it started the probe: compare two runs.
struct ProbeUse {
  int status = -1;
  long peakKiB = 0;
  std::chrono::duration<double> time{};
};
ProbeUse RunProbe(const std::string& command, const std::string& file) {
  const auto start = std::chrono::steady_clock::now();
  const pid_t pid = fork();
  if (pid == 0) {
    const int null = open("/dev/null", O_WRONLY);
    dup2(null, 1);
    dup2(null, 2);
    execl(ZARV_PROBE, ZARV_PROBE, command.c_str(), file.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  ProbeUse use;
  rusage r{};
  if (pid > 0 && wait4(pid, &use.status, 0, &r) == pid) use.peakKiB = r.ru_maxrss;
  use.time = std::chrono::steady_clock::now() - start;
  return use;
}

struct Case {
  const char* file;
  const char* layout;
  bool trailer;
};

class ProbeLog : public ::testing::TestWithParam<Case> {};

TEST_P(ProbeLog, FlightLogWrittenAndReadBack) {
  const Case c = GetParam();
  const zarv::ScratchFolder scratch;
  const fs::path out = scratch / (std::string(c.layout) + ".csv");
  const std::string fly = Probe("fly '" + (kAircraft / c.file).string() + "' --log '" + out.string() + "'");
  ASSERT_NE(fly.find("end=water"), std::string::npos);
  const std::string bytes = Bytes(out);
  ASSERT_FALSE(bytes.empty());
  // Every line ends in CR LF; no bare LF.
  size_t lf = 0, crlf = 0;
  for (size_t i = 0; i < bytes.size(); ++i)
    if (bytes[i] == '\n') ++lf, crlf += i > 0 && bytes[i - 1] == '\r';
  EXPECT_EQ(lf, crlf);
  // cp932: the count line's text is 0x83 0x66 ("デ") ..., never UTF-8 bytes.
  EXPECT_NE(bytes.find(",'=\x83\x66\x81\x5B\x83\x5E\x8D\x73\x90\x94\r\n"), std::string::npos);
  EXPECT_EQ(bytes.find("\xE3\x83"), std::string::npos);

  const auto f = Fields(Probe("log '" + out.string() + "'"));
  EXPECT_EQ(f.at("Layout"), c.layout);
  EXPECT_EQ(std::stoi(f.at("RowCount")), std::stoi(f.at("LogRowCount")) + 1);
  EXPECT_EQ(f.count("LaunchMarkTenths"), c.trailer ? 1u : 0u);
  EXPECT_EQ(f.at("DateTime"), f.at("DateTime").substr(0, 10) + "   " + f.at("DateTime").substr(13));
  // The distance of the summary is the flight's result.
  const size_t at = fly.find("distance=");
  EXPECT_NEAR(std::stod(f.at("Distance")), std::stod(fly.substr(at + 9)), 0.006);

  // The last row as the file holds it (not as the reader leaves it, cleared).
  std::vector<std::string> rows;
  for (size_t at = 0, end; (end = bytes.find("\r\n", at)) != std::string::npos; at = end + 2)
    rows.push_back(bytes.substr(at, end - at));
  const size_t last = 4 + static_cast<size_t>(std::stoi(f.at("LogRowCount")));
  ASSERT_LT(last, rows.size());
  std::vector<double> file;
  for (size_t at = 0, comma; (comma = rows[last].find(',', at)) != std::string::npos; at = comma + 1)
    file.push_back(std::stod(rows[last].substr(at, comma - at)));
  ASSERT_EQ(file.size(), std::string(c.layout) == "light" ? 28u : 35u);
  EXPECT_EQ(std::stod(f.at("last.時間")), file[0]);
  EXPECT_EQ(std::stod(f.at("last.距離")), file[1]);
  EXPECT_NE(file[1], 0);
  EXPECT_NEAR(std::stod(f.at("last.高度")), file[2], 0.01);  // the reader keeps heights to 0.01 m
  EXPECT_EQ(std::stod(f.at("last.対気速度")), file[3]);
  EXPECT_EQ(std::stod(f.at("last.風切り音")), file[file.size() - 2]);
  // The flight's end: the log's last row is its touch-down, at most a
  // sample's flight (0.05 s, two passes) before the result.
  EXPECT_NEAR(file[1], std::stod(fly.substr(at + 9)), file[3] * 0.05);
  EXPECT_LT(file[2], 0);
}

INSTANTIATE_TEST_SUITE_P(Aircraft, ProbeLog,
                         ::testing::Values(Case{"Marden7.brd", "light", false}, Case{"TestJet.brd", "powered", true}),
                         [](const auto& info) { return std::string(info.param.layout); });

TEST(ProbeLogCommand, MissingSpecialAndDamagedFiles) {
  EXPECT_EQ(Probe("log /nonexistent.csv"), "");
  const zarv::ScratchFolder scratch;
  const fs::path dir = scratch.path();
  // A FIFO is refused at once (its open would wait for a writer for ever).
  ASSERT_EQ(mkfifo((dir / "fifo.csv").c_str(), 0600), 0);
  EXPECT_EQ(Probe("log '" + (dir / "fifo.csv").string() + "'"), "");
  // CR line ends only: read as the same log, not past the lines there are.
  const fs::path log = dir / "log.csv";
  Probe("fly '" + (kAircraft / "Marden7.brd").string() + "' --log '" + log.string() + "'");
  const auto crLf = Fields(Probe("log '" + log.string() + "'"));
  std::string bytes = Bytes(log);
  for (size_t at; (at = bytes.find("\r\n")) != std::string::npos;) bytes.erase(at + 1, 1);
  std::ofstream(dir / "cr.csv", std::ios::binary) << bytes;
  const auto cr = Fields(Probe("log '" + (dir / "cr.csv").string() + "'"));
  ASSERT_TRUE(crLf.count("RowCount"));
  EXPECT_EQ(cr, crLf);

  // 64 MiB of CR bytes are no log: refused at once, in a few MB more than
  // the refusal of a missing file takes.
  zarv::testing::WriteRepeatedByte(dir / "ends.csv", '\r', 64);
  const ProbeUse missing = RunProbe("log", (dir / "missing.csv").string());
  const ProbeUse use = RunProbe("log", (dir / "ends.csv").string());
  EXPECT_TRUE(WIFEXITED(use.status) && WEXITSTATUS(use.status) == 1);
  EXPECT_LT(use.peakKiB - missing.peakKiB, 16 * 1024);
  EXPECT_LT(use.time.count(), 1.0);
}

}  // namespace
