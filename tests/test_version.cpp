// What every installed program answers before it does anything else: its
// version, the one the package carries, and its Spanish help.

#include "apoyo/proceso.h"

#include <QtTest>

class TestVersion : public QObject {
    Q_OBJECT

private slots:
    void respuesta_data()
    {
        QTest::addColumn<QString>("programa");
        QTest::addColumn<QString>("opcion");
        QTest::addColumn<QString>("primeraLinea");
        const QStringList programas = QString(VANTORA_PROGRAMAS).split(',');
        for (const QString& ruta : programas) {
            const QString nombre = QFileInfo(ruta).fileName();
            QTest::newRow(qPrintable(nombre + " --version"))
                << ruta << "--version" << nombre + ' ' + QStringLiteral(VANTORA_VERSION);
            QTest::newRow(qPrintable(nombre + " --help")) << ruta << "--help"
                                                          << "Uso: " + nombre;
        }
    }
    void respuesta()
    {
        QFETCH(QString, programa);
        QFETCH(QString, opcion);
        QFETCH(QString, primeraLinea);
        // Among other options, and with a display that cannot open: the answer comes first.
        qputenv("QT_QPA_PLATFORM", "ninguna");
        const Salida s = Correr(programa, {"--datos", "/sin/carpeta", opcion, "--poder"});
        QCOMPARE(s.estado, 0);
        QVERIFY(s.errores.isEmpty());
        QVERIFY2(!s.lineas.isEmpty() && s.lineas[0].startsWith(primeraLinea), qPrintable(s.lineas.join('\n')));
    }
};

QTEST_APPLESS_MAIN(TestVersion)
#include "test_version.moc"
