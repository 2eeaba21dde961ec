#pragma once

#include <QProcess>
#include <QStringList>

// A command-line program run to its end, as a laboratory script sees it.
struct Salida {
    int estado;
    QStringList lineas;
    QString errores;
};

inline Salida Correr(const QString& programa, const QStringList& argumentos)
{
    QProcess p;
    p.start(programa, argumentos);
    p.waitForFinished(30000);
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
            QString::fromUtf8(p.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts),
            QString::fromUtf8(p.readAllStandardError())};
}
