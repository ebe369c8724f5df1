// Number formatting, record access and the checked output file of the writers.
#include "writers/writer_common.h"

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vx {

namespace {
constexpr size_t kFlushAt = 1 << 16;
} // namespace

void appendFixed(std::string &out, double v)
{
    // to_chars prints what printf("%f") prints in the C locale, exactly
    // rounded, and never looks at the locale. 400 bytes hold DBL_MAX.
    char buf[400];
    const auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, 6);
    out.append(buf, r.ec == std::errc() ? static_cast<size_t>(r.ptr - buf) : 0);
}

std::string formatFixed(double v)
{
    std::string s;
    appendFixed(s, v);
    return s;
}

bool RecordView::startsContour(size_t i) const
{
    if (i == 0)
        return true;
    if (m_sequence)
        return m_sequence[i].Sequence != m_sequence[i - 1].Sequence;
    // Only the low byte of each character is read.
    const ContourPoint &a = m_contour[i - 1];
    const ContourPoint &b = m_contour[i];
    return (a.Tag[0] & 0xFF) != (b.Tag[0] & 0xFF) || (a.Tag[1] & 0xFF) != (b.Tag[1] & 0xFF);
}

OutputFile::~OutputFile() { discard(); }

bool OutputFile::open(const char *target)
{
    if (!target || !*target)
        return false;
    m_target = target;
    // Replacing a link would cut it: write beside the file it names.
    struct stat st;
    if (::lstat(target, &st) == 0 && S_ISLNK(st.st_mode)) {
        if (char *real = ::realpath(target, nullptr)) {
            m_target = real;
            std::free(real);
        }
    }
    // A short hidden name in the target's folder: rename stays within one
    // file system, and a long target name cannot make it too long.
    const size_t slash = m_target.rfind('/');
    const std::string folder = slash == std::string::npos ? std::string() : m_target.substr(0, slash + 1);
    static unsigned counter = 0;
    for (int attempt = 0; attempt < 100; ++attempt) {
        char name[64];
        std::snprintf(name, sizeof name, ".~vextra-%ld-%u.tmp", static_cast<long>(::getpid()), ++counter);
        m_temp = folder + name;
        m_fd = ::open(m_temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (m_fd >= 0 || errno != EEXIST)
            break;
    }
    if (m_fd < 0) {
        m_temp.clear();
        return false;
    }
    // A file that is replaced keeps its permissions.
    if (::stat(m_target.c_str(), &st) == 0 && S_ISREG(st.st_mode))
        ::fchmod(m_fd, st.st_mode & 07777);
    m_buffer.reserve(kFlushAt + 512);
    return true;
}

void OutputFile::line(std::string_view text)
{
    m_buffer.append(text);
    m_buffer.append("\r\n");
    if (m_buffer.size() >= kFlushAt)
        flush();
}

void OutputFile::numberLine(std::string_view prefix, double v)
{
    m_buffer.append(prefix);
    appendFixed(m_buffer, v);
    m_buffer.append("\r\n");
    if (m_buffer.size() >= kFlushAt)
        flush();
}

void OutputFile::flush()
{
    size_t done = 0;
    while (!m_failed && done < m_buffer.size()) {
        const ssize_t n = ::write(m_fd, m_buffer.data() + done, m_buffer.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            m_failed = true;
        else
            done += static_cast<size_t>(n);
    }
    m_buffer.clear();
}

bool OutputFile::commit()
{
    if (m_fd < 0)
        return false;
    flush();
    // Where syncing is not supported the data is as safe as it gets.
    if (!m_failed && ::fsync(m_fd) != 0 && errno != EINVAL && errno != EROFS)
        m_failed = true;
    if (::close(m_fd) != 0)
        m_failed = true;
    m_fd = -1;
    if (!m_failed && std::rename(m_temp.c_str(), m_target.c_str()) != 0)
        m_failed = true;
    if (m_failed) {
        discard();
        return false;
    }
    m_temp.clear();
    return true;
}

void OutputFile::discard()
{
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
    if (!m_temp.empty()) {
        ::unlink(m_temp.c_str());
        m_temp.clear();
    }
}

std::string_view cutTitle(char **title)
{
    if (!title || !*title)
        return {};
    char *text = *title;
    const size_t cut = std::strcspn(text, "\r\n");
    text[cut] = '\0';
    return std::string_view(text, cut);
}

} // namespace vx
