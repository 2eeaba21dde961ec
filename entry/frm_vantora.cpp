#include "frm_vantora.h"

#include "archivos_diseno.h"
#include "controles.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>

namespace {

// Positions and sizes are laid out in twips, 15 to a pixel at 96 dots per inch.
QRect twips(int izquierda, int arriba, int ancho, int alto)
{
    return QRect(qRound(izquierda / 15.0), qRound(arriba / 15.0), qRound(ancho / 15.0), qRound(alto / 15.0));
}

QString q(std::string_view texto) { return QString::fromUtf8(texto.data(), static_cast<qsizetype>(texto.size())); }

void colorear(QWidget* w, const QColor& fondo, const QColor& texto = QColor())
{
    QPalette p = w->palette();
    p.setColor(QPalette::Base, fondo);
    p.setColor(QPalette::Button, fondo);
    if (texto.isValid()) {
        p.setColor(QPalette::Text, texto);
        p.setColor(QPalette::ButtonText, texto);
    }
    w->setPalette(p);
}

constexpr char kClaveCaja[] = "vantoraCajaDeTexto";

} // namespace

Frm_Vantora::Frm_Vantora(EstadoDiseno& estado, Dialogos& dialogos, Catalogo& catalogo,
                         const CarpetaDatos& carpeta, QWidget* parent)
    : QWidget(parent),
      m_estado(estado),
      m_dialogos(dialogos),
      m_carpeta(carpeta),
      m_motor(estado, *this, dialogos, catalogo),
      m_campos(estado, *this, dialogos),
      m_terminar([] { QCoreApplication::exit(0); })
{
    construir();
    Form_Load();
}

