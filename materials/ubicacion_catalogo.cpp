#include "ubicacion_catalogo.h"

#include "plazo_servidor.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSettings>
#include <QSqlDatabase>
#include <QUrl>
#include <algorithm>
#include <cstring>
#include <string_view>

namespace {

// A path as Qt names files. A name that is not UTF-8 cannot be converted
// exactly (and the standard conversion would throw): its bytes are decoded as
// Qt decodes file names, and the programs refuse to open a catalogue there.
QString Ruta(const std::filesystem::path& p)
{
    return QDir::cleanPath(QFile::decodeName(QByteArray::fromStdString(p.native())));
}

} // namespace

QString SinContrasena(const QString& texto)
{
    // The whole value: quoted, up to its closing quote (or the end); else up
    // to the next "&" of a query or the end, blanks and ";" included.
    static const QRegularExpression clave(
        QStringLiteral("(password\\s*=\\s*)('(?:[^'\\\\]|\\\\.)*'?|\"(?:[^\"\\\\]|\\\\.)*\"?|[^&]*)"),
        QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression esquema(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]*:(?=/)"));
    QString limpio = texto;
    limpio.replace(clave, QStringLiteral("\\1***"));
    // The user's part runs from after the scheme, however mistyped, to the
    // last "@" (an unescaped "@" may stand inside the password); the
    // password is whatever follows its first ":".
    const qsizetype arroba = limpio.lastIndexOf(u'@');
    if (arroba < 0)
        return limpio;
    const QRegularExpressionMatch m = esquema.match(limpio);
    const qsizetype dosPuntos = limpio.indexOf(u':', m.hasMatch() ? m.capturedEnd() : 0);
    if (dosPuntos >= 0 && dosPuntos < arroba)
        limpio.replace(dosPuntos + 1, arroba - dosPuntos - 1, QStringLiteral("***"));
    return limpio;
}

bool BorrarContrasena(char* argumento)
{
    const QByteArray original(argumento);
    const QByteArray limpio = SinContrasena(QString::fromLocal8Bit(original)).toLocal8Bit();
    if (limpio == original)
        return false;
    // The arguments' memory is what ps reads; the masked text, cut or padded
    // with NULs to the original length, covers every byte of the password.
    const qsizetype n = std::min(limpio.size(), original.size());
    std::memcpy(argumento, limpio.constData(), size_t(n));
    std::memset(argumento + n, 0, size_t(original.size() - n));
    return true;
}

bool BorrarContrasenasDeCatalogo(int argc, char** argv)
{
    constexpr std::string_view kOpcion = "--catalogo";
    bool habia = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view a = argv[i];
        if (a == kOpcion && i + 1 < argc)
            habia = BorrarContrasena(argv[++i]) || habia;
        else if (a.starts_with(kOpcion) && a.size() > kOpcion.size() && a[kOpcion.size()] == '=')
            habia = BorrarContrasena(argv[i] + kOpcion.size() + 1) || habia;
    }
    return habia;
}

UbicacionCatalogo UbicacionCatalogo::Archivo(const std::filesystem::path& archivo)
{
    UbicacionCatalogo u;
    u.m_archivo = Ruta(archivo);
    return u;
}

UbicacionCatalogo UbicacionCatalogo::ConError(const QString& motivo)
{
    UbicacionCatalogo u;
    u.m_error = motivo;
    return u;
}

UbicacionCatalogo UbicacionCatalogo::DeTexto(const QString& texto, const std::filesystem::path& carpeta,
                                             const QString& origen, bool porElUsuario)
{
    static const QRegularExpression esquema(QStringLiteral("^([A-Za-z][A-Za-z0-9+.-]*)://"));
    const QRegularExpressionMatch m = esquema.match(texto);
    // "postgresql:/lab/base" or "postgresql//lab/base" would otherwise name
    // a file in the data folder.
    static const QRegularExpression malEscrito(QStringLiteral("^postgres(ql)?(:|//)"),
                                               QRegularExpression::CaseInsensitiveOption);
    if (!m.hasMatch() && malEscrito.match(texto).hasMatch())
        return ConError(QStringLiteral("La dirección de la Base de Datos de Materiales \"") + SinContrasena(texto) +
                        QStringLiteral("\" dada en ") + origen +
                        QStringLiteral(" no es válida: debe empezar por postgresql://."));
    if (!m.hasMatch()) {
        const QString ruta = QDir(Ruta(carpeta)).absoluteFilePath(texto);
        UbicacionCatalogo u = Archivo(ruta.toStdU16String());
        u.m_porElUsuario = porElUsuario;
        return u;
    }
    UbicacionCatalogo u;
    u.m_servidor = true;
    const QString forma = QStringLiteral("postgresql://[usuario[:contraseña]@][servidor][:puerto]/base");
    const auto fallar = [&](const QString& motivo) {
        u.m_error = QStringLiteral("La dirección de la Base de Datos de Materiales \"") + SinContrasena(texto) +
                    QStringLiteral("\" dada en ") + origen + QStringLiteral(" no es válida: ") + motivo + u'.';
        return u;
    };
    const QString nombreEsquema = m.captured(1).toLower();
    if (nombreEsquema != QLatin1String("postgresql") && nombreEsquema != QLatin1String("postgres"))
        return fallar(QStringLiteral("sólo se admiten direcciones de la forma ") + forma);
    const QUrl url(texto, QUrl::StrictMode);
    if (!url.isValid())
        return fallar(QStringLiteral("debe tener la forma ") + forma);
    if (url.hasQuery() || url.hasFragment())
        return fallar(QStringLiteral("no admite nada después del nombre de la base (") + forma + u')');
    const QString camino = url.path(QUrl::FullyDecoded);
    if (!camino.isEmpty() && (!camino.startsWith(u'/') || camino.indexOf(u'/', 1) >= 0))
        return fallar(QStringLiteral("después del servidor va sólo el nombre de la base (") + forma + u')');
    u.m_usuario = url.userName(QUrl::FullyDecoded);
    u.m_contrasena = url.password(QUrl::FullyDecoded);
    u.m_anfitrion = url.host(QUrl::FullyDecoded);
    u.m_puerto = url.port(-1);
    u.m_base = camino.mid(1);
    return u;
}

