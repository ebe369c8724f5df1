// info, convert and 3d.
#include "cli.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace cli {

namespace {

std::string withSuffix(const std::string &path, int index)
{
    const size_t slash = path.find_last_of('/');
    const size_t dot = path.rfind('.');
    const bool hasExt = dot != std::string::npos && (slash == std::string::npos || dot > slash);
    const std::string stem = hasExt ? path.substr(0, dot) : path;
    const std::string ext = hasExt ? path.substr(dot) : std::string();
    return stem + "-" + std::to_string(index) + ext;
}

// Copies records [from, to) into a new array.
void copyRange(const Array &source, int32_t from, int32_t to, Array &target)
{
    VxArrayDestroy(*target.ref());
    *target.ref() = VxArrayCreate(sizeof(ContourPoint), to - from);
    for (int32_t i = from; i < to; ++i)
        target.data<ContourPoint>()[i - from] = source.data<ContourPoint>()[i];
}

} // namespace

int runInfo(const std::vector<std::string> &args)
{
    if (args.size() != 1)
        return usage("info attend un fichier");
    Array points(sizeof(ContourPoint));
    Drawing d;
    const int32_t n = readFile(args[0], points, d);
    if (n < 0)
        return fail(args[0], n);
    const ContourPoint *p = points.data<ContourPoint>();
    const std::vector<int32_t> starts = contourStarts(p, n);
    std::printf("Fichier : %s\n", args[0].c_str());
    std::printf("Titre : %s\n", d.title.c_str());
    std::printf("Points : %d\n", n);
    std::printf("Contours : %zu\n", starts.size() - 1);
    std::printf("Largeur : %f\nHauteur : %f\n", static_cast<double>(d.width), static_cast<double>(d.height));
    for (size_t c = 0; c + 1 < starts.size(); ++c) {
        const int32_t a = starts[c], b = starts[c + 1];
        const bool closed = b - a > 2 && p[a].X == p[b - 1].X && p[a].Y == p[b - 1].Y;
        std::printf("  contour \"%s\" : %d points%s\n", tagText(p[a]).c_str(), b - a, closed ? ", fermé" : "");
    }
    return 0;
}

int runConvert(const std::vector<std::string> &args)
{
    bool perContour = false;
    std::vector<std::string> files;
    for (const std::string &a : args) {
        if (a == "--par-contour")
            perContour = true;
        else
            files.push_back(a);
    }
    if (files.size() != 2)
        return usage("convert attend un fichier d'entrée et un fichier de sortie");
    Array points(sizeof(ContourPoint));
    Drawing d;
    const int32_t n = readFile(files[0], points, d);
    if (n < 0)
        return fail(files[0], n);
    if (!perContour) {
        const int32_t w = writeFile(files[1], points, d.title);
        if (w < 0)
            return fail(files[1], w);
        std::printf("%s : %d points écrits\n", files[1].c_str(), n);
        return 0;
    }
    const std::vector<int32_t> starts = contourStarts(points.data<ContourPoint>(), n);
    for (size_t c = 0; c + 1 < starts.size(); ++c) {
        Array one(sizeof(ContourPoint));
        copyRange(points, starts[c], starts[c + 1], one);
        const std::string out = withSuffix(files[1], static_cast<int>(c + 1));
        const int32_t w = writeFile(out, one, d.title);
        if (w < 0)
            return fail(out, w);
        std::printf("%s : %d points écrits\n", out.c_str(), starts[c + 1] - starts[c]);
    }
    return 0;
}

int run3d(const std::vector<std::string> &args)
{
    if (args.size() != 4)
        return usage("3d attend EMPLANTURE SAUMON ENVERGURE SORTIE.dxf");
    char *end = nullptr;
    const float span = std::strtof(args[2].c_str(), &end);
    if (end == args[2].c_str() || *end != '\0' || !std::isfinite(span))
        return usage("envergure invalide : " + args[2]);
    Array root(sizeof(ContourPoint)), tip(sizeof(ContourPoint));
    Drawing dr, dt;
    int32_t r = readFile(args[0], root, dr);
    if (r < 0)
        return fail(args[0], r);
    r = readFile(args[1], tip, dt);
    if (r < 0)
        return fail(args[1], r);
    std::string name = args[3];
    char *namePtr = name.data();
    float s = span;
    const int32_t w = EcrireFichier3D(root.ref(), tip.ref(), &namePtr, &s);
    if (w < 0)
        return fail(args[3], w);
    std::printf("%s : %d faces écrites\n", args[3].c_str(), dr.count > 1 ? dr.count - 1 : 0);
    return 0;
}

} // namespace cli