void Frm_Vantora::construir()
{
    setObjectName("Frm_Vantora");
    setWindowTitle(QStringLiteral("Diseño de lentes Vantoras"));
    // The form was drawn for a narrow 8-point face; 7.5 points of the usual
    // sans-serif faces keep every caption inside its button.
    QFont fuente(QStringLiteral("MS Sans Serif"));
    fuente.setPointSizeF(7.5);
    fuente.setStyleHint(QFont::SansSerif);
    setFont(fuente);
    setFixedSize(twips(0, 0, 4995, 5910).size());

    auto registrar = [this](QWidget* w, const char* nombre) {
        w->setObjectName(QString::fromLatin1(nombre));
        m_controles.insert(w->objectName(), w);
        return w;
    };
    auto marco = [&](QWidget* padre, const char* nombre, const QString& titulo, QRect lugar,
                     void (Frm_Vantora::*pista)()) {
        auto* g = new QGroupBox(titulo, padre);
        registrar(g, nombre);
        g->setGeometry(lugar);
        if (pista) {
            g->setMouseTracking(true);
            g->installEventFilter(this);
            m_pistas.insert(g, [this, pista] { (this->*pista)(); });
        }
        return g;
    };
    auto caja = [&](QWidget* padre, const char* nombre, QRect lugar) {
        auto* t = new QLineEdit(padre);
        registrar(t, nombre);
        t->setGeometry(lugar);
        t->setProperty(kClaveCaja, true);
        return t;
    };
    auto etiqueta = [&](QWidget* padre, const char* nombre, const QString& texto, QRect lugar) {
        auto* l = new QLabel(texto, padre);
        registrar(l, nombre);
        l->setGeometry(lugar);
    };
    auto boton = [&](QWidget* padre, const char* nombre, const QString& texto, QRect lugar,
                     void (Frm_Vantora::*clic)(), void (Frm_Vantora::*tecla)(int)) {
        auto* b = new QPushButton(texto, padre);
        registrar(b, nombre);
        b->setGeometry(lugar);
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, [this, clic] { (this->*clic)(); });
        if (tecla) {
            b->installEventFilter(this);
            m_teclasBoton.insert(b, [this, tecla](int k) { (this->*tecla)(k); });
        }
        return b;
    };

    QWidget* f1 = marco(this, "SSFrame1", QStringLiteral("Parámetros de diseño óptico"), twips(60, 60, 4845, 5040),
                        &Frm_Vantora::SSFrame1_MouseMove);

    QWidget* base = marco(f1, "SSFrame_CurvaBase", QStringLiteral("Curva Base Crown"), twips(90, 390, 1575, 675),
                          &Frm_Vantora::SSFrame_CurvaBase_MouseMove);
    colorear(caja(base, "Tx_BaseCrown", twips(270, 270, 1110, 315)), QColor(192, 255, 192));

    QWidget* material = marco(f1, "SSFrame2", QStringLiteral("Material"), twips(1710, 390, 1515, 675),
                              &Frm_Vantora::SSFrame2_MouseMove);
    auto* combo = new QComboBox(material);
    registrar(combo, "Combo_Materiales");
    combo->setGeometry(twips(90, 270, 1335, 315));
    colorear(combo, QColor(192, 255, 255));
    combo->installEventFilter(this);

    QWidget* borde = marco(f1, "SSFrame7", QStringLiteral("Espesor Borde"), twips(3285, 390, 1365, 675),
                           &Frm_Vantora::SSFrame7_MouseMove);
    caja(borde, "Tx_EspesorBorde", twips(135, 270, 1005, 315));

    QWidget* poder = marco(f1, "SSFrame4", QStringLiteral("Poder de Vertice "), twips(90, 1110, 1575, 675),
                           &Frm_Vantora::SSFrame4_MouseMove);
    colorear(caja(poder, "Tx_PoderVertice", twips(180, 270, 1125, 315)), QColor(224, 224, 224));

    QWidget* diametro = marco(f1, "SSFrame_DiametroInicial", QStringLiteral("Diámetro"),
                              twips(1710, 1110, 1515, 675), &Frm_Vantora::SSFrame_DiametroInicial_MouseMove);
    colorear(caja(diametro, "Tx_DiametroInicial", twips(150, 270, 1095, 315)), QColor(255, 192, 192),
             QColor(64, 64, 64));

    QWidget* central = marco(f1, "SSFrame3", QStringLiteral("Espesor  Central"), twips(3285, 1110, 1395, 675),
                             &Frm_Vantora::SSFrame3_MouseMove);
    caja(central, "Tx_EspesorCentral", twips(90, 270, 1065, 315));

    // Shows the material chosen in the materials window over the list.
    QLineEdit* elegido = caja(f1, "Text_MaterialBaseDatos", twips(1800, 630, 1365, 345));
    colorear(elegido, QColor(255, 255, 0), QColor(0, 0, 128));
    elegido->raise();

    QWidget* panel = marco(f1, "SSPanel1", QStringLiteral("Información de salida"), twips(120, 1890, 3165, 2355),
                           nullptr);
    QWidget* curvas = marco(panel, "SSFrame5", QStringLiteral("Poder de Curva "), twips(90, 270, 1365, 1785),
                            &Frm_Vantora::SSFrame5_MouseMove);
    caja(curvas, "Tx_PcurvaExt", twips(120, 360, 690, 285));
    etiqueta(curvas, "Label_CaraExterna", QStringLiteral("Cara Externa"), twips(120, 675, 1200, 255));
    caja(curvas, "Tx_PcurvaInt", twips(120, 1080, 720, 285));
    etiqueta(curvas, "Label_CaraInterna", QStringLiteral("Cara Interna"), twips(120, 1395, 1200, 255));
    QWidget* geometria = marco(panel, "SSFrame6", QStringLiteral("Geometría Interna"), twips(1560, 270, 1515, 1785),
                               &Frm_Vantora::SSFrame6_MouseMove);
    caja(geometria, "Tx_RadioIndice", twips(120, 390, 885, 285));
    etiqueta(geometria, "Label_RadioIndice", QStringLiteral("Radio al indice"), twips(120, 705, 1350, 255));
    caja(geometria, "Tx_Radio1523", twips(120, 1080, 885, 285));
    etiqueta(geometria, "Label_Molde1523", QStringLiteral("Molde 1.523"), twips(120, 1395, 1350, 255));

    boton(f1, "Command_Calcular", QStringLiteral("Calcular"), twips(3330, 1890, 1305, 585),
          &Frm_Vantora::Command_Calcular_Click, &Frm_Vantora::Command_Calcular_KeyPress);
    boton(f1, "SSCommand_Base", QStringLiteral("Abre Productos"), twips(3330, 2520, 1305, 435),
          &Frm_Vantora::SSCommand_Base_Click, nullptr);
    boton(f1, "SSCommandGuardar", QStringLiteral("Guardar Datos"), twips(135, 4275, 1170, 375),
          &Frm_Vantora::SSCommandGuardar_Click, &Frm_Vantora::SSCommandGuardar_KeyPress);
    boton(f1, "SSCommandGraficar", QStringLiteral("Graficar"), twips(1350, 4275, 1170, 375),
          &Frm_Vantora::SSCommandGraficar_Click, &Frm_Vantora::SSCommandGraficar_KeyPress);
    boton(f1, "Limpiar_Cmd", QStringLiteral("Limpiar"), twips(2565, 4275, 720, 375),
          &Frm_Vantora::Limpiar_Cmd_Click, &Frm_Vantora::Limpiar_Cmd_KeyPress);
    boton(f1, "Salir_Cmd", QStringLiteral("Cerrar Diseño Vantoras"), twips(135, 4680, 2385, 285),
          &Frm_Vantora::Salir_Cmd_Click, &Frm_Vantora::Salir_Cmd_KeyPress);

    auto* salida = new QPlainTextEdit(this);
    registrar(salida, "SalidaTxt");
    salida->setGeometry(twips(90, 5175, 3300, 645));
    salida->setProperty(kClaveCaja, true);
    salida->setReadOnly(true);
    salida->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    colorear(salida, QColor(0, 128, 128), QColor(255, 255, 255));
    QFont serif(QStringLiteral("MS Serif"), 8);
    serif.setStyleHint(QFont::Serif);
    salida->setFont(serif);

    // The Enter key and the double-click of the five input boxes.
    const std::pair<std::string_view, Caja> cajas[] = {
        {ctl::Tx_BaseCrown, {&Frm_Vantora::Tx_BaseCrown_KeyPress, &Frm_Vantora::Tx_BaseCrown_DblClick}},
        {ctl::Tx_EspesorBorde, {&Frm_Vantora::Tx_EspesorBorde_KeyPress, &Frm_Vantora::Tx_EspesorBorde_DblClick}},
        {ctl::Tx_PoderVertice, {&Frm_Vantora::Tx_PoderVertice_KeyPress, &Frm_Vantora::Tx_PoderVertice_DblClick}},
        {ctl::Tx_DiametroInicial,
         {&Frm_Vantora::Tx_DiametroInicial_KeyPress, &Frm_Vantora::Tx_DiametroInicial_DblClick}},
        {ctl::Tx_EspesorCentral,
         {&Frm_Vantora::Tx_EspesorCentral_KeyPress, &Frm_Vantora::Tx_EspesorCentral_DblClick}},
    };
    for (const auto& [nombre, manejadores] : cajas) {
        QWidget* caja = control(nombre);
        caja->installEventFilter(this);
        m_cajas.insert(caja, manejadores);
    }

    // The order in which the form leads the optician.
    QWidget::setTabOrder(control(ctl::Tx_BaseCrown), combo);
    QWidget::setTabOrder(combo, control(ctl::Tx_EspesorBorde));
    QWidget::setTabOrder(control(ctl::Tx_EspesorBorde), control(ctl::Tx_PoderVertice));
    QWidget::setTabOrder(control(ctl::Tx_PoderVertice), control(ctl::Tx_DiametroInicial));
    QWidget::setTabOrder(control(ctl::Tx_DiametroInicial), control(ctl::Command_Calcular));
    QWidget::setTabOrder(control(ctl::Command_Calcular), control(ctl::SSCommandGuardar));
    QWidget::setTabOrder(control(ctl::SSCommandGuardar), control(ctl::SSCommandGraficar));
    QWidget::setTabOrder(control(ctl::SSCommandGraficar), m_controles.value("Limpiar_Cmd"));
    QWidget::setTabOrder(m_controles.value("Limpiar_Cmd"), m_controles.value("SSCommand_Base"));
    QWidget::setTabOrder(m_controles.value("SSCommand_Base"), control(ctl::Tx_EspesorCentral));
    QWidget::setTabOrder(control(ctl::Tx_EspesorCentral), m_controles.value("Salir_Cmd"));
}

