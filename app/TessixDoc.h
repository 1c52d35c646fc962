// SPDX-License-Identifier: MIT
// The document of the single-document arrangement. The game keeps all its state in the
// view, so the document holds no data: opening reads nothing and saving writes nothing.
#pragma once

#include "app/Resources.h"
#include "platform/Document.h"

class CTessixDoc final : public CDocument {
public:
    void Serialize(QIODevice& /*file*/, EArchive /*eArchive*/) override {}

    // The name print jobs carry: the file's name once the document has one, the
    // application title before.
    QString PrintJobTitle() const {
        return GetPathName().isEmpty() ? QString::fromLatin1(kAppTitle) : GetTitle();
    }
};
