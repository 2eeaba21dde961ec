#include "valores_iniciales.h"

#include <QFile>
#include <QLocale>
#include <QStringList>
#include <utility>

QMap<QString, double> ValoresIniciales(const QString& recurso, bool (*valido)(double))
{
    QMap<QString, double> v;
    QFile csv(recurso);
    if (!csv.open(QIODevice::ReadOnly | QIODevice::Text))
        return v;
    bool cabecera = true;
    for (const QString& linea : QString::fromUtf8(csv.readAll()).split(u'\n')) {
        const QString limpia = linea.trimmed();
        if (limpia.isEmpty() || limpia.startsWith(u'#'))
            continue;
        if (std::exchange(cabecera, false))
            continue;
        const QStringList partes = limpia.split(u';');
        bool ok = false;
        const double valor = partes.size() == 2 ? QLocale::c().toDouble(partes[1].trimmed(), &ok) : 0.0;
        if (!ok || !valido(valor))
            return {};
        v.insert(partes[0].trimmed(), valor);
    }
    return v;
}
