// Filing a new log among an aircraft's ten, beside other aircraft's logs,
// and what is left when a rename or delete fails.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <memory>

#include "logbook/log_filing.h"
#include "logbook/ranking.h"
#include "platform/runtime/file_lock.h"
#include "platform/runtime/files.h"
#include "records_fixture.h"

namespace zarv::records {
namespace {

using testing::Bytes;
using testing::WriteBytes;

class FilingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(MakeDir(data));
    WriteBytes(working, "new");
  }
  void Log(const std::string& name) { WriteBytes(data + "/" + name, name); }
  std::vector<std::string> Names() { return ListFiles(data, "*"); }

  ScratchFolder dir;
  std::string data = dir / "FlightData";
  std::string working = dir / "before.csv";
  const std::string suffix = LogSuffixFor("Marden7.brd");
};

TEST_F(FilingTest, OnlyOneDigitFollowedByTheSuffixIsThisAircraftsLog) {
  EXPECT_EQ(suffix, "Marden7.csv");
  EXPECT_TRUE(IsLogOf("0Marden7.csv", suffix));
  EXPECT_TRUE(IsLogOf("9Marden7.csv", suffix));
  EXPECT_FALSE(IsLogOf("12Marden7.csv", suffix));
  EXPECT_FALSE(IsLogOf("01Marden7.csv", suffix));
  EXPECT_FALSE(IsLogOf("0XMarden7.csv", suffix));
  EXPECT_FALSE(IsLogOf("Marden7.csv", suffix));
  EXPECT_FALSE(IsLogOf("0marden7.csv", suffix));
  EXPECT_FALSE(IsLogOf("0Marden7.csv.bak", suffix));
}

TEST_F(FilingTest, FirstLogAndGapsClosed) {
  FilingResult r = FileFlightLog(data, suffix, working, 100);
  EXPECT_TRUE(r.Filed);
  EXPECT_EQ(r.FiledName, "0Marden7.csv");
  EXPECT_FALSE(FileExists(working));

  // Logs 0, 1, 3 and 4: 3 and 4 become 2 and 3, the new one is 4.
  for (const char* n : {"1Marden7.csv", "3Marden7.csv", "4Marden7.csv"}) Log(n);
  WriteBytes(working, "newer");
  r = FileFlightLog(data, suffix, working, 100);
  EXPECT_EQ(r.FiledName, "4Marden7.csv");
  EXPECT_EQ(Names(), (std::vector<std::string>{"0Marden7.csv", "1Marden7.csv", "2Marden7.csv", "3Marden7.csv",
                                                "4Marden7.csv"}));
  EXPECT_EQ(Bytes(data + "/2Marden7.csv"), "3Marden7.csv");
  EXPECT_EQ(Bytes(data + "/4Marden7.csv"), "newer");
}

TEST_F(FilingTest, TenLogsBesideOtherAircraftsLogs) {
  for (int k = 0; k <= 9; ++k) Log(std::to_string(k) + "Marden7.csv");
  for (const char* n : {"0XMarden7.csv", "5XMarden7.csv", "0Marden.csv", "3Marden98.csv"}) Log(n);
  const FilingResult r = FileFlightLog(data, suffix, working, 100);
  EXPECT_EQ(r.FiledName, "9Marden7.csv");
  EXPECT_EQ(Bytes(data + "/0Marden7.csv"), "1Marden7.csv");  // the oldest went
  EXPECT_EQ(Bytes(data + "/8Marden7.csv"), "9Marden7.csv");
  EXPECT_EQ(Bytes(data + "/9Marden7.csv"), "new");
  // The other aircraft's logs are untouched.
  for (const char* n : {"0XMarden7.csv", "5XMarden7.csv", "0Marden.csv", "3Marden98.csv"})
    EXPECT_EQ(Bytes(data + "/" + n), n);
  EXPECT_EQ(Names().size(), 14u);
}

