#pragma once

#include <QSqlDatabase>
#include <QSqlRecord>
#include <QString>
#include <QStringView>
#include <optional>

// The catalogue's matching rules, shared by the design's look-ups and the
// materials window's search: the first record in table order (ascending Id)
// whose field contains the given text. Texts are passed as bound parameters
// and matched literally: an apostrophe, %, _, *, ?, # or [ in a name can
// neither break nor widen a search. Both stores, SQLite and PostgreSQL, run
// the same search.

// Product names: letters compared without regard to case, accented ones
// included ("óptico" finds "ÓPTICO"). An empty text finds the first record
// that has a name. A text longer than tabla::kLargoNombre finds nothing: no
// name that the window saves is that long. The record holds the nine fields.
// With `enteroPrimero`, a name equal to the whole text (case aside) wins
// over an earlier one that merely contains it: what a command line or a
// list means when it names a material, so that "CR-39" is never "CR-39 Azul".
std::optional<QSqlRecord> PrimerRegistroPorNombre(const QSqlDatabase& bd, QStringView texto,
                                                  bool enteroPrimero = false);

// The Id written in decimal digits: "5" finds 5, or 15 when 5 is gone.
std::optional<QSqlRecord> PrimerRegistroPorId(const QSqlDatabase& bd, QStringView digitos);

// The part of a search text that the store looks for by itself, in lower
// case: its longest run of ASCII characters whose case variants are all
// ASCII (not k or s, which the Kelvin sign and the long s fold onto). Every
// name that contains the text, by Qt's case folding, contains this run by
// ASCII lower case; the few names the store lets through that do not contain
// the whole text are then skipped. One substring test per name keeps the
// search linear in the length of the text.
QString TramoAscii(QStringView texto);

// Length in characters, as the user counts them (a character outside the
// Basic Multilingual Plane is one, not two).
qsizetype Caracteres(QStringView texto);
