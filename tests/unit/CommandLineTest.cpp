// SPDX-License-Identifier: MIT
// The command line: the parser's answers, and the real program's output and exit status
// for --version, --help and mistakes (which must not open a window).
#include <dirent.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "app/CommandLine.h"
#include "platform/FileSystem.h"
#include "support/ScratchFolder.h"

// Readable failure messages.
static void PrintTo(const QString& str, std::ostream* pStream) {
    *pStream << '"' << str.toStdString() << '"';
}

namespace {

struct CParseCase {
    const char* pszCase;
    std::vector<const char*> args;
    EShellCommand eCommand;
    std::optional<std::uint32_t> oSeed;
    EAudio eAudio;
    const char* pszErrorPart;  // for Invalid: a part of the message
};

class ParseTest : public ::testing::TestWithParam<CParseCase> {};

TEST_P(ParseTest, GivesTheCommandItsValuesOrAnError) {
    const CParseCase& c = GetParam();
    QStringList args{QStringLiteral("tessix")};
    for (const char* psz : c.args) {
        args.append(QString::fromLocal8Bit(psz));
    }
    const CCommandLineInfo info = ParseCommandLine(args);
    EXPECT_EQ(info.m_nShellCommand, c.eCommand);
    if (c.eCommand == EShellCommand::Invalid) {
        EXPECT_TRUE(info.m_strError.contains(QString::fromLatin1(c.pszErrorPart)))
            << info.m_strError.toStdString();
        return;
    }
    EXPECT_TRUE(info.m_strError.isEmpty());
    EXPECT_EQ(info.m_oSeed, c.oSeed);
    EXPECT_EQ(info.m_eAudio, c.eAudio);
}

template <class TCase>
std::string CaseName(const ::testing::TestParamInfo<TCase>& info) {
    std::string name;
    for (const char* p = info.param.pszCase; *p; ++p) {
        if (std::isalnum(static_cast<unsigned char>(*p))) {
            name += *p;
        }
    }
    return name;
}

constexpr EShellCommand kNew = EShellCommand::FileNew;
constexpr EShellCommand kBad = EShellCommand::Invalid;
constexpr EAudio kOn = EAudio::Enabled;
constexpr EAudio kOff = EAudio::Muted;

INSTANTIATE_TEST_SUITE_P(
    Cases, ParseTest,
    ::testing::Values(
        CParseCase{"nothing", {}, kNew, std::nullopt, kOn, ""},
        CParseCase{"seed zero", {"--seed", "0"}, kNew, 0u, kOn, ""},
        CParseCase{"seed largest", {"--seed", "4294967295"}, kNew, 4294967295u, kOn, ""},
        CParseCase{"seed with equals", {"--seed=12", "--mute"}, kNew, 12u, kOff, ""},
        CParseCase{"mute", {"--mute"}, kNew, std::nullopt, kOff, ""},
        CParseCase{"help", {"--help"}, EShellCommand::AppHelp, std::nullopt, kOn, ""},
        CParseCase{"short help", {"-h"}, EShellCommand::AppHelp, std::nullopt, kOn, ""},
        CParseCase{"help wins over a bad seed",
                   {"--seed", "x", "--help"},
                   EShellCommand::AppHelp,
                   std::nullopt,
                   kOn,
                   ""},
        CParseCase{"version", {"--version"}, EShellCommand::AppVersion, std::nullopt, kOn, ""},
        CParseCase{"print", {"--print"}, EShellCommand::FilePrint, std::nullopt, kOn, ""},
        CParseCase{"print to",
                   {"--print-to", "Office"},
                   EShellCommand::FilePrintTo,
                   std::nullopt,
                   kOn,
                   ""},
        CParseCase{"pdf", {"--pdf", "out.pdf"}, EShellCommand::FilePrintPdf, std::nullopt, kOn, ""},
        CParseCase{
            "preview", {"--preview"}, EShellCommand::FilePrintPreview, std::nullopt, kOn, ""},
        CParseCase{"unknown option", {"--colour"}, kBad, std::nullopt, kOn, "colour"},
        CParseCase{"unknown short option", {"-x"}, kBad, std::nullopt, kOn, "x"},
        CParseCase{"seed missing", {"--seed"}, kBad, std::nullopt, kOn, "seed"},
        CParseCase{"seed not a number", {"--seed", "abc"}, kBad, std::nullopt, kOn, "abc"},
        CParseCase{"seed negative", {"--seed", "-1"}, kBad, std::nullopt, kOn, "-1"},
        CParseCase{
            "seed too large", {"--seed", "4294967296"}, kBad, std::nullopt, kOn, "4294967296"},
        CParseCase{"seed with sign", {"--seed", "+5"}, kBad, std::nullopt, kOn, "+5"},
        CParseCase{"seed with blanks", {"--seed", " 5"}, kBad, std::nullopt, kOn, "5"},
        CParseCase{"value on a switch", {"--mute=yes"}, kBad, std::nullopt, kOn, "mute"},
        CParseCase{
            "two print switches", {"--print", "--pdf", "x.pdf"}, kBad, std::nullopt, kOn, "--pdf"},
        CParseCase{"empty printer", {"--print-to="}, kBad, std::nullopt, kOn, "printer"},
        CParseCase{"empty pdf", {"--pdf="}, kBad, std::nullopt, kOn, "file"},
        CParseCase{
            "missing file", {"/no/such/file.tsx"}, kBad, std::nullopt, kOn, "/no/such/file.tsx"},
        CParseCase{"two files", {"/dev/null", "/dev/null"}, kBad, std::nullopt, kOn, "one FILE"}),
    CaseName<CParseCase>);

TEST(CommandLineFile, ReadableFileBecomesTheDocumentsNameAndAFolderDoesNot) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString file = dir.filePath(QStringLiteral("game.tsx"));
    QFile out(file);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.close();

