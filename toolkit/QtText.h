#pragma once
// Text across the Qt edge: the core holds UTF-8 in std::string, Qt holds
// QString; these two are the only conversions.

#include <QString>

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

} // namespace th::toolkit
