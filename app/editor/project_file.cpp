// Writing and reading the ".orv" project through the settings-file document.
#include "editor/project_file.h"

#include "core/numeric_entry.h"
#include "platform/ini_document.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <vector>

namespace orv {

namespace {

const QString kNomFichier = QStringLiteral("NomFichier");
const QString kNombrePoints = QStringLiteral("NombrePoints");

const QString &sectionOf(Side s)
{
    return s == Emplanture ? kProjectRoot : kProjectTip;
}

QString six(double v)
{
    return QString::fromStdString(formatForBox(v, kFmtFile6));
}

const NumberPattern &sixPattern()
{
    static const NumberPattern pattern(kFmtFile6);
    return pattern;
}

// ---- reading

// A number as the lenient conversion reads it, when the text starts with one
// (blanks, a sign, then digits with at most one "." or ","): "abc" and ""
// hold none, where the conversion alone would quietly give 0.
std::optional<double> numberIn(QStringView text)
{
    qsizetype i = 0;
    while (i < text.size() && (text[i] == u' ' || text[i] == u'\t'))
        ++i;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+'))
        ++i;
    bool digit = false;
    for (; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.unicode() >= '0' && c.unicode() <= '9')
            digit = true;
        else if (c != u'.' && c != u',')
            break;
    }
    if (!digit)
        return std::nullopt;
    // Numbers are short ASCII: convert on the stack, not through a new string.
    char buffer[64];
    if (text.size() < qsizetype(sizeof buffer)) {
        qsizetype n = 0;
        for (const QChar c : text)
            buffer[n++] = c.unicode() < 128 ? char(c.unicode()) : '?';
        return projectdetail::readNumber(std::string_view(buffer, size_t(n)));
    }
    return parseLenient(text.toUtf8().toStdString());
}

std::optional<double> numberAt(const IniDocument &file, const QString &section, const QString &key)
{
    const std::optional<QString> text = file.find(section, key);
    if (!text)
        return std::nullopt;
    return numberIn(*text);
}

// The older program rounded with its integer conversion: halves to even.
int64_t roundedInt(double v)
{
    const double r = std::nearbyint(v);
    if (!(r > -9.0e18 && r < 9.0e18))
        return r < 0 ? std::numeric_limits<int64_t>::min() : std::numeric_limits<int64_t>::max();
    return static_cast<int64_t>(r);
}

// One point value "X:Y:Flags"; nothing when X and Y are not both readable.
std::optional<PointProfil> pointIn(QStringView value, int &badFlags)
{
    const qsizetype c1 = value.indexOf(u':');
    if (c1 < 0)
        return std::nullopt;
    const qsizetype c2 = value.indexOf(u':', c1 + 1);
    const std::optional<double> x = numberIn(value.left(c1));
    const std::optional<double> y = numberIn(c2 < 0 ? value.mid(c1 + 1) : value.mid(c1 + 1, c2 - c1 - 1));
    if (!x || !y)
        return std::nullopt;
    PointProfil p{float(*x), float(*y), 0};
    const std::optional<double> flags = c2 < 0 ? std::nullopt : numberIn(value.mid(c2 + 1));
    const int64_t f = flags ? roundedInt(*flags) : -1;
    if (!flags || f < INT16_MIN || f > INT16_MAX) {
        ++badFlags; // read as no mark at all
    } else {
        // Only the three selection layers exist; another bit (the cleaning's
        // keep mark, say) would upset the commands that test bits.
        const int16_t bits = int16_t(f);
        if (bits & ~(kSelected | kReference | kSync))
            ++badFlags;
        p.Flags = int16_t(bits & (kSelected | kReference | kSync));
    }
    return p;
}

// The points of one side. A count the keys do not bear out ends at the first
// missing key, so an absurd count costs nothing; a count below 1 with points
// present is read as far as the keys go.
ProfilePoints readSide(const IniDocument &file, Side side, ProjectDamage &damage)
{
    const QString &section = sectionOf(side);
    const std::optional<double> declared = numberAt(file, section, kNombrePoints);
    const int64_t count = declared ? roundedInt(*declared) : 0;
    const size_t s = size_t(side);
    std::vector<PointProfil> points;
    if (count > 0)
        points.reserve(size_t(std::min<int64_t>(count, 1 << 20)));
    int64_t i = 1;
    for (; count < 1 || i <= count; ++i) {
        const std::optional<QString> value = file.find(section, QString::number(i));
        if (!value)
            break;
        if (const std::optional<PointProfil> p = pointIn(*value, damage.badFlags[s]))
            points.push_back(*p);
        else
            ++damage.unreadablePoints[s];
    }
    const int64_t keys = i - 1;
    if (count >= 1 && keys < count)
        damage.missingPoints[s] = int(std::min<int64_t>(count - keys, INT32_MAX));
    if (count < 1 && keys > 0)
        damage.badCount[s] = true;
    damage.pointsRead[s] = int(points.size());
    return ProfilePoints(points);
}

int buttonIn(const IniDocument &file, const QString &key, int last, bool &bad)
{
    const std::optional<QString> text = file.find(kProjectPosition, key);
    if (!text)
        return -1; // an absent key ticks nothing
    const std::optional<double> v = numberIn(*text);
    const int64_t index = v ? roundedInt(*v) : INT64_MIN;
    if (index == -1 || (index >= 0 && index <= last))
        return int(index);
    bad = true;
    return -1;
}

float floatOr(const IniDocument &file, const QString &section, const QString &key, float absent)
{
    return float(numberAt(file, section, key).value_or(absent));
}

int barOr(const IniDocument &file, const QString &key, int absent)
{
    const std::optional<double> v = numberAt(file, kProjectDisplay, key);
    if (!v)
        return absent;
    return int(std::clamp<int64_t>(roundedInt(*v), INT32_MIN, INT32_MAX));
}

} // namespace

