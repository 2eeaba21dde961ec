// The job ticket read back as the laboratory reads it. The worked example is
// +4 D, base 6, 60 mm, 1 mm edge, CR39 of index 1.5 and density 1.32: centre
// 4.66 mm, faces 5.736 and -1.840 D, back radius -271.695 mm, 1.523 tool
// -1.925 D, 10.67 g.

#include "apoyo/catalogo_memoria.h"
#include "apoyo/dialogos_prueba.h"
#include "apoyo/herramientas_pdf.h"
#include "apoyo/pantalla_prueba.h"
#include "dibujar_orden.h"
#include "formatos.h"
#include "impresion_orden.h"
#include "lienzo_imagen.h"
#include "motor.h"
#include "numero_trabajo.h"
#include "orden_pdf.h"
#include "orden_trabajo.h"
#include "orden_trabajo_dcs.h"
#include "respuesta_guardada.h"

#include <QDir>
#include <QPainter>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QString kNumero = "VT-20261206-2130";
// The longest number accepted, with lower case, blanks and '~', the last sign.
const QString kVeinte = "lab 7/a+12.b~XYZ-099";

// A design calculated as the design window does, CR39 chosen in the
// materials window, with a 1 mm edge.
EstadoDiseno calculado(double poder, double base, double diametro)
{
    EstadoDiseno e;
    e.PoderVertice = poder;
    e.CurvaBase = base;
    e.DiametroInicial = diametro;
    e.EspesorBorde = 1;
    e.MaterialDeBase = "Si";
    e.NombreMaterial = "CR39";
    e.IndiceMaterial = 1.5;
    e.Densidad = 1.32;
    PantallaPrueba frm, graficos;
    frm.textos["Tx_BaseCrown"] = TextoPlano(base);
    DialogosPrueba dlg;
    CatalogoMemoria catalogo{{}};
    Motor(e, frm, graficos, dlg, catalogo).CalcularCompleto();
    return e;
}

// A ticket as a PDF: on A4 as the programs write it, on another sheet as the
// print preview draws a printer's page.
template <typename Ticket, typename Grabar, typename Dibujar>
QString comoPdf(const QTemporaryDir& dir, const Ticket& ticket, QPageSize::PageSizeId hoja, Grabar grabar,
                Dibujar dibujar)
{
    const QString archivo = dir.filePath("orden.pdf");
    if (hoja != QPageSize::A4) {
        QPdfWriter pdf(archivo);
        pdf.setPageSize(QPageSize(hoja));
        QPainter pintor(&pdf);
        dibujar(pintor, pdf.pageLayout(), ticket);
    } else if (std::string error; !grabar(archivo.toStdString(), ticket, error)) {
        QTest::qFail(error.c_str(), __FILE__, __LINE__);
    }
    return archivo;
}

// The ticket numbered and dated, as a PDF.
QString grabar(const QTemporaryDir& dir, OrdenTrabajo orden, const QString& numero = kNumero,
               QPageSize::PageSizeId hoja = QPageSize::A4)
{
    orden.numero = numero.toStdString();
    orden.fechaHora = "06/12/2026 21:30";
    return comoPdf(dir, orden, hoja, GrabarOrdenPdf, DibujarOrden);
}

// The size of a lens outline within a band of the page's columns: its outer
// edges, where the stroke covers half a dot of paper, less the stroke's
// 0.3 mm. Only lens outlines are that blue.
QSizeF contornoMedido(const QImage& pagina, int ppp, int desde, int hasta)
{
    QRect caja;
    for (int y = 0; y < pagina.height(); ++y)
        for (int x = desde; x < hasta; ++x)
            if (pagina.pixelColor(x, y).red() < 128 && pagina.pixelColor(x, y).blue() > 128)
                caja |= QRect(x, y, 1, 1);
    return QSizeF(caja.width(), caja.height()) * 25.4 / ppp - QSizeF(0.3, 0.3);
}

