#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QStringView>
#include <map>
#include <optional>
#include <span>
#include <utility>

class BaseMateriales;

// The minimum centre thickness of each material, in a table of its own beside
// the materials table and keyed by the material's Id. The materials table
// keeps exactly its fields, so that a release that knows nothing of this
// table still reads the catalogue; a material without a row is made with
// kEspesorMinimoPorOmision.
namespace espesor_minimo {

inline constexpr QStringView kTabla = u"Tabla_EspesorMinimo";
inline constexpr QStringView kId = u"Id";
inline constexpr QStringView kEspesor = u"espesor mínimo";
inline constexpr double kPorOmision = 1.5;

} // namespace espesor_minimo

// Creates the table when the catalogue lacks it, with the starter values for
// the materials found by name, in one transaction. A catalogue the user may
// not write keeps working without it: false, and nothing changed.
bool PrepararEspesoresMinimos(QSqlDatabase& bd);

// The material's minimum centre thickness (mm): its row, else the default.
double EspesorMinimoDe(const QSqlDatabase& bd, long long id);
double EspesorMinimoDe(const BaseMateriales& base, long long id);
// The minimum of every material given (Id and product name) at once, by Id,
// in one read; a material without a row is not in it and takes the default.
std::map<long long, double> EspesoresMinimos(const QSqlDatabase& bd,
                                             std::span<const std::pair<long long, QString>> materiales);

// Sets the material's minimum; false when the store refuses it.
bool GuardarEspesorMinimo(QSqlDatabase& bd, long long id, double espesor);
// Removes the row of a deleted material.
bool BorrarEspesorMinimo(QSqlDatabase& bd, long long id);