void Frm_Vantora::Form_Load()
{
    m_motor.CargarMateriales();
    static_cast<QComboBox*>(control(ctl::Combo_Materiales))->setCurrentIndex(-1);
    move(twips(200, 400, 0, 0).topLeft());
    control(ctl::Text_MaterialBaseDatos)->hide();
    control(ctl::Tx_BaseCrown)->setFocus();
}

// --- Pantalla ---------------------------------------------------------------

QWidget* Frm_Vantora::control(std::string_view nombre) const
{
    // The engine names only controls of this window; in a release build an
    // unknown name is ignored by the callers rather than allowed to bring the
    // window down.
    QWidget* w = m_controles.value(q(nombre));
    Q_ASSERT_X(w, "Frm_Vantora", "control desconocido");
    return w;
}

std::string Frm_Vantora::Texto(std::string_view nombre) const
{
    QWidget* w = control(nombre);
    if (auto* t = qobject_cast<QLineEdit*>(w))
        return t->text().toStdString();
    if (auto* c = qobject_cast<QComboBox*>(w))
        return c->currentText().toStdString();
    if (auto* p = qobject_cast<QPlainTextEdit*>(w))
        return p->toPlainText().toStdString();
    return {};
}

void Frm_Vantora::PonerTexto(std::string_view nombre, std::string_view texto)
{
    QWidget* w = control(nombre);
    if (auto* t = qobject_cast<QLineEdit*>(w)) {
        t->setText(q(texto));
        t->setCursorPosition(0);
    } else if (auto* p = qobject_cast<QPlainTextEdit*>(w)) {
        p->setPlainText(q(texto));
    }
}

