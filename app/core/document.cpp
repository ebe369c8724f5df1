// The chunked copy-on-write point list behind every profile: cheap copies for
// the undo history, edits that duplicate only the chunks they touch.
#include "core/document.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <stdexcept>
#include <tuple>

namespace orv {

namespace {

[[noreturn]] void outOfRange(const char *what)
{
    throw std::out_of_range(what);
}

} // namespace

ProfilePoints::ProfilePoints(const std::vector<PointProfil> &points)
{
    assign(points);
}

bool ProfilePoints::sameBits(const PointProfil &a, const PointProfil &b)
{
    // Bitwise, so that 0 turned into -0 (or one NaN into another) still counts as a change.
    return std::bit_cast<uint32_t>(a.X) == std::bit_cast<uint32_t>(b.X) &&
           std::bit_cast<uint32_t>(a.Y) == std::bit_cast<uint32_t>(b.Y) && a.Flags == b.Flags;
}

void ProfilePoints::rebuildIndex()
{
    m_starts.resize(m_chunks.size());
    int32_t n = 0;
    for (size_t c = 0; c < m_chunks.size(); ++c) {
        m_starts[c] = n;
        n += static_cast<int32_t>(m_chunks[c]->size());
    }
    m_count = n;
}

std::pair<size_t, size_t> ProfilePoints::locate(int32_t i) const
{
    // The last chunk that starts before point i.
    auto it = std::upper_bound(m_starts.begin(), m_starts.end(), i - 1);
    size_t c = static_cast<size_t>(it - m_starts.begin()) - 1;
    return {c, static_cast<size_t>(i - 1 - m_starts[c])};
}

ProfilePoints::Chunk &ProfilePoints::own(size_t c)
{
    if (m_chunks[c].use_count() > 1)
        m_chunks[c] = std::make_shared<Chunk>(*m_chunks[c]);
    return *m_chunks[c];
}

const PointProfil &ProfilePoints::operator[](int32_t i) const
{
    if (i < 1 || i > m_count)
        outOfRange("ProfilePoints: point number out of range");
    auto [c, k] = locate(i);
    return (*m_chunks[c])[k];
}

PointProfil &ProfilePoints::edit(int32_t i)
{
    if (i < 1 || i > m_count)
        outOfRange("ProfilePoints: point number out of range");
    auto [c, k] = locate(i);
    return own(c)[k];
}

// Splits oversized chunks, merges undersized ones with a neighbour and drops
// empty ones. Chunks within bounds are left alone, so they stay shared.
void ProfilePoints::normalize()
{
    std::vector<std::shared_ptr<Chunk>> out;
    out.reserve(m_chunks.size() + 2);
    auto pushSplit = [&out](const Chunk &src) {
        const size_t pieces = (src.size() + kChunkTarget - 1) / kChunkTarget;
        size_t from = 0;
        for (size_t p = 0; p < pieces; ++p) {
            size_t to = src.size() * (p + 1) / pieces;
            out.push_back(std::make_shared<Chunk>(src.begin() + static_cast<std::ptrdiff_t>(from),
                                                  src.begin() + static_cast<std::ptrdiff_t>(to)));
            from = to;
        }
    };
    for (auto &chunk : m_chunks) {
        if (chunk->empty())
            continue;
        if (chunk->size() > kChunkMax) {
            pushSplit(*chunk);
            continue;
        }
        out.push_back(std::move(chunk));
    }
    // Merge each small chunk into its predecessor (or the first into its successor).
    for (size_t c = 0; c < out.size() && out.size() > 1;) {
        if (out[c]->size() >= kChunkMin) {
            ++c;
            continue;
        }
        const size_t a = c > 0 ? c - 1 : 0;
        Chunk merged;
        merged.reserve(out[a]->size() + out[a + 1]->size());
        merged.insert(merged.end(), out[a]->begin(), out[a]->end());
        merged.insert(merged.end(), out[a + 1]->begin(), out[a + 1]->end());
        out.erase(out.begin() + static_cast<std::ptrdiff_t>(a), out.begin() + static_cast<std::ptrdiff_t>(a + 2));
        std::vector<std::shared_ptr<Chunk>> parts;
        std::swap(parts, out);
        // Rebuild around the merged piece; a merge too large is split evenly in two.
        out.assign(parts.begin(), parts.begin() + static_cast<std::ptrdiff_t>(a));
        if (merged.size() > kChunkMax) {
            const size_t half = merged.size() / 2;
            out.push_back(std::make_shared<Chunk>(merged.begin(), merged.begin() + static_cast<std::ptrdiff_t>(half)));
            out.push_back(std::make_shared<Chunk>(merged.begin() + static_cast<std::ptrdiff_t>(half), merged.end()));
        } else {
            out.push_back(std::make_shared<Chunk>(std::move(merged)));
        }
        out.insert(out.end(), parts.begin() + static_cast<std::ptrdiff_t>(a), parts.end());
        c = a + 1;
    }
    m_chunks = std::move(out);
    rebuildIndex();
}

void ProfilePoints::resize(int32_t n)
{
    if (n < 0)
        outOfRange("ProfilePoints: negative size");
    if (n < m_count) {
        erase(n + 1, m_count - n);
    } else if (n > m_count) {
        std::vector<PointProfil> added(static_cast<size_t>(n - m_count));
        insert(m_count + 1, added);
    }
}

void ProfilePoints::append(const PointProfil &p)
{
    insert(m_count + 1, p);
}

void ProfilePoints::insert(int32_t at, std::span<const PointProfil> points)
{
    if (at < 1 || at > m_count + 1)
        outOfRange("ProfilePoints: insertion point out of range");
    if (points.empty())
        return;
    if (static_cast<size_t>(m_count) + points.size() > static_cast<size_t>(INT32_MAX))
        throw std::length_error("ProfilePoints: too many points");
    size_t c, k;
    if (m_chunks.empty()) {
        m_chunks.push_back(std::make_shared<Chunk>());
        c = 0;
        k = 0;
    } else if (at == m_count + 1) {
        c = m_chunks.size() - 1;
        k = m_chunks[c]->size();
    } else {
        std::tie(c, k) = locate(at);
    }
    Chunk &chunk = own(c);
    chunk.insert(chunk.begin() + static_cast<std::ptrdiff_t>(k), points.begin(), points.end());
    if (chunk.size() > kChunkMax) {
        normalize();
    } else {
        for (size_t d = c + 1; d < m_starts.size(); ++d)
            m_starts[d] += static_cast<int32_t>(points.size());
        m_starts.resize(m_chunks.size());
        m_count += static_cast<int32_t>(points.size());
    }
}

void ProfilePoints::erase(int32_t first, int32_t n)
{
    if (n < 0 || first < 1 || first > m_count + 1 || n > m_count - first + 1)
        outOfRange("ProfilePoints: erased range out of range");
    if (n == 0)
        return;
    auto [c, k] = locate(first);
    size_t left = static_cast<size_t>(n);
    bool shrunkBelowMin = false;
    while (left > 0) {
        const size_t size = m_chunks[c]->size();
        const size_t take = std::min(left, size - k);
        if (k == 0 && take == size) {
            m_chunks.erase(m_chunks.begin() + static_cast<std::ptrdiff_t>(c));
        } else {
            Chunk &chunk = own(c);
            chunk.erase(chunk.begin() + static_cast<std::ptrdiff_t>(k),
                        chunk.begin() + static_cast<std::ptrdiff_t>(k + take));
            shrunkBelowMin = shrunkBelowMin || chunk.size() < kChunkMin;
            ++c;
        }
        k = 0;
        left -= take;
    }
    if (shrunkBelowMin)
        normalize();
    else
        rebuildIndex();
}

void ProfilePoints::assign(const std::vector<PointProfil> &points)
{
    if (points.size() > static_cast<size_t>(INT32_MAX))
        throw std::length_error("ProfilePoints: too many points");
    m_chunks.clear();
    const size_t pieces = (points.size() + kChunkTarget - 1) / kChunkTarget;
    size_t from = 0;
    for (size_t p = 0; p < pieces; ++p) {
        size_t to = points.size() * (p + 1) / pieces;
        m_chunks.push_back(std::make_shared<Chunk>(points.begin() + static_cast<std::ptrdiff_t>(from),
                                                   points.begin() + static_cast<std::ptrdiff_t>(to)));
        from = to;
    }
    rebuildIndex();
}

std::vector<PointProfil> ProfilePoints::toVector() const
{
    std::vector<PointProfil> out;
    out.reserve(static_cast<size_t>(m_count));
    for (const auto &chunk : m_chunks)
        out.insert(out.end(), chunk->begin(), chunk->end());
    return out;
}

bool operator==(const ProfilePoints &a, const ProfilePoints &b)
{
    if (a.m_count != b.m_count)
        return false;
    size_t ca = 0, ka = 0, cb = 0, kb = 0;
    int32_t left = a.m_count;
    while (left > 0) {
        const auto &pa = a.m_chunks[ca];
        const auto &pb = b.m_chunks[cb];
        const size_t na = pa->size() - ka, nb = pb->size() - kb;
        const size_t n = std::min(na, nb);
        // A chunk shared at the same offset needs no comparison.
        if (!(pa == pb && ka == kb) &&
            !std::equal(pa->begin() + static_cast<std::ptrdiff_t>(ka),
                        pa->begin() + static_cast<std::ptrdiff_t>(ka + n),
                        pb->begin() + static_cast<std::ptrdiff_t>(kb)))
            return false;
        left -= static_cast<int32_t>(n);
        ka += n;
        kb += n;
        if (ka == pa->size()) {
            ++ca;
            ka = 0;
        }
        if (kb == pb->size()) {
            ++cb;
            kb = 0;
        }
    }
    return true;
}

void ProfilePoints::chunks(std::vector<ChunkRef> &out) const
{
    for (const auto &chunk : m_chunks)
        out.push_back({chunk.get(), sizeof(Chunk) + chunk->capacity() * sizeof(PointProfil)});
}

} // namespace orv
