#include "support/DesktopOpenCheck.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <streambuf>

namespace {

// A stream of count bytes of one character, made as they are read; counts what was read.
class CGeneratedBuffer : public std::streambuf {
public:
    CGeneratedBuffer(std::size_t count, char c) : m_left(count), m_block(4096, c) {}
    std::size_t m_read = 0;

protected:
    int_type underflow() override
    {
        if (m_left == 0)
            return traits_type::eof();
        const std::size_t size = std::min(m_left, m_block.size());
        m_left -= size;
        m_read += size;
        setg(m_block.data(), m_block.data(), m_block.data() + size);
        return traits_type::to_int_type(m_block[0]);
    }

private:
    std::size_t m_left;
    std::string m_block;
};

TEST(DesktopOpenCheckTest, TellsADesktopEntryByItsFirstHeader)
{
    const auto starts = [](const std::string& text) {
        std::istringstream in(text);
        return StartsAsDesktopEntry(in);
    };
    EXPECT_TRUE(starts("# comment\n\n  \xEF\xBB\xBF[Desktop Entry]\nExec=sh\n"));
    EXPECT_TRUE(starts("\r\n[Desktop Entry]"));
    EXPECT_FALSE(starts("[Desktop Action new]\n[Desktop Entry]\n"));
    EXPECT_FALSE(starts("PNG\n[Desktop Entry]\n"));
    EXPECT_FALSE(starts(std::string(64, '\n') + "[Desktop Entry]\n")) << "only the first 64 lines count";
}

// Regression: the View button's check read a file of one 400 MB line whole, on the GUI thread
// (1.2 s, 527 MB); it reads the head only.
TEST(DesktopOpenCheckTest, ReadsOnlyTheHeadOfAFileOfOneLongLine)
{
    CGeneratedBuffer buffer(400u << 20, 'x');
    std::istream in(&buffer);
    EXPECT_FALSE(StartsAsDesktopEntry(in));
    EXPECT_LE(buffer.m_read, kDesktopEntryHeadBytes + 4096);
}

} // namespace
