// Small widgets with the event rules the handlers rely on: numeric boxes with
// their key filter, Enter-release and focus-out signals; clickable labels.
#pragma once

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace orv {

enum class KeyFilter { None, Unsigned, Signed };

// A text box for numbers: typed characters outside the filter are swallowed,
// releasing Enter emits enterReleased(), leaving the box for another control
// emits lostFocus() (not when a message box takes the focus).
class NumericBox : public QLineEdit {
    Q_OBJECT
public:
    explicit NumericBox(KeyFilter filter, QWidget *parent = nullptr);
    KeyFilter filter() const { return m_filter; }
    // Selects the whole text, as after a refused entry.
    void selectAllText();

signals:
    void enterReleased();
    void lostFocus();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    KeyFilter m_filter;
};

// True when the typed character passes the filter (Backspace and Enter always do).
bool keyPassesFilter(KeyFilter filter, QChar c);

class ClickableLabel : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;
signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent *event) override;
};

// The comment box: at most `limit` characters, typed or pasted; it shows a
// white background while it is being edited.
class CommentBox : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit CommentBox(int limit, QWidget *parent = nullptr);
    // The text with its lines joined by CR LF.
    QString textCrLf() const;
    void setTextCrLf(const QString &text);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    void enforceLimit();
    void setEditing(bool editing);
    int m_limit;
    bool m_cutting = false;
};

} // namespace orv
