// SPDX-License-Identifier: MIT
// Sound resources: the wave images compiled into the program from its resource file,
// which whoever links them registers (the game view does).
#include "platform/Sound.h"

#include <QFile>
#include <QString>

std::vector<unsigned char> LoadSoundResource(int nId) {
    QFile file(QStringLiteral(":/sounds/%1.wav").arg(nId));
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    const QByteArray bytes = file.readAll();
    return std::vector<unsigned char>(bytes.begin(), bytes.end());
}
