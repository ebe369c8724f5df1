// Runs the vextra tool as a user does, in a folder of its own per test.
#pragma once

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace tooltest {

namespace fs = std::filesystem;

inline std::string fixture(const std::string &relative) { return std::string(ORVALIS_FIXTURES) + "/" + relative; }

inline std::string readBytes(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

inline std::string quoted(const std::string &s)
{
    std::string q = "'";
    for (char c : s)
        q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

class ToolTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        static std::atomic<int> counter{0};
        m_dir = fs::temp_directory_path() / ("vextra-cli-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
    }
    void TearDown() override { fs::remove_all(m_dir); }

    std::string path(const std::string &name) const { return (m_dir / name).string(); }
    std::string write(const std::string &name, const std::string &bytes) const
    {
        std::ofstream(path(name), std::ios::binary) << bytes;
        return path(name);
    }

    // Runs the tool; its exit code, with its standard output in `out` and
    // its standard error in `err`.
    int run(const std::vector<std::string> &args)
    {
        std::string cmd = quoted(VEXTRA_TOOL);
        for (const std::string &a : args)
            cmd += " " + quoted(a);
        cmd += " >" + quoted(path("stdout.txt")) + " 2>" + quoted(path("stderr.txt"));
        const int status = std::system(cmd.c_str());
        out = readBytes(path("stdout.txt"));
        err = readBytes(path("stderr.txt"));
        fs::remove(path("stdout.txt"));
        fs::remove(path("stderr.txt"));
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    std::string out, err;

private:
    fs::path m_dir;
};

} // namespace tooltest