    const CCommandLineInfo opened =
        ParseCommandLine({QStringLiteral("tessix"), QStringLiteral("--mute"), file});
    EXPECT_EQ(opened.m_nShellCommand, EShellCommand::FileOpen);
    EXPECT_EQ(opened.m_strFileName, file);

    // After "--" a name that looks like an option is a file.
    const QString dashed = dir.filePath(QStringLiteral("-seed"));
    QFile dashedOut(dashed);
    ASSERT_TRUE(dashedOut.open(QIODevice::WriteOnly));
    dashedOut.close();
    const CCommandLineInfo afterDashes =
        ParseCommandLine({QStringLiteral("tessix"), QStringLiteral("--"), dashed});
    EXPECT_EQ(afterDashes.m_nShellCommand, EShellCommand::FileOpen);
    EXPECT_EQ(afterDashes.m_strFileName, dashed);

    const CCommandLineInfo device =
        ParseCommandLine({QStringLiteral("tessix"), QStringLiteral("/dev/null")});
    EXPECT_EQ(device.m_nShellCommand, EShellCommand::FileOpen) << "a device that opens at once";

    const CCommandLineInfo folder = ParseCommandLine({QStringLiteral("tessix"), dir.path()});
    EXPECT_EQ(folder.m_nShellCommand, EShellCommand::Invalid);
    EXPECT_TRUE(folder.m_strError.contains(QStringLiteral("folder")));
}

TEST(CommandLineText, VersionNamesTheProductAndBothVersions) {
    const QString text = VersionText();
    for (const char* psz : {"Tessix Application", "D613", "1.0.0.1"}) {
        EXPECT_TRUE(text.contains(QString::fromLatin1(psz))) << psz;
    }
}

