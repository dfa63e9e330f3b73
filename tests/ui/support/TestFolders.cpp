#include "ui/support/TestFolders.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <memory>

namespace {

std::unique_ptr<QTemporaryDir> s_folder;
bool s_keep = false;
QString s_screenshots;

} // namespace

void StartTestFolder()
{
    s_folder = std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/oxidarium-ui-tests-XXXXXX"));
    // fonts.conf names its cache folder relative to XDG_CACHE_HOME.
    qputenv("XDG_CACHE_HOME", QFile::encodeName(s_folder->path() + QStringLiteral("/cache")));
}

void EndTestFolder()
{
    if (s_folder && s_keep) {
        s_folder->setAutoRemove(false);
        QDir(s_folder->path() + QStringLiteral("/cache")).removeRecursively();
    }
    s_folder.reset();
}

QString TestFolder()
{
    if (!s_folder)
        StartTestFolder();
    return s_folder->path();
}

void KeepTestFolder()
{
    if (!s_keep)
        std::printf("The test output is kept in %s\n", qPrintable(TestFolder()));
    s_keep = true;
}

QString ScreenshotFolder()
{
    if (s_screenshots.isEmpty()) {
        const QString chosen = qEnvironmentVariable("OXI_SCREENSHOTS");
        s_screenshots = chosen.isEmpty() ? TestFolder() + QStringLiteral("/screenshots") : QDir(chosen).absolutePath();
        QDir().mkpath(s_screenshots);
        std::printf("Screenshots are saved in %s%s\n", qPrintable(s_screenshots),
                    chosen.isEmpty() ? " (removed at the end; OXI_SCREENSHOTS=<folder> keeps them)" : "");
        std::fflush(stdout);
    }
    return s_screenshots;
}
