#include "tree/DbTreeItem.h"

#include "core/support/CheckedItems.h"
#include "TestPaths.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <vector>

namespace {

const std::string kHeader = "filetype = Oxidarium Database Tree Items\nversion =  2\n\n";

std::string ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

std::string Written(const CDbTreeItemList& list)
{
    std::ostringstream out;
    EXPECT_EQ(list.Write(out), 0);
    return out.str();
}

int ReadText(CDbTreeItemList& list, const std::string& text)
{
    std::istringstream in(text);
    return list.Read(in);
}

CDbTreeItem Item(const std::string& path, const std::string& title)
{
    CDbTreeItem item;
    item.path = path;
    item.title = title;
    item.SetTypeCode(DbTreeItemType::Glazes);
    return item;
}

std::vector<std::string> Titles(const CDbTreeItemList& list)
{
    std::vector<std::string> titles;
    for (int i = 0; i < list.GetCount(); ++i)
        titles.push_back(RecordAt(list, i).title);
    return titles;
}

} // namespace

TEST(DbTreeItemListTest, FileRoundTripIsByteExact)
{
    const std::string path = std::string(OXI_TEST_DATA_DIR) + "/tree/catalogue.dbt";
    const std::string bytes = ReadAll(path);
    ASSERT_FALSE(bytes.empty());
    std::ifstream in(path);
    CDbTreeItemList list;
    ASSERT_EQ(list.Read(in), 0) << list.m_errorText;
    EXPECT_EQ(list.version, 2);
    ASSERT_EQ(list.GetCount(), 5);
    EXPECT_EQ(RecordAt(list, 0).path, "/data/Studio Glazes.glz");
    EXPECT_EQ(RecordAt(list, 0).title, "Studio glazes");
    EXPECT_EQ(RecordAt(list, 0).type, DbTreeItemType::Glazes);
    EXPECT_EQ(RecordAt(list, 2).type, DbTreeItemType::TextFile);
    EXPECT_EQ(RecordAt(list, 3).type, DbTreeItemType::GraphTemplates);
    EXPECT_EQ(RecordAt(list, 4).type, DbTreeItemType::Unknown);
    EXPECT_EQ(RecordAt(list, 4).typeText, "xyz") << "an unknown extension is kept";
    EXPECT_FALSE(RecordAt(list, 0).isOpen);
    EXPECT_EQ(Written(list), bytes);
}

TEST(DbTreeItemListTest, TypeTextIsKeptAsReadAndAnyLineEndsAreRead)
{
    CDbTreeItemList list;
    const std::string longPath = "/d/" + std::string(3000, 'p') + ".glz";
    ASSERT_EQ(ReadText(list, "filetype = oxidarium database tree items\r\nversion = 1\r\n\r\n"
                             "name = /d/a.glz\r\ntitle = A\r\ntype = GLZ\r\n"
                             "unknown = skipped\rname = /d/b.mat\rtitle = B\r"
                             "name = " + longPath + "\ntype = Ele\r"),
              0)
        << list.m_errorText;
    EXPECT_EQ(list.version, 1);
    ASSERT_EQ(list.GetCount(), 3);
    EXPECT_EQ(RecordAt(list, 0).type, DbTreeItemType::Glazes);
    EXPECT_EQ(RecordAt(list, 0).typeText, "GLZ");
    EXPECT_EQ(RecordAt(list, 1).type, DbTreeItemType::Unknown) << "no type line";
    EXPECT_EQ(RecordAt(list, 1).typeText, "");
    EXPECT_EQ(RecordAt(list, 2).path, longPath);
    EXPECT_EQ(RecordAt(list, 2).title, "");
    EXPECT_EQ(RecordAt(list, 2).type, DbTreeItemType::Elements);
    EXPECT_EQ(Written(list), kHeader + "name  = /d/a.glz\ntitle = A\ntype  = GLZ\n"
                                       "name  = /d/b.mat\ntitle = B\ntype  = \n"
                                       "name  = " + longPath + "\ntitle = \ntype  = Ele\n");

    // A header alone is an empty list, written back as the header.
    ASSERT_EQ(ReadText(list, kHeader), 0);
    EXPECT_EQ(list.GetCount(), 0);
    EXPECT_EQ(Written(list), kHeader);
}

TEST(DbTreeItemListTest, BadFilesLeaveAnEmptyListWithTheReadersMessage)
{
    CDbTreeItemList list;
    ASSERT_EQ(ReadText(list, kHeader + "name = /d/a.glz\n"), 0);

    EXPECT_EQ(ReadText(list, "filetype = Oxidarium Database Tree Items\nversion = 2\ntitle = early\n"
                             "name = /d/a.glz\n"),
              -1);
    EXPECT_EQ(list.m_errorText, "Error: parameter 'title', line 3");
    EXPECT_EQ(list.GetCount(), 0);

    EXPECT_EQ(ReadText(list, "filetype = Oxidarium Database Tree Items\nversion = 2\ntype = glz\n"), -1);
    EXPECT_EQ(list.m_errorText, "Error: parameter 'type', line 3");

    EXPECT_EQ(ReadText(list, "filetype = Oxidarium Glazes\nversion = 2\nname = /d/a.glz\n"), 1);
    EXPECT_EQ(list.m_errorText, "Incorrect file type: Oxidarium Glazes");
    EXPECT_EQ(list.GetCount(), 0);

    EXPECT_EQ(ReadText(list, "filetype = Oxidarium Database Tree Items\nname = /d/a.glz\n"), PF_NOT_FOUND);
    EXPECT_EQ(list.m_errorText, "Parameter 'version' not found");
    EXPECT_EQ(list.GetCount(), 0);
    EXPECT_EQ(ReadText(list, "filetype = Oxidarium Database Tree Items\nversion = 3\n"), PF_OUT_OF_RANGE);
    EXPECT_EQ(ReadText(list, kHeader + "version = 2\n"), PF_MULTIPLE);
}

