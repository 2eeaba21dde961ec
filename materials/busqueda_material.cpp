#include "busqueda_material.h"

#include "tabla_materiales.h"

#include <QSqlQuery>

namespace {

QString Seleccion(const QString& condicion)
{
    return QStringLiteral("SELECT ") + tabla::Campos() + QStringLiteral(" FROM ") + tabla::Citar(tabla::kTabla) +
           QStringLiteral(" WHERE ") + condicion + QStringLiteral(" ORDER BY ") + tabla::Citar(tabla::kId);
}

} // namespace

QString PatronContiene(QStringView texto)
{
    QString patron(u'*');
    for (qsizetype i = 0; i < texto.size(); ++i) {
        const QChar c = texto[i];
        if (c.isHighSurrogate() && i + 1 < texto.size() && texto[i + 1].isLowSurrogate()) {
            patron += c;
            patron += texto[++i];
            continue;
        }
        QString variantes(c);
        for (QChar v : {c.toLower(), c.toUpper(), c.toCaseFolded()})
            if (!variantes.contains(v))
                variantes += v;
        if (variantes.size() > 1 || c == u'*' || c == u'?' || c == u'[')
            patron += u'[' + variantes + u']';
        else
            patron += c;
    }
    return patron + u'*';
}

// The pattern does the search inside SQLite; the few records it lets through
// that Qt's case folding would not match are skipped here. Candidates are
// read by Id and name only, the whole record once one is confirmed.
std::optional<QSqlRecord> PrimerRegistroPorNombre(const QSqlDatabase& bd, QStringView texto)
{
    QSqlQuery candidatos(bd);
    candidatos.setForwardOnly(true);
    if (!candidatos.prepare(QStringLiteral("SELECT ") + tabla::Citar(tabla::kId) + QStringLiteral(", ") +
                            tabla::Citar(tabla::kProducto) + QStringLiteral(" FROM ") + tabla::Citar(tabla::kTabla) +
                            QStringLiteral(" WHERE ") + tabla::Citar(tabla::kProducto) +
                            QStringLiteral(" GLOB ? ORDER BY ") + tabla::Citar(tabla::kId)))
        return std::nullopt;
    candidatos.addBindValue(PatronContiene(texto));
    if (!candidatos.exec())
        return std::nullopt;
    while (candidatos.next()) {
        if (!candidatos.value(1).toString().contains(texto, Qt::CaseInsensitive))
            continue;
        QSqlQuery registro(bd);
        if (!registro.prepare(Seleccion(tabla::Citar(tabla::kId) + QStringLiteral(" = ?"))))
            return std::nullopt;
        registro.addBindValue(candidatos.value(0));
        if (!registro.exec() || !registro.next())
            return std::nullopt;
        return registro.record();
    }
    return std::nullopt;
}

std::optional<QSqlRecord> PrimerRegistroPorId(const QSqlDatabase& bd, QStringView digitos)
{
    QSqlQuery q(bd);
    q.setForwardOnly(true);
    if (!q.prepare(
            Seleccion(QStringLiteral("instr(CAST(") + tabla::Citar(tabla::kId) + QStringLiteral(" AS TEXT), ?) > 0")) +
            QStringLiteral(" LIMIT 1")))
        return std::nullopt;
    q.addBindValue(digitos.toString());
    if (!q.exec() || !q.next())
        return std::nullopt;
    return q.record();
}