namespace projectdetail {

// |v| = m / 2^k with m a 24-bit integer, so |v| × 10^6 = m × 10^6 / 2^k is
// split exactly into its whole part and remainder, and the remainder decides
// the rounding: the same digits as the pattern, without its general path.
void appendSixDecimals(std::string &out, float v)
{
    if (!std::isfinite(v) || std::fabs(v) >= 1e12f) {
        sixPattern().formatTo(out, v);
        return;
    }
    int e = 0;
    const float fraction = std::frexp(std::fabs(v), &e);
    const uint64_t m = uint64_t(std::ldexp(fraction, 24));
    const int k = 24 - e;            // >= -16 below 1e12
    const uint64_t n = m * 1000000u; // < 2^44
    uint64_t q = 0;
    if (k <= 0) {
        q = n << -k;
    } else if (k < 64) {
        q = n >> k;
        if ((n & ((uint64_t(1) << k) - 1)) >= (uint64_t(1) << (k - 1)))
            ++q; // half away from zero
    }
    if (v < 0 && q != 0)
        out += '-';
    char digits[32];
    const auto end = std::to_chars(digits, digits + sizeof digits, q / 1000000u).ptr;
    out.append(digits, end);
    out += '.';
    const uint64_t decimals = q % 1000000u;
    for (uint64_t unit = 100000; unit > 0; unit /= 10)
        out += char('0' + (decimals / unit) % 10);
}

// Plain "[-]digits[.digits]" of at most 15 digits is one correctly rounded
// division, which is what the lenient conversion gives; anything else goes
// through that conversion.
double readNumber(std::string_view text)
{
    static constexpr double kPowers[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                         1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    size_t i = 0;
    const bool negative = !text.empty() && text[0] == '-';
    if (negative)
        ++i;
    uint64_t mantissa = 0;
    int digits = 0, decimals = 0;
    bool point = false;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c >= '0' && c <= '9') {
            mantissa = mantissa * 10 + uint64_t(c - '0');
            ++digits;
            decimals += point ? 1 : 0;
        } else if (c == '.' && !point) {
            point = true;
        } else {
            return parseLenient(text);
        }
    }
    if (digits == 0 || digits > 15)
        return parseLenient(text);
    const double value = double(mantissa) / kPowers[decimals];
    return negative ? -value : value;
}

} // namespace projectdetail

// ---- writing

