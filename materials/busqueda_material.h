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
// neither break nor widen a search.

// Product names: letters compared without regard to case, accented ones
// included ("óptico" finds "ÓPTICO"). An empty text finds the first record
// that has a name. The record holds the nine fields.
std::optional<QSqlRecord> PrimerRegistroPorNombre(const QSqlDatabase& bd, QStringView texto);

// The Id written in decimal digits: "5" finds 5, or 15 when 5 is gone.
std::optional<QSqlRecord> PrimerRegistroPorId(const QSqlDatabase& bd, QStringView digitos);

// The GLOB pattern of "contains texto": each letter becomes the class of its
// case variants ("ó" gives [óÓ]), since GLOB itself compares exactly, and the
// pattern characters *, ? and [ become one-character classes that match only
// themselves. Every other character, % and _ included, is literal to GLOB.
QString PatronContiene(QStringView texto);
