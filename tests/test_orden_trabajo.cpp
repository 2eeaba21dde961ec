// The job ticket read back as the laboratory reads it: its text, its barcode
// and its drawing measured on the printed page; the advice it carries; the
// job numbers it refuses; a PDF file that cannot be written. The worked
// example is +4 D, base 6, 60 mm, 1 mm edge, CR39 of index 1.5 and density
// 1.32: centre 4.66 mm, faces 5.736 and -1.840 D, back radius -271.695 mm,
// 1.523 tool -1.925 D, 10.67 g.

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

#include <QDir>
#include <QPainter>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QString kBaseEspecial = "Curva Base externa especial en laboratorio. Confirme posibilidades y demoras.";
const QString kNoStandart =
    "Ha seleccionado un diámetro no standart. Verifique la posibilidad de tallado y demoras para este diseño.";
const QString kPolicarbonato = "Atención: Ha seleccionado un diámetro para un monofocal solo compatible con lentes "
                               "de policarbonato. Consulte posibilidad de fabricación y demoras";
const QString kEspecial = "Está seleccionando un diámetro especial.";
const QString kBlock = "Consulte con su proveedor si posee blocks para el tallado de este lente";
const QString kMuyCurva = "Lente vantora muy curva:";
const QString kMaterial = "Material incompatible:";
const QString kDiametroMaximo = "Diámetro incompatible:";
const QString kReducido = "Diámetro reducido";

// A design calculated as the design window does, CR39 chosen in the
// materials window.
struct Diseno {
    EstadoDiseno e;
    PantallaPrueba frm;
    PantallaPrueba graficos;
    DialogosPrueba dlg;
    CatalogoMemoria catalogo{{}};
    Motor motor{e, frm, graficos, dlg, catalogo};

    Diseno(double poder, double base, double diametro, double borde)
    {
        e.PoderVertice = poder;
        e.CurvaBase = base;
        e.DiametroInicial = diametro;
        e.EspesorBorde = borde;
        e.MaterialDeBase = "Si";
        e.NombreMaterial = "CR39";
        e.IndiceMaterial = 1.5;
        e.Densidad = 1.32;
        frm.textos["Tx_BaseCrown"] = TextoPlano(base);
        motor.CalcularCompleto();
    }

    OrdenTrabajo orden(const std::string& numero = "VT-20261206-2130") const
    {
        OrdenTrabajo o = OrdenDelCalculo(e);
        o.numero = numero;
        o.fechaHora = "06/12/2026 21:30";
        return o;
    }
};

QString grabar(const QTemporaryDir& dir, const OrdenTrabajo& orden)
{
    const QString archivo = dir.filePath("orden.pdf");
    std::string error;
    if (!GrabarOrdenPdf(archivo.toStdString(), orden, error))
        QTest::qFail(error.c_str(), __FILE__, __LINE__);
    return archivo;
}

// The front view's diameter on a page rendered at ppp: the blue outline's
// widest row, from the middle of its left stroke to the middle of its right
// one. Only the lens outlines are that blue, and the front view is the one
// on the right half of the page.
double diametroMedido(const QImage& pagina, int ppp)
{
    auto azul = [&](int x, int y) {
        const QColor c = pagina.pixelColor(x, y);
        return c.blue() > 120 && c.red() < 60 && c.green() < 110;
    };
    int mejor = -1;
    double ancho = 0;
    for (int y = 0; y < pagina.height(); ++y) {
        int x1 = -1, x2 = -1;
        for (int x = pagina.width() / 2; x < pagina.width(); ++x)
            if (azul(x, y)) {
                if (x1 < 0)
                    x1 = x;
                x2 = x;
            }
        if (x1 >= 0 && x2 - x1 > mejor) {
            mejor = x2 - x1;
            int fin1 = x1, inicio2 = x2;
            while (azul(fin1 + 1, y))
                ++fin1;
            while (azul(inicio2 - 1, y))
                --inicio2;
            ancho = ((inicio2 + x2) / 2.0 - (x1 + fin1) / 2.0);
        }
    }
    return ancho * 25.4 / ppp;
}

} // namespace

class TestOrdenTrabajo : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_ejemplo; // the worked example's page, line by line

