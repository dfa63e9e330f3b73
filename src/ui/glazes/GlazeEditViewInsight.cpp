// The glaze edit form's exchange of its recipe with the Insight glaze program through the
// clipboard, and the Recipary questionnaire appended to the notes. Both work on the form's fields
// and leave saving to Save Changes.

#include "glazes/GlazeEditView.h"

#include "framework/Cp1252.h"
#include "framework/MessageService.h"
#include "glazes/GlazesView.h"
#include "glazes/IngredientList.h"
#include "glazes/InsightImport.h"
#include "shell/OxidariumApp.h"
#include "support/NotesEdit.h"
#include "support/PlainTextEditLines.h"
#include "support/Services.h"
#include "support/TabEdit.h"

#include <QLineEdit>
#include <QTextBlock>
#include <QTextCursor>

#include <sstream>

namespace {

const char* const kReciparyPrompts[] = {
    " * INFORMATION FOR RECIPARY\r\n",
    " * (Please fill in whatever information you can - \r\n",
    "    if you don't know, leave blank, or delete question)\r\n\r\n",
    " * How long have you been using this glaze?\r\n\r\n",
    " * Where is it used? (name of studio/school)\r\n\r\n",
    " * Where did this recipe come from?\r\n",
    "(name of person/book/etc. and approximate date)\r\n\r\n",
    " * What do you like most about this glaze?\r\n\r\n",
    " * Is this glaze reliable?\r\n\r\n",
    " * Does this glaze tend to craze/crawl/pinhole/etc.?\r\n",
    "What conditions encourage the flaws?\r\n",
    "How do you avoid them?\r\n\r\n",
    " * How do different firing temperatures/atmospheres affect the glaze?\r\n\r\n",
    " * How does the glaze behave on different clay bodies?\r\n\r\n",
    " * What consistency should the glaze be for pouring/dipping?\r\n",
    "(Give specific gravity if known.)\r\n\r\n",
    " * Do you experience problems with the raw glaze?\r\n",
    "(rapid settling, pudding consistency, mold, evil smell, etc.)\r\n",
    "Do you know a cure for the problem?\r\n\r\n",
    " * How thickly should the glaze be applied to the pot?\r\n\r\n",
    " * How does this glaze interact with other glazes?\r\n",
    "Can you suggest some good combinations?\r\n\r\n",
    " * Kiln type and size -\r\n\r\n",
    " * Firing data (heat/cooling ramps, soak time, reduction) -\r\n\r\n",
    " * Water pH -\r\n\r\n",
    " * Your name and email address -\r\n\r\n",
};

} // namespace

// The text goes to the clipboard only when the whole recipe was written, and a clipboard that
// refuses it is reported rather than taken for a success. A line whose amount is refused is not
// left out of what is sent: it is refused first.
void CGlazeEditView::SendToInsight(int scope)
{
    CIngredientList components;
    CIngredientList additions;
    if (!ReadRecipe(components, additions))
        return;
    std::ostringstream text;
    const bool written = WriteInsightClipboardRecipe(text, ToCp1252(m_name->text()), scope, components, additions) == 0;
    if (!written || !PutTextOnClipboard(text.str()))
        AppMessageBox("Error writing to Clipboard", MsgOk | MsgIconError, kGlazeEditStopHelpId);
}

// A clipboard line whose amount the form refuses refuses the whole recipe, named in the message:
// taken without it the recipe would lack an ingredient, taken as typed any text on the clipboard
// would come in as recipe lines.
void CGlazeEditView::GetFromInsight()
{
    CIngredientList components;
    CIngredientList additions;
    if (!ReadRecipe(components, additions))
        return;
    std::string clipboardText;
    std::string title;
    CStringArrayEx lines;
    int scope = kInsightEntireRecipe;
    CClipboardService* clipboard = GetClipboardService();
    if (clipboard && clipboard->GetText(clipboardText))
        scope = ReadInsightClipboardRecipe(clipboardText, title, lines);
    CIngredientList received;
    if (const CRefusedLine refused = ReadAmountLines(lines, received)) {
        AppMessageBox("The clipboard's recipe was not taken. " + refused.Message(), MsgOk | MsgIconExclamation,
                      kGlazeEditStopHelpId);
        return;
    }
    // No text, or text without a single recipe line, is no recipe: the form keeps its own.
    if (received.GetCount() == 0) {
        AppMessageBox("Error opening clipboard", MsgOk | MsgIconError, kGlazeEditStopHelpId);
        return;
    }
    if (scope == kInsightComponents)
        components = received;
    else if (scope == kInsightAdditions)
        additions = received;
    else
        SplitInsightRecipe(received, CIngredientList(additions), components, additions);
    WriteBack(components, additions);
    SetModified(1);
}

void CGlazeEditView::AddReciparyPrompts()
{
    QTextCursor cursor(m_notes->document());
    cursor.movePosition(QTextCursor::End);
    const int oldEnd = cursor.position();
    std::string text;
    if (!cursor.block().text().isEmpty())
        text = "\r\n\r\n";
    else if (oldEnd > 0)
        text = "\r\n";
    for (const char* prompt : kReciparyPrompts)
        text += prompt;
    cursor.insertText(EditTextFromCore(text));
    cursor.setPosition(oldEnd);
    m_notes->setTextCursor(cursor);
    m_notes->ensureCursorVisible();
    SetModified(1);
}
