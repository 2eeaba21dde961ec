#pragma once

#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QStringList>
#include <QtTest>

// The poppler and zbar tools that read a ticket back as a person would:
// its text, its page as a picture, its barcode. ./test.sh installs them; a
// missing one fails the test and says which.
namespace herramientas_pdf {

inline QString correr(const QString& programa, const QStringList& argumentos)
{
    const QString ruta = QStandardPaths::findExecutable(programa);
    if (ruta.isEmpty()) {
        QTest::qFail(qPrintable("Falta " + programa + ": ./test.sh lo instala (poppler-utils, zbar-tools)"), __FILE__,
                     __LINE__);
        return {};
    }
    QProcess p;
    p.start(ruta, argumentos);
    p.waitForFinished(60000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

// The page's text with every run of blanks and line ends as one blank.
inline QString texto(const QString& pdf) { return correr("pdftotext", {pdf, "-"}).simplified(); }

// The text as laid out on the page, line by line.
inline QString textoEnColumnas(const QString& pdf) { return correr("pdftotext", {"-layout", pdf, "-"}); }

// The first page at this many dots per inch.
inline QImage pagina(const QString& pdf, int ppp)
{
    const QString base = pdf + QStringLiteral(".pagina");
    correr("pdftoppm", {"-r", QString::number(ppp), "-png", "-singlefile", pdf, base});
    return QImage(base + ".png");
}

// What a barcode reader finds on the page, "CODE-128:..." per symbol.
inline QString codigos(const QString& pdf)
{
    pagina(pdf, 300);
    return correr("zbarimg", {"-q", pdf + ".pagina.png"}).trimmed();
}

} // namespace herramientas_pdf
