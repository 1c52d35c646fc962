// SPDX-License-Identifier: MIT
#include "app/CommandLine.h"

#include <QCommandLineParser>
#include <QFile>
#include <array>

#include "app/Version.h"
#include "platform/FileSystem.h"

namespace {

CCommandLineInfo Invalid(const QString& strError) {
    CCommandLineInfo info;
    info.m_nShellCommand = EShellCommand::Invalid;
    info.m_strError = strError;
    return info;
}

// A seed is a decimal number from 0 to 2^32 - 1, digits only.
std::optional<std::uint32_t> ParseSeed(const QString& strValue) {
    if (strValue.isEmpty()) {
        return std::nullopt;
    }
    for (const QChar c : strValue) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) {
            return std::nullopt;
        }
    }
    bool bOk = false;
    const qulonglong nValue = strValue.toULongLong(&bOk, 10);
    if (!bOk || nValue > 0xFFFFFFFFull) {
        return std::nullopt;
    }
    return static_cast<std::uint32_t>(nValue);
}

// Why FILE cannot become the document, or empty when it can. It is opened as the
// document will be (nothing is read), so a pipe, which would block, is refused without
// waiting; a device that opens at once (/dev/null) names the document as a file does.
QString DocumentFileError(const QString& strPath) {
    if (FileKindOf(strPath) == EFileKind::Missing) {
        return QStringLiteral("cannot open '%1': no such file").arg(DisplayFileName(strPath));
    }
    if (OpensAsDevice(strPath)) {
        return QString();
    }
    QFile file;
    QString reason;
    if (!OpenRegularFile(file, strPath, EOpenFor::Read, &reason)) {
        return QStringLiteral("cannot open '%1': %2").arg(DisplayFileName(strPath), reason);
    }
    return QString();
}

CCommandLineInfo Command(EShellCommand eCommand) {
    CCommandLineInfo info;
    info.m_nShellCommand = eCommand;
    return info;
}

// The options the program knows, on a parser that reads single-dash words as long options.
struct COptions {
    COptions() {
        parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
        for (const QCommandLineOption* pOption : All()) {
            parser.addOption(*pOption);
        }
    }

    // Every option, in the order the parser takes them.
    std::array<const QCommandLineOption*, 9> All() const {
        return {&help, &version, &seed, &mute, &coach, &print, &printTo, &pdf, &preview};
    }

    // The option of that name (without its dashes), or null.
    const QCommandLineOption* Find(const QString& strName) const {
        for (const QCommandLineOption* pOption : All()) {
            if (pOption->names().contains(strName)) {
                return pOption;
            }
        }
        return nullptr;
    }

    QCommandLineParser parser;
    const QCommandLineOption help{QStringList{QStringLiteral("h"), QStringLiteral("help")}};
    const QCommandLineOption version{QStringLiteral("version")};
    const QCommandLineOption seed{QStringLiteral("seed"), QString(), QStringLiteral("N")};
    const QCommandLineOption mute{QStringLiteral("mute")};
    const QCommandLineOption coach{QStringLiteral("coach")};
    const QCommandLineOption print{QStringLiteral("print")};
    const QCommandLineOption printTo{QStringLiteral("print-to"), QString(), QStringLiteral("NAME")};
    const QCommandLineOption pdf{QStringLiteral("pdf"), QString(), QStringLiteral("FILE")};
    const QCommandLineOption preview{QStringLiteral("preview")};
};

// The first argument that names no option, as it was written; empty when there is none.
// Options end at "--", and the word after an option that takes a value is that value.
QString UnknownOption(const COptions& options, const QStringList& arguments) {
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments.at(i);
        if (argument == QLatin1String("--")) {
            break;
        }
        if (!argument.startsWith(QLatin1Char('-')) || argument == QLatin1String("-")) {
            continue;
        }
        const qsizetype nDashes = argument.startsWith(QLatin1String("--")) ? 2 : 1;
        const QString name = argument.mid(nDashes).section(QLatin1Char('='), 0, 0);
        const QCommandLineOption* pOption = options.Find(name);
        if (!pOption) {
            return argument;
        }
        if (!pOption->valueName().isEmpty() && !argument.contains(QLatin1Char('='))) {
            ++i;
        }
    }
    return QString();
}

// A mistake the parser found. An unknown option is named as it was written, with the way
// to give it as FILE when a file of that name exists.
QString ParseError(const COptions& options, const QStringList& arguments) {
    const QString unknown = UnknownOption(options, arguments);
    if (unknown.isEmpty()) {
        return options.parser.errorText();
    }
    QString error = QStringLiteral("unknown option '%1'").arg(DisplayFileName(unknown));
    if (FileKindOf(unknown) != EFileKind::Missing) {
        error += QStringLiteral("; to name the file '%1', put -- before it: tessix -- %1")
                     .arg(DisplayFileName(unknown));
    }
    return error;
}

// --seed, --mute and --coach into info. Returns the mistake, a seed that is not one, or empty.
QString ReadPlayOptions(const COptions& options, CCommandLineInfo& info) {
    const QCommandLineParser& parser = options.parser;
    if (parser.isSet(options.seed)) {
        const QString value = parser.value(options.seed);
        info.m_oSeed = ParseSeed(value);
        if (!info.m_oSeed) {
            return QStringLiteral("invalid seed '%1': expected a whole number from 0 to 4294967295")
                .arg(value);
        }
    }
    if (parser.isSet(options.mute)) {
        info.m_eAudio = EAudio::Muted;
    }
    if (parser.isSet(options.coach)) {
        info.m_eCoach = ECoach::On;
    }
    return QString();
}

