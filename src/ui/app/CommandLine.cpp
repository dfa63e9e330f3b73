#include "app/CommandLine.h"

#include "support/PathHelpers.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QFile>

namespace {

bool IsForeignSwitch(const QString& argument)
{
    static const QStringList kSwitches{
        QStringLiteral("embedding"), QStringLiteral("automation"), QStringLiteral("unregister"),
        QStringLiteral("unregserver"), QStringLiteral("regserver"), QStringLiteral("register"),
        QStringLiteral("dde"), QStringLiteral("p"), QStringLiteral("pt"),
    };
    if (argument.size() < 2 || (argument[0] != QLatin1Char('/') && argument[0] != QLatin1Char('-')))
        return false;
    return kSwitches.contains(argument.mid(1), Qt::CaseInsensitive);
}

} // namespace

QStringList DropForeignSwitches(const QStringList& arguments)
{
    QStringList kept;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        if (i == 0 || !IsForeignSwitch(arguments[i]))
            kept << arguments[i];
    }
    return kept;
}

CCommandLineInfo ParseCommandLine(QCommandLineParser& parser, const QStringList& arguments)
{
    parser.setApplicationDescription(QStringLiteral("Ceramic glaze chemistry."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addOption(QCommandLineOption(QStringLiteral("startup-time"),
                                        QStringLiteral("Print the seconds from launch until the main window is shown, "
                                                       "then quit.")));
    parser.addPositionalArgument(QStringLiteral("file"), QStringLiteral("A glaze database to open."),
                                 QStringLiteral("[file]"));
    parser.parse(DropForeignSwitches(arguments));
    CCommandLineInfo info;
    const QStringList files = parser.positionalArguments();
    if (!files.isEmpty() && !files.front().isEmpty()) {
        // Start-up may change the current directory before it opens the file. The file system's
        // own absolute path: Qt's file names take a leading ':' for a resource.
        info.m_strFileName = GetFullPathString(QFile::encodeName(files.front()).toStdString());
        // A name ending with "/" is taken as the file it names, without the "/".
        while (info.m_strFileName.size() > 1 && info.m_strFileName.back() == '/')
            info.m_strFileName.pop_back();
    }
    return info;
}