// Every count of logs 0 to n - 1 already there: the new one follows them;
// only with ten does the oldest go and the rest move down. Each log k after
// the filing holds what log k + dropped held, the new one the last number.
TEST_F(FilingTest, EachCountOfLogsFromNoneToTen) {
  const struct {
    int present;
    const char* filedAs;
    int dropped;  // logs that went
  } cases[] = {{0, "0Marden7.csv", 0}, {1, "1Marden7.csv", 0}, {2, "2Marden7.csv", 0}, {3, "3Marden7.csv", 0},
               {4, "4Marden7.csv", 0}, {5, "5Marden7.csv", 0}, {6, "6Marden7.csv", 0}, {7, "7Marden7.csv", 0},
               {8, "8Marden7.csv", 0}, {9, "9Marden7.csv", 0}, {10, "9Marden7.csv", 1}};
  for (const auto& c : cases) {
    std::filesystem::remove_all(data);
    ASSERT_TRUE(MakeDir(data));
    for (int k = 0; k < c.present; ++k) Log(std::to_string(k) + "Marden7.csv");
    WriteBytes(working, "new");
    const FilingResult r = FileFlightLog(data, suffix, working, 100);
    EXPECT_EQ(r.FiledName, c.filedAs) << c.present << " logs";
    const int kept = c.present - c.dropped + 1;
    std::vector<std::string> names;
    for (int k = 0; k < kept; ++k) names.push_back(std::to_string(k) + "Marden7.csv");
    EXPECT_EQ(Names(), names) << c.present << " logs";
    for (int k = 0; k + 1 < kept; ++k)
      EXPECT_EQ(Bytes(data + "/" + names[k]), std::to_string(k + c.dropped) + "Marden7.csv") << c.present << " logs";
    EXPECT_EQ(Bytes(data + "/" + names.back()), "new") << c.present << " logs";
  }
}

// Aircraft whose names begin with digits: each takes only its own logs, and
// the other files keep their names and contents.
TEST_F(FilingTest, AircraftNamedWithDigitsKeepToTheirOwnLogs) {
  const struct {
    const char* aircraft;
    std::vector<std::string> before;
    const char* filedAs;
  } cases[] = {
      {"747.brd", {"0747.csv", "012.csv", "112.csv"}, "1747.csv"},
      {"747.brd", {"0747.csv", "1747.csv", "02.csv"}, "2747.csv"},
      {"2.brd", {"012.csv", "112.csv"}, "02.csv"},
      {"2.brd", {"02.csv", "012.csv", "2.csv"}, "12.csv"},
      {"12.brd", {"012.csv", "02.csv", "12.csv"}, "112.csv"},
      {"1E5.brd", {"01E5.csv"}, "11E5.csv"},
      {"Marden7.brd", {"0Marden7.csv", "10Marden7.csv", "01Marden7.csv"}, "1Marden7.csv"},
  };
  for (const auto& c : cases) {
    std::filesystem::remove_all(data);
    ASSERT_TRUE(MakeDir(data));
    for (const std::string& n : c.before) Log(n);
    WriteBytes(working, "new");
    const FilingResult r = FileFlightLog(data, LogSuffixFor(c.aircraft), working, 100);
    EXPECT_EQ(r.FiledName, c.filedAs) << c.aircraft << " " << r.Problem;
    EXPECT_EQ(Bytes(data + "/" + c.filedAs), "new");
    for (const std::string& n : c.before) EXPECT_EQ(Bytes(data + "/" + n), n) << c.aircraft;
    EXPECT_EQ(Names().size(), c.before.size() + 1);
  }
}

