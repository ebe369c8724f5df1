// Feeds arbitrary panels and machine values to EcrireGCode and Pt2GCode: a
// program must hold no "nan" or "inf" and as many moves as announced; a
// refusal must leave the previous file as it was.
#include "vextra.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <unistd.h>

namespace {

// Reads the input front to back; zeros once it runs out.
class Bytes {
public:
    Bytes(const uint8_t *data, size_t size) : m_data(data), m_size(size) {}
    uint8_t u8() { return m_pos < m_size ? m_data[m_pos++] : 0; }
    int16_t i16() { return static_cast<int16_t>(u8() | (u8() << 8)); }
    float f32()
    {
        uint32_t bits = 0;
        for (int i = 0; i < 4; ++i)
            bits |= static_cast<uint32_t>(u8()) << (8 * i);
        float f;
        std::memcpy(&f, &bits, sizeof f);
        return f;
    }
    // Raw bits (NaN, infinities, extremes) or a plain value in sixteenths.
    float value(bool raw) { return raw ? f32() : i16() / 16.0f; }
    size_t left() const { return m_size - std::min(m_pos, m_size); }

private:
    const uint8_t *m_data;
    size_t m_size;
    size_t m_pos = 0;
};

std::string readAll(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

size_t count(const std::string &text, const std::string &what)
{
    size_t n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++n;
    return n;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    Bytes in(data, size);
    const uint8_t flags = in.u8();
    const bool raw = flags & 1, sequence = flags & 2, limits = flags & 4;
    VxMachine m{};
    m.size = (flags & 8) ? in.u8() : static_cast<int32_t>(sizeof m);
    m.towers = raw ? in.f32() : static_cast<uint16_t>(in.i16()) / 4.0f;
    m.rootPos = in.value(raw);
    m.span = raw ? in.f32() : static_cast<uint16_t>(in.i16()) / 8.0f;
    m.feed = in.value(raw);
    m.kerfRoot = in.value(raw) / 8;
    m.kerfTip = in.value(raw) / 8;
    m.heat = in.value(raw);
    m.dwell = in.value(raw);
    const uint8_t modes = in.u8();
    m.rootSide = (modes & 1) + ((modes & 0x80) ? 5 : 0);
    m.approach = (modes >> 1) & 1;
    m.decimals = (modes >> 2) & 7;
    std::strcpy(m.axes, (modes & 0x20) ? "XYZA" : "XYUV");
    if (modes & 0x40)
        m.axes[4] = 'B'; // a fifth letter
    if (limits)
        for (float &l : m.limits)
            l = in.value(raw) * 8;

    const size_t record = sequence ? sizeof(SequencePoint) : sizeof(ContourPoint);
    const size_t n = std::min<size_t>(in.left() / (raw ? 16 : 8), 2048);
    VxArray *root = VxArrayCreate(static_cast<int32_t>(record), static_cast<int32_t>(n));
    VxArray *tip = VxArrayCreate(static_cast<int32_t>(record), static_cast<int32_t>(n));
    for (size_t i = 0; i < n; ++i) {
        for (VxArray *a : {root, tip}) {
            auto *p = static_cast<uint8_t *>(a->data) + i * record;
            const float x = in.value(raw), y = in.value(raw);
            std::memcpy(p, &x, sizeof x);
            std::memcpy(p + 4, &y, sizeof y);
        }
    }

    // tmpfs when there is one: every program is synced before its rename.
    static const std::string path =
        std::string(access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp") + "/fuzz-gcode-" + std::to_string(getpid());
    std::ofstream(path, std::ios::binary) << "previous";
    std::string name = path;
    char *namePtr = name.data();
    const int32_t r = sequence ? Pt2GCode(&root, &tip, &namePtr, &m) : EcrireGCode(&root, &tip, &namePtr, &m);
    if (root->locks != 0 || tip->locks != 0)
        std::abort();
    const std::string text = readAll(path);
    if (r < 0) {
        if (text != "previous")
            std::abort();
    } else {
        std::string lower = text;
        std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
        if (lower.find("nan") != std::string::npos || lower.find("inf") != std::string::npos)
            std::abort();
        if (count(text, "\nG1 ") != static_cast<size_t>(r) || !text.ends_with("M2\r\n") ||
            count(text, "\n") != count(text, "\r\n"))
            std::abort();
        // Every feed is a positive number.
        for (size_t at = text.find(" F"); at != std::string::npos; at = text.find(" F", at + 1))
            if (!(std::strtod(text.c_str() + at + 2, nullptr) > 0))
                std::abort();
    }
    VxArrayDestroy(root);
    VxArrayDestroy(tip);
    return 0;
}