TEST(CommandLineText, HelpNamesEveryOption) {
    // The options come from the parser itself, so that one added without help fails here.
    const QString text = CommandLineHelp();
    EXPECT_TRUE(text.contains(QStringLiteral("FILE")));
    for (const QString& form : CommandLineOptionForms()) {
        EXPECT_TRUE(text.contains(form)) << form.toStdString();
    }
}

// ---- The real program ----

QString ProgramPath() {
#ifdef TESSIX_EXECUTABLE
    return QStringLiteral(TESSIX_EXECUTABLE);
#else
    return QCoreApplication::applicationDirPath() + QStringLiteral("/../tessix");
#endif
}

struct CRunResult {
    int nExitCode = -1;
    bool bCrashed = true;
    QString strOut;
    QString strErr;
};

// Runs the program where no display can be reached: whatever tries to open a window
// fails loudly instead of showing one.
CRunResult RunProgram(const QStringList& args) {
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    env.insert(QStringLiteral("SDL_AUDIODRIVER"), QStringLiteral("dummy"));
    process.setProcessEnvironment(env);
    process.start(ProgramPath(), args);
    CRunResult result;
    if (!process.waitForFinished(-1)) {
        return result;
    }
    result.bCrashed = process.exitStatus() != QProcess::NormalExit;
    result.nExitCode = process.exitCode();
    result.strOut = QString::fromLocal8Bit(process.readAllStandardOutput());
    result.strErr = QString::fromLocal8Bit(process.readAllStandardError());
    return result;
}

TEST(Program, ExistsWhereTheBuildPutIt) {
    EXPECT_TRUE(QFileInfo(ProgramPath()).isExecutable()) << ProgramPath().toStdString();
}

TEST(Program, VersionPrintsProductAndVersionsAndSucceeds) {
    const CRunResult r = RunProgram({QStringLiteral("--version")});
    ASSERT_FALSE(r.bCrashed);
    EXPECT_EQ(r.nExitCode, 0);
    EXPECT_EQ(r.strOut, VersionText());
    EXPECT_TRUE(r.strOut.contains(QStringLiteral("Tessix Application")));
    EXPECT_TRUE(r.strOut.contains(QStringLiteral("D613")));
    EXPECT_TRUE(r.strOut.contains(QStringLiteral("1.0.0.1")));
    EXPECT_TRUE(r.strErr.isEmpty()) << r.strErr.toStdString();
}

TEST(Program, HelpPrintsUsageAndSucceeds) {
    const CRunResult r = RunProgram({QStringLiteral("--help")});
    ASSERT_FALSE(r.bCrashed);
    EXPECT_EQ(r.nExitCode, 0);
    EXPECT_EQ(r.strOut, CommandLineHelp());
    EXPECT_TRUE(r.strErr.isEmpty()) << r.strErr.toStdString();
}

// The names in a folder as bytes, sorted, joined by '|'.
std::string NamesIn(const QString& strFolder) {
    std::vector<std::string> names;
    DIR* pDir = opendir(QFile::encodeName(strFolder).constData());
    while (const dirent* pEntry = pDir ? readdir(pDir) : nullptr) {
        const std::string name = pEntry->d_name;
        if (name != "." && name != "..") {
            names.push_back(name);
        }
    }
    if (pDir) {
        closedir(pDir);
    }
    std::sort(names.begin(), names.end());
    std::string joined;
    for (const std::string& name : names) {
        joined += (joined.empty() ? "" : "|") + name;
    }
    return joined;
}

// A run of the real program from a shell line, in a work folder that holds a pipe and a
// document whose name is not UTF-8; the shell hands the program each name's bytes
// unchanged. A row that needs what the machine lacks (root, strace) exits with 77.
struct CProgramCase {
    const char* pszCase;
    const char* pszCommand;  // run by /bin/sh in the work folder; $0 is the program
    int nStatus;
    const char* pszErrorPart;         // a part of standard error
    int nErrorLines;                  // the lines on standard error; -1: any number
    const char* pszOnDisk = nullptr;  // the work folder afterwards (NamesIn); null: not looked at
    const char* pszCheck = nullptr;   // a shell test that must pass afterwards, or the status is 99
};

