// SVG drawings (".svg"): expat reads the document into a compact tree, which
// is then drawn with its transforms, viewports and references in millimetres,
// Y up. Depth, expansion and points are budgeted so that hostile files end.
#include "readers/readers.h"
#include "readers/svg_geometry.h"
#include "foundation/text_input.h"
#include "vextra.h"

#include <expat.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <string>
#include <unordered_map>
#include <vector>

namespace vx {

namespace {

using svg::Matrix;

constexpr uint32_t kNone = UINT32_MAX;
constexpr int kMaxDepth = 256;           // elements and references drawn inside one another
constexpr size_t kBaseVisits = size_t(1) << 20;
constexpr size_t kVisitsPerElement = 4;  // each element drawn four times over through references
constexpr size_t kBasePoints = size_t(1) << 22;
constexpr size_t kPointsPerByte = 8;
constexpr size_t kTitleCapture = 1024;   // bytes of title text kept
constexpr std::string_view kSvgSpace = "http://www.w3.org/2000/svg|";
constexpr std::string_view kXlinkHref = "http://www.w3.org/1999/xlink|href";

enum class Kind : uint8_t {
    Svg, G, A, Switch, Use, Symbol, Path, Rect, Circle, Ellipse, Line, Polyline, Polygon, Title, Text,
    NotDrawn // defs, clipPath, mask, marker, pattern, metadata, styles, other namespaces...
};

enum class Attr : uint8_t {
    Id, D, X, Y, Width, Height, Rx, Ry, Cx, Cy, R, X1, Y1, X2, Y2, Points, Transform, Style, Display,
    Visibility, Href, XlinkHref, ViewBox, PreserveAspectRatio
};

constexpr std::pair<std::string_view, Kind> kKinds[] = {
    {"svg", Kind::Svg},       {"g", Kind::G},           {"a", Kind::A},         {"switch", Kind::Switch},
    {"use", Kind::Use},       {"symbol", Kind::Symbol}, {"path", Kind::Path},   {"rect", Kind::Rect},
    {"circle", Kind::Circle}, {"ellipse", Kind::Ellipse}, {"line", Kind::Line}, {"polyline", Kind::Polyline},
    {"polygon", Kind::Polygon}, {"title", Kind::Title}, {"text", Kind::Text}};

constexpr std::pair<std::string_view, Attr> kAttrs[] = {
    {"id", Attr::Id},         {"d", Attr::D},           {"x", Attr::X},
    {"y", Attr::Y},           {"width", Attr::Width},   {"height", Attr::Height},
    {"rx", Attr::Rx},         {"ry", Attr::Ry},         {"cx", Attr::Cx},
    {"cy", Attr::Cy},         {"r", Attr::R},           {"x1", Attr::X1},
    {"y1", Attr::Y1},         {"x2", Attr::X2},         {"y2", Attr::Y2},
    {"points", Attr::Points}, {"transform", Attr::Transform}, {"style", Attr::Style},
    {"display", Attr::Display}, {"visibility", Attr::Visibility}, {"href", Attr::Href},
    {kXlinkHref, Attr::XlinkHref}, {"viewBox", Attr::ViewBox}, {"preserveAspectRatio", Attr::PreserveAspectRatio}};

struct Element {
    Kind kind;
    uint16_t attrCount = 0;
    uint32_t attrBegin = 0;
    uint32_t firstChild = kNone, lastChild = kNone, nextSibling = kNone;
};

struct StoredAttr {
    Attr name;
    uint32_t size;
    size_t offset; // in Document::text
};

bool isSpaceChar(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

std::string_view trimmed(std::string_view s)
{
    while (!s.empty() && isSpaceChar(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && isSpaceChar(s.back()))
        s.remove_suffix(1);
    return s;
}

// The element tree and the texts it needs, as expat hands them over.
struct Document {
    std::vector<Element> elements; // element 0 is the root
    std::vector<StoredAttr> attrs;
    std::string text;
    std::unordered_map<std::string, uint32_t> byId; // the first element of each id
    std::vector<uint32_t> useTarget;                // per element: what a use refers to, or kNone
    std::string title, firstText;
    bool rootIsSvg = false;

    std::string_view attr(const Element &e, Attr name) const
    {
        for (uint32_t i = e.attrBegin; i < e.attrBegin + e.attrCount; ++i)
            if (attrs[i].name == name)
                return std::string_view(text).substr(attrs[i].offset, attrs[i].size);
        return {};
    }
    // Every use's reference inside the document, looked up once.
    void resolveReferences()
    {
        useTarget.assign(elements.size(), kNone);
        for (uint32_t i = 0; i < elements.size(); ++i) {
            const Element &e = elements[i];
            if (e.kind != Kind::Use)
                continue;
            const std::string_view ref = trimmed(has(e, Attr::Href) ? attr(e, Attr::Href) : attr(e, Attr::XlinkHref));
            if (!ref.starts_with('#'))
                continue; // only references inside the document
            if (const auto found = byId.find(std::string(ref.substr(1))); found != byId.end())
                useTarget[i] = found->second;
        }
    }
    bool has(const Element &e, Attr name) const
    {
        for (uint32_t i = e.attrBegin; i < e.attrBegin + e.attrCount; ++i)
            if (attrs[i].name == name)
                return true;
        return false;
    }
    // A presentation property: the inline style's declaration, else the attribute.
    std::string_view property(const Element &e, Attr name, std::string_view css) const
    {
        std::string_view found = attr(e, name);
        std::string_view style = attr(e, Attr::Style);
        while (!style.empty()) {
            const size_t end = std::min(style.find(';'), style.size());
            const std::string_view decl = style.substr(0, end);
            style.remove_prefix(std::min(end + 1, style.size()));
            const size_t colon = decl.find(':');
            if (colon != std::string_view::npos && equalsNoCase(trimmed(decl.substr(0, colon)), css))
                found = decl.substr(colon + 1);
        }
        found = trimmed(found);
        if (const size_t bang = found.find('!'); bang != std::string_view::npos)
            found = trimmed(found.substr(0, bang));
        return found;
    }
};

// ---- reading the XML

class TreeBuilder {
public:
    explicit TreeBuilder(Document &doc) : m_doc(doc) {}

    static void XMLCALL start(void *user, const XML_Char *name, const XML_Char **atts)
    {
        static_cast<TreeBuilder *>(user)->startElement(name, atts);
    }
    static void XMLCALL end(void *user, const XML_Char *) { static_cast<TreeBuilder *>(user)->endElement(); }
    static void XMLCALL characters(void *user, const XML_Char *s, int len)
    {
        static_cast<TreeBuilder *>(user)->characterData(std::string_view(s, static_cast<size_t>(len)));
    }

private:
    static Kind kindOf(std::string_view name)
    {
        if (name.starts_with(kSvgSpace))
            name.remove_prefix(kSvgSpace.size());
        else if (name.find('|') != std::string_view::npos)
            return Kind::NotDrawn;
        for (const auto &[n, k] : kKinds)
            if (name == n)
                return k;
        return Kind::NotDrawn;
    }

    void startElement(std::string_view name, const XML_Char **atts)
    {
        const auto index = static_cast<uint32_t>(m_doc.elements.size());
        Element e{kindOf(name)};
        if (m_stack.empty()) {
            if (!m_doc.elements.empty())
                return; // nothing can follow the root element
            m_doc.rootIsSvg = e.kind == Kind::Svg;
        }
        e.attrBegin = static_cast<uint32_t>(m_doc.attrs.size());
        for (size_t i = 0; atts[i] && atts[i + 1] && e.attrCount < UINT16_MAX; i += 2)
            store(e, atts[i], atts[i + 1], index);
        if (!m_stack.empty()) {
            Element &parent = m_doc.elements[m_stack.back()];
            if (parent.lastChild == kNone)
                parent.firstChild = index;
            else
                m_doc.elements[parent.lastChild].nextSibling = index;
            parent.lastChild = index;
        }
        // The document's title is a title of the root; the first text stands in for it.
        if (e.kind == Kind::Title && m_stack.size() == 1 && !m_titleSeen) {
            m_titleSeen = true;
            m_capture = &m_doc.title;
            m_captureDepth = m_stack.size() + 1;
        } else if (e.kind == Kind::Text && !m_textSeen && !m_capture) {
            m_textSeen = true;
            m_capture = &m_doc.firstText;
            m_captureDepth = m_stack.size() + 1;
        }
        m_doc.elements.push_back(e);
        m_stack.push_back(index);
    }

    void store(Element &e, std::string_view name, std::string_view value, uint32_t index)
    {
        for (const auto &[n, a] : kAttrs) {
            if (name != n)
                continue;
            if (value.size() > UINT32_MAX)
                return;
            m_doc.attrs.push_back({a, static_cast<uint32_t>(value.size()), m_doc.text.size()});
            m_doc.text.append(value);
            ++e.attrCount;
            if (a == Attr::Id)
                m_doc.byId.emplace(std::string(value), index);
            return;
        }
    }

    void endElement()
    {
        if (m_stack.empty())
            return;
        if (m_capture && m_stack.size() == m_captureDepth)
            m_capture = nullptr;
        m_stack.pop_back();
    }

    void characterData(std::string_view s)
    {
        if (m_capture && m_capture->size() < kTitleCapture)
            m_capture->append(s.substr(0, kTitleCapture - m_capture->size()));
    }

    Document &m_doc;
    std::vector<uint32_t> m_stack;
    std::string *m_capture = nullptr;
    size_t m_captureDepth = 0;
    bool m_titleSeen = false, m_textSeen = false;
};

// Fills the tree; a document cut short or malformed keeps what came before
// the fault. External entities are never loaded, and a document whose
// entities expand past expat's amplification limit is refused: 0 or -108.
int parseDocument(const std::string &bytes, Document &doc)
{
    XML_Parser parser = XML_ParserCreateNS(nullptr, '|');
    if (!parser)
        throw std::bad_alloc();
    TreeBuilder builder(doc);
    XML_SetUserData(parser, &builder);
    XML_SetElementHandler(parser, &TreeBuilder::start, &TreeBuilder::end);
    XML_SetCharacterDataHandler(parser, &TreeBuilder::characters);
    XML_SetParamEntityParsing(parser, XML_PARAM_ENTITY_PARSING_NEVER);
    constexpr size_t kChunk = size_t(1) << 26;
    size_t done = 0;
    XML_Error error = XML_ERROR_NONE;
    do {
        const size_t n = std::min(kChunk, bytes.size() - done);
        const bool last = done + n == bytes.size();
        done += n;
        if (XML_Parse(parser, bytes.data() + done - n, static_cast<int>(n), last) != XML_STATUS_OK)
            error = XML_GetErrorCode(parser);
    } while (error == XML_ERROR_NONE && done < bytes.size());
    XML_ParserFree(parser);
    if (error == XML_ERROR_NO_MEMORY)
        throw std::bad_alloc();
    return error == XML_ERROR_AMPLIFICATION_LIMIT_BREACH ? VX_ERR_READ : 0;
}

// ---- viewports

struct ViewBox {
    double x = 0, y = 0, w = 0, h = 0;
};

bool parseViewBox(std::string_view text, ViewBox &out)
{
    svg::Scanner s(text);
    ViewBox v;
    if (!s.number(v.x) || !s.number(v.y) || !s.number(v.w) || !s.number(v.h))
        return false;
    s.skipSpace();
    if (!s.atEnd() || !(v.w > 0) || !(v.h > 0))
        return false;
    out = v;
    return true;
}

// Maps the view box onto a viewport of the given size at the origin, as
// preserveAspectRatio says (by default centred, whole box shown).
Matrix fitViewBox(const ViewBox &v, std::string_view aspect, double width, double height)
{
    aspect = trimmed(aspect);
    if (aspect.starts_with("defer"))
        aspect = trimmed(aspect.substr(5));
    const double sx = width / v.w, sy = height / v.h;
    if (aspect.starts_with("none"))
        return Matrix{sx, 0, 0, sy, -v.x * sx, -v.y * sy};
    const bool slice = aspect.find("slice") != std::string_view::npos;
    const double s = slice ? std::max(sx, sy) : std::min(sx, sy);
    double tx = -v.x * s, ty = -v.y * s;
    const double spareX = width - v.w * s, spareY = height - v.h * s;
    const bool known = aspect.size() >= 8 && aspect[0] == 'x' && aspect[4] == 'Y';
    const std::string_view ax = known ? aspect.substr(1, 3) : "Mid";
    const std::string_view ay = known ? aspect.substr(5, 3) : "Mid";
    tx += ax == "Min" ? 0 : ax == "Max" ? spareX : spareX / 2;
    ty += ay == "Min" ? 0 : ay == "Max" ? spareY : spareY / 2;
    return Matrix{s, 0, 0, s, tx, ty};
}

// ---- drawing

class Renderer {
public:
    Renderer(const Document &doc, svg::Outline &out, size_t visits) : m_doc(doc), m_out(out), m_visits(visits) {}

    void drawRoot()
    {
        const Element &root = m_doc.elements[0];
        // The page in millimetres from width, height and the view box.
        double width = 0, height = 0;
        const bool hasWidth = pageLength(root, Attr::Width, width);
        const bool hasHeight = pageLength(root, Attr::Height, height);
        ViewBox box;
        Matrix page = Matrix::scale(svg::millimetresPer(svg::Unit::Px), svg::millimetresPer(svg::Unit::Px));
        if (parseViewBox(m_doc.attr(root, Attr::ViewBox), box)) {
            if (!hasWidth && !hasHeight) {
                width = box.w * svg::millimetresPer(svg::Unit::Px);
                height = box.h * svg::millimetresPer(svg::Unit::Px);
            } else if (!hasWidth) {
                width = height * box.w / box.h;
            } else if (!hasHeight) {
                height = width * box.h / box.w;
            }
            page = fitViewBox(box, m_doc.attr(root, Attr::PreserveAspectRatio), width, height);
        }
        m_rootViewport = page;
        // Y up: the bottom of the page is at zero.
        draw(0, Matrix{1, 0, 0, -1, 0, height}, true, 0);
    }

private:
    // A width or height of the page in millimetres, when it has an absolute
    // unit; `mm` is left alone otherwise.
    bool pageLength(const Element &e, Attr name, double &mm) const
    {
        svg::Length l;
        if (!svg::parseLength(m_doc.attr(e, name), l))
            return false;
        const double v = l.value * svg::millimetresPer(l.unit);
        if (!(v > 0) || !std::isfinite(v))
            return false;
        mm = v;
        return true;
    }

    // Radii of an ellipse or of a rectangle's corners: one left out takes
    // the other's value.
    void radii(const Element &e, double &rx, double &ry) const
    {
        rx = length(e, Attr::Rx, -1);
        ry = length(e, Attr::Ry, -1);
        rx = rx < 0 ? ry : rx;
        ry = ry < 0 ? rx : ry;
    }

    // A length attribute in user units, or the fallback.
    double length(const Element &e, Attr name, double fallback = 0) const
    {
        svg::Length l;
        double v = 0;
        return svg::parseLength(m_doc.attr(e, name), l) && svg::userUnits(l, v) ? v : fallback;
    }

    bool onPath(uint32_t index) const { return std::find(m_path.begin(), m_path.end(), index) != m_path.end(); }

    void draw(uint32_t index, const Matrix &ctm, bool visible, int depth)
    {
        if (depth > kMaxDepth || m_visits == 0 || !m_out.open())
            return;
        --m_visits;
        const Element &e = m_doc.elements[index];
        if (e.kind == Kind::NotDrawn || e.kind == Kind::Symbol || e.kind == Kind::Title || e.kind == Kind::Text)
            return;
        if (equalsNoCase(m_doc.property(e, Attr::Display, "display"), "none"))
            return;
        const std::string_view v = m_doc.property(e, Attr::Visibility, "visibility");
        if (equalsNoCase(v, "hidden") || equalsNoCase(v, "collapse"))
            visible = false;
        else if (equalsNoCase(v, "visible"))
            visible = true;
        Matrix local;
        if (!svg::parseTransform(m_doc.attr(e, Attr::Transform), local))
            return; // a transform in error: the element is not drawn
        const Matrix m = ctm * local;
        switch (e.kind) {
        case Kind::Svg:
            children(index, m * (index == 0 ? m_rootViewport : nestedViewport(e)), visible, depth);
            return;
        case Kind::G:
        case Kind::A:
            children(index, m, visible, depth);
            return;
        case Kind::Switch:
            // Only the first child is drawn; no feature or language is tested.
            for (uint32_t c = e.firstChild; c != kNone; c = m_doc.elements[c].nextSibling)
                if (m_doc.elements[c].kind != Kind::NotDrawn) {
                    m_path.push_back(index);
                    draw(c, m, visible, depth + 1);
                    m_path.pop_back();
                    return;
                }
            return;
        case Kind::Use:
            use(index, m, visible, depth);
            return;
        default:
            if (visible) {
                m_out.setMatrix(m);
                shape(e);
            }
            return;
        }
    }

    void children(uint32_t index, const Matrix &m, bool visible, int depth)
    {
        m_path.push_back(index);
        for (uint32_t c = m_doc.elements[index].firstChild; c != kNone && m_out.open() && m_visits > 0;
             c = m_doc.elements[c].nextSibling)
            draw(c, m, visible, depth + 1);
        m_path.pop_back();
    }

    Matrix nestedViewport(const Element &e) const
    {
        const Matrix at = Matrix::translate(length(e, Attr::X), length(e, Attr::Y));
        ViewBox box;
        if (!parseViewBox(m_doc.attr(e, Attr::ViewBox), box))
            return at;
        const double w = length(e, Attr::Width, box.w), h = length(e, Attr::Height, box.h);
        if (!(w > 0) || !(h > 0))
            return at;
        return at * fitViewBox(box, m_doc.attr(e, Attr::PreserveAspectRatio), w, h);
    }

    // A reference is drawn where it stands; one that leads back to an
    // element being drawn would never end and is left out.
    void use(uint32_t index, const Matrix &m, bool visible, int depth)
    {
        const Element &e = m_doc.elements[index];
        const uint32_t target = m_doc.useTarget[index];
        if (target == kNone || target == index || onPath(target))
            return;
        const Element &t = m_doc.elements[target];
        Matrix placed = m * Matrix::translate(length(e, Attr::X), length(e, Attr::Y));
        m_path.push_back(index);
        if (t.kind == Kind::Symbol) {
            if (!equalsNoCase(m_doc.property(t, Attr::Display, "display"), "none")) {
                ViewBox box;
                if (parseViewBox(m_doc.attr(t, Attr::ViewBox), box)) {
                    const double w = length(e, Attr::Width, length(t, Attr::Width, box.w));
                    const double h = length(e, Attr::Height, length(t, Attr::Height, box.h));
                    if (w > 0 && h > 0)
                        placed = placed * fitViewBox(box, m_doc.attr(t, Attr::PreserveAspectRatio), w, h);
                }
                children(target, placed, visible, depth + 1);
            }
        } else {
            draw(target, placed, visible, depth + 1);
        }
        m_path.pop_back();
    }

    void shape(const Element &e)
    {
        switch (e.kind) {
        case Kind::Path:
            svg::drawPath(m_doc.attr(e, Attr::D), m_out);
            break;
        case Kind::Rect:
            rect(e);
            break;
        case Kind::Circle: {
            const double r = length(e, Attr::R);
            if (r > 0)
                m_out.ellipse(length(e, Attr::Cx), length(e, Attr::Cy), r, r);
            break;
        }
        case Kind::Ellipse: {
            double rx = 0, ry = 0;
            radii(e, rx, ry);
            if (rx > 0 && ry > 0)
                m_out.ellipse(length(e, Attr::Cx), length(e, Attr::Cy), rx, ry);
            break;
        }
        case Kind::Line:
            m_out.moveTo(length(e, Attr::X1), length(e, Attr::Y1));
            m_out.lineTo(length(e, Attr::X2), length(e, Attr::Y2));
            break;
        case Kind::Polyline:
        case Kind::Polygon:
            svg::drawPoints(m_doc.attr(e, Attr::Points), e.kind == Kind::Polygon, m_out);
            break;
        default:
            break;
        }
    }

    void rect(const Element &e)
    {
        const double x = length(e, Attr::X), y = length(e, Attr::Y);
        const double w = length(e, Attr::Width), h = length(e, Attr::Height);
        if (!(w > 0) || !(h > 0))
            return;
        // Corner radii, neither past half the side.
        double rx = 0, ry = 0;
        radii(e, rx, ry);
        rx = std::min(std::max(rx, 0.0), w / 2);
        ry = std::min(std::max(ry, 0.0), h / 2);
        svg::Outline &o = m_out;
        if (rx == 0 || ry == 0) {
            o.moveTo(x, y);
            o.lineTo(x + w, y);
            o.lineTo(x + w, y + h);
            o.lineTo(x, y + h);
            o.close();
            return;
        }
        o.moveTo(x + rx, y);
        o.lineTo(x + w - rx, y);
        o.arcTo(rx, ry, 0, false, true, x + w, y + ry);
        o.lineTo(x + w, y + h - ry);
        o.arcTo(rx, ry, 0, false, true, x + w - rx, y + h);
        o.lineTo(x + rx, y + h);
        o.arcTo(rx, ry, 0, false, true, x, y + h - ry);
        o.lineTo(x, y + ry);
        o.arcTo(rx, ry, 0, false, true, x + rx, y);
        o.close();
    }

    const Document &m_doc;
    svg::Outline &m_out;
    size_t m_visits;
    Matrix m_rootViewport;
    std::vector<uint32_t> m_path; // the elements being drawn, outermost first
};

// Runs of white space become one space; none at either end.
std::string collapsed(std::string_view s)
{
    std::string out;
    for (char c : trimmed(s)) {
        if (isSpaceChar(c)) {
            if (out.back() != ' ')
                out += ' ';
        } else {
            out += c;
        }
    }
    return out;
}

} // namespace

int readSvg(const char *path, TitleBuffer &title, PointList &list)
{
    std::string bytes;
    const int loaded = loadFile(path, bytes);
    if (loaded < 0)
        return loaded;
    Document doc;
    if (const int parsed = parseDocument(bytes, doc); parsed < 0)
        return parsed;
    if (!doc.rootIsSvg)
        return 0;
    doc.resolveReferences();
    if (title.blank()) {
        const std::string name = collapsed(doc.title.empty() ? doc.firstText : doc.title);
        if (!name.empty())
            title.assign(name);
    }
    svg::Outline outline(list, std::max(kBasePoints, kPointsPerByte * bytes.size()));
    Renderer(doc, outline, std::max(kBaseVisits, kVisitsPerElement * doc.elements.size())).drawRoot();
    return list.empty() ? 0 : 1;
}

} // namespace vx
