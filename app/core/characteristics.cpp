// The wing characteristics computation. Every value is stored as a 32-bit
// float, as the boxes, the project file and the undo history expect.
#include "core/characteristics.h"

#include <cmath>

namespace orv {

namespace {

constexpr double kPi = 3.14159265358979;

} // namespace

bool measureSide(const ProfilePoints &points, SideMeasures &m)
{
    if (points.empty())
        return false;
    const PointProfil &first = points[1];
    SideMeasures r = m;
    r.XMin = r.XMax = first.X;
    r.YMin = r.YMax = first.Y;
    r.IndXMin = r.IndXMax = r.IndYMin = r.IndYMax = 1;
    r.XaYMax = r.XaYMin = first.X;
    r.YaXMin = r.YaXMax = first.Y;
    int32_t nbRef = 0;
    float sumX = 0, sumY = 0;
    points.forEachRun([&](int32_t firstIndex, std::span<const PointProfil> run) {
        int32_t i = firstIndex;
        for (const PointProfil &p : run) {
            if (p.has(kReference)) {
                ++nbRef;
                sumX += p.X;
                sumY += p.Y;
            }
            if (p.X <= r.XMin) {
                r.XMin = p.X;
                r.IndXMin = i;
                r.YaXMin = p.Y;
            }
            if (p.X >= r.XMax) {
                r.XMax = p.X;
                r.IndXMax = i;
                r.YaXMax = p.Y;
            }
            if (p.Y <= r.YMin) {
                r.YMin = p.Y;
                r.IndYMin = i;
                r.XaYMin = p.X;
            }
            if (p.Y >= r.YMax) {
                r.YMax = p.Y;
                r.IndYMax = i;
                r.XaYMax = p.X;
            }
            ++i;
        }
    });
    r.NbRef = nbRef;
    r.RefX = sumX;
    r.RefY = sumY;
    r.Corde = r.XMax - r.XMin;
    r.Epaisseur = r.YMax - r.YMin;
    m = r;
    return true;
}

void computeCharacteristics(Profils &doc)
{
    Caracteristiques &c = doc.C;
    const bool hasE = measureSide(doc.PointsE, c.E);
    const bool hasS = measureSide(doc.PointsS, c.S);

    if (hasE && hasS && c.E.NbRef != 0 && c.S.NbRef != 0) {
        c.E.RefX = c.E.RefX / static_cast<float>(c.E.NbRef);
        c.E.RefY = c.E.RefY / static_cast<float>(c.E.NbRef);
        c.S.RefX = c.S.RefX / static_cast<float>(c.S.NbRef);
        c.S.RefY = c.S.RefY / static_cast<float>(c.S.NbRef);
    }

    if (hasE && hasS) {
        c.XMin = c.E.XMin <= c.S.XMin ? c.E.XMin : c.S.XMin;
        c.XMax = c.E.XMax >= c.S.XMax ? c.E.XMax : c.S.XMax;
        c.YMin = c.E.YMin <= c.S.YMin ? c.E.YMin : c.S.YMin;
        c.YMax = c.E.YMax < c.S.YMax ? c.S.YMax : c.E.YMax;
    } else if (hasE || hasS) {
        const SideMeasures &only = hasE ? c.E : c.S;
        c.XMin = only.XMin;
        c.XMax = only.XMax;
        c.YMin = only.YMin;
        c.YMax = only.YMax;
    } else {
        return;
    }
    c.Largeur = c.XMax - c.XMin;
    c.Hauteur = c.YMax - c.YMin;

    if (!(hasE && hasS))
        return;
    c.DiedreMm = c.S.YMin - c.E.YMin;
    if (doc.Ecartement != 0) {
        const double midS = (static_cast<double>(c.S.YMin) + c.S.YMax) / 2;
        const double midE = (static_cast<double>(c.E.YMin) + c.E.YMax) / 2;
        c.DiedreDeg = static_cast<float>(std::atan((midS - midE) / doc.Ecartement) * 180 / kPi);
    }
    c.FlecheBA = c.S.XMin - c.E.XMin;
    c.FlecheBF = c.E.XMax - c.S.XMax;
}

} // namespace orv