constexpr int kKilled = 128 + 9;
constexpr int kAnyLines = -1;

class ProgramTest : public ::testing::TestWithParam<CProgramCase> {};

TEST_P(ProgramTest, StatusMessagesAndFilesOnDisk) {
    const CProgramCase& c = GetParam();
    const CScratchFolder dir;
    const CScratchFolder runtime;  // Qt's runtime folder, so that it does not warn of a missing one
    ASSERT_TRUE(dir.isValid() && runtime.isValid());
    const QByteArray& folder = dir.bytes();
    ASSERT_EQ(mkfifo(folder + "/fifo", 0600), 0);
    ASSERT_EQ(close(open(folder + "/doc\xff.tsx", O_CREAT | O_WRONLY, 0600)), 0);
    QProcess shell;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
    shell.setProcessEnvironment(env);
    shell.setWorkingDirectory(dir.path());
    // A program that waits on a pipe would never end: its process group is stopped.
    shell.setChildProcessModifier([] { setpgid(0, 0); });
    // The row's check runs in the same shell afterwards, and a failed one ends it with 99.
    // The program is never the last command, so that a kill ends the shell with 128 + 9.
    shell.start(QStringLiteral("/bin/sh"),
                {QStringLiteral("-c"),
                 QStringLiteral("%1\ns=$?\n[ $s = 77 ] && exit 77\n%2 || exit 99\nexit $s")
                     .arg(QString::fromUtf8(c.pszCommand),
                          QString::fromUtf8(c.pszCheck ? c.pszCheck : "true")),
                 ProgramPath()});
    if (!shell.waitForFinished(60000)) {
        kill(-pid_t(shell.processId()), SIGKILL);
        shell.waitForFinished(-1);
        FAIL() << "the program did not end";
    }
    if (shell.exitCode() == 77) {
        GTEST_SKIP() << "this machine cannot run the case (root or strace needed)";
    }
    EXPECT_EQ(shell.exitCode(), c.nStatus);
    const QString err = QString::fromLocal8Bit(shell.readAllStandardError());
    EXPECT_TRUE(err.contains(QString::fromUtf8(c.pszErrorPart))) << err.toStdString();
    if (c.nErrorLines != kAnyLines) {
        EXPECT_EQ(err.count(QLatin1Char('\n')), c.nErrorLines) << err.toStdString();
    }
    if (c.pszOnDisk) {
        EXPECT_EQ(NamesIn(dir.path()), c.pszOnDisk);
    }
}

constexpr const char* kFixtures = "doc\xff.tsx|fifo";

