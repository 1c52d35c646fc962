// SPDX-License-Identifier: MIT
#include "app/Translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

void LoadFrameworkTranslations(QCoreApplication& app) {
    // The translator belongs to the application, which removes it when it ends.
    auto* pTranslator = new QTranslator(&app);
    if (pTranslator->load(QLocale(), QStringLiteral("qt"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QCoreApplication::installTranslator(pTranslator);
    } else {
        delete pTranslator;
    }
}
