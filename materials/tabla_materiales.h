#pragma once

#include <QString>
#include <QStringView>

// The materials table and its fields under the names the other programs of
// the installation read: accents, blanks and the single v of "Provedor"
// included. SQLite compares identifiers without regard to ASCII case, so
// "Producto" and "producto" name the same field.
namespace tabla {

inline constexpr QStringView kTabla = u"Tabla_Materiales";
inline constexpr QStringView kId = u"Id";
inline constexpr QStringView kProducto = u"producto";
inline constexpr QStringView kDescripcion = u"descripción";
inline constexpr QStringView kProveedor = u"Provedor principal";
inline constexpr QStringView kIndice = u"indice de refracción";
inline constexpr QStringView kDensidad = u"densidad";
inline constexpr QStringView kAbbe = u"abbe";
inline constexpr QStringView kMineral = u"material";
inline constexpr QStringView kOrganico = u"material 2";

// An identifier quoted for SQL: the field names hold blanks and accents.
inline QString Citar(QStringView nombre) { return u'"' + nombre.toString() + u'"'; }

inline constexpr QStringView kCampos[] = {kId,       kProducto, kDescripcion, kProveedor, kIndice,
                                          kDensidad, kAbbe,     kMineral,     kOrganico};

// The nine fields, quoted and in table order, for a SELECT list.
inline QString Campos()
{
    QString campos;
    for (QStringView c : kCampos)
        campos += (campos.isEmpty() ? QString() : QStringLiteral(", ")) + Citar(c);
    return campos;
}

// The longest product name, and search text, in characters. The design
// record keeps only 11 of them; the limit keeps a name a name, and every
// search short.
inline constexpr qsizetype kLargoNombre = 255;

} // namespace tabla