// The PDF file: written whole and in place, or not at all; nothing left beside it. (The
// leak checker of a sanitizer build cannot run under strace.)
INSTANTIATE_TEST_SUITE_P(
    Files, ProgramTest,
    ::testing::Values(
        CProgramCase{"pdf written", "\"$0\" --pdf out.pdf", 0, "", 0, "doc\xff.tsx|fifo|out.pdf"},
        CProgramCase{"full disk", "\"$0\" --pdf /dev/full", kExitPrintFailed,
                     "\"/dev/full\" could not be written: No space left on device", 1, kFixtures},
        CProgramCase{"missing folder", "\"$0\" --pdf no/out.pdf", kExitPrintFailed, "no/out.pdf", 1,
                     kFixtures},
        CProgramCase{"pdf name not UTF-8", "\"$0\" --pdf \"$(printf '\\377\\376.pdf')\"", 0, "", 0,
                     "doc\xff.tsx|fifo|\xff\xfe.pdf"},
        CProgramCase{"file name not UTF-8", "\"$0\" --pdf out.pdf \"$(printf 'doc\\377.tsx')\"", 0,
                     "", 0, "doc\xff.tsx|fifo|out.pdf"},
        CProgramCase{"file a pipe", "\"$0\" --pdf out.pdf fifo", kExitUsage,
                     "'fifo': it is not a regular file", 2, kFixtures},
        CProgramCase{"file missing", "\"$0\" --pdf out.pdf gone.tsx", kExitUsage,
                     "'gone.tsx': no such file", 2, kFixtures},
        CProgramCase{"pdf into a pipe nobody reads", "\"$0\" --pdf fifo", kExitPrintFailed,
                     "\"fifo\" cannot be written: no process is reading the pipe", 1, kFixtures},
        CProgramCase{"pdf to standard output", "\"$0\" --pdf /dev/stdout | cat >piped.pdf", 0, "",
                     0, nullptr, "head -c 5 piped.pdf | grep -q PDF"},
        CProgramCase{"longest file name", "\"$0\" --pdf \"$(printf '%0251d.pdf' 0)\"", 0, "", 0,
                     nullptr, "[ -s \"$(printf '%0251d.pdf' 0)\" ] && [ $(ls -A | wc -l) = 3 ]"},
        CProgramCase{"replaced file keeps its mode",
                     "printf old >old.pdf && chmod 600 old.pdf && \"$0\" --pdf old.pdf", 0, "", 0,
                     "doc\xff.tsx|fifo|old.pdf",
                     "[ $(stat -c %a old.pdf) = 600 ] && head -c 5 old.pdf | grep -q PDF"},
        CProgramCase{"link of another user in a shared folder",
                     "mkdir -m 1777 shared && printf mine >mine && ln -s ../mine shared/x.pdf && "
                     "{ [ $(id -u) = 0 ] || exit 77; } && chown -h nobody shared/x.pdf && \"$0\" "
                     "--pdf shared/x.pdf",
                     kExitPrintFailed, "a symbolic link that another user made in a shared folder",
                     1, nullptr, "[ \"$(cat mine)\" = mine ] && [ -L shared/x.pdf ]"},
        CProgramCase{"own link in a shared folder",
                     "mkdir -m 1777 shared && printf mine >mine && ln -s ../mine shared/x.pdf && "
                     "\"$0\" --pdf shared/x.pdf",
                     0, "", 0, "doc\xff.tsx|fifo|mine|shared",
                     "head -c 5 mine | grep -q PDF && [ -L shared/x.pdf ]"},
        CProgramCase{"killed before the file is in place",
                     "printf old >old.pdf && { command -v strace >/dev/null || exit 77; } && "
                     "ASAN_OPTIONS=detect_leaks=0 strace -f -qq -o /dev/null -e trace=fsync -e "
                     "inject=fsync:signal=KILL "
                     "\"$0\" --pdf old.pdf",
                     kKilled, "", kAnyLines, "doc\xff.tsx|fifo|old.pdf",
                     "[ \"$(cat old.pdf)\" = old ]"},
        CProgramCase{"data on disk before the name",
                     "{ command -v strace >/dev/null || exit 77; } && ASAN_OPTIONS=detect_leaks=0 "
                     "strace -f -qq -o trace "
                     "-e trace=fsync,link,linkat,rename,renameat,renameat2 \"$0\" --pdf new.pdf",
                     0, "", 0, "doc\xff.tsx|fifo|new.pdf|trace",
                     "grep -m 1 -E 'fsync|link|rename' trace | grep -q fsync"}),
    CaseName<CProgramCase>);

