// The data folder option as the window program reads it, leaving every other
// argument to the toolkit and to the other options.

#include "opciones.h"

#include <QtTest>

class TestOpciones : public QObject {
    Q_OBJECT

private slots:
    void carpetaDeArgumentos_data()
    {
        QTest::addColumn<QList<QByteArray>>("argumentos");
        QTest::addColumn<QByteArray>("carpeta");
        QTest::addColumn<QString>("error");
        const QByteArray porDefecto = qgetenv("HOME") + "/KORVEN/win";
        QTest::newRow("sin --datos: la de la cuenta") << QList<QByteArray>{"-style", "Fusion"} << porDefecto << "";
        QTest::newRow("entre otras opciones, en Latin-1 tal cual")
            << QList<QByteArray>{"--catalogo", "x", "--datos", "/srv/d\xE9x", "--otra"} << QByteArray("/srv/d\xE9x")
            << "";
        QTest::newRow("--datos=") << QList<QByteArray>{"--datos=/srv/d"} << QByteArray("/srv/d") << "";
        QTest::newRow("sin valor") << QList<QByteArray>{"-style", "Fusion", "--datos"} << QByteArray()
                                   << "--datos: falta el valor";
    }
    void carpetaDeArgumentos()
    {
        QFETCH(QList<QByteArray>, argumentos);
        QFETCH(QByteArray, carpeta);
        QFETCH(QString, error);
        argumentos.prepend("vantora");
        std::vector<char*> argv;
        for (QByteArray& a : argumentos)
            argv.push_back(a.data());
        std::string motivo;
        const auto ruta = CarpetaDeArgumentos(int(argv.size()), argv.data(), motivo);
        QCOMPARE(ruta ? QByteArray::fromStdString(ruta->native()) : QByteArray(), carpeta);
        QCOMPARE(QString::fromStdString(motivo), error);
    }
};

QTEST_APPLESS_MAIN(TestOpciones)
#include "test_opciones.moc"
