// The scripted platform double used by the window tests.
#include "platform/test_platform.h"

#include <algorithm>

namespace orv {

struct TestTimer::State {
    QString name;
    std::function<void()> onTimeout;
    std::shared_ptr<qint64> clock; // shared with the platform
    int interval = 0;
    bool singleShot = false;
    bool active = false;
    TestTimer *owner = nullptr; // null once the window deleted the timer
    qint64 due = 0;
    std::size_t order = 0; // creation order, for equal due times

    // A zero interval fires on every turn of the clock, never twice at once.
    qint64 step() const { return std::max(interval, 1); }
};

TestTimer::TestTimer(std::shared_ptr<State> state) : m_state(std::move(state))
{
    m_state->owner = this;
}

TestTimer::~TestTimer()
{
    m_state->owner = nullptr;
    m_state->active = false;
}

void TestTimer::start()
{
    m_state->active = true;
    m_state->due = *m_state->clock + m_state->step();
}

void TestTimer::stop()
{
    m_state->active = false;
}
bool TestTimer::isActive() const
{
    return m_state->active;
}

void TestTimer::setInterval(int ms)
{
    m_state->interval = ms;
    if (m_state->active)
        m_state->due = *m_state->clock + m_state->step();
}

int TestTimer::interval() const
{
    return m_state->interval;
}
const QString &TestTimer::name() const
{
    return m_state->name;
}
bool TestTimer::isSingleShot() const
{
    return m_state->singleShot;
}

void TestTimer::fire()
{
    // The callback may delete this timer: keep the state and callback alive.
    const std::shared_ptr<State> state = m_state;
    if (!state->active)
        return;
    if (state->singleShot)
        state->active = false;
    else
        state->due = *state->clock + state->step();
    const auto callback = state->onTimeout;
    if (callback)
        callback();
}

TestPlatform::TestPlatform() : m_clock(std::make_shared<qint64>(0)) {}
TestPlatform::~TestPlatform() = default;

void TestPlatform::queueAnswer(MessageButton answer)
{
    m_answers.push_back(answer);
}
void TestPlatform::queueFile(const QString &path, int filterIndex)
{
    m_files.push_back({false, FileChoice{path, filterIndex}});
}
void TestPlatform::queueCancel()
{
    m_files.push_back({true, {}});
}

void TestPlatform::clearRecords()
{
    m_messages.clear();
    m_dialogs.clear();
    m_started.clear();
    m_helpRequests = 0;
}

MessageButton TestPlatform::showMessage(const QString &prompt, const QString &title, MessageStyle style)
{
    const std::vector<MessageButton> buttons = buttonsOf(style);
    MessageButton answer = buttons.front();
    if (!m_answers.empty()) {
        answer = m_answers.front();
        m_answers.pop_front();
        if (std::find(buttons.begin(), buttons.end(), answer) == buttons.end())
            throw std::logic_error("TestPlatform: the queued answer is not a button of \"" +
                                   title.toStdString() + "\"");
    }
    m_messages.push_back({prompt, title, style, iconOf(style), buttons, answer});
    return answer;
}

std::optional<FileChoice> TestPlatform::dialog(FileDialogKind kind, const FileDialogRequest &r)
{
    m_dialogs.push_back({kind, r.title, r.filter, r.filterIndex, r.fileName, r.folder, r.overwritePrompt});
    if (m_files.empty())
        return std::nullopt;
    const QueuedFile answer = m_files.front();
    m_files.pop_front();
    if (answer.cancel)
        return std::nullopt;
    return answer.choice;
}

std::optional<FileChoice> TestPlatform::openFileDialog(const FileDialogRequest &request)
{
    return dialog(FileDialogKind::Open, request);
}

std::optional<FileChoice> TestPlatform::saveFileDialog(const FileDialogRequest &request)
{
    return dialog(FileDialogKind::Save, request);
}

std::unique_ptr<Timer> TestPlatform::createTimer(int intervalMs, std::function<void()> onTimeout,
                                                 TimerMode mode, const QString &name)
{
    auto state = std::make_shared<TestTimer::State>();
    state->name = name;
    state->onTimeout = std::move(onTimeout);
    state->clock = m_clock;
    state->interval = intervalMs;
    state->singleShot = mode == TimerMode::SingleShot;
    state->order = m_created++;
    std::erase_if(m_timers, [](const auto &weak) {
        const auto s = weak.lock();
        return !s || !s->owner;
    });
    m_timers.push_back(state);
    return std::unique_ptr<Timer>(new TestTimer(std::move(state)));
}

std::vector<TestTimer *> TestPlatform::timers() const
{
    std::vector<TestTimer *> result;
    for (const auto &weak : m_timers)
        if (const auto state = weak.lock(); state && state->owner)
            result.push_back(state->owner);
    return result;
}

TestTimer *TestPlatform::timer(const QString &name) const
{
    for (TestTimer *t : timers())
        if (t->name() == name)
            return t;
    return nullptr;
}

void TestPlatform::advance(qint64 ms)
{
    const qint64 target = *m_clock + std::max<qint64>(ms, 0);
    for (;;) {
        std::shared_ptr<TestTimer::State> next;
        for (const auto &weak : m_timers) {
            const auto s = weak.lock();
            if (!s || !s->owner || !s->active || s->due > target)
                continue;
            if (!next || s->due < next->due || (s->due == next->due && s->order < next->order))
                next = s;
        }
        if (!next)
            break;
        *m_clock = next->due;
        next->owner->fire();
    }
    *m_clock = target;
}

bool TestPlatform::startProgram(const QString &program, const QStringList &arguments)
{
    m_started.push_back({program, arguments});
    return m_programsStart;
}

} // namespace orv
