// Copy, cut and paste of selected points.
#include "core/clipboard.h"

#include <vector>

namespace orv {

namespace {

void copySide(ProfilePoints &points, ProfilePoints &part, bool keepSelected)
{
    std::vector<PointProfil> copied;
    if (keepSelected) {
        points.forEach([&](int32_t, const PointProfil &p) {
            if (p.has(kSelected))
                copied.push_back(p);
        });
    } else {
        points.forEachEdit([&](int32_t, PointProfil &p) {
            if (p.has(kSelected)) {
                copied.push_back(p);
                p.Flags = static_cast<int16_t>(p.Flags & ~kSelected);
            }
        });
    }
    part.assign(copied);
}

// Pastes `part` at every selected point of `points`; returns the points added.
// Each translation starts from the part as it was, so that the shape does not
// drift by one rounding per pasted copy.
int32_t pasteSide(ProfilePoints &points, const std::vector<PointProfil> &part, std::vector<PointProfil> &lastPlaced)
{
    if (part.empty())
        return 0;
    const int32_t m = static_cast<int32_t>(part.size());
    std::vector<int32_t> targets;
    points.forEach([&](int32_t i, const PointProfil &p) {
        if (p.has(kSelected))
            targets.push_back(i);
    });
    std::vector<PointProfil> block(part.size() + 1);
    int32_t shift = 0; // points inserted so far, ahead of the next target
    for (int32_t target : targets) {
        const int32_t k = target + shift;
        PointProfil &anchor = points.edit(k);
        anchor.Flags = static_cast<int16_t>(anchor.Flags & ~kSelected);
        const PointProfil pk = anchor;
        const float dx = pk.X - part.front().X;
        const float dy = pk.Y - part.front().Y;
        for (size_t j = 0; j < part.size(); ++j)
            block[j] = {part[j].X + dx, part[j].Y + dy, kSelected};
        block.back() = pk;
        points.insert(k + 1, block);
        shift += m + 1;
        lastPlaced.assign(block.begin(), block.end() - 1);
    }
    return shift;
}

// The part keeps its own Flags; only the coordinates follow the last paste.
void keepTranslated(ProfilePoints &part, const std::vector<PointProfil> &placed)
{
    if (placed.empty())
        return;
    std::vector<PointProfil> moved = part.toVector();
    for (size_t j = 0; j < moved.size() && j < placed.size(); ++j) {
        moved[j].X = placed[j].X;
        moved[j].Y = placed[j].Y;
    }
    part.assign(moved);
}

} // namespace

void copySelection(Profils &doc, Clipboard &clipboard)
{
    copySide(doc.PointsE, clipboard.partE, clipboard.cutInProgress);
    copySide(doc.PointsS, clipboard.partS, clipboard.cutInProgress);
    clipboard.cutInProgress = false;
}

void cutSelection(Profils &doc, Clipboard &clipboard)
{
    clipboard.cutInProgress = true;
    copySelection(doc, clipboard);
}

PasteResult paste(Profils &doc, Clipboard &clipboard)
{
    PasteResult r;
    if (clipboard.empty())
        return r;
    const bool both = !clipboard.partE.empty() && !clipboard.partS.empty();
    ProfilePoints &sourceE = both || !clipboard.partE.empty() ? clipboard.partE : clipboard.partS;
    ProfilePoints &sourceS = both || clipboard.partE.empty() ? clipboard.partS : clipboard.partE;
    const std::vector<PointProfil> partE = sourceE.toVector();
    const std::vector<PointProfil> partS = sourceS.toVector();
    std::vector<PointProfil> placedE, placedS;
    r.insertedE = pasteSide(doc.PointsE, partE, placedE);
    r.insertedS = pasteSide(doc.PointsS, partS, placedS);
    if (both) {
        keepTranslated(clipboard.partE, placedE);
        keepTranslated(clipboard.partS, placedS);
    } else {
        // One part served both profiles: it ends where the tip paste left it.
        keepTranslated(sourceE, placedS.empty() ? placedE : placedS);
    }
    return r;
}

} // namespace orv