// The mistake in the print switches, more than one or one without its value, or empty.
QString PrintSwitchesError(const COptions& options) {
    const QCommandLineParser& parser = options.parser;
    int nPrintSwitches = 0;
    for (const QCommandLineOption* pOption :
         {&options.print, &options.printTo, &options.pdf, &options.preview}) {
        if (parser.isSet(*pOption)) {
            ++nPrintSwitches;
        }
    }
    if (nPrintSwitches > 1) {
        return QStringLiteral("--print, --print-to, --pdf and --preview exclude each other");
    }
    if (parser.isSet(options.printTo) && parser.value(options.printTo).isEmpty()) {
        return QStringLiteral("--print-to needs a printer name");
    }
    if (parser.isSet(options.pdf) && parser.value(options.pdf).isEmpty()) {
        return QStringLiteral("--pdf needs a file name");
    }
    return QString();
}

// FILE, if given, into info as the document. Returns the mistake, more than one FILE or
// one that cannot be opened, or empty.
QString ReadDocument(const COptions& options, CCommandLineInfo& info) {
    const QStringList files = options.parser.positionalArguments();
    if (files.size() > 1) {
        return QStringLiteral("only one FILE may be given, not %1").arg(files.size());
    }
    if (files.size() == 1) {
        const QString error = DocumentFileError(files.front());
        if (!error.isEmpty()) {
            return error;
        }
        info.m_nShellCommand = EShellCommand::FileOpen;
        info.m_strFileName = files.front();
    }
    return QString();
}

// The print switch, if one is given, becomes the command, with its printer or file.
void ReadPrintCommand(const COptions& options, CCommandLineInfo& info) {
    const QCommandLineParser& parser = options.parser;
    if (parser.isSet(options.print)) {
        info.m_nShellCommand = EShellCommand::FilePrint;
    } else if (parser.isSet(options.printTo)) {
        info.m_nShellCommand = EShellCommand::FilePrintTo;
        info.m_strPrinterName = parser.value(options.printTo);
    } else if (parser.isSet(options.pdf)) {
        info.m_nShellCommand = EShellCommand::FilePrintPdf;
        info.m_strPdfFile = parser.value(options.pdf);
    } else if (parser.isSet(options.preview)) {
        info.m_nShellCommand = EShellCommand::FilePrintPreview;
    }
}

}  // namespace

QStringList DecodeArguments(int argc, const char* const* argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        arguments.append(DecodeFileName(QByteArray(argv[i])));
    }
    return arguments;
}

CCommandLineInfo ParseCommandLine(const QStringList& arguments) {
    COptions options;
    const QCommandLineParser& parser = options.parser;
    if (!options.parser.parse(arguments)) {
        return Invalid(ParseError(options, arguments));
    }
    if (parser.isSet(options.help)) {
        return Command(EShellCommand::AppHelp);
    }
    if (parser.isSet(options.version)) {
        return Command(EShellCommand::AppVersion);
    }

    // The mistakes are reported in this order: the seed, the print switches, FILE.
    CCommandLineInfo info;
    QString error = ReadPlayOptions(options, info);
    if (error.isEmpty()) {
        error = PrintSwitchesError(options);
    }
    if (error.isEmpty()) {
        error = ReadDocument(options, info);
    }
    if (!error.isEmpty()) {
        return Invalid(error);
    }
    ReadPrintCommand(options, info);
    return info;
}

QStringList CommandLineOptionForms() {
    const COptions options;
    QStringList forms;
    for (const QCommandLineOption* pOption : options.All()) {
        QStringList names;
        for (const QString& name : pOption->names()) {
            names << (name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name;
        }
        QString form = names.join(QStringLiteral(", "));
        if (!pOption->valueName().isEmpty()) {
            form += QLatin1Char(' ') + pOption->valueName();
        }
        forms << form;
    }
    return forms;
}

QString CommandLineHelp() {
    return QStringLiteral(
        "Usage: tessix [OPTION]... [FILE]\n"
        "Tessix, a game of judging areas and balance by eye.\n"
        "\n"
        "  FILE        an existing file that becomes the document's name; nothing is\n"
        "              read from it\n"
        "  --seed N    play the game that the random seed N (0 to 4294967295) gives\n"
        "  --mute      play no sounds\n"
        "  --coach     show under each verdict the numbers it was judged by, and add\n"
        "              each answer to the record ~/.local/state/tessix/answers.csv\n"
        "              (under $XDG_STATE_HOME when that is set); F3 on the menu\n"
        "              charts the record\n"
        "\n"
        "Printing the instructions, without showing the game:\n"
        "  --print           on the default printer\n"
        "  --print-to NAME   on the printer NAME\n"
        "  --pdf FILE        into the PDF file FILE\n"
        "  --preview         in a print preview window\n"
        "\n"
        "  -h, --help  show this help and exit\n"
        "  --version   show the version and exit\n"
        "\n"
        "Exit status: 0 when the game or the printing ends normally, 1 when printing\n"
        "failed, 2 for a mistake on the command line.\n");
}

QString VersionText() {
    return QStringLiteral("%1 %2 (%3)\n")
        .arg(QString::fromLatin1(kProductName), QString::fromStdString(g_strVersion),
             QString::fromLatin1(kFileVersion));
}
