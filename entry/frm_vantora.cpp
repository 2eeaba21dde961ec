#include "frm_vantora.h"

#include "archivos_diseno.h"
#include "botones.h"
#include "colores_qt.h"
#include "consejos.h"
#include "controles.h"
#include "texto_qt.h"
#include "twips.h"

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

using namespace consejos;

namespace {

constexpr std::string_view kTituloNoGuardado = "No se guardó el diseño";
constexpr std::string_view kTextoNoGuardado =
    "El último cálculo no tuvo éxito: la lente de muestra que cargó la recuperación no corresponde a los datos "
    "ingresados, por lo que no se guarda. Revise los datos y calcule nuevamente antes de guardar.";

} // namespace

Frm_Vantora::Frm_Vantora(EstadoDiseno& estado, Motor& motor, PantallaWidgets& pantalla, Dialogos& dialogos,
                         const CarpetaDatos& carpeta, QWidget* parent)
    : QWidget(parent),
      m_estado(estado),
      m_motor(motor),
      m_pantalla(pantalla),
      m_dialogos(dialogos),
      m_carpeta(carpeta),
      m_campos(estado, pantalla, dialogos),
      m_terminar([] { QCoreApplication::exit(0); })
{
    construir();
    Form_Load();
}

void Frm_Vantora::construir()
{
    setObjectName("Frm_Vantora");
    m_pantalla.PonerVentana(this);
    setWindowTitle(QStringLiteral("Diseño de lentes Vantoras"));
    // The form was drawn for a narrow 8-point face; 7.5 points of the usual
    // sans-serif faces keep every caption inside its button.
    QFont fuente(QStringLiteral("MS Sans Serif"));
    fuente.setPointSizeF(7.5);
    fuente.setStyleHint(QFont::SansSerif);
    setFont(fuente);
    setFixedSize(Twips(0, 0, 4995, 5910).size());

    auto registrar = [this](QWidget* w, const char* nombre) {
        w->setObjectName(QString::fromLatin1(nombre));
        m_pantalla.Registrar(w);
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
        m_cajasDeTexto << t;
        return t;
    };
    auto etiqueta = [&](QWidget* padre, const char* nombre, const QString& texto, QRect lugar) {
        auto* l = new QLabel(texto, padre);
        registrar(l, nombre);
        l->setGeometry(lugar);
    };
    auto boton = [&](QWidget* padre, const char* nombre, const QString& texto, QRect lugar, void (Frm_Vantora::*clic)(),
                     void (Frm_Vantora::*tecla)(int)) {
        auto* b = new QPushButton(texto, padre);
        registrar(b, nombre);
        b->setGeometry(lugar);
        b->setAutoDefault(false);
        std::function<void(int)> alTeclear;
        if (tecla)
            alTeclear = [this, tecla](int k) { (this->*tecla)(k); };
        ConectarBoton(
            b, [this, clic] { (this->*clic)(); }, alTeclear);
        return b;
    };

    QWidget* f1 = marco(this, "SSFrame1", QStringLiteral("Parámetros de diseño óptico"), Twips(60, 60, 4845, 5040),
                        &Frm_Vantora::SSFrame1_MouseMove);

    QWidget* base = marco(f1, "SSFrame_CurvaBase", QStringLiteral("Curva Base Crown"), Twips(90, 390, 1575, 675),
                          &Frm_Vantora::SSFrame_CurvaBase_MouseMove);
    Colorear(caja(base, "Tx_BaseCrown", Twips(270, 270, 1110, 315)), QColor(192, 255, 192));

    QWidget* material = marco(f1, "SSFrame2", QStringLiteral("Material"), Twips(1710, 390, 1515, 675),
                              &Frm_Vantora::SSFrame2_MouseMove);
    auto* combo = new QComboBox(material);
    registrar(combo, "Combo_Materiales");
    combo->setGeometry(Twips(90, 270, 1335, 315));
    Colorear(combo, QColor(192, 255, 255));
    combo->installEventFilter(this);

    QWidget* borde = marco(f1, "SSFrame7", QStringLiteral("Espesor Borde"), Twips(3285, 390, 1365, 675),
                           &Frm_Vantora::SSFrame7_MouseMove);
    caja(borde, "Tx_EspesorBorde", Twips(135, 270, 1005, 315));

    QWidget* poder = marco(f1, "SSFrame4", QStringLiteral("Poder de Vertice "), Twips(90, 1110, 1575, 675),
                           &Frm_Vantora::SSFrame4_MouseMove);
    Colorear(caja(poder, "Tx_PoderVertice", Twips(180, 270, 1125, 315)), QColor(224, 224, 224));

    QWidget* diametro = marco(f1, "SSFrame_DiametroInicial", QStringLiteral("Diámetro"), Twips(1710, 1110, 1515, 675),
                              &Frm_Vantora::SSFrame_DiametroInicial_MouseMove);
    Colorear(caja(diametro, "Tx_DiametroInicial", Twips(150, 270, 1095, 315)), QColor(255, 192, 192),
             QColor(64, 64, 64));

    QWidget* central = marco(f1, "SSFrame3", QStringLiteral("Espesor  Central"), Twips(3285, 1110, 1395, 675),
                             &Frm_Vantora::SSFrame3_MouseMove);
    caja(central, "Tx_EspesorCentral", Twips(90, 270, 1065, 315));

    // Shows the material chosen in the materials window over the list.
    QLineEdit* elegido = caja(f1, "Text_MaterialBaseDatos", Twips(1800, 630, 1365, 345));
    Colorear(elegido, QColor(255, 255, 0), QColor(0, 0, 128));
    elegido->raise();

    QWidget* panel =
        marco(f1, "SSPanel1", QStringLiteral("Información de salida"), Twips(120, 1890, 3165, 2355), nullptr);
    QWidget* curvas = marco(panel, "SSFrame5", QStringLiteral("Poder de Curva "), Twips(90, 270, 1365, 1785),
                            &Frm_Vantora::SSFrame5_MouseMove);
    caja(curvas, "Tx_PcurvaExt", Twips(120, 360, 690, 285));
    etiqueta(curvas, "Label_CaraExterna", QStringLiteral("Cara Externa"), Twips(120, 675, 1200, 255));
    caja(curvas, "Tx_PcurvaInt", Twips(120, 1080, 720, 285));
    etiqueta(curvas, "Label_CaraInterna", QStringLiteral("Cara Interna"), Twips(120, 1395, 1200, 255));
    QWidget* geometria = marco(panel, "SSFrame6", QStringLiteral("Geometría Interna"), Twips(1560, 270, 1515, 1785),
                               &Frm_Vantora::SSFrame6_MouseMove);
    caja(geometria, "Tx_RadioIndice", Twips(120, 390, 885, 285));
    etiqueta(geometria, "Label_RadioIndice", QStringLiteral("Radio al indice"), Twips(120, 705, 1350, 255));
    caja(geometria, "Tx_Radio1523", Twips(120, 1080, 885, 285));
    etiqueta(geometria, "Label_Molde1523", QStringLiteral("Molde 1.523"), Twips(120, 1395, 1350, 255));

    boton(f1, "Command_Calcular", QStringLiteral("Calcular"), Twips(3330, 1890, 1305, 585),
          &Frm_Vantora::Command_Calcular_Click, &Frm_Vantora::Command_Calcular_KeyPress);
    boton(f1, "SSCommand_Base", QStringLiteral("Abre Productos"), Twips(3330, 2520, 1305, 435),
          &Frm_Vantora::SSCommand_Base_Click, nullptr);
    boton(f1, "SSCommandGuardar", QStringLiteral("Guardar Datos"), Twips(135, 4275, 1170, 375),
          &Frm_Vantora::SSCommandGuardar_Click, &Frm_Vantora::SSCommandGuardar_KeyPress);
    boton(f1, "SSCommandGraficar", QStringLiteral("Graficar"), Twips(1350, 4275, 1170, 375),
          &Frm_Vantora::SSCommandGraficar_Click, &Frm_Vantora::SSCommandGraficar_KeyPress);
    boton(f1, "Limpiar_Cmd", QStringLiteral("Limpiar"), Twips(2565, 4275, 720, 375), &Frm_Vantora::Limpiar_Cmd_Click,
          &Frm_Vantora::Limpiar_Cmd_KeyPress);
    boton(f1, "Salir_Cmd", QStringLiteral("Cerrar Diseño Vantoras"), Twips(135, 4680, 2385, 285),
          &Frm_Vantora::Salir_Cmd_Click, &Frm_Vantora::Salir_Cmd_KeyPress);

    auto* salida = new QPlainTextEdit(this);
    registrar(salida, "SalidaTxt");
    salida->setGeometry(Twips(90, 5175, 3300, 645));
    m_cajasDeTexto << salida;
    salida->setReadOnly(true);
    // Every advice fits the box in the metric-compatible serif face the
    // scripts install; with any other face the box scrolls rather than cut it.
    salida->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    salida->setFrameShape(QFrame::NoFrame);
    salida->document()->setDocumentMargin(2);
    Colorear(salida, QColor(0, 128, 128), QColor(255, 255, 255));
    QFont serif(QStringLiteral("Liberation Serif"), 8);
    serif.setStyleHint(QFont::Serif);
    salida->setFont(serif);

    // The Enter key and the double-click of the five input boxes.
    const std::pair<std::string_view, Caja> cajas[] = {
        {ctl::Tx_BaseCrown, {&Frm_Vantora::Tx_BaseCrown_KeyPress, &Frm_Vantora::Tx_BaseCrown_DblClick}},
        {ctl::Tx_EspesorBorde, {&Frm_Vantora::Tx_EspesorBorde_KeyPress, &Frm_Vantora::Tx_EspesorBorde_DblClick}},
        {ctl::Tx_PoderVertice, {&Frm_Vantora::Tx_PoderVertice_KeyPress, &Frm_Vantora::Tx_PoderVertice_DblClick}},
        {ctl::Tx_DiametroInicial,
         {&Frm_Vantora::Tx_DiametroInicial_KeyPress, &Frm_Vantora::Tx_DiametroInicial_DblClick}},
        {ctl::Tx_EspesorCentral, {&Frm_Vantora::Tx_EspesorCentral_KeyPress, &Frm_Vantora::Tx_EspesorCentral_DblClick}},
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
    QWidget::setTabOrder(control(ctl::SSCommandGraficar), control("Limpiar_Cmd"));
    QWidget::setTabOrder(control("Limpiar_Cmd"), control("SSCommand_Base"));
    QWidget::setTabOrder(control("SSCommand_Base"), control(ctl::Tx_EspesorCentral));
    QWidget::setTabOrder(control(ctl::Tx_EspesorCentral), control("Salir_Cmd"));
}

void Frm_Vantora::Form_Load()
{
    m_motor.CargarMateriales();
    static_cast<QComboBox*>(control(ctl::Combo_Materiales))->setCurrentIndex(-1);
    move(Twips(200, 400, 0, 0).topLeft());
    control(ctl::Text_MaterialBaseDatos)->hide();
    control(ctl::Tx_BaseCrown)->setFocus();
}

// --- Pantalla ---------------------------------------------------------------

QWidget* Frm_Vantora::control(std::string_view nombre) const { return m_pantalla.Control(nombre); }

// --- Locking and clearing ---------------------------------------------------

void Frm_Vantora::InhabilitarCajas()
{
    for (QWidget* w : m_cajasDeTexto)
        w->setEnabled(false);
    control(ctl::Text_MaterialBaseDatos)->setEnabled(true);
}

void Frm_Vantora::HabilitarCajas()
{
    for (QWidget* w : m_cajasDeTexto)
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
    m_trabajo.clear();
    for (std::string_view caja :
         {ctl::Tx_BaseCrown, ctl::Tx_EspesorBorde, ctl::Tx_EspesorCentral, ctl::Tx_PoderVertice,
          ctl::Tx_DiametroInicial, ctl::Tx_PcurvaExt, ctl::Tx_RadioIndice, ctl::Tx_PcurvaInt, ctl::Tx_Radio1523})
        m_pantalla.PonerTexto(caja, "");
    m_pantalla.Enfocar(ctl::Tx_BaseCrown);
}

void Frm_Vantora::CargarTrabajo(const std::string& numero, const trabajos::OjoDeDiseno& ojo)
{
    // Nothing of the design before survives: the boxes, the centre
    // thickness shown once, a material chosen in the materials window.
    Limpiar_Cmd_Click();
    m_trabajo = numero;
    auto* lista = static_cast<QComboBox*>(control(ctl::Combo_Materiales));
    lista->setCurrentIndex(ojo.material.empty() ? -1 : lista->findText(Q(ojo.material), Qt::MatchFixedString));
    // Every box confirmed with Enter in the form's order, so that the design
    // state holds what the boxes show, an empty box included.
    const auto poner = [this](std::string_view caja, std::optional<double> valor, void (Frm_Vantora::*tecla)(int)) {
        m_pantalla.PonerTexto(caja, valor ? QString::number(*valor, 'f', 2).toStdString() : std::string());
        (this->*tecla)(13);
    };
    poner(ctl::Tx_BaseCrown, ojo.base, &Frm_Vantora::Tx_BaseCrown_KeyPress);
    Combo_Materiales_KeyPress(13);
    poner(ctl::Tx_EspesorBorde, ojo.borde, &Frm_Vantora::Tx_EspesorBorde_KeyPress);
    poner(ctl::Tx_PoderVertice, ojo.esfera, &Frm_Vantora::Tx_PoderVertice_KeyPress);
    poner(ctl::Tx_DiametroInicial, ojo.diametro, &Frm_Vantora::Tx_DiametroInicial_KeyPress);
    // The calculation would take the material or the diameter of the design
    // before: the optician gives them first.
    if (lista->currentText().isEmpty()) {
        Combo_Materiales_KeyPress(13);
        return;
    }
    if (!ojo.diametro)
        return;
    Command_Calcular_Click();
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

void Frm_Vantora::Command_Calcular_Click()
{
    if (m_motor.CalcularCompleto())
        InhabilitarCajas();
}
void Frm_Vantora::Command_Calcular_KeyPress(int) { m_motor.RecalcularSuperficies(); }

void Frm_Vantora::SSCommandGuardar_Click() { guardar(); }
void Frm_Vantora::SSCommandGuardar_KeyPress(int) { guardar(); }

void Frm_Vantora::guardar()
{
    // The boxes show the user's figures; a recovery's sample lens must not be
    // filed under them.
    if (m_estado.CalculoRecuperado == 1) {
        m_dialogos.Mensaje(kTituloNoGuardado, kTextoNoGuardado, Icono::Exclamacion);
        return;
    }
    if (const auto falla = GuardarDatos(m_carpeta, m_estado)) {
        m_dialogos.Mensaje(FallaArchivo::kTitulo, falla->Texto(), Icono::Critico);
        return;
    }
    m_pantalla.Enfocar(ctl::SSCommandGraficar);
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
    if (m_saliendo || (m_puedeTerminar && !m_puedeTerminar()))
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
    evento->setAccepted(m_saliendo);
}

// --- Hints ------------------------------------------------------------------

void Frm_Vantora::SSFrame_CurvaBase_MouseMove() { m_pantalla.PonerTexto(ctl::SalidaTxt, kPistaCurvaBase); }
void Frm_Vantora::SSFrame_DiametroInicial_MouseMove() { m_pantalla.PonerTexto(ctl::SalidaTxt, kPistaDiametro); }
void Frm_Vantora::SSFrame1_MouseMove() { m_pantalla.PonerTexto(ctl::SalidaTxt, " "); }
void Frm_Vantora::SSFrame2_MouseMove() { m_pantalla.PonerTexto(ctl::SalidaTxt, kPistaMaterial); }
void Frm_Vantora::SSFrame3_MouseMove() { m_pantalla.PonerTexto(ctl::SalidaTxt, kPistaEspesorCentral); }
void Frm_Vantora::SSFrame4_MouseMove() { m_pantalla.PonerTexto(ctl::SalidaTxt, kPistaPoder); }
void Frm_Vantora::SSFrame5_MouseMove() { m_pantalla.PonerTexto(ctl::SalidaTxt, kPistaPoderes); }
void Frm_Vantora::SSFrame6_MouseMove() { m_pantalla.PonerTexto(ctl::SalidaTxt, kPistaGeometria); }
void Frm_Vantora::SSFrame7_MouseMove() { m_pantalla.PonerTexto(ctl::SalidaTxt, kPistaEspesorBorde); }

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
