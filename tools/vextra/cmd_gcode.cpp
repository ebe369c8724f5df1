// gcode: the program that cuts a panel between a root and a tip profile on a
// 4-axis hot-wire machine.
#include "cli.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>

namespace cli {

namespace {

struct GCodeCommand {
    VxMachine machine{};
    bool towers = false, rootPos = false, span = false;
    bool kerfBoth = false, kerfFace = false;
    float shiftX = 0, shiftY = 0;
    std::vector<std::string> files;

    GCodeCommand()
    {
        machine.size = sizeof(VxMachine);
        machine.feed = 300;
        machine.dwell = 2;
        machine.approach = 1;
        machine.decimals = 3;
        std::strcpy(machine.axes, "XYUV");
    }
};

// "A<sep>B", two numbers.
bool parsePair(const std::string &text, char sep, float &a, float &b)
{
    const size_t at = text.find(sep);
    return at != std::string::npos && parseFloat(text.substr(0, at), a) && parseFloat(text.substr(at + 1), b);
}

// "x0:x1,y0:y1,u0:u1,v0:v1".
bool parseLimits(const std::string &text, float (&limits)[8])
{
    size_t from = 0;
    for (int a = 0; a < 4; ++a) {
        const size_t comma = a < 3 ? text.find(',', from) : text.size();
        if (comma == std::string::npos || !parsePair(text.substr(from, comma - from), ':', limits[2 * a],
                                                     limits[2 * a + 1]))
            return false;
        from = comma + 1;
    }
    return true;
}

// Takes the option at args[i] and its value; an empty text, or what is wrong.
std::string takeOption(const std::vector<std::string> &args, size_t &i, GCodeCommand &c)
{
    const std::string &name = args[i];
    VxMachine &m = c.machine;
    if (name == "--no-approach") {
        m.approach = 0;
        return "";
    }
    const std::map<std::string, float *> numbers = {
        {"--towers", &m.towers}, {"--root-pos", &m.rootPos}, {"--span", &m.span},   {"--feed", &m.feed},
        {"--kerf-root", &m.kerfRoot}, {"--kerf-tip", &m.kerfTip}, {"--heat", &m.heat}, {"--dwell", &m.dwell},
    };
    const bool known = numbers.count(name) || name == "--kerf" || name == "--root-side" || name == "--axes" ||
                       name == "--limits" || name == "--decimals" || name == "--tip-shift";
    if (!known)
        return "option inconnue : " + name;
    if (i + 1 == args.size())
        return name + " attend une valeur";
    const std::string &v = args[++i];
    const std::string invalid = "valeur invalide pour " + name + " : " + v;
    if (const auto it = numbers.find(name); it != numbers.end()) {
        c.towers |= name == "--towers";
        c.rootPos |= name == "--root-pos";
        c.span |= name == "--span";
        c.kerfFace |= name == "--kerf-root" || name == "--kerf-tip";
        return parseFloat(v, *it->second) ? "" : invalid;
    }
    if (name == "--kerf") {
        c.kerfBoth = true;
        if (!parseFloat(v, m.kerfRoot))
            return invalid;
        m.kerfTip = m.kerfRoot;
        return "";
    }
    if (name == "--root-side") {
        if (v != "1" && v != "2")
            return invalid;
        m.rootSide = v == "2" ? 1 : 0;
        return "";
    }
    if (name == "--axes") {
        if (v != "XYUV" && v != "XYZA")
            return invalid;
        std::strcpy(m.axes, v.c_str());
        return "";
    }
    if (name == "--decimals")
        return parseInt(v, m.decimals) ? "" : invalid;
    if (name == "--limits")
        return parseLimits(v, m.limits) ? "" : invalid;
    return parsePair(v, ',', c.shiftX, c.shiftY) ? "" : invalid;
}

// The values of the header comments "(Key : value)" of the written program,
// in the order of `keys`, read in one pass over its comment lines.
std::vector<std::string> headerValues(const std::string &path, const std::vector<std::string> &keys)
{
    std::vector<std::string> values(keys.size());
    std::ifstream in(path, std::ios::binary);
    std::string line;
    while (std::getline(in, line) && line.starts_with("("))
        for (size_t k = 0; k < keys.size(); ++k) {
            const std::string prefix = "(" + keys[k] + " : ";
            if (line.starts_with(prefix)) {
                const size_t close = line.rfind(')');
                values[k] = line.substr(prefix.size(), close == std::string::npos ? 0 : close - prefix.size());
            }
        }
    return values;
}

} // namespace

int runGCode(const std::vector<std::string> &args)
{
    GCodeCommand c;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i].size() > 2 && args[i].compare(0, 2, "--") == 0) {
            if (const std::string wrong = takeOption(args, i, c); !wrong.empty())
                return usage(wrong);
        } else {
            c.files.push_back(args[i]);
        }
    }
    if (c.files.size() != 3)
        return usage("gcode attend EMPLANTURE SAUMON SORTIE");
    if (!c.towers || !c.rootPos || !c.span)
        return usage("gcode attend --towers, --root-pos et --span");
    if (c.kerfBoth && c.kerfFace)
        return usage("--kerf ne se combine pas avec --kerf-root ou --kerf-tip");
    Array root(sizeof(ContourPoint)), tip(sizeof(ContourPoint));
    Drawing dr, dt;
    if (const int32_t r = readFile(c.files[0], root, dr); r < 0)
        return fail(c.files[0], r);
    if (const int32_t r = readFile(c.files[1], tip, dt); r < 0)
        return fail(c.files[1], r);
    for (int32_t i = 0; i < tip.count(); ++i) {
        tip.data<ContourPoint>()[i].X += c.shiftX;
        tip.data<ContourPoint>()[i].Y += c.shiftY;
    }
    std::string name = c.files[2];
    char *namePtr = name.data();
    const int32_t moves = EcrireGCode(root.ref(), tip.ref(), &namePtr, &c.machine);
    if (moves < 0)
        return fail(c.files[2], moves);
    std::printf("%s : %d mouvements écrits\n", c.files[2].c_str(), moves);
    const std::vector<std::string> figures = headerValues(c.files[2], {"Longueur de coupe", "Duree estimee"});
    std::printf("Longueur de coupe : %s\n", figures[0].c_str());
    std::printf("Durée estimée : %s\n", figures[1].c_str());
    return 0;
}

} // namespace cli
