#pragma once
// Text and file names across the Qt edge: the core holds UTF-8 text and
// file names as the bytes the system gave in std::string, Qt holds QString;
// these are the only conversions.

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QUrl>

#include <string>
#include <string_view>

namespace th::toolkit {

inline QString qtText(std::string_view utf8)
{
    return QString::fromUtf8(utf8.data(), qsizetype(utf8.size()));
}

inline std::string utf8Text(const QString& text)
{
    return text.toUtf8().toStdString();
}

// File names are bytes, not text: they cross through Qt's own file-name
// codec, so a name comes back as the bytes Qt's file functions would use.
inline QString qtFileName(std::string_view bytes)
{
    return QFile::decodeName(QByteArray(bytes.data(), qsizetype(bytes.size())));
}

inline std::string fileNameBytes(const QString& name)
{
    return QFile::encodeName(name).toStdString();
}

// A local file's address, its escapes undone byte by byte, so that a name
// that is no UTF-8 keeps its exact bytes (QUrl::toLocalFile would put
// U+FFFD in their place).
inline std::string localFileBytes(const QUrl& url)
{
    if (!url.host().isEmpty())
        return fileNameBytes(url.toLocalFile());
    return QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1()).toStdString();
}

} // namespace th::toolkit
