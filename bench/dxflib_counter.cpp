// Counting adapter for libdxflib: every callback the DXF reader's entities
// correspond to adds to the counts.
#include "dxflib_counter.h"

#include <dl_creationadapter.h>
#include <dl_dxf.h>

namespace {

class Counter : public DL_CreationAdapter {
public:
    DxflibCounts counts;

    void addLayer(const DL_LayerData &) override { ++counts.entities; }
    void addBlock(const DL_BlockData &d) override { counts.checksum += d.bpx; }
    void addPoint(const DL_PointData &d) override { entity(d.x + d.y); }
    void addLine(const DL_LineData &d) override { entity(d.x1 + d.y1 + d.x2 + d.y2); }
    void addArc(const DL_ArcData &d) override { entity(d.cx + d.cy + d.radius + d.angle1 + d.angle2); }
    void addCircle(const DL_CircleData &d) override { entity(d.cx + d.cy + d.radius); }
    void addEllipse(const DL_EllipseData &d) override { entity(d.cx + d.cy + d.mx + d.my + d.ratio); }
    void addPolyline(const DL_PolylineData &d) override { entity(d.number); }
    void addVertex(const DL_VertexData &d) override { vertex(d.x + d.y + d.bulge); }
    void addSpline(const DL_SplineData &d) override { entity(d.degree); }
    void addControlPoint(const DL_ControlPointData &d) override { vertex(d.x + d.y); }
    void addKnot(const DL_KnotData &d) override { vertex(d.k); }
    void addInsert(const DL_InsertData &d) override { entity(d.ipx + d.ipy + d.sx + d.sy + d.angle); }
    void addText(const DL_TextData &d) override { entity(static_cast<double>(d.text.size())); }

private:
    void entity(double v)
    {
        ++counts.entities;
        counts.checksum += v;
    }
    void vertex(double v)
    {
        ++counts.vertices;
        counts.checksum += v;
    }
};

} // namespace

DxflibCounts dxflibParse(const std::string &path)
{
    Counter counter;
    DL_Dxf dxf;
    counter.counts.ok = dxf.in(path, &counter);
    return counter.counts;
}
