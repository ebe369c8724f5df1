// Qt implementation of the platform seam.
#include "platform/qt_platform.h"

#include "platform/system_info.h"

#include <QApplication>
#include <QFileDialog>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLibraryInfo>
#include <QProcess>
#include <QTimer>
#include <QTranslator>

namespace orv {

namespace {

QString qtPatterns(const QString &patterns)
{
    QStringList list;
    for (const QString &piece : patterns.split(u';', Qt::SkipEmptyParts)) {
        const QString pattern = piece.trimmed();
        if (!pattern.isEmpty())
            list << (pattern == QStringLiteral("*.*") ? QStringLiteral("*") : pattern);
    }
    return list.isEmpty() ? QStringLiteral("*") : list.join(u' ');
}

QString plainSuffix(const QString &patterns)
{
    const QStringList list = patterns.split(u';', Qt::SkipEmptyParts);
    if (list.size() != 1)
        return {};
    const QString pattern = list.front().trimmed();
    if (!pattern.startsWith(QStringLiteral("*.")) || pattern.size() < 3)
        return {};
    const QString suffix = pattern.mid(2);
    for (const QChar c : suffix)
        if (c == u'*' || c == u'?' || c == u'[' || c == u'.')
            return {};
    return suffix;
}

class QtTimer : public Timer {
public:
    QtTimer(int intervalMs, std::function<void()> onTimeout, TimerMode mode, const QString &name)
    {
        m_timer.setObjectName(name);
        m_timer.setInterval(intervalMs);
        m_timer.setSingleShot(mode == TimerMode::SingleShot);
        QObject::connect(&m_timer, &QTimer::timeout, [callback = std::move(onTimeout)] {
            if (callback)
                callback();
        });
    }
    void start() override { m_timer.start(); }
    void stop() override { m_timer.stop(); }
    bool isActive() const override { return m_timer.isActive(); }
    void setInterval(int ms) override { m_timer.setInterval(ms); }
    int interval() const override { return m_timer.interval(); }

private:
    QTimer m_timer;
};

// A save adds the extension of the filter selected when the user confirms;
// the dialog adds it before its overwrite prompt, so the prompt names the
// file really written.
class SuffixingFileDialog : public QFileDialog {
public:
    SuffixingFileDialog(QWidget *parent, QtFileFilters filters)
        : QFileDialog(parent), m_filters(std::move(filters))
    {
    }