// Starting, answering and failing: one line that says what is wrong, and the status.
INSTANTIATE_TEST_SUITE_P(
    Start, ProgramTest,
    ::testing::Values(
        CProgramCase{"no display", "QT_QPA_PLATFORM=xcb \"$0\" --mute", 1, "no display is set", 1},
        CProgramCase{"display not there", "DISPLAY=:987 QT_QPA_PLATFORM=xcb \"$0\"", 1,
                     "the display ':987' cannot be reached", 1},
        CProgramCase{"unknown window system", "QT_QPA_PLATFORM=nosuch \"$0\"", 1,
                     "'nosuch' named by QT_QPA_PLATFORM is not available", 1},
        CProgramCase{"help into a full device", "\"$0\" --help >/dev/full", 1,
                     "tessix: cannot write the help: No space left on device", 1},
        CProgramCase{"version with standard output closed", "\"$0\" --version >&-", 1,
                     "tessix: cannot write the version", 1},
        CProgramCase{"control bytes escaped", "\"$0\" \"$(printf -- '--a\\033[31m')\"", kExitUsage,
                     "unknown option '--a\\x1b[31m'", 2},
        // Mistakes are answered before the window system is reached, which would fail.
        CProgramCase{"unknown option", "QT_QPA_PLATFORM=xcb \"$0\" --bogus", kExitUsage,
                     "tessix: unknown option '--bogus'", 2},
        CProgramCase{"seed not a number", "QT_QPA_PLATFORM=xcb \"$0\" --seed many", kExitUsage,
                     "invalid seed 'many'", 2},
        CProgramCase{"seed missing", "QT_QPA_PLATFORM=xcb \"$0\" --seed", kExitUsage,
                     "Missing value after '--seed'", 2},
        CProgramCase{"file missing", "QT_QPA_PLATFORM=xcb \"$0\" /no/such/file", kExitUsage,
                     "'/no/such/file': no such file", 2},
        CProgramCase{"two print switches", "QT_QPA_PLATFORM=xcb \"$0\" --pdf a.pdf --print",
                     kExitUsage, "exclude each other", 2},
        CProgramCase{"option named as written", "\"$0\" --=x", kExitUsage, "unknown option '--=x'",
                     2},
        CProgramCase{"file that looks like an option", ": >./-dash.tsx && \"$0\" -dash.tsx",
                     kExitUsage, "put -- before it: tessix -- -dash.tsx", 2},
        CProgramCase{"fonts missing",
                     "printf '<fontconfig/>' >none.conf && FONTCONFIG_FILE=\"$PWD/none.conf\" "
                     "QT_QPA_PLATFORM=offscreen \"$0\" --pdf out.pdf",
                     0, "the fonts Liberation Sans, Liberation Mono are not installed", 1, nullptr,
                     "[ -s out.pdf ]"}),
    CaseName<CProgramCase>);

// Names keep their bytes through decoding and encoding; valid UTF-8 decodes as UTF-8.
TEST(FileNames, KeepTheirBytes) {
    const struct {
        QByteArray bytes;
        bool bUtf8;
    } cases[] = {
        {"plain.pdf", true},     {"caf\xc3\xa9 \xf0\x9f\x8e\xb2", true},
        {"\xff\xfe.pdf", false}, {"cut \xc3", false},
        {"\xed\xa0\x80", false}, {"overlong \xc0\xaf", false},
        {"\xc3\xa9\xa9", false},
    };
    for (const auto& c : cases) {
        const QString decoded = DecodeFileName(c.bytes);
        EXPECT_EQ(EncodeFileName(decoded), c.bytes) << c.bytes.toHex().constData();
        EXPECT_EQ(decoded == QString::fromUtf8(c.bytes), c.bUtf8) << c.bytes.toHex().constData();
    }
    // The file dialog shows an undecodable byte as U+FFFD; the name chosen finds the file.
    const CScratchFolder dir;
    ASSERT_TRUE(dir.isValid());
    ASSERT_EQ(close(open(dir.bytes() + "/a\xff.tsx", O_CREAT | O_WRONLY, 0600)), 0);
    const QString shown = dir.filePath(QStringLiteral("a\ufffd.tsx"));
    EXPECT_EQ(EncodeFileName(ResolveShownPath(shown)),
              QFile::encodeName(dir.path()) + "/a\xff.tsx");
}

}  // namespace
