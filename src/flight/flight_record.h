// The in-memory recording of a flight: one FlightSample per two simulation
// steps, filled by the flight loop's recorder and read by the flight-log
// writer, the flight-data charts and the replay (the log reader fills the
// same rows from a stored log). Rows 0..60000 are written by the recorder:
// past 60000 it goes on at 30000, so the first half keeps the flight's start.
#pragma once

#include <array>
#include <cstdint>
#include <cstdlib>
#include <new>
#include <utility>
#include <vector>

#include "flight/flight_state.h"
#include "aircraft/aircraft_data.h"
#include "flight/flight_options.h"

namespace zarv::flight {

// One row, in the column order of the flight log. Values are stored already
// rounded to the step the log shows.
struct FlightSample {
  float Time = 0;                  // s, to 0.05
  double DistanceFlown = 0;        // m
  double Height = 0;               // m
  double Airspeed = 0;             // m/s
  double RecordedWindSpeed = 0;    // m/s
  double Pitch = 0;                // deg
  double PitchRateDeg = 0;         // deg/s
  double WingAngleOfAttack = 0;    // deg
  double SideslipAngle = 0;        // deg
  double PathAngleDeg = 0;         // deg
  double LoadFactor = 0;           // G
  double LiftCoefficient = 0;
  double TailplaneLift = 0;        // N
  double TailplaneAngle = 0;       // deg
  double TailplaneControl = 0;     // deg
  double FinAngle = 0;             // deg
  int16_t AileronDeg = 0;          // the flying-start fields: written only for powered aircraft
  int16_t FlapSetting = 0;
  int16_t LeadingEdgeFlapAngle = 0;
  int16_t NozzleOpening = 0;       // %
  int16_t NozzleAngle = 0;         // deg
  int16_t AfterburnerOpening = 0;  // %
  int16_t AirframeTemperature = 0; // K
  double CentreOfGravityPct = 0;
  double PressureCentre = 0;
  double HeadingDeg = 0;
  double Bank = 0;                 // deg
  double Track = 0;                // deg
  double InnerWingDeflection = 0;  // deg
  double OuterWingDeflection = 0;
  double WingTipDeflection = 0;
  double East = 0, North = 0;      // m
  double WindNoiseVolume = 0;      // 0..1
  // World positions of the wing tips: the log writer and reader fill them.
  double TipAEast = 0, TipANorth = 0, TipAHeight = 0;
  double TipBEast = 0, TipBNorth = 0, TipBHeight = 0;

  bool operator==(const FlightSample&) const = default;
};

inline constexpr int32_t kRecordCapacity = 90004;  // rows 0..90003
inline constexpr int32_t kRecordWrapAt = 60000;    // the last row the recorder writes
inline constexpr int32_t kRecordWrapTo = 30000;
inline constexpr int kMarkCount = 31;              // burst and sound marks 0..30

// Storage handed out already zeroed (all-zero bytes are FlightSample{}), so a
// new record costs nothing until its rows are written: a calloc this large
// comes straight from the system's zero pages.
template <class T>
struct ZeroedAllocator {
  using value_type = T;
  ZeroedAllocator() = default;
  template <class U>
  ZeroedAllocator(const ZeroedAllocator<U>&) noexcept {}
  T* allocate(std::size_t n) {
    void* p = std::calloc(n, sizeof(T));
    if (p == nullptr) throw std::bad_alloc();
    return static_cast<T*>(p);
  }
  void deallocate(T* p, std::size_t) noexcept { std::free(p); }
  // Value-initialising a row leaves the zeros as they are.
  template <class U>
  void construct(U*) noexcept {}
  template <class U, class... Args>
  void construct(U* p, Args&&... args) {
    ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
  }
  template <class U>
  bool operator==(const ZeroedAllocator<U>&) const noexcept { return true; }
};

// The record's rows, read-only: every write goes through FlightRecord::Row,
// which keeps the mark that lets a reset clear only the rows written.
class SampleRows {
 public:
  const FlightSample& operator[](std::size_t i) const { return rows_[i]; }
  std::size_t size() const { return rows_.size(); }
  auto begin() const { return rows_.begin(); }
  auto end() const { return rows_.end(); }

 private:
  friend struct FlightRecord;
  std::vector<FlightSample, ZeroedAllocator<FlightSample>> rows_ =
      std::vector<FlightSample, ZeroedAllocator<FlightSample>>(kRecordCapacity);
};

struct FlightRecord {
  SampleRows Samples;
  // Rows at and above this index were never written since the last reset:
  // Reset clears only the rows below.
  int32_t RowsInUse = 0;
  int32_t RecordCount = -2;        // index of the next sample to write
  // The row the recorder wrote last: the latest sample. The row after it was
  // never filled in a flight that ended in the water, or, once the ring has
  // wrapped, holds a sample a lap older.
  int32_t LastRecorded = -1;
  double RecordSampleCount = 1.0;  // samples the charts and the replay use
  int32_t LogRowCount = 0;         // last row of a log being written or read
  // Marks kept with the record for the log's engine trailer and the replay.
  float LaunchMarkTenths = 0;      // rounds fired
  std::array<int32_t, kMarkCount> LaunchMarkSamples{};
  int16_t SoundStartCount = 0;     // last used index of SoundStartSamples
  std::array<int32_t, kMarkCount> SoundStartSamples{};

  // Row i for writing (0 <= i < kRecordCapacity); marks it for the reset.
  FlightSample& Row(int32_t i) {
    if (i >= RowsInUse) RowsInUse = i + 1;
    return Samples.rows_[static_cast<std::size_t>(i)];
  }

  // Back to load-time values: every row FlightSample{} and the counters as new.
  void Reset();
};

// The program-wide record.
FlightRecord& Record();

// Advances the record index once past a written (or skipped) sample,
// wrapping from 60000 to 30000.
void AdvanceRecordIndex(FlightRecord& r);

// The recorder's step of the flight loop: on even step counts writes the
// sample at RecordCount (unless the flight-data charts are open or the index
// is still negative) and advances the index.
void RecordFlightSample(FlightState& s, FlightRecord& r, const aircraft::AircraftData& a,
                        const FlightOptions& options);

}  // namespace zarv::flight
