// smooth, clean, offset, organize and text: the library's contour tools run
// on files.
#include "cli.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <utility>

namespace cli {

namespace {

// The library's contour names: " A".." Z", " a".." z", "AA", ...
void setTag(ContourPoint &p, int64_t k)
{
    k %= 53 * 52;
    const auto m = static_cast<int>(k / 52), r = static_cast<int>(k % 52);
    p.Tag[0] = static_cast<uint16_t>(m == 0 ? ' ' : (m <= 26 ? m + 64 : m + 70));
    p.Tag[1] = static_cast<uint16_t>(r < 26 ? 'A' + r : 'a' + (r - 26));
}

void setPen(ContourPoint &p, char letter)
{
    p.Pen[0] = 'P';
    p.Pen[1] = static_cast<uint16_t>(letter);
}

void assign(Array &target, const std::vector<ContourPoint> &points)
{
    VxArrayDestroy(*target.ref());
    *target.ref() = VxArrayCreate(sizeof(ContourPoint), static_cast<int32_t>(points.size()));
    if (!points.empty())
        std::memcpy(target.data<ContourPoint>(), points.data(), points.size() * sizeof(ContourPoint));
}

// Runs `tool` on each contour of the array on its own and puts the results
// back together, each contour under its own name again.
template <typename Tool> int32_t perContour(Array &points, Tool &&tool)
{
    const ContourPoint *p = points.data<ContourPoint>();
    const std::vector<int32_t> starts = contourStarts(p, points.count());
    std::vector<ContourPoint> all;
    for (size_t c = 0; c + 1 < starts.size(); ++c) {
        Array one(sizeof(ContourPoint));
        assign(one, std::vector<ContourPoint>(p + starts[c], p + starts[c + 1]));
        const int32_t r = tool(one);
        if (r < 0)
            return r;
        for (int32_t i = 0; i < one.count(); ++i) {
            ContourPoint q = one.data<ContourPoint>()[i];
            setTag(q, static_cast<int64_t>(c));
            all.push_back(q);
        }
    }
    assign(points, all);
    return static_cast<int32_t>(all.size());
}

struct Files {
    Files(std::string input, std::string output) : in(std::move(input)), out(std::move(output)) {}
    std::string in, out;
    Array points{sizeof(ContourPoint)};
    Drawing drawing;
};

// Reads the input; 0, or the tool's exit code after a message.
int readInput(Files &f)
{
    const int32_t n = readFile(f.in, f.points, f.drawing);
    return n < 0 ? fail(f.in, n) : 0;
}

int writeOutput(Files &f)
{
    const int32_t w = writeFile(f.out, f.points, f.drawing.title);
    return w < 0 ? fail(f.out, w) : 0;
}

int contourCount(const Array &points)
{
    return static_cast<int>(contourStarts(points.data<ContourPoint>(), points.count()).size()) - 1;
}

} // namespace

int runSmooth(const std::vector<std::string> &args)
{
    if (args.size() != 2)
        return usage("smooth attend un fichier d'entrée et un fichier de sortie");
    Files f{args[0], args[1]};
    if (const int r = readInput(f))
        return r;
    int smoothed = 0;
    // A contour of fewer than three points has nothing to smooth and stays.
    const int32_t n = perContour(f.points, [&](Array &one) {
        if (one.count() < 3)
            return one.count();
        ++smoothed;
        return LissageSequence(one.ref());
    });
    if (n < 0)
        return fail(f.in, n);
    if (const int r = writeOutput(f))
        return r;
    std::printf("%s : %d points écrits (%d contours lissés)\n", f.out.c_str(), n, smoothed);
    return 0;
}

int runClean(const std::vector<std::string> &args)
{
    float tolerance = 0;
    if (args.size() != 3)
        return usage("clean attend une tolérance, un fichier d'entrée et un fichier de sortie");
    if (!parseFloat(args[0], tolerance) || tolerance < 0)
        return usage("tolérance invalide : " + args[0]);
    Files f{args[1], args[2]};
    if (const int r = readInput(f))
        return r;
    const int32_t before = f.points.count();
    const int32_t n = perContour(f.points, [&](Array &one) { return NettoyageFichier(one.ref(), &tolerance); });
    if (n < 0)
        return fail(f.in, n);
    if (const int r = writeOutput(f))
        return r;
    std::printf("%s : %d points écrits (%d supprimés)\n", f.out.c_str(), n, before - n);
    return 0;
}

int runOffset(const std::vector<std::string> &args)
{
    float distance = 0, tolerance = 0.01f;
    int32_t overlap = -1;
    std::vector<std::string> plain;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--overlap" || args[i] == "--tolerance") {
            if (i + 1 == args.size())
                return usage(args[i] + " attend une valeur");
            const std::string &v = args[++i];
            if (args[i - 1] == "--overlap" ? !parseInt(v, overlap) : (!parseFloat(v, tolerance) || tolerance < 0))
                return usage((args[i - 1] == "--overlap" ? "recouvrement invalide : " : "tolérance invalide : ") + v);
        } else if (args[i].size() > 2 && args[i].compare(0, 2, "--") == 0) {
            return usage("option inconnue : " + args[i]);
        } else {
            plain.push_back(args[i]);
        }
    }
    if (plain.size() != 3)
        return usage("offset attend une distance, un fichier d'entrée et un fichier de sortie");
    if (!parseFloat(plain[0], distance) || distance == 0)
        return usage("distance invalide : " + plain[0]);
    Files f{plain[1], plain[2]};
    if (const int r = readInput(f))
        return r;
    const int32_t contours = DecalSequence(f.points.ref(), &tolerance, &distance, &overlap);
    if (contours < 0)
        return fail(f.in, contours);
    if (contours == 0) {
        std::fprintf(stderr, "vextra : %s : aucun contour décalé n'existe à cette distance\n", f.in.c_str());
        return 1;
    }
    if (const int r = writeOutput(f))
        return r;
    std::printf("%s : %d contours décalés, %d points écrits\n", f.out.c_str(), contours, f.points.count());
    return 0;
}

