#include "test_support.h"

#include <atomic>
#include <cstring>
#include <sstream>
#include <unistd.h>

namespace vxtest {

TempDir::TempDir()
{
    static std::atomic<int> counter{0};
    m_dir = std::filesystem::temp_directory_path() /
            ("vextra-test-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
    std::filesystem::remove_all(m_dir);
    std::filesystem::create_directories(m_dir);
}

TempDir::~TempDir()
{
    std::error_code ec;
    std::filesystem::remove_all(m_dir, ec);
}

std::string TempDir::write(const std::string &name, const std::string &bytes) const
{
    const std::string p = path(name);
    std::ofstream(p, std::ios::binary) << bytes;
    return p;
}

std::string readBytes(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

Read lire(const std::string &path, bool wantTitle)
{
    Read r;
    Array a(sizeof(ContourPoint));
    std::string name = path;
    std::string title(255, ' ');
    char *namePtr = name.data();
    char *titlePtr = title.data();
    r.result = LireFichier(a.ref(), &namePtr, &r.xMin, &r.xMax, &r.yMin, &r.yMax, wantTitle ? &titlePtr : nullptr);
    r.points = a.items<ContourPoint>();
    title.resize(std::strlen(title.c_str()));
    const size_t end = title.find_last_not_of(' ');
    r.title = end == std::string::npos ? std::string() : title.substr(0, end + 1);
    return r;
}

SeqRead file2seq(const std::string &path)
{
    SeqRead r;
    Array a(sizeof(SequencePoint));
    std::string name = path;
    std::string title(255, ' ');
    char *namePtr = name.data();
    char *titlePtr = title.data();
    float x0, x1, y0, y1;
    r.result = File2Seq(a.ref(), &namePtr, &x0, &x1, &y0, &y1, &titlePtr);
    r.points = a.items<SequencePoint>();
    return r;
}

std::string tag(const ContourPoint &p)
{
    return {static_cast<char>(p.Tag[0] & 0xFF), static_cast<char>(p.Tag[1] & 0xFF)};
}

std::string pen(const ContourPoint &p)
{
    return {static_cast<char>(p.Pen[0] & 0xFF), static_cast<char>(p.Pen[1] & 0xFF)};
}

ContourPoint contourPoint(float x, float y, const char *t, const char *pn)
{
    ContourPoint p{};
    p.X = x;
    p.Y = y;
    p.Pen[0] = static_cast<unsigned char>(pn[0]);
    p.Pen[1] = static_cast<unsigned char>(pn[1]);
    p.Tag[0] = static_cast<unsigned char>(t[0]);
    p.Tag[1] = static_cast<unsigned char>(t[1]);
    return p;
}

int contourCount(const std::vector<ContourPoint> &pts)
{
    int n = 0;
    for (size_t i = 0; i < pts.size(); ++i)
        if (i == 0 || tag(pts[i]) != tag(pts[i - 1]))
            ++n;
    return n;
}

double doubleArea(const std::vector<ContourPoint> &pts, size_t from, size_t to)
{
    double a = 0;
    for (size_t i = from + 1; i < to; ++i)
        a += static_cast<double>(pts[i - 1].X) * pts[i].Y - static_cast<double>(pts[i - 1].Y) * pts[i].X;
    return a;
}

} // namespace vxtest
