// The document of the profile editor: a root (Emplanture) and a tip (Saumon)
// profile with their characteristics and the spacing between them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

namespace orv {

// Sides: index 0 the root "Emplanture" (letter E), 1 the tip "Saumon" (S).
enum Side : int { Emplanture = 0, Saumon = 1 };
inline constexpr Side kSides[] = {Emplanture, Saumon};
inline char sideLetter(Side s) { return s == Emplanture ? 'E' : 'S'; }

// Selection bits of PointProfil::Flags, one per selection layer.
inline constexpr int16_t kSelected = 1;  // normal selection
inline constexpr int16_t kReference = 2; // reference points
inline constexpr int16_t kSync = 4;      // synchronization points

struct PointProfil {
    float X = 0;
    float Y = 0;
    int16_t Flags = 0;

    bool has(int16_t bit) const { return (Flags & bit) != 0; }
    friend bool operator==(const PointProfil &, const PointProfil &) = default;
};

// The points of one profile, numbered from 1 to count().
//
// Storage is a list of copy-on-write chunks: copying a ProfilePoints costs a
// few pointers, and editing a copy duplicates only the chunks it touches. Undo
// snapshots of large profiles therefore share almost all their storage.
class ProfilePoints {
public:
    ProfilePoints() = default;
    explicit ProfilePoints(const std::vector<PointProfil> &points);

    int32_t count() const { return m_count; }
    bool empty() const { return m_count == 0; }

    // Point i, 1 <= i <= count().
    const PointProfil &operator[](int32_t i) const;
    // Writable point i; copies its chunk first when another copy shares it.
    PointProfil &edit(int32_t i);
    void set(int32_t i, const PointProfil &p) { edit(i) = p; }

    // New points (when growing) are (0, 0) with Flags 0.
    void resize(int32_t n);
    void append(const PointProfil &p);
    // Inserts so that points[0] becomes number `at` (1 <= at <= count() + 1).
    void insert(int32_t at, std::span<const PointProfil> points);
    void insert(int32_t at, const PointProfil &p) { insert(at, std::span<const PointProfil>(&p, 1)); }
    // Removes `n` points starting at number `first`.
    void erase(int32_t first, int32_t n = 1);
    // Keeps the points for which keep(point) is true, in order.
    template <typename Keep> void keepIf(Keep &&keep);
    void assign(const std::vector<PointProfil> &points);
    std::vector<PointProfil> toVector() const;

    // Calls f(i, point) for i = 1..count(), without copying anything.
    template <typename F> void forEach(F &&f) const;
    // Calls f(i, point&) for every point; copies the shared chunks once.
    template <typename F> void forEachEdit(F &&f);

    // Same points in the same order.
    friend bool operator==(const ProfilePoints &a, const ProfilePoints &b);

    // Storage accounting for the history: the chunks this list refers to.
    struct ChunkRef {
        const void *id;
        size_t bytes;
    };
    void chunks(std::vector<ChunkRef> &out) const;

    // Calls f(first, points) for each stored run of points, first being the
    // number of points[0]: the fastest way to read a whole profile.
    template <typename F> void forEachRun(F &&f) const;

private:
    using Chunk = std::vector<PointProfil>;
    // Chunks hold kChunkMin..kChunkMax points (a lone chunk may hold fewer);
    // bulk fills cut them at kChunkTarget.
    static constexpr size_t kChunkTarget = 2048;
    static constexpr size_t kChunkMin = 512;
    static constexpr size_t kChunkMax = 4096;

    void rebuildIndex();
    std::pair<size_t, size_t> locate(int32_t i) const; // chunk, offset
    Chunk &own(size_t c);                              // chunk c, unshared first
    void normalize();                                  // split or merge chunks after edits
    static bool sameBits(const PointProfil &a, const PointProfil &b);

