// The state listing is generated from one field table; a field added to the
// flight state but not to the table would silently drop out of the listing
// (and out of everything else that walks the table).
#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>

#include "flight/state_fields.h"

namespace zarv::flight {
namespace {

// Field names declared in the flight state's group structs, read from the
// header itself. The memo tables are no state, the head-up marks the
// display's; WingPanel is listed through the Panels field.
std::set<std::string> DeclaredFields() {
  std::ifstream in(std::string(ZARV_SOURCE_DIR) + "/src/flight/flight_state.h");
  std::stringstream text;
  text << in.rdbuf();
  std::set<std::string> names;
  std::string group;
  const std::regex open(R"(^struct (\w+) \{)");
  std::string line;
  while (std::getline(text, line)) {
    std::smatch m;
    if (std::regex_search(line, m, open)) {
      group = m[1];
      continue;
    }
    if (line.rfind("};", 0) == 0) group.clear();
    if (group.empty() || group == "WingPanel" || group == "FlightState" || group == "MemoTables" ||
        group == "HeadUpState")
      continue;
    // "type A = 0, B{1, 2};": drop the comment, template arguments and
    // braced initialisers, then take the name before each "=" or ",".
    std::string code = line.substr(0, line.find("//"));
    if (code.find(';') == std::string::npos) continue;
    code = std::regex_replace(code, std::regex(R"(<[^>]*>|\{[^}]*\}|=[^,;]*)"), "");
    std::stringstream parts(code.substr(0, code.find(';')));
    for (std::string part; std::getline(parts, part, ',');) {
      std::smatch n;
      if (std::regex_search(part, n, std::regex(R"((\w+)\s*$)"))) names.insert(n[1]);
    }
  }
  return names;
}

TEST(StateFieldTable, ListsEveryFieldOfTheFlightStateOnce) {
  const std::set<std::string> declared = DeclaredFields();
  ASSERT_GT(declared.size(), 300u);  // the header was read

  std::multiset<std::string> listed;
  const FlightState s;
  ForEachStateField(s, [&](const char* name, const auto&) { listed.insert(name); });
  for (const std::string& name : declared) {
    EXPECT_EQ(listed.count(name), 1u) << name << " is declared but listed " << listed.count(name) << " times";
  }
  for (const std::string& name : listed) EXPECT_TRUE(declared.count(name)) << name << " is listed but not declared";
}

}  // namespace
}  // namespace zarv::flight