int runOrganize(const std::vector<std::string> &args)
{
    if (args.size() != 2)
        return usage("organize attend un fichier d'entrée et un fichier de sortie");
    Files f{args[0], args[1]};
    if (const int r = readInput(f))
        return r;
    // Through SequencePoint records: the contour number and the keep mark.
    const ContourPoint *p = f.points.data<ContourPoint>();
    std::vector<SequencePoint> seq;
    int16_t number = 0;
    for (int32_t i = 0; i < f.points.count(); ++i) {
        if (i > 0 && (p[i].Tag[0] != p[i - 1].Tag[0] || p[i].Tag[1] != p[i - 1].Tag[1]))
            ++number;
        if ((p[i].Pen[1] & 0xFF) == 'U')
            continue; // the pen-up partner of a one-point contour comes back below
        seq.push_back(SequencePoint{p[i].X, p[i].Y, static_cast<int16_t>((p[i].Pen[1] & 0xFF) == 'C' ? 4 : 0), number});
    }
    VxArray *array = VxArrayCreate(sizeof(SequencePoint), static_cast<int32_t>(seq.size()));
    if (!array)
        return fail(f.in, VX_ERR_MEMORY);
    if (!seq.empty())
        std::memcpy(array->data, seq.data(), seq.size() * sizeof(SequencePoint));
    const int32_t n = SeqOrganize(&array);
    if (n < 0) {
        VxArrayDestroy(array);
        return fail(f.in, n);
    }
    const auto *s = static_cast<const SequencePoint *>(array->data);
    std::vector<ContourPoint> out;
    int64_t k = -1;
    for (int32_t i = 0; i < n; ++i) {
        const bool first = i == 0 || s[i].Sequence != s[i - 1].Sequence;
        const bool last = i + 1 == n || s[i + 1].Sequence != s[i].Sequence;
        k += first ? 1 : 0;
        ContourPoint q{};
        q.X = s[i].X;
        q.Y = s[i].Y;
        setPen(q, (s[i].Mark & 4) ? 'C' : 'D');
        setTag(q, k);
        out.push_back(q);
        if (first && last) {
            setPen(q, 'U');
            out.push_back(q);
        }
    }
    VxArrayDestroy(array);
    assign(f.points, out);
    if (const int r = writeOutput(f))
        return r;
    std::printf("%s : %d contours ordonnés, %d points écrits\n", f.out.c_str(), static_cast<int>(k + 1),
                f.points.count());
    return 0;
}

int runText(const std::vector<std::string> &args)
{
    std::string font = "DejaVu Sans";
    float spacing = 1;
    int32_t style = 0;
    std::vector<std::string> plain;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--bold") {
            style |= 2;
        } else if (args[i] == "--italic") {
            style |= 1;
        } else if (args[i] == "--font" || args[i] == "--spacing") {
            if (i + 1 == args.size())
                return usage(args[i] + " attend une valeur");
            if (args[i] == "--font")
                font = args[++i];
            else if (!parseFloat(args[++i], spacing))
                return usage("espacement invalide : " + args[i]);
        } else if (args[i].size() > 2 && args[i].compare(0, 2, "--") == 0) {
            return usage("option inconnue : " + args[i]);
        } else {
            plain.push_back(args[i]);
        }
    }
    if (plain.size() != 2)
        return usage("text attend un texte et un fichier de sortie");
    Files f{"", plain[1]};
    std::string text = plain[0];
    char *textPtr = text.data();
    char *fontPtr = font.data();
    const int32_t n = Texte(f.points.ref(), &textPtr, &fontPtr, &spacing, &style);
    if (n < 0) {
        if (n == VX_ERR_NO_POINT) {
            std::fprintf(stderr, "vextra : le texte ne donne aucun contour\n");
            return 1;
        }
        return fail("texte", n);
    }
    f.drawing.title = plain[0];
    if (const int r = writeOutput(f))
        return r;
    std::printf("%s : %d contours, %d points écrits\n", f.out.c_str(), contourCount(f.points), n);
    return 0;
}

} // namespace cli
