// SPDX-License-Identifier: MIT
// A fresh folder under the system's temporary folder, removed with everything in it when
// the test ends. Removal works on the names' bytes, so that a file whose name is not
// valid UTF-8 (which QTemporaryDir cannot remove) goes too.
#pragma once

#include <QByteArray>
#include <QString>

class CScratchFolder {
public:
    CScratchFolder();
    ~CScratchFolder();
    CScratchFolder(const CScratchFolder&) = delete;
    CScratchFolder& operator=(const CScratchFolder&) = delete;

    bool isValid() const { return !m_path.isEmpty(); }
    // The folder's path, as bytes and as Qt decodes them.
    const QByteArray& bytes() const { return m_path; }
    QString path() const;
    QString filePath(const QString& strName) const { return path() + QLatin1Char('/') + strName; }

private:
    QByteArray m_path;  // empty when the folder could not be made
};
