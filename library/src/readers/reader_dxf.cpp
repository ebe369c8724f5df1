// ASCII DXF drawings: the sections of the file are followed pair by pair; the
// LAYER table gives the switched-off layers, the BLOCKS section the block
// definitions, and the ENTITIES section the contours.
#include "readers/dxf_reader.h"
#include "readers/readers.h"
#include "foundation/text_input.h"
#include "vextra.h"

#include <string>

namespace vx {

namespace {

using dxf::Pair;
using dxf::PairCursor;
using dxf::Stop;

enum class Section { None, Tables, Blocks, Entities, Other };

Section sectionNamed(std::string_view name)
{
    if (equalsNoCase(name, "TABLES"))
        return Section::Tables;
    if (equalsNoCase(name, "BLOCKS"))
        return Section::Blocks;
    if (equalsNoCase(name, "ENTITIES"))
        return Section::Entities;
    return Section::Other;
}

// A LAYER entry up to the next group 0, which is left in `p`.
bool readLayer(PairCursor &cursor, Pair &p, dxf::Drawing &drawing)
{
    std::string_view name;
    int64_t colour = 0;
    bool more;
    while ((more = cursor.next(p)) && p.code != 0) {
        if (p.code == 2)
            name = p.value;
        else if (p.code == 62)
            dxf::readInteger(p.value, colour);
    }
    // A negative colour switches the layer off.
    if (colour < 0 && !name.empty())
        drawing.offLayers.insert(name);
    return more;
}

// A BLOCK header up to the first group 0 of its body, then the body itself,
// skipped up to its ENDBLK, which is left in `p`.
bool readBlock(PairCursor &cursor, Pair &p, dxf::Drawing &drawing)
{
    std::string_view name;
    double baseX = 0, baseY = 0;
    bool recorded = true;
    bool more;
    while ((more = cursor.next(p)) && p.code != 0) {
        double v = 0;
        int64_t flag = 0;
        switch (p.code) {
        case 2:
            name = p.value;
            break;
        case 8:
            if (drawing.layerOff(p.value))
                recorded = false;
            break;
        case 10:
            if (dxf::readNumber(p.value, v))
                baseX = v;
            break;
        case 20:
            if (dxf::readNumber(p.value, v))
                baseY = v;
            break;
        case 66:
        case 67:
            if (dxf::readInteger(p.value, flag) && flag != 0)
                recorded = false;
            break;
        default:
            break;
        }
    }
    if (!more)
        return false;
    if (recorded && !name.empty() && name.front() != '$')
        drawing.addBlock(name, p.pos, baseX, baseY);
    while (more) {
        if (p.code == 0) {
            const dxf::Kind k = dxf::kindOf(p.value);
            if (k == dxf::Kind::EndBlk || k == dxf::Kind::EndSec || equalsNoCase(p.value, "EOF"))
                break;
        }
        more = cursor.next(p);
    }
    return more;
}

bool isBinary(std::string_view text)
{
    constexpr std::string_view kSentinel = "AutoCAD Binary DXF";
    return text.substr(0, kSentinel.size()) == kSentinel;
}

} // namespace

namespace dxf {

int readDxfPieces(const char *path, TitleBuffer &title, DrawingPieces &out)
{
    std::string contents;
    const int loaded = loadFile(path, contents);
    if (loaded < 0)
        return loaded;
    if (isBinary(contents))
        return VX_ERR_READ;
    const std::string_view text(contents);
    const size_t start = text.substr(0, 3) == "\xEF\xBB\xBF" ? 3 : 0;
    out.fileBytes = contents.size();

    Drawing drawing(text);
    EntityReader entities(drawing, title);
    Body &body = out.body;
    int64_t counter = 0;
    PairCursor cursor(text, start);
    Pair p;
    Section section = Section::None;
    bool more = cursor.next(p);
    while (more && !drawing.finished) {
        if (p.code != 0) {
            more = cursor.next(p);
            continue;
        }
        if (equalsNoCase(p.value, "SECTION")) {
            section = Section::Other;
            more = cursor.next(p);
            if (!more || p.code != 2)
                continue;
            section = sectionNamed(p.value);
            if (section != Section::Entities) {
                more = cursor.next(p);
                continue;
            }
            // Entities up to ENDSEC; a stray ENDBLK does not end the section.
            size_t pos = cursor.position();
            Stop stop;
            do
                stop = entities.read(pos, body, counter, 0, &pos);
            while (stop == Stop::EndBlk && !drawing.finished);
            cursor = PairCursor(text, pos);
            section = Section::None;
            more = cursor.next(p);
            continue;
        }
        if (equalsNoCase(p.value, "ENDSEC")) {
            section = Section::None;
            more = cursor.next(p);
        } else if (equalsNoCase(p.value, "EOF")) {
            break;
        } else if (section == Section::Tables && equalsNoCase(p.value, "LAYER")) {
            more = readLayer(cursor, p, drawing);
        } else if (section == Section::Blocks && equalsNoCase(p.value, "BLOCK")) {
            more = readBlock(cursor, p, drawing);
        } else {
            more = cursor.next(p);
        }
    }
    // The tables and the text go; the shapes stay for the pieces.
    out.shapes = std::move(drawing.shapes);
    out.shapes.data.shrink_to_fit();
    out.shapes.segments.shrink_to_fit();
    out.shapes.shapes.shrink_to_fit();
    body.pieces.shrink_to_fit();
    body.transforms.shrink_to_fit();
    return body.pieces.empty() ? 0 : 1;
}

} // namespace dxf

int readDxf(const char *path, TitleBuffer &title, PointList &list)
{
    dxf::DrawingPieces drawing;
    const int read = dxf::readDxfPieces(path, title, drawing);
    if (read > 0)
        dxf::appendSamples(drawing, list);
    return read;
}

} // namespace vx
