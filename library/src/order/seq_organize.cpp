// SeqOrganize: the contours of a SequencePoint array put into cutting order
// (smallest first, holes before their outlines, nearest next), unchanged
// otherwise.
#include "order/cutting_order.h"
#include "foundation/export_guard.h"
#include "order/fill.h"
#include "foundation/vx_array.h"

#include <cmath>
#include <vector>

namespace vx {

namespace {

int32_t organize(VxArray **points)
{
    ArrayLock lock(points, sizeof(SequencePoint));
    if (!lock.ok())
        return lock.result();
    const int32_t n = (*points)->count;
    const std::vector<SequencePoint> in(elements<SequencePoint>(points), elements<SequencePoint>(points) + n);
    lock.release();

    // Each node carries the index of its record in `keep`: nothing here
    // simplifies, so the keep mark is not needed, and the record goes back
    // whole. Contours with a coordinate that is not finite cannot be placed;
    // they follow the others as they came.
    std::vector<Contour> contours;
    PointList unplaced;
    int32_t number = 0;
    for (int32_t i = 0; i < n;) {
        int32_t j = i + 1;
        while (j < n && in[static_cast<size_t>(j)].Sequence == in[static_cast<size_t>(i)].Sequence)
            ++j;
        ++number;
        Contour c;
        bool finite = true;
        for (int32_t k = i; k < j; ++k) {
            const SequencePoint &p = in[static_cast<size_t>(k)];
            finite = finite && std::isfinite(p.X) && std::isfinite(p.Y);
            c.pts.push_back(Node{p.X, p.Y, number, k});
        }
        if (finite) {
            c.update();
            contours.push_back(std::move(c));
        } else {
            unplaced.insert(unplaced.end(), c.pts.begin(), c.pts.end());
        }
        i = j;
    }
    PointList list = orderAndEmit(std::move(contours), false);
    list.insert(list.end(), unplaced.begin(), unplaced.end());
    removeRepeats(list);

    // Contours keep their own Sequence unless two that came apart now meet
    // with the same number; then all are numbered in their new order.
    bool renumber = false;
    for (size_t k = 1; k < list.size(); ++k)
        if (list[k].contour != list[k - 1].contour &&
            in[static_cast<size_t>(list[k].keep)].Sequence == in[static_cast<size_t>(list[k - 1].keep)].Sequence)
            renumber = true;

    const int resized = resizeArray(points, sizeof(SequencePoint), static_cast<int64_t>(list.size()));
    if (resized < 0)
        return resized;
    SequencePoint *out = elements<SequencePoint>(points);
    int16_t sequence = 0;
    for (size_t k = 0; k < list.size(); ++k) {
        if (k > 0 && list[k].contour != list[k - 1].contour)
            ++sequence;
        out[k] = in[static_cast<size_t>(list[k].keep)];
        if (renumber)
            out[k].Sequence = sequence;
    }
    unlockArray(points);
    return static_cast<int32_t>(list.size());
}

} // namespace

} // namespace vx

extern "C" int32_t SeqOrganize(VxArray **points)
{
    return vx::guarded([&] { return vx::organize(points); });
}