// A stored job with every figure its ticket prints: cylinder, prism,
// thinning prism and addition on a box frame, the frame's angles, and a lens
// type as a hostile sender might write it. Its answer is the one this
// release wrote, with a warning, the lensmeter reading that an answer for
// a compensated lens adds (INSSPH, INSCYL, INSAX), and the right lens's
// thinnest point inside (the left has none).
const std::string kPedidoW1 =
    "JOB=W1\r\nDO=B\r\nSPH=-3.00;-2.75\r\nCYL=-0.75;-1.00\r\nAX=30;150\r\nPRVM=2;1.5\r\nPRVA=90;270\r\n"
    "ADD=2.25\r\nPTPRVM=1.5\r\nPTPRVA=270\r\nIPD=31.5;32\r\nNPD=29.5;30\r\nOCHT=22;21.5\r\nSEGHT=18\r\n"
    "LTYP=PR\x1b[2J\u202e" +
    std::string(300, 'A') +
    "\r\nBVD=13\r\nPANTO=8\r\nZTILT=5\r\nHBOX=52\r\nVBOX=38\r\nDBL=18\r\nETYP=3\r\n_SEGURIDAD=1\r\n"
    "_MATERIAL=CR-39\r\n";
const std::string kRespuestaW1 =
    "JOB=W1\r\nSTATUS=0\r\nXSTATUS=L;0;Bases distintas: anisometropia;W\r\nLIND=1.498;1.498\r\nFRNT=4.047;4.047\r\n"
    "TIND=1.530;1.530\r\nGBASE=-7.53;-7.27\r\nGCROS=-8.33;-8.34\r\nGAX=30;150\r\nGTHK=3.007;3.259\r\n"
    "CTHICK=3.007;3.259\r\nTHNP=4.017;3.194\r\nTHNA=66;104\r\nTHNR=15.94;16.30\r\nTHKP=6.032;6.467\r\n"
    "THKA=184;332\r\nTHKR=29.54;27.87\r\nCRIB=62;61\r\nDIA=65;65\r\nRPRVM=0.50;3.00\r\nRPRVA=90;270\r\n"
    "INSSPH=-2.87;-2.62\r\nINSCYL=-0.87;-1.12\r\nINSAX=28;152\r\n_PESO=8.10;8.89\r\n_SEGURIDAD=1;1\r\n"
    "_THNINT=3.000;\r\n";

// A job's ticket as a PDF.
QString grabarTrabajo(const QTemporaryDir& dir, QPageSize::PageSizeId hoja = QPageSize::A4,
                      const std::string& pedido = kPedidoW1, const std::string& respuesta = kRespuestaW1,
                      bool guardado = true)
{
    std::string error;
    const auto c = trabajos::ContestacionGuardada("W1", pedido, respuesta, dcs::kFormato, "CR-39", nullptr, error);
    if (!c)
        QTest::qFail(error.c_str(), __FILE__, __LINE__);
    const TrabajoAImprimir t{pedido, dcs::kFormato, *c, guardado ? "2026-01-02T10:00:00Z" : "",
                             guardado ? "2026-01-03T11:30:00Z" : ""};
    return comoPdf(dir, t, hoja, GrabarTrabajoPdf, DibujarTrabajo);
}

// Over 120 numbers of 1 to 20 characters on A4 and Letter at 50 to 75 mm,
// 150 dpi read every barcode (modules of 1.95 dots) and every diameter within
// 0.17 mm, one dot; 300 dpi takes three times as long for nothing more.
constexpr int kPpp = 150;

} // namespace

class TestOrdenTrabajo : public QObject {
    Q_OBJECT

    QString m_calculo; // the worked example's page as calculated
    QString m_registro; // and as "Guardar Datos" files it, in singles
    QString m_trabajo; // the stored job's page

private slots:
    void initTestCase()
    {
        QTemporaryDir dir;
        m_calculo = herramientas_pdf::texto(grabar(dir, OrdenDelCalculo(calculado(4, 6, 60))));
        const RegistroDiseno r{5.7361377, -1.840299, 1.5, 60, 1, 4.664, 4, 1.32, "CR39       "};
        m_registro = herramientas_pdf::texto(grabar(dir, OrdenDelRegistro(r)));
        // The stored times are UTC; the bench's clock here is too.
        qputenv("TZ", "UTC");
        m_trabajo = herramientas_pdf::texto(grabarTrabajo(dir));
    }

