// The joystick file: its exact lines, the round trip, and what a damaged or
// odd file gives.
#include "flightscreen/joy_button_map.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "fuzz_damage.h"
#include "joystick_fixture.h"
#include "platform/runtime/files.h"

namespace zarv::flightscreen {
namespace {

class JoyFileTest : public testing::JoystickTest {
 protected:
  void WriteRaw(const std::string& bytes) { ASSERT_TRUE(AtomicWriteBytes(JoyFile(), bytes)); }
};

TEST_F(JoyFileTest, WritesSixteenLinesInNumberForm) {
  JoyButtonMap map;
  map.Entries[kJoyTakeoff] = 1;
  map.Entries[kJoyBrakeHold] = 2;
  map.Entries[kJoyDetentEntry] = 180;
  ASSERT_TRUE(WriteJoyFile(JoyFilePath(), map));
  std::string expected = " 1\r\n 0\r\n 2\r\n";
  for (int i = 0; i < 12; ++i) expected += " 0\r\n";
  expected += " 180\r\n";
  EXPECT_EQ(ReadAllBytes(JoyFile()), expected);
  // No temporary file left beside it.
  int files = 0;
  for (const auto& e : std::filesystem::directory_iterator(folder_ + "/Temp")) files += e.is_regular_file();
  EXPECT_EQ(files, 1);
}

TEST_F(JoyFileTest, RoundTripKeepsEveryEntryIncludingReservedOnes) {
  JoyButtonMap map;
  for (int i = 0; i < kJoyMapSize; ++i) map.Entries[static_cast<size_t>(i)] = i * 37 - 100;
  map.Entries[3] = 2147483647;
  map.Entries[kJoyDetentEntry] = 200;
  ASSERT_TRUE(WriteJoyFile(JoyFile(), map));
  JoyButtonMap back;
  back.Entries.fill(99);
  ASSERT_TRUE(ReadJoyFile(JoyFile(), back));
  EXPECT_EQ(back.Entries, map.Entries);
}

TEST_F(JoyFileTest, DetentIsNeverBelowTen) {
  // Stored: a lever at the top end reads 0.
  JoyButtonMap map;
  map.SetDetent(0);
  EXPECT_EQ(map.Detent(), 10);
  map.Entries[kJoyDetentEntry] = -3;  // set behind the map's back
  ASSERT_TRUE(WriteJoyFile(JoyFile(), map));
  EXPECT_EQ(map.Detent(), 10);
  EXPECT_NE(ReadAllBytes(JoyFile()).find(" 10\r\n"), std::string::npos);

  // Read: an old or hand-edited file with 0 in the last line.
  std::string bytes;
  for (int i = 0; i < 15; ++i) bytes += " 0\r\n";
  WriteRaw(bytes + " 0\r\n");
  JoyButtonMap read;
  ASSERT_TRUE(ReadJoyFile(JoyFile(), read));
  EXPECT_EQ(read.Detent(), 10);
  WriteRaw(bytes + " 11\r\n");
  ASSERT_TRUE(ReadJoyFile(JoyFile(), read));
  EXPECT_EQ(read.Detent(), 11);
}

TEST_F(JoyFileTest, BadLinesAndLengths) {
  // Lenient numbers: leading blanks, trailing text, halves to even, no number.
  std::string bytes = "  4 buttons\r\nabc\r\n2.5\r\n3.5\r\n-8\r\n\r\n";
  for (int i = 6; i < 15; ++i) bytes += " 1\r\n";
  bytes += " 120\r\n";
  // Lines beyond sixteen are not stored anywhere.
  bytes += " 999\r\n 998\r\n";
  WriteRaw(bytes);
  JoyButtonMap map;
  ASSERT_TRUE(ReadJoyFile(JoyFile(), map));
  EXPECT_EQ(map.Entries[0], 4);
  EXPECT_EQ(map.Entries[1], 0);
  EXPECT_EQ(map.Entries[2], 2);
  EXPECT_EQ(map.Entries[3], 4);
  EXPECT_EQ(map.Entries[4], -8);
  EXPECT_EQ(map.Entries[5], 0);
  EXPECT_EQ(map.Entries[14], 1);
  EXPECT_EQ(map.Detent(), 120);

  // A short file: what it lacks takes the start values, whatever the map
  // held before.
  WriteRaw(" 8\r\n 16");
  map.Entries.fill(5);
  ASSERT_TRUE(ReadJoyFile(JoyFile(), map));
  EXPECT_EQ(map.Entries[0], 8);
  EXPECT_EQ(map.Entries[1], 16);
  EXPECT_EQ(map.Entries[2], 0);
  EXPECT_EQ(map.Entries[14], 0);
  EXPECT_EQ(map.Detent(), 10);

  // An empty file: all start values.
  WriteRaw("");
  map.Entries.fill(5);
  ASSERT_TRUE(ReadJoyFile(JoyFile(), map));
  EXPECT_EQ(map.Entries, JoyButtonMap().Entries);
}

// Doubled line ends must not shift the map: button 2 stays the brake hold,
// the detent stays on line 16.
TEST_F(JoyFileTest, DoubledLineEndsKeepTheMapInPlace) {
  for (const char* end : {"\r\r\n", "\n\r"}) {
    std::string bytes;
    for (int i = 0; i < 16; ++i) bytes += std::string(i == 2 ? " 2" : i == 15 ? " 180" : " 0") + end;
    WriteRaw(bytes);
    JoyButtonMap map;
    ASSERT_TRUE(ReadJoyFile(JoyFile(), map));
    EXPECT_EQ(map.Entries[kJoyBrakeHold], 2);
    EXPECT_EQ(map.Entries[kJoyTrimNoseDown], 0);
    EXPECT_EQ(map.Detent(), 180);
  }
}

// A FIFO or a huge file in its place: the start values, and no hang.
TEST_F(JoyFileTest, SpecialAndHugeFilesGiveTheStartValues) {
  ASSERT_EQ(mkfifo(JoyFile().c_str(), 0600), 0);
  JoyButtonMap map;
  map.Entries[kJoyGear] = 64;
  ReadJoyFile(JoyFile(), map);
  EXPECT_EQ(map.Entries, JoyButtonMap().Entries);
  ASSERT_TRUE(DeleteFile(JoyFile()));
  WriteRaw(" 1\r\n" + std::string(kMaxJoyFileBytes, ' '));
  map.Entries[kJoyGear] = 64;
  ReadJoyFile(JoyFile(), map);
  EXPECT_EQ(map.Entries, JoyButtonMap().Entries);
}

// Seeded damage: every file reads into a map with a usable detent, and the
// map written back reads the same.
TEST_F(JoyFileTest, DamagedFilesReadIntoUsableMaps) {
  std::string good;
  for (int i = 0; i < 16; ++i) good += std::string(i == 1 ? " 3" : i == 15 ? " 180" : " 0") + "\r\n";
  zarv::testing::Damage damage(16);
  for (int round = 0; round < 2000; ++round) {
    SCOPED_TRACE(round);
    std::ofstream(JoyFile(), std::ios::binary | std::ios::trunc) << damage(good);
    JoyButtonMap map;
    ASSERT_TRUE(ReadJoyFile(JoyFile(), map));
    ASSERT_GE(map.Detent(), kMinThrottleDetent);
    if (round % 50 != 0) continue;
    ASSERT_TRUE(WriteJoyFile(JoyFile(), map));
    JoyButtonMap back;
    ASSERT_TRUE(ReadJoyFile(JoyFile(), back));
    ASSERT_EQ(back.Entries, map.Entries);
  }
}

TEST_F(JoyFileTest, MissingFileKeepsTheMap) {
  JoyButtonMap map;
  map.Entries[kJoyGear] = 64;
  map.Entries[kJoyDetentEntry] = 150;
  EXPECT_FALSE(ReadJoyFile(JoyFile(), map));
  EXPECT_EQ(map.Entries[kJoyGear], 64);
  EXPECT_EQ(map.Detent(), 150);
}

TEST_F(JoyFileTest, UnwritablePlaceFailsAndLeavesNoFile) {
  // The Temp folder's place is taken by a file: nothing can be written.
  std::filesystem::remove_all(folder_ + "/Temp");
  ASSERT_TRUE(AtomicWriteBytes(folder_ + "/Temp", "x"));
  JoyButtonMap map;
  EXPECT_FALSE(WriteJoyFile(JoyFilePath(), map));
  EXPECT_EQ(ReadAllBytes(folder_ + "/Temp"), "x");
}

TEST_F(JoyFileTest, SetUpHandsTheDetentToTheFlightLoop) {
  JoyButtonMap map;
  map.Entries[kJoyTakeoff] = 1;
  map.Entries[kJoyDetentEntry] = 140;
  ASSERT_TRUE(WriteJoyFile(JoyFilePath(), map));
  flight::FlightState& s = flight::State();
  LoadJoyButtonMap(s);
  EXPECT_EQ(JoyMap().Entries[kJoyTakeoff], 1);
  EXPECT_EQ(s.Pilot.ThrottleDetent, 140);

  // Without a file: the start detent.
  std::filesystem::remove(JoyFile());
  JoyMap().Reset();
  s.Pilot.ThrottleDetent = 0;
  LoadJoyButtonMap(s);
  EXPECT_EQ(s.Pilot.ThrottleDetent, 10);
}

}  // namespace
}  // namespace zarv::flightscreen
