// The one seam through which the windows reach message boxes, file dialogs,
// the help, the key state, timers and other programs. The Qt implementation
// is QtPlatform; tests drive the windows through TestPlatform.
#pragma once

#include "core/notice.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace orv {

// The six message box styles the windows use.
enum class MessageStyle {
    CriticalOk,
    InformationOk,
    PlainOk,
    ExclamationYesNo,
    ExclamationYesNoCancel,
    QuestionYesNo,
};

enum class MessageButton { Ok, Yes, No, Cancel };

NoticeIcon iconOf(MessageStyle style);
// The buttons of a style, in the order shown; the first is the default.
std::vector<MessageButton> buttonsOf(MessageStyle style);
// The answer when the box is closed without a button (Escape, window close).
MessageButton escapeAnswerOf(MessageStyle style);
// A notice's icon picks its style: notices with an exclamation or question
// icon ask Yes/No, the others only have OK.
MessageStyle styleFor(NoticeIcon icon);

enum class FileDialogKind { Open, Save };

struct FileDialogRequest {
    QString title;
    // "label|patterns|label|patterns|...", patterns separated by ";".
    QString filter;
    int filterIndex = 1;         // from 1
    QString fileName;            // proposed file name
    QString folder;              // start folder
    bool overwritePrompt = true; // save dialogs: ask before replacing a file
};

struct FileChoice {
    QString path;
    int filterIndex = 1; // the filter selected when the dialog closed, from 1
    friend bool operator==(const FileChoice &, const FileChoice &) = default;
};

enum class TimerMode { Repeating, SingleShot };

// A window timer; created stopped. Its callback runs on the interface thread.
class Timer {
public:
    virtual ~Timer() = default;
    // Starts, or restarts, the interval from now.
    virtual void start() = 0;
    virtual void stop() = 0;
    virtual bool isActive() const = 0;
    virtual void setInterval(int ms) = 0;
    virtual int interval() const = 0;
    // The enabled state of the older toolkit: enabling a running timer does
    // not restart it.
    void setEnabled(bool enabled)
    {
        if (!enabled)
            stop();
        else if (!isActive())
            start();
    }
};

class Platform {
public:
    virtual ~Platform() = default;

    // A modal message box; returns the button pressed. Several lines of the
    // prompt are joined by "\r\n".
    MessageButton messageBox(const QString &prompt, const QString &title, MessageStyle style)
    {
        return showMessage(prompt, title, style);
    }
    MessageButton messageBox(const Notice &notice);

    // Modal file dialogs; nothing when the user cancels.
    virtual std::optional<FileChoice> openFileDialog(const FileDialogRequest &request) = 0;
    virtual std::optional<FileChoice> saveFileDialog(const FileDialogRequest &request) = 0;

    // Opens the help, as F1 does.
    virtual void showHelp() = 0;

    // Whether the key is held down now.
    virtual bool isCtrlDown() const = 0;
    virtual bool isShiftDown() const = 0;

    // The name is for tests, which find timers by it (e.g. "TimerZoom").
    virtual std::unique_ptr<Timer> createTimer(int intervalMs, std::function<void()> onTimeout,
                                               TimerMode mode = TimerMode::Repeating,
                                               const QString &name = {}) = 0;
    // Milliseconds on a monotonic clock.
    virtual qint64 clockMs() const = 0;

    // Starts another program, detached; false when it could not be started.
    virtual bool startProgram(const QString &program, const QStringList &arguments = {}) = 0;
    // The system-information program to start, or empty when there is none.
    virtual QString findSystemInfoTool() const = 0;

protected:
    virtual MessageButton showMessage(const QString &prompt, const QString &title, MessageStyle style) = 0;
};

} // namespace orv
