// Reading a whole glaze file at once, a large one in pieces on several threads
// (support/ParamFilePieces.h): each piece is read into a list of its own, the lists then joined in
// order.

#include "glazes/GlazeList.h"
#include "support/ParamFilePieces.h"

#include <istream>
#include <iterator>
#include <vector>

int CGlazeList::ReadFile(std::istream& in)
{
    static const CParamPieceFormat format{g_glzKeyTable, "name", IsGlazeListHeaderKey};
    std::vector<std::unique_ptr<CGlazeList>> pieces;
    if (!ReadParamFileInPieces(in, format, pieces))
        return Read(in); // the stream reports any failure of its own there
    CGlazeList& first = *pieces.front();
    Reset();
    m_glazes = std::move(first.m_glazes);
    for (std::size_t i = 1; i < pieces.size(); ++i) {
        auto& glazes = pieces[i]->m_glazes;
        m_glazes.insert(m_glazes.end(), std::make_move_iterator(glazes.begin()), std::make_move_iterator(glazes.end()));
    }
    m_name = std::move(first.m_name);
    m_infoLines = std::move(first.m_infoLines);
    m_version = first.m_version;
    m_errorText.clear();
    m_readNotes = std::move(first.m_readNotes);
    return 0;
}

int CGlazeList::ReadText(std::string_view text)
{
    CMemoryReadBuf buffer(text);
    std::istream in(&buffer);
    return ReadFile(in);
}