void Frm_Vantora::PonerColorTexto(std::string_view nombre, Color color)
{
    QWidget* w = control(nombre);
    if (!w)
        return;
    QPalette p = w->palette();
    p.setColor(QPalette::Text, QColor(color.r, color.g, color.b));
    w->setPalette(p);
}

void Frm_Vantora::PonerVisible(std::string_view nombre, bool visible)
{
    if (QWidget* w = control(nombre))
        w->setVisible(visible);
}

void Frm_Vantora::AgregarALista(std::string_view nombre, std::string_view elemento)
{
    auto* c = qobject_cast<QComboBox*>(control(nombre));
    if (!c)
        return;
    const int actual = c->currentIndex();
    c->addItem(q(elemento));
    // Adding to the list never changes the material shown.
    c->setCurrentIndex(actual);
}

void Frm_Vantora::Enfocar(std::string_view nombre)
{
    if (QWidget* w = control(nombre))
        w->setFocus(Qt::OtherFocusReason);
}

// --- Locking and clearing ---------------------------------------------------

QList<QWidget*> Frm_Vantora::cajasDeTexto() const
{
    QList<QWidget*> cajas;
    for (QWidget* w : m_controles)
        if (w->property(kClaveCaja).toBool())
            cajas << w;
    return cajas;
}

void Frm_Vantora::InhabilitarCajas()
{
    for (QWidget* w : cajasDeTexto())
        w->setEnabled(false);
    control(ctl::Text_MaterialBaseDatos)->setEnabled(true);
}

void Frm_Vantora::HabilitarCajas()
{
    for (QWidget* w : cajasDeTexto())
        w->setEnabled(true);
}

void Frm_Vantora::Limpiar_Cmd_Click()
{
    HabilitarCajas();
    Limpiar_Cmd_KeyPress(0);
    m_estado.EspesorMostrado = 0;
    control(ctl::Text_MaterialBaseDatos)->hide();
    m_estado.MaterialDeBase = "No";
}