    std::vector<std::shared_ptr<Chunk>> m_chunks;
    std::vector<int32_t> m_starts; // number of points before each chunk
    int32_t m_count = 0;
};

// Extremes and measures of one profile (root or tip).
struct SideMeasures {
    float XMin = 0, XMax = 0, YMin = 0, YMax = 0;
    int32_t IndXMin = 0, IndXMax = 0, IndYMin = 0, IndYMax = 0; // point numbers
    float Corde = 0;     // X max - X min
    float Epaisseur = 0; // Y max - Y min
    float XaYMax = 0;    // X of the point of greatest Y
    float XaYMin = 0;    // X of the point of least Y
    float YaXMin = 0;    // Y of the point of least X (leading-edge height)
    float YaXMax = 0;    // Y of the point of greatest X (trailing-edge height)
    float RefX = 0, RefY = 0; // mean of the reference points (plain sums when a side has none)
    int32_t NbRef = 0;
    friend bool operator==(const SideMeasures &, const SideMeasures &) = default;
};

// The wing characteristics, valid after computeCharacteristics.
struct Caracteristiques {
    float XMin = 0, XMax = 0, YMin = 0, YMax = 0; // both profiles together
    float Largeur = 0, Hauteur = 0;
    SideMeasures E, S;
    float FlecheBA = 0;  // leading-edge sweep: tip X min - root X min
    float FlecheBF = 0;  // trailing-edge offset: root X max - tip X max
    float DiedreMm = 0;  // tip Y min - root Y min
    float DiedreDeg = 0; // from the mid-heights and the spacing; kept when the spacing is 0
    const SideMeasures &side(Side s) const { return s == Emplanture ? E : S; }
    friend bool operator==(const Caracteristiques &, const Caracteristiques &) = default;
};

// The document record. Work copies (clipboard, insertion source, projected
// views, intermediate profile) are records of the same type.
struct Profils {
    ProfilePoints PointsE;
    ProfilePoints PointsS;
    Caracteristiques C;
    float Ecartement = 0; // spacing between the root and the tip planes, mm

    int32_t NbPointsE() const { return PointsE.count(); }
    int32_t NbPointsS() const { return PointsS.count(); }
    ProfilePoints &points(Side s) { return s == Emplanture ? PointsE : PointsS; }
    const ProfilePoints &points(Side s) const { return s == Emplanture ? PointsE : PointsS; }
    int32_t count(Side s) const { return points(s).count(); }
    friend bool operator==(const Profils &, const Profils &) = default;
};

// ---- template members

template <typename F> void ProfilePoints::forEach(F &&f) const
{
    int32_t i = 1;
    for (const auto &chunk : m_chunks)
        for (const PointProfil &p : *chunk)
            f(i++, p);
}

template <typename F> void ProfilePoints::forEachRun(F &&f) const
{
    for (size_t c = 0; c < m_chunks.size(); ++c)
        f(m_starts[c] + 1, std::span<const PointProfil>(*m_chunks[c]));
}

// A shared chunk is copied only when f really changes one of its points, so
// that a command touching a few points of a large profile leaves the rest of
// the storage shared with the undo history.
template <typename F> void ProfilePoints::forEachEdit(F &&f)
{
    int32_t i = 1;
    for (size_t c = 0; c < m_chunks.size(); ++c) {
        if (m_chunks[c].use_count() == 1) {
            for (PointProfil &p : *m_chunks[c])
                f(i++, p);
            continue;
        }
        const size_t n = m_chunks[c]->size();
        for (size_t k = 0; k < n; ++k) {
            PointProfil p = (*m_chunks[c])[k];
            f(i++, p);
            if (!sameBits(p, (*m_chunks[c])[k])) {
                own(c)[k] = p;
                for (++k; k < n; ++k)
                    f(i++, (*m_chunks[c])[k]);
            }
        }
    }
}

// Chunks that lose no point stay shared.
template <typename Keep> void ProfilePoints::keepIf(Keep &&keep)
{
    bool changed = false;
    for (auto &chunk : m_chunks) {
        const Chunk &src = *chunk;
        size_t k = 0;
        while (k < src.size() && keep(src[k]))
            ++k;
        if (k == src.size())
            continue;
        auto kept = std::make_shared<Chunk>();
        kept->reserve(src.size());
        kept->assign(src.begin(), src.begin() + static_cast<std::ptrdiff_t>(k));
        for (++k; k < src.size(); ++k)
            if (keep(src[k]))
                kept->push_back(src[k]);
        chunk = std::move(kept);
        changed = true;
    }
    if (changed)
        normalize();
}

} // namespace orv
