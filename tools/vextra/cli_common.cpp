#include "cli.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace cli {

const char *codeMeaning(int32_t code)
{
    switch (code) {
    case VX_ERR_SVG:
        return "les fichiers .svg ne sont pas lus";
    case VX_ERR_NO_POINT:
        return "le fichier ne contient aucun point utilisable";
    case VX_ERR_EXTENSION:
        return "extension de fichier non prise en charge";
    case VX_ERR_ARRAY_FREE:
        return "libération du tableau impossible";
    case VX_ERR_ARRAY_ALLOC:
        return "mémoire insuffisante pour le tableau";
    case VX_ERR_ARRAY_LOCK:
        return "tableau invalide";
    case VX_ERR_OPEN:
        return "ouverture du fichier impossible";
    case VX_ERR_SIZE:
        return "taille du fichier illisible";
    case VX_ERR_MEMORY:
        return "mémoire de travail insuffisante";
    case VX_ERR_READ:
        return "lecture du fichier impossible (ou fichier non texte)";
    case VX_ERR_TOO_FEW:
        return "trop peu de points pour l'opération";
    case VX_ERR_CREATE:
        return "création du fichier de sortie impossible";
    case VX_ERR_COUNT_MISMATCH:
        return "les deux profils n'ont pas le même nombre de points";
    case VX_ERR_GLYPH_SIZE:
    case VX_ERR_GLYPH_MEMORY:
    case VX_ERR_GLYPH_OUTLINE:
    case VX_ERR_GLYPH_FORMAT:
        return "contour de caractère impossible à obtenir";
    case VX_ERR_GCODE_COUNTS:
        return "l'emplanture et le saumon n'ont pas le même nombre de points";
    case VX_ERR_GCODE_TOO_FEW:
        return "moins de deux positions distinctes à découper";
    case VX_ERR_GCODE_SPAN:
        return "écartement ou distance entre les tours non positif";
    case VX_ERR_GCODE_FACE:
        return "une face du bloc est en dehors des tours";
    case VX_ERR_GCODE_LIMITS:
        return "un chariot sortirait des limites de ses axes";
    case VX_ERR_GCODE_MACHINE:
        return "description de la machine invalide";
    case VX_ERR_GCODE_POINT:
        return "coordonnée non finie ou hors de portée de la machine";
    default:
        return "erreur inconnue";
    }
}

bool parseFloat(const std::string &text, float &out)
{
    const char *end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, out);
    return ec == std::errc() && ptr == end && std::isfinite(out);
}

bool parseInt(const std::string &text, int32_t &out)
{
    const char *end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, out);
    return ec == std::errc() && ptr == end;
}

int fail(const std::string &what, int32_t code)
{
    std::fprintf(stderr, "vextra : %s : %s (code %d)\n", what.c_str(), codeMeaning(code), code);
    return 1;
}

int usage(const std::string &message)
{
    std::fprintf(stderr, "vextra : %s\nEssayez « vextra --help ».\n", message.c_str());
    return 2;
}

int32_t readFile(const std::string &path, Array &points, Drawing &drawing)
{
    std::string name = path;
    std::string title(260, ' ');
    char *namePtr = name.data();
    char *titlePtr = title.data();
    float xMin = 0, yMin = 0;
    const int32_t n = LireFichier(points.ref(), &namePtr, &xMin, &drawing.width, &yMin, &drawing.height, &titlePtr);
    title.resize(std::strlen(title.c_str()));
    const size_t end = title.find_last_not_of(" \r\n");
    title.erase(end == std::string::npos ? 0 : end + 1);
    const size_t start = title.find_first_not_of(' ');
    drawing.title = start == std::string::npos ? std::string() : title.substr(start);
    drawing.count = n;
    return n;
}

int32_t writeFile(const std::string &path, Array &points, const std::string &title)
{
    std::string name = path;
    std::string text = title;
    char *namePtr = name.data();
    char *titlePtr = text.data();
    return EcrireFichier(points.ref(), &namePtr, &titlePtr);
}

std::vector<int32_t> contourStarts(const ContourPoint *points, int32_t count)
{
    std::vector<int32_t> starts;
    for (int32_t i = 0; i < count; ++i)
        if (i == 0 || points[i].Tag[0] != points[i - 1].Tag[0] || points[i].Tag[1] != points[i - 1].Tag[1])
            starts.push_back(i);
    starts.push_back(count);
    return starts;
}

std::string tagText(const ContourPoint &p)
{
    std::string s;
    s += static_cast<char>(p.Tag[0] & 0xFF);
    s += static_cast<char>(p.Tag[1] & 0xFF);
    return s;
}

} // namespace cli