void Frm_Vantora::Limpiar_Cmd_KeyPress(int)
{
    for (std::string_view caja : {ctl::Tx_BaseCrown, ctl::Tx_EspesorBorde, ctl::Tx_EspesorCentral, ctl::Tx_PoderVertice,
                                  ctl::Tx_DiametroInicial, ctl::Tx_PcurvaExt, ctl::Tx_RadioIndice, ctl::Tx_PcurvaInt,
                                  ctl::Tx_Radio1523})
        PonerTexto(caja, "");
    Enfocar(ctl::Tx_BaseCrown);
}

// --- Input boxes ------------------------------------------------------------

void Frm_Vantora::Tx_PoderVertice_KeyPress(int KeyAscii)
{
    if (KeyAscii == 13)
        m_campos.PoderVertice(true);
}
void Frm_Vantora::Tx_PoderVertice_DblClick() { m_campos.PoderVertice(false); }
void Frm_Vantora::Tx_DiametroInicial_KeyPress(int KeyAscii)
{
    if (KeyAscii == 13)
        m_campos.DiametroInicial(true);
}
void Frm_Vantora::Tx_DiametroInicial_DblClick() { m_campos.DiametroInicial(false); }
void Frm_Vantora::Tx_BaseCrown_KeyPress(int KeyAscii)
{
    if (KeyAscii == 13)
        m_campos.BaseCrown(true);
}
void Frm_Vantora::Tx_BaseCrown_DblClick() { m_campos.BaseCrown(false); }
void Frm_Vantora::Tx_EspesorBorde_KeyPress(int KeyAscii)
{
    if (KeyAscii == 13)
        m_campos.EspesorBorde(true);
}
void Frm_Vantora::Tx_EspesorBorde_DblClick() { m_campos.EspesorBorde(false); }
void Frm_Vantora::Tx_EspesorCentral_KeyPress(int KeyAscii)
{
    if (KeyAscii == 13)
        m_campos.EspesorCentral(true);
}
void Frm_Vantora::Tx_EspesorCentral_DblClick() { m_campos.EspesorCentral(false); }
void Frm_Vantora::Combo_Materiales_KeyPress(int) { m_campos.Material(); }

// --- Commands ---------------------------------------------------------------

void Frm_Vantora::Command_Calcular_Click() { m_motor.CalcularCompleto(); }
void Frm_Vantora::Command_Calcular_KeyPress(int) { m_motor.RecalcularSuperficies(); }

void Frm_Vantora::SSCommandGuardar_Click() { guardar(); }
void Frm_Vantora::SSCommandGuardar_KeyPress(int) { guardar(); }

void Frm_Vantora::guardar()
{
    if (const auto falla = GuardarDatos(m_carpeta, m_estado)) {
        m_dialogos.Mensaje(FallaArchivo::kTitulo, falla->Texto(), Icono::Critico);
        return;
    }
    Enfocar(ctl::SSCommandGraficar);
}

void Frm_Vantora::SSCommandGraficar_Click()
{
    if (m_graficar)
        m_graficar(true);
}
void Frm_Vantora::SSCommandGraficar_KeyPress(int)
{
    if (m_graficar)
        m_graficar(false);
}

void Frm_Vantora::SSCommand_Base_Click()
{
    if (m_abrirProductos)
        m_abrirProductos();
}

void Frm_Vantora::Salir_Cmd_Click() { salir(); }
void Frm_Vantora::Salir_Cmd_KeyPress(int) { salir(); }

void Frm_Vantora::salir()
{
    if (m_saliendo)
        return;
    m_saliendo = true;
    // The other programs of the installation wait for the last design and the
    // end marker; a file that cannot be written is reported, and the program
    // ends all the same.
    for (const FallaArchivo& falla : GrabarArchivosDeCierre(m_carpeta, m_estado))
        m_dialogos.Mensaje(FallaArchivo::kTitulo, falla.Texto(), Icono::Critico);
    m_terminar();
}

