#pragma once

// A private world for the shell tests: a temporary root with a program directory and a data
// directory, a profile of its own, fresh program-wide objects, scripted message boxes and file
// dialogs, and the current directory put back afterwards. Nothing touches the user's profile or
// data, nor the build output beside the real program.

#include "core/framework/FakeFileDialogs.h"
#include "core/shell/FakeMessageService.h"
#include "shell/AppContext.h"
#include "support/Profile.h"

#include <QApplication>
#include <QTemporaryDir>

#include <filesystem>
#include <fstream>
#include <string>

class CShellSandbox {
public:
    CShellSandbox()
        : m_savedDirectory(std::filesystem::current_path()),
          root(m_dir.path().toStdString()),
          programDir(root + "/program"),
          dataDir(root + "/data"),
          profile(root + "/Oxidarium.ini")
    {
        std::filesystem::create_directories(programDir);
        std::filesystem::create_directories(dataDir);
        SetProfile(&profile);
    }

    ~CShellSandbox()
    {
        std::error_code ec;
        std::filesystem::current_path(m_savedDirectory, ec);
        SetProfile(nullptr);
    }

    CShellSandbox(const CShellSandbox&) = delete;
    CShellSandbox& operator=(const CShellSandbox&) = delete;

    static void WriteFile(const std::string& path, const std::string& bytes)
    {
        std::ofstream out(path, std::ios::binary);
        out << bytes;
    }

    static void CopyFile(const std::string& from, const std::string& to)
    {
        std::filesystem::copy_file(from, to, std::filesystem::copy_options::overwrite_existing);
    }

    static bool Exists(const std::string& path) { return std::filesystem::exists(path); }

    // Windows close with deleteLater; outside an event loop the deletion has to be flushed.
    static void FlushEvents()
    {
        QApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

private:
    QTemporaryDir m_dir;
    std::filesystem::path m_savedDirectory;

public:
    const std::string root;
    const std::string programDir;
    const std::string dataDir;
    CProfile profile;
    CAppContext context;
    CFakeMessageService messages;
    CFakeFileDialogs dialogs;
};
