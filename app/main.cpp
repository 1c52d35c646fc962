// SPDX-License-Identifier: MIT
// The program: the command line first (answered without a display where it can be),
// then the application object and the message loop.
#include <QApplication>
#include <QList>
#include <QPair>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "app/CommandLine.h"
#include "app/CommandLinePrint.h"
#include "app/TessixApp.h"
#include "app/Translations.h"
#include "platform/FileDialog.h"
#include "platform/FileSystem.h"
#include "platform/FontMapping.h"
#include "platform/SdlSoundPlayer.h"
#include "platform/WindowClock.h"

namespace {

// Writes text to a stream and flushes it; 0, or the errno of a write that failed (a full
// device, a closed stream).
int Print(std::FILE* pStream, const QString& strText) {
    errno = 0;
    const bool bWritten = std::fputs(strText.toLocal8Bit().constData(), pStream) >= 0;
    if (std::fflush(pStream) == 0 && bWritten && !std::ferror(pStream)) {
        return 0;
    }
    return errno != 0 ? errno : EIO;
}

// A message on standard error. What came from the command line or a file name may hold
// control characters; they are shown escaped, never sent to the terminal.
void Report(const QString& strMessage) {
    Print(stderr, QStringLiteral("tessix: %1\n").arg(EscapeControls(strMessage)));
}

// The usage or the version on standard output; a write that fails is reported with
// exit status 1, so that a caller never takes nothing for the text.
int PrintOrReport(const QString& strText, const char* pszWhat) {
    const int nErrno = Print(stdout, strText);
    if (nErrno == 0) {
        return 0;
    }
    Report(QStringLiteral("cannot write the %1: %2")
               .arg(QString::fromLatin1(pszWhat), QString::fromLocal8Bit(std::strerror(nErrno))));
    return 1;
}

// What is missing when Qt cannot start the window system, and how to run without one.
QString NoDisplayText() {
    const QString platform =
        qEnvironmentVariable("QT_QPA_PLATFORM").section(QLatin1Char(':'), 0, 0);
    const bool bWayland = platform.startsWith(QLatin1String("wayland"));
    const QString display = qEnvironmentVariable(bWayland ? "WAYLAND_DISPLAY" : "DISPLAY");
    QString missing;
    if (!platform.isEmpty() && platform != QLatin1String("xcb") && !bWayland) {
        missing = QStringLiteral("the window system '%1' named by QT_QPA_PLATFORM is not available")
                      .arg(platform);
    } else if (display.isEmpty()) {
        missing = QStringLiteral("no display is set (%1 is empty)")
                      .arg(QLatin1String(bWayland ? "WAYLAND_DISPLAY" : "DISPLAY"));
    } else {
        missing = QStringLiteral("the display '%1' cannot be reached").arg(display);
    }
    return QStringLiteral(
               "cannot open the game's window: %1; run it on a desktop, or write "
               "the instructions with --pdf FILE, which needs no display")
        .arg(missing);
}

// While the application object is made, Qt's platform messages are held back: when the
// window system cannot start, Qt ends the program with abort() (and a core file) after
// several lines of its own. Instead one line says what is missing, and the status is 1.
QtMessageHandler g_pQtHandler = nullptr;
QList<QPair<QtMsgType, QString>> g_heldMessages;

void HoldPlatformMessages(QtMsgType eType, const QMessageLogContext& context,
                          const QString& strMessage) {
    if (eType == QtFatalMsg) {
        Report(NoDisplayText());
        // Nothing is open that the system does not release at exit.
        std::_Exit(1);
    }
    const QLatin1String category(context.category ? context.category : "");
    if (category.startsWith(QLatin1String("qt.qpa"))) {
        g_heldMessages.append({eType, category + QLatin1String(": ") + strMessage});
        return;
    }
    g_pQtHandler(eType, context, strMessage);
}

// The messages held while the application object was made, now that it stands.
void ReleasePlatformMessages() {
    qInstallMessageHandler(g_pQtHandler);
    for (const auto& message : std::as_const(g_heldMessages)) {
        g_pQtHandler(message.first, QMessageLogContext(), message.second);
    }
    g_heldMessages.clear();
}

// The faces the game's fonts map to, checked once: without them every letter may be a box.
void WarnOfMissingFaces() {
    const QStringList missing = MissingMappedFaces();
    if (!missing.isEmpty()) {
        Report(QStringLiteral("warning: the fonts %1 are not installed, so text may show as "
                              "boxes or in other faces; install the Liberation fonts (on "
                              "Debian, fonts-liberation2)")
                   .arg(missing.join(QLatin1String(", "))));
    }
}

// What Qt's window system is told before the application object is made.
void ChooseWindowSystem(const CCommandLineInfo& cmdInfo) {
    if (PrintSwitchNeedsNoDisplay(cmdInfo)) {
        // Printing shows nothing, so it needs no display.
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    // On Wayland the frame draws its own caption, without the buttons of Qt's decoration,
    // where the compositor does not decorate windows itself.
    if (!qEnvironmentVariableIsSet("QT_WAYLAND_DISABLE_WINDOWDECORATION")) {
        qputenv("QT_WAYLAND_DISABLE_WINDOWDECORATION", "1");
    }
}

}  // namespace

int main(int argc, char** argv) {
    const CCommandLineInfo cmdInfo = ParseCommandLine(DecodeArguments(argc, argv));
    switch (cmdInfo.m_nShellCommand) {
        case EShellCommand::AppHelp:
            return PrintOrReport(CommandLineHelp(), "help");
        case EShellCommand::AppVersion:
            return PrintOrReport(VersionText(), "version");
        case EShellCommand::Invalid:
            Report(cmdInfo.m_strError);
            Print(stderr, QStringLiteral("Try 'tessix --help' for more information.\n"));
            return kExitUsage;
        case EShellCommand::FileNew:
        case EShellCommand::FileOpen:
        case EShellCommand::FilePrint:
        case EShellCommand::FilePrintTo:
        case EShellCommand::FilePrintPdf:
        case EShellCommand::FilePrintPreview:
            break;
    }

    // The resources live in the core library; they are registered before any is loaded.
    Q_INIT_RESOURCE(tessix);
    ChooseWindowSystem(cmdInfo);
    // The command line is the program's own; Qt sees only the program's name.
    int nQtArgc = 1;
    g_pQtHandler = qInstallMessageHandler(HoldPlatformMessages);
    QApplication app(nQtArgc, argv);
    ReleasePlatformMessages();
    WarnOfMissingFaces();
    LoadFrameworkTranslations(app);
    CWindowClock clock;
    if (cmdInfo.m_nShellCommand == EShellCommand::FilePrint ||
        cmdInfo.m_nShellCommand == EShellCommand::FilePrintTo ||
        cmdInfo.m_nShellCommand == EShellCommand::FilePrintPdf ||
        cmdInfo.m_nShellCommand == EShellCommand::FilePrintPreview) {
        QString error;
        const int nStatus = RunPrintSwitch(cmdInfo, clock, &error);
        if (nStatus != 0) {
            Report(error);
        }
        return nStatus;
    }
    CSdlSoundPlayer sound(cmdInfo.m_eAudio, clock);
    CQtFileDialogs fileDialogs;
    CAppWorld world;
    world.pClock = &clock;
    world.pSound = &sound;
    world.pFileDialogs = &fileDialogs;
    CTessixApp theApp(world);
    if (!theApp.InitInstance(cmdInfo)) {
        return kExitUsage;
    }
    return QApplication::exec();
}