void Frm_Vantora::closeEvent(QCloseEvent* evento)
{
    salir();
    evento->accept();
}

// --- Hints ------------------------------------------------------------------

void Frm_Vantora::SSFrame_CurvaBase_MouseMove()
{
    PonerTexto(ctl::SalidaTxt, "Ingrese la Curva Base de la lente. Si no la conoce Vexlor le sugerirá una.");
}
void Frm_Vantora::SSFrame_DiametroInicial_MouseMove()
{
    PonerTexto(ctl::SalidaTxt, "Indique el diámetro a solicitar de la lente terminada.");
}
void Frm_Vantora::SSFrame1_MouseMove() { PonerTexto(ctl::SalidaTxt, " "); }
void Frm_Vantora::SSFrame2_MouseMove()
{
    PonerTexto(ctl::SalidaTxt,
               "Seleccione un material de la lista, o abra la Base de Datos de materiales para seleccionar uno.");
}
void Frm_Vantora::SSFrame3_MouseMove()
{
    PonerTexto(ctl::SalidaTxt, "Los recursos del Sistema Vexlor calcularán el espesor central necesario.");
}
void Frm_Vantora::SSFrame4_MouseMove()
{
    PonerTexto(ctl::SalidaTxt, "Indique el Poder Esf. solicitado en la receta.");
}
void Frm_Vantora::SSFrame5_MouseMove()
{
    PonerTexto(ctl::SalidaTxt, "Se presentan los poderes de curva en dioptrias de cada cara. Utilice estos valores "
                               "para modificar sus diseños.");
}
void Frm_Vantora::SSFrame6_MouseMove()
{
    PonerTexto(ctl::SalidaTxt,
               "Se presentan el radio de la superficie posterior y su poder de curva para n:1.523");
}
void Frm_Vantora::SSFrame7_MouseMove()
{
    PonerTexto(ctl::SalidaTxt, "Indique el espesor de borde requerido a la lente terminada.");
}

// --- Event routing ----------------------------------------------------------

bool Frm_Vantora::eventFilter(QObject* objeto, QEvent* evento)
{
    switch (evento->type()) {
    case QEvent::MouseMove: {
        // A hint belongs to the frame's own surface, not to the controls on it.
        const auto pista = m_pistas.constFind(objeto);
        if (pista != m_pistas.constEnd()) {
            auto* marco = static_cast<QWidget*>(objeto);
            const QPoint donde = static_cast<QMouseEvent*>(evento)->position().toPoint();
            if (!marco->childAt(donde))
                (*pista)();
        }
        break;
    }
    case QEvent::MouseButtonDblClick: {
        const auto caja = m_cajas.constFind(objeto);
        if (caja != m_cajas.constEnd())
            (this->*caja->dobleClic)();
        break;
    }
    case QEvent::KeyPress: {
        auto* tecla = static_cast<QKeyEvent*>(evento);
        const bool enter = tecla->key() == Qt::Key_Return || tecla->key() == Qt::Key_Enter;
        const bool navegacion = tecla->key() == Qt::Key_Tab || tecla->key() == Qt::Key_Backtab;
        const int ascii = enter ? 13 : (tecla->text().isEmpty() ? 0 : tecla->text().at(0).unicode());
        if (navegacion || ascii == 0)
            break;
        // A key on a command runs its key handler instead of a click.
        const auto boton = m_teclasBoton.constFind(objeto);
        if (boton != m_teclasBoton.constEnd()) {
            (*boton)(ascii);
            return true;
        }
        // The list reacts to every key, then takes it as usual.
        if (objeto == control(ctl::Combo_Materiales)) {
            Combo_Materiales_KeyPress(ascii);
            break;
        }
        // The boxes act on Enter only; other keys are typed as usual.
        const auto caja = m_cajas.constFind(objeto);
        if (caja != m_cajas.constEnd() && enter) {
            (this->*caja->tecla)(13);
            return true;
        }
        break;
    }
    default:
        break;
    }
    return QWidget::eventFilter(objeto, evento);
}
