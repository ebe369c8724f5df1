// The mouse in the drawing area: selection and zoom rectangles, clicks, pan
// and the drag of selected points in the side view. The press fixes the
// gesture, moves only draw, the release applies it.
#pragma once

#include "editor/part.h"

namespace orv {

class DrawingPart;
struct CanvasMouse;

class MousePart : public Part {
public:
    MousePart(Editor &ed, DrawingPart &drawing);

    // Button 1 left, 2 right, 4 middle (moves: the buttons held); shift 1
    // Shift, 2 Ctrl; x, y in the drawing area's units (twips).
    void pctProfils_MouseDown(int button, int shift, float x, float y);
    void pctProfils_MouseMove(int button, int shift, float x, float y);
    void pctProfils_MouseUp(int button, int shift, float x, float y);

    // 0 none, 1 plain press (rectangle), 2 Shift press (pan), 3 Ctrl press in
    // the side view (drag of the selection).
    int ModeSouris() const { return m_mode; }

private:
    enum class Band { None, Zoom, Selection };

    void handle(const CanvasMouse &m);
    void showBand(float x, float y);
    void hideBand();
    void releaseZoom(float x, float y);
    void releaseSelection(float x, float y);
    void releaseDrag(float x, float y);
    void showMousePosition(float x, float y);

    DrawingPart &m_drawing;
    int m_mode = 0;
    Band m_band = Band::None;
    float m_startX = 0, m_startY = 0; // DebutSelection, RectangleZoom X1 Y1, DebutGlisser
    float m_lastX = 0, m_lastY = 0;   // DernierPoint
};

} // namespace orv
