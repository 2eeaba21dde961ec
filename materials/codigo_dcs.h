#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QStringView>
#include <map>
#include <optional>
#include <span>
#include <utility>

class BaseMateriales;

// Each material's class in the laboratory data-communication standard
// (LMATTYPE: 1 plastic, 2 polycarbonate, 3 glass, 5 high index, 6 Trivex),
// by which a job names its material together with the index. It lives in a
// table of its own beside the materials table, keyed by the material's Id,
// as the minimum centre thickness does; a material without a row has no
// class and is never found by one.
namespace codigo_dcs {

inline constexpr QStringView kTabla = u"Tabla_CodigoDCS";
inline constexpr QStringView kCodigo = u"LMATTYPE";

// The classes the standard names, with the words the materials window shows.
struct Clase {
    int codigo;
    const char* nombre;
};
inline constexpr Clase kClases[] = {
    {1, "Plástico"}, {2, "Policarbonato"}, {3, "Vidrio"}, {5, "Alto índice"}, {6, "Trivex"},
};

} // namespace codigo_dcs

// Creates the table when the catalogue lacks it, with the starter classes
// for the materials found by name, in one transaction. A catalogue the user
// may not write keeps working without it: false, and nothing changed.
bool PrepararCodigosDcs(QSqlDatabase& bd);

// The material's class: its row, else (without the table) its starter class
// by name; nothing when it has none.
std::optional<int> CodigoDcsDe(const QSqlDatabase& bd, long long id);
std::optional<int> CodigoDcsDe(const BaseMateriales& base, long long id);
// The class of every material given (Id and product name) that has one, by
// Id, in one read.
std::map<long long, int> CodigosDcs(const QSqlDatabase& bd, std::span<const std::pair<long long, QString>> materiales);

// Sets the material's class, or takes it away (nothing); false when the
// store refuses it.
bool GuardarCodigoDcs(QSqlDatabase& bd, long long id, std::optional<int> codigo);
// Removes the row of a deleted material.
bool BorrarCodigoDcs(QSqlDatabase& bd, long long id);
