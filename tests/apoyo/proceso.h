#pragma once

#include <QFile>
#include <QProcess>
#include <QStringList>

// A command-line program run to its end, as a laboratory script sees it: its
// exit status (-1 if it crashed or hung) and the lines of each output.
struct Salida {
    int estado;
    QStringList lineas;
    QStringList errores;

    // One line on standard error, from the program named, that says `dice`.
    bool UnError(const QString& programa, const QString& dice) const
    {
        return errores.size() == 1 && errores[0].startsWith(programa + ": ") && errores[0].contains(dice);
    }
};

// A file's bytes; none when it cannot be read.
inline QByteArray Leer(const QString& archivo)
{
    QFile f(archivo);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A file written whole with these bytes.
inline bool Poner(const QString& archivo, const QByteArray& bytes)
{
    QFile f(archivo);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

inline Salida Correr(const QString& programa, const QStringList& argumentos)
{
    QProcess p;
    p.start(programa, argumentos);
    const bool terminado = p.waitForFinished(30000);
    const auto lineas = [](const QByteArray& b) { return QString::fromUtf8(b).split('\n', Qt::SkipEmptyParts); };
    return {terminado && p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, lineas(p.readAllStandardOutput()),
            lineas(p.readAllStandardError())};
}