    // Every figure of the worked example, beside its label, as the windows
    // show it, whether calculated or read from a record, which holds no base
    // curve and a padded name.
    void cifrasDelEjemplo_data()
    {
        QTest::addColumn<QString>("linea");
        QTest::newRow("número y fecha") << "Trabajo VT-20261206-2130.*Fecha: 06/12/2026 21:30";
        QTest::newRow("poder de vértice") << "Poder de vértice \\+4\\.00 D";
        QTest::newRow("material") << "Nombre CR39 .*Índice 1\\.5\\b.*Densidad 1\\.32 g/cm³";
        QTest::newRow("caras") << "Cara externa al índice 5\\.736 D.*Curva base a 1\\.523 6 ?D.*"
                                  "Cara interna al índice -1\\.840 D.*Radio interno al índice -271\\.695 mm.*"
                                  "Molde 1\\.523 -1\\.925 D";
        QTest::newRow("medidas, también bajo el dibujo y en el corte")
            << "Diámetro 60 mm.*Espesor de borde 1 mm.*Espesor central 4\\.66 mm.*Peso 10\\.67 g.*"
               "Borde 1\\.00 mm.*Centro 4\\.66 mm.*Ø 60 mm";
    }
    void cifrasDelEjemplo()
    {
        QFETCH(QString, linea);
        for (const QString& texto : {m_calculo, m_registro})
            QVERIFY2(texto.contains(QRegularExpression(linea)), qPrintable(linea + " no está en:\n" + texto));
    }

    // The printed page, as wide as its sheet: the lenses at true size, the
    // bars read back to the number, and the scale check at its foot still on
    // the sheet. The example on A4, and at 70 mm with the longest number on
    // Letter; the stored job, every row and a warning, on both.
    void pagina_data()
    {
        QTest::addColumn<int>("hoja");
        QTest::addColumn<double>("diametro"); // the example's; none: the stored job, 52 × 38 on each half
        QTest::addColumn<QString>("numero");
        QTest::newRow("ejemplo en A4") << int(QPageSize::A4) << 60.0 << kNumero;
        QTest::newRow("ejemplo en Letter, 70 mm") << int(QPageSize::Letter) << 70.0 << kVeinte;
        QTest::newRow("trabajo guardado en A4") << int(QPageSize::A4) << 0.0 << "W1";
        QTest::newRow("trabajo guardado en Letter") << int(QPageSize::Letter) << 0.0 << "W1";
    }
    void pagina()
    {
        QFETCH(int, hoja);
        QFETCH(double, diametro);
        QFETCH(QString, numero);
        const auto id = QPageSize::PageSizeId(hoja);
        QTemporaryDir dir;
        const QString pdf =
            diametro ? grabar(dir, OrdenDelCalculo(calculado(4, 6, diametro)), numero, id) : grabarTrabajo(dir, id);
        const QString png = herramientas_pdf::pagina(pdf, kPpp);
        const QImage imagen(png);
        QVERIFY(std::fabs(imagen.width() - QPageSize(id).size(QPageSize::Millimeter).width() / 25.4 * kPpp) < 1);
        // The example's front view on the right half, the job's lenses on both.
        const QSizeF esperado = diametro ? QSizeF(diametro, diametro) : QSizeF(52, 38);
        for (int mitad = diametro ? 1 : 0; mitad < 2; ++mitad) {
            const QSizeF medido =
                contornoMedido(imagen, kPpp, mitad * imagen.width() / 2, (mitad + 1) * imagen.width() / 2);
            QVERIFY2(std::fabs(medido.width() - esperado.width()) <= 0.3 &&
                         std::fabs(medido.height() - esperado.height()) <= 0.3,
                     qPrintable(QString("%1 × %2 mm").arg(medido.width()).arg(medido.height())));
        }
        QCOMPARE(herramientas_pdf::codigos(png), "CODE-128:" + numero);
        QVERIFY(herramientas_pdf::texto(pdf).contains("esta barra mide 50 mm"));
    }

