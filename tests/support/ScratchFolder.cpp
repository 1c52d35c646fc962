// SPDX-License-Identifier: MIT
#include "support/ScratchFolder.h"

#include <ftw.h>
#include <stdio.h>
#include <stdlib.h>

#include <QDir>
#include <QFile>

namespace {

int RemoveEntry(const char* pszPath, const struct stat* /*pStat*/, int /*nFlag*/,
                struct FTW* /*pFtw*/) {
    return remove(pszPath) == 0 ? 0 : -1;
}

}  // namespace

CScratchFolder::CScratchFolder() {
    QByteArray pattern = QFile::encodeName(QDir::tempPath()) + "/tessix_tests-XXXXXX";
    if (mkdtemp(pattern.data()) != nullptr) {
        m_path = pattern;
    }
}

CScratchFolder::~CScratchFolder() {
    if (isValid()) {
        // Children before their folder, without following links out of the folder.
        nftw(m_path.constData(), &RemoveEntry, 16, FTW_DEPTH | FTW_PHYS);
    }
}

QString CScratchFolder::path() const {
    return QFile::decodeName(m_path);
}
