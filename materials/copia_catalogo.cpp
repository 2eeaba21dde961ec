#include "copia_catalogo.h"

#include "base_materiales.h"
#include "conexion_materiales.h"
#include "dialecto_sql.h"
#include "motivos_sql.h"
#include "plazo_servidor.h"
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

// A NUL inside a text: a file's table takes it, a server's text field cannot
// hold it. A name changed on the way would no longer be the one a bench
// searches for, so the record is refused and named instead.
std::optional<QString> CampoConNulo(const QSqlRecord& r)
{
    for (int i = 0; i < r.count(); ++i)
        if (r.value(i).typeId() == QMetaType::QString && r.value(i).toString().contains(QChar(0)))
            return r.fieldName(i);
    return std::nullopt;
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

    // Every call on either side gets the limit of one call to a server.
    VigiaServidor vigiaLectura(lectura.bd());
    VigiaServidor vigiaEscritura(bd);
    const auto motivo = [&](const QSqlError& error, const QSqlDatabase& en) {
        return vigiaLectura.vencido() || vigiaEscritura.vencido() ? TextoPlazoVencido() : Motivo(error, en);
    };

    QSqlQuery leer(lectura.bd());
    leer.setForwardOnly(true);
    if (!leer.exec(QStringLiteral("SELECT ") + tabla::Campos() + QStringLiteral(" FROM ") +
                   tabla::Citar(tabla::kTabla) + QStringLiteral(" ORDER BY ") + tabla::Citar(tabla::kId))) {
        resultado.error = "No se pudo leer la Base de Datos de Materiales " + desde.nombre() + ": " +
                          motivo(leer.lastError(), lectura.bd()) + ".";
        return resultado;
    }
    QSqlQuery q(bd);
    const auto fallar = [&](const std::string& motivo) {
        // A connection the driver has closed rolls back on the server by
        // itself; Qt would only complain on the error output.
        if (bd.isOpen())
            bd.rollback();
        resultado.error = fallo + motivo + ".";
        return resultado;
    };
    if (!bd.transaction())
        return fallar(motivo(bd.lastError(), bd));
    if (!d.bloquearTabla.isEmpty() && !q.exec(d.bloquearTabla))
        return fallar(motivo(q.lastError(), bd));
    if (!q.exec(QStringLiteral("SELECT COUNT(*) FROM ") + tabla::Citar(tabla::kTabla)) || !q.next())
        return fallar(motivo(q.lastError(), bd));
    if (const long long hay = q.value(0).toLongLong(); hay > 0 && !reemplazar)
        return fallar("ya tiene " + std::to_string(hay) +
                      " materiales, y la copia no los mezcla con los del origen (use --reemplazar para "
                      "borrarlos y dejar sólo los copiados)");
    if (reemplazar && !q.exec(QStringLiteral("DELETE FROM ") + tabla::Citar(tabla::kTabla)))
        return fallar(motivo(q.lastError(), bd));

    QStringList campos, marcas;
    for (QStringView c : tabla::kCampos) {
        campos << tabla::Citar(c);
        marcas << QStringLiteral("?");
    }
    QSqlQuery insertar(bd);
    if (!insertar.prepare(QStringLiteral("INSERT INTO ") + tabla::Citar(tabla::kTabla) + QStringLiteral(" (") +
                          campos.join(QStringLiteral(", ")) + QStringLiteral(") ") + d.conservarId +
                          QStringLiteral(" VALUES (") + marcas.join(QStringLiteral(", ")) + u')'))
        return fallar(motivo(insertar.lastError(), bd));
    while (leer.next()) {
        vigiaLectura.Renovar();
        vigiaEscritura.Renovar();
        const QSqlRecord r = leer.record();
        if (const std::optional<QString> campo = CampoConNulo(r))
            return fallar("el material " + r.value(tabla::kId.toString()).toString().toStdString() +
                          " tiene un carácter nulo en el campo \"" + S(*campo) +
                          "\", que el servidor no admite; corríjalo en el origen y copie de nuevo");
        for (QStringView c : tabla::kCampos)
            insertar.addBindValue(Valor(r, c));
        if (!insertar.exec())
            return fallar("el material " + r.value(tabla::kId.toString()).toString().toStdString() + " (\"" +
                          S(r.value(tabla::kProducto.toString()).toString()) +
                          "\") no se pudo grabar: " + motivo(insertar.lastError(), bd));
        ++resultado.materiales;
    }
    if (leer.lastError().type() != QSqlError::NoError)
        return fallar("la lectura del origen se interrumpió: " + motivo(leer.lastError(), lectura.bd()));
    if (!d.ajustarContador.isEmpty() && !q.exec(d.ajustarContador))
        return fallar(motivo(q.lastError(), bd));
    if (!bd.commit())
        return fallar(motivo(bd.lastError(), bd));
    resultado.copiado = true;
    return resultado;
}
