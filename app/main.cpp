// SPDX-License-Identifier: MIT
// The program: the command line first (answered without a display where it can be),
// then the application object and the message loop.
#include <QApplication>
#include <cstdio>

#include "app/CommandLine.h"
#include "app/CommandLinePrint.h"
#include "app/TessixApp.h"
#include "app/Translations.h"
#include "platform/FileDialog.h"
#include "platform/SdlSoundPlayer.h"
#include "platform/WindowClock.h"

namespace {

void Print(std::FILE* pStream, const QString& strText) {
    std::fputs(strText.toLocal8Bit().constData(), pStream);
    std::fflush(pStream);
}

}  // namespace

int main(int argc, char** argv) {
    const CCommandLineInfo cmdInfo = ParseCommandLine(DecodeArguments(argc, argv));
    switch (cmdInfo.m_nShellCommand) {
        case EShellCommand::AppHelp:
            Print(stdout, CommandLineHelp());
            return 0;
        case EShellCommand::AppVersion:
            Print(stdout, VersionText());
            return 0;
        case EShellCommand::Invalid:
            Print(stderr, QStringLiteral("tessix: %1\nTry 'tessix --help' for more information.\n")
                              .arg(cmdInfo.m_strError));
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
    if (PrintSwitchNeedsNoDisplay(cmdInfo)) {
        // Printing shows nothing, so it needs no display.
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    // On Wayland the frame draws its own caption, without the buttons of Qt's decoration,
    // where the compositor does not decorate windows itself.
    if (!qEnvironmentVariableIsSet("QT_WAYLAND_DISABLE_WINDOWDECORATION")) {
        qputenv("QT_WAYLAND_DISABLE_WINDOWDECORATION", "1");
    }
    // The command line is the program's own; Qt sees only the program's name.
    int nQtArgc = 1;
    QApplication app(nQtArgc, argv);
    LoadFrameworkTranslations(app);
    CWindowClock clock;
    if (cmdInfo.m_nShellCommand == EShellCommand::FilePrint ||
        cmdInfo.m_nShellCommand == EShellCommand::FilePrintTo ||
        cmdInfo.m_nShellCommand == EShellCommand::FilePrintPdf ||
        cmdInfo.m_nShellCommand == EShellCommand::FilePrintPreview) {
        QString error;
        const int nStatus = RunPrintSwitch(cmdInfo, clock, &error);
        if (nStatus != 0) {
            Print(stderr, QStringLiteral("tessix: %1\n").arg(error));
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
