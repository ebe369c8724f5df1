// The commands of the sequence window on its two lists. Every change records
// the state before it, so that one undo gives back exactly that state.
#include "sequences/sequence_document.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace orv {

namespace {

const std::string kImpossible = "Opération impossible";

float distanceToSegment(float px, float py, const SequencePoint &a, const SequencePoint &b)
{
    const double dx = double(b.X) - a.X, dy = double(b.Y) - a.Y;
    const double len2 = dx * dx + dy * dy;
    double t = len2 > 0 ? ((px - a.X) * dx + (py - a.Y) * dy) / len2 : 0;
    t = std::clamp(t, 0.0, 1.0);
    return float(std::hypot(a.X + t * dx - px, a.Y + t * dy - py));
}

} // namespace

Notice orderRefusal(int index)
{
    return critical(index == 0 ? "Il faut au moins deux séquences et la dernière séquence ne doit pas être "
                                 "sélectionnée pour pouvoir utiliser cet outil"
                               : "Il faut au moins deux séquences et la première séquence ne doit pas être "
                                 "sélectionnée pour pouvoir utiliser cet outil",
                    kImpossible);
}

Notice nothingSelectedInDrawing()
{
    return critical("Aucune séquence du dessin n'est sélectionnée : sélectionnez dans la figure du haut les "
                    "séquences à copier dans l'assemblage.",
                    kImpossible);
}

Notice nothingSelectedInAssembly()
{
    return critical(
        "Aucune séquence de l'assemblage n'est sélectionnée : sélectionnez d'abord dans la figure du "
        "bas les séquences à déplacer.",
        kImpossible);
}

Notice weldRefusal()
{
    return critical("Il faut sélectionner au moins deux séquences de l'assemblage pour pouvoir les souder.",
                    kImpossible);
}

Notice emptyAssemblyRefusal()
{
    return critical("L'assemblage est vide : copiez au moins une séquence dans la figure du bas avant de le "
                    "valider.",
                    "Assemblage impossible");
}

Notice noPointUnderCursor()
{
    return critical("Pas de point sélectionné sur la figure", kImpossible);
}

// ---- loading and history

void SequenceDocument::load(std::span<const ContourPoint> buffer)
{
    m_initial = sequencesFromBuffer(buffer);
    m_undo.clear();
}

void SequenceDocument::record()
{
    if (m_undo.size() == kUndoSteps)
        m_undo.pop_front();
    m_undo.push_back({m_initial, m_final});
}

bool SequenceDocument::undo()
{
    if (m_undo.empty())
        return false;
    m_initial = std::move(m_undo.back().initial);
    m_final = std::move(m_undo.back().final);
    m_undo.pop_back();
    return true;
}

bool SequenceDocument::anySelected(const SequenceList &list) const
{
    return std::any_of(list.begin(), list.end(), [](const SequenceEntry &s) { return s.isSelected(); });
}

// ---- selection

void SequenceDocument::selectAll(ListKind kind)
{
    for (SequenceEntry &s : edit(kind))
        s.Selected = kSequenceSelected;
}

void SequenceDocument::deselectAll(ListKind kind)
{
    for (SequenceEntry &s : edit(kind))
        if (s.isSelected())
            s.Selected = kSequenceFree;
}

void SequenceDocument::toggle(ListKind kind, int index)
{
    SequenceList &list = edit(kind);
    if (index < 0 || index >= int(list.size()))
        return;
    SequenceEntry &s = list[size_t(index)];
    s.Selected = s.isSelected() ? kSequenceFree : kSequenceSelected;
}

bool SequenceDocument::selectInside(ListKind kind, const DrawingExtent &box)
{
    bool any = false;
    for (SequenceEntry &s : edit(kind)) {
        if (s.Points.empty() || s.MinX < box.xMin || s.MaxX > box.xMax || s.MinY < box.yMin ||
            s.MaxY > box.yMax)
            continue;
        s.Selected = kSequenceSelected;
        any = true;
    }
    return any;
}

int SequenceDocument::sequenceAt(ListKind kind, float x, float y, float tolerance) const
{
    const SequenceList &list = this->list(kind);
    int best = -1;
    float bestDistance = std::numeric_limits<float>::max();
    for (size_t k = 0; k < list.size(); ++k) {
        const SequenceEntry &s = list[k];
        if (s.Points.empty() || x < s.MinX - tolerance || x > s.MaxX + tolerance || y < s.MinY - tolerance ||
            y > s.MaxY + tolerance)
            continue;
        float d = distanceToSegment(x, y, s.Points[0], s.Points[0]);
        for (size_t i = 1; i < s.Points.size(); ++i)
            d = std::min(d, distanceToSegment(x, y, s.Points[i - 1], s.Points[i]));
        if (d <= tolerance && d < bestDistance) {
            bestDistance = d;
            best = int(k);
        }
    }
    return best;
}

