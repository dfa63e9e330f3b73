#include "support/DbFileInfo.h"

#include "core/support/FakeServices.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

class DbFileInfoTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_dir = fs::temp_directory_path() / ("oxi-dbfileinfo-" + std::to_string(::getpid()) + "-" +
                                             ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
    }
    void TearDown() override { fs::remove_all(m_dir); }

    std::string Write(const std::string& name, const std::string& bytes)
    {
        const fs::path path = m_dir / name;
        std::ofstream(path, std::ios::binary) << bytes;
        return path.string();
    }

    fs::path m_dir;
};

const std::string kGlazesHeader = "filetype = Oxidarium Glazes\n"
                                  "version =  2\n"
                                  "\n"
                                  "dbname  = My glazes\n"
                                  "I = |first note\n"
                                  "I = |  indented\n"
                                  "I = |\n"
                                  "\n"
                                  "name = Celadon\n"
                                  "cone = 10\n";

int ReadHeaderFrom(CDbFileInfo& info, const std::string& text, bool quick = false)
{
    std::istringstream in(text);
    return info.ReadHeader(in, quick);
}

} // namespace

TEST_F(DbFileInfoTest, AGlazeFileIsIdentifiedWithItsHeader)
{
    CFakeBusy busy;
    const std::string path = Write("glazes.glz", kGlazesHeader);
    CDbFileInfo info(path, true);
    EXPECT_EQ(info.m_result, 0);
    EXPECT_EQ(info.m_errorMessage, "");
    EXPECT_EQ(info.m_path, path);
    EXPECT_EQ(info.m_type, DbFileType::Glazes);
    EXPECT_EQ(info.m_filetype, "Oxidarium Glazes");
    EXPECT_EQ(info.m_version, 2);
    EXPECT_EQ(info.m_dbname, "My glazes");
    EXPECT_EQ(info.m_infoLines, (CStringArrayEx{"first note", "  indented", ""}));
    EXPECT_EQ(busy.begun, 1);
    EXPECT_EQ(busy.depth, 0);
}

TEST_F(DbFileInfoTest, TheFileTypeIsComparedIgnoringCase)
{
    CDbFileInfo info;
    EXPECT_EQ(ReadHeaderFrom(info, "filetype = oxidarium glazes\nversion = 1\n"), 0);
    EXPECT_EQ(info.m_type, DbFileType::Glazes);
    EXPECT_EQ(static_cast<int>(info.m_type), 5);
    EXPECT_EQ(info.m_filetype, "oxidarium glazes");
}

TEST_F(DbFileInfoTest, AnUnknownFileTypeIsNoError)
{
    const std::string path = Write("odd.dat", "filetype = Something Else\nversion = 2\n");
    CDbFileInfo info(path, false);
    EXPECT_EQ(info.m_result, 0);
    EXPECT_EQ(info.m_type, DbFileType::Unknown);
    EXPECT_EQ(info.m_filetype, "Something Else");
}

TEST_F(DbFileInfoTest, EveryKindIsMappedFromItsText)
{
    CDbFileInfo info;
    for (int code = 1; code <= 9; ++code) {
        const auto kind = static_cast<DbFileType>(code);
        info.MapFileTypeName(DbFileTypeText(kind));
        EXPECT_EQ(info.m_type, kind) << code;
    }
    info.MapFileTypeName("TEXT FILE");
    EXPECT_EQ(info.m_type, DbFileType::TextFile);
    info.MapFileTypeName("Oxidarium Glazes ");
    EXPECT_EQ(info.m_type, DbFileType::Unknown);
    info.MapFileTypeName("");
    EXPECT_EQ(info.m_type, DbFileType::Unknown);
    EXPECT_STREQ(DbFileTypeText(DbFileType::Unknown), "");
    EXPECT_STREQ(DbFileTypeText(static_cast<DbFileType>(42)), "");
    EXPECT_STREQ(DbFileTypeText(DbFileType::DbTreeItems), "Oxidarium Database Tree Items");
}

TEST_F(DbFileInfoTest, InformationLinesDropOnlyALeadingBar)
{
    CDbFileInfo info;
    EXPECT_EQ(ReadHeaderFrom(info, "filetype = Oxidarium Materials\nversion = 2\n"
                                   "I = |  word\n"
                                   "I = hello\n"
                                   "I =\n"
                                   "I = ||x\n"),
              0);
    // A hand-edited "I = hello" keeps its first letter (the old probe dropped any first character).
    EXPECT_EQ(info.m_infoLines, (CStringArrayEx{"  word", "hello", "", "|x"}));
    EXPECT_EQ(InfoLineFromValue("|"), "");
    EXPECT_EQ(InfoLineFromValue(""), "");
}

TEST_F(DbFileInfoTest, TheLastDbNameWins)
{
    CDbFileInfo info;
    EXPECT_EQ(ReadHeaderFrom(info, "filetype = Oxidarium Elements\nversion = 2\ndbname = a\ndbname = b\n"), 0);
    EXPECT_EQ(info.m_dbname, "b");
}

TEST_F(DbFileInfoTest, AMissingFileCannotBeOpened)
{
    CFakeBusy busy;
    const std::string path = (m_dir / "missing.glz").string();
    CDbFileInfo info(path, true);
    EXPECT_EQ(info.m_result, 1);
    EXPECT_EQ(info.m_errorMessage, path + ": unable to open");
    EXPECT_FALSE(fs::exists(path)); // opening does not create it
    EXPECT_EQ(busy.begun, 0);

    const std::string text = (m_dir / "missing.TXT").string();
    CDbFileInfo textInfo(text, true);
    EXPECT_EQ(textInfo.m_result, 1);
    EXPECT_EQ(textInfo.m_errorMessage, text + ": unable to open");
}

