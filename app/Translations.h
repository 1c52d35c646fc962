// SPDX-License-Identifier: MIT
// The framework's own texts (the buttons and labels of Qt's print, file and message
// dialogs) in the user's language.
#pragma once

class QCoreApplication;

// Installs Qt's translations of its own dialogs for the user's locale, when the system
// has them (Debian: qt6-translations-l10n). The program's own texts are not translated.
void LoadFrameworkTranslations(QCoreApplication& app);
