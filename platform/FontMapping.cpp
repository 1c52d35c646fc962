// SPDX-License-Identifier: MIT
#include "platform/FontMapping.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QPaintDevice>
#include <cmath>
#include <cstring>

#include "platform/Gdi.h"

namespace {

struct CFaceRow {
    const char* pszFace;
    CFaceMapping mapping;
};

constexpr CFaceRow kFaces[] = {
    {"Arial", {"Liberation Sans", false, false}},
    {"Arial Bold", {"Liberation Sans", true, false}},
    {"Courier New", {"Liberation Mono", false, true}},
    {"Fixedsys", {"Liberation Mono", false, true}},
    {"MS Sans Serif", {"Liberation Sans", false, false}},
};

}  // namespace

CFaceMapping MapFace(const char* pszFace) {
    for (const CFaceRow& row : kFaces) {
        if (pszFace && std::strcmp(row.pszFace, pszFace) == 0) {
            return row.mapping;
        }
    }
    return kFaces[0].mapping;
}

QStringList MissingMappedFaces() {
    const QStringList installed = QFontDatabase::families();
    QStringList missing;
    for (const CFaceRow& row : kFaces) {
        const QString family = QString::fromLatin1(row.mapping.pszFamily);
        if (!installed.contains(family) && !missing.contains(family)) {
            missing.append(family);
        }
    }
    return missing;
}

QFont MakeQFont(const CFont& font, QPaintDevice* pDevice) {
    const CFaceMapping mapping = MapFace(font.Face().c_str());
    QFont qfont(QString::fromLatin1(mapping.pszFamily));
    qfont.setStyleStrategy(QFont::NoFontMerging);
    qfont.setFixedPitch(mapping.bFixedPitch);
    qfont.setBold(mapping.bBold || font.Weight() >= 600);
    qfont.setItalic(font.Italic() != 0);
    qfont.setUnderline(font.Underline() != 0);
    qfont.setStrikeOut(font.StrikeOut() != 0);
    qfont.setHintingPreference(QFont::PreferNoHinting);

    // A positive height is a cell height (ascent + descent); Qt sizes fonts by the em.
    // Measure the face's cell at a large em size and scale.
    const int nCell = std::abs(font.Height());
    if (nCell == 0) {
        return qfont;
    }
    constexpr int kProbeEm = 1000;
    qfont.setPixelSize(kProbeEm);
    const QFontMetricsF probe(qfont, pDevice);
    const qreal cellPerEm = (probe.ascent() + probe.descent()) / kProbeEm;
    const int nEm = font.Height() > 0 && cellPerEm > 0
                        ? static_cast<int>(std::lround(nCell / cellPerEm))
                        : nCell;
    qfont.setPixelSize(nEm > 0 ? nEm : 1);
    return qfont;
}
