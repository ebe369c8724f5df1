// The binding against the real libvextra.so.0 of this build, and against a
// copy that lacks exports.
#include "platform/vextra_binding.h"

#include "qt_print.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace orv;

namespace {

QString tag(const ContourPoint &p)
{
    return QString(QChar(p.Tag[0])) + QChar(p.Tag[1]);
}
QString pen(const ContourPoint &p)
{
    return QString(QChar(p.Pen[0])) + QChar(p.Pen[1]);
}

class VextraBinding : public ::testing::Test {
protected:
    void SetUp() override
    {
        lib = VextraLibrary::open(VEXTRA_FILE);
        ASSERT_TRUE(lib->isLoaded()) << lib->errorText().toStdString();
    }
    QString write(const char *name, const QByteArray &bytes)
    {
        const QString path = dir.filePath(QString::fromUtf8(name));
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return path;
    }
    std::unique_ptr<VextraLibrary> lib;
    QTemporaryDir dir;
};

} // namespace

TEST(VextraLoading, TheProgramCopyIsFoundBesideTheExecutable)
{
    VextraLibrary &lib = VextraLibrary::shared();
    ASSERT_TRUE(lib.isLoaded()) << lib.errorText().toStdString();
    EXPECT_EQ(lib.version(), 64);
    EXPECT_EQ(&lib, &VextraLibrary::shared());
}

TEST(VextraLoading, AMissingLibraryIsReportedInFrench)
{
    const auto lib = VextraLibrary::open("/nonexistent/libvextra.so.0");
    EXPECT_FALSE(lib->isLoaded());
    EXPECT_TRUE(lib->errorText().startsWith("La bibliothèque Vextra (/nonexistent/libvextra.so.0) est "
                                            "introuvable ou ne peut pas être chargée.\r\n"));
    const Notice notice = lib->errorNotice();
    EXPECT_EQ(notice.icon, NoticeIcon::Critical);
    EXPECT_EQ(notice.title, "Bibliothèque Vextra");
    EXPECT_EQ(lib->version(), kVextraUnavailable);
    std::vector<ContourPoint> points(3);
    EXPECT_EQ(lib->lissageSequence(points), kVextraUnavailable);
}

TEST(VextraLoading, MissingExportsAreNamedInTheMessage)
{
    const auto lib = VextraLibrary::open(VEXTRA_PARTIAL_FILE);
    EXPECT_FALSE(lib->isLoaded());
    EXPECT_TRUE(lib->errorText().contains("ne contient pas les fonctions « LireFichier », « EcrireFichier », "
                                          "« EcrireFichier3D », « LissageSequence », « VxArrayCreate », "
                                          "« VxArrayDestroy »."))
        << lib->errorText().toStdString();
    EXPECT_EQ(lib->version(), kVextraUnavailable); // Version exists, but the library is unusable
}

TEST_F(VextraBinding, ADatFileIsReadWithItsTitleAndBounds)
{
    const QString path =
        write("naca.dat", "Profil \xC3\xA9tudi\xC3\xA9\n1.0 0.0\n0.5 0.1\n0.0 0.0\n0.5 -0.1\n1.0 0.0\n");
    ContourArray points(*lib, 1);
    QString title;
    Bounds bounds{9, 9, 9, 9};
    ASSERT_EQ(lib->lireFichier(path, title, points, bounds), 5);
    EXPECT_EQ(points.count(), 5);
    EXPECT_EQ(title, "Profil étudié");
    EXPECT_FLOAT_EQ(bounds.xMin, 0.0f);
    EXPECT_FLOAT_EQ(bounds.xMax, 1.0f);
    EXPECT_FLOAT_EQ(bounds.yMin, 0.0f);
    EXPECT_FLOAT_EQ(bounds.yMax, 0.2f);
    EXPECT_FLOAT_EQ(points[0].X, 1.0f);
    EXPECT_FLOAT_EQ(points[0].Y, 0.1f);
    EXPECT_FLOAT_EQ(points[3].Y, 0.0f);
    EXPECT_EQ(pen(points[0]), "PD");
    EXPECT_EQ(tag(points[4]), " A");
}

