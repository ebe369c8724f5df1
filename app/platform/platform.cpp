// The message box styles shared by the Qt implementation and the test double.
#include "platform/platform.h"

namespace orv {

NoticeIcon iconOf(MessageStyle style)
{
    switch (style) {
    case MessageStyle::CriticalOk:
        return NoticeIcon::Critical;
    case MessageStyle::InformationOk:
        return NoticeIcon::Information;
    case MessageStyle::PlainOk:
        return NoticeIcon::None;
    case MessageStyle::ExclamationYesNo:
    case MessageStyle::ExclamationYesNoCancel:
        return NoticeIcon::Exclamation;
    case MessageStyle::QuestionYesNo:
        return NoticeIcon::Question;
    }
    return NoticeIcon::None;
}

std::vector<MessageButton> buttonsOf(MessageStyle style)
{
    switch (style) {
    case MessageStyle::CriticalOk:
    case MessageStyle::InformationOk:
    case MessageStyle::PlainOk:
        return {MessageButton::Ok};
    case MessageStyle::ExclamationYesNo:
    case MessageStyle::QuestionYesNo:
        return {MessageButton::Yes, MessageButton::No};
    case MessageStyle::ExclamationYesNoCancel:
        return {MessageButton::Yes, MessageButton::No, MessageButton::Cancel};
    }
    return {MessageButton::Ok};
}

MessageButton escapeAnswerOf(MessageStyle style)
{
    // Closing a question never answers Yes.
    const auto buttons = buttonsOf(style);
    return buttons.size() == 1 ? buttons.front() : buttons.back();
}

MessageStyle styleFor(NoticeIcon icon)
{
    switch (icon) {
    case NoticeIcon::Critical:
        return MessageStyle::CriticalOk;
    case NoticeIcon::Information:
        return MessageStyle::InformationOk;
    case NoticeIcon::Exclamation:
        return MessageStyle::ExclamationYesNo;
    case NoticeIcon::Question:
        return MessageStyle::QuestionYesNo;
    case NoticeIcon::None:
        return MessageStyle::PlainOk;
    }
    return MessageStyle::PlainOk;
}

MessageButton Platform::messageBox(const Notice &notice)
{
    return showMessage(QString::fromStdString(notice.text), QString::fromStdString(notice.title),
                       styleFor(notice.icon));
}

} // namespace orv
