#include "copia_catalogo.h"

#include "base_materiales.h"
#include "conexion_materiales.h"
#include "dialecto_sql.h"
#include "motivos_sql.h"
#include "tabla_materiales.h"
#include "texto_qt.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringList>

namespace {

// Each bound value with the type of the destination's field: the yes/no
// fields are integers in a file and booleans on a server.
QVariant Valor(const QSqlRecord& r, QStringView campo)
{
    const QVariant v = r.value(campo.toString());
    if ((campo == tabla::kMineral || campo == tabla::kOrganico) && !v.isNull())
        return v.toBool();
    return v;
}

} // namespace

ResultadoCopia CopiarCatalogo(const UbicacionCatalogo& origen, const UbicacionCatalogo& destino, bool reemplazar)
{
    ResultadoCopia resultado;
    BaseMateriales desde(origen);
    BaseMateriales hacia(destino);
    if (const std::optional<Aviso> aviso = desde.Preparar(BaseMateriales::Alta::Ninguna)) {
        resultado.error = aviso->texto;
        return resultado;
    }
    if (const std::optional<Aviso> aviso = hacia.Preparar(BaseMateriales::Alta::Vacia)) {
        resultado.error = aviso->texto;
        return resultado;
    }
    const ConexionMateriales lectura(desde, QStringLiteral("copia_origen"));
    const ConexionMateriales escritura(hacia, QStringLiteral("copia_destino"));
    QSqlDatabase bd = escritura.bd();
    const Dialecto& d = DialectoDe(bd);
    const std::string fallo = "No se copió nada a la Base de Datos de Materiales " + hacia.nombre() + ": ";

    QSqlQuery leer(lectura.bd());
    leer.setForwardOnly(true);
    if (!leer.exec(QStringLiteral("SELECT ") + tabla::Campos() + QStringLiteral(" FROM ") +
                   tabla::Citar(tabla::kTabla) + QStringLiteral(" ORDER BY ") + tabla::Citar(tabla::kId))) {
        resultado.error = "No se pudo leer la Base de Datos de Materiales " + desde.nombre() + ": " +
                          Motivo(leer.lastError(), lectura.bd()) + ".";
        return resultado;
    }
    QSqlQuery q(bd);
    const auto fallar = [&](const std::string& motivo) {
        bd.rollback();
        resultado.error = fallo + motivo + ".";
        return resultado;
    };
    if (!bd.transaction())
        return fallar(Motivo(bd.lastError(), bd));
    if (!d.bloquearTabla.isEmpty() && !q.exec(d.bloquearTabla))
        return fallar(Motivo(q.lastError(), bd));
    if (!q.exec(QStringLiteral("SELECT COUNT(*) FROM ") + tabla::Citar(tabla::kTabla)) || !q.next())
        return fallar(Motivo(q.lastError(), bd));
    if (const long long hay = q.value(0).toLongLong(); hay > 0 && !reemplazar)
        return fallar("ya tiene " + std::to_string(hay) +
                      " materiales, y la copia no los mezcla con los del origen (use --reemplazar para "
                      "borrarlos y dejar sólo los copiados)");
    if (reemplazar && !q.exec(QStringLiteral("DELETE FROM ") + tabla::Citar(tabla::kTabla)))
        return fallar(Motivo(q.lastError(), bd));

    QStringList campos, marcas;
    for (QStringView c : tabla::kCampos) {
        campos << tabla::Citar(c);
        marcas << QStringLiteral("?");
    }
    QSqlQuery insertar(bd);
    if (!insertar.prepare(QStringLiteral("INSERT INTO ") + tabla::Citar(tabla::kTabla) + QStringLiteral(" (") +
                          campos.join(QStringLiteral(", ")) + QStringLiteral(") ") + d.conservarId +
                          QStringLiteral(" VALUES (") + marcas.join(QStringLiteral(", ")) + u')'))
        return fallar(Motivo(insertar.lastError(), bd));
    while (leer.next()) {
        const QSqlRecord r = leer.record();
        for (QStringView c : tabla::kCampos)
            insertar.addBindValue(Valor(r, c));
        if (!insertar.exec())
            return fallar("el material " + r.value(tabla::kId.toString()).toString().toStdString() + " (\"" +
                          S(r.value(tabla::kProducto.toString()).toString()) +
                          "\") no se pudo grabar: " + Motivo(insertar.lastError(), bd));
        ++resultado.materiales;
    }
    if (leer.lastError().type() != QSqlError::NoError)
        return fallar("la lectura del origen se interrumpió: " + Motivo(leer.lastError(), lectura.bd()));
    if (!d.ajustarContador.isEmpty() && !q.exec(d.ajustarContador))
        return fallar(Motivo(q.lastError(), bd));
    if (!bd.commit())
        return fallar(Motivo(bd.lastError(), bd));
    resultado.copiado = true;
    return resultado;
}
