// The project comment: shown and hidden with its title, at most 256
// characters typed or pasted, white while it is being edited.
#include "editor_test_support.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPlainTextEdit>

using namespace orvtest;

namespace {

class Comment : public WindowTest {
protected:
    void typeLetter(QWidget *box, QChar letter)
    {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, QString(letter));
        QApplication::sendEvent(box, &press);
    }
    QColor background() { return ui().txtCommentaire->palette().color(QPalette::Base); }
};

} // namespace

TEST_F(Comment, TheCheckBoxShowsAndHidesBothBoxesAndTheTextStays)
{
    start();
    EXPECT_FALSE(ui().chkVoirCommentaires->isChecked());
    EXPECT_FALSE(ui().txtCommentaire->isVisibleTo(&window()));
    EXPECT_FALSE(ui().txtTitreCommentaire->isVisibleTo(&window()));
    EXPECT_EQ(ui().txtTitreCommentaire->text(),
              QStringLiteral("Commentaires - Explications (256 caractères maxi)"));
    EXPECT_EQ(ui().txtTitreCommentaire->toolTip(), QStringLiteral("Cliquer pour modifier"));
    EXPECT_EQ(ui().chkVoirCommentaires->text(), QStringLiteral("Bla - bla"));

    ui().chkVoirCommentaires->setChecked(true);
    EXPECT_TRUE(ui().txtCommentaire->isVisibleTo(&window()));
    EXPECT_TRUE(ui().txtTitreCommentaire->isVisibleTo(&window()));
    ui().txtCommentaire->setTextCrLf(QStringLiteral("ligne 1\r\nligne 2"));
    ui().chkVoirCommentaires->setChecked(false);
    EXPECT_FALSE(ui().txtCommentaire->isVisibleTo(&window()));
    EXPECT_FALSE(ui().txtTitreCommentaire->isVisibleTo(&window()));
    ui().chkVoirCommentaires->setChecked(true);
    EXPECT_EQ(ui().txtCommentaire->textCrLf(), QStringLiteral("ligne 1\r\nligne 2"));
}

TEST_F(Comment, PastingMoreThan256CharactersKeepsTheFirst256WithTheCaretAtTheEnd)
{
    start();
    ui().chkVoirCommentaires->setChecked(true);
    QString text;
    for (int i = 0; i < 300; ++i)
        text += QChar(u'a' + i % 26);
    QApplication::clipboard()->setText(text);
    ui().txtCommentaire->paste();
    if (ui().txtCommentaire->toPlainText().isEmpty()) // no clipboard on this platform
        ui().txtCommentaire->insertPlainText(text);
    EXPECT_EQ(ui().txtCommentaire->textCrLf(), text.left(256));
    EXPECT_EQ(ui().txtCommentaire->textCursor().position(), 256);
}

TEST_F(Comment, AFullBoxTakesNoMoreLetters)
{
    start();
    ui().chkVoirCommentaires->setChecked(true);
    const QString full(256, u'z');
    ui().txtCommentaire->setTextCrLf(full);
    ui().txtCommentaire->setFocus();
    typeLetter(ui().txtCommentaire, u'x');
    EXPECT_EQ(ui().txtCommentaire->textCrLf(), full);

    ui().txtCommentaire->setTextCrLf(full.left(255));
    QTextCursor end = ui().txtCommentaire->textCursor();
    end.movePosition(QTextCursor::End);
    ui().txtCommentaire->setTextCursor(end);
    typeLetter(ui().txtCommentaire, u'x');
    EXPECT_EQ(ui().txtCommentaire->textCrLf(), full.left(255) + u'x');
}

TEST_F(Comment, TheBoxIsWhiteWhileEditedAndReturnsToTheButtonColour)
{
    start();
    ui().chkVoirCommentaires->setChecked(true);
    const QColor face = ui().txtCommentaire->palette().color(QPalette::Button);
    EXPECT_EQ(background(), face);
    QWidget *viewport = ui().txtCommentaire->viewport();
    QMouseEvent click(QEvent::MouseButtonPress, QPointF(5, 5), viewport->mapToGlobal(QPointF(5, 5)),
                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &click);
    EXPECT_EQ(background(), QColor(255, 255, 255));
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(ui().txtCommentaire, &out);
    EXPECT_EQ(background(), face);
}
