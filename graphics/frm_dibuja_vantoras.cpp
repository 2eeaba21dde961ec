#include "frm_dibuja_vantoras.h"

#include "botones.h"
#include "colores_qt.h"
#include "marca_foco.h"
#include "texto_qt.h"
#include "twips.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>

namespace {

const QColor kFondo(0, 0, 64);
const QColor kEtiqueta(192, 192, 192);
const QColor kTintaBase(192, 192, 255);
const QColor kTintaIndice(192, 255, 255);

// A small camera for the snapshot buttons.
QIcon iconoFoto()
{
    QPixmap imagen(24, 24);
    imagen.fill(Qt::transparent);
    QPainter p(&imagen);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(32, 32, 32), 1.5));
    p.setBrush(QColor(96, 96, 112));
    p.drawRoundedRect(QRectF(2, 7, 20, 14), 2, 2);
    p.drawRect(QRectF(7, 4, 7, 3));
    p.setBrush(QColor(200, 220, 255));
    p.drawEllipse(QPointF(12, 14), 4.5, 4.5);
    p.setBrush(QColor(255, 240, 120));
    p.drawRect(QRectF(17, 9, 3, 2));
    return QIcon(imagen);
}

// A scroll bar whose held arrow can be let go from outside, its focus
// marked: the arrow keys move it.
class Barra : public ConMarcaDeFoco<QScrollBar> {
public:
    using ConMarcaDeFoco::ConMarcaDeFoco;
    void DetenerRepeticion() { setRepeatAction(SliderNoAction); }
};

} // namespace

Frm_DibujaVantoras::Frm_DibujaVantoras(ModificacionDiseno& modificacion, PantallaWidgets& pantalla,
                                       LienzoImagen& lienzo, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint),
      m_modificacion(modificacion),
      m_pantalla(pantalla),
      m_lienzo(lienzo)
{
    setAttribute(Qt::WA_DeleteOnClose);
    construir();
    // A window loaded again starts from a blank surface.
    m_lienzo.Limpiar();
    Form_Load();
}

