// The scripted Platform for tests: it answers dialogs from queues, records
// every message and dialog request word for word, and fires timers only when
// the test says so.
#pragma once

#include "platform/platform.h"

#include <deque>
#include <stdexcept>

namespace orv {

struct RecordedMessage {
    QString text;
    QString title;
    MessageStyle style;
    NoticeIcon icon;
    std::vector<MessageButton> buttons;
    MessageButton answer; // what the double answered
};

struct RecordedDialog {
    FileDialogKind kind;
    QString title;
    QString filter;
    int filterIndex;
    QString fileName;
    QString folder;
    bool overwritePrompt;
};

class TestPlatform;

// A timer of the double: it fires through TestPlatform::advance() or fire().
class TestTimer : public Timer {
public:
    ~TestTimer() override;
    void start() override;
    void stop() override;
    bool isActive() const override;
    void setInterval(int ms) override;
    int interval() const override;

    const QString &name() const;
    bool isSingleShot() const;
    // Runs the callback now as if the interval had passed; a stopped timer
    // does nothing. A single-shot timer stops first.
    void fire();

private:
    friend class TestPlatform;
    struct State;
    explicit TestTimer(std::shared_ptr<State> state);
    std::shared_ptr<State> m_state;
};

class TestPlatform : public Platform {
public:
    TestPlatform();
    ~TestPlatform() override;

    // Answers, used in order. An empty message queue answers the style's
    // first button; an empty dialog queue answers Cancel. A queued answer
    // that the box does not offer throws std::logic_error.
    void queueAnswer(MessageButton answer);
    void queueFile(const QString &path, int filterIndex = 1);
    void queueCancel();
    std::size_t pendingAnswers() const { return m_answers.size(); }
    std::size_t pendingFiles() const { return m_files.size(); }

    const std::vector<RecordedMessage> &messages() const { return m_messages; }
    const std::vector<RecordedDialog> &dialogs() const { return m_dialogs; }
    int helpRequests() const { return m_helpRequests; }
    struct StartedProgram {
        QString program;
        QStringList arguments;
    };
    const std::vector<StartedProgram> &startedPrograms() const { return m_started; }
    void clearRecords();

    void setCtrlDown(bool down) { m_ctrl = down; }
    void setShiftDown(bool down) { m_shift = down; }
    void setSystemInfoTool(const QString &path) { m_systemInfoTool = path; }
    void setProgramsStart(bool start) { m_programsStart = start; }

    // Live timers in creation order, or the first live one of that name.
    std::vector<TestTimer *> timers() const;
    TestTimer *timer(const QString &name) const;
    // Moves the clock on by ms and fires every active timer whose time comes,
    // in the order of their times (creation order for equal times).
    void advance(qint64 ms);

    std::optional<FileChoice> openFileDialog(const FileDialogRequest &request) override;
    std::optional<FileChoice> saveFileDialog(const FileDialogRequest &request) override;
    void showHelp() override { ++m_helpRequests; }
    bool isCtrlDown() const override { return m_ctrl; }
    bool isShiftDown() const override { return m_shift; }
    std::unique_ptr<Timer> createTimer(int intervalMs, std::function<void()> onTimeout,
                                       TimerMode mode = TimerMode::Repeating,
                                       const QString &name = {}) override;
    qint64 clockMs() const override { return *m_clock; }
    bool startProgram(const QString &program, const QStringList &arguments = {}) override;
    QString findSystemInfoTool() const override { return m_systemInfoTool; }

protected:
    MessageButton showMessage(const QString &prompt, const QString &title, MessageStyle style) override;

private:
    std::optional<FileChoice> dialog(FileDialogKind kind, const FileDialogRequest &request);

    std::deque<MessageButton> m_answers;
    struct QueuedFile {
        bool cancel;
        FileChoice choice;
    };
    std::deque<QueuedFile> m_files;
    std::vector<RecordedMessage> m_messages;
    std::vector<RecordedDialog> m_dialogs;
    std::vector<StartedProgram> m_started;
    std::vector<std::weak_ptr<TestTimer::State>> m_timers;
    std::shared_ptr<qint64> m_clock;
    std::size_t m_created = 0;
    int m_helpRequests = 0;
    bool m_ctrl = false;
    bool m_shift = false;
    bool m_programsStart = true;
    QString m_systemInfoTool;
};

} // namespace orv