// "0" + a 251-byte name + ".csv" is one byte too long for a file name: the
// user hears so, by name, on choosing such an aircraft, and its logs are
// deleted as they come, never set aside where no screen shows them. One
// byte shorter, the logs are filed as usual.
TEST_F(FilingTest, AnAircraftWhoseLogsCannotBeNamedLeavesNoneAside) {
  const std::string tooLong = std::string(251, 'a') + ".brd";
  const std::string longest = std::string(250, 'b') + ".brd";
  const std::string notice = LogNamesNotice(data, tooLong);
  EXPECT_NE(notice.find("長すぎる"), std::string::npos);
  EXPECT_NE(notice.find(tooLong), std::string::npos);
  EXPECT_EQ(LogNamesNotice(data, longest), "");

  FilingResult r = FileFlightLog(data, LogSuffixFor(tooLong), working, 100);
  EXPECT_TRUE(r.Discarded);
  EXPECT_EQ(r.Problem, "");
  EXPECT_FALSE(FileExists(working));
  std::string log = "s\r\n 9,'=データ行数\r\nnames\r\nunits\r\n";
  for (int i = 0; i <= 9; ++i) log += "0.00,1," + std::string(26, ',') + "\r\n";
  WriteBytes(working, log);
  EXPECT_EQ(FileLeftoverLog(working, data, tooLong), "");
  EXPECT_EQ(ListFiles(dir.path(), "*.csv"), std::vector<std::string>{});
  EXPECT_EQ(Names(), std::vector<std::string>{});

  WriteBytes(working, "new");
  r = FileFlightLog(data, LogSuffixFor(longest), working, 100);
  EXPECT_EQ(r.FiledName, std::string(1, '0').append(250, 'b').append(".csv"));
  EXPECT_EQ(Bytes(data + "/" + r.FiledName), "new");
}

TEST_F(FilingTest, ShortOrCancelledLogsAreDeleted) {
  Log("0Marden7.csv");
  const FilingResult r = FileFlightLog(data, suffix, working, 3);
  EXPECT_TRUE(r.Discarded);
  EXPECT_FALSE(r.Filed);
  EXPECT_FALSE(FileExists(working));
  EXPECT_EQ(Names(), std::vector<std::string>{"0Marden7.csv"});
}

TEST_F(FilingTest, AFailingFolderKeepsTheWorkingCopyAndTheOldLogs) {
  for (int k = 0; k <= 9; ++k) Log(std::to_string(k) + "Marden7.csv");
  FileOps readOnly{[](const std::string&, const std::string&) { return false; },
                   [](const std::string&) { return false; }};
  FilingResult r = FileFlightLog(data, suffix, working, 100);  // fills the folder once, for real
  ASSERT_TRUE(r.Filed);
  WriteBytes(working, "later");
  r = FileFlightLog(data, suffix, working, 100, readOnly);
  EXPECT_FALSE(r.Filed);
  EXPECT_FALSE(r.Problem.empty());
  EXPECT_EQ(Bytes(working), "later");
  EXPECT_EQ(Names().size(), 10u);
  EXPECT_EQ(Bytes(data + "/9Marden7.csv"), "new");

  // A rename that fails half way: what was moved stays consistent, nothing
  // is overwritten and the working copy is kept.
  int moves = 0;
  FileOps flaky = RuntimeFileOps();
  auto realMove = flaky.Move;
  flaky.Move = [&](const std::string& a, const std::string& b) { return ++moves < 4 && realMove(a, b); };
  r = FileFlightLog(data, suffix, working, 100, flaky);
  EXPECT_FALSE(r.Filed);
  EXPECT_EQ(Bytes(working), "later");
  EXPECT_EQ(Names().size(), 9u);  // the oldest was dropped, as filing does
}

TEST_F(FilingTest, ARenameTargetInTheWayIsNotOverwritten) {
  // A hand-placed "01" log holds the value 1 beside "1": neither is lost.
  for (const char* n : {"0Marden7.csv", "01Marden7.csv", "1Marden7.csv", "5Marden7.csv"}) Log(n);
  const FilingResult r = FileFlightLog(data, suffix, working, 100);
  EXPECT_TRUE(r.Filed);
  EXPECT_EQ(Names().size(), 5u);
  EXPECT_EQ(Bytes(data + "/2Marden7.csv"), "5Marden7.csv");
  EXPECT_EQ(Bytes(data + "/3Marden7.csv"), "new");
}

