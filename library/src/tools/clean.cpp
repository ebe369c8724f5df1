// NettoyageFichier, PtClean and NettoyageSynchro (also PtSyncClean): points
// that lie on a straight line within a tolerance are removed.
#include "tools/clean_chord.h"
#include "foundation/export_guard.h"
#include "order/fill.h"
#include "foundation/vx_array.h"

#include <cmath>
#include <vector>

namespace vx {

namespace {

bool keepMarked(const ContourPoint &p) { return (p.Pen[1] & 0xFF) == 'C'; }
bool keepMarked(const SequencePoint &p) { return (p.Mark & kKeep) != 0; }

void writeKept(ContourPoint &out, const ContourPoint &in, bool mark)
{
    out.X = in.X;
    out.Y = in.Y;
    setChars(out.Pen, 'P', mark ? 'C' : 'D');
    setChars(out.Tag, ' ', 'A');
}

void writeKept(SequencePoint &out, const SequencePoint &in, bool mark)
{
    out.X = in.X;
    out.Y = in.Y;
    out.Mark = static_cast<int16_t>(mark ? kKeep : 0);
    out.Sequence = 0;
}

float tolerance(const float *t) { return t ? *t : 0.0f; }

template <typename Rec> int32_t clean(VxArray **points, const float *tol)
{
    ArrayLock lock(points, sizeof(Rec));
    if (!lock.ok())
        return lock.result();
    const int32_t n = (*points)->count;
    if (n < 3)
        return n;
    const float t = tolerance(tol);
    const float tol2 = t * t;
    const Rec *in = elements<Rec>(points);
    const std::vector<size_t> kept = chordScan(
        static_cast<size_t>(n), [&](size_t i) { return Pt{in[i].X, in[i].Y}; },
        [&](size_t i) { return keepMarked(in[i]); }, tol2, true, false);
    std::vector<Rec> keptRecords;
    keptRecords.reserve(kept.size());
    for (size_t i : kept)
        keptRecords.push_back(in[i]);
    lock.release();

    const int resized = resizeArray(points, sizeof(Rec), static_cast<int64_t>(kept.size()));
    if (resized < 0)
        return resized;
    Rec *out = elements<Rec>(points);
    // A kept point that carried the keep mark keeps it, the ends included.
    for (size_t k = 0; k < keptRecords.size(); ++k)
        writeKept(out[k], keptRecords[k], keepMarked(keptRecords[k]));
    unlockArray(points);
    return static_cast<int32_t>(kept.size());
}

int32_t cleanPairs(VxArray **pairs, const float *tol)
{
    ArrayLock lock(pairs, sizeof(PointPair));
    if (!lock.ok())
        return lock.result();
    const int32_t n = (*pairs)->count;
    if (n < 3)
        return n;
    const float t = tolerance(tol);
    const float tol2 = t * t;
    PointPair *p = elements<PointPair>(pairs);
    std::vector<char> keep(static_cast<size_t>(n), 0);
    for (int side = 0; side < 2; ++side) {
        auto at = [&](size_t i) { return side == 0 ? Pt{p[i].X1, p[i].Y1} : Pt{p[i].X2, p[i].Y2}; };
        for (size_t i : chordScan(static_cast<size_t>(n), at, [](size_t) { return false; }, tol2, false, true))
            keep[i] = 1;
    }
    int32_t kept = 1;
    for (int32_t i = 1; i < n; ++i)
        if (keep[static_cast<size_t>(i)])
            p[kept++] = p[i];
    return kept;
}

} // namespace

} // namespace vx

extern "C" {

int32_t NettoyageFichier(VxArray **points, float *tolerance)
{
    return vx::guarded([&] { return vx::clean<ContourPoint>(points, tolerance); });
}

int32_t PtClean(VxArray **points, float *tolerance)
{
    return vx::guarded([&] { return vx::clean<SequencePoint>(points, tolerance); });
}

int32_t NettoyageSynchro(VxArray **pairs, float *tolerance)
{
    return vx::guarded([&] { return vx::cleanPairs(pairs, tolerance); });
}

// The same entry under its second name.
int32_t PtSyncClean(VxArray **pairs, float *tolerance) __attribute__((alias("NettoyageSynchro")));

} // extern "C"
