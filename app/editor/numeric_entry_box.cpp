#include "editor/numeric_entry_box.h"

#include "editor/widgets.h"
#include "platform/platform.h"

#include <QLocale>

#include <memory>

namespace orv::entry {

bool validate(Platform &platform, NumericBox *box, const QString &title)
{
    if (isDecimal(box->text().toStdString()))
        return true;
    platform.messageBox(QString::fromUtf8(kMsgNotDecimal.data(), static_cast<qsizetype>(kMsgNotDecimal.size())), title,
                        MessageStyle::CriticalOk);
    box->selectAllText();
    return false;
}

float parse(const QString &text)
{
    const QLocale locale = QLocale::system();
    const std::string decimal = locale.decimalPoint().toStdString();
    const std::string group = locale.groupSeparator().toStdString();
    return static_cast<float>(parseLenient(text.toStdString(), decimal, group.empty() ? std::string(" ") : group));
}

void write(QLineEdit *box, double value, std::string_view pattern)
{
    box->setText(QString::fromStdString(formatForBox(value, pattern)));
}

void bind(NumericBox *box, Platform &platform, Binding binding)
{
    auto b = std::make_shared<Binding>(std::move(binding));
    QObject::connect(box, &NumericBox::enterReleased, box, [box, &platform, b] {
        if (validate(platform, box, b->errorTitle) && b->confirmed)
            b->confirmed();
    });
    QObject::connect(box, &NumericBox::lostFocus, box, [box, b] {
        if (b->shown)
            write(box, b->shown(), b->pattern);
    });
}

} // namespace orv::entry
