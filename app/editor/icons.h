// Small icons drawn in code, so that the program ships no image files and
// stays sharp at any screen density.
#pragma once

#include <QColor>
#include <QIcon>

namespace orv::Icons {

QIcon openRoot();
QIcon openTip();
QIcon closeContour(const QColor &colour);
QIcon exportSide(const QColor &colour);
QIcon save();
QIcon undo();
QIcon redo();
QIcon copy();
QIcon cut();
QIcon paste();
QIcon help();
QIcon about();
QIcon swatch(const QColor &colour);
QIcon reverse();
QIcon mirror(bool horizontal);
QIcon stretch(int axis); // 0 X, 1 Y, 2 both
QIcon move(int axis);    // 0 X, 1 Y
QIcon chord();
QIcon remove();
QIcon insert();
QIcon intersection();
QIcon renumber();
QIcon smooth();
QIcon synchronize();
QIcon clean();
QIcon application();
// Two wings in one block: stacked (one mirrored under the other) or head to tail.
QIcon twoWings(bool headToTail);
// The exchange with the cutting program: the panel going to it or coming back.
QIcon cutterExchange(bool toCutter);
// The cutting machine's settings; the export of its G-code program.
QIcon machine();
QIcon exportGCode();

} // namespace orv::Icons