    // The advice the design produced is on the ticket, and no other. Base 10's
    // front sphere is 104.6 mm wide: the material gives out at 103 mm, the
    // curvature at 103.8, the sphere at 104; so wide a lens also wants
    // polycarbonate, a deep block and a larger page.
    void avisos_data()
    {
        QTest::addColumn<double>("base");
        QTest::addColumn<double>("diametro");
        QTest::addColumn<QStringList>("presentes"); // "?" before one that may or may not be there
        const QStringList ancha{"diámetro", "block", "no cabe"};
        QTest::newRow("base especial") << 6.25 << 65.0 << QStringList{"base"};
        QTest::newRow("material incompatible") << 10.0 << 103.0 << ancha + QStringList{"material"};
        QTest::newRow("lente muy curva") << 10.0 << 103.8 << ancha + QStringList{"muy curva"};
        QTest::newRow("diámetro máximo") << 10.0 << 104.3 << ancha + QStringList{"máximo"};
        // Cut to 1 mm inside the sphere, right on the curvature limit.
        QTest::newRow("diámetro reducido")
            << 10.0 << 110.0 << ancha + QStringList{"reducido", "?muy curva", "?material"};
    }
    void avisos()
    {
        QFETCH(double, base);
        QFETCH(double, diametro);
        QFETCH(QStringList, presentes);
        const QMap<QString, QString> todos{
            {"base", "Curva Base externa especial en laboratorio\\. Confirme posibilidades y demoras\\."},
            {"diámetro", "un diámetro (especial|no standart|para un monofocal)"},
            {"block", "Consulte con su proveedor si posee blocks para el tallado de este lente"},
            {"material", "Material incompatible: El material solicitado no permite el tallado"},
            {"muy curva", "Lente vantora muy curva: El valor de curva base externa no es compatible"},
            {"máximo", "Diámetro incompatible: Este es el diámetro máximo"},
            {"reducido", "Diámetro reducido a 103\\.6 mm: la geometría .* pedido \\(110 mm\\)"},
            {"no cabe", "La lente de [0-9.]+ mm no cabe a tamaño real"},
            {"sugerencias al diseñador", "le sugiere"}, // the window's, never the laboratory's
        };
        QTemporaryDir dir;
        const QString texto = herramientas_pdf::texto(grabar(dir, OrdenDelCalculo(calculado(6, base, diametro))));
        for (auto [clave, aviso] : todos.asKeyValueRange())
            if (!presentes.contains("?" + clave))
                QVERIFY2(texto.contains(QRegularExpression(aviso)) == presentes.contains(clave),
                         qPrintable(clave + " en:\n" + texto));
    }

    void numeroDeTrabajo_data()
    {
        QTest::addColumn<QString>("numero");
        QTest::addColumn<QString>("problema"); // a part of the message, or empty when accepted
        QTest::newRow("veinte caracteres ASCII") << kVeinte << QString();
        QTest::newRow("eñe") << QString("VT-Año") << "«ñ» (U+00F1)";
        QTest::newRow("tabulador") << QString("VT\t1") << "el carácter de control U+0009";
        QTest::newRow("solo espacios") << QString("   ") << "espacios";
        QTest::newRow("veintiún caracteres, %1 sin expandir")
            << "%2%3%1" + kVeinte.left(15) << "«%2%3%1lab 7/a+12.b~XY» tiene 21 caracteres; admite hasta 20";
    }
    void numeroDeTrabajo()
    {
        QFETCH(QString, numero);
        QFETCH(QString, problema);
        const std::optional<std::string> p = ProblemaNumeroTrabajo(numero.toStdString());
        QVERIFY2(p.has_value() == !problema.isEmpty() && QString::fromStdString(p.value_or("")).contains(problema),
                 p.value_or("(aceptado)").c_str());
    }

