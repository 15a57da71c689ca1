// Outline builders of the powered aircraft: the three twin-fin layouts
// (nacelles in the wing root, or nacelles running aft as wide or narrow twin
// booms) and the single-fin layout. Each runs once per flight set-up, after
// the set-up has derived the body and tail sizes, written the wing section
// and built the wing grid; it fills the rest of the outline and leaves it
// centred on the centre of gravity and on the middle of its height range.
#pragma once

#include "model/outline_inputs.h"
#include "model/outline.h"
#include "aircraft/aircraft_data.h"

namespace zarv::model {

// Twin fins more than 2 m apart, centre of gravity ahead of 27 % chord: the
// nacelles fill the gap between the body side and the wing root.
void BuildUnderwingNacelleOutline(const aircraft::AircraftData& aircraft, const OutlineInputs& sizes,
                                  AirframeOutline& outline);
// Twin fins, nacelles running aft as booms that reach out to the fin plane.
void BuildWideNacelleOutline(const aircraft::AircraftData& aircraft, const OutlineInputs& sizes,
                             AirframeOutline& outline);
// As the wide layout with the booms 0.4 m further inboard.
void BuildNarrowNacelleOutline(const aircraft::AircraftData& aircraft, const OutlineInputs& sizes,
                               AirframeOutline& outline);
// One fin, or two fins at most 2 m apart drawn as one on the centre plane.
void BuildSingleFinJetOutline(const aircraft::AircraftData& aircraft, const OutlineInputs& sizes,
                              AirframeOutline& outline);

enum class OutlineBuilder {
  Pod,             // light aircraft, wing below 0.9 m
  SlicedFairing,   // light aircraft, wing at 0.9 m or higher
  None,            // powered with at most one engine: the wing grid only
  SingleFinJet,
  UnderwingNacelle,
  NarrowNacelle,
  WideNacelle,
};

// Which builder the flight set-up runs for an aircraft. wingRootOffset is the
// set-up's centre-section half-span (the fin half-spacing whenever a twin-fin
// builder is reached).
OutlineBuilder ChooseOutlineBuilder(const aircraft::AircraftData& aircraft, double engineDiameter,
                                    double wingRootOffset);

}  // namespace zarv::model