TEST_F(VextraBinding, AWindows1252TitleKeepsItsAccents)
{
    const QString path = write("ancien.dat", "Aile \xE0 fl\xE8"
                                             "che\r\n1 0\r\n0 0\r\n");
    ContourArray points(*lib);
    QString title;
    Bounds bounds;
    ASSERT_EQ(lib->lireFichier(path, title, points, bounds), 2);
    EXPECT_EQ(title, "Aile à flèche");
}

TEST_F(VextraBinding, ReadingErrorsComeBackAsTheLibraryCodes)
{
    ContourArray points(*lib);
    QString title;
    Bounds bounds;
    EXPECT_EQ(lib->lireFichier(dir.filePath("absent.dat"), title, points, bounds), VX_ERR_OPEN);
    EXPECT_EQ(lib->lireFichier(write("x.txt", "1 2\n"), title, points, bounds), VX_ERR_EXTENSION);
    EXPECT_EQ(lib->lireFichier(write("vide.dat", "titre seul\n"), title, points, bounds), VX_ERR_NO_POINT);
}

TEST_F(VextraBinding, AnArrayIsMadeReplacedAndFreedThroughTheLibrary)
{
    ContourArray array(*lib, 2);
    ASSERT_TRUE(array.isValid());
    EXPECT_EQ(array.count(), 2);
    EXPECT_FLOAT_EQ(array[1].X, 0.0f); // zero-filled
    const std::vector<ContourPoint> records{
        {1, 2, {'P', 'D'}, {' ', 'A'}}, {3, 4, {'P', 'D'}, {' ', 'A'}}, {5, 6, {'P', 'D'}, {' ', 'A'}}};
    ASSERT_TRUE(array.replace(records));
    EXPECT_EQ(array.count(), 3);
    EXPECT_FLOAT_EQ(array[2].Y, 6.0f);
    ContourArray moved = std::move(array);
    EXPECT_FALSE(array.isValid());
    EXPECT_EQ(moved.toVector().size(), 3u);
    moved.reset();
    EXPECT_EQ(moved.count(), 0);
}

TEST_F(VextraBinding, SmoothingRefusesTooFewPointsAndLeavesThemAlone)
{
    std::vector<ContourPoint> points{{0, 0, {}, {}}, {1, 1, {}, {}}};
    EXPECT_EQ(lib->lissageSequence(points), VX_ERR_TOO_FEW);
    ASSERT_EQ(points.size(), 2u);
    EXPECT_FLOAT_EQ(points[1].X, 1.0f);
}

TEST_F(VextraBinding, SmoothingAnOpenRunKeepsItsEndsAndComesBackDenser)
{
    std::vector<ContourPoint> points{{0, 0, {'P', 'D'}, {' ', 'A'}},
                                     {10, 5, {'P', 'D'}, {' ', 'A'}},
                                     {20, 5, {'P', 'D'}, {' ', 'A'}},
                                     {30, 0, {'P', 'D'}, {' ', 'A'}}};
    ASSERT_EQ(lib->lissageSequence(points), 13); // 11 points on the one inner segment, plus both ends
    ASSERT_EQ(points.size(), 13u);
    EXPECT_FLOAT_EQ(points.front().X, 0.0f);
    EXPECT_FLOAT_EQ(points.back().X, 30.0f);
    EXPECT_FLOAT_EQ(points[1].X, 10.0f);
    EXPECT_FLOAT_EQ(points[11].X, 20.0f);
}

TEST_F(VextraBinding, AProfileWrittenAsDatComesBackWithItsTitle)
{
    ContourArray out(*lib);
    ASSERT_TRUE(out.replace(std::vector<ContourPoint>{{100, 0, {}, {}}, {0, 5, {}, {}}, {50, -5, {}, {}}}));
    const QString path = dir.filePath("export é.dat");
    ASSERT_EQ(lib->ecrireFichier(out, path, "Corde: 100.000 Flèche: 0.000\r\nreste"), VX_OK);
    ContourArray in(*lib);
    QString title;
    Bounds bounds;
    EXPECT_EQ(lib->lireFichier(path, title, in, bounds), 3);
    EXPECT_EQ(title, "Corde: 100.000 Flèche: 0.000");
}
