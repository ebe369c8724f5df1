#include "readers/readers.h"

#include "foundation/text_input.h"

#include <algorithm>
#include <cstring>

namespace vx {

namespace {
constexpr size_t kTitleLength = 255;

const Format kFormats[] = {
    {".dat", readDat, false},   {".dxf", readDxf, true},     {".plt", readHpgl, true},
    {".prn", readHpgl, true},   {".hpgl", readHpgl, true},   {".drd", readDrill, true},
    {".drl", readDrill, true},  {".eps", readEps, true},     {".svg", readSvg, true},
};
} // namespace

TitleBuffer::TitleBuffer(char **title)
{
    if (title && *title) {
        m_buffer = *title;
        m_capacity = std::strlen(m_buffer);
    }
}

bool TitleBuffer::blank() const
{
    if (!m_buffer || m_capacity < kTitleLength)
        return false;
    for (size_t i = 0; i < kTitleLength; ++i)
        if (m_buffer[i] != ' ')
            return false;
    return true;
}

void TitleBuffer::overwrite(std::string_view text)
{
    if (!m_buffer)
        return;
    std::memcpy(m_buffer, text.data(), std::min(text.size(), m_capacity));
}

void TitleBuffer::assign(std::string_view text)
{
    if (!m_buffer || m_capacity == 0)
        return;
    const size_t n = std::min(text.size(), m_capacity - 1);
    std::memcpy(m_buffer, text.data(), n);
    m_buffer[n] = '\0';
}

const Format *formatFor(std::string_view fileName)
{
    const size_t slash = fileName.find_last_of("/\\");
    const size_t dot = fileName.rfind('.');
    if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash))
        return nullptr;
    const std::string_view ext = fileName.substr(dot);
    for (const Format &f : kFormats)
        if (equalsNoCase(ext, f.extension))
            return &f;
    return nullptr;
}

} // namespace vx
