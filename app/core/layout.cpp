// Wing layout: every placement moves the whole tip profile by one offset
// computed from the characteristics, in double precision, stored in 32 bits.
#include "core/layout.h"

#include "core/characteristics.h"

#include <cmath>
#include <vector>

namespace orv {

namespace {

constexpr double kPi = 3.14159265358979;
constexpr float kLeadLength = 4.0f;

void shiftTip(Profils &doc, double dx, double dy)
{
    doc.PointsS.forEachEdit([&](int32_t, PointProfil &p) {
        p.X = static_cast<float>(p.X + dx);
        p.Y = static_cast<float>(p.Y + dy);
    });
}

bool hasReference(const ProfilePoints &points)
{
    bool found = false;
    points.forEachRun([&](int32_t, std::span<const PointProfil> run) {
        for (const PointProfil &p : run)
            found = found || p.has(kReference);
    });
    return found;
}

// The closing of the dihedral placements: the stored value and the angle
// follow the measured ones.
void afterDihedral(const Profils &doc, LayoutState &state) { state.shownAngle = doc.C.DiedreDeg; }

// One face of the head-to-tail construction: `own` with its lead-in and
// lead-out, then `other` lowered by gap behind its own lead-in and lead-out.
std::vector<PointProfil> headToTailFace(const std::vector<PointProfil> &own, const std::vector<PointProfil> &other,
                                        float gap, std::vector<uint8_t> &copied)
{
    std::vector<PointProfil> face;
    face.reserve(own.size() + other.size() + 5);
    const PointProfil &first = own.front(), &last = own.back();
    const float lowered = static_cast<float>(double(last.Y) - gap / 2.0);
    face.push_back({static_cast<float>(first.X + double(kLeadLength)), first.Y, 0});
    face.insert(face.end(), own.begin(), own.end());
    face.push_back({static_cast<float>(last.X + double(kLeadLength)), last.Y, 0});
    face.push_back({static_cast<float>(last.X + double(kLeadLength)), lowered, 0});
    copied.assign(face.size(), 0);
    const auto low = [gap](const PointProfil &p, double dx) {
        return PointProfil{static_cast<float>(p.X + dx), static_cast<float>(double(p.Y) - gap), kSelected};
    };
    face.push_back(low(other.front(), kLeadLength));
    for (const PointProfil &p : other)
        face.push_back(low(p, 0));
    face.push_back(low(other.back(), kLeadLength));
    copied.resize(face.size(), 1);
    return face;
}

} // namespace

// ---- chord and spacing

std::optional<Notice> setChord(Profils &doc, Side side, float chord)
{
    if (!(chord > 0))
        return critical("Il n'est pas possible d'entrer une corde négative ou nulle.", "Erreur de saisie");
    ProfilePoints &points = doc.points(side);
    SideMeasures m;
    const float current = measureSide(points, m) ? m.Corde : 0.0f;
    if (current == 0)
        return critical(std::string("La corde ") + (side == Emplanture ? "de l'emplanture" : "du saumon") +
                            " est nulle, il n'est pas possible de la modifier.",
                        "Erreur de saisie");
    points.forEachEdit([&](int32_t, PointProfil &p) {
        p.X = static_cast<float>(double(p.X) / current * chord);
        p.Y = static_cast<float>(double(p.Y) / current * chord);
    });
    computeCharacteristics(doc);
    return std::nullopt;
}

std::optional<Notice> setSpacing(Profils &doc, LayoutState &state, double spacing)
{
    if (spacing <= 0)
        return critical("Il n'est pas possible d'entrer un écartement négatif ou nul.", "Erreur de saisie");
    doc.Ecartement = static_cast<float>(spacing);
    computeCharacteristics(doc);
    state.shownAngle = doc.C.DiedreDeg;
    return std::nullopt;
}

// ---- placement pieces

void placeSweep(Profils &doc, float sweep)
{
    computeCharacteristics(doc);
    shiftTip(doc, -double(doc.C.S.XMin) + doc.C.E.XMin + sweep, 0);
    computeCharacteristics(doc);
}

void placeDihedralMm(Profils &doc, float dihedral)
{
    computeCharacteristics(doc);
    shiftTip(doc, 0, -double(doc.C.S.YMin) + doc.C.E.YMin + dihedral);
    computeCharacteristics(doc);
}

void placeDihedralDeg(Profils &doc, float degrees)
{
    computeCharacteristics(doc);
    const SideMeasures &e = doc.C.E, &s = doc.C.S;
    shiftTip(doc, 0,
             (double(e.YMin) + e.YMax) / 2 - (double(s.YMin) + s.YMax) / 2 +
                 double(doc.Ecartement) * std::tan(degrees * kPi / 180));
    computeCharacteristics(doc);
}

float sweepOfMode(const Caracteristiques &c, int index)
{
    switch (index) {
    case 1:
        return (c.E.Corde - c.S.Corde) / 2;
    case 2:
        return c.E.Corde - c.S.Corde;
    default:
        return 0;
    }
}

float dihedralOfMode(const Caracteristiques &c, int index)
{
    switch (index) {
    case 0:
        return c.E.Epaisseur - c.S.Epaisseur;
    case 1:
        return (c.E.YaXMin - c.E.YMin) - (c.S.YaXMin - c.S.YMin);
    case 2:
        return (c.E.Epaisseur - c.S.Epaisseur) / 2;
    case 3:
        return (c.E.YaXMax - c.E.YMin) - (c.S.YaXMax - c.S.YMin);
    default:
        return 0;
    }
}

std::optional<Notice> alignOnReferences(Profils &doc)
{
    if (!hasReference(doc.PointsE) || !hasReference(doc.PointsS))
        return critical("Pas de point de référence défini à l'emplanture ou au saumon, alignement impossible",
                        "Pas de sélection violette");
    computeCharacteristics(doc);
    shiftTip(doc, -(double(doc.C.S.RefX) - doc.C.E.RefX), -(double(doc.C.S.RefY) - doc.C.E.RefY));
    computeCharacteristics(doc);
    return std::nullopt;
}

// ---- handlers

void typeSweep(Profils &doc, LayoutState &state, float sweep)
{
    state.sweepMode = -1;
    state.aligned = false;
    state.storedSweep = sweep;
    placeSweep(doc, state.storedSweep);
}

void checkSweepMode(Profils &doc, LayoutState &state, int index)
{
    computeCharacteristics(doc);
    state.sweepMode = index;
    state.aligned = false;
    state.storedSweep = sweepOfMode(doc.C, index);
    placeSweep(doc, state.storedSweep);
}

void typeDihedralMm(Profils &doc, LayoutState &state, float dihedral)
{
    state.dihedralMode = -1;
    state.aligned = false;
    state.storedDihedral = dihedral;
    placeDihedralMm(doc, state.storedDihedral);
    afterDihedral(doc, state);
}

void checkDihedralMode(Profils &doc, LayoutState &state, int index)
{
    computeCharacteristics(doc);
    state.dihedralMode = index;
    state.aligned = false;
    state.storedDihedral = dihedralOfMode(doc.C, index);
    placeDihedralMm(doc, state.storedDihedral);
    afterDihedral(doc, state);
}

void typeDihedralDeg(Profils &doc, LayoutState &state, float degrees)
{
    state.dihedralMode = -1;
    state.aligned = false;
    state.shownAngle = degrees;
    placeDihedralDeg(doc, degrees);
    state.storedDihedral = doc.C.DiedreMm;
    state.shownAngle = doc.C.DiedreDeg;
}

std::optional<Notice> checkAlignment(Profils &doc, LayoutState &state)
{
    if (auto refusal = alignOnReferences(doc)) {
        state.aligned = false;
        return refusal;
    }
    state.aligned = true;
    state.sweepMode = -1;
    state.dihedralMode = -1;
    state.storedDihedral = doc.C.DiedreMm;
    state.shownAngle = doc.C.DiedreDeg;
    state.storedSweep = doc.C.FlecheBA;
    return std::nullopt;
}

std::optional<Notice> reapplyLayout(Profils &doc, LayoutState &state)
{
    if (state.aligned)
        return checkAlignment(doc, state);
    if (state.sweepMode >= 0)
        checkSweepMode(doc, state, state.sweepMode);
    else
        placeSweep(doc, state.storedSweep);
    if (state.dihedralMode >= 0) {
        checkDihedralMode(doc, state, state.dihedralMode);
    } else {
        placeDihedralMm(doc, state.storedDihedral);
        afterDihedral(doc, state);
    }
    return std::nullopt;
}

// ---- two wings

void duplicateMirrored(Profils &doc, float gap)
{
    computeCharacteristics(doc);
    const float line = static_cast<float>(double(doc.C.E.YMin) - gap / 2.0);
    for (Side s : kSides) {
        std::vector<PointProfil> pts = doc.points(s).toVector();
        const size_t n = pts.size();
        pts.resize(2 * n);
        for (size_t i = 0; i < n; ++i)
            pts[2 * n - 1 - i] = {pts[i].X, static_cast<float>(2.0 * line - pts[i].Y), 0};
        doc.points(s).assign(pts);
    }
    computeCharacteristics(doc);
}

void duplicateHeadToTail(Profils &doc, LayoutState &state, float gap)
{
    computeCharacteristics(doc);
    const std::vector<PointProfil> root = doc.PointsE.toVector(), tip = doc.PointsS.toVector();
    if (root.empty() || tip.empty())
        return;
    std::vector<uint8_t> copiedE, copiedS;
    doc.PointsE.assign(headToTailFace(root, tip, gap, copiedE));
    doc.PointsS.assign(headToTailFace(tip, root, gap, copiedS));
    computeCharacteristics(doc);

    state.storedDihedral = -state.storedDihedral;
    placeDihedralMm(doc, state.storedDihedral);
    afterDihedral(doc, state);
    if (state.sweepMode == 0)
        state.sweepMode = -1;
    state.storedSweep = doc.C.FlecheBA;
    const auto clearCopies = [](ProfilePoints &points, const std::vector<uint8_t> &copied) {
        points.forEachEdit([&](int32_t i, PointProfil &p) {
            if (copied[static_cast<size_t>(i) - 1])
                p.Flags = static_cast<int16_t>(p.Flags & ~kSelected);
        });
    };
    clearCopies(doc.PointsE, copiedE);
    clearCopies(doc.PointsS, copiedS);
}

// ---- intermediate profile

IntermediateResult intermediateProfile(const Profils &doc, float distance)
{
    IntermediateResult r;
    if (distance <= 0 || distance >= doc.Ecartement) {
        r.notice = critical("Le profil intermediaire doit être placé entre l'emplanture et le saumon",
                            "Erreur de dimension");
        return r;
    }
    if (doc.NbPointsE() != doc.NbPointsS()) {
        r.notice = critical("L'emplanture et le saumon n'ont pas le même nombre de points, le profil intermédiaire "
                            "est impossible. Synchronisez d'abord les profils.",
                            "Erreur de dimension");
        return r;
    }
    std::vector<PointProfil> root = doc.PointsE.toVector();
    const std::vector<PointProfil> tip = doc.PointsS.toVector();
    const double e = distance, spacing = doc.Ecartement;
    for (size_t i = 0; i < root.size(); ++i) {
        root[i].X = static_cast<float>(root[i].X + (double(tip[i].X) - root[i].X) * e / spacing);
        root[i].Y = static_cast<float>(root[i].Y + (double(tip[i].Y) - root[i].Y) * e / spacing);
    }
    r.points = ProfilePoints(root);
    return r;
}

} // namespace orv
