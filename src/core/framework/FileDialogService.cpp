#include "framework/FileDialogService.h"

namespace {
CFileDialogService* s_fileDialogService = nullptr;
}

CFileDialogService* GetFileDialogService()
{
    return s_fileDialogService;
}

void SetFileDialogService(CFileDialogService* service)
{
    s_fileDialogService = service;
}

CFileDialogResult AskForFiles(const CFileDialogRequest& request)
{
    return s_fileDialogService ? s_fileDialogService->AskForFiles(request) : CFileDialogResult{};
}

std::vector<std::pair<std::string, std::string>> SplitFileFilter(const std::string& filter)
{
    std::vector<std::string> pieces;
    std::string piece;
    for (const char c : filter) {
        if (c == '|') {
            pieces.push_back(piece);
            piece.clear();
        } else {
            piece.push_back(c);
        }
    }
    if (!piece.empty())
        pieces.push_back(piece);
    std::vector<std::pair<std::string, std::string>> pairs;
    for (std::size_t i = 0; i + 1 < pieces.size(); i += 2) {
        if (pieces[i].empty())
            break; // the "||" that ends the filter
        pairs.emplace_back(pieces[i], pieces[i + 1]);
    }
    return pairs;
}
