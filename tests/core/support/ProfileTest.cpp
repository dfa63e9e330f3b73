#include "support/Profile.h"

#include "core/support/FileSizeLimit.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

class ProfileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_dir = fs::temp_directory_path() / ("oxi-profile-" + std::to_string(::getpid()) + "-" +
                                             ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
        m_path = (m_dir / "Oxidarium.ini").string();
    }
    void TearDown() override
    {
        fs::permissions(m_dir, fs::perms::owner_all, fs::perm_options::add);
        fs::remove_all(m_dir);
    }
    std::string ReadAll() const
    {
        std::ifstream in(m_path, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }
    void WriteRaw(const std::string& bytes) const { std::ofstream(m_path, std::ios::binary) << bytes; }

    fs::path m_dir;
    std::string m_path;
};

} // namespace

// Regression: a hand-edited line "ElementDBFileName = /data/elements.ele" was read with the blank
// after "=", a path that does not exist. Values are read without the blanks around them, as in
// every other key = value file; a write of the value held saves nothing, blanks or not.
TEST_F(ProfileTest, FindsSectionsAndKeysWhateverTheirCaseAndTrimsBlanksAroundValues)
{
    WriteRaw("[Colors]\r\nel_alk=255,0,0\r\n[files]\rMaterialDBFileName=  /data/materials.mat\n"
             "ElementDBFileName = /data/elements.ele \t\nLastX =  12 \n; a comment\nPositionAndSize\n");
    CProfile profile(m_path);
    EXPECT_EQ(profile.GetString("COLORS", "EL_ALK"), "255,0,0");
    EXPECT_EQ(profile.GetString("Files", "materialdbfilename"), "/data/materials.mat");
    EXPECT_EQ(profile.GetString("Files", "ElementDBFileName"), "/data/elements.ele");
    EXPECT_EQ(profile.GetInt("Files", "LastX", 0), 12);
    EXPECT_TRUE(profile.WriteString("Files", "ElementDBFileName", "/data/elements.ele"));
    EXPECT_EQ(profile.SaveCount(), 0);
    EXPECT_EQ(profile.GetString("Files", "Missing", "dflt"), "dflt");
    EXPECT_EQ(profile.GetInt("Files", "Missing", 7), 7);

    ASSERT_TRUE(profile.WriteString("colors", "El_Alk", " \"quoted\", value "));
    ASSERT_TRUE(profile.WriteInt("PositionAndSize", "LastX", -5));
    ASSERT_TRUE(profile.WriteString("Files", "DbTreeFileName", ""));
    // A line break of either kind in a value would start a line of its own in the file.
    ASSERT_TRUE(profile.WriteString("Files", "GlazeDir", "/glazes\rSneaked=3\nLastY=4"));

    CProfile reread(m_path);
    EXPECT_EQ(reread.GetString("Files", "GlazeDir"), "/glazes Sneaked=3 LastY=4");
    EXPECT_FALSE(reread.HasValue("Files", "Sneaked"));
    EXPECT_TRUE(reread.WriteString("Files", "GlazeDir", reread.GetString("Files", "GlazeDir")));
    EXPECT_EQ(reread.SaveCount(), 0) << "the value read back is the value held";
    EXPECT_EQ(reread.GetString("Colors", "el_alk"), "\"quoted\", value");
    EXPECT_EQ(reread.GetInt("positionandsize", "lastx", 0), -5);
    EXPECT_TRUE(reread.HasValue("Files", "DbTreeFileName"));
    EXPECT_EQ(reread.GetString("Files", "DbTreeFileName", "x"), "");
    // The key keeps the spelling it was first written with; unknown lines stay.
    EXPECT_NE(ReadAll().find("el_alk=\"quoted\", value\n"), std::string::npos);
    EXPECT_NE(ReadAll().find("; a comment\n"), std::string::npos);
}

TEST_F(ProfileTest, NewSectionsAndKeysAreAppendedInPlace)
{
    CProfile profile(m_path);
    ASSERT_TRUE(profile.WriteString("Directories", "Starting", "/home/potter"));
    ASSERT_TRUE(profile.WriteString("Files", "ElementDBFileName", "elements.ele"));
    ASSERT_TRUE(profile.WriteString("Directories", "Other", "x"));
    EXPECT_EQ(ReadAll(), "[Directories]\nStarting=/home/potter\nOther=x\n\n[Files]\nElementDBFileName=elements.ele\n");
    ASSERT_TRUE(profile.DeleteKey("directories", "other"));
    EXPECT_EQ(CProfile(m_path).GetString("Directories", "Other", "gone"), "gone");
}

TEST_F(ProfileTest, AFailedWriteLeavesTheFileIntact)
{
    CProfile profile(m_path);
    ASSERT_TRUE(profile.WriteString("Colors", "el_acid", "0,0,255"));
    const std::string before = ReadAll();
    {
        // A file-size limit makes the write fail part way, as a full disk would (even for root).
        CFileSizeLimit limit(64);
        EXPECT_FALSE(profile.WriteString("Colors", "el_acid", std::string(200, 'x')));
    }
    EXPECT_EQ(ReadAll(), before);
    EXPECT_EQ(std::distance(fs::directory_iterator(m_dir), fs::directory_iterator()), 1);
}