// ---- copies into the assembly

Outcome SequenceDocument::appendSelectedInitial(bool chainThem)
{
    if (!anySelected(m_initial))
        return Outcome::refused(nothingSelectedInDrawing());
    record();
    if (chainThem)
        deselectAll(ListKind::Final);
    for (SequenceEntry &source : m_initial) {
        if (!source.isSelected())
            continue;
        source.Selected = kSequenceFree;
        SequenceEntry copy = source;
        copy.Selected = kSequenceSelected;
        if (chainThem && !m_final.empty()) {
            const SequenceEntry &p = m_final.back();
            const float dx = p.MinX - (copy.MaxX + 0.1f * (copy.MaxX - copy.MinX));
            const float dy = p.Points.back().Y - copy.Points.front().Y;
            for (SequencePoint &q : copy.Points) {
                q.X += dx;
                q.Y += dy;
            }
            copy.computeBounds();
        }
        m_final.push_back(std::move(copy));
    }
    return Outcome::done(true);
}

Outcome SequenceDocument::chain()
{
    return appendSelectedInitial(true);
}

Outcome SequenceDocument::copyInPlace()
{
    return appendSelectedInitial(false);
}

// ---- order, direction and entry point

Outcome SequenceDocument::order(int index)
{
    const size_t n = m_final.size();
    const bool blocked = n < 2 || (index == 0 ? m_final.back().isSelected() : m_final.front().isSelected());
    if (blocked)
        return Outcome::refused(orderRefusal(index));
    if (!anySelected(m_final))
        return Outcome::refused(nothingSelectedInAssembly());
    record();
    if (index == 0) {
        for (size_t k = n - 1; k-- > 0;)
            if (m_final[k].isSelected())
                std::swap(m_final[k], m_final[k + 1]);
    } else {
        for (size_t k = 1; k < n; ++k)
            if (m_final[k].isSelected())
                std::swap(m_final[k], m_final[k - 1]);
    }
    return Outcome::done(true);
}

template <typename F> Outcome SequenceDocument::eachSelected(F f, bool record)
{
    if (!anySelected(m_final))
        return Outcome::done(false);
    if (record)
        this->record();
    for (SequenceEntry &s : m_final) {
        if (!s.isSelected())
            continue;
        s.computeBounds();
        f(s);
        s.computeBounds();
    }
    return Outcome::done(true);
}

Outcome SequenceDocument::reverse(ListKind kind)
{
    if (kind == ListKind::Final)
        return eachSelected([](SequenceEntry &s) { std::reverse(s.Points.begin(), s.Points.end()); });
    if (!anySelected(m_initial))
        return Outcome::done(false);
    record();
    for (SequenceEntry &s : m_initial)
        if (s.isSelected())
            std::reverse(s.Points.begin(), s.Points.end());
    return Outcome::done(true);
}

Outcome SequenceDocument::entryPoint(int index, bool record)
{
    auto turns = [](const SequenceEntry &s) {
        return s.isSelected() && s.isClosed() && s.Points.size() >= 3;
    };
    if (std::none_of(m_final.begin(), m_final.end(), turns))
        return Outcome::done(false);
    if (record)
        this->record();
    for (SequenceEntry &s : m_final) {
        if (!turns(s))
            continue;
        std::vector<SequencePoint> &p = s.Points;
        if (index == 0) {
            // P2 ... Pn, P2: the old P1 (equal to Pn) leaves.
            p.erase(p.begin());
            p.push_back(p.front());
        } else {
            // P(n-1), P1 ... P(n-1): the old Pn (equal to P1) leaves.
            p.pop_back();
            p.insert(p.begin(), p.back());
        }
        s.computeBounds();
    }
    return Outcome::done(true);
}

// ---- shape

Outcome SequenceDocument::rotate(double a, bool record)
{
    const double c = std::cos(a), sn = std::sin(a);
    return eachSelected(
        [c, sn](SequenceEntry &s) {
        const double cx = (double(s.MinX) + s.MaxX) / 2, cy = (double(s.MinY) + s.MaxY) / 2;
        for (SequencePoint &p : s.Points) {
            const double x = p.X - cx, y = p.Y - cy;
            p.X = float(cx + x * c - y * sn);
            p.Y = float(cy + x * sn + y * c);
        }
        },
        record);
}

Outcome SequenceDocument::mirror()
{
    return eachSelected([](SequenceEntry &s) {
        for (SequencePoint &p : s.Points)
            p.X = s.MaxX + s.MinX - p.X;
    });
}

