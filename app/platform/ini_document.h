// Sectioned settings files (Orvalis.ini, ".orv" projects) with the behaviour
// of the Windows private-profile functions, over a document held in memory.
//
// Bytes written (UTF-8, no byte-order mark):
//   - every line ends with CR LF, the last one included; an empty document
//     is an empty file;
//   - a new section is appended at the end of the file as "[name]" with no
//     blank line before it;
//   - a written key is the line "key=value": the key with its surrounding
//     blanks removed, no blank around "=", the value as given (CR and LF in a
//     key, value or section name become spaces, so no write can start a line);
//   - a key already present is replaced on its own line; a new key goes after
//     the last non-blank line of its section;
//   - lines the program did not write keep their text.
#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>

#include <optional>
#include <vector>

namespace orv {

class IniDocument {
public:
    // Accepts LF and CR LF line ends and a last line without one; decodes
    // UTF-8 when valid, Windows-1252 otherwise.
    static IniDocument parse(const QByteArray &bytes);
    QByteArray toBytes() const;

    // Sections and keys are matched without regard to case and to the blanks
    // around them; values come back whole, without the blanks around them.
    std::optional<QString> find(const QString &section, const QString &key) const;
    QString value(const QString &section, const QString &key, const QString &defaultValue = {}) const;
    bool hasSection(const QString &section) const;

    void setValue(const QString &section, const QString &key, const QString &value);
    // Removes every key (and every other non-blank line) of the section; its
    // header stays, and a missing section is created empty.
    void clearSection(const QString &section);
    // Room for `keys` more keys in the section (a project writes 100,000s).
    void reserve(const QString &section, qsizetype keys);

    bool isEmpty() const { return m_preamble.empty() && m_sections.empty(); }
    // True once anything was written since the document was parsed.
    bool isModified() const { return m_modified; }
    void setModified(bool modified) { m_modified = modified; }

private:
    struct Section {
        QString header;                 // the "[name]" line as it stands
        std::vector<QString> lines;     // the lines after the header
        QHash<QString, qsizetype> keys; // folded key -> first line holding it
    };

    Section *sectionFor(const QString &section);
    const Section *sectionFor(const QString &section) const;
    Section &sectionOrNew(const QString &section);
    static void indexLine(Section &s, qsizetype line);

    std::vector<QString> m_preamble; // lines before the first section
    std::vector<Section> m_sections;
    QHash<QString, qsizetype> m_sectionIndex; // folded name -> first section
    mutable QString m_lastSectionName;        // the name last looked up, as given
    mutable qsizetype m_lastSection = -1;
    bool m_modified = false;
};

// A settings or project file: loaded once, changed in memory, saved whole.
class IniFile {
public:
    // Reads the file when it exists; a missing file gives an empty document.
    explicit IniFile(QString path);

    const QString &path() const { return m_path; }
    IniDocument &document() { return m_document; }
    const IniDocument &document() const { return m_document; }
    // False when the file existed but could not be read: saving then refuses
    // to replace what it never saw.
    bool readable() const { return m_readable; }
    bool existed() const { return m_existed; }

    // Writes the whole document to a temporary file beside the target and
    // renames it over the target, so a failed write leaves the old file as it
    // was. Does nothing (and succeeds) when nothing was written: a file is
    // created by its first write. False when the file could not be written.
    bool save();

private:
    QString m_path;
    IniDocument m_document;
    bool m_readable = true;
    bool m_existed = false;
};

// The settings routines of the windows.
// Read with default: the value of the key up to any NUL, or the default when
// the key is absent.
QString readSetting(const IniDocument &file, const QString &section, const QString &key,
                    const QString &defaultValue);
// Write: sets the key, creating the section when needed.
void writeSetting(IniDocument &file, const QString &section, const QString &key, const QString &value);
// Clear section: removes every key of the section; true on success.
bool clearSection(IniDocument &file, const QString &section);

namespace testing {
// The next save writes half of its text, then fails as a full disk would.
void failNextSave();
} // namespace testing

} // namespace orv
