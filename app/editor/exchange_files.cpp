// Exchange titles and the Sorvane project reader. Numbers in these files
// always carry "."; the reader also takes "," so that a project written with
// a French decimal comma still opens.
#include "editor/exchange_files.h"

#include "core/numeric_entry.h"
#include "editor/files_texts.h"

#include <QRegularExpression>

#include <charconv>
#include <cmath>

namespace orv {

namespace {

const QString kZeroField = QStringLiteral("00000.000");

QString file3(float v) { return QString::fromStdString(formatForBox(v, kFmtFile3)); }

const QString kKept = QStringLiteral("\r\nLe projet en cours est conservé.");

// Fields of `title` from `from`, each ended by ";"; fewer when the ";" are missing.
QStringList fields(const QString &title, qsizetype from, int wanted)
{
    QStringList out;
    qsizetype start = from;
    while (out.size() < wanted) {
        const qsizetype end = title.indexOf(QLatin1Char(';'), start);
        if (end < 0)
            break;
        out << title.mid(start, end - start);
        start = end + 1;
    }
    return out;
}

bool isPointNumber(const QString &name)
{
    static const QRegularExpression digits(QStringLiteral("^\\s*\\d+\\s*$"));
    return digits.match(name).hasMatch();
}

} // namespace

QString rootExchangeTitle(float chord, const QString &fileName)
{
    return QStringLiteral("E;") + file3(chord) + QStringLiteral(";") + kZeroField + QStringLiteral(";") + kZeroField +
           QStringLiteral(";") + kZeroField + QStringLiteral(";") + fileName;
}

QString tipExchangeTitle(float chord, float sweep, float dihedral, float spacing, const QString &fileName)
{
    return QStringLiteral("S;") + file3(chord) + QStringLiteral(";") + file3(sweep) + QStringLiteral(";") +
           file3(dihedral) + QStringLiteral(";") + file3(spacing) + QStringLiteral(";") + fileName;
}

std::optional<double> exchangeNumber(const QString &text)
{
    std::string s = text.trimmed().toStdString();
    for (char &c : s)
        if (c == ',')
            c = '.';
    if (!s.empty() && s.front() == '+')
        s.erase(0, 1);
    if (s.empty())
        return std::nullopt;
    double v = 0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    if (ec != std::errc() || end != s.data() + s.size() || !std::isfinite(v) ||
        std::abs(v) > 3.4e38)
        return std::nullopt;
    return v;
}

std::optional<float> rootTitleChord(const QString &title)
{
    const QStringList f = fields(title, 2, 1);
    if (f.size() < 1)
        return std::nullopt;
    const std::optional<double> chord = exchangeNumber(f[0]);
    if (!chord || *chord < 0)
        return std::nullopt;
    return static_cast<float>(*chord);
}

std::optional<TipTitle> parseTipTitle(const QString &title)
{
    const QStringList f = fields(title, 2, 4);
    if (f.size() < 4)
        return std::nullopt;
    std::array<double, 4> v{};
    for (size_t i = 0; i < v.size(); ++i) {
        const std::optional<double> n = exchangeNumber(f[qsizetype(i)]);
        if (!n)
            return std::nullopt;
        v[i] = *n;
    }
    if (v[0] < 0)
        return std::nullopt;
    return TipTitle{float(v[0]), float(v[1]), float(v[2]), float(v[3])};
}

double SorvaneProject::dihedral() const
{
    return offsetGiven ? tipOffset : sides[Saumon].lowerSurface - sides[Emplanture].lowerSurface;
}

SorvaneRead readSorvaneProject(const QString &text)
{
    SorvaneProject p;
    bool spacingGiven = false;
    const QStringList lines = text.split(QRegularExpression(QStringLiteral("\r\n|\r|\n")));
    for (qsizetype n = 0; n < lines.size(); ++n) {
        const QString &line = lines[n];
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq < 0)
            continue;
        const QString key = line.left(eq).trimmed();
        const QString value = line.mid(eq + 1).trimmed();
        const QString where = QStringLiteral("ligne %1 (« %2 »)").arg(n + 1).arg(line.trimmed());
        if (key.startsWith(QStringLiteral("Commentaire"))) {
            p.comment << line.mid(eq + 1);
            continue;
        }
        if (key.isEmpty())
            continue;
        SorvaneSide &side = p.sides[key.front() == QLatin1Char('E') ? Emplanture : Saumon];
        const bool tip = key.front() != QLatin1Char('E');
        const QString name = key.mid(1);
        auto is = [&name](const char *n) { return name.compare(QLatin1String(n), Qt::CaseInsensitive) == 0; };
        if (is("in"))
            break;
        auto number = [&](double &out) {
            const std::optional<double> v = exchangeNumber(value);
            if (v)
                out = *v;
            return v.has_value();
        };
        const QString notNumber = QStringLiteral("%1 : la valeur n'est pas un nombre.").arg(where);
        if (isPointNumber(name)) {
            const QStringList xy = value.split(QLatin1Char(';'));
            const std::optional<double> x = xy.size() >= 2 ? exchangeNumber(xy[0]) : std::nullopt;
            const std::optional<double> y = xy.size() >= 2 ? exchangeNumber(xy[1]) : std::nullopt;
            if (!x || !y)
                return {std::nullopt,
                        QStringLiteral("%1 : un point s'écrit X;Y avec deux nombres.").arg(where)};
            side.points.push_back({float(*x), float(*y), 0});
            continue;
        }
        double scratch = 0;
        bool ok = true;
        if (is("xHauteur"))
            ok = number(side.heightFactor);
        else if (is("MiroirVertical"))
            side.mirrorVertical = value.compare(QStringLiteral("true"), Qt::CaseInsensitive) == 0;
        else if (is("MiroirHorizontal"))
            side.mirrorHorizontal = value.compare(QStringLiteral("true"), Qt::CaseInsensitive) == 0;
        else if (is("FlecheBA"))
            ok = tip ? number(p.sweep) : number(scratch);
        else if (is("Vrillage"))
            ok = number(side.twist);
        else if (is("Envergure"))
            ok = spacingGiven = number(p.spacing);
        else if (is("Decalage")) {
            p.offsetGiven = true;
            ok = tip ? number(p.tipOffset) : number(scratch);
        } else if (is("MDessous"))
            ok = number(side.lowerSurface);
        else if (is("Fichier"))
            side.fileName = value;
        if (!ok)
            return {std::nullopt, notNumber};
    }
    if (p.sides[Emplanture].points.empty())
        return {std::nullopt, QStringLiteral("il ne contient aucun point d'emplanture.")};
    if (p.sides[Saumon].points.empty())
        return {std::nullopt, QStringLiteral("il ne contient aucun point de saumon.")};
    if (!spacingGiven || !(p.spacing > 0))
        return {std::nullopt, QStringLiteral("il n'indique pas d'envergure (clé « Envergure ») positive.")};
    return {std::move(p), {}};
}

