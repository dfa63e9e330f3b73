#include "support/PathHelpers.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include <unistd.h>

namespace {

class PathHelpersTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_dir = std::filesystem::temp_directory_path() /
            ("oxi-path-" + std::to_string(getpid()) + "-" +
             ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(m_dir);
    }
    void TearDown() override { std::filesystem::remove_all(m_dir); }

    std::string Write(const std::string& name, const std::string& bytes)
    {
        const std::string path = (m_dir / name).string();
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }

    std::filesystem::path m_dir;
};

} // namespace

TEST_F(PathHelpersTest, LineDelimiterOfImportedFiles)
{
    EXPECT_EQ(DetectLineDelimiter((m_dir / "missing.txt").string()), 10);
    EXPECT_EQ(DetectLineDelimiter(Write("empty.txt", "")), 10);
    EXPECT_EQ(DetectLineDelimiter(Write("cr.txt", "a\rb\rc\r")), 13);
    EXPECT_EQ(DetectLineDelimiter(Write("crlf.txt", "a\r\nb\r\nc\r\n")), 10);
    EXPECT_EQ(DetectLineDelimiter(Write("lf.txt", "a\nb\n")), 10);
    // Lone CRs outnumbering line feeds by more than 1.1 to 1 win.
    EXPECT_EQ(DetectLineDelimiter(Write("mixed.txt", "a\rb\rc\rd\r\n")), 13);
    EXPECT_EQ(DetectLineDelimiter(Write("even.txt", "a\rb\rc\nd\r\n")), 10);
    // Only the first 16384 characters count.
    EXPECT_EQ(DetectLineDelimiter(Write("late.txt", std::string(16384, 'x') + "\r\r\r")), 10);
}

TEST_F(PathHelpersTest, MakeFilePathJoinsWithOneSlash)
{
    EXPECT_EQ(MakeFilePath("", "a"), "a");
    EXPECT_EQ(MakeFilePath("/d", "a"), "/d/a");
    EXPECT_EQ(MakeFilePath("/d/", "a"), "/d/a");
    EXPECT_EQ(MakeFilePath("/", "a"), "/a");
}

TEST_F(PathHelpersTest, DirectoriesAndFullPaths)
{
    const std::string program = GetProgramDirectory();
    ASSERT_FALSE(program.empty());
    EXPECT_EQ(program.front(), '/');
    EXPECT_TRUE(program == "/" || program.back() != '/');
    EXPECT_TRUE(FileExists(MakeFilePath(program, "core_tests")));

    const std::string current = GetCurrentDirectoryString();
    ASSERT_FALSE(current.empty());
    int offset = -1;
    EXPECT_EQ(GetFullPathString("x/../y.txt", &offset), MakeFilePath(current, "y.txt"));
    EXPECT_EQ(offset, static_cast<int>(MakeFilePath(current, "").size()));
    EXPECT_EQ(GetFullPathString("/a/./b//c.db", &offset), "/a/b/c.db");
    EXPECT_EQ(offset, 5);
    EXPECT_EQ(GetFullPathString("/a/b/", &offset), "/a/b/");
    EXPECT_EQ(offset, 5);
    EXPECT_EQ(GetFullPathString("/..", &offset), "/");
    EXPECT_EQ(offset, 1);
    EXPECT_EQ(GetFullPathString("", &offset), "");
    EXPECT_EQ(offset, 0);
}

TEST_F(PathHelpersTest, FileExistsForFilesAndDirectories)
{
    EXPECT_TRUE(FileExists(Write("here.txt", "x")));
    EXPECT_TRUE(FileExists(m_dir.string()));
    EXPECT_FALSE(FileExists((m_dir / "gone.txt").string()));
    EXPECT_FALSE(FileExists(""));
}