void Frm_DibujaVantoras::construir()
{
    setObjectName(QStringLiteral("Frm_DibujaVantoras"));
    setWindowTitle(QStringLiteral("Graficos Lentes Vantoras"));
    setFixedSize(LienzoImagen::kAncho, LienzoImagen::kAlto);
    QFont fuente(QStringLiteral("MS Sans Serif"));
    fuente.setPointSizeF(7.5);
    fuente.setStyleHint(QFont::SansSerif);
    setFont(fuente);
    QPalette paleta = palette();
    paleta.setColor(QPalette::Window, kFondo);
    paleta.setColor(QPalette::WindowText, QColor(64, 64, 64));
    setPalette(paleta);
    setAutoFillBackground(false);
    setMouseTracking(true);
    m_pantalla.PonerVentana(this);

    auto registrar = [this](QWidget* w, const char* nombre) {
        w->setObjectName(QString::fromUtf8(nombre));
        m_pantalla.Registrar(w);
        return w;
    };
    auto etiqueta = [&](QWidget* padre, const char* nombre, const char* texto, QRect lugar, QColor color = kEtiqueta) {
        auto* l = new QLabel(QString::fromUtf8(texto), padre);
        registrar(l, nombre);
        l->setGeometry(lugar);
        ColorearTexto(l, color);
        return l;
    };
    auto caja = [&](QWidget* padre, const char* nombre, QRect lugar, QColor fondo, QColor texto = QColor()) {
        auto* t = new QLineEdit(padre);
        registrar(t, nombre);
        t->setGeometry(lugar);
        t->setReadOnly(true);
        Colorear(t, fondo, texto);
        return t;
    };
    auto marco = [&](QWidget* padre, const char* nombre, const char* titulo, QRect lugar) {
        auto* g = new QGroupBox(QString::fromUtf8(titulo), padre);
        registrar(g, nombre);
        g->setGeometry(lugar);
        return g;
    };
    auto barra = [&](QWidget* padre, const char* nombre, QRect lugar, int minimo, int maximo, int valor,
                     void (Frm_DibujaVantoras::*cambio)()) {
        auto* b = new Barra(Qt::Horizontal, padre);
        registrar(b, nombre);
        b->setGeometry(lugar.x(), lugar.y(), lugar.width(), 17);
        b->setRange(minimo, maximo);
        b->setValue(valor);
        b->setSingleStep(1);
        b->setPageStep(1);
        // The value changes when the thumb is released, not while it moves.
        b->setTracking(false);
        // Tab reaches the bar, and then the arrow and page keys move it: right
        // and Page Up towards the larger values.
        b->setFocusPolicy(Qt::StrongFocus);
        b->setInvertedControls(false);
        connect(b, &QScrollBar::valueChanged, this, [this, cambio] { (this->*cambio)(); });
        m_barras.append(b);
        return b;
    };
    auto boton = [&](QWidget* padre, const char* nombre, const char* texto, QRect lugar,
                     void (Frm_DibujaVantoras::*clic)()) {
        auto* b = new QToolButton(padre);
        registrar(b, nombre);
        b->setGeometry(lugar);
        if (texto) {
            b->setText(QString::fromUtf8(texto));
        } else {
            b->setIcon(iconoFoto());
            b->setIconSize(QSize(24, 24));
        }
        ConectarBoton(b, [this, clic] { (this->*clic)(); });
        return b;
    };

    m_pestanas = new QTabWidget(this);
    registrar(m_pestanas, "SSTab_Modifico");
    m_pestanas->setGeometry(Twips(0, 45, 3555, 3015));
    const char* titulos[] = {"Curva Base", "Indice", "Diámetro"};
    QWidget* paginas[3];
    for (int i = 0; i < 3; ++i) {
        paginas[i] = new QWidget;
        m_pestanas->addTab(paginas[i], QString::fromUtf8(titulos[i]));
    }
    m_pestanas->tabBar()->setFocusPolicy(Qt::StrongFocus);
    m_pestanas->tabBar()->installEventFilter(this);
    // Every page change shows the index of the lens now drawn: after a Reset,
    // a camera button or a bar the tab bar may never get the focus back.
    connect(m_pestanas, &QTabWidget::currentChanged, this, [this] { SSTab_Modifico_GotFocus(); });
    // Printed text starts clear of the tab control.
    m_lienzo.MargenTexto(m_pestanas->geometry().right() + 8);
    // Places on a page are given from the tab control's corner, over its tabs.
    const int altoPestanas = m_pestanas->tabBar()->sizeHint().height();
    auto enPagina = [&](int x, int y, int ancho, int alto) {
        return Twips(x, y, ancho, alto).translated(-1, -altoPestanas);
    };

    struct Pagina {
        const char* texto;
        const char* etiqueta;
        const char* caja;
        const char* barra;
        void (Frm_DibujaVantoras::*cambio)();
        const char* foto;
        const char* contador;
        void (Frm_DibujaVantoras::*clicFoto)();
        const char* reset;
        void (Frm_DibujaVantoras::*clicReset)();
        int minimo, maximo, valor;
        QColor tintaCaja, textoCaja;
    };
    const Pagina datos[3] = {
        {"Modifique la Curva Base hasta obtener la optimización del producto", "Label1", "Tx_ModificoBase",
         "HScroll_ModificoBase", &Frm_DibujaVantoras::HScroll_ModificoBase_Change, "SSCommand_CurvaBaseFoto",
         "Text_BaseNroFoto", &Frm_DibujaVantoras::SSCommand_CurvaBaseFoto_Click, "SSCommand1",
         &Frm_DibujaVantoras::SSCommand1_Click, 1, 200, 1, QColor(192, 255, 192), QColor(0, 0, 128)},
        {"Modifique el indice entre los materiales sugeridos", "Label2", "Tx_ModificoIndice", "HScroll_ModificoIndice",
         &Frm_DibujaVantoras::HScroll_ModificoIndice_Change, "SSCommand_IndiceFoto", "Text_NNroFoto",
         &Frm_DibujaVantoras::SSCommand_IndiceFoto_Click, "SSCommand3", &Frm_DibujaVantoras::SSCommand3_Click, 1, 1000,
         1, kTintaIndice, QColor()},
        {"Modifique el diámetro de acuerdo a las necesidades de centrado y estética", "Label3", "Tx_ModificoDiametro",
         "HScroll_ModificoDiametro", &Frm_DibujaVantoras::HScroll_ModificoDiametro_Change, "SSCommand_DiametroFoto",
         "Text_DiamNroFoto", &Frm_DibujaVantoras::SSCommand_DiametroFoto_Click, "SSCommand2",
         &Frm_DibujaVantoras::SSCommand2_Click, 0, 1000, 0, QColor(255, 192, 192), QColor()},
    };
    const QColor tintas[3] = {kTintaBase, kTintaIndice, kTintaBase};
    for (int i = 0; i < 3; ++i) {
        const Pagina& d = datos[i];
        QWidget* p = paginas[i];
        QLabel* texto = etiqueta(p, d.etiqueta, d.texto, enPagina(180, 390, 3240, 480), QColor(0, 0, 0));
        texto->setWordWrap(true);
        caja(p, d.caja, enPagina(180, 930, 1050, 315), d.tintaCaja, d.textoCaja);
        barra(p, d.barra, enPagina(1350, 960, 2040, 255), d.minimo, d.maximo, d.valor, d.cambio);
        boton(p, d.foto, nullptr, enPagina(2700, 1980, 495, 495), d.clicFoto);
        QLineEdit* contador = caja(p, d.contador, enPagina(3240, 2085, 270, 285), tintas[i]);
        QWidget* reset = boton(p, d.reset, "Reset", enPagina(2490, 2655, 900, 300), d.clicReset);
        // A damaged file counts a fraction of a record, too long for the box
        // beside the camera: the whole count then shows in the bottom row,
        // with "Reset" narrowed to its caption at the page's edge.
        connect(contador, &QLineEdit::textChanged, this,
                [contador, reset, lugar = contador->geometry(), lugarReset = reset->geometry()] {
                    const int ancho = contador->fontMetrics().horizontalAdvance(contador->text()) + 8;
                    if (ancho <= lugar.width()) {
                        contador->setGeometry(lugar);
                        reset->setGeometry(lugarReset);
                        return;
                    }
                    const int anchoReset = reset->sizeHint().width();
                    const int derecha = reset->parentWidget()->width() - 2;
                    reset->setGeometry(derecha - anchoReset, lugarReset.y(), anchoReset, lugarReset.height());
                    contador->setGeometry(reset->x() - 4 - ancho, lugarReset.y(), ancho, lugar.height());
                });
    }

    // The result frames of each page: weight, material, centre thickness, diameter.
    struct Marco {
        int pagina;
        const char* nombre;
        const char* titulo;
        int x, y;
        const char* caja;
        const char* unidad;
        const char* textoUnidad;
    };
    const Marco marcos[] = {
        {0, "SSFrame2", "Peso", 120, 1320, "Tx_CurvaBase_Peso", "Label4", "Grs."},
        {0, "SSFrame3", "Material", 1350, 1320, "Tx_CurvaBase_Material", nullptr, nullptr},
        {0, "SSFrame4", "Esp. Central", 120, 1950, "Tx_CurvaBase_EspesorCentral", "Label5", "mm."},
        {0, "SSFrame7", "Diámetro", 1350, 1950, "Tx_CurvaBase_Diametro", nullptr, nullptr},
        {1, "SSFrame8", "Peso", 120, 1320, "Tx_Indice_Peso", "Label8", "Grs."},
        {1, "SSFrame1", "Material", 1350, 1320, "Tx_Indice_Material", nullptr, nullptr},
        {1, "SSFrame9", "Esp. Central", 120, 1950, "Tx_Indice_EspesorCentral", "Label9", "mm."},
        {1, "SSFrame10", "Diámetro", 1350, 1950, "Tx_Indice_Diametro", nullptr, nullptr},
        {2, "SSFrame5", "Peso", 120, 1320, "Tx_Diametro_Peso", "Label6", "Grs."},
        {2, "SSFrame6", "Esp. Central", 120, 1950, "Tx_Diametro_EspesorCentral", "Label7", "mm."},
    };
    for (const Marco& m : marcos) {
        QWidget* g = marco(paginas[m.pagina], m.nombre, m.titulo, enPagina(m.x, m.y, 1170, 585));
        caja(g, m.caja, Twips(90, 225, m.unidad ? 705 : 990, 285), tintas[m.pagina]);
        if (m.unidad)
            etiqueta(g, m.unidad, m.textoUnidad, Twips(825, 255, 330, 255), QColor(0, 0, 0));
    }
    auto* memoria = new QCheckBox(QStringLiteral("Memoria"), paginas[0]);
    registrar(memoria, "Check_Memoria");
    memoria->setGeometry(enPagina(150, 2610, 1200, 255));
    // As wide as its caption, so that nothing beside it covers the box.
    memoria->resize(memoria->sizeHint().width(), memoria->height());

    // The message lines and the readouts over the drawing.
    auto linea = [&](const char* nombre, QRect lugar, QColor texto) {
        auto* t = new QPlainTextEdit(this);
        registrar(t, nombre);
        t->setGeometry(lugar);
        t->setReadOnly(true);
        t->setFrameShape(QFrame::NoFrame);
        t->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        t->document()->setDocumentMargin(2);
        Colorear(t, kFondo, texto);
        return t;
    };
    linea("SalidaTxt", Twips(45, 3060, 3525, 825), QColor(255, 128, 255));
    linea("SalidaTxt2", Twips(30, 3915, 3525, 420), QColor(128, 255, 255));
    etiqueta(this, "Label_DiseñoDinamico", "Diseño Dinámico", Twips(4230, 90, 1800, 255), QColor(255, 255, 0));
    const QString tipEspesor = QStringLiteral("Indica el espesor de la lente en la posición actual del cursor.");
    const QString tipDiametro = QStringLiteral(
        "Indica el valor del diámetro que tendrá la lente desde el centro hasta la posición del cursor.");
    const QString tipPlaca = QStringLiteral("Aproximación provista por la placa de video:+/- 0.2 mm");
    // The readout labels end just before their boxes, whatever the face's width.
    auto aLaDerecha = [](QLabel* l) {
        l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        return l;
    };
    aLaDerecha(etiqueta(this, "Label_EspesorDinamico", "Espesor en el cursor:", Twips(5640, 180, 2070, 255)))
        ->setToolTip(tipEspesor);
    caja(this, "Text_EspDinamico", Twips(7770, 60, 480, 315), Qt::white, QColor(0, 0, 255))->setToolTip(tipEspesor);
    aLaDerecha(etiqueta(this, "Label_DiametroDinamico", "Diámetro:", Twips(6540, 540, 1170, 255)))
        ->setToolTip(tipDiametro);
    caja(this, "Text_DiametroDinamico", Twips(7770, 420, 480, 315), Qt::white, QColor(0, 0, 255))
        ->setToolTip(tipDiametro);
    QLabel* lectura = aLaDerecha(etiqueta(this, "Label10", "Espesor en el cursor:", Twips(5640, 4530, 2070, 255)));
    lectura->setToolTip(tipPlaca);
    caja(this, "Text2", Twips(7770, 4410, 480, 315), Qt::white)->setToolTip(tipPlaca);

    QLineEdit* texto1 = caja(this, "Text1", Twips(1215, 4455, 2175, 420), kFondo, Qt::white);
    texto1->setFrame(false);
    // The back face's radius in the drawing's units, named while it shows;
    // the box moves right as far as its label needs. Beside it, when the row
    // has room before the readout at its right end, the radius in millimetres.
    QLabel* dibujo = etiqueta(this, "Label_RadioDibujo", "Radio en el dibujo:", Twips(45, 4455, 1140, 420), Qt::white);
    dibujo->resize(dibujo->sizeHint().width(), dibujo->height());
    texto1->move(std::max(texto1->x(), dibujo->geometry().right() + 4), texto1->y());
    QLabel* real = etiqueta(this, "Label_RadioReal", "Radio real:", texto1->geometry(), Qt::white);
    real->resize(real->sizeHint().width(), real->height());
    const QString cifra = QStringLiteral("00,000.00 mm");
    QLineEdit* milimetros = caja(this, Perfil::kRadioPosterior.data(), texto1->geometry(), kFondo, Qt::white);
    milimetros->setFrame(false);
    milimetros->resize(milimetros->fontMetrics().horizontalAdvance(cifra) + 8, texto1->height());
    const int libre = lectura->geometry().right() - lectura->fontMetrics().horizontalAdvance(lectura->text());
    real->move(texto1->geometry().right() + 6, texto1->y());
    milimetros->move(real->geometry().right() + 4, texto1->y());
    const bool cabe = milimetros->geometry().right() < libre - 4;
    for (QWidget* w : {static_cast<QWidget*>(dibujo), static_cast<QWidget*>(real), static_cast<QWidget*>(milimetros)})
        w->hide();
    connect(texto1, &QLineEdit::textChanged, this, [dibujo, real, milimetros, cabe](const QString& t) {
        const bool hay = !t.trimmed().isEmpty();
        dibujo->setVisible(hay);
        real->setVisible(hay && cabe);
        milimetros->setVisible(hay && cabe);
    });
}

