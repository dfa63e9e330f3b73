#include "glazes/GlazeFilePrefetch.h"

#include "core/support/CheckedItems.h"
#include "core/shell/FakeMessageService.h"
#include "glazes/GlazeList.h"
#include "glazes/GlazesDoc.h"
#include "shell/AppContext.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include <unistd.h>

namespace fs = std::filesystem;

namespace {

const std::string kHeader = "filetype = Oxidarium Glazes\nversion = 2\n\ndbname = Tests\n";

class GlazeFilePrefetchTest : public ::testing::Test {
protected:
    GlazeFilePrefetchTest()
    {
        m_dir = fs::temp_directory_path() / ("oxi-prefetch-" + std::to_string(::getpid()));
        fs::create_directories(m_dir);
    }
    ~GlazeFilePrefetchTest() override { fs::remove_all(m_dir); }

    std::string Write(const std::string& name, const std::string& text) const
    {
        const std::string path = (m_dir / name).string();
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }
    static std::string Written(const CGlazeList& list)
    {
        std::ostringstream out;
        list.Write(out);
        return out.str();
    }

    fs::path m_dir;
    CAppContext m_context;
    CFakeMessageService m_messages;
};

} // namespace

// A document opening a prefetched file ends up as after reading it itself: the same glazes,
// name and information lines, and for a bad file the same message; each read is used once, and
// a file changed after the prefetch read it, or one it could not open, is read by the document.
TEST_F(GlazeFilePrefetchTest, DocumentsTakeWhatWasReadAndNothingStale)
{
    const std::string good = Write("good.glz", kHeader + "I = |info\n\nname = Celadon\nrange = 5-6\n"
                                                         "component = Silica\namount = 30\n");
    const std::string bad = Write("bad.glz", kHeader + "amount = 3\n");
    const std::string changed = Write("changed.glz", kHeader + "\nname = Before\n");
    const std::string missing = (m_dir / "missing.glz").string();
    CGlazeList direct;
    std::ifstream in(good, std::ios::binary);
    ASSERT_EQ(direct.Read(in), 0);

    CGlazesDoc opened;
    CGlazesDoc failed;
    CGlazesDoc changedDoc;
    CGlazesDoc missingDoc;
    {
        const CGlazeFilePrefetch prefetch({good, bad, changed, missing});
        EXPECT_TRUE(opened.OnOpenDocument(good));
        CGlazeList again;
        int result = -7;
        EXPECT_FALSE(CGlazeFilePrefetch::Take(good, again, result)) << "a read is taken once";
        EXPECT_FALSE(failed.OnOpenDocument(bad));
        Write("changed.glz", kHeader + "\nname = After the prefetch\n");
        EXPECT_TRUE(changedDoc.OnOpenDocument(changed));
        EXPECT_FALSE(missingDoc.OnOpenDocument(missing));
    }
    EXPECT_EQ(Written(opened.Glazes()), Written(direct));
    EXPECT_EQ(opened.Glazes().m_infoLines, direct.m_infoLines);
    ASSERT_EQ(changedDoc.Glazes().GetCount(), 1);
    EXPECT_EQ(RecordAt(changedDoc.Glazes(), 0).m_name, "After the prefetch");
    EXPECT_EQ(m_messages.Texts(), (std::vector<std::string>{bad + ": Error: parameter 'amount', line 5",
                                                             missing + ": Error opening file"}));

    // Without a prefetch, Take has nothing to give.
    CGlazeList list;
    int result = 0;
    EXPECT_FALSE(CGlazeFilePrefetch::Take(good, list, result));
}