    // Every figure of the stored job beside its label, the right eye's then
    // the left's, as the request and the answer give them.
    void trabajoGuardado_data()
    {
        QTest::addColumn<QString>("linea");
        QTest::newRow("número y fechas") << "Trabajo W1 Creado: 02/01/2026 10:00 Cambiado: 03/01/2026 11:30";
        QTest::newRow("receta") << "Esfera -3\\.00 D -2\\.75 D Cilindro -0\\.75 D -1\\.00 D Eje 30° 150° "
                                   "Prisma 2\\.00 Δ base 90° 1\\.50 Δ base 270° Adición \\+2\\.25 D \\+2\\.25 D "
                                   "Prisma de adelgazamiento 1\\.50 Δ base 270° 1\\.50 Δ base 270°";
        QTest::newRow("centrado") << "DP monocular 31\\.50 mm 32\\.00 mm DP monocular de cerca 29\\.50 mm 30\\.00 mm "
                                     "Altura 22\\.00 mm 21\\.50 mm Altura del segmento 18\\.00 mm 18\\.00 mm";
        QTest::newRow("texto de fuera, sin sus controles y cortado") << "Tipo de lente PR\\?\\[2J\\?A+… PR";
        QTest::newRow("armazón") << "Forma caja A ?× ?B caja A ?× ?B A ?× ?B 52\\.00 × 38\\.00 mm 52\\.00 × 38\\.00 mm "
                                    "Puente \\(DBL\\) 18\\.00 mm 18\\.00 mm ED 52\\.00 mm 52\\.00 mm "
                                    "Montura Ranurada Ranurada Distancia al vértice 13\\.00 mm 13\\.00 mm "
                                    "Ángulo pantoscópico 8° 8° Curvatura de la montura 5° 5°";
        QTest::newRow("material") << "Material CR-39 CR-39 Índice 1\\.498 \\(herramientas a 1\\.530\\) 1\\.498 .*"
                                     "Seguridad Básica \\(ANSI Z87\\.1\\) Básica";
        QTest::newRow("herramientas y prisma tallado")
            << "Curvas de herramienta -7\\.53 D a 30° / -8\\.33 D a 120° -7\\.27 D a 150° / -8\\.34 D a 60° "
               "Prisma tallado 0\\.50 Δ base 90° 3\\.00 Δ base 270°";
        QTest::newRow("frontofocómetro") << "Frontofocómetro -2\\.87 -0\\.87 × 28° -2\\.62 -1\\.12 × 152°.*"
                                            "compruebe la lente con el frontofocómetro, no con la receta";
        QTest::newRow("lente") << "Espesor central 3\\.007 mm 3\\.259 mm Borde mínimo 4\\.017 mm a 66° 3\\.194 mm a "
                                  "104° Punto más delgado 3\\.000 mm — Borde máximo 6\\.032 mm a 184° 6\\.467 mm a "
                                  "332° Bloque 65 mm, mínimo 62 mm "
                                  "65 mm, mínimo 61 mm Peso 8\\.10 g 8\\.89 g";
        QTest::newRow("aviso") << "Izquierdo: Bases distintas: anisometropia";
    }
    void trabajoGuardado()
    {
        QFETCH(QString, linea);
        QVERIFY2(m_trabajo.contains(QRegularExpression(linea)), qPrintable(linea + " no está en:\n" + m_trabajo));
        QVERIFY(!m_trabajo.contains(QChar(0x1b)) && !m_trabajo.contains(QChar(0x202e)));
    }