void Frm_DibujaVantoras::Form_Load()
{
    move(TwipsPunto(3600, 3280));
    m_modificacion.Form_Load();
}

void Frm_DibujaVantoras::SSCommand1_Click() { m_modificacion.SSCommand1_Click(); }
void Frm_DibujaVantoras::SSCommand2_Click() { m_modificacion.SSCommand2_Click(); }
void Frm_DibujaVantoras::SSCommand3_Click() { m_modificacion.SSCommand3_Click(); }
void Frm_DibujaVantoras::SSTab_Modifico_GotFocus() { m_modificacion.SSTab_Modifico_GotFocus(); }
void Frm_DibujaVantoras::HScroll_ModificoBase_Change() { m_modificacion.HScroll_ModificoBase_Change(); }
void Frm_DibujaVantoras::HScroll_ModificoDiametro_Change() { m_modificacion.HScroll_ModificoDiametro_Change(); }
void Frm_DibujaVantoras::HScroll_ModificoIndice_Change() { m_modificacion.HScroll_ModificoIndice_Change(); }
void Frm_DibujaVantoras::SSCommand_CurvaBaseFoto_Click() { m_modificacion.SSCommand_Foto_Click(); }
void Frm_DibujaVantoras::SSCommand_IndiceFoto_Click() { m_modificacion.SSCommand_Foto_Click(); }
void Frm_DibujaVantoras::SSCommand_DiametroFoto_Click() { m_modificacion.SSCommand_Foto_Click(); }

