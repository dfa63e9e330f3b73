#pragma once

// The program's command line: at most one file, opened as a glaze database whatever its
// extension, plus --help, --version and --startup-time (the program measures its own start-up,
// shell/StartupTimer.h). The automation, embedding, registration, shell and
// print switches of other desktops ("/Embedding", "-Automation", "/Unregister", "/dde", "/p",
// "/pt" and their kin) mean nothing here and are dropped.

#include "shell/OxidariumApp.h"

#include <QStringList>

class QCommandLineParser;

// The arguments (the program first) without the switches of other desktops.
QStringList DropForeignSwitches(const QStringList& arguments);

// Sets the parser up, parses the arguments and returns what they ask for; the file is made
// absolute against the current directory. Unknown options are ignored here; the caller asks the
// parser for "help", "version" and "startup-time".
CCommandLineInfo ParseCommandLine(QCommandLineParser& parser, const QStringList& arguments);
