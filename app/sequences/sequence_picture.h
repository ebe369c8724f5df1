// One picture of the sequence window: the drawing's coordinates fitted into
// the picture (twips, Y downwards) and the drawing of a list of sequences.
#pragma once

#include "sequences/sequence_list.h"

#include <QPointF>
#include <QRectF>

#include <optional>
#include <vector>

class QPainter;

namespace orv {

struct PictureMapping {
    double scale = 1;             // twips per drawing unit
    double cx = 0, cy = 0;        // drawing point at the picture's centre
    double width = 0, height = 0; // picture size in twips

    // The extent fills the picture less a margin of 180 twips on every side.
    void fit(const DrawingExtent &extent, double widthTwips, double heightTwips);
    QPointF toPicture(double x, double y) const
    {
        return {width / 2 + (x - cx) * scale, height / 2 - (y - cy) * scale};
    }
    QPointF toDrawing(double tx, double ty) const
    {
        return {cx + (tx - width / 2) / scale, cy - (ty - height / 2) / scale};
    }
    // A length of the picture in drawing units.
    double drawingLength(double twips) const { return twips / scale; }
};

struct PictureOptions {
    bool tipColours = false;    // the window serves the tip: blue instead of red
    bool showDirection = false; // chkVisuSens
    int current = -1;           // the framed sequence, from 0
    bool finalPicture = false;  // the lower picture: a wider frame around a selected current sequence
    QPointF dragOffset;         // selected sequences drawn moved by this (twips) during a Ctrl drag
};

// Clears the picture and draws the list: polylines, direction marks, the
// dotted frame of the current sequence.
void drawSequences(QPainter &p, const SequenceList &list, const PictureMapping &map, const PictureOptions &o);

} // namespace orv