TEST_F(ProfileTest, ABatchSavesItsChangesOnceAndUnchangedValuesSaveNothing)
{
    CProfile profile(m_path);
    {
        const CProfileWriteBatch outer(&profile);
        {
            const CProfileWriteBatch inner(&profile);
            ASSERT_TRUE(profile.WriteString("Colors", "el_acid", "0,0,255"));
            ASSERT_TRUE(profile.WriteInt("PositionAndSize", "LastX", 10));
        }
        ASSERT_TRUE(profile.DeleteKey("Colors", "el_acid"));
        EXPECT_FALSE(fs::exists(m_path)) << "nothing is saved while a batch is open";
    }
    EXPECT_EQ(profile.SaveCount(), 1);
    EXPECT_EQ(ReadAll(), "[Colors]\n\n[PositionAndSize]\nLastX=10\n");
    ASSERT_TRUE(profile.WriteInt("PositionAndSize", "LastX", 10));
    { const CProfileWriteBatch empty(&profile); }
    EXPECT_EQ(profile.SaveCount(), 1);

    // A change whose save failed is saved by the next write, even of an unchanged value.
    {
        CFileSizeLimit limit(16);
        EXPECT_FALSE(profile.WriteString("Files", "DbTreeFileName", std::string(40, 'x')));
    }
    ASSERT_TRUE(profile.WriteInt("PositionAndSize", "LastX", 10));
    EXPECT_EQ(CProfile(m_path).GetString("Files", "DbTreeFileName"), std::string(40, 'x'));
}

TEST_F(ProfileTest, TheDefaultPathFollowsTheEnvironment)
{
    const char* old = std::getenv("OXIDARIUM_PROFILE");
    const std::string saved = old ? old : "";
    ::setenv("OXIDARIUM_PROFILE", "/tmp/x.ini", 1);
    EXPECT_EQ(CProfile::DefaultPath(), "/tmp/x.ini");
    ::unsetenv("OXIDARIUM_PROFILE");
    ::setenv("XDG_CONFIG_HOME", "/cfg", 1);
    EXPECT_EQ(CProfile::DefaultPath(), "/cfg/Oxidarium/Oxidarium.ini");
    ::unsetenv("XDG_CONFIG_HOME");
    if (old)
        ::setenv("OXIDARIUM_PROFILE", saved.c_str(), 1);
}

// Regression: each copy of the program rewrote the whole file from what it read at start-up, so
// the copy that wrote last put back every key as it was then (another copy's new database path
// was lost). A save now applies only this copy's own changes over the file as it is.
TEST_F(ProfileTest, TwoCopiesOfTheProgramKeepEachOthersChanges)
{
    WriteRaw("[Files]\nMaterialDBFileName=/old/materials.mat\nGlazeDir=/glazes\n\n[PositionAndSize]\nLastX=1\n");
    CProfile first(m_path);
    CProfile second(m_path);
    ASSERT_TRUE(first.WriteString("Files", "MaterialDBFileName", "/new/materials.mat"));
    ASSERT_TRUE(second.WriteInt("PositionAndSize", "LastX", 2));
    ASSERT_TRUE(second.DeleteKey("Files", "GlazeDir"));
    {
        const CProfileWriteBatch batch(&first);
        ASSERT_TRUE(first.WriteString("Colors", "el_acid", "0,0,255"));
        ASSERT_TRUE(first.WriteInt("PositionAndSize", "LastX", 1)); // what it read: no change
    }
    EXPECT_EQ(ReadAll(), "[Files]\nMaterialDBFileName=/new/materials.mat\n\n[PositionAndSize]\nLastX=2\n\n"
                         "[Colors]\nel_acid=0,0,255\n");
    // Each copy holds the merged file after its save.
    EXPECT_EQ(first.GetInt("PositionAndSize", "LastX", 0), 2);
    EXPECT_EQ(second.GetString("Files", "MaterialDBFileName"), "/new/materials.mat");
}

// Regression: a profile that could not be saved (a folder or a pipe in its place, a full disk)
// lost the window places and the database list without a word: every caller ignored the failed
// save. The first failure is told, with the safe save's reason; those after it are not, until a
// save succeeds again.
TEST_F(ProfileTest, AFailedSaveIsToldOnceWithItsReason)
{
    std::vector<std::string> told;
    CProfile profile(m_path);
    profile.SetSaveFailureNotice([&told](const std::string& message) { told.push_back(message); });
    const std::string lost =
        "\n\nWindow places and the databases to open at start-up are not kept until the profile can be saved.";
    fs::create_directory(m_path);
    EXPECT_FALSE(profile.WriteInt("PositionAndSize", "LastX", 10));
    EXPECT_FALSE(profile.WriteInt("PositionAndSize", "LastY", 20));
    EXPECT_EQ(told, std::vector<std::string>{m_path + ": Error opening file\n\nIt is not a regular file." + lost});

    fs::remove(m_path);
    EXPECT_TRUE(profile.WriteInt("PositionAndSize", "LastCX", 30));
    EXPECT_EQ(CProfile(m_path).GetInt("PositionAndSize", "LastY", 0), 20) << "what could not be saved is saved now";
    {
        CFileSizeLimit limit(16);
        EXPECT_FALSE(profile.WriteInt("PositionAndSize", "LastCY", 40));
        EXPECT_FALSE(profile.WriteInt("PositionAndSize", "Style", 1));
    }
    ASSERT_EQ(told.size(), 2u);
    EXPECT_EQ(told[1], m_path + ": Error writing file\n\nThe file would be larger than the file system allows." + lost);
}