TEST(DbTreeItemListTest, EditingAndFindingEntries)
{
    CDbTreeItemList list;
    EXPECT_EQ(list.FindByPath("/d/a.glz"), -1);
    list.InsertItem(1, Item("/d/x.glz", "X"));
    list.InsertItem(-1, Item("/d/x.glz", "X"));
    EXPECT_EQ(list.GetCount(), 0) << "out-of-range inserts do nothing";
    list.InsertItem(0, Item("/d/b.glz", "B"));
    list.InsertItem(0, Item("/d/a.glz", "A"));
    list.InsertItem(2, Item("/d/c.glz", "C"));
    ASSERT_EQ(Titles(list), (std::vector<std::string>{"A", "B", "C"}));
    EXPECT_EQ(list.FindByPath("/d/b.glz"), 1);
    EXPECT_EQ(list.FindByPath("/d/./b.glz"), 1);
    EXPECT_EQ(list.FindByPath("/D/B.GLZ"), -1) << "another file on Linux";

    CDbTreeItem changed = Item("/d/b2.glz", "B2");
    changed.isOpen = true;
    changed.treeHandle = &changed;
    list.SetItem(1, changed);
    list.SetItem(3, Item("/d/z.glz", "Z"));
    list.SetItem(0, RecordAt(list, 0)); // the entry itself: nothing to copy
    ASSERT_EQ(Titles(list), (std::vector<std::string>{"A", "B2", "C"}));
    EXPECT_TRUE(RecordAt(list, 1).isOpen);
    EXPECT_EQ(RecordAt(list, 1).treeHandle, &changed);

    list.RemoveItem(3);
    list.RemoveItem(0);
    EXPECT_EQ(Titles(list), (std::vector<std::string>{"B2", "C"}));
    EXPECT_EQ(list.GetAt(2), nullptr);
}

TEST(DbTreeItemListTest, SortIsStableAndIgnoresCase)
{
    CDbTreeItemList list;
    list.InsertItem(0, Item("/d/3", "b"));
    list.InsertItem(1, Item("/d/1", "A"));
    list.InsertItem(2, Item("/d/2", "a"));
    list.Sort(true);
    EXPECT_EQ(Titles(list), (std::vector<std::string>{"A", "a", "b"}));
    list.Sort(false);
    ASSERT_EQ(Titles(list), (std::vector<std::string>{"A", "a", "b"}));
    EXPECT_EQ(RecordAt(list, 0).path, "/d/1");
    RecordAt(list, 0).path = "/d/9";
    list.Sort(false);
    EXPECT_EQ(Titles(list), (std::vector<std::string>{"a", "b", "A"}));
}

TEST(DbTreeItemTest, TypesTextsAndConversions)
{
    CDbTreeItem item;
    item.SetTypeFromExtension("Grt");
    EXPECT_EQ(item.type, DbTreeItemType::GraphTemplates);
    item.SetTypeFromExtension("glz ");
    EXPECT_EQ(item.type, DbTreeItemType::Unknown) << "compared as a whole string";
    EXPECT_EQ(item.typeText, "glz ");
    item.SetTypeCode(DbTreeItemType::TextFile);
    EXPECT_EQ(item.typeText, "txt");
    item.SetTypeCode(static_cast<DbTreeItemType>(12));
    EXPECT_EQ(item.typeText, "unknown");

    EXPECT_EQ(DbTreeItemTypeFromFileType(DbFileType::GraphTemplates), DbTreeItemType::GraphTemplates);
    EXPECT_EQ(DbTreeItemTypeFromFileType(DbFileType::TextFile), DbTreeItemType::TextFile);
    EXPECT_EQ(DbTreeItemTypeFromFileType(DbFileType::LimitFormulas), DbTreeItemType::LimitFormulas);
    for (DbFileType none : {DbFileType::Unknown, DbFileType::DbTreeItems, DbFileType::Preferences})
        EXPECT_FALSE(DbTreeItemTypeFromFileType(none).has_value());
    EXPECT_EQ(DbFileTypeFromTreeItemType(DbTreeItemType::GraphTemplates), DbFileType::GraphTemplates);
    EXPECT_EQ(DbFileTypeFromTreeItemType(DbTreeItemType::TextFile), DbFileType::TextFile);
}

TEST(DbTreeItemListTest, WriteReportsAFailedStream)
{
    CDbTreeItemList list;
    list.InsertItem(0, Item("/d/a.glz", "A"));
    std::ostringstream out;
    out.setstate(std::ios::badbit);
    EXPECT_NE(list.Write(out), 0);
}
