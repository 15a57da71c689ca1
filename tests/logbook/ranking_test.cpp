// The ranking: which flights qualify, where they go, the pilot's name, and
// the ranking file (read whenever present, never written over one that was
// not read, replaced atomically).
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>

#include "logbook/post_flight.h"
#include "logbook/ranking.h"
#include "platform/runtime/cp932.h"
#include "platform/runtime/file_lock.h"
#include "platform/runtime/files.h"
#include "platform/runtime/text.h"
#include "platform/runtime/textfile.h"
#include "records_fixture.h"

namespace zarv::records {
namespace {

using testing::Bytes;
using testing::WriteBytes;

RankingState Filled(std::initializer_list<double> distances) {
  RankingState r;
  int k = 1;
  for (double d : distances) r.RecordLines[static_cast<size_t>(k++)] = Format(d, "###.#0") + "m by X";
  return r;
}

RankingCandidate Glider(double distance) { return {distance, 7, 20, 0, 10.8}; }

TEST(Ranking, WhichFlightsQualify) {
  const RankingState empty;
  EXPECT_EQ(RankingPlace(empty, Glider(100.01)), 1);
  EXPECT_EQ(RankingPlace(empty, Glider(100)), 0);                 // more than 100 m, strictly
  EXPECT_EQ(RankingPlace(empty, Glider(-2.89)), 0);               // at rest behind the start line
  EXPECT_EQ(RankingPlace(empty, {150, 10, 20, 0, 10.8}), 0);     // launched at 10 m/s: not a platform flight
  EXPECT_EQ(RankingPlace(empty, {150, 9.99, 20, 0, 10.8}), 1);
  EXPECT_EQ(RankingPlace(empty, {150, 7, 10, 0, 10.8}), 0);      // span 10 m and 24 m excluded
  EXPECT_EQ(RankingPlace(empty, {150, 7, 24, 0, 10.8}), 0);
  EXPECT_EQ(RankingPlace(empty, {150, 7, 23.99, 0, 10.8}), 1);
  EXPECT_EQ(RankingPlace(empty, {150, 7, 20, 0.01, 10.8}), 0);   // throttle left open
  // No platform under it at 1 m or less: pedalled along the lake, or
  // placed 96 m out at a launch speed of 1, it ranks nowhere.
  EXPECT_EQ(RankingPlace(empty, {421.95, 7, 20, 0, 0}), 0);
  EXPECT_EQ(RankingPlace(empty, {421.95, 7, 20, 0, 0.5}), 0);
  EXPECT_EQ(RankingPlace(empty, {421.95, 7, 20, 0, 1}), 0);
  EXPECT_EQ(RankingPlace(empty, {421.95, 7, 20, 0, 1.01}), 1);
  RankingState full = Filled({900, 800, 700, 600, 500, 450, 440, 430, 420, 410, 400, 390, 380, 370, 360, 350,
                              340, 330, 320, 310});
  EXPECT_EQ(RankingPlace(full, Glider(310)), 0);  // equal to the 20th: no place
  EXPECT_EQ(RankingPlace(full, Glider(310.01)), 20);
}

TEST(Ranking, InsertionTopMiddleBottomAndTies) {
  RankingState r = Filled({500, 400, 300});
  EXPECT_EQ(RankingPlace(r, Glider(600)), 1);
  EXPECT_EQ(RankingPlace(r, Glider(400)), 3);  // an equal distance goes below
  EXPECT_EQ(RankingPlace(r, Glider(350)), 3);
  EXPECT_EQ(RankingPlace(r, Glider(200)), 4);  // the first free place

  ASSERT_EQ(CheckRanking(r, Glider(400)), 3);
  EXPECT_EQ(r.NewRecordRank, 3);
  EXPECT_EQ(CheckRanking(r, Glider(50)), 0);
  EXPECT_EQ(r.NewRecordRank, 3);  // a flight that does not qualify leaves it
  ASSERT_TRUE(InsertRankingEntry(r, 3, "400.00m by Y 01-02-2026   03:04:05  ", "Taro"));
  EXPECT_EQ(r.RecordLines[2], "400.00m by X");
  EXPECT_EQ(r.RecordLines[3], "400.00m by Y 01-02-2026   03:04:05  Taro");
  EXPECT_EQ(r.RecordLines[4], "300.00m by X");
  EXPECT_EQ(r.RecordLines[5], "");

  RankingState full = Filled({20, 19, 18, 17, 16, 15, 14, 13, 12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1});
  ASSERT_TRUE(InsertRankingEntry(full, 1, "top ", "A"));
  EXPECT_EQ(full.RecordLines[1], "top A");
  EXPECT_EQ(full.RecordLines[20], "2.00m by X");  // the old 20th is gone
  ASSERT_TRUE(InsertRankingEntry(full, 20, "last ", ""));
  EXPECT_EQ(full.RecordLines[19], "3.00m by X");
  EXPECT_EQ(full.RecordLines[20], "last ");
  EXPECT_FALSE(InsertRankingEntry(full, 21, "x", ""));
  EXPECT_FALSE(InsertRankingEntry(full, 0, "x", ""));
}

TEST(Ranking, PilotNames) {
  RankingState r;
  r.NewRecordRank = 1;
  bool open = true;
  // A line break would split the line into two places: refused, nothing changes.
  EXPECT_FALSE(EnterPilotName(r, "150.00m by X  ", "Ta\r\nro", open).empty());
  EXPECT_FALSE(EnterPilotName(r, "150.00m by X  ", "Ta\nro", open).empty());
  EXPECT_EQ(r.RecordLines[1], "");
  // Commas stay part of the line; the name is kept as typed, characters
  // cp932 lacks too.
  EXPECT_TRUE(EnterPilotName(r, "150.00m by X  ", "山田, 太郎 😀", open).empty());
  EXPECT_TRUE(open);
  EXPECT_EQ(r.RecordLines[1], "150.00m by X  山田, 太郎 😀");
  EXPECT_EQ(RankingValue(r.RecordLines[1]), 150);
  // An empty name inserts the line and opens no window.
  r.NewRecordRank = 2;
  EXPECT_TRUE(EnterPilotName(r, "120.00m by X  ", "", open).empty());
  EXPECT_FALSE(open);
  EXPECT_EQ(r.RecordLines[2], "120.00m by X  ");

  EXPECT_EQ(PilotNamePrompt(123.456, 3), "記録  123.46ｍ\r\nこの記録は 3位に相当します\r\n名前を入力してください");
  const std::string list = RankingListText(r);
  EXPECT_EQ(list.substr(0, list.find("\r\n")), "01位  150.00m by X  山田, 太郎 😀");
  EXPECT_NE(list.find("\r\n20位  \r\n"), std::string::npos);
}

class RankingFileTest : public zarv::testing::ProgramTest {
 protected:
  std::string path = Path("record.dat");
};

TEST_F(RankingFileTest, FileBytesAndShortFiles) {
  RankingState r;
  ReadRankingFile(path, r);  // none yet: created as usual
  r.RecordLines[1] = "812.50m by MardenⅡ 07-04-2026   12:00:00  太郎";
  ASSERT_TRUE(WriteRankingFile(path, r));
  std::string expected = Utf8ToCp932(r.RecordLines[1]) + "\r\n";
  for (int k = 2; k <= 20; ++k) expected += "\r\n";
  EXPECT_EQ(Bytes(path), expected);

  WriteBytes(path, Utf8ToCp932("812.5 MardenⅡ\r\n640 Marden98\r\n"));  // short file
  RankingState back;
  ReadRankingFile(path, back);
  EXPECT_EQ(back.RecordLines[1], "812.5 MardenⅡ");
  EXPECT_EQ(back.RecordLines[2], "640 Marden98");
  EXPECT_EQ(back.RecordLines[20], "");
  EXPECT_TRUE(WriteRankingFile(path, back));
}

// Names cp932 cannot hold, read from a line marked as UTF-8 or typed after
// a flight, come back exactly at the next start; the lines cp932 holds keep
// their bytes.
TEST_F(RankingFileTest, NamesCp932CannotHoldComeBackExactly) {
  const std::string mark(kUtf8Mark);
  const std::string marked = mark + "812.50m by X 07-04-2026   12:00:00  José Müller\r\n";
  std::string bytes = marked + Utf8ToCp932("640.00m by MardenⅡ 07-04-2026   12:30:00  太郎") + "\r\n";
  for (int k = 3; k <= 20; ++k) bytes += "\r\n";
  WriteBytes(path, bytes);
  RankingState r;
  ReadRankingFile(path, r);
  EXPECT_EQ(r.RecordLines[1], "812.50m by X 07-04-2026   12:00:00  José Müller");
  EXPECT_EQ(r.RecordLines[2], "640.00m by MardenⅡ 07-04-2026   12:30:00  太郎");
  ASSERT_TRUE(WriteRankingFile(path, r));
  EXPECT_EQ(Bytes(path), bytes);

  ASSERT_EQ(CheckRanking(r, Glider(700)), 2);
  bool open = false;
  ASSERT_EQ(EnterPilotName(r, "700.00m by X 07-04-2026   13:00:00  ", "José Tarō", open), "");
  ASSERT_TRUE(WriteRankingFile(path, r));
  RankingState next;
  ReadRankingFile(path, next);
  EXPECT_EQ(next.RecordLines, r.RecordLines);
  EXPECT_EQ(next.RecordLines[2], "700.00m by X 07-04-2026   13:00:00  José Tarō");
}

// Places that move down below a new one keep their bytes: a byte cp932
// cannot read (Latin-1) and the NEC code of a character cp932 has twice.
TEST_F(RankingFileTest, PlacesMovedDownKeepTheirBytes) {
  const std::string old = "812.50m by Caf\xE9\r\n640.00m by \x87\x90\r\n";
  WriteBytes(path, old);
  RankingState r;
  ReadRankingFile(path, r);
  ASSERT_TRUE(InsertRankingEntry(r, 1, "900.00m by ", "X"));
  ASSERT_TRUE(WriteRankingFile(path, r));
  std::string moved = "900.00m by X\r\n" + old;
  for (int k = 4; k <= 20; ++k) moved += "\r\n";
  EXPECT_EQ(Bytes(path), moved);
}

// Copies in one folder each read the list at their start and write it at
// their quit: every copy's entry is kept, at its place in the list as the
// file holds it then (below an equal distance, none beyond the 20th place),
// and a copy that writes again adds nothing twice.
TEST_F(RankingFileTest, CopiesInOneFolderKeepEachOthersEntries) {
  WriteBytes(path, "500.00m by X\r\n400.00m by X\r\n300.00m by X\r\n");
  RankingState a, b, c;
  for (RankingState* copy : {&a, &b, &c}) ReadRankingFile(path, *copy);
  ASSERT_TRUE(InsertRankingEntry(a, 2, "450.00m by A ", "Ann"));
  ASSERT_TRUE(InsertRankingEntry(b, 3, "350.00m by B ", "Ben"));
  ASSERT_TRUE(InsertRankingEntry(c, 2, "450.00m by C ", "Cy"));
  for (RankingState* copy : {&a, &b, &c, &a, &b}) ASSERT_TRUE(WriteRankingFile(path, *copy));
  std::string expected =
      "500.00m by X\r\n450.00m by A Ann\r\n450.00m by C Cy\r\n400.00m by X\r\n350.00m by B Ben\r\n300.00m by X\r\n";
  for (int k = 7; k <= 20; ++k) expected += "\r\n";
  EXPECT_EQ(Bytes(path), expected);
  EXPECT_EQ(a.RecordLines[3], "450.00m by C Cy");  // what was written is the list now

  // A full list: the places pushed out go, and an entry that no longer
  // beats the 20th place goes with them.
  std::string full;
  for (int k = 1; k <= 20; ++k) full += std::to_string(1010 - 10 * k) + ".00m by X\r\n";
  WriteBytes(path, full);
  for (RankingState* copy : {&a, &b, &c}) ReadRankingFile(path, *copy);
  ASSERT_TRUE(InsertRankingEntry(a, 11, "905.00m by A ", ""));
  ASSERT_TRUE(InsertRankingEntry(b, 16, "855.00m by B ", ""));
  ASSERT_TRUE(InsertRankingEntry(c, 20, "815.00m by C ", ""));
  for (RankingState* copy : {&a, &b, &c}) ASSERT_TRUE(WriteRankingFile(path, *copy));
  const std::vector<std::string> lines = ReadTextLines(path);
  ASSERT_EQ(lines.size(), 20u);
  EXPECT_EQ(lines[9], "910.00m by X");
  EXPECT_EQ(lines[10], "905.00m by A ");
  EXPECT_EQ(lines[15], "860.00m by X");
  EXPECT_EQ(lines[16], "855.00m by B ");
  EXPECT_EQ(lines[19], "830.00m by X");  // 820 and 810 pushed out, 815 never in
}

// A flight is ranked by its own distance, its line shows it to the
// centimetre: it goes above lines that read the same but are shorter, and
// the quit writes it at the place announced, which the next start reads
// back. Places 1..14 of the full list read 300..287 m.
TEST_F(RankingFileTest, AnEntryIsWrittenAtThePlaceItWasAnnounced) {
  struct Row {
    std::vector<std::string> file;  // places 1.. as the start read them
    double distance;                // the flight's own
    const char* shows;
    int place;                      // announced and stored
    int equalAbove, equalBelow;     // lines reading `shows` above and below it
  };
  std::vector<std::string> full;
  for (int m = 300; m >= 287; --m) full.push_back(std::to_string(m) + ".00m by X");
  for (int k = 15; k <= 20; ++k) full.push_back("200.14m by X");
  const Row rows[] = {
      {{"200.28m by X", "200.28m by X", "200.28m by X", "150.00m by X"}, 200.2812, "200.28", 1, 0, 3},
      {full, 200.1412, "200.14", 15, 0, 5},  // the old 20th is gone
      {{"300.00m by X", "200.14m by X", "200.14m by X", "190.00m by X"}, 200.137, "200.14", 4, 2, 0},  // short of them
  };
  for (const Row& row : rows) {
    std::string bytes;
    for (const std::string& line : row.file) bytes += line + "\r\n";
    WriteBytes(path, bytes);
    RankingState r;
    ReadRankingFile(path, r);
    ASSERT_EQ(CheckRanking(r, Glider(row.distance)), row.place) << row.distance;
    bool open = false;
    const std::string entry = std::string(row.shows) + "m by Me 12-08-2026   10:00:00  Hanako";
    ASSERT_EQ(EnterPilotName(r, std::string(row.shows) + "m by Me 12-08-2026   10:00:00  ", "Hanako", open), "");
    const auto shown = r.RecordLines;
    ASSERT_TRUE(WriteRankingFile(path, r)) << row.distance;
    RankingState next;
    ReadRankingFile(path, next);
    EXPECT_EQ(next.RecordLines, shown) << row.distance;
    EXPECT_EQ(next.RecordLines[static_cast<size_t>(row.place)], entry) << row.distance;
    const std::string equal = std::string(row.shows) + "m by X";
    int above = 0, below = 0;
    for (int k = 1; k <= kRankingPlaces; ++k)
      if (next.RecordLines[static_cast<size_t>(k)] == equal) ++(k < row.place ? above : below);
    EXPECT_EQ(above, row.equalAbove) << row.distance;
    EXPECT_EQ(below, row.equalBelow) << row.distance;
  }
}

// Two copies with entries that read the same, one a little longer by its
// own distance: whichever quits first, both are kept, the longer above.
// One that lines of the other copy rank above is pushed past the 20th
// place, as the rule has it, and that write still keeps every entry it
// places: it says saved.
TEST_F(RankingFileTest, CopiesRankEachOthersEntriesByTheFlightsOwnDistance) {
  struct Flight {
    double distance;
    const char* entry;
    int place;  // announced against the file as both copies read it
  };
  struct Row {
    std::string file;
    Flight a, b;
    size_t from;                     // the lines expected from this place on (0-based)
    std::vector<std::string> lines;  // whichever copy quits first
  };
  // 19 places of 400..382 m and 200.14 at the 20th: the copy's 200.1412
  // earns the 20th, the other's 250 m too; 250 m wins it in either order.
  std::string full;
  for (int m = 400; m >= 382; --m) full += std::to_string(m) + ".00m by X\r\n";
  full += "200.14m by X\r\n";
  const Row rows[] = {
      {"300.00m by X\r\n200.14m by X\r\n150.00m by X\r\n",
       {200.14, "200.14m by Even ", 3},  // equal: below the line
       {200.1449, "200.14m by Longer ", 2},
       0,
       {"300.00m by X", "200.14m by Longer ", "200.14m by X", "200.14m by Even ", "150.00m by X", ""}},
      {full, {200.1412, "200.14m by Me ", 20}, {250, "250.00m by Other ", 20}, 18, {"382.00m by X", "250.00m by Other "}},
  };
  for (const Row& row : rows) {
    for (bool aFirst : {true, false}) {
      WriteBytes(path, row.file);
      RankingState a, b;
      for (RankingState* copy : {&a, &b}) ReadRankingFile(path, *copy);
      bool open = false;
      ASSERT_EQ(CheckRanking(a, Glider(row.a.distance)), row.a.place);
      ASSERT_EQ(EnterPilotName(a, row.a.entry, "", open), "");
      ASSERT_EQ(CheckRanking(b, Glider(row.b.distance)), row.b.place);
      ASSERT_EQ(EnterPilotName(b, row.b.entry, "", open), "");
      for (RankingState* copy : aFirst ? std::vector{&a, &b} : std::vector{&b, &a})
        EXPECT_TRUE(WriteRankingFile(path, *copy)) << row.a.entry << aFirst;
      const std::vector<std::string> lines = ReadTextLines(path);
      ASSERT_EQ(lines.size(), 20u);
      EXPECT_EQ(std::vector(lines.begin() + static_cast<long>(row.from),
                            lines.begin() + static_cast<long>(row.from + row.lines.size())),
                row.lines)
          << row.a.entry << aFirst;
    }
  }
}

// Two processes writing the ranking at once, each entry of each run read
// before and written after the other's: none lost, none twice, in order.
TEST_F(RankingFileTest, TwoProcessesWritingAtOnceLoseNoEntry) {
  constexpr int kRuns = 10;
  pid_t children[2] = {};
  for (int p = 0; p < 2; ++p) {
    children[p] = fork();
    ASSERT_GE(children[p], 0);
    if (children[p] != 0) continue;
    for (int run = 0; run < kRuns; ++run) {
      RankingState r;
      ReadRankingFile(path, r);
      const double distance = 900 - 20 * run - 10 * p;
      const int16_t place = RankingPlace(r, Glider(distance));
      usleep(2000);  // the other copy's quit falls between this start and quit
      if (place == 0 || !InsertRankingEntry(r, place, Format(distance, "###.#0") + "m by P", std::to_string(p)) ||
          !WriteRankingFile(path, r))
        _exit(1);
    }
    _exit(0);
  }
  for (pid_t child : children) {
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  const std::vector<std::string> lines = ReadTextLines(path);
  ASSERT_EQ(lines.size(), 20u);
  for (int k = 1; k <= 20; ++k)
    EXPECT_EQ(lines[static_cast<size_t>(k) - 1], std::to_string(910 - 10 * k) + ".00m by P" + std::to_string(1 - k % 2)) << k;
}

// A copy that holds the ranking's lock and does not let go (stopped, or on
// a disk that syncs for longer than the wait) would rename its list over
// this one's: this copy's entry is not written under it but reported not
// saved, and a copy with no entry of its own leaves the file to it without
// waiting. A holder that ends lets go: the entry goes in.
TEST_F(RankingFileTest, AnEntryIsNeverWrittenUnderAnotherCopysLock) {
  WriteBytes(path, "900.00m by X\r\n");
  int ready[2];
  ASSERT_EQ(pipe(ready), 0);
  const pid_t holder = fork();
  ASSERT_GE(holder, 0);
  if (holder == 0) {
    const FileLock lock(path);
    if (write(ready[1], "x", 1) != 1) _exit(1);
    raise(SIGSTOP);
    _exit(0);
  }
  char c = 0;
  ASSERT_EQ(read(ready[0], &c, 1), 1);
  RankingState mine, none;
  ReadRankingFile(path, mine);
  ReadRankingFile(path, none);
  ASSERT_TRUE(InsertRankingEntry(mine, 1, "950.00m by Me ", ""));
  EXPECT_FALSE(WriteRankingFile(path, mine, nullptr, 0.2));
  const auto start = std::chrono::steady_clock::now();
  EXPECT_TRUE(WriteRankingFile(path, none));
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
  EXPECT_EQ(Bytes(path), "900.00m by X\r\n");

  ASSERT_EQ(kill(holder, SIGKILL), 0);
  int status = 0;
  ASSERT_EQ(waitpid(holder, &status, 0), holder);
  close(ready[0]);
  close(ready[1]);
  EXPECT_TRUE(WriteRankingFile(path, mine, nullptr, 0.2));
  EXPECT_EQ(Bytes(path).substr(0, 30), "950.00m by Me \r\n900.00m by X\r\n");
}

TEST_F(RankingFileTest, NeverWrittenOverAFileThatWasNotRead) {
  RankingState never;  // the start never looked: no write
  WriteBytes(path, "900 best\r\n");
  EXPECT_FALSE(WriteRankingFile(path, never));
  EXPECT_EQ(Bytes(path), "900 best\r\n");

  // Something there that cannot be read as the ranking.
  const std::string odd = Path("odd.dat");
  ASSERT_TRUE(MakeDir(odd));
  RankingState r;
  ReadRankingFile(odd, r);
  EXPECT_EQ(r.File, RankingState::FileState::Unreadable);
  EXPECT_FALSE(WriteRankingFile(odd, r));
}

// Line ends doubled on the way (CR CR LF, LF CR) keep all twenty places,
// the free ones included; the next write puts plain CR LF back.
TEST_F(RankingFileTest, DoubledLineEndsKeepEveryPlace) {
  for (const char* end : {"\r\r\n", "\n\r"}) {
    std::string bytes;
    for (int k = 1; k <= 20; ++k) bytes += (k == 5 ? std::string() : std::to_string(1000 - k) + " by X") + end;
    WriteBytes(path, bytes);
    RankingState r;
    ReadRankingFile(path, r);
    EXPECT_EQ(r.RecordLines[5], "");
    EXPECT_EQ(r.RecordLines[11], "989 by X");
    EXPECT_EQ(r.RecordLines[20], "980 by X");
    ASSERT_TRUE(WriteRankingFile(path, r));
    EXPECT_EQ(ReadTextLines(path).size(), 20u);
    EXPECT_EQ(Bytes(path).substr(0, 20), "999 by X\r\n998 by X\r\n");
  }
}

// A FIFO would hang the start, a huge file cost minutes and gigabytes: such
// a file is not read and never written over.
TEST_F(RankingFileTest, SpecialAndHugeFilesAreLeftAlone) {
  const std::string huge(kMaxRankingFileBytes + 1, 'x');
  for (bool fifo : {true, false}) {
    DeleteFile(path);
    if (fifo) {
      ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
    } else {
      WriteBytes(path, huge);
    }
    RankingState r;
    ReadRankingFile(path, r);
    EXPECT_EQ(r.File, RankingState::FileState::Unreadable);
    EXPECT_FALSE(WriteRankingFile(path, r));
  }
  EXPECT_EQ(FileLength(path), static_cast<int64_t>(huge.size()));
}

// A pilot name of 32,767 × あ makes a line of 43 + 65,534 bytes: with the
// 19 free places' line ends the file would be 65,617 bytes, which the start
// refuses. It is not written; the old file stays. Twenty lines of the
// longest names the boxes take, none of them cp932, come back.
TEST_F(RankingFileTest, NoListTheStartWouldRefuseIsWritten) {
  WriteBytes(path, "900 best\r\n");
  RankingState r;
  ReadRankingFile(path, r);
  std::string name;
  for (int i = 0; i < 32767; ++i) name += "あ";
  r.RecordLines[1] = "812.50m by MardenⅡ 07-04-2026   12:00:00  " + name;
  bool tooLarge = false;
  EXPECT_FALSE(WriteRankingFile(path, r, &tooLarge));
  EXPECT_TRUE(tooLarge);
  EXPECT_EQ(Bytes(path), "900 best\r\n");

  std::string longest;  // 가 is no cp932: 3 bytes in UTF-8
  for (int i = 0; i < kMaxPilotNameLength; ++i) longest += "가";
  for (int k = 1; k <= 20; ++k)
    r.RecordLines[static_cast<size_t>(k)] = "99999.99m by " + longest + " 07-04-2026   12:00:00  " + longest;
  ASSERT_TRUE(WriteRankingFile(path, r, &tooLarge));
  EXPECT_FALSE(tooLarge);
  EXPECT_EQ(FileLength(path), 20 * (3 + 13 + 765 + 24 + 765 + 2));
  RankingState back;
  ReadRankingFile(path, back);
  EXPECT_EQ(back.RecordLines, r.RecordLines);
}

TEST_F(RankingFileTest, AFailedWriteLeavesTheOldFile) {
  WriteBytes(path, "900 best\r\n");
  RankingState r;
  ReadRankingFile(path, r);
  r.RecordLines[2] = "850.00m by " + std::string(4000, 'x');
  // A full disk: the file size limit makes every write past it fail.
  struct sigaction ignore {}, old {};
  ignore.sa_handler = SIG_IGN;
  sigaction(SIGXFSZ, &ignore, &old);
  rlimit saved{};
  getrlimit(RLIMIT_FSIZE, &saved);
  rlimit tight = saved;
  tight.rlim_cur = 1000;
  setrlimit(RLIMIT_FSIZE, &tight);
  const bool written = WriteRankingFile(path, r);
  setrlimit(RLIMIT_FSIZE, &saved);
  sigaction(SIGXFSZ, &old, nullptr);
  EXPECT_FALSE(written);
  EXPECT_EQ(Bytes(path), "900 best\r\n");
  EXPECT_EQ(ListFiles(folder_, "*"), std::vector<std::string>{"record.dat"});
}

}  // namespace
}  // namespace zarv::records
