// The drawing part of the main window: the kept picture, the overlay and the
// point lists.
#pragma once

#include "editor/editor.h"

#include <QPixmap>
#include <QRectF>

#include <optional>

class QPainter;

namespace orv {

struct RubberBand {
    QRectF rect; // drawing units
    Qt::PenStyle style = Qt::DashLine;
};

class DrawingPart {
public:
    explicit DrawingPart(Editor &ed);
    void drawPicture(QPainter &p);
    void drawOverlay(QPainter &p);
    void drawPointLists();

    std::optional<RubberBand> rubberBand; // set by the mouse while a rectangle is drawn
    const QPixmap *background = nullptr;   // the pasted background image, when loaded

private:
    Editor &m_ed;
};

} // namespace orv
