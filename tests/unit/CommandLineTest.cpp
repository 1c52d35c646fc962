// SPDX-License-Identifier: MIT
// The command line: the parser's answers, and the real program's output and exit status
// for --version, --help and mistakes (which must not open a window).
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <optional>
#include <string>
#include <vector>

#include "app/CommandLine.h"

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

std::string CaseName(const ::testing::TestParamInfo<CParseCase>& info) {
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
    CaseName);

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
    const QString text = CommandLineHelp();
    for (const char* psz : {"FILE", "--seed N", "--mute", "--print", "--print-to NAME",
                            "--pdf FILE", "--preview", "--help", "--version"}) {
        EXPECT_TRUE(text.contains(QString::fromLatin1(psz))) << psz;
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

struct CMistake {
    std::vector<const char*> args;
    const char* pszMessagePart;
};

class ProgramMistakeTest : public ::testing::TestWithParam<CMistake> {};

TEST_P(ProgramMistakeTest, SaysWhatIsWrongOnStandardErrorAndExitsWith2) {
    QStringList args;
    for (const char* psz : GetParam().args) {
        args.append(QString::fromLocal8Bit(psz));
    }
    const CRunResult r = RunProgram(args);
    ASSERT_FALSE(r.bCrashed);
    EXPECT_EQ(r.nExitCode, kExitUsage);
    EXPECT_TRUE(r.strOut.isEmpty()) << r.strOut.toStdString();
    EXPECT_TRUE(r.strErr.startsWith(QStringLiteral("tessix: "))) << r.strErr.toStdString();
    EXPECT_TRUE(r.strErr.contains(QString::fromLatin1(GetParam().pszMessagePart)))
        << r.strErr.toStdString();
    // The program never reached the window system: it would have complained about the
    // missing display.
    EXPECT_FALSE(r.strErr.contains(QStringLiteral("display"), Qt::CaseInsensitive))
        << r.strErr.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Cases, ProgramMistakeTest,
                         ::testing::Values(CMistake{{"--bogus"}, "bogus"},
                                           CMistake{{"--seed", "many"}, "many"},
                                           CMistake{{"--seed"}, "seed"},
                                           CMistake{{"/no/such/file"}, "/no/such/file"},
                                           CMistake{{"--pdf", "a.pdf", "--print"}, "exclude"}));

TEST(Program, PdfSwitchNeedsNoDisplayAndFailsClearlyOnAnUnwritableFile) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString pdf = dir.filePath(QStringLiteral("instructions.pdf"));
    const CRunResult written = RunProgram({QStringLiteral("--pdf"), pdf});
    ASSERT_FALSE(written.bCrashed);
    EXPECT_EQ(written.nExitCode, 0) << written.strErr.toStdString();
    QFile file(pdf);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.read(5) == "%PDF-");

    const CRunResult failed =
        RunProgram({QStringLiteral("--pdf"), dir.filePath(QStringLiteral("missing/x.pdf"))});
    ASSERT_FALSE(failed.bCrashed);
    EXPECT_EQ(failed.nExitCode, kExitPrintFailed);
    EXPECT_TRUE(failed.strErr.contains(QStringLiteral("tessix: "))) << failed.strErr.toStdString();
}

}  // namespace
