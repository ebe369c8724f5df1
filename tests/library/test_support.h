// Helpers shared by the library tests: temporary files and calls through the
// exported interface.
#pragma once

#include "vextra.h"

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace vxtest {

inline std::string fixture(const std::string &relative) { return std::string(ORVALIS_FIXTURES) + "/" + relative; }

// A folder of its own for each test, removed afterwards.
class TempDir {
public:
    TempDir();
    ~TempDir();
    std::string path(const std::string &name) const { return (m_dir / name).string(); }
    std::string write(const std::string &name, const std::string &bytes) const;

private:
    std::filesystem::path m_dir;
};

std::string readBytes(const std::string &path);

struct Read {
    int32_t result = 0;
    std::vector<ContourPoint> points;
    float xMin = -1, xMax = -1, yMin = -1, yMax = -1;
    std::string title; // the title buffer after the call, trailing spaces removed
};

// LireFichier with a fresh array and a title buffer of 255 spaces.
Read lire(const std::string &path, bool wantTitle = true);

struct SeqRead {
    int32_t result = 0;
    std::vector<SequencePoint> points;
};
SeqRead file2seq(const std::string &path);

std::string tag(const ContourPoint &p);
std::string pen(const ContourPoint &p);
ContourPoint contourPoint(float x, float y, const char *tag = " A", const char *pen = "PD");

// Number of contours (changes of Tag) in a read.
int contourCount(const std::vector<ContourPoint> &pts);

// Twice the signed area of records [from, to).
double doubleArea(const std::vector<ContourPoint> &pts, size_t from, size_t to);

// An array descriptor owned by a test.
class Array {
public:
    explicit Array(int32_t elemSize, int32_t count = 0) : m_array(VxArrayCreate(elemSize, count)) {}
    template <typename T> explicit Array(const std::vector<T> &items) : m_array(VxArrayCreate(sizeof(T), 0))
    {
        assign(items);
    }
    ~Array() { VxArrayDestroy(m_array); }
    Array(const Array &) = delete;
    Array &operator=(const Array &) = delete;
    VxArray **ref() { return &m_array; }
    VxArray *get() const { return m_array; }
    template <typename T> void assign(const std::vector<T> &items)
    {
        VxArrayDestroy(m_array);
        m_array = VxArrayCreate(sizeof(T), static_cast<int32_t>(items.size()));
        for (size_t i = 0; i < items.size(); ++i)
            static_cast<T *>(m_array->data)[i] = items[i];
    }
    template <typename T> std::vector<T> items() const
    {
        if (!m_array || !m_array->data)
            return {};
        const T *p = static_cast<const T *>(m_array->data);
        return std::vector<T>(p, p + m_array->count);
    }

private:
    VxArray *m_array;
};

} // namespace vxtest
