#include "busqueda_material.h"

#include "dialecto_sql.h"
#include "tabla_materiales.h"

#include <QSqlQuery>
#include <array>

namespace {

QString Seleccion(const QString& condicion)
{
    return QStringLiteral("SELECT ") + tabla::Campos() + QStringLiteral(" FROM ") + tabla::Citar(tabla::kTabla) +
           QStringLiteral(" WHERE ") + condicion + QStringLiteral(" ORDER BY ") + tabla::Citar(tabla::kId);
}

// The ASCII characters that some other character folds onto, found once by
// folding the whole Basic Multilingual Plane; the other planes hold none.
const std::array<bool, 128>& AsciiConOtrasVariantes()
{
    static const std::array<bool, 128> marcadas = [] {
        std::array<bool, 128> a{};
        for (char32_t u = 128; u <= 0xFFFF; ++u) {
            const char32_t plegado = QChar::toCaseFolded(u);
            if (plegado < 128) {
                a[plegado] = true;
                a[QChar::toUpper(plegado)] = true;
            }
        }
        return a;
    }();
    return marcadas;
}

} // namespace

qsizetype Caracteres(QStringView texto)
{
    qsizetype n = 0;
    for (qsizetype i = 0; i < texto.size(); ++i)
        if (!texto[i].isLowSurrogate() || i == 0 || !texto[i - 1].isHighSurrogate())
            ++n;
    return n;
}

QString TramoAscii(QStringView texto)
{
    const std::array<bool, 128>& excluidas = AsciiConOtrasVariantes();
    qsizetype mejorInicio = 0, mejorLargo = 0, inicio = 0;
    for (qsizetype i = 0; i <= texto.size(); ++i) {
        const char16_t c = i < texto.size() ? texto[i].unicode() : 0xFFFF;
        if (c < 128 && !excluidas[c])
            continue;
        if (i - inicio > mejorLargo) {
            mejorInicio = inicio;
            mejorLargo = i - inicio;
        }
        inicio = i + 1;
    }
    QString tramo = texto.mid(mejorInicio, mejorLargo).toString();
    for (QChar& c : tramo)
        if (c >= u'A' && c <= u'Z')
            c = QChar(c.unicode() + (u'a' - u'A'));
    return tramo;
}

// Candidates are read by Id and name only, the whole record once one is
// confirmed.
std::optional<QSqlRecord> PrimerRegistroPorNombre(const QSqlDatabase& bd, QStringView texto, bool enteroPrimero)
{
    if (Caracteres(texto) > tabla::kLargoNombre)
        return std::nullopt;
    const Dialecto& d = DialectoDe(bd);
    const QString producto = tabla::Citar(tabla::kProducto);
    QSqlQuery candidatos(bd);
    candidatos.setForwardOnly(true);
    if (!candidatos.prepare(QStringLiteral("SELECT ") + tabla::Citar(tabla::kId) + QStringLiteral(", ") + producto +
                            QStringLiteral(" FROM ") + tabla::Citar(tabla::kTabla) + QStringLiteral(" WHERE ") +
                            d.posicion.arg(d.minusculasAscii.arg(producto), QStringLiteral("?")) +
                            QStringLiteral(" > 0 ORDER BY ") + tabla::Citar(tabla::kId)))
        return std::nullopt;
    candidatos.addBindValue(TramoAscii(texto));
    if (!candidatos.exec())
        return std::nullopt;
    std::optional<QVariant> elegido;
    while (candidatos.next()) {
        const QString nombre = candidatos.value(1).toString();
        if (!nombre.contains(texto, Qt::CaseInsensitive))
            continue;
        if (!elegido)
            elegido = candidatos.value(0);
        if (!enteroPrimero || nombre.compare(texto, Qt::CaseInsensitive) == 0) {
            elegido = candidatos.value(0);
            break;
        }
    }
    if (!elegido)
        return std::nullopt;
    QSqlQuery registro(bd);
    if (!registro.prepare(Seleccion(tabla::Citar(tabla::kId) + QStringLiteral(" = ?"))))
        return std::nullopt;
    registro.addBindValue(*elegido);
    if (!registro.exec() || !registro.next())
        return std::nullopt;
    return registro.record();
}

std::optional<QSqlRecord> PrimerRegistroPorId(const QSqlDatabase& bd, QStringView digitos)
{
    const Dialecto& d = DialectoDe(bd);
    QSqlQuery q(bd);
    q.setForwardOnly(true);
    if (!q.prepare(
            Seleccion(d.posicion.arg(QStringLiteral("CAST(") + tabla::Citar(tabla::kId) + QStringLiteral(" AS TEXT)"),
                                     QStringLiteral("?")) +
                      QStringLiteral(" > 0")) +
            QStringLiteral(" LIMIT 1")))
        return std::nullopt;
    q.addBindValue(digitos.toString());
    if (!q.exec() || !q.next())
        return std::nullopt;
    return q.record();
}
