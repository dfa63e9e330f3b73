// Messages that name a file show its name as the file system holds it, beside record names in
// Windows-1252, in the box the user sees.

#include "framework/Cp1252.h"

#include "ui/support/CheckedWidgets.h"
#include "core/shell/FakeMessageService.h"
#include "elements/ElementsDoc.h"
#include "framework/QtMessageService.h"
#include "glazes/GlazeList.h"
#include "glazes/HyperGlazeText.h"
#include "shell/AppContext.h"
#include "shell/OxidariumApp.h"
#include "support/Profile.h"
#include "ui/support/ModalDialogTest.h"

#include <QFile>
#include <QTemporaryDir>

#include <fstream>
#include <string>

namespace {

const QString kElementsFile = QString::fromUtf8("Elemente \xC3\xA4 \xCE\xB1.ele"); // "Elemente ä α.ele"

class PathMessagesTest : public ::testing::Test {
protected:
    PathMessagesTest() { SetProfile(&m_profile); }
    ~PathMessagesTest() override { SetProfile(nullptr); }

    // The file's path as the file system stores it, and as the user reads it.
    std::string Path(const QString& name) const { return QFile::encodeName(m_dir.filePath(name)).toStdString(); }
    QString Shown(const QString& name) const { return m_dir.filePath(name); }
    std::string Write(const QString& name, const std::string& bytes) const
    {
        std::ofstream(Path(name), std::ios::binary) << bytes;
        return Path(name);
    }
    // What each box said, as the message service shows it.
    QStringList Boxes() const
    {
        QStringList texts;
        for (const auto& box : m_messages.boxes)
            texts << FromMessageText(box.text);
        return texts;
    }

    QTemporaryDir m_dir;
    CProfile m_profile{QFile::encodeName(m_dir.filePath("profile.ini")).toStdString()};
    CAppContext m_context;
    CFakeMessageService m_messages;
    COxidariumApp m_app;
};

} // namespace

TEST_F(PathMessagesTest, OpeningAndSavingAFileWhoseNameHoldsAnyCharacterNamesItAsItIs)
{
    CElementsDoc doc;
    const QString missing = QString::fromUtf8("Fehlt \xC3\xA4 \xCE\xB1.ele");
    doc.OnOpenDocument(Path(missing)); // goes on with the default elements

    // Cut short: the last line has no line break.
    const std::string path = Write(kElementsFile, "filetype = Oxidarium Elements\nversion =  2\n\ndbname  = Custom\n"
                                                  "I = |info\n\nz = 14\nrole = 2");
    ASSERT_TRUE(doc.OnOpenDocument(path));
    std::ofstream(path, std::ios::binary | std::ios::app) << "\n";
    m_messages.answers = {MsgResultOk, MsgResultOk, MsgResultNo};
    doc.OnCommand(CmdSaveElementDb);

    EXPECT_EQ(Boxes(), (QStringList{
                           Shown(missing) + ": Error opening file\n\nUsing default element data",
                           Shown(kElementsFile) + ": line 8: \"role = 2\" ends the file without a line break; it "
                                                  "was read as it stands, but the file may have been cut short",
                           Shown(kElementsFile) + " has been changed by another program since it was opened. "
                                                  "Replace it with this version?",
                       }));

    // The box on the screen says the same.
    ASSERT_FALSE(m_messages.boxes.empty());
    CQtMessageService service;
    QString onScreen;
    WhenDialogShows<CHelpMessageBox>([&](CHelpMessageBox& box) {
        onScreen = box.text();
        BoxButton(&box, QMessageBox::Ok).click();
    });
    service.ShowMessageBox(m_messages.At(0).text, kMessageCaption, MsgOk | MsgIconExclamation, 0);
    EXPECT_EQ(onScreen, Shown(missing) + ": Error opening file\n\nUsing default element data");
}

TEST_F(PathMessagesTest, ARecordNameBesideTheFileNameKeepsItsWindows1252Characters)
{
    // "Seladon 1280°" (° is 0xB0 in Windows-1252) cannot be read: a control character in its name.
    const QString name = QString::fromUtf8("Import \xC3\xA4 \xCE\xB1.txt");
    const std::string path = Write(name, "Seladon 1280\xB0\x01" + std::string(50, '\t') + "\n");
    CGlazeList list;
    EXPECT_EQ(CHyperGlazeIO::ImportRecipes(list, path), 0);
    EXPECT_EQ(Boxes(), QStringList{Shown(name) + QString::fromUtf8(": 1 record could not be read and was left out:\n"
                                                                   "record 1 \"Seladon 1280\xC2\xB0 \"\n"
                                                                   "Nothing was imported.")});
}