void UbicacionCatalogo::Configurar(QSqlDatabase& bd) const
{
    if (!m_servidor) {
        // Opened as a URI with mode=rw: SQLite may then write (to roll back
        // the journal of an interrupted save, for one), but never creates a
        // file that is not there.
        QUrl uri = QUrl::fromLocalFile(m_archivo);
        uri.setQuery(QStringLiteral("mode=rw"));
        bd.setDatabaseName(uri.toString(QUrl::FullyEncoded));
        bd.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI"));
        return;
    }
    bd.setHostName(m_anfitrion);
    if (m_puerto >= 0)
        bd.setPort(m_puerto);
    bd.setUserName(m_usuario);
    bd.setPassword(m_contrasena);
    bd.setDatabaseName(m_base);
    QString opciones = QStringLiteral("connect_timeout=") + QString::number(kSegundosConexion) +
                       QStringLiteral(";application_name=vantora");
    for (const auto& [clave, valor] : OpcionesServidor())
        opciones += u';' + QLatin1String(clave) + u'=' + valor;
    bd.setConnectOptions(opciones);
}

std::vector<std::pair<const char*, QString>> UbicacionCatalogo::OpcionesServidor()
{
    const QString ms = QString::number(std::chrono::milliseconds(PlazoServidor()).count());
    return {{"keepalives", QStringLiteral("1")},
            {"keepalives_idle", QStringLiteral("5")},
            {"keepalives_interval", QStringLiteral("2")},
            {"keepalives_count", QStringLiteral("3")},
            {"tcp_user_timeout", ms},
            {"options", QStringLiteral("-cstatement_timeout=") + ms}};
}

std::string UbicacionCatalogo::Descripcion() const
{
    if (!m_servidor)
        return SinContrasena(QDir::toNativeSeparators(m_archivo)).toStdString();
    QUrl url;
    url.setScheme(QStringLiteral("postgresql"));
    url.setUserName(m_usuario);
    url.setHost(m_anfitrion);
    url.setPort(m_puerto);
    url.setPath(u'/' + m_base);
    return url.toString().toStdString();
}

UbicacionCatalogo ElegirCatalogo(const std::optional<QString>& opcion, const std::filesystem::path& carpeta,
                                 const std::filesystem::path& porDefecto)
{
    if (opcion && !opcion->isEmpty())
        return UbicacionCatalogo::DeTexto(*opcion, carpeta, QStringLiteral("--catalogo"), true);
    const QString entorno = qEnvironmentVariable("VANTORA_CATALOGO");
    if (!entorno.isEmpty())
        return UbicacionCatalogo::DeTexto(entorno, carpeta, QStringLiteral("VANTORA_CATALOGO"));
    const QString ini = QDir(Ruta(carpeta)).filePath(QLatin1String(kArchivoConfiguracion));
    const QFileInfo info(ini);
    if (info.exists()) {
        const QString nombre = QDir::toNativeSeparators(ini);
        const QString noSeLee =
            QStringLiteral("No se puede leer la configuración \"") + nombre + QStringLiteral("\": ");
        // Reading a FIFO put there by mistake would wait forever.
        if (!info.isFile())
            return UbicacionCatalogo::ConError(noSeLee + QStringLiteral("no es un archivo común."));
        const QSettings ajustes(ini, QSettings::IniFormat);
        const QVariant valor = ajustes.value(QStringLiteral("catalogo"));
        if (ajustes.status() == QSettings::AccessError)
            return UbicacionCatalogo::ConError(
                noSeLee + QStringLiteral("el usuario no tiene permiso de lectura sobre el archivo."));
        if (ajustes.status() == QSettings::FormatError)
            return UbicacionCatalogo::ConError(noSeLee + QStringLiteral("no tiene el formato de un archivo .ini."));
        // An unquoted value with a comma reads as a list.
        if (valor.metaType().id() == QMetaType::QStringList)
            return UbicacionCatalogo::ConError(QStringLiteral("La clave catalogo de \"") + nombre +
                                               QStringLiteral("\" tiene una coma: escriba el valor entre comillas."));
        if (!valor.toString().isEmpty())
            return UbicacionCatalogo::DeTexto(valor.toString(), carpeta, nombre);
    }
    return UbicacionCatalogo::Archivo(porDefecto);
}

UbicacionCatalogo CatalogoDeArgumentos(int argc, char** argv, const std::filesystem::path& carpeta,
                                       const std::filesystem::path& porDefecto)
{
    constexpr std::string_view kOpcion = "--catalogo";
    std::optional<QString> opcion;
    for (int i = 1; i < argc; ++i) {
        const std::string_view a = argv[i];
        if (a.starts_with(kOpcion) && a.size() > kOpcion.size() && a[kOpcion.size()] == '=') {
            opcion = QString::fromLocal8Bit(a.substr(kOpcion.size() + 1));
            continue;
        }
        if (a != kOpcion)
            continue;
        if (i + 1 >= argc)
            return UbicacionCatalogo::ConError(
                QStringLiteral("Falta el valor de --catalogo: un archivo o una dirección postgresql://."));
        opcion = QString::fromLocal8Bit(argv[++i]);
    }
    return ElegirCatalogo(opcion, carpeta, porDefecto);
}