    void accept() override
    {
        if (acceptMode() == AcceptSave) {
            const int i = m_filters.indexOf(selectedNameFilter());
            setDefaultSuffix(i > 0 ? m_filters.suffixes[i - 1] : QString());
        }
        QFileDialog::accept();
    }

private:
    QtFileFilters m_filters;
};

class HelpKeyFilter : public QObject {
public:
    explicit HelpKeyFilter(std::function<void()> onHelp) : m_onHelp(std::move(onHelp)) {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::KeyPress) {
            const auto *key = static_cast<QKeyEvent *>(event);
            if (key->key() == Qt::Key_F1 && key->modifiers() == Qt::NoModifier) {
                m_onHelp();
                return true; // not again for each parent the key would reach
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> m_onHelp;
};

} // namespace

bool installFrenchTranslation(QCoreApplication &app)
{
    auto *translator = new QTranslator(&app);
    if (!translator->load(QStringLiteral("qtbase_fr"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}

QtFileFilters QtFileFilters::parse(const QString &filter)
{
    QtFileFilters result;
    if (filter.isEmpty())
        return result;
    const QStringList parts = filter.split(u'|');
    for (qsizetype i = 0; i < parts.size(); i += 2) {
        const QString label = parts[i].trimmed();
        const QString patterns = i + 1 < parts.size() ? parts[i + 1] : QString();
        result.labels << label;
        result.nameFilters << label + QStringLiteral(" (") + qtPatterns(patterns) + u')';
        result.suffixes << plainSuffix(patterns);
    }
    return result;
}

int QtFileFilters::indexOf(const QString &selected) const
{
    qsizetype i = nameFilters.indexOf(selected);
    if (i < 0)
        i = labels.indexOf(selected.trimmed());
    return int(i + 1);
}

void configureFileDialog(QFileDialog &dialog, const FileDialogRequest &request, FileDialogKind kind)
{
    const QtFileFilters filters = QtFileFilters::parse(request.filter);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setWindowTitle(request.title);
    if (kind == FileDialogKind::Open) {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.overwritePrompt);
    }
    if (!request.folder.isEmpty())
        dialog.setDirectory(request.folder);
    if (!filters.nameFilters.isEmpty()) {
        dialog.setNameFilters(filters.nameFilters);
        // An index out of range shows the first filter, as the older dialog did.
        const int index = request.filterIndex >= 1 && request.filterIndex <= filters.nameFilters.size()
                              ? request.filterIndex
                              : 1;
        dialog.selectNameFilter(filters.nameFilters[index - 1]);
        if (kind == FileDialogKind::Save)
            dialog.setDefaultSuffix(filters.suffixes[index - 1]);
    }
    if (!request.fileName.isEmpty())
        dialog.selectFile(request.fileName);
}

std::optional<FileChoice> fileChoiceOf(const QFileDialog &dialog, const QtFileFilters &filters)
{
    const QStringList files = dialog.selectedFiles();
    if (files.isEmpty() || files.front().isEmpty())
        return std::nullopt;
    const int index = filters.indexOf(dialog.selectedNameFilter());
    return FileChoice{files.front(), index > 0 ? index : 1};
}

MessageLook messageLookOf(MessageStyle style)
{
    switch (style) {
    case MessageStyle::CriticalOk:
        return {QMessageBox::Critical, QMessageBox::Ok, QMessageBox::Ok, QMessageBox::Ok};
    case MessageStyle::InformationOk:
        return {QMessageBox::Information, QMessageBox::Ok, QMessageBox::Ok, QMessageBox::Ok};
    case MessageStyle::PlainOk:
        return {QMessageBox::NoIcon, QMessageBox::Ok, QMessageBox::Ok, QMessageBox::Ok};
    case MessageStyle::ExclamationYesNo:
        return {QMessageBox::Warning, QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes, QMessageBox::No};
    case MessageStyle::ExclamationYesNoCancel:
        return {QMessageBox::Warning, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
                QMessageBox::Yes, QMessageBox::Cancel};
    case MessageStyle::QuestionYesNo:
        return {QMessageBox::Question, QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes, QMessageBox::No};
    }
    return {QMessageBox::NoIcon, QMessageBox::Ok, QMessageBox::Ok, QMessageBox::Ok};
}

std::unique_ptr<QMessageBox> makeMessageBox(const QString &prompt, const QString &title, MessageStyle style,
                                            QWidget *parent)
{
    const MessageLook look = messageLookOf(style);
    QString text = prompt;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    auto box = std::make_unique<QMessageBox>(look.icon, title, text, look.buttons, parent);
    box->setTextFormat(Qt::PlainText);
    box->setDefaultButton(look.defaultButton);
    box->setEscapeButton(look.escapeButton);
    return box;
}

MessageButton answerOf(QMessageBox::StandardButton button, MessageStyle style)
{
    switch (button) {
    case QMessageBox::Ok:
        return MessageButton::Ok;
    case QMessageBox::Yes:
        return MessageButton::Yes;
    case QMessageBox::No:
        return MessageButton::No;
    case QMessageBox::Cancel:
        return MessageButton::Cancel;
    default:
        return escapeAnswerOf(style);
    }
}

QtPlatform::QtPlatform()
{
    m_clock.start();
}
QtPlatform::~QtPlatform() = default;

void QtPlatform::installHelpKey()
{
    if (m_helpKey || !qApp)
        return;
    m_helpKey = std::make_unique<HelpKeyFilter>([this] { showHelp(); });
    qApp->installEventFilter(m_helpKey.get());
}

MessageButton QtPlatform::showMessage(const QString &prompt, const QString &title, MessageStyle style)
{
    const auto box = makeMessageBox(prompt, title, style, QApplication::activeWindow());
    box->exec();
    return answerOf(box->standardButton(box->clickedButton()), style);
}

std::optional<FileChoice> QtPlatform::runFileDialog(const FileDialogRequest &request, FileDialogKind kind)
{
    const QtFileFilters filters = QtFileFilters::parse(request.filter);
    SuffixingFileDialog dialog(QApplication::activeWindow(), filters);
    configureFileDialog(dialog, request, kind);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return fileChoiceOf(dialog, filters);
}

std::optional<FileChoice> QtPlatform::openFileDialog(const FileDialogRequest &request)
{
    return runFileDialog(request, FileDialogKind::Open);
}

std::optional<FileChoice> QtPlatform::saveFileDialog(const FileDialogRequest &request)
{
    return runFileDialog(request, FileDialogKind::Save);
}

void QtPlatform::showHelp()
{
    if (m_helpHandler)
        m_helpHandler();
}

bool QtPlatform::isCtrlDown() const
{
    return QGuiApplication::queryKeyboardModifiers().testFlag(Qt::ControlModifier);
}

bool QtPlatform::isShiftDown() const
{
    return QGuiApplication::queryKeyboardModifiers().testFlag(Qt::ShiftModifier);
}

std::unique_ptr<Timer> QtPlatform::createTimer(int intervalMs, std::function<void()> onTimeout,
                                               TimerMode mode, const QString &name)
{
    return std::make_unique<QtTimer>(intervalMs, std::move(onTimeout), mode, name);
}

bool QtPlatform::startProgram(const QString &program, const QStringList &arguments)
{
    return QProcess::startDetached(program, arguments);
}

QString QtPlatform::findSystemInfoTool() const
{
    return orv::findSystemInfoTool(qEnvironmentVariable("PATH"));
}

} // namespace orv
