// The bounded undo history and its memory accounting.
#include "core/history.h"

#include <unordered_set>
#include <vector>

namespace orv {

void History::record(const Profils &doc, const WindowState &window)
{
    m_entries.resize(static_cast<size_t>(m_position));
    if (m_entries.size() >= static_cast<size_t>(kMaxEntries))
        m_entries.pop_front();
    m_entries.push_back({doc, window});
    m_position = count();
}

bool History::recordUnlessSuppressed(const Profils &doc, const WindowState &window)
{
    if (AnnulationEnCours)
        return false;
    record(doc, window);
    return true;
}

const Snapshot *History::undo()
{
    if (m_position >= 2)
        --m_position;
    return current();
}

const Snapshot *History::redo()
{
    if (m_position < count())
        ++m_position;
    return current();
}

const Snapshot *History::current() const
{
    if (m_position < 1 || m_position > count())
        return nullptr;
    return &m_entries[static_cast<size_t>(m_position - 1)];
}

void History::clear()
{
    m_entries.clear();
    m_position = 0;
}

namespace {

size_t tableBytes(size_t chunks)
{
    // Each list keeps a shared pointer and a start index per chunk.
    return chunks * (sizeof(std::shared_ptr<int>) + sizeof(int32_t));
}

size_t countBytes(const Profils &doc, std::vector<ProfilePoints::ChunkRef> &refs,
                  std::unordered_set<const void *> &seen)
{
    size_t bytes = sizeof(Snapshot);
    for (Side s : kSides) {
        refs.clear();
        doc.points(s).chunks(refs);
        bytes += tableBytes(refs.size());
        for (const auto &r : refs)
            if (seen.insert(r.id).second)
                bytes += r.bytes;
    }
    return bytes;
}

} // namespace

size_t History::memoryBytes() const
{
    std::vector<ProfilePoints::ChunkRef> refs;
    std::unordered_set<const void *> seen;
    size_t bytes = sizeof(History);
    for (const Snapshot &s : m_entries)
        bytes += countBytes(s.doc, refs, seen);
    return bytes;
}

size_t documentBytes(const Profils &doc)
{
    std::vector<ProfilePoints::ChunkRef> refs;
    std::unordered_set<const void *> seen;
    return countBytes(doc, refs, seen) - sizeof(Snapshot) + sizeof(Profils);
}

} // namespace orv
