#pragma once

#include <QSqlRecord>
#include <QString>
#include <QStringList>

class QSqlDatabase;
struct Dialecto;

// The one definition of the materials table, written in the store's dialect.
// The store itself refuses a record without a name or description, with a
// name longer than tabla::kLargoNombre, with an index or density that is
// missing or not a number, with an Abbe number that is given but not a
// number, or with values no spectacle material has: an index of 1 or less
// would make every surface power infinite, and the upper bounds also keep
// out the infinity that an overflowing "1e999" becomes. The Abbe number may
// be left empty: no calculation reads it.
QString EsquemaMateriales(const Dialecto& dialecto);

// Copies the starter catalogue, kept readable in materiales_iniciales.csv,
// into the empty table, inside the caller's transaction.
bool CargarIniciales(QSqlDatabase& bd);

// The fields of the table that the record of its description lacks; all nine
// when the table is not there.
QStringList CamposFaltantes(const QSqlRecord& campos);

// The table's name as the connection's driver quotes it; Qt's own calls on
// the table (record(), QSqlTableModel) need it quoted, or PostgreSQL would
// fold it to lower case.
QString TablaCitada(const QSqlDatabase& bd);
