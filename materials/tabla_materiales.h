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

// The nine fields, quoted and in table order, for a SELECT list.
inline QString Campos()
{
    QString campos;
    for (QStringView c : {kId, kProducto, kDescripcion, kProveedor, kIndice, kDensidad, kAbbe, kMineral, kOrganico})
        campos += (campos.isEmpty() ? QString() : QStringLiteral(", ")) + Citar(c);
    return campos;
}

} // namespace tabla
