// The run scan and the splice of the smoothing command, done in one pass per
// profile so that many runs on a long profile stay linear.
#include "core/smoothing.h"

#include <string>

namespace orv {

namespace {

bool selected(const PointProfil &p) { return p.has(kSelected); }

PointProfil unselect(PointProfil p)
{
    p.Flags = static_cast<int16_t>(p.Flags & ~kSelected);
    return p;
}

struct ProfileSmoothing {
    int32_t runs = 0;
    int32_t failed = 0;
    int32_t firstCode = 0;
};

// `src` is the part of the profile not yet final; out holds the final part.
ProfileSmoothing smoothProfile(ProfilePoints &points, const SmoothRun &smooth)
{
    ProfileSmoothing r;
    std::vector<PointProfil> src = points.toVector();
    std::vector<PointProfil> out;
    out.reserve(src.size());
    std::vector<ContourPoint> buffer;
    size_t k = 0; // src index of the point under the scan, current index out.size() + 1
    // The current count is out.size() + (src.size() - k); the anchor may be
    // at most the third point from the end.
    while (k + 3 < src.size()) {
        if (!(selected(src[k + 1]) && selected(src[k + 2]))) {
            out.push_back(src[k++]);
            continue;
        }
        // Gather the start anchor, the selected points and the end anchor.
        buffer.clear();
        size_t j = k;
        for (;;) {
            buffer.push_back(ContourPoint{src[j].X, src[j].Y, {0, 0}, {0, 0}});
            if ((j > k && !selected(src[j]) && selected(src[j - 1])) || j + 1 == src.size())
                break;
            ++j;
        }
        const size_t g = buffer.size();
        const size_t endAnchor = k + g - 1;
        const int32_t m = smooth(buffer);
        if (m < 2 || static_cast<size_t>(m) > buffer.size()) {
            ++r.failed;
            if (r.firstCode == 0)
                r.firstCode = m;
            out.insert(out.end(), src.begin() + static_cast<std::ptrdiff_t>(k),
                       src.begin() + static_cast<std::ptrdiff_t>(endAnchor));
            k = endAnchor;
            continue;
        }
        // The anchors keep their own marks; the points between them are new
        // and carry none, so that the synchronization and reference counts
        // stay those the user set.
        out.push_back(unselect(PointProfil{buffer[0].X, buffer[0].Y, src[k].Flags}));
        for (size_t t = 1; t + 1 < static_cast<size_t>(m); ++t)
            out.push_back(PointProfil{buffer[t].X, buffer[t].Y, 0});
        const ContourPoint &last = buffer[static_cast<size_t>(m) - 1];
        src[endAnchor] = unselect(PointProfil{last.X, last.Y, src[endAnchor].Flags});
        k = endAnchor; // the end anchor may start the next run
        ++r.runs;
    }
    if (r.runs == 0)
        return r;
    out.insert(out.end(), src.begin() + static_cast<std::ptrdiff_t>(k), src.end());
    points.assign(out);
    return r;
}

std::string failureText(int32_t failed, int32_t code)
{
    const std::string count = std::to_string(failed);
    const std::string runs = failed == 1 ? "série de points sélectionnés n'a pas pu être lissée"
                                         : "séries de points sélectionnés n'ont pas pu être lissées";
    return count + " " + runs + " (code d'erreur " + std::to_string(code) +
           ").\r\nCes points sont restés inchangés.";
}

} // namespace

std::optional<Notice> smoothingGuard(const Profils &doc)
{
    for (Side s : kSides) {
        const ProfilePoints &p = doc.points(s);
        const int32_t n = p.count();
        if (n >= 2 && ((selected(p[1]) && selected(p[2])) || (selected(p[n - 1]) && selected(p[n]))))
            return critical("Le premier et le dernier segment ne peuvent pas être lissés. Pour les traiter, il faut "
                            "renuméroter le profil",
                            "Erreur de sélection");
    }
    return std::nullopt;
}

SmoothingResult smoothSelection(Profils &doc, const SmoothRun &smooth)
{
    SmoothingResult result;
    if (auto refusal = smoothingGuard(doc)) {
        result.refused = true;
        result.notice = std::move(refusal);
        return result;
    }
    int32_t firstCode = 0;
    for (Side s : kSides) {
        const ProfileSmoothing r = smoothProfile(doc.points(s), smooth);
        result.changed[s] = r.runs > 0;
        result.runs += r.runs;
        result.failedRuns += r.failed;
        if (firstCode == 0)
            firstCode = r.firstCode;
    }
    if (result.failedRuns > 0)
        result.notice = critical(failureText(result.failedRuns, firstCode), "Erreur de lissage");
    return result;
}

} // namespace orv
