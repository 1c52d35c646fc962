// SPDX-License-Identifier: MIT
// A record kept as a text file of lines that only ever grows: each append adds whole
// lines or nothing, and the lines already there are never rewritten.
#pragma once

#include <QByteArray>
#include <QString>

// The folder for state that should outlive a run but is no document of the user's:
// $XDG_STATE_HOME when it is set to an absolute path, otherwise ~/.local/state.
QString XdgStateHome();

// Whether a header goes before the first line of a file that is empty or new.
struct CAppendLines {
    QByteArray lines;   // one or more lines, each ending in '\n'
    QByteArray header;  // written first into an empty file; may be empty
};

// Appends to strPath (names in the form of FileSystem.h), creating the file and its
// missing folders. A file whose last line lacks its line feed (a line cut short
// elsewhere) gets one first, so the new lines start on their own. A write that fails or
// stops short leaves the file as it was. Refuses a folder, a pipe or a socket, and a
// symbolic link as the file itself. FALSE with the reason in *pError when nothing was
// appended.
bool AppendLines(const QString& strPath, const CAppendLines& append, QString* pError);

// The whole content of a regular file, or an empty array when it is missing; FALSE with
// the reason in *pError when it exists but cannot be read.
bool ReadWholeFile(const QString& strPath, QByteArray* pContent, QString* pError);
