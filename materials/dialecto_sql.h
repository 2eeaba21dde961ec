#pragma once

#include <QString>

class QSqlDatabase;

// What the two stores of the catalogue write differently; every other
// statement (quoted names, CAST, trim, length, CHECK, transactions) is the
// same text for SQLite and PostgreSQL. Each entry is an SQL fragment, with %1
// (and %2) standing for the expressions it applies to.
struct Dialecto {
    // The Id column: a whole number the store assigns and never gives again.
    QString id;
    QString real;
    // A yes/no column with its default of "no".
    QString siNo;
    // True when %1 holds a number: SQLite keeps a text it cannot convert in
    // a REAL column, a PostgreSQL column refuses it by itself (empty).
    QString esNumero;
    // %1 with the ASCII letters, and only those, in lower case, whatever the
    // server's locale.
    QString minusculasAscii;
    // Position of the text %2 inside %1, from 1; 0 when it is not there.
    QString posicion;
    // The Id the last INSERT of this connection was given.
    QString ultimoId;
    // Written before VALUES to insert a record with its own Id, and run after
    // such inserts so that a new record never gets one of those Ids.
    QString conservarId;
    QString ajustarContador;
    // Keeps other writers out of the table until the transaction ends; a
    // SQLite write transaction does so by itself (empty).
    QString bloquearTabla;
    bool servidor = false;
};

const Dialecto& DialectoSqlite();
const Dialecto& DialectoPostgresql();
// The dialect of the connection's driver.
const Dialecto& DialectoDe(const QSqlDatabase& bd);
