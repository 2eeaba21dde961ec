#include "esquema_materiales.h"

#include "dialecto_sql.h"
#include "tabla_materiales.h"

#include <QFile>
#include <QLocale>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlQuery>

QString EsquemaMateriales(const Dialecto& dialecto)
{
    using tabla::Citar;
    const auto numero = [&](QStringView campo, const char* limites, bool obligatorio) {
        const QString c = Citar(campo);
        QString condicion = QString(QLatin1String(limites)).arg(c);
        if (!dialecto.esNumero.isEmpty())
            condicion = dialecto.esNumero.arg(c) + QStringLiteral(" AND ") + condicion;
        if (!obligatorio)
            return c + u' ' + dialecto.real + QStringLiteral(" CHECK (") + c + QStringLiteral(" IS NULL OR (") +
                   condicion + QStringLiteral("))");
        return c + u' ' + dialecto.real + QStringLiteral(" NOT NULL CHECK (") + condicion + u')';
    };
    const auto texto = [](QStringView campo, const QString& extra = QString()) {
        return Citar(campo) + QStringLiteral(" TEXT NOT NULL CHECK (trim(") + Citar(campo) + QStringLiteral(") <> ''") +
               extra + u')';
    };
    // PostgreSQL's boolean needs no check of its own, so no %1 to fill.
    const auto siNo = [&](QStringView campo) {
        return Citar(campo) + u' ' +
               (dialecto.siNo.contains(QLatin1String("%1")) ? dialecto.siNo.arg(Citar(campo)) : dialecto.siNo);
    };
    const QStringList campos{
        Citar(tabla::kId) + u' ' + dialecto.id,
        texto(tabla::kProducto, QStringLiteral(" AND length(") + Citar(tabla::kProducto) + QStringLiteral(") <= ") +
                                    QString::number(tabla::kLargoNombre)),
        texto(tabla::kDescripcion),
        Citar(tabla::kProveedor) + QStringLiteral(" TEXT"),
        numero(tabla::kIndice, "%1 > 1 AND %1 < 3", true),
        numero(tabla::kDensidad, "%1 > 0 AND %1 < 25", true),
        numero(tabla::kAbbe, "%1 > 0 AND %1 < 200", false),
        siNo(tabla::kMineral),
        siNo(tabla::kOrganico),
    };
    return QStringLiteral("CREATE TABLE ") + Citar(tabla::kTabla) + QStringLiteral(" (") +
           campos.join(QStringLiteral(", ")) + u')';
}

// The first data line of the file names the fields. Each value is bound with
// the type of its field, which PostgreSQL, unlike SQLite, insists on.
bool CargarIniciales(QSqlDatabase& bd)
{
    QFile csv(QStringLiteral(":/materiales/materiales_iniciales.csv"));
    if (!csv.open(QIODevice::ReadOnly | QIODevice::Text))
        return false;
    const QStringList numeros{tabla::kIndice.toString(), tabla::kDensidad.toString(), tabla::kAbbe.toString()};
    const QStringList siNo{tabla::kMineral.toString(), tabla::kOrganico.toString()};
    QStringList cabecera;
    QSqlQuery insertar(bd);
    for (const QString& linea : QString::fromUtf8(csv.readAll()).split(u'\n')) {
        const QString limpia = linea.trimmed();
        if (limpia.isEmpty() || limpia.startsWith(u'#'))
            continue;
        const QStringList partes = limpia.split(u';');
        if (cabecera.isEmpty()) {
            cabecera = partes;
            QStringList citados, marcas;
            for (const QString& campo : cabecera) {
                citados << tabla::Citar(campo);
                marcas << QStringLiteral("?");
            }
            if (!insertar.prepare(QStringLiteral("INSERT INTO ") + tabla::Citar(tabla::kTabla) + QStringLiteral(" (") +
                                  citados.join(u',') + QStringLiteral(") VALUES (") + marcas.join(u',') + u')'))
                return false;
            continue;
        }
        if (partes.size() != cabecera.size())
            return false;
        for (qsizetype i = 0; i < partes.size(); ++i) {
            const QString valor = partes[i].trimmed();
            if (!numeros.contains(cabecera[i]) && !siNo.contains(cabecera[i])) {
                insertar.bindValue(int(i), valor);
                continue;
            }
            bool ok = false;
            const double numero = QLocale::c().toDouble(valor, &ok);
            if (!ok)
                return false;
            if (siNo.contains(cabecera[i]))
                insertar.bindValue(int(i), numero != 0);
            else
                insertar.bindValue(int(i), numero);
        }
        if (!insertar.exec())
            return false;
    }
    return !cabecera.isEmpty();
}

QStringList CamposFaltantes(const QSqlRecord& campos)
{
    QStringList faltan;
    for (QStringView campo : tabla::kCampos)
        if (!campos.contains(campo.toString()))
            faltan << campo.toString();
    return faltan;
}

QString TablaCitada(const QSqlDatabase& bd)
{
    return bd.driver()->escapeIdentifier(tabla::kTabla.toString(), QSqlDriver::TableName);
}
