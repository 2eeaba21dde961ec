#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QtTest>

// The poppler and zbar tools that read a ticket back as a person would;
// ./test.sh installs them, and a missing one fails the test by name.
namespace herramientas_pdf {

inline QString correr(const QString& programa, const QStringList& argumentos)
{
    QProcess p;
    p.start(programa, argumentos);
    if (!p.waitForFinished(60000))
        QTest::qFail(qPrintable(programa + " falta o no terminó: ./test.sh instala poppler-utils y zbar-tools"),
                     __FILE__, __LINE__);
    return QString::fromUtf8(p.readAllStandardOutput());
}

// The page's text as laid out, a label beside its value, with every run of
// blanks and line ends as one blank so that a wrapped paragraph reads whole.
inline QString texto(const QString& pdf) { return correr("pdftotext", {"-layout", pdf, "-"}).simplified(); }

// The first page as a PNG at this many dots per inch; returns its file.
inline QString pagina(const QString& pdf, int ppp)
{
    correr("pdftoppm", {"-r", QString::number(ppp), "-png", "-singlefile", pdf, pdf});
    return pdf + ".png";
}

// What a barcode reader finds on a picture, "CODE-128:..." per symbol.
inline QString codigos(const QString& png) { return correr("zbarimg", {"-q", png}).trimmed(); }

} // namespace herramientas_pdf
