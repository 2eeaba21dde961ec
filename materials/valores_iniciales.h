#pragma once

#include <QMap>
#include <QString>

// A starter file of the catalogue's side tables, compiled in as a resource:
// UTF-8, "product;value" a line after a header line, "#" comments, numbers
// with a decimal point. The values by product name; empty when the file is
// unreadable or holds a value `valido` refuses, which leaves every material
// without a starter value.
QMap<QString, double> ValoresIniciales(const QString& recurso, bool (*valido)(double));