// Notices name files as the lists show them: a folder named in cp932
// ("テスト") is read as cp932, not shown as raw bytes.
TEST_F(FilingTest, NoticesShowCp932NamesAsTheListsDo) {
  const std::string cp932 = dir / "\x83\x65\x83\x58\x83\x67";
  ASSERT_TRUE(MakeDir(cp932));
  const std::string copy = cp932 + "/before.csv";
  WriteBytes(copy, "new");
  FileOps readOnly{[](const std::string&, const std::string&) { return false; },
                   [](const std::string&) { return false; }};
  const FilingResult r = FileFlightLog(data, suffix, copy, 100, readOnly);
  EXPECT_NE(r.Problem.find("/テスト/before.csv"), std::string::npos) << r.Problem;
  EXPECT_NE(FileLeftoverLog(copy, data, "").find("/テスト/before1.csv"), std::string::npos);
  RankingState ranking;
  ranking.File = RankingState::FileState::Unreadable;
  EXPECT_NE(RankingFileNotice(ranking, cp932 + "/rank.dat").find("/テスト/rank.dat\r\n"), std::string::npos);
}

// A log that a killed run (or a failed filing) left in the working copy is
// filed at the next start under the aircraft the settings name; when that
// cannot be, it moves to a free name, never to be written over.
TEST_F(FilingTest, ALeftoverLogIsFiledOrKept) {
  std::string log = "s\r\n 9,'=データ行数\r\nnames\r\nunits\r\n";
  for (int i = 0; i <= 9; ++i) log += "0.00,1," + std::string(26, ',') + "\r\n";
  const std::string shortLog = "s\r\n 3,'=データ行数\r\n機体各部の座標\r\n";
  FileOps readOnly{[](const std::string&, const std::string&) { return false; },
                   [](const std::string&) { return false; }};
  const struct {
    std::string bytes, aircraft;
    bool failingFolder;
    std::string filedAs, keptAs;
  } cases[] = {
      {log, "Marden7.brd", false, "2Marden7.csv", ""},
      {shortLog, "Marden7.brd", false, "", ""},  // as after a flight: deleted
      {log, "", false, "", "before1.csv"},        // no aircraft known
      {log, "Marden7.brd", true, "", "before1.csv"},
  };
  for (const auto& c : cases) {
    std::filesystem::remove_all(data);
    ASSERT_TRUE(MakeDir(data));
    DeleteFile(dir / "before1.csv");
    Log("0Marden7.csv");
    Log("1Marden7.csv");
    WriteBytes(working, c.bytes);
    const std::string message =
        FileLeftoverLog(working, data, c.aircraft, c.failingFolder ? readOnly : RuntimeFileOps());
    EXPECT_FALSE(FileExists(working));
    if (!c.filedAs.empty()) {
      EXPECT_EQ(Bytes(data + "/" + c.filedAs), c.bytes);
    }
    EXPECT_EQ(Names().size(), c.filedAs.empty() ? 2u : 3u);
    EXPECT_EQ(message.empty(), c.keptAs.empty()) << message;
    if (!c.keptAs.empty()) {
      EXPECT_EQ(Bytes(dir / c.keptAs), c.bytes);
      EXPECT_NE(message.find(dir / c.keptAs), std::string::npos) << message;
    }
  }
  EXPECT_EQ(FileLeftoverLog(working, data, "Marden7.brd"), "");  // nothing left over
}

// A copy of the program writing or filing its own log holds the working
// copy's turn: a start meanwhile finds no leftover there. Once the holder
// has gone (also killed) the file is one, and filed.
TEST_F(FilingTest, AWorkingCopyInAnotherCopysTurnIsNoLeftover) {
  std::string log = "s\r\n 9,'=データ行数\r\nnames\r\nunits\r\n";
  for (int i = 0; i <= 9; ++i) log += "0.00,1," + std::string(26, ',') + "\r\n";
  WriteBytes(working, log);
  {
    const FileLock otherCopy(working);
    EXPECT_EQ(FileLeftoverLog(working, data, "Marden7.brd"), "");
    EXPECT_EQ(Bytes(working), log);
    EXPECT_EQ(Names(), std::vector<std::string>{});
  }
  EXPECT_EQ(FileLeftoverLog(working, data, "Marden7.brd"), "");
  EXPECT_FALSE(PathExists(working));
  EXPECT_EQ(Bytes(data + "/0Marden7.csv"), log);
}

