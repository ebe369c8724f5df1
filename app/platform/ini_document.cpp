// Private-profile semantics over an in-memory document, and the atomic save.
#include "platform/ini_document.h"

#include "platform/text_codec.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <utility>

namespace orv {

namespace {

bool g_failNextSave = false;

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t';
}

QString trimBlanks(const QString &s)
{
    qsizetype first = 0;
    qsizetype last = s.size();
    while (first < last && isBlank(s[first]))
        ++first;
    while (last > first && isBlank(s[last - 1]))
        --last;
    return s.mid(first, last - first);
}

bool isBlankLine(const QString &line)
{
    return std::all_of(line.begin(), line.end(), isBlank);
}

// A write must never start a line of its own.
QString oneLine(const QString &s)
{
    if (!s.contains(u'\r') && !s.contains(u'\n'))
        return s;
    QString copy = s;
    copy.replace(u'\r', u' ');
    copy.replace(u'\n', u' ');
    return copy;
}

// The form names are compared in, for a name already trimmed to one line.
// Most names are plain ASCII: fold those without Qt's general case folding,
// which costs more than the whole write.
QString foldTrimmed(QString text)
{
    bool upper = false;
    for (const QChar c : std::as_const(text)) {
        if (c.unicode() >= 0x80)
            return text.toCaseFolded();
        upper = upper || (c >= u'A' && c <= u'Z');
    }
    if (upper)
        for (QChar &c : text)
            if (c >= u'A' && c <= u'Z')
                c = QChar(c.unicode() + 32);
    return text;
}

QString fold(const QString &name) { return foldTrimmed(trimBlanks(oneLine(name))); }

// The section name of a header line, or nothing when the line is no header.
std::optional<QString> headerName(const QString &line)
{
    const QString text = trimBlanks(line);
    if (!text.startsWith(u'['))
        return std::nullopt;
    const qsizetype close = text.indexOf(u']', 1);
    return trimBlanks(text.mid(1, close < 0 ? -1 : close - 1));
}

// The key of a "key=value" line; nothing for blank lines, ";" comments and
// lines without "=".
std::optional<QString> keyOf(const QString &line)
{
    const qsizetype eq = line.indexOf(u'=');
    if (eq < 0)
        return std::nullopt;
    QString key = trimBlanks(line.left(eq));
    if (key.isEmpty() || key.startsWith(u';'))
        return std::nullopt;
    return key;
}

} // namespace

IniDocument IniDocument::parse(const QByteArray &bytes)
{
    IniDocument doc;
    const QString text = decodeText(bytes);
    if (text.isEmpty())
        return doc;
    QStringList lines = text.split(u'\n');
    if (text.endsWith(u'\n'))
        lines.removeLast();
    for (QString &line : lines) {
        if (line.endsWith(u'\r'))
            line.chop(1);
        if (const auto name = headerName(line)) {
            const QString folded = fold(*name);
            if (!doc.m_sectionIndex.contains(folded)) // a repeated section is never read
                doc.m_sectionIndex.insert(folded, qsizetype(doc.m_sections.size()));
            doc.m_sections.push_back({line, {}, {}});
        } else if (doc.m_sections.empty()) {
            doc.m_preamble.push_back(line);
        } else {
            Section &s = doc.m_sections.back();
            s.lines.push_back(line);
            indexLine(s, qsizetype(s.lines.size()) - 1);
        }
    }
    return doc;
}

void IniDocument::indexLine(Section &s, qsizetype line)
{
    if (const auto key = keyOf(s.lines[line])) {
        const QString folded = fold(*key);
        if (!s.keys.contains(folded)) // the first of repeated keys is the one read
            s.keys.insert(folded, line);
    }
}

QByteArray IniDocument::toBytes() const
{
    QString text;
    const auto add = [&text](const QString &line) {
        text += line;
        text += QStringLiteral("\r\n");
    };
    for (const QString &line : m_preamble)
        add(line);
    for (const Section &s : m_sections) {
        add(s.header);
        for (const QString &line : s.lines)
            add(line);
    }
    return encodeText(text);
}

const IniDocument::Section *IniDocument::sectionFor(const QString &section) const
{
    // Commands write one section key after key: skip folding its name again.
    if (m_lastSection >= 0 && section == m_lastSectionName)
        return &m_sections[size_t(m_lastSection)];
    const auto it = m_sectionIndex.constFind(fold(section));
    if (it == m_sectionIndex.cend())
        return nullptr;
    m_lastSectionName = section;
    m_lastSection = *it;
    return &m_sections[size_t(*it)];
}

