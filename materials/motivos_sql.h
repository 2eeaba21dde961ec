#pragma once

#include <string>

class QSqlDatabase;
class QSqlError;

// The drivers report in English, in the words of SQLite or PostgreSQL; the
// user reads the reason in Spanish. Each reason is worked out from the error
// code (SQLite's extended result code, PostgreSQL's SQLSTATE), never from the
// text, and is written to follow "no se pudo ...: ".

// The store refused the values of the record: a NOT NULL, CHECK or type rule
// of the table, or a number it could not read.
bool EsRechazoDeDatos(const QSqlError& error, const QSqlDatabase& bd);

// The file is not a database, or its pages are damaged.
bool EsArchivoDanado(const QSqlError& error, const QSqlDatabase& bd);

// Another bench holds what the call needs (a lock, a write under way, a
// transaction that had to give way): the same call may succeed moments later.
bool EsOcupado(const QSqlError& error, const QSqlDatabase& bd);

// The table's key refused a value it already holds.
bool EsClaveRepetida(const QSqlError& error, const QSqlDatabase& bd);

std::string Motivo(const QSqlError& error, const QSqlDatabase& bd);
