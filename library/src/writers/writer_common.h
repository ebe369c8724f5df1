// What the contour writers share: the records they read, numbers as C "%f"
// prints them in the C locale, CR LF lines, and an output file that takes the
// target's place only once it is completely written.
#pragma once

#include "vextra.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace vx {

// "%f" of v: six decimals and "." whatever the process locale ("-0.000000",
// "nan" and "inf" included).
void appendFixed(std::string &out, double v);
std::string formatFixed(double v);

// The records of a locked ContourPoint or SequencePoint array.
class RecordView {
public:
    RecordView(const ContourPoint *points, size_t count) : m_contour(points), m_count(count) {}
    RecordView(const SequencePoint *points, size_t count) : m_sequence(points), m_count(count) {}
    size_t size() const { return m_count; }
    float x(size_t i) const { return m_contour ? m_contour[i].X : m_sequence[i].X; }
    float y(size_t i) const { return m_contour ? m_contour[i].Y : m_sequence[i].Y; }
    // The first record, and every record whose contour (Tag, or Sequence)
    // differs from the previous record's.
    bool startsContour(size_t i) const;

private:
    const ContourPoint *m_contour = nullptr;
    const SequencePoint *m_sequence = nullptr;
    size_t m_count = 0;
};

// A text file written under a temporary name beside the target and renamed
// over it by commit(). Every write is checked; a file that is not committed
// is removed, so a failed write leaves the target as it was.
class OutputFile {
public:
    OutputFile() = default;
    ~OutputFile();
    OutputFile(const OutputFile &) = delete;
    OutputFile &operator=(const OutputFile &) = delete;

    bool open(const char *target);
    // The text followed by CR LF.
    void line(std::string_view text);
    // A prefix and a "%f" number, followed by CR LF.
    void numberLine(std::string_view prefix, double v);
    // Flushes, syncs, closes and renames; false when any step failed.
    bool commit();

private:
    void flush();
    void discard();

    std::string m_target;
    std::string m_temp;
    int m_fd = -1;
    std::string m_buffer;
    bool m_failed = false;
};

// Cuts the caller's title at its first CR or LF, in its own buffer.
std::string_view cutTitle(char **title);

// Each writer returns 1 or VX_ERR_CREATE.
int writeDat(const RecordView &points, const char *path, std::string_view title);
int writeDxf(const RecordView &points, const char *path, std::string_view title);
int writeDxf3d(const RecordView &first, const RecordView &second, const char *path, float span);
// The number of moves written, or VX_ERR_CREATE, VX_ERR_GCODE_*; the machine
// has passed checkMachine and the two views have the same count.
int writeGCode(const RecordView &root, const RecordView &tip, const char *path, const VxMachine &machine);

} // namespace vx