// ---- messages

Notice importQuestion()
{
    return {"Voulez-vous importer un projet qui effacera le projet en cours?", "Demande d'importation",
            NoticeIcon::Exclamation};
}

Notice importFilesMissing()
{
    return critical("Les fichiers d'importation n'ont pas été trouvés", "TempE.dat ou/et TempS.dat introuvable(s)");
}

Notice exchangeTitleRefused(const QString &path)
{
    return critical(QStringLiteral("Le titre du fichier %1 n'est pas celui d'un fichier d'échange : la lettre du côté "
                                   "puis la corde (et pour le saumon la flèche, le dièdre et l'écartement), "
                                   "chacune suivie de « ; », n'ont pas pu être lues.")
                            .arg(quoted(path))
                            .append(kKept)
                            .toStdString(),
                    "Importation impossible");
}

Notice sorvaneRefused(const QString &path, const QString &problem)
{
    return critical(QStringLiteral("Le projet Sorvane %1 ne peut pas être ouvert : %2")
                        .arg(quoted(path), problem)
                        .append(kKept)
                        .toStdString(),
                    "Ouverture du projet impossible");
}

Notice sorvaneUnreadable(const QString &path)
{
    return critical(QStringLiteral("Le projet Sorvane %1 est introuvable ou ne peut pas être lu.")
                        .arg(quoted(path))
                        .append(kKept)
                        .toStdString(),
                    "Ouverture du projet impossible");
}

} // namespace orv
