// Shared pieces of the vextra command-line tool.
#pragma once

#include "vextra.h"

#include <string>
#include <vector>

namespace cli {

// An array descriptor owned by the tool.
class Array {
public:
    explicit Array(int32_t elemSize) : m_array(VxArrayCreate(elemSize, 0)) {}
    ~Array() { VxArrayDestroy(m_array); }
    Array(const Array &) = delete;
    Array &operator=(const Array &) = delete;
    VxArray **ref() { return &m_array; }
    template <typename T> T *data() const { return static_cast<T *>(m_array->data); }
    int32_t count() const { return m_array->count; }

private:
    VxArray *m_array;
};

struct Drawing {
    int32_t count = 0;
    float width = 0, height = 0;
    std::string title;
};

// A number written with "." whatever the locale, the whole argument, finite.
bool parseFloat(const std::string &text, float &out);
bool parseInt(const std::string &text, int32_t &out);

// Prints "vextra : <what> : <meaning> (<code>)" to stderr and returns 1.
int fail(const std::string &what, int32_t code);
int usage(const std::string &message);
const char *codeMeaning(int32_t code);

// Reads any handled format into ContourPoint records; the library's result.
int32_t readFile(const std::string &path, Array &points, Drawing &drawing);
int32_t writeFile(const std::string &path, Array &points, const std::string &title);

// Contour boundaries (first index of each contour, then the count).
std::vector<int32_t> contourStarts(const ContourPoint *points, int32_t count);
std::string tagText(const ContourPoint &p);

// A sub-command: name, one-line synopsis, and its entry point.
struct Command {
    const char *name;
    const char *synopsis;
    int (*run)(const std::vector<std::string> &args);
};
const std::vector<Command> &commands();

int runInfo(const std::vector<std::string> &args);
int runConvert(const std::vector<std::string> &args);
int run3d(const std::vector<std::string> &args);
int runSmooth(const std::vector<std::string> &args);
int runClean(const std::vector<std::string> &args);
int runOffset(const std::vector<std::string> &args);
int runOrganize(const std::vector<std::string> &args);
int runText(const std::vector<std::string> &args);
int runGCode(const std::vector<std::string> &args);

} // namespace cli
