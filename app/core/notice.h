// A message that a command wants shown to the user: the windows hand it to
// the platform's message box. Texts are UTF-8 and French.
#pragma once

#include <optional>
#include <string>

namespace orv {

enum class NoticeIcon { Critical, Information, Exclamation, Question, None };

struct Notice {
    std::string text;  // lines joined by "\r\n"
    std::string title;
    NoticeIcon icon = NoticeIcon::Critical;
    friend bool operator==(const Notice &, const Notice &) = default;
};

inline Notice critical(std::string text, std::string title)
{
    return {std::move(text), std::move(title), NoticeIcon::Critical};
}

inline Notice information(std::string text, std::string title)
{
    return {std::move(text), std::move(title), NoticeIcon::Information};
}

} // namespace orv
