#include "widgets.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTextCursor>

namespace orv {

bool keyPassesFilter(KeyFilter filter, QChar c)
{
    if (filter == KeyFilter::None)
        return true;
    if (c.isDigit() && c.unicode() < 128)
        return true;
    if (c == QLatin1Char(',') || c == QLatin1Char('.') || c == QChar(8) || c == QChar(13))
        return true;
    return filter == KeyFilter::Signed && c == QLatin1Char('-');
}

NumericBox::NumericBox(KeyFilter filter, QWidget *parent) : QLineEdit(parent), m_filter(filter) {}

void NumericBox::selectAllText() { setSelection(0, static_cast<int>(text().size())); }

void NumericBox::keyPressEvent(QKeyEvent *event)
{
    // Only printable characters are filtered: moving the caret, deleting and
    // the clipboard shortcuts keep working.
    const QString t = event->text();
    const bool shortcut = event->modifiers() & (Qt::ControlModifier | Qt::AltModifier);
    if (!shortcut && t.size() == 1 && t[0].isPrint() && !keyPassesFilter(m_filter, t[0])) {
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void NumericBox::keyReleaseEvent(QKeyEvent *event)
{
    QLineEdit::keyReleaseEvent(event);
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && !event->isAutoRepeat())
        emit enterReleased();
}

void NumericBox::focusOutEvent(QFocusEvent *event)
{
    QLineEdit::focusOutEvent(event);
    // A message box or a menu taking the focus is not leaving the box.
    if (event->reason() != Qt::ActiveWindowFocusReason && event->reason() != Qt::PopupFocusReason)
        emit lostFocus();
}

void ClickableLabel::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        emit clicked();
    QLabel::mousePressEvent(event);
}

CommentBox::CommentBox(int limit, QWidget *parent) : QPlainTextEdit(parent), m_limit(limit)
{
    connect(this, &QPlainTextEdit::textChanged, this, &CommentBox::enforceLimit);
    setEditing(false);
}

QString CommentBox::textCrLf() const
{
    QString t = toPlainText();
    t.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return t;
}

void CommentBox::setTextCrLf(const QString &text)
{
    QString t = text;
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    setPlainText(t);
}

void CommentBox::keyPressEvent(QKeyEvent *event)
{
    // A full box takes no more characters; line breaks count as two (CR LF).
    const QString t = event->text();
    const bool typing = !t.isEmpty() && (t[0].isPrint() || t[0] == QLatin1Char('\r')) &&
                        !(event->modifiers() & Qt::ControlModifier);
    if (typing && textCrLf().size() >= m_limit && !textCursor().hasSelection()) {
        event->accept();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void CommentBox::enforceLimit()
{
    if (m_cutting)
        return;
    const QString t = textCrLf();
    if (t.size() <= m_limit)
        return;
    m_cutting = true;
    QString cut = t.left(m_limit);
    if (cut.endsWith(QLatin1Char('\r')))
        cut.chop(1);
    setTextCrLf(cut);
    QTextCursor c = textCursor();
    c.movePosition(QTextCursor::End);
    setTextCursor(c);
    m_cutting = false;
}

void CommentBox::setEditing(bool editing)
{
    QPalette p = palette();
    p.setColor(QPalette::Base, editing ? QColor(255, 255, 255) : palette().color(QPalette::Button));
    setPalette(p);
}

void CommentBox::mousePressEvent(QMouseEvent *event)
{
    setEditing(true);
    QPlainTextEdit::mousePressEvent(event);
}

void CommentBox::focusOutEvent(QFocusEvent *event)
{
    QPlainTextEdit::focusOutEvent(event);
    if (event->reason() != Qt::ActiveWindowFocusReason && event->reason() != Qt::PopupFocusReason)
        setEditing(false);
}

} // namespace orv
