#pragma once

#include <QString>
#include <string>
#include <string_view>

// The engine keeps its texts in UTF-8; Qt keeps them in QString.
inline QString Q(std::string_view texto)
{
    return QString::fromUtf8(texto.data(), static_cast<qsizetype>(texto.size()));
}

inline std::string S(const QString& texto) { return texto.toStdString(); }