IniDocument::Section *IniDocument::sectionFor(const QString &section)
{
    return const_cast<Section *>(std::as_const(*this).sectionFor(section));
}

IniDocument::Section &IniDocument::sectionOrNew(const QString &section)
{
    if (Section *s = sectionFor(section))
        return *s;
    m_sectionIndex.insert(fold(section), qsizetype(m_sections.size()));
    m_sections.push_back({u'[' + trimBlanks(oneLine(section)) + u']', {}, {}});
    return m_sections.back();
}

bool IniDocument::hasSection(const QString &section) const
{
    return sectionFor(section) != nullptr;
}

std::optional<QString> IniDocument::find(const QString &section, const QString &key) const
{
    const Section *s = sectionFor(section);
    if (!s)
        return std::nullopt;
    const auto it = s->keys.constFind(fold(key));
    if (it == s->keys.cend())
        return std::nullopt;
    const QString &line = s->lines[size_t(*it)];
    return trimBlanks(line.mid(line.indexOf(u'=') + 1));
}

QString IniDocument::value(const QString &section, const QString &key, const QString &defaultValue) const
{
    return find(section, key).value_or(defaultValue);
}

void IniDocument::setValue(const QString &section, const QString &key, const QString &value)
{
    const QString name = trimBlanks(oneLine(key));
    if (name.isEmpty())
        return;
    Section *found = sectionFor(section);
    if (!found && fold(section).isEmpty())
        return;
    Section &s = found ? *found : sectionOrNew(section);
    QString line = name + u'=' + oneLine(value);
    const QString folded = foldTrimmed(name);
    const auto it = s.keys.constFind(folded);
    if (it != s.keys.cend()) {
        s.lines[size_t(*it)] = std::move(line);
    } else {
        // After the last non-blank line: only blank lines follow, so no
        // indexed key moves.
        qsizetype at = qsizetype(s.lines.size());
        while (at > 0 && isBlankLine(s.lines[size_t(at - 1)]))
            --at;
        s.lines.insert(s.lines.begin() + at, std::move(line));
        s.keys.insert(folded, at);
    }
    m_modified = true;
}

void IniDocument::clearSection(const QString &section)
{
    if (fold(section).isEmpty())
        return;
    Section &s = sectionOrNew(section);
    std::erase_if(s.lines, [](const QString &line) { return !isBlankLine(line); });
    s.keys.clear();
    m_modified = true;
}

void IniDocument::reserve(const QString &section, qsizetype keys)
{
    if (Section *s = sectionFor(section)) {
        s->lines.reserve(s->lines.size() + size_t(keys));
        s->keys.reserve(s->keys.size() + keys);
    }
}

IniFile::IniFile(QString path) : m_path(std::move(path))
{
    QFile file(m_path);
    m_existed = QFileInfo::exists(m_path);
    if (!m_existed)
        return;
    if (!file.open(QIODevice::ReadOnly)) {
        m_readable = false;
        return;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        m_readable = false;
        return;
    }
    m_document = IniDocument::parse(bytes);
}

bool IniFile::save()
{
    if (!m_readable)
        return false;
    if (!m_document.isModified())
        return true;
    const QByteArray bytes = m_document.toBytes();
    QSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (g_failNextSave) {
        g_failNextSave = false;
        file.write(bytes.left(bytes.size() / 2));
        file.cancelWriting();
    } else {
        file.write(bytes);
    }
    if (!file.commit())
        return false;
    m_existed = true;
    m_document.setModified(false);
    return true;
}

QString readSetting(const IniDocument &file, const QString &section, const QString &key,
                    const QString &defaultValue)
{
    // The older routine's buffer ended at the first NUL.
    QString value = file.value(section, key, defaultValue);
    if (const qsizetype nul = value.indexOf(QChar(0)); nul >= 0)
        value.truncate(nul);
    return value;
}

void writeSetting(IniDocument &file, const QString &section, const QString &key, const QString &value)
{
    file.setValue(section, key, value);
}

bool clearSection(IniDocument &file, const QString &section)
{
    file.clearSection(section);
    return file.hasSection(section);
}

namespace testing {
void failNextSave()
{
    g_failNextSave = true;
}
} // namespace testing

} // namespace orv
