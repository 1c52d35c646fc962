// SPDX-License-Identifier: MIT
// The command line: tessix [--seed N] [--mute] [--coach] [FILE], the print switches (--print,
// --print-to NAME, --pdf FILE, --preview), --help, --version. Parsing needs no display
// and no application object, so that --help, --version and mistakes are answered
// without opening a window.
#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>

#include "game/TessixView.h"
#include "platform/Sound.h"

enum class EShellCommand {
    FileNew,           // start with the empty document
    FileOpen,          // start with FILE as the document's name
    FilePrint,         // print the instructions on the default printer and end
    FilePrintTo,       // print them on m_strPrinterName and end
    FilePrintPdf,      // write them to the PDF file m_strPdfFile and end
    FilePrintPreview,  // show their print preview and end when it is closed
    AppHelp,           // print the usage and end
    AppVersion,        // print the version and end
    Invalid,           // print m_strError and end with kExitUsage
};

struct CCommandLineInfo {
    EShellCommand m_nShellCommand = EShellCommand::FileNew;
    QString m_strFileName;
    QString m_strPrinterName;
    QString m_strPdfFile;
    std::optional<std::uint32_t> m_oSeed;
    EAudio m_eAudio = EAudio::Enabled;
    ECoach m_eCoach = ECoach::Off;
    QString m_strError;
};

// The exit status of a command line that cannot be run.
constexpr int kExitUsage = 2;
// The exit status of a print switch whose job failed.
constexpr int kExitPrintFailed = 1;

// The program's arguments with their bytes kept (see DecodeFileName), so that a file
// name that is not valid UTF-8 still names its file.
QStringList DecodeArguments(int argc, const char* const* argv);

// arguments[0] is the program. A FILE must be an existing, readable regular file (it is
// opened, though nothing is read from it); a folder, a pipe or a device is refused.
CCommandLineInfo ParseCommandLine(const QStringList& arguments);

// Every option the parser knows, as the help writes it: "-h, --help", "--seed N".
QStringList CommandLineOptionForms();
QString CommandLineHelp();
// The product name, the version text and the numeric version.
QString VersionText();
