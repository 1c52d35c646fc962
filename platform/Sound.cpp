// SPDX-License-Identifier: MIT
// Sound resources: the wave images compiled into the program from res/tessix.qrc.
#include "platform/Sound.h"

#include <QFile>
#include <QString>

std::vector<unsigned char> LoadSoundResource(int nId) {
    // tessix_core is a static library: its resource data is linked in (and registered)
    // only when something refers to it. Registering twice is harmless.
    Q_INIT_RESOURCE(tessix);

    QFile file(QStringLiteral(":/sounds/%1.wav").arg(nId));
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    const QByteArray bytes = file.readAll();
    return std::vector<unsigned char>(bytes.begin(), bytes.end());
}
