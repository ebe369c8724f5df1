// The Platform of the running program: Qt message boxes and file dialogs in
// French, the help through a handler the application registers, the real key
// state, QTimer timers and detached programs.
#pragma once

#include "platform/platform.h"

#include <QElapsedTimer>
#include <QMessageBox>

class QCoreApplication;
class QFileDialog;
class QWidget;

namespace orv {

// Installs Qt's French translation (qtbase_fr) so that standard buttons and
// file dialogs read "Oui", "Non", "Annuler", "Ouvrir". False when missing.
bool installFrenchTranslation(QCoreApplication &app);

// The filters of a "label|patterns|..." string as the file dialog uses them.
struct QtFileFilters {
    // "label (patterns)", patterns separated by spaces; "*.*" becomes "*"
    // (the older platform's "every file", which Qt reads as "names with a
    // dot"). The dialog hides the part in parentheses, so the list shows the
    // labels exactly as given.
    QStringList nameFilters;
    QStringList labels;
    // The extension a save adds to a name typed without one: that of a
    // filter with one plain "*.ext" pattern, else empty.
    QStringList suffixes;

    static QtFileFilters parse(const QString &filter);
    // The position from 1 of a filter as the dialog reports it (whole or
    // label only); 0 when unknown.
    int indexOf(const QString &selected) const;
};

// Sets up the dialog for the request (Qt's own dialog, not the desktop's, so
// that it is French, hides the filter details and behaves alike everywhere).
void configureFileDialog(QFileDialog &dialog, const FileDialogRequest &request, FileDialogKind kind);
// The chosen path and filter of an accepted dialog.
std::optional<FileChoice> fileChoiceOf(const QFileDialog &dialog, const QtFileFilters &filters);

struct MessageLook {
    QMessageBox::Icon icon;
    QMessageBox::StandardButtons buttons;
    QMessageBox::StandardButton defaultButton;
    QMessageBox::StandardButton escapeButton;
};
MessageLook messageLookOf(MessageStyle style);
// The message box of a style, not yet shown; "\r\n" in the prompt are line
// breaks, and the text is never read as markup.
std::unique_ptr<QMessageBox> makeMessageBox(const QString &prompt, const QString &title, MessageStyle style,
                                            QWidget *parent = nullptr);
MessageButton answerOf(QMessageBox::StandardButton button, MessageStyle style);

class QtPlatform : public Platform {
public:
    QtPlatform();
    ~QtPlatform() override;

    // The help window lives with the windows; they register how to open it.
    void setHelpHandler(std::function<void()> handler) { m_helpHandler = std::move(handler); }
    // F1 in any window of the application opens the help.
    void installHelpKey();

    std::optional<FileChoice> openFileDialog(const FileDialogRequest &request) override;
    std::optional<FileChoice> saveFileDialog(const FileDialogRequest &request) override;
    void showHelp() override;
    bool isCtrlDown() const override;
    bool isShiftDown() const override;
    std::unique_ptr<Timer> createTimer(int intervalMs, std::function<void()> onTimeout,
                                       TimerMode mode = TimerMode::Repeating,
                                       const QString &name = {}) override;
    qint64 clockMs() const override { return m_clock.elapsed(); }
    bool startProgram(const QString &program, const QStringList &arguments = {}) override;
    QString findSystemInfoTool() const override;

protected:
    MessageButton showMessage(const QString &prompt, const QString &title, MessageStyle style) override;

private:
    std::optional<FileChoice> runFileDialog(const FileDialogRequest &request, FileDialogKind kind);

    std::function<void()> m_helpHandler;
    std::unique_ptr<QObject> m_helpKey;
    QElapsedTimer m_clock;
};

} // namespace orv