// A new log is written to the working copy and filed in its turn. A log
// already there (one that could not be filed, its user told so) is never
// written over: the new one goes to the next free name. So it does when
// another copy keeps its turn past the wait: the working copy's own name
// is that copy's. Where filing fails, the message names the file kept.
TEST_F(FilingTest, ANewLogNeverTakesAWorkingCopyThatIsThere) {
  const std::string badFolder = dir / "plain/FlightData";
  WriteBytes(dir / "plain", "a file, no folder");
  const struct {
    bool keptThere, turnHeld, folderFails;
    const char* keptAs;  // nullptr: filed as 0Marden7.csv
  } cases[] = {
      {false, false, false, nullptr},      {true, false, false, nullptr},
      {false, true, false, nullptr},       {false, false, true, "before.csv"},
      {true, false, true, "before1.csv"},  {false, true, true, "before1.csv"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.keptThere << c.turnHeld << c.folderFails);
    std::filesystem::remove_all(data);
    DeleteFile(working);
    DeleteFile(dir / "before1.csv");
    if (c.keptThere) WriteBytes(working, "kept");
    std::unique_ptr<FileLock> otherCopy;
    if (c.turnHeld) otherCopy = std::make_unique<FileLock>(working);
    const NewLogFiling r =
        WriteAndFileLog(working, c.folderFails ? badFolder : data, suffix, "new log", 100, 0.1);
    EXPECT_TRUE(r.Written);
    EXPECT_EQ(r.Filing.Filed, c.keptAs == nullptr) << r.Filing.Problem;
    if (c.keptAs) {
      EXPECT_EQ(r.WorkingCopy, dir / c.keptAs);
      EXPECT_EQ(Bytes(dir / c.keptAs), "new log");
      EXPECT_NE(r.Filing.Problem.find(dir / c.keptAs), std::string::npos) << r.Filing.Problem;
    } else {
      EXPECT_EQ(Bytes(data + "/0Marden7.csv"), "new log");
    }
    if (c.keptThere) {
      EXPECT_EQ(Bytes(working), "kept");
    }
    EXPECT_EQ(ListFiles(dir.path(), "*.csv").size(), (c.keptThere ? 1u : 0u) + (c.keptAs ? 1u : 0u));
  }
}

// Two copies of the program in one folder whose flights end at the same
// moment, again and again: every log is filed, each as its aircraft's next,
// with FlightData on the disk of Temp or on another.
TEST_F(FilingTest, TwoCopiesFilingAtOnceKeepEveryLog) {
  DeleteFile(working);
  ScratchFolder ram("/dev/shm");
  struct stat a{}, b{};
  const bool twoDisks = stat(dir.path().c_str(), &a) == 0 && stat(ram.path().c_str(), &b) == 0 && a.st_dev != b.st_dev;
  for (const std::string& folder : {data, ram / "FlightData"}) {
    if (folder != data && !twoDisks) continue;
    SCOPED_TRACE(folder);
    pid_t copies[2] = {};
    for (int p = 0; p < 2; ++p) {
      copies[p] = fork();
      ASSERT_GE(copies[p], 0);
      if (copies[p] != 0) continue;
      const std::string aircraft = p == 0 ? "A" : "B";
      for (int k = 0; k < 10; ++k) {
        const NewLogFiling r = WriteAndFileLog(working, folder, aircraft + ".csv", aircraft + std::to_string(k), 100);
        if (!r.Filing.Filed) _exit(1);
      }
      _exit(0);
    }
    for (pid_t copy : copies) {
      int status = -1;
      ASSERT_EQ(waitpid(copy, &status, 0), copy);
      EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    for (const char* aircraft : {"A", "B"})
      for (int k = 0; k < 10; ++k)
        EXPECT_EQ(Bytes(folder + "/" + std::to_string(k) + aircraft + ".csv"), aircraft + std::to_string(k));
    EXPECT_EQ(ListFiles(folder, "*").size(), 20u);
    EXPECT_EQ(ListFiles(dir.path(), "*.csv"), std::vector<std::string>{});
  }
}

}  // namespace
}  // namespace zarv::records
