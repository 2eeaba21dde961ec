#pragma once

#include <QMap>
#include <QSqlDatabase>
#include <QString>
#include <QStringView>
#include <map>
#include <optional>
#include <span>
#include <utility>

// A table beside the materials table that keeps one value a material, keyed
// by the material's Id. The materials table keeps exactly its fields, so
// that a release that knows nothing of these tables still reads the
// catalogue; and a catalogue the user may not write keeps working on the
// starter values, read by product name.
struct TablaLateral {
    QStringView tabla;
    QStringView columna;
    bool entera; // a whole number, else a real one
    // The column's CHECK, %1 standing for the quoted column.
    QStringView rango;
    bool (*valido)(double);
    // The starter values by product name (see valores_iniciales.h).
    const QMap<QString, double>& (*iniciales)();
};

// Creates the table when the catalogue lacks it, with the starter values for
// the materials found by name, in one transaction. False, and nothing
// changed, when the store refuses.
bool PrepararTablaLateral(QSqlDatabase& bd, const TablaLateral& t);

// The material's row; without the table, its starter value by name. Nothing
// when there is none or it is not a valid value.
std::optional<double> ValorLateral(const QSqlDatabase& bd, const TablaLateral& t, long long id);

// Every material's value at once, by Id, as ValorLateral gives each: one
// read of the table, or without it the starter values of the materials given
// (Id and product name). A material without a value is not in the result.
std::map<long long, double> ValoresLaterales(const QSqlDatabase& bd, const TablaLateral& t,
                                             std::span<const std::pair<long long, QString>> materiales);

// Sets the material's value, or removes its row (nothing); false when the
// store refuses it.
bool GuardarValorLateral(QSqlDatabase& bd, const TablaLateral& t, long long id, std::optional<double> valor);
// Removes the row of a deleted material.
bool BorrarValorLateral(QSqlDatabase& bd, const TablaLateral& t, long long id);
