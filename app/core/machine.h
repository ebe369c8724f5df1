// The hot-wire machine the panel is cut on: its settings, the carriage paths
// the wire's ends follow in the two tower planes, and what a cut will take.
#pragma once

#include "core/document.h"

#include "vextra.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace orv {

struct MachineSettings {
    float towers = 1000;  // distance between the tower planes, mm
    float rootPos = 100;  // root face from the plane of the tower named by rootSide, mm
    int32_t rootSide = 0; // 0: first tower (first two axes), 1: second tower
    std::string axes = "XYUV";
    float feed = 300; // mm/min, of the faster face
    float kerfRoot = 0, kerfTip = 0;
    float heat = 0;  // 0: no heat commands
    float dwell = 2; // s
    bool approach = true;
    int32_t decimals = 3;
    // Min and max of each axis in the order of `axes`; min = max = 0: no limit.
    std::array<float, 8> limits{};

    friend bool operator==(const MachineSettings &, const MachineSettings &) = default;
};

inline const std::array<std::string, 2> kAxisSets = {"XYUV", "XYZA"};
inline constexpr int32_t kMaxDecimals = 6;

// The library's record, for a panel `span` mm wide.
VxMachine toVxMachine(const MachineSettings &m, float span);

// Where the tower planes lie along the span, with the root face at 0 and the
// tip face at span.
struct TowerPlanes {
    double first = 0, second = 0;
};
TowerPlanes towerPlanes(const MachineSettings &m);

struct CarriagePoint {
    float x = 0, y = 0;
    friend bool operator==(const CarriagePoint &, const CarriagePoint &) = default;
};

// The line through root point i and tip point i carried to each tower plane.
// Empty when the counts differ or the span is not positive.
struct CarriagePaths {
    std::vector<CarriagePoint> first, second; // axes 1-2, axes 3-4
    TowerPlanes planes;
    bool empty() const { return first.empty(); }
};
CarriagePaths carriagePaths(const Profils &doc, const MachineSettings &m);
// The same into existing paths, reusing their storage.
void computeCarriagePaths(const Profils &doc, const MachineSettings &m, CarriagePaths &out);

// The first carriage position outside an axis's travel, in point order, then
// axis order; with the approach, the origin it starts from comes first.
struct LimitBreach {
    int32_t axis = 0;  // 0..3, in the order of `axes`
    int32_t point = 0; // from 1; 0: the origin of the approach
    float value = 0, min = 0, max = 0;
};
std::optional<LimitBreach> firstLimitBreach(const CarriagePaths &paths, const MachineSettings &m);
// Whether an axis has a travel at all (0 to 0 means none).
bool axisLimited(const MachineSettings &m, int axis);
bool anyAxisLimited(const MachineSettings &m);

// The lengths the two faces travel and the time the program takes: on each
// segment the faster face moves at the feed, on the approach and the return
// the faster carriage; the heating pause is added. The kerf is left out.
struct CutEstimate {
    double rootLength = 0, tipLength = 0; // mm
    double seconds = 0;
};
CutEstimate estimateCut(const Profils &doc, const MachineSettings &m);

} // namespace orv
