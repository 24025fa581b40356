#pragma once

#include <QString>

#include <string>
#include <string_view>

// Texts cross between the core (UTF-8 std::string) and the windows (QString) only through these two.
namespace ui {

inline QString qtText(std::string_view utf8)
{
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

inline std::string utf8Text(const QString& text)
{
    return text.toUtf8().toStdString();
}

} // namespace ui