    // The same job in other states: each row changes a text of its request
    // or of its answer.
    void otrosEstados_data()
    {
        QTest::addColumn<QString>("en"); // "pedido" or "respuesta"
        QTest::addColumn<QString>("de"); // nothing: the job as the window holds it, not stored
        QTest::addColumn<QString>("a");
        QTest::addColumn<QString>("linea");
        const auto fila = [](const char* caso, const char* en, const QString& de, const QString& a, const char* linea) {
            QTest::newRow(caso) << QString(en) << de << a << QString(linea);
        };
        fila("sin guardar", "pedido", "", "", "Sin guardar Cifras calculadas en la ventana");
        fila("contorno más alto que su sitio", "pedido", "VBOX=38", "VBOX=80",
             "El contorno de 52\\.0 × 80\\.0 mm no cabe a tamaño real");
        fila("ojo sin lente", "respuesta", "L;0;Bases distintas: anisometropia;W",
             "L;4;THNP: el dorso no alcanza el borde;E",
             "Ojo izquierdo: sin lente.*Izquierdo: sin lente: THNP: el dorso no alcanza");
        fila("más avisos de los que se imprimen", "respuesta", "STATUS=0\r\n",
             "STATUS=0\r\n" + QString("XSTATUS=R;0;Regla;W\r\n").repeated(6),
             "Derecho: Regla Derecho: Regla Derecho: 4 avisos más en la respuesta Izquierdo: Bases");
    }
    void otrosEstados()
    {
        QFETCH(QString, en);
        QFETCH(QString, de);
        QFETCH(QString, a);
        QFETCH(QString, linea);
        std::string pedido = kPedidoW1, respuesta = kRespuestaW1;
        std::string& cambiado = en == "pedido" ? pedido : respuesta;
        if (!de.isEmpty())
            cambiado.replace(cambiado.find(de.toStdString()), de.toUtf8().size(), a.toStdString());
        QTemporaryDir dir;
        const QString texto =
            herramientas_pdf::texto(grabarTrabajo(dir, QPageSize::A4, pedido, respuesta, !de.isEmpty()));
        QVERIFY2(texto.contains(QRegularExpression(linea)), qPrintable(linea + " no está en:\n" + texto));
    }

    // A power too small for two decimals prints as their rounding.
    void poderMinimo()
    {
        const RegistroDiseno r{5.736, -1.840, 1.5, 60, 1, 4.664, 1e-6, 1.32, "CR39"};
        QCOMPARE(OrdenDelRegistro(r).poderVertice, std::string("+0.00"));
    }

    // Each window prints the lens it shows; before there is one, or after a
    // calculation that failed, it refuses with a message.
    void queImprimeCadaVentana()
    {
        QTemporaryDir dir;
        const CarpetaDatos carpeta(dir.path().toStdString());
        EstadoDiseno e = calculado(4, 6, 60);
        LienzoImagen lienzo;
        PantallaPrueba frm, graficos;
        DialogosPrueba dlg;
        Perfil perfil(e, lienzo, graficos, frm, dlg, carpeta);
        ImpresionOrden impresion(e, frm, perfil, dlg);
        const QDateTime momento(QDate(2026, 12, 6), QTime(21, 30, 59));
        QVERIFY(!impresion.DeGraficos(momento) && dlg.cajas.size() == 1);
        frm.textos["Tx_PcurvaExt"] = "5.736";
        QCOMPARE(impresion.DelDiseno(momento).value().numero, std::string("VT-20261206-2130"));
        e.CalculoRecuperado = 1;
        QVERIFY(!impresion.DelDiseno(momento) && dlg.cajas.size() == 2);

        // The diameter bar moved to 70 mm after "Graficar" left the saved
        // record's index, a single, in the design state: the ticket is the
        // lens redrawn there.
        e.IndiceMaterial = static_cast<double>(1.498f);
        Numero setenta = 70;
        QVERIFY(perfil.RedibujarPerfil(e.PoderExterno, e.PoderInterno, e.IndiceMaterial, e.EspesorCentral,
                                       e.PoderVertice, setenta, e.Densidad, e.EscalaHorizontal, e.EscalaVertical,
                                       e.AspectoPantalla));
        const OrdenTrabajo variada = impresion.DeGraficos(momento).value();
        QCOMPARE((QList<std::string>{variada.diametro, variada.indice, variada.peso}),
                 (QList<std::string>{"70", "1.498", graficos.Texto("Tx_Diametro_Peso")}));
        QVERIFY(variada.avisos.size() == 1 && QString::fromStdString(variada.avisos[0]).contains("no standart"));
    }
};

// Fonts need a QGuiApplication; no window is opened.
QTEST_MAIN(TestOrdenTrabajo)
#include "test_orden_trabajo.moc"
