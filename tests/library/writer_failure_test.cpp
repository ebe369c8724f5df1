// The writers' refusals and failures: codes, their order, arrays left
// unlocked, and no half-written file where the target was.
#include "foundation/vx_array.h"
#include "writer_test_support.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace vxtest;
namespace fs = std::filesystem;

namespace {

class WriterFailures : public ::testing::Test {
protected:
    void TearDown() override { vx::testing::clearArrayFailures(); }

    // Every entry of the test folder, to prove no temporary file is left.
    std::vector<std::string> entries() const
    {
        std::vector<std::string> names;
        for (const auto &e : fs::directory_iterator(fs::path(dir.path("x")).parent_path()))
            names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    TempDir dir;
    Array points{std::vector<ContourPoint>{contourPoint(0, 0), contourPoint(1, 0), contourPoint(1, 1)}};
};

std::vector<ContourPoint> manyPoints(int n)
{
    std::vector<ContourPoint> pts;
    for (int i = 0; i < n; ++i)
        pts.push_back(contourPoint(static_cast<float>(i), static_cast<float>(i % 7)));
    return pts;
}

} // namespace

TEST_F(WriterFailures, ALockFailureGivesMinus104AndWritesNothing)
{
    vx::testing::failArrayStep(vx::ArrayStep::Lock);
    EXPECT_EQ(ecrire(points, dir.path("a.dat"), "T"), VX_ERR_ARRAY_LOCK);
    // The lock comes before the extension.
    vx::testing::failArrayStep(vx::ArrayStep::Lock);
    EXPECT_EQ(ecrire(points, dir.path("a.txt"), "T"), VX_ERR_ARRAY_LOCK);
    Array seq(std::vector<SequencePoint>{sequencePoint(0, 0, 0)});
    vx::testing::failArrayStep(vx::ArrayStep::Lock);
    EXPECT_EQ(seq2file(seq, dir.path("a.dxf"), "T"), VX_ERR_ARRAY_LOCK);
    EXPECT_TRUE(entries().empty());
    EXPECT_EQ(points.get()->locks, 0);

    // Records of another size, or no array at all.
    EXPECT_EQ(seq2file(points, dir.path("a.dat"), ""), VX_ERR_ARRAY_LOCK);
    std::string name = dir.path("a.dat");
    char *namePtr = name.data();
    EXPECT_EQ(EcrireFichier(nullptr, &namePtr, nullptr), VX_ERR_ARRAY_LOCK);
    VxArray *missing = nullptr;
    EXPECT_EQ(EcrireFichier(&missing, &namePtr, nullptr), VX_ERR_ARRAY_LOCK);
}

TEST_F(WriterFailures, EitherLockOfA3dExportFailingUnlocksTheOther)
{
    Array tip(std::vector<ContourPoint>{contourPoint(0, 0), contourPoint(2, 0), contourPoint(2, 2)});
    vx::testing::failArrayStep(vx::ArrayStep::Lock);
    EXPECT_EQ(ecrire3d(points, tip, dir.path("p.dxf"), 10), VX_ERR_ARRAY_LOCK);
    vx::testing::failArrayStep(vx::ArrayStep::Lock, 1);
    EXPECT_EQ(ecrire3d(points, tip, dir.path("p.dxf"), 10), VX_ERR_ARRAY_LOCK);
    EXPECT_EQ(points.get()->locks, 0);
    EXPECT_EQ(tip.get()->locks, 0);
    EXPECT_TRUE(entries().empty());
}

TEST_F(WriterFailures, AnUnknownExtensionGivesMinus101WithTheArrayUnlocked)
{
    std::string after;
    for (const char *name : {"a.txt", "a.svg", "noextension", "a.dat.bak", "folder.dat/file"}) {
        EXPECT_EQ(ecrire(points, dir.path(name), "T\nx", &after), VX_ERR_EXTENSION) << name;
        EXPECT_EQ(points.get()->locks, 0);
    }
    // Nothing was written, and the caller's title is left whole.
    EXPECT_EQ(after, "T\nx");
    std::string name;
    char *noName = nullptr;
    EXPECT_EQ(EcrireFichier(points.ref(), &noName, nullptr), VX_ERR_EXTENSION);
    EXPECT_EQ(EcrireFichier(points.ref(), nullptr, nullptr), VX_ERR_EXTENSION);
    EXPECT_TRUE(entries().empty());
}

TEST_F(WriterFailures, AFileThatCannotBeCreatedGivesMinus110)
{
    EXPECT_EQ(ecrire(points, dir.path("no/such/folder/a.dat"), ""), VX_ERR_CREATE);
    fs::create_directory(dir.path("taken.dxf"));
    EXPECT_EQ(ecrire(points, dir.path("taken.dxf"), ""), VX_ERR_CREATE);
    Array tip(std::vector<ContourPoint>{contourPoint(0, 0), contourPoint(2, 0), contourPoint(2, 2)});
    EXPECT_EQ(ecrire3d(points, tip, dir.path("taken.dxf"), 1), VX_ERR_CREATE);
    EXPECT_EQ(points.get()->locks, 0);
    EXPECT_EQ(entries(), std::vector<std::string>{"taken.dxf"});
    EXPECT_TRUE(fs::is_directory(dir.path("taken.dxf")));
}

TEST_F(WriterFailures, AWriteThatFailsHalfWayLeavesThePreviousFileAsItWas)
{
    // A file-size limit makes the system refuse writes past 4 KB, as a full
    // disk does; the export runs in a child process that carries the limit.
    const std::string target = dir.write("big.dxf", "previous content\r\n");
    const std::string target3d = dir.write("panel.dxf", "previous panel\r\n");
    Array big(manyPoints(2000));
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{4096, 4096};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        int failures = 0;
        failures += ecrire(big, target, "T") == VX_ERR_CREATE ? 0 : 1;
        failures += ecrire(big, dir.path("new.dat"), "T") == VX_ERR_CREATE ? 0 : 1;
        failures += ecrire3d(big, big, target3d, 5) == VX_ERR_CREATE ? 0 : 1;
        failures += big.get()->locks == 0 ? 0 : 1;
        ::_exit(failures);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(readBytes(target), "previous content\r\n");
    EXPECT_EQ(readBytes(target3d), "previous panel\r\n");
    EXPECT_EQ(entries(), (std::vector<std::string>{"big.dxf", "panel.dxf"}));

    // Without the limit the same writes succeed and replace the files.
    EXPECT_EQ(ecrire(big, target, "T"), VX_OK);
    EXPECT_GT(readBytes(target).size(), 4096u);
}

TEST_F(WriterFailures, AReplacedFileKeepsItsPermissionsAndALinkStaysALink)
{
    const std::string target = dir.write("kept.dat", "old\r\n");
    ::chmod(target.c_str(), 0640);
    ASSERT_EQ(ecrire(points, target, ""), VX_OK);
    struct stat st;
    ASSERT_EQ(::stat(target.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);

    fs::create_directory(dir.path("real"));
    const std::string real = dir.write("real/profile.dat", "old\r\n");
    fs::create_symlink(real, dir.path("link.dat"));
    ASSERT_EQ(ecrire(points, dir.path("link.dat"), "Lien"), VX_OK);
    EXPECT_TRUE(fs::is_symlink(dir.path("link.dat")));
    EXPECT_TRUE(readBytes(real).starts_with("Lien\r\n"));
    EXPECT_EQ(fs::directory_iterator(dir.path("real"))->path().filename(), "profile.dat");
}

TEST_F(WriterFailures, TheLongestFileNamesAreWrittenAndLongerOnesRefused)
{
    const std::string longest = std::string(251, 'n') + ".dat";
    EXPECT_EQ(ecrire(points, dir.path(longest), ""), VX_OK);
    EXPECT_TRUE(readBytes(dir.path(longest)).starts_with("0.000000\t-0.500000\r\n"));
    EXPECT_EQ(ecrire(points, dir.path(std::string(300, 'n') + ".dat"), ""), VX_ERR_CREATE);
    EXPECT_EQ(entries(), std::vector<std::string>{longest});
}