Outcome SequenceDocument::scale(int index)
{
    return eachSelected([index](SequenceEntry &s) {
        const SequencePoint first = s.Points.front();
        for (SequencePoint &p : s.Points) {
            p.X = index == 0 ? first.X + (p.X - first.X) * 1.1f : first.X + (p.X - first.X) / 1.1f;
            p.Y = index == 0 ? first.Y + (p.Y - first.Y) * 1.1f : first.Y + (p.Y - first.Y) / 1.1f;
        }
    });
}

Outcome SequenceDocument::spacing(int index, bool record)
{
    const size_t n = m_final.size();
    bool any = false;
    for (size_t k = 1; k < n; ++k)
        any = any || m_final[k].isSelected();
    if (!any)
        return Outcome::done(false);
    if (record)
        this->record();
    for (size_t k = 0; k + 1 < n; ++k) {
        if (!m_final[k + 1].isSelected())
            continue;
        const float d = std::abs(m_final[k].MinX - m_final[k + 1].MaxX) * 0.1f;
        const float shift = index == 0 ? d : -d;
        for (size_t j = 0; j <= k; ++j) {
            for (SequencePoint &p : m_final[j].Points)
                p.X += shift;
            m_final[j].computeBounds();
        }
    }
    return Outcome::done(true);
}

Outcome SequenceDocument::moveSelected(float dx, float dy)
{
    if (dx == 0 && dy == 0)
        return Outcome::done(false);
    return eachSelected([dx, dy](SequenceEntry &s) {
        for (SequencePoint &p : s.Points) {
            p.X += dx;
            p.Y += dy;
        }
    });
}

Outcome SequenceDocument::movePoint(PointRef ref, float x, float y)
{
    if (ref.sequence < 0 || ref.sequence >= int(m_final.size()) || ref.point < 0 ||
        ref.point >= m_final[size_t(ref.sequence)].PointCount())
        return Outcome::refused(noPointUnderCursor());
    record();
    SequenceEntry &s = m_final[size_t(ref.sequence)];
    s.Points[size_t(ref.point)].X = x;
    s.Points[size_t(ref.point)].Y = y;
    s.computeBounds();
    return Outcome::done(true);
}

// ---- the list itself

Outcome SequenceDocument::erase()
{
    if (!anySelected(m_final))
        return Outcome::done(false);
    record();
    std::erase_if(m_final, [](const SequenceEntry &s) { return s.isSelected(); });
    return Outcome::done(true);
}

Outcome SequenceDocument::insertLinkingPoints()
{
    std::vector<size_t> after; // k such that k and k + 1 are both selected
    for (size_t k = 0; k + 1 < m_final.size(); ++k)
        if (m_final[k].isSelected() && m_final[k + 1].isSelected())
            after.push_back(k);
    if (after.empty())
        return Outcome::done(false);
    record();
    for (auto k = after.rbegin(); k != after.rend(); ++k) {
        const SequencePoint &a = m_final[*k].Points.back(), &b = m_final[*k + 1].Points.front();
        SequenceEntry link;
        link.Points.push_back({(a.X + b.X) / 2, (a.Y + b.Y) / 2, 0, 0});
        link.Selected = kLinkingPoint;
        link.computeBounds();
        m_final.insert(m_final.begin() + std::ptrdiff_t(*k + 1), std::move(link));
    }
    return Outcome::done(true);
}

Outcome SequenceDocument::weld()
{
    const auto selected =
        std::count_if(m_final.begin(), m_final.end(), [](const SequenceEntry &s) { return s.isSelected(); });
    if (selected < 2)
        return Outcome::refused(weldRefusal());
    record();
    auto first =
        std::find_if(m_final.begin(), m_final.end(), [](const SequenceEntry &s) { return s.isSelected(); });
    for (auto it = first + 1; it != m_final.end(); ++it)
        if (it->isSelected())
            first->Points.insert(first->Points.end(), it->Points.begin(), it->Points.end());
    first->computeBounds();
    const size_t joined = size_t(first - m_final.begin());
    SequenceList kept;
    kept.reserve(m_final.size());
    for (size_t k = 0; k < m_final.size(); ++k)
        if (k == joined || !m_final[k].isSelected())
            kept.push_back(std::move(m_final[k]));
    m_final = std::move(kept);
    return Outcome::done(true);
}

Outcome SequenceDocument::validate(std::vector<ContourPoint> &buffer, DrawingExtent &bounds) const
{
    if (m_final.empty())
        return Outcome::refused(emptyAssemblyRefusal());
    buffer = bufferFromSequences(m_final);
    bounds = extentOf(std::span<const ContourPoint>(buffer));
    return Outcome::done(true);
}

} // namespace orv
