#pragma once

// The core's file questions answered with the program's own file dialogs.

#include "framework/FileDialogService.h"

class CQtFileDialogService : public CFileDialogService {
public:
    CFileDialogResult AskForFiles(const CFileDialogRequest& request) override;
};