void Frm_DibujaVantoras::Form_MouseMove(float X, float Y)
{
    setCursor(m_modificacion.Form_MouseMove(X, Y) ? Qt::CrossCursor : Qt::ArrowCursor);
}

void Frm_DibujaVantoras::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.drawImage(0, 0, m_lienzo.imagen());
}

void Frm_DibujaVantoras::mouseMoveEvent(QMouseEvent* evento)
{
    // The position in the drawing's frame of 300 × 200 units.
    const QPointF donde = evento->position();
    Form_MouseMove(static_cast<float>(donde.x() * 300.0 / LienzoImagen::kAncho),
                   static_cast<float>(donde.y() * 200.0 / LienzoImagen::kAlto));
}

bool Frm_DibujaVantoras::event(QEvent* evento)
{
    // A box that opens while a bar's arrow is held takes the release: the
    // bar's repeat stops here, or it would step on behind the box and run its
    // handler again while the handler's own box waits.
    if (evento->type() == QEvent::WindowBlocked)
        for (QScrollBar* b : std::as_const(m_barras))
            static_cast<Barra*>(b)->DetenerRepeticion();
    return QWidget::event(evento);
}

bool Frm_DibujaVantoras::eventFilter(QObject* objeto, QEvent* evento)
{
    if (objeto == m_pestanas->tabBar() && evento->type() == QEvent::FocusIn)
        SSTab_Modifico_GotFocus();
    return QWidget::eventFilter(objeto, evento);
}
