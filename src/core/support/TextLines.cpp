#include "support/TextLines.h"

std::vector<std::string> SplitLines(std::string_view text, LineBreaks breaks, bool keepEmptyLast)
{
    const bool loneLf = breaks == LineBreaks::Lf || breaks == LineBreaks::Any;
    const bool loneCr = breaks == LineBreaks::Cr || breaks == LineBreaks::Any;
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        std::size_t width = 0;
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            width = 2;
        else if ((text[i] == '\n' && loneLf) || (text[i] == '\r' && loneCr))
            width = 1;
        if (width == 0)
            continue;
        lines.emplace_back(text.substr(start, i - start));
        i += width - 1;
        start = i + 1;
    }
    if (start < text.size() || keepEmptyLast)
        lines.emplace_back(text.substr(start));
    return lines;
}
