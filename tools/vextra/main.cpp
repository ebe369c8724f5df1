// vextra: reads, converts and processes contour files from the command line.
#include "cli.h"

#include <cstdio>
#include <string>
#include <vector>

namespace cli {

const std::vector<Command> &commands()
{
    static const std::vector<Command> table = {
        {"info", "FICHIER\n      contours, points par contour, dimensions et titre", runInfo},
        {"convert", "ENTREE SORTIE [--par-contour]\n      convertit vers .dat ou .dxf (--par-contour : un fichier par "
                    "contour, SORTIE-1.ext, SORTIE-2.ext...)",
         runConvert},
        {"3d", "EMPLANTURE SAUMON ENVERGURE SORTIE.dxf\n      DXF 3D des faces entre deux profils de même nombre de "
               "points",
         run3d},
        {"smooth", "ENTREE SORTIE\n      lisse chaque contour par des courbes d'Hermite (11 points par segment)", runSmooth},
        {"clean", "TOLERANCE ENTREE SORTIE\n      supprime les points alignés à la tolérance près (les points « PC » restent)",
         runClean},
        {"offset", "DISTANCE ENTREE SORTIE [--overlap N] [--tolerance T]\n      contours décalés (distance positive : à "
                   "droite du sens de parcours ; --overlap 0 à 99 : passes successives ; tolérance 0.01 par défaut)",
         runOffset},
        {"organize", "ENTREE SORTIE\n      met les contours dans l'ordre de découpe (trous d'abord, puis le plus proche)",
         runOrganize},
        {"text", "\"TEXTE\" [--font POLICE] [--bold] [--italic] [--spacing F] SORTIE\n      contours des caractères d'un "
                 "texte (police « DejaVu Sans » par défaut)",
         runText},
        {"gcode", "EMPLANTURE SAUMON SORTIE --towers L --root-pos P --span S [--root-side 1|2] [--axes XYUV|XYZA]\n"
                  "      [--feed F] [--kerf K | --kerf-root K --kerf-tip K] [--heat S] [--dwell T] [--no-approach]\n"
                  "      [--limits x0:x1,y0:y1,u0:u1,v0:v1] [--decimals N] [--tip-shift DX,DY]\n"
                  "      programme G-code d'un panneau pour une machine à fil chaud 4 axes (tours distantes\n"
                  "      de L mm, emplanture à P mm de la tour 1 ou 2, saumon S mm plus loin ; par défaut\n"
                  "      vitesse 300 mm/min, saignée 0, sans chauffe, pause de chauffe 2 s, 3 décimales)",
         runGCode},
    };
    return table;
}

} // namespace cli

static void printHelp()
{
    std::printf("Usage : vextra COMMANDE ARGUMENTS...\n\n"
                "Lit et écrit les fichiers de contours (.dat .dxf .plt .prn .hpgl .eps .drd .drl .svg)\n"
                "au moyen de la bibliothèque Vextra (version 0.%d).\n\nCommandes :\n",
                Version());
    for (const cli::Command &c : cli::commands())
        std::printf("  vextra %s %s\n", c.name, c.synopsis);
    std::printf("\nLe code de sortie est 0 en cas de succès, 1 si la bibliothèque signale une erreur,\n"
                "2 si la commande est mal formée.\n");
}

int main(int argc, char **argv)
{
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty() || args[0] == "--help" || args[0] == "-h" || args[0] == "aide") {
        printHelp();
        return args.empty() ? 2 : 0;
    }
    for (const cli::Command &c : cli::commands())
        if (args[0] == c.name)
            return c.run(std::vector<std::string>(args.begin() + 1, args.end()));
    return cli::usage("commande inconnue : " + args[0]);
}
