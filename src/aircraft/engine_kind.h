// The kind of engine an aircraft flies with, found in the engine catalogue by
// the aircraft's engine model once, when the flight is set up.
#pragma once

#include <string_view>

namespace zarv::aircraft {

enum class EngineKind {
  None,     // no engine, or a model the catalogue does not know
  Piston,
  Jet,
  Rocket,
};

// The catalogue's own words: "pist", "jet", "roket"; empty for none.
inline std::string_view EngineKindText(EngineKind kind) {
  switch (kind) {
    case EngineKind::Piston: return "pist";
    case EngineKind::Jet: return "jet";
    case EngineKind::Rocket: return "roket";
    case EngineKind::None: break;
  }
  return "";
}

inline bool HasEngine(EngineKind kind) { return kind != EngineKind::None; }

}  // namespace zarv::aircraft