void writeProject(IniDocument &file, const ProjectData &data)
{
    for (const QString &section : {kProjectRoot, kProjectTip, kProjectPosition, kProjectDisplay})
        clearSection(file, section);
    std::string value;
    QString text;
    for (Side side : kSides) {
        const QString &section = sectionOf(side);
        const ProfilePoints &points = data.points[size_t(side)];
        file.reserve(section, points.count() + 2);
        writeSetting(file, section, kNomFichier, data.fileNames[size_t(side)]);
        writeSetting(file, section, kNombrePoints, QString::number(points.count()));
        points.forEach([&](int32_t i, const PointProfil &p) {
            value.clear();
            projectdetail::appendSixDecimals(value, p.X);
            value += ':';
            projectdetail::appendSixDecimals(value, p.Y);
            value += ':';
            value += std::to_string(p.Flags);
            // The older program's keys had a blank before the number (" 1");
            // blanks around keys are not written, so the key is the number.
            text = QLatin1StringView(value.data(), qsizetype(value.size())); // reuses its buffer
            writeSetting(file, section, QString::number(i), text);
        });
    }
    writeSetting(file, kProjectPosition, QStringLiteral("Ecartement"), six(data.Ecartement));
    writeSetting(file, kProjectPosition, QStringLiteral("BoutonFleche"), QString::number(data.boutonFleche));
    writeSetting(file, kProjectPosition, QStringLiteral("BoutonDiedre"), QString::number(data.boutonDiedre));
    writeSetting(file, kProjectPosition, QStringLiteral("BoutonAligner"),
                 QString::number(data.boutonAligner));
    writeSetting(file, kProjectDisplay, QStringLiteral("CoeffZoom"), six(data.CoeffZoom));
    writeSetting(file, kProjectDisplay, QStringLiteral("XCentreZoom"), six(data.XCentreZoom));
    writeSetting(file, kProjectDisplay, QStringLiteral("YCentreZoom"), six(data.YCentreZoom));
    writeSetting(file, kProjectDisplay, QStringLiteral("Omega"), six(data.omega));
    writeSetting(file, kProjectDisplay, QStringLiteral("Alpha"), six(data.alpha));
    QString comment = data.comment;
    comment.replace(QStringLiteral("\r\n"), QStringLiteral(";"));
    writeSetting(file, kProjectDisplay, QStringLiteral("Commentaire"), comment);
}

// ---- reading

bool ProjectDamage::any() const
{
    for (size_t s = 0; s < 2; ++s)
        if (unreadablePoints[s] || missingPoints[s] || badCount[s] || badFlags[s])
            return true;
    return badButtons;
}

QStringList ProjectDamage::describe() const
{
    QStringList lines;
    for (Side side : kSides) {
        const size_t s = size_t(side);
        const QString name = side == Emplanture ? QStringLiteral("Emplanture") : QStringLiteral("Saumon");
        if (unreadablePoints[s])
            lines << QStringLiteral("%1 : %2 point(s) illisible(s) ignoré(s).")
                         .arg(name)
                         .arg(unreadablePoints[s]);
        if (missingPoints[s] || badCount[s])
            lines << QStringLiteral(
                         "%1 : le nombre de points annoncé ne correspond pas au fichier ; %2 point(s) lu(s).")
                         .arg(name)
                         .arg(pointsRead[s]);
        if (badFlags[s])
            lines << QStringLiteral("%1 : les marques de %2 point(s) étaient invalides et ont été corrigées.")
                         .arg(name)
                         .arg(badFlags[s]);
    }
    if (badButtons)
        lines << QStringLiteral(
            "Une case de flèche ou de dièdre enregistrée n'existe pas : elle reste décochée.");
    return lines;
}

ProjectRead readProject(const IniDocument &file)
{
    ProjectRead r;
    if (!file.hasSection(kProjectRoot) && !file.hasSection(kProjectTip)) {
        r.refusal = ProjectRefusal::NotAProject;
        return r;
    }
    ProjectData &d = r.data;
    for (Side side : kSides) {
        d.fileNames[size_t(side)] = readSetting(file, sectionOf(side), kNomFichier, QString());
        d.points[size_t(side)] = readSide(file, side, r.damage);
    }
    if (d.points[0].empty() || d.points[1].empty()) {
        r.refusal = d.points[0].empty() ? ProjectRefusal::NoRootPoint : ProjectRefusal::NoTipPoint;
        return r;
    }
    d.Ecartement = floatOr(file, kProjectPosition, QStringLiteral("Ecartement"), 0);
    d.boutonFleche = buttonIn(file, QStringLiteral("BoutonFleche"), 2, r.damage.badButtons);
    d.boutonDiedre = buttonIn(file, QStringLiteral("BoutonDiedre"), 4, r.damage.badButtons);
    const std::optional<double> aligner = numberAt(file, kProjectPosition, QStringLiteral("BoutonAligner"));
    d.boutonAligner = aligner && roundedInt(*aligner) == 1 ? 1 : -1;
    d.CoeffZoom = floatOr(file, kProjectDisplay, QStringLiteral("CoeffZoom"), 1);
    d.XCentreZoom = floatOr(file, kProjectDisplay, QStringLiteral("XCentreZoom"), 0);
    d.YCentreZoom = floatOr(file, kProjectDisplay, QStringLiteral("YCentreZoom"), 0);
    d.omega = barOr(file, QStringLiteral("Omega"), kPerspectiveOmega);
    d.alpha = barOr(file, QStringLiteral("Alpha"), kPerspectiveAlpha);
    const QString comment = readSetting(file, kProjectDisplay, QStringLiteral("Commentaire"), QString());
    if (!comment.isEmpty())
        d.comment = comment.split(u';').join(QStringLiteral("\r\n"));
    return r;
}

} // namespace orv