private slots:
    void initTestCase() { m_ejemplo = herramientas_pdf::textoEnColumnas(grabar(m_dir, Diseno(4, 6, 60, 1).orden())); }

    // Every figure of the worked example, beside its label, as the windows show it.
    void cifrasDelEjemplo_data()
    {
        QTest::addColumn<QString>("linea");
        QTest::newRow("título") << "Orden de trabajo";
        QTest::newRow("número") << "Trabajo VT-20261206-2130";
        QTest::newRow("fecha") << "Fecha: 06/12/2026 21:30";
        QTest::newRow("poder de vértice") << "Poder de vértice\\s+\\+4\\.00 D";
        QTest::newRow("material") << "Nombre\\s+CR39";
        QTest::newRow("índice") << "Índice\\s+1\\.5\\b";
        QTest::newRow("densidad") << "Densidad\\s+1\\.32 g/cm³";
        QTest::newRow("cara externa") << "Cara externa al índice\\s+5\\.736 D";
        QTest::newRow("curva base") << "Curva base a 1\\.523\\s+6 ?D";
        QTest::newRow("cara interna") << "Cara interna al índice\\s+-1\\.840 D";
        QTest::newRow("radio interno") << "Radio interno al índice\\s+-271\\.695 mm";
        QTest::newRow("molde") << "Molde 1\\.523\\s+-1\\.925 D";
        QTest::newRow("diámetro") << "Diámetro\\s+60 mm";
        QTest::newRow("espesor de borde") << "Espesor de borde\\s+1 mm";
        QTest::newRow("espesor central") << "Espesor central\\s+4\\.66 mm";
        QTest::newRow("peso") << "Peso\\s+10\\.67 g";
        QTest::newRow("marca del centro") << "Centro 4\\.66 mm";
        QTest::newRow("marca del borde") << "Borde 1\\.00 mm";
        QTest::newRow("marca del diámetro") << "Ø 60 mm";
        QTest::newRow("sin avisos") << "Sin avisos";
    }
    void cifrasDelEjemplo()
    {
        QFETCH(QString, linea);
        QVERIFY2(m_ejemplo.contains(QRegularExpression(linea)), qPrintable(linea + " no está en:\n" + m_ejemplo));
    }

    // A reader scans the bars back to the number printed beside them.
    void codigoDeBarras_data()
    {
        QTest::addColumn<QString>("numero");
        QTest::newRow("de la fecha") << "VT-20261206-2130";
        QTest::newRow("solo cifras") << "00123456789012";
        QTest::newRow("minúsculas, blancos y signos") << "lab 7/a+12.b";
        QTest::newRow("veinte caracteres") << "ABCDEFGHIJKLMNOPQRST";
    }
    void codigoDeBarras()
    {
        QFETCH(QString, numero);
        QTemporaryDir dir;
        const QString pdf = grabar(dir, Diseno(4, 6, 60, 1).orden(numero.toStdString()));
        QCOMPARE(herramientas_pdf::codigos(pdf), "CODE-128:" + numero);
    }

    // The front view measured on the printed page is the lens, A4 or Letter.
    void tamanoReal_data()
    {
        QTest::addColumn<double>("diametro");
        QTest::addColumn<int>("hoja");
        QTest::newRow("60 mm en A4") << 60.0 << int(QPageSize::A4);
        QTest::newRow("50 mm en A4") << 50.0 << int(QPageSize::A4);
        QTest::newRow("70 mm en carta") << 70.0 << int(QPageSize::Letter);
    }
    void tamanoReal()
    {
        QFETCH(double, diametro);
        QFETCH(int, hoja);
        QTemporaryDir dir;
        const QString archivo = dir.filePath("orden.pdf");
        {
            QPdfWriter pdf(archivo);
            pdf.setPageSize(QPageSize(QPageSize::PageSizeId(hoja)));
            QPainter pintor(&pdf);
            DibujarOrden(pintor, pdf.pageLayout(), Diseno(4, 6, diametro, 1).orden());
        }
        const QImage pagina = herramientas_pdf::pagina(archivo, 300);
        const QSizeF mm = QPageSize(QPageSize::PageSizeId(hoja)).size(QPageSize::Millimeter);
        QCOMPARE(pagina.width(), qRound(mm.width() / 25.4 * 300));
        const double medido = diametroMedido(pagina, 300);
        QVERIFY2(std::fabs(medido - diametro) <= 0.3, qPrintable(QString::number(medido) + " mm"));
        // Nothing falls off a Letter page: the scale check at the foot is there.
        QVERIFY(herramientas_pdf::texto(archivo).contains("esta barra mide 50 mm"));
    }

    // The advice the design produced is on the ticket, and no other.
    void avisos_data()
    {
        QTest::addColumn<double>("poder");
        QTest::addColumn<double>("base");
        QTest::addColumn<double>("diametro");
        QTest::addColumn<double>("borde");
        QTest::addColumn<QStringList>("presentes");
        QTest::addColumn<QStringList>("libres"); // neither required nor forbidden
        QTest::newRow("ejemplo") << 4.0 << 6.0 << 60.0 << 1.0 << QStringList{"Sin avisos"} << QStringList{};
        QTest::newRow("base 6.25") << 4.0 << 6.25 << 65.0 << 1.0 << QStringList{kBaseEspecial} << QStringList{};
        QTest::newRow("diámetro 58") << 4.0 << 6.0 << 58.0 << 1.0 << QStringList{kEspecial} << QStringList{};
        QTest::newRow("diámetro 70") << 4.0 << 6.0 << 70.0 << 1.0 << QStringList{kNoStandart} << QStringList{};
        QTest::newRow("diámetro 75") << 4.0 << 4.5 << 75.0 << 1.0 << QStringList{kPolicarbonato} << QStringList{};
        // Base 14: front radius 37.36 mm, sagitta 24.3 mm over 70 mm, with a 2 mm edge.
        QTest::newRow("block grueso") << 10.0 << 14.0 << 70.0 << 2.0 << QStringList{kBaseEspecial, kNoStandart, kBlock}
                                      << QStringList{};
        // Base 10: front sphere of 104.6 mm; the lens is cut 1 mm inside it,
        // right at the front face's limit, too wide to draw on the page, and
        // 45 mm deep at its edge.
        QTest::newRow("diámetro reducido")
            << 4.0 << 10.0 << 110.0 << 1.0
            << QStringList{"Diámetro reducido a 103.6 mm", kPolicarbonato, kBlock, "no cabe a tamaño real"}
            << QStringList{kMuyCurva, kMaterial};
    }
    void avisos()
    {
        QFETCH(double, poder);
        QFETCH(double, base);
        QFETCH(double, diametro);
        QFETCH(double, borde);
        QFETCH(QStringList, presentes);
        QFETCH(QStringList, libres);
        QTemporaryDir dir;
        const QString texto = herramientas_pdf::texto(grabar(dir, Diseno(poder, base, diametro, borde).orden()));
        for (const QString& aviso : presentes)
            QVERIFY2(texto.contains(aviso), qPrintable(aviso + " falta en:\n" + texto));
        const QStringList todos{"Sin avisos", kBaseEspecial, kNoStandart, kPolicarbonato,  kEspecial,
                                kBlock,       kMuyCurva,     kMaterial,   kDiametroMaximo, kReducido};
        for (const QString& aviso : todos)
            if (!libres.contains(aviso) && !presentes.join('|').contains(aviso))
                QVERIFY2(!texto.contains(aviso), qPrintable(aviso + " sobra en:\n" + texto));
    }

    // A record holds no base curve: it is the front face carried to 1.523.
    void desdeUnRegistro()
    {
        // The worked example as "Guardar Datos" files it, in singles.
        const RegistroDiseno r{5.7361377, -1.840299, 1.5, 60, 1, 4.664, 4, 1.32, "CR39       "};
        const OrdenTrabajo o = OrdenDelRegistro(r);
        QCOMPARE(o.curvaBase, std::string("6"));
        QCOMPARE(o.material, std::string("CR39"));
        QCOMPARE(o.poderVertice, std::string("+4.00"));
        // 0.5 / -1.840299 m is -271.69498 mm; 0.523 / that radius -1.92495 D.
        QCOMPARE(o.radioInterno, std::string("-271.695"));
        QCOMPARE(o.molde1523, std::string("-1.925"));
        QCOMPARE(o.peso, std::string("10.67"));
        QVERIFY(o.avisos.empty());
    }

    void numeroDeTrabajo_data()
    {
        QTest::addColumn<QString>("numero");
        QTest::addColumn<QString>("problema"); // a part of the message, or empty when accepted
        QTest::newRow("de la fecha") << "VT-20261206-2130"
                                     << "";
        QTest::newRow("ASCII con signos") << "A b/7+~"
                                          << "";
        QTest::newRow("eñe") << "VT-Año"
                             << "contiene «ñ» (U+00F1), que el código de barras Code 128 no puede llevar";
        QTest::newRow("euro") << "12€"
                              << "«€» (U+20AC)";
        QTest::newRow("tabulador") << "VT\t1"
                                   << "el carácter de control U+0009";
        QTest::newRow("vacío") << ""
                               << "no puede estar vacío";
        QTest::newRow("veintiún caracteres") << "ABCDEFGHIJKLMNOPQRSTU"
                                             << "tiene 21 caracteres; admite hasta 20";
    }
    void numeroDeTrabajo()
    {
        QFETCH(QString, numero);
        QFETCH(QString, problema);
        const std::optional<std::string> p = ProblemaNumeroTrabajo(numero.toStdString());
        QCOMPARE(p.has_value(), !problema.isEmpty());
        if (p)
            QVERIFY2(QString::fromStdString(*p).contains(problema), p->c_str());
        QCOMPARE(NumeroTrabajoPorFecha(QDateTime(QDate(2026, 12, 6), QTime(21, 30, 59))),
                 std::string("VT-20261206-2130"));
    }

    // Each window prints the lens it shows; before there is one, it says so.
    void queImprimeCadaVentana()
    {
        QTemporaryDir dir;
        const CarpetaDatos carpeta(dir.path().toStdString());
        Diseno d(4, 6, 60, 1);
        LienzoImagen lienzo;
        PantallaPrueba frm;
        Perfil perfil(d.e, lienzo, d.graficos, frm, d.dlg, carpeta);
        ImpresionOrden impresion(d.e, frm, perfil, d.dlg);
        const QDateTime momento(QDate(2026, 12, 6), QTime(21, 30));
        auto ultimoMensaje = [&] { return d.dlg.cajas.empty() ? std::string() : d.dlg.cajas.back().texto; };

        QVERIFY(!impresion.DelDiseno(momento));
        QCOMPARE(ultimoMensaje(), std::string(ImpresionOrden::kSinCalculo));
        QVERIFY(!impresion.DeGraficos(momento));
        QCOMPARE(ultimoMensaje(), std::string(ImpresionOrden::kSinDibujo));

        frm.textos["Tx_PcurvaExt"] = "5.736";
        const std::optional<OrdenTrabajo> calculada = impresion.DelDiseno(momento);
        QVERIFY(calculada);
        QCOMPARE(calculada->numero, std::string("VT-20261206-2130"));
        QCOMPARE(calculada->fechaHora, std::string("06/12/2026 21:30"));
        QCOMPARE(calculada->diametro, std::string("60"));
        d.e.CalculoRecuperado = 1;
        QVERIFY(!impresion.DelDiseno(momento));
        QCOMPARE(ultimoMensaje(), std::string(ImpresionOrden::kRecuperado));

        // The diameter bar moved to 70 mm after "Graficar" left the saved
        // record's index, a single, in the design state: the ticket is the
        // lens redrawn there.
        d.e.IndiceMaterial = static_cast<double>(1.498f);
        Numero setenta = 70;
        QVERIFY(perfil.RedibujarPerfil(d.e.PoderExterno, d.e.PoderInterno, d.e.IndiceMaterial, d.e.EspesorCentral,
                                       d.e.PoderVertice, setenta, d.e.Densidad, d.e.EscalaHorizontal,
                                       d.e.EscalaVertical, d.e.AspectoPantalla));
        const std::optional<OrdenTrabajo> variada = impresion.DeGraficos(momento);
        QVERIFY(variada);
        QCOMPARE(variada->diametro, std::string("70"));
        QCOMPARE(variada->indice, std::string("1.498"));
        QCOMPARE(variada->peso, d.graficos.Texto("Tx_Diametro_Peso"));
        QCOMPARE(variada->avisos, std::vector<std::string>{kNoStandart.toStdString()});
    }

    // A file that cannot be written is reported by name, and nothing half
    // written stays behind.
    void pdfQueNoSePuedeGrabar_data()
    {
        QTest::addColumn<QString>("archivo");
        QTest::addColumn<QString>("motivo");
        QTest::newRow("carpeta que no existe") << "no/orden.pdf"
                                               << "no existe";
        QTest::newRow("una carpeta en su lugar") << "carpeta.pdf"
                                                 << "hay una carpeta con ese nombre";
        QTest::newRow("un archivo por carpeta") << "nota.txt/orden.pdf"
                                                << "no existe";
    }
    void pdfQueNoSePuedeGrabar()
    {
        QFETCH(QString, archivo);
        QFETCH(QString, motivo);
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir("carpeta.pdf"));
        QFile nota(dir.filePath("nota.txt"));
        QVERIFY(nota.open(QIODevice::WriteOnly));
        nota.close();
        const QString ruta = dir.filePath(archivo);
        std::string error;
        QVERIFY(!GrabarOrdenPdf(ruta.toStdString(), Diseno(4, 6, 60, 1).orden(), error));
        const QString mensaje = QString::fromStdString(error);
        QVERIFY2(mensaje.startsWith("No se pudo grabar la orden de trabajo en " + ruta), error.c_str());
        QVERIFY2(mensaje.contains(motivo), error.c_str());
        QCOMPARE(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
                 QStringList({"carpeta.pdf", "nota.txt"}));
        QVERIFY(QDir(dir.filePath("carpeta.pdf")).isEmpty());
    }
};

// Fonts need a QGuiApplication; no window is opened.
QTEST_MAIN(TestOrdenTrabajo)
#include "test_orden_trabajo.moc"
