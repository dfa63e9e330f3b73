// The program's command line over arbitrary bytes, split into arguments at NUL bytes (the first
// is the program). The switches of other desktops are dropped and never become the file; at most
// one file comes out, as an absolute, clean path.

#include "FuzzFiles.h"
#include "app/CommandLine.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static int argc = 1;
    static char program[] = "oxidarium";
    static char* argv[] = {program, nullptr};
    static QCoreApplication application(argc, argv);

    QStringList arguments{QStringLiteral("oxidarium")};
    std::string current;
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == 0) {
            arguments << QFile::decodeName(QByteArray::fromStdString(current));
            current.clear();
        } else {
            current += static_cast<char>(data[i]);
        }
    }
    arguments << QFile::decodeName(QByteArray::fromStdString(current));

    const QStringList kept = DropForeignSwitches(arguments);
    FuzzCheck(kept.size() <= arguments.size() && kept.value(0) == arguments.front());
    QCommandLineParser parser;
    const CCommandLineInfo info = ParseCommandLine(parser, arguments);
    if (!info.m_strFileName.empty()) {
        const QString file = QFile::decodeName(QByteArray::fromStdString(info.m_strFileName));
        FuzzCheck(QDir::isAbsolutePath(file));
        FuzzCheck(QDir::cleanPath(file) == file);
    }
    return 0;
}