// Regression: a pipe in a catalogued folder kept the start-up waiting for good.
TEST_F(DbFileInfoTest, APipeOrADirectoryIsNotARegularFile)
{
    const std::string folder = (m_dir / "folder.glz").string();
    fs::create_directories(folder);
    const std::string fifo = (m_dir / "fifo.txt").string();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    // A socket cannot even be opened; the message still says what it is.
    const std::string socketPath = (m_dir / "socket.glz").string();
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    ASSERT_LT(socketPath.size(), sizeof address.sun_path);
    socketPath.copy(address.sun_path, socketPath.size());
    const int socket = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_EQ(::bind(socket, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    for (const std::string& path : {folder, fifo, socketPath}) {
        CDbFileInfo info(path, true);
        EXPECT_EQ(info.m_result, 1);
        EXPECT_EQ(info.m_errorMessage, path + ": not a regular file");
    }
    ::close(socket);
}

TEST_F(DbFileInfoTest, ATxtPathIsATextFileWhateverItsContent)
{
    CFakeBusy busy;
    const std::string path = Write("Notes.TXT", kGlazesHeader);
    CDbFileInfo info(path, true);
    EXPECT_EQ(info.m_result, 0);
    EXPECT_EQ(info.m_type, DbFileType::TextFile);
    EXPECT_EQ(info.m_filetype, "Text File");
    EXPECT_EQ(info.m_dbname, "Notes.TXT");
    EXPECT_TRUE(info.m_infoLines.empty());
    EXPECT_EQ(busy.begun, 0); // the content is not read

    // A relative path names the file of the full path.
    const fs::path old = fs::current_path();
    fs::current_path(m_dir);
    CDbFileInfo relative("Notes.TXT", false);
    fs::current_path(old);
    EXPECT_EQ(relative.m_type, DbFileType::TextFile);
    EXPECT_EQ(relative.m_dbname, "Notes.TXT");
}

TEST_F(DbFileInfoTest, AVersionOutOfRangeFailsWithThePathAndTheReason)
{
    const std::string path = Write("bad.mat", "filetype = Oxidarium Materials\nversion = 3\n");
    CDbFileInfo info(path, false);
    EXPECT_EQ(info.m_result, 3);
    EXPECT_EQ(info.m_errorMessage, path + ": Parameter 'version' out of range, line 2");
}

TEST_F(DbFileInfoTest, HeaderKeysAreRequiredAndOnceOnly)
{
    CDbFileInfo info;
    EXPECT_EQ(ReadHeaderFrom(info, "version = 2\n"), 5);
    EXPECT_EQ(info.m_errorText, "Parameter 'filetype' not found");
    EXPECT_EQ(ReadHeaderFrom(info, "filetype = Text File\n"), 5);
    EXPECT_EQ(info.m_errorText, "Parameter 'version' not found");
    EXPECT_EQ(ReadHeaderFrom(info, "filetype = a\nversion = 2\nversion = 2\n"), 4);
    EXPECT_EQ(ReadHeaderFrom(info, "filetype = a\nversion = 2\nsome words\n"), 1);
    EXPECT_EQ(info.m_errorText, "Parse error in line 3");
    EXPECT_EQ(ReadHeaderFrom(info, "filetype = a\nversion = 2\nname = other keys are ignored\n"), 0);
}

TEST_F(DbFileInfoTest, QuickModeStopsNearLineOneHundred)
{
    std::string text = "version = 2\n";
    for (int line = 2; line <= 100; ++line)
        text += "name = filler\n";
    text += "filetype = Oxidarium Glazes\n";
    const std::string path = Write("late.glz", text);

    CDbFileInfo quick(path, true);
    EXPECT_EQ(quick.m_result, 5);
    EXPECT_EQ(quick.m_errorMessage, path + ": Parameter 'filetype' not found");

    CDbFileInfo whole(path, false);
    EXPECT_EQ(whole.m_result, 0);
    EXPECT_EQ(whole.m_type, DbFileType::Glazes);
}

TEST_F(DbFileInfoTest, ReadingAgainDropsEarlierValues)
{
    CDbFileInfo info;
    EXPECT_EQ(ReadHeaderFrom(info, "filetype = Oxidarium Glazes\nversion = 2\ndbname = a\nI = |x\n"), 0);
    EXPECT_EQ(ReadHeaderFrom(info, "filetype = Oxidarium Preferences\nversion = 1\n"), 0);
    EXPECT_EQ(info.m_type, DbFileType::Preferences);
    EXPECT_EQ(info.m_version, 1);
    EXPECT_EQ(info.m_dbname, "");
    EXPECT_TRUE(info.m_infoLines.empty());
}

TEST_F(DbFileInfoTest, CrLfHeadersReadTheSame)
{
    const std::string path = Write("windows.glz", "filetype = Oxidarium Glazes\r\nversion =  2\r\n\r\n"
                                                  "dbname  = Win\r\nI = |  note  \r\n");
    CDbFileInfo info(path, true);
    EXPECT_EQ(info.m_result, 0);
    EXPECT_EQ(info.m_type, DbFileType::Glazes);
    EXPECT_EQ(info.m_dbname, "Win");
    EXPECT_EQ(info.m_infoLines, CStringArrayEx{"  note"});
}
