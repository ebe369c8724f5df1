// The program's binding to the Vextra library: loaded by name at its first
// use, its exports resolved one by one, and typed calls over owned arrays.
#pragma once

#include "core/notice.h"
#include "vextra.h"

#include <QString>

#include <cstring>
#include <memory>
#include <span>
#include <utility>
#include <vector>

namespace orv {

class VextraLibrary;

// What the typed calls return when the library could not be loaded; the
// library itself never returns it.
inline constexpr int32_t kVextraUnavailable = -1000;

// A VxArray owned by the program: made and freed by the library's own array
// helpers, since the library frees and reallocates the data of arrays it
// fills. Move-only; the library must outlive it.
template <typename T> class VxBuffer {
public:
    explicit VxBuffer(const VextraLibrary &library, int32_t count = 0);
    ~VxBuffer() { reset(); }
    VxBuffer(VxBuffer &&other) noexcept
        : m_destroy(other.m_destroy), m_create(other.m_create), m_array(std::exchange(other.m_array, nullptr))
    {
    }
    VxBuffer &operator=(VxBuffer &&other) noexcept
    {
        if (this != &other) {
            reset();
            m_destroy = other.m_destroy;
            m_create = other.m_create;
            m_array = std::exchange(other.m_array, nullptr);
        }
        return *this;
    }
    VxBuffer(const VxBuffer &) = delete;
    VxBuffer &operator=(const VxBuffer &) = delete;

    bool isValid() const { return m_array != nullptr; }
    int32_t count() const { return m_array ? m_array->count : 0; }
    T *data() { return m_array ? static_cast<T *>(m_array->data) : nullptr; }
    const T *data() const { return m_array ? static_cast<const T *>(m_array->data) : nullptr; }
    std::span<T> elements() { return {data(), size_t(count())}; }
    std::span<const T> elements() const { return {data(), size_t(count())}; }
    T &operator[](int32_t i) { return data()[i]; }
    const T &operator[](int32_t i) const { return data()[i]; }
    std::vector<T> toVector() const { return {elements().begin(), elements().end()}; }

    // Makes the array hold a copy of these records; false when out of memory
    // (the array is then empty).
    bool replace(std::span<const T> records)
    {
        reset();
        m_array = m_create ? m_create(int32_t(sizeof(T)), int32_t(records.size())) : nullptr;
        if (!m_array)
            return false;
        if (!records.empty())
            std::memcpy(m_array->data, records.data(), records.size_bytes());
        return true;
    }
    // Frees the array now.
    void reset()
    {
        if (m_array && m_destroy)
            m_destroy(m_array);
        m_array = nullptr;
    }
    // For the library's calls: the address of the descriptor pointer, which
    // a reader may also set when the array was never made.
    VxArray **ref() { return &m_array; }

private:
    using DestroyFn = void (*)(VxArray *);
    using CreateFn = VxArray *(*)(int32_t, int32_t);
    DestroyFn m_destroy = nullptr;
    CreateFn m_create = nullptr;
    VxArray *m_array = nullptr;
};

using ContourArray = VxBuffer<ContourPoint>;

struct Bounds {
    float xMin = 0;
    float xMax = 0;
    float yMin = 0;
    float yMax = 0;
};

class VextraLibrary {
public:
    static constexpr const char *kFileName = "libvextra.so.0";

    // The program's copy, loaded at the first call: first the file beside the
    // executable, then the system's library paths. Never unloaded.
    static VextraLibrary &shared();
    // Exactly this file (tests, and a copy placed elsewhere).
    static std::unique_ptr<VextraLibrary> open(const QString &path);
    ~VextraLibrary();
    VextraLibrary(const VextraLibrary &) = delete;
    VextraLibrary &operator=(const VextraLibrary &) = delete;

    bool isLoaded() const { return m_loaded; }
    // Why it is not loaded, in French, ready for a message box; empty when
    // loaded. The program then ends.
    const QString &errorText() const { return m_error; }
    Notice errorNotice() const;

    int32_t version() const;
    // Reads a contour file. The title buffer is `title` padded with spaces to
    // 260 characters (the reader overwrites it); on return `title` holds the
    // buffer decoded and trimmed of spaces.
    int32_t lireFichier(const QString &path, QString &title, ContourArray &points, Bounds &bounds) const;
    int32_t ecrireFichier(ContourArray &points, const QString &path, const QString &title) const;
    int32_t ecrireFichier3D(ContourArray &first, ContourArray &second, const QString &path, float span) const;
    // Smooths the points in place: the new count, or a negative code with the
    // points unchanged.
    int32_t lissageSequence(std::vector<ContourPoint> &points) const;
    // The G-code writer came later than the other exports: a library without
    // it still runs the program, and ecrireGCode then returns kVextraUnavailable.
    bool hasGCode() const { return m_loaded && m_ecrireGCode; }
    int32_t ecrireGCode(ContourArray &root, ContourArray &tip, const QString &path, const VxMachine &machine) const;

private:
    template <typename> friend class VxBuffer;
    VextraLibrary() = default;
    bool bind(void *handle, const QString &where);

    void *m_handle = nullptr;
    bool m_loaded = false;
    QString m_error;
    int32_t (*m_version)() = nullptr;
    int32_t (*m_lireFichier)(VxArray **, char **, float *, float *, float *, float *, char **) = nullptr;
    int32_t (*m_ecrireFichier)(VxArray **, char **, char **) = nullptr;
    int32_t (*m_ecrireFichier3D)(VxArray **, VxArray **, char **, float *) = nullptr;
    int32_t (*m_lissageSequence)(VxArray **) = nullptr;
    int32_t (*m_ecrireGCode)(VxArray **, VxArray **, char **, const VxMachine *) = nullptr;
    VxArray *(*m_arrayCreate)(int32_t, int32_t) = nullptr;
    void (*m_arrayDestroy)(VxArray *) = nullptr;
};

template <typename T>
VxBuffer<T>::VxBuffer(const VextraLibrary &library, int32_t count)
    : m_destroy(library.m_arrayDestroy), m_create(library.m_arrayCreate)
{
    if (m_create)
        m_array = m_create(int32_t(sizeof(T)), count);
}

} // namespace orv
