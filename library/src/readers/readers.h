// The reader interface and the table from extension to reader.
#pragma once

#include "foundation/point_list.h"

#include <cstddef>
#include <string_view>

namespace vx {

// The caller's title buffer: a string of spaces that a reader may overwrite
// in place. It is never grown past its length on entry.
class TitleBuffer {
public:
    explicit TitleBuffer(char **title);
    // True while the buffer holds at least 255 characters and the first 255
    // are spaces (the caller asks for the title, and none was written yet).
    bool blank() const;
    // Copies the text over the start of the buffer without a terminator.
    void overwrite(std::string_view text);
    // Copies the text and ends the string after it.
    void assign(std::string_view text);

private:
    char *m_buffer = nullptr;
    size_t m_capacity = 0;
};

// A reader fills `list` and returns 1 when it produced a point, 0 when none,
// or a negative code.
using ReaderFn = int (*)(const char *path, TitleBuffer &title, PointList &list);

int readDat(const char *path, TitleBuffer &title, PointList &list);
int readDxf(const char *path, TitleBuffer &title, PointList &list);
int readHpgl(const char *path, TitleBuffer &title, PointList &list);
int readEps(const char *path, TitleBuffer &title, PointList &list);
int readDrill(const char *path, TitleBuffer &title, PointList &list);
int readSvg(const char *path, TitleBuffer &title, PointList &list);

struct Format {
    std::string_view extension; // with its dot, compared without regard to case
    ReaderFn reader;            // null: recognised but not read
    bool drawing;               // contours go through the cutting-order reorganisation
};

// The format of a file name, or null when its extension is not handled.
const Format *formatFor(std::string_view fileName);

} // namespace vx
