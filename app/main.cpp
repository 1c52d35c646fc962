// SPDX-License-Identifier: MIT
#include <QApplication>
#include <QMainWindow>
#include <QScreen>

#include "game/TessixView.h"
#include "platform/Clock.h"
#include "platform/SdlSoundPlayer.h"
#include "platform/ViewWidget.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    CSystemClock clock;
    CSdlSoundPlayer sound(EAudio::Enabled, clock);
    QMainWindow frame;
    auto* pWidget = new CViewWidget(&frame);
    frame.setCentralWidget(pWidget);
    CViewWorld world;
    world.pClock = &clock;
    world.pSound = &sound;
    pWidget->CreateView(world);
    frame.setGeometry(frame.screen()->availableGeometry());
    frame.showMaximized();
    return app.exec();
}
