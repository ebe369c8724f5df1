// The section builder of the optimal synchronization. Lengths and remaining
// lengths are 32-bit floats, as the 0.001 test of the two fractions expects.
#include "core/synchronization.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace orv {

namespace {

constexpr float kSameFraction = 0.001f;

using Points = std::vector<PointProfil>;

bool isSync(const PointProfil &p) { return p.has(kSync); }

// Length of segment (j - 1, j), 0-based.
float segment(const Points &p, size_t j)
{
    const double dx = double(p[j].X) - p[j - 1].X;
    const double dy = double(p[j].Y) - p[j - 1].Y;
    return static_cast<float>(std::sqrt(dy * dy + dx * dx));
}

// The point at `fraction` of the way from `from` towards `to`, Flags 0.
PointProfil towards(const PointProfil &from, const PointProfil &to, float part, float whole)
{
    return {static_cast<float>(from.X + (double(to.X) - from.X) * part / whole),
            static_cast<float>(from.Y + (double(to.Y) - from.Y) * part / whole), 0};
}

std::string sideName(Side s) { return s == Emplanture ? "de l'emplanture" : "du saumon"; }

Notice refusal(std::string text) { return critical(std::move(text), "Synchronisation impossible"); }

// Builds both new lists, or returns the refusal.
std::optional<Notice> buildSections(const Points &e, const Points &s, size_t sections, Points &outE, Points &outS)
{
    outE.assign(1, e[0]);
    outS.assign(1, s[0]);
    size_t iE = 0, iS = 0;
    for (size_t section = 0; section < sections; ++section) {
        size_t eE = iE + 1, eS = iS + 1;
        float lenE = segment(e, eE), lenS = segment(s, eS);
        while (!isSync(e[eE]))
            lenE += segment(e, ++eE);
        while (!isSync(s[eS]))
            lenS += segment(s, ++eS);
        if (lenE == 0 || lenS == 0) {
            const bool root = lenE == 0;
            return refusal("La section entre les points " + std::to_string((root ? iE : iS) + 1) + " et " +
                           std::to_string((root ? eE : eS) + 1) + " " + sideName(root ? Emplanture : Saumon) +
                           " est de longueur nulle, la synchronisation est impossible.");
        }
        const auto tipInRootUnits = [&](size_t j) { return static_cast<float>(double(segment(s, j)) * lenE / lenS); };

        size_t jE = iE + 1, jS = iS + 1;
        float a = segment(e, jE);
        float b = tipInRootUnits(jS);
        for (;;) {
            const bool endE = jE == eE, endS = jS == eS;
            if (endE && endS)
                break;
            bool tipFirst;
            if (endE || endS) {
                // A profile at its section end waits for the other one's
                // remaining vertices, whatever rounding left in a and b.
                tipFirst = endE;
            } else if (std::fabs(a - b) < kSameFraction) {
                outE.push_back(e[jE++]);
                outS.push_back(s[jS++]);
                a = segment(e, jE);
                b = tipInRootUnits(jS);
                continue;
            } else {
                tipFirst = a >= b;
            }
            if (tipFirst) {
                outE.push_back(a > b ? towards(outE.back(), e[jE], b, a) : PointProfil{e[jE].X, e[jE].Y, 0});
                outS.push_back(s[jS++]);
                a = a - b;
                b = tipInRootUnits(jS);
            } else {
                outE.push_back(e[jE++]);
                outS.push_back(b > a ? towards(outS.back(), s[jS], a, b) : PointProfil{s[jS].X, s[jS].Y, 0});
                b = b - a;
                a = segment(e, jE);
            }
        }
        outE.push_back(e[eE]);
        outS.push_back(s[eS]);
        iE = eE;
        iS = eS;
    }
    return std::nullopt;
}

} // namespace

Notice synchronizationDoneNotice()
{
    return information("Veuillez contrôler que la synchronisation s'est faite avec des profils qui tournaient dans le "
                       "bon sens\r\net dont le premier point était bien placé. Pour cela il suffit de faire bouger le "
                       "fil avec un ascenseur d'une\r\ndes listes de points.",
                       "Synchronisation effectuée");
}

SyncResult synchronizeOptimal(Profils &doc)
{
    SyncResult result;
    if (doc.NbPointsE() < 2 || doc.NbPointsS() < 2) {
        result.notice = refusal("Il faut au moins deux points à l'emplanture et au saumon pour synchroniser les profils.");
        return result;
    }
    for (Side side : kSides) {
        ProfilePoints &p = doc.points(side);
        for (int32_t i : {1, p.count()}) {
            if (!p[i].has(kSync)) {
                p.edit(i).Flags = static_cast<int16_t>(p[i].Flags | kSync);
                result.endsMarked = true;
            }
        }
    }
    const Points e = doc.PointsE.toVector();
    const Points s = doc.PointsS.toVector();
    const auto syncE = std::count_if(e.begin(), e.end(), isSync);
    const auto syncS = std::count_if(s.begin(), s.end(), isSync);
    if (syncE != syncS) {
        result.notice = critical("Il n'y a pas le même nombre de points de synchronisation à l'emplanture et au saumon.",
                                 "Synchronisation impossible");
        return result;
    }
    Points newE, newS;
    if (auto refused = buildSections(e, s, static_cast<size_t>(syncE) - 1, newE, newS)) {
        result.notice = std::move(refused);
        return result;
    }
    doc.PointsE.assign(newE);
    doc.PointsS.assign(newS);
    result.synchronized = true;
    result.notice = synchronizationDoneNotice();
    return result;
}

} // namespace orv
