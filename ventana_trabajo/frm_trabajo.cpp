#include "frm_trabajo.h"

#include "almacen_trabajos.h"
#include "archivos.h"
#include "base_materiales.h"
#include "catalogo.h"
#include "dialogos.h"
#include "frm_comparar_materiales.h"
#include "marca_foco.h"
#include "materiales_catalogo.h"
#include "orden_trabajo_dcs.h"
#include "ruta_legible.h"
#include "trazo_dcs.h"
#include "vista_errores.h"
#include "vista_espesor.h"
#include "vista_previa_orden.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

using dcs::Lado;
using trabajos::Campo;

QString Q(const std::string& s) { return QString::fromStdString(s); }
std::string S(const QString& s) { return s.toStdString(); }

// The request's trace has the same radii on each side as `trazo`.
bool mismoTrazado(const std::string& pedido, const std::string& trazo)
{
    std::string error;
    const auto leido = dcs::Pedido::Leer(pedido, error);
    const auto a = leido && !leido->trazo().empty() ? dcs::LeerTrazos(leido->trazo(), error) : std::nullopt;
    const auto b = dcs::LeerTrazos(trazo, error);
    return a && b && a->derecho == b->derecho && a->izquierdo == b->izquierdo;
}

QString cifras(double x, int decimales) { return QString::number(x, 'f', decimales); }

QString radio(const lente::Cara& c) { return c.radio ? cifras(*c.radio, 2) + " mm" : QStringLiteral("plano"); }

// The figures of one eye, those of the command-line lens calculation.
QString figuras(const trabajos::OjoResuelto& o)
{
    const lente::Resultado& r = *o.resultado;
    const auto grados = [](double a) { return QString::number(std::lround(a) % 360) + QStringLiteral("°"); };
    QString t;
    t += QStringLiteral("Espesor central: %1 mm\n").arg(cifras(r.espesorCentral, 2));
    t += QStringLiteral("Curva base: %1 D\n").arg(cifras(o.base, 2));
    t += QStringLiteral("Cara interna: %1 / %2 D\n").arg(cifras(r.internaEje.poder, 2), cifras(r.internaCruz.poder, 2));
    t += QStringLiteral("Radios internos: %1 / %2\n").arg(radio(r.internaEje), radio(r.internaCruz));
    t += QStringLiteral("Moldes 1.523: %1 / %2 D\n").arg(cifras(r.molde1523Eje, 2), cifras(r.molde1523Cruz, 2));
    t += QStringLiteral("Borde mínimo: %1 mm a %2\n").arg(cifras(r.bordeMinimo, 2), grados(r.anguloMinimo));
    t += QStringLiteral("Borde máximo: %1 mm a %2\n").arg(cifras(r.bordeMaximo, 2), grados(r.anguloMaximo));
    // The figures the laboratory's rules held: the thickest point of the
    // whole lens, and the thinnest inside its outline (a minus lens with
    // prism), about the optical centre. Answers stored without them say
    // nothing.
    if (std::isfinite(r.espesorMaximo))
        t += QStringLiteral("Espesor máximo: %1 mm\n").arg(cifras(r.espesorMaximo, 2));
    if (const auto& p = r.puntoMasDelgado)
        t += QStringLiteral("Punto más delgado: %1 mm a %2 y %3 mm\n")
                 .arg(cifras(p->espesor, 2), grados(p->angulo), cifras(p->radio, 2));
    t += std::isfinite(r.peso) ? QStringLiteral("Peso: %1 g\n").arg(cifras(r.peso, 1))
                               : QStringLiteral("Peso: sin densidad\n");
    t += QStringLiteral("Bloque mínimo: %1 mm; estándar: %2 mm")
             .arg(cifras(o.bloqueMinimo, 1), o.bloque ? cifras(*o.bloque, 0) : QStringLiteral("ninguno"));
    // A back compensated for the frame's tilt and wrap: the bench checks the
    // lens against this, not against the prescription.
    if (const auto& f = o.frontofocometro) {
        const auto conSigno = [](double x) { return (x >= 0 ? QStringLiteral("+") : QString()) + cifras(x, 2); };
        t += QStringLiteral("\nFrontofocómetro: %1 %2 × %3°")
                 .arg(conSigno(f->esfera), conSigno(f->cilindro), QString::number(std::lround(f->eje) % 180));
    }
    return t;
}

// A list that shows plainly when it has the focus: the style's own mark is a
// hairline that the eye does not find among the boxes of a whole job.
using Lista = ConMarcaDeFoco<QComboBox>;

// The house's advice line: white on teal, as in the design window.
const QString kEstiloConsejo = QStringLiteral("background-color: rgb(0,128,128); color: white; padding: 2px;");
// A lens that could not be made: its reason stands out in yellow.
const QString kEstiloFalla = QStringLiteral("background-color: rgb(0,128,128); color: rgb(255,255,0); padding: 2px;");

} // namespace

Frm_Trabajo::Frm_Trabajo(const BaseMateriales& base, Catalogo& catalogo, Dialogos& dialogos, QWidget* parent)
    : QWidget(parent, Qt::Window), m_base(base), m_catalogo(catalogo), m_dialogos(dialogos)
{
    setObjectName(QStringLiteral("Frm_Trabajo"));
    setWindowTitle(QStringLiteral("Trabajo con receta completa"));
    setAttribute(Qt::WA_DeleteOnClose, false);

    auto* principal = new QHBoxLayout(this);
    auto* izquierda = new QVBoxLayout;
    principal->addLayout(izquierda);

    auto* filaNumero = new QHBoxLayout;
    filaNumero->addWidget(new QLabel(QStringLiteral("Trabajo"), this));
    m_numero = caja(QStringLiteral("Tx_Trabajo"), Campo::Numero, Lado::Derecho);
    m_numero->setMaxLength(40);
    m_numero->setPlaceholderText(QStringLiteral("número o código de barras"));
    filaNumero->addWidget(m_numero);
    izquierda->addLayout(filaNumero);

    // One column an eye, the right eye's first, as a prescription is written.
    auto* ojos = new QHBoxLayout;
    const std::pair<Campo, QString> deOjo[] = {
        {Campo::Esfera, QStringLiteral("Esfera")},   {Campo::Cilindro, QStringLiteral("Cilindro")},
        {Campo::Eje, QStringLiteral("Eje")},         {Campo::Prisma, QStringLiteral("Prisma")},
        {Campo::BasePrisma, QStringLiteral("Base")}, {Campo::Dp, QStringLiteral("DP monocular")},
        {Campo::Altura, QStringLiteral("Altura")},
    };
    const QString nombres[] = {QStringLiteral("Esfera"), QStringLiteral("Cilindro"),   QStringLiteral("Eje"),
                               QStringLiteral("Prisma"), QStringLiteral("BasePrisma"), QStringLiteral("Dp"),
                               QStringLiteral("Altura")};
    for (const Lado lado : {Lado::Derecho, Lado::Izquierdo}) {
        const bool derecho = lado == Lado::Derecho;
        auto* grupo = new QGroupBox(derecho ? QStringLiteral("Derecho") : QStringLiteral("Izquierdo"), this);
        grupo->setObjectName(derecho ? QStringLiteral("Frame_Derecho") : QStringLiteral("Frame_Izquierdo"));
        auto* forma = new QFormLayout(grupo);
        for (std::size_t i = 0; i < std::size(deOjo); ++i) {
            QLineEdit* c =
                caja(QStringLiteral("Tx_") + nombres[i] + (derecho ? QStringLiteral("_D") : QStringLiteral("_I")),
                     deOjo[i].first, lado);
            // Wide enough for the longest figure a box takes, sign included.
            c->setMinimumWidth(c->fontMetrics().horizontalAdvance(QStringLiteral("-40.00")) + 16);
            if (deOjo[i].first == Campo::BasePrisma)
                c->setToolTip(QStringLiteral("adentro, afuera, arriba, abajo o grados (0 a la derecha, antihorario)"));
            forma->addRow(deOjo[i].second, c);
        }
        ojos->addWidget(grupo);
    }
    izquierda->addLayout(ojos);

    auto* grupoLente = new QGroupBox(QStringLiteral("Lente"), this);
    auto* formaLente = new QFormLayout(grupoLente);
    m_material = new Lista(grupoLente);
    m_material->setObjectName(QStringLiteral("Combo_Material"));
    for (const std::string& producto : m_catalogo.Productos())
        m_material->addItem(Q(producto));
    m_material->setCurrentIndex(-1);
    formaLente->addRow(QStringLiteral("Material"), m_material);
    QLineEdit* curva = caja(QStringLiteral("Tx_CurvaBase"), Campo::Curva, Lado::Derecho);
    curva->setPlaceholderText(QStringLiteral("vacía: sugerida"));
    formaLente->addRow(QStringLiteral("Curva base"), curva);
    m_montura = new Lista(grupoLente);
    m_montura->setObjectName(QStringLiteral("Combo_Montura"));
    for (const auto m : trabajos::FormularioTrabajo::kMonturas)
        m_montura->addItem(QString::fromUtf8(m.data(), static_cast<qsizetype>(m.size())));
    formaLente->addRow(QStringLiteral("Montura"), m_montura);
    m_seguridad = new Lista(grupoLente);
    m_seguridad->setObjectName(QStringLiteral("Combo_Seguridad"));
    for (const auto s : trabajos::FormularioTrabajo::kSeguridades)
        m_seguridad->addItem(QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())));
    formaLente->addRow(QStringLiteral("Seguridad"), m_seguridad);
    // What a stored job brings that no box holds, kept and shown.
    m_conservados = new QLabel(grupoLente);
    m_conservados->setObjectName(QStringLiteral("Lbl_Conservados"));
    m_conservados->setWordWrap(true);
    formaLente->addRow(m_conservados);
    for (QComboBox* combo : {m_material, m_montura, m_seguridad}) {
        m_casillas[combo] = {combo == m_material  ? Campo::Material
                             : combo == m_montura ? Campo::Montura
                                                  : Campo::Seguridad,
                             Lado::Derecho};
        combo->installEventFilter(this);
        connect(combo, &QComboBox::activated, this, [this, combo] { confirmar(combo, false); });
    }
    izquierda->addWidget(grupoLente);

    auto* grupoArmazon = new QGroupBox(QStringLiteral("Armazón"), this);
    auto* formaArmazon = new QFormLayout(grupoArmazon);
    formaArmazon->addRow(QStringLiteral("A"), caja(QStringLiteral("Tx_A"), Campo::A, Lado::Derecho));
    formaArmazon->addRow(QStringLiteral("B"), caja(QStringLiteral("Tx_B"), Campo::B, Lado::Derecho));
    formaArmazon->addRow(QStringLiteral("DBL"), caja(QStringLiteral("Tx_DBL"), Campo::Dbl, Lado::Derecho));
    auto* botonesTrazado = new QHBoxLayout;
    auto* cargar = new QPushButton(QStringLiteral("Cargar trazado…"), grupoArmazon);
    cargar->setObjectName(QStringLiteral("Command_CargarTrazado"));
    connect(cargar, &QPushButton::clicked, this, [this] {
        const QString archivo = elegir(QStringLiteral("Cargar trazado"), QStringLiteral("Trazados DCS (*)"), false);
        if (!archivo.isEmpty())
            CargarTrazado(archivo.toStdString());
    });
    botonesTrazado->addWidget(cargar);
    m_quitarTrazado = new QPushButton(QStringLiteral("Quitar trazado"), grupoArmazon);
    m_quitarTrazado->setObjectName(QStringLiteral("Command_QuitarTrazado"));
    m_quitarTrazado->setAutoDefault(true);
    connect(m_quitarTrazado, &QPushButton::clicked, this, [this] {
        m_formulario.QuitarTrazado();
        m_delTrazador = false;
        aconsejar({});
        mostrarCampos();
        calcular();
        findChild<QLineEdit*>(QStringLiteral("Tx_A"))->setFocus();
    });
    botonesTrazado->addWidget(m_quitarTrazado);
    m_trazado = new QLabel(QStringLiteral("Sin trazado"), grupoArmazon);
    m_trazado->setObjectName(QStringLiteral("Lbl_Trazado"));
    botonesTrazado->addWidget(m_trazado, 1);
    formaArmazon->addRow(botonesTrazado);
    izquierda->addWidget(grupoArmazon);

    // How the frame holds the lenses before the eyes; the best form for them.
    auto* grupoUso = new QGroupBox(QStringLiteral("Posición de uso"), this);
    auto* formaUso = new QFormLayout(grupoUso);
    formaUso->addRow(QStringLiteral("Distancia al vértice (mm)"),
                     caja(QStringLiteral("Tx_Vertice"), Campo::Vertice, Lado::Derecho));
    formaUso->addRow(QStringLiteral("Pantoscópico (°)"),
                     caja(QStringLiteral("Tx_Pantoscopico"), Campo::Pantoscopico, Lado::Derecho));
    formaUso->addRow(QStringLiteral("Envolvente (°)"),
                     caja(QStringLiteral("Tx_Envolvente"), Campo::Envolvente, Lado::Derecho));
    auto* mejorBase = new QPushButton(QStringLiteral("Mejor base"), grupoUso);
    mejorBase->setObjectName(QStringLiteral("Command_MejorBase"));
    mejorBase->setToolTip(QStringLiteral("La curva base de menor error astigmático a 30° de la mirada, en uso"));
    mejorBase->setAutoDefault(true);
    connect(mejorBase, &QPushButton::clicked, this, [this] { Command_MejorBase_Click(); });
    formaUso->addRow(mejorBase);
    izquierda->addWidget(grupoUso);

    auto* botones = new QHBoxLayout;
    m_guardar = new QPushButton(QStringLiteral("Guardar trabajo"), this);
    m_guardar->setObjectName(QStringLiteral("Command_GuardarTrabajo"));
    connect(m_guardar, &QPushButton::clicked, this, [this] { Guardar(); });
    m_exportar = new QPushButton(QStringLiteral("Exportar DCS…"), this);
    m_exportar->setObjectName(QStringLiteral("Command_ExportarDCS"));
    connect(m_exportar, &QPushButton::clicked, this, [this] {
        if (!numerado())
            return;
        const QString archivo = elegir(QStringLiteral("Exportar DCS"), QStringLiteral("Pedidos DCS (*.dcs)"), true);
        if (!archivo.isEmpty())
            Exportar(archivo.toStdString());
    });
    auto* comparar = new QPushButton(QStringLiteral("Comparar materiales"), this);
    comparar->setObjectName(QStringLiteral("Command_CompararMateriales"));
    connect(comparar, &QPushButton::clicked, this, [this] { Command_CompararMateriales_Click(); });
    // Enter and Space press a focused button.
    for (QPushButton* b : {cargar, m_guardar, m_exportar, comparar})
        b->setAutoDefault(true);
    botones->addWidget(m_guardar);
    botones->addWidget(m_exportar);
    botones->addWidget(comparar);
    izquierda->addLayout(botones);

    m_salida = new QLabel(this);
    m_salida->setObjectName(QStringLiteral("SalidaTxt"));
    m_salida->setWordWrap(true);
    m_salida->setStyleSheet(kEstiloConsejo);
    m_salida->setMinimumHeight(m_salida->fontMetrics().lineSpacing() * 3 + 6);
    m_salida->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    izquierda->addWidget(m_salida);
    izquierda->addStretch(1);

    // The results and the picture.
    auto* derecha = new QVBoxLayout;
    principal->addLayout(derecha, 1);
    auto* resultados = new QHBoxLayout;
    for (const Lado lado : {Lado::Derecho, Lado::Izquierdo}) {
        const int i = static_cast<int>(lado);
        const QString sufijo = i == 0 ? QStringLiteral("_D") : QStringLiteral("_I");
        auto* grupo = new QGroupBox(i == 0 ? QStringLiteral("Ojo derecho") : QStringLiteral("Ojo izquierdo"), this);
        auto* columna = new QVBoxLayout(grupo);
        m_resultados[i] = new QLabel(grupo);
        m_resultados[i]->setObjectName(QStringLiteral("Lbl_Resultado") + sufijo);
        m_resultados[i]->setTextInteractionFlags(Qt::TextSelectableByMouse);
        m_resultados[i]->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        m_avisos[i] = new QLabel(grupo);
        m_avisos[i]->setObjectName(QStringLiteral("Lbl_Avisos") + sufijo);
        m_avisos[i]->setWordWrap(true);
        m_avisos[i]->hide();
        columna->addWidget(m_resultados[i]);
        columna->addWidget(m_avisos[i]);
        columna->addStretch(1);
        resultados->addWidget(grupo);
    }
    derecha->addLayout(resultados);
    auto* dibujos = new QTabWidget(this);
    dibujos->setObjectName(QStringLiteral("Tab_Dibujos"));
    m_vista = new VistaEspesor(dibujos);
    m_vista->setMinimumSize(700, 450);
    dibujos->addTab(m_vista, QStringLiteral("Espesor"));
    m_errores = new VistaErrores(dibujos);
    m_errores->setMinimumSize(700, 450);
    dibujos->addTab(m_errores, QStringLiteral("Errores en uso"));
    derecha->addWidget(dibujos, 1);
    m_lectura = new QLabel(this);
    m_lectura->setObjectName(QStringLiteral("Lbl_Lectura"));
    derecha->addWidget(m_lectura);
    connect(m_vista, &VistaEspesor::LecturaCambiada, m_lectura, &QLabel::setText);

    AgregarImprimirOrden(this, [this] { Imprimir(); });
    auto* guardar = new QAction(QStringLiteral("Guardar trabajo"), this);
    guardar->setObjectName(QStringLiteral("GuardarTrabajo"));
    guardar->setShortcut(QKeySequence::Save);
    guardar->setShortcutContext(Qt::WindowShortcut);
    connect(guardar, &QAction::triggered, this, [this] { Guardar(); });
    addAction(guardar);
    m_numero->setFocus();
    mostrarCampos();
    calcular();
}

Frm_Trabajo::~Frm_Trabajo()
{
    // The window closes as it is destroyed and its focused box loses the
    // focus after these members are gone: nothing of it may reach them.
    for (QObject* hijo : findChildren<QObject*>())
        hijo->disconnect(this);
}

QLineEdit* Frm_Trabajo::caja(const QString& nombre, Campo c, Lado lado)
{
    auto* e = new QLineEdit(this);
    e->setObjectName(nombre);
    e->setMaxLength(c == Campo::Numero ? 40 : 20);
    m_casillas[e] = {c, lado};
    connect(e, &QLineEdit::returnPressed, this, [this, e] { confirmar(e, true); });
    // Leaving a box with Tab or the mouse keeps what it holds too, so that
    // no typed figure is silently dropped.
    connect(e, &QLineEdit::editingFinished, this, [this, e] {
        if (!e->hasFocus())
            confirmar(e, false);
    });
    return e;
}

bool Frm_Trabajo::eventFilter(QObject* objeto, QEvent* e)
{
    // A list is confirmed by Enter as a box is.
    if (e->type() == QEvent::KeyPress) {
        const int tecla = static_cast<QKeyEvent*>(e)->key();
        if ((tecla == Qt::Key_Return || tecla == Qt::Key_Enter) && m_casillas.contains(static_cast<QWidget*>(objeto))) {
            confirmar(static_cast<QWidget*>(objeto), true);
            return true;
        }
    }
    return QWidget::eventFilter(objeto, e);
}

bool Frm_Trabajo::confirmar(QWidget* control, bool porEnter)
{
    if (m_mostrando)
        return true;
    const Casilla& c = m_casillas.at(control);
    const QString texto = qobject_cast<QLineEdit*>(control) ? static_cast<QLineEdit*>(control)->text()
                                                            : static_cast<QComboBox*>(control)->currentText();
    if (c.campo == Campo::Numero && porEnter && !texto.trimmed().isEmpty()) {
        // A number typed or scanned pulls its stored job up; a new number
        // names the job on the screen.
        AbrirTrabajo(texto.trimmed());
        return true;
    }
    const bool antes = m_formulario.Cambiado();
    const std::string viejo = m_formulario.Pedido();
    if (const auto consejo = m_formulario.Confirmar(c.campo, c.lado, S(texto))) {
        aconsejar(Q(*consejo));
        if (porEnter || isActiveWindow())
            control->setFocus();
        return false;
    }
    aconsejar({});
    mostrarCampos();
    if (m_formulario.Pedido() != viejo || m_formulario.Cambiado() != antes)
        calcular();
    if (porEnter)
        focusNextChild();
    return true;
}

void Frm_Trabajo::mostrarCampos()
{
    m_mostrando = true;
    for (const auto& [control, c] : m_casillas) {
        const QString texto = Q(m_formulario.Texto(c.campo, c.lado));
        if (auto* e = qobject_cast<QLineEdit*>(control)) {
            if (e->text() != texto)
                e->setText(texto);
        } else {
            auto* combo = static_cast<QComboBox*>(control);
            const int i = combo->findText(texto, Qt::MatchFixedString);
            combo->setCurrentIndex(i);
            if (i < 0 && !texto.isEmpty() && combo == m_material) {
                // A stored job's material the catalogue no longer lists, or
                // its index alone: the box grows to show it whole.
                combo->addItem(texto);
                combo->setCurrentIndex(combo->count() - 1);
                combo->setMinimumWidth(combo->sizeHint().width());
            }
        }
    }
    // A traced frame gives the box; its figures are the trace's.
    const bool trazado = m_formulario.TieneTrazado();
    for (const char* nombre : {"Tx_A", "Tx_B"})
        findChild<QLineEdit*>(QLatin1String(nombre))->setEnabled(!trazado);
    m_quitarTrazado->setEnabled(trazado);
    m_trazado->setText(!trazado        ? QStringLiteral("Sin trazado")
                       : m_delTrazador ? QStringLiteral("Trazado del trazador")
                                       : QStringLiteral("Trazado cargado"));
    m_conservados->setText(Q(m_formulario.Conservados()));
    m_conservados->setVisible(!m_conservados->text().isEmpty());
    const QString numero = Q(m_formulario.Numero());
    setWindowTitle(QStringLiteral("Trabajo con receta completa") +
                   (numero.isEmpty() ? QString() : QStringLiteral(" — ") + numero) +
                   (m_formulario.Cambiado() ? QStringLiteral(" *") : QString()));
    m_mostrando = false;
}

void Frm_Trabajo::calcular()
{
    const bool hay = m_formulario.TieneOjos();
    m_guardar->setEnabled(hay);
    m_exportar->setEnabled(hay);
    m_contestacion.reset();
    // A change makes the job anew: the stored answer no longer is its answer.
    m_guardado.reset();
    if (hay) {
        std::string error;
        const auto pedido = dcs::Pedido::Leer(m_formulario.Pedido(), error);
        if (pedido) {
            trabajos::MaterialesDeCatalogo materiales(m_base);
            m_contestacion = trabajos::Responder(*pedido, &materiales);
        } else {
            aconsejar(Q(error));
        }
    }
    mostrarResultados();
}

void Frm_Trabajo::mostrarResultados()
{
    for (int i = 0; i < 2; ++i) {
        QString texto, avisos;
        bool falla = false;
        if (!m_contestacion || !m_contestacion->ojos[i].pedido) {
            texto = QStringLiteral("Sin pedido: escriba la esfera de este ojo.");
        } else if (const trabajos::OjoResuelto& o = m_contestacion->ojos[i]; !o.resultado) {
            // The reason, never a sample lens: the boxes keep what was typed.
            avisos = QStringLiteral("No se puede calcular: ") + Q(o.falla);
            falla = true;
        } else {
            texto = figuras(o);
            for (const std::string& a : o.avisos)
                avisos += (avisos.isEmpty() ? QString() : QStringLiteral("\n")) + QStringLiteral("Aviso: ") + Q(a);
        }
        m_resultados[i]->setText(texto);
        m_resultados[i]->setVisible(!texto.isEmpty());
        m_avisos[i]->setText(avisos);
        m_avisos[i]->setStyleSheet(falla ? kEstiloFalla : kEstiloConsejo);
        m_avisos[i]->setVisible(!avisos.isEmpty());
    }
    if (m_contestacion) {
        m_vista->Mostrar(*m_contestacion);
        m_errores->Mostrar(*m_contestacion);
    } else {
        m_vista->Limpiar();
        m_errores->Limpiar();
    }
}

void Frm_Trabajo::aconsejar(const QString& texto) { m_salida->setText(texto); }

QString Frm_Trabajo::elegir(const QString& titulo, const QString& filtro, bool guardar)
{
    if (elegirArchivo)
        return elegirArchivo(titulo, filtro, guardar);
    const QString propuesto = guardar ? Q(m_formulario.Numero()) + QStringLiteral(".dcs") : QString();
    return guardar ? QFileDialog::getSaveFileName(this, titulo, propuesto, filtro)
                   : QFileDialog::getOpenFileName(this, titulo, QString(), filtro);
}

bool Frm_Trabajo::numerado()
{
    if (!m_formulario.Numero().empty())
        return true;
    aconsejar(QStringLiteral("Escriba el número del trabajo en la casilla Trabajo."));
    m_numero->setFocus();
    return false;
}

void Frm_Trabajo::AbrirTrabajo(const QString& numero)
{
    const std::string n = S(numero.trimmed());
    if (!dcs::NumeroDeTrabajoValido(n)) {
        aconsejar(Q(*m_formulario.Confirmar(Campo::Numero, Lado::Derecho, n)));
        m_numero->setFocus();
        return;
    }
    QString error;
    const std::optional<TrabajoGuardado> guardado = AlmacenTrabajos(m_base).PrepararYAbrir(Q(n), error);
    if (!guardado && !error.isEmpty()) {
        m_dialogos.Mensaje("Trabajo", "No se pudo abrir el trabajo " + n + ": " + S(error), Icono::Exclamacion);
        mostrarCampos();
        return;
    }
    if (!guardado) {
        // A number not stored yet names the job on the screen; the changes
        // of the job it follows are not let go unasked.
        if (!m_formulario.Numero().empty() && m_formulario.Numero() != n &&
            !preguntarSiGuardar(QStringLiteral("pasar al trabajo nuevo ") + Q(n))) {
            mostrarCampos();
            return;
        }
        m_formulario.Confirmar(Campo::Numero, Lado::Derecho, n);
        usarTrazoDelTrazador(n);
        aconsejar(QStringLiteral("Trabajo nuevo ") + Q(n) + QStringLiteral(": aún no está guardado."));
        mostrarCampos();
        focusNextChild();
        return;
    }
    if (!preguntarSiGuardar(QStringLiteral("abrir el trabajo ") + Q(n))) {
        mostrarCampos();
        return;
    }
    // The job opens as it was answered and stored; any change solves it anew.
    trabajos::MaterialesDeCatalogo materiales(m_base);
    const auto contestacion = ContestacionGuardada(*guardado, &materiales, error);
    std::string avisos;
    const auto problema = contestacion
                              ? m_formulario.Cargar(S(guardado->pedido), avisos, &materiales, guardado->formato)
                              : std::optional<std::string>(S(error));
    if (problema) {
        m_dialogos.Mensaje("Trabajo", "El trabajo " + n + " guardado no se puede leer: " + *problema,
                           Icono::Exclamacion);
        mostrarCampos();
        return;
    }
    usarTrazoDelTrazador(n);
    mostrarCampos();
    // The job is not solved from the boxes here: it shows what was stored,
    // or the same answered with today's catalogue, below.
    m_guardar->setEnabled(m_formulario.TieneOjos());
    m_exportar->setEnabled(m_formulario.TieneOjos());
    m_guardado = {*guardado, *contestacion};
    // Solved again with today's catalogue, the stored request gives the
    // stored answer to the byte, with the reasons in the optician's words;
    // when it gives other figures (the catalogue changed since), the window
    // shows the stored ones and says so. An answer of the earlier release is
    // written otherwise and is shown as stored.
    std::string motivo;
    const auto pedido = dcs::Pedido::Leer(S(guardado->pedido), motivo);
    std::optional<trabajos::Contestacion> hoy;
    if (guardado->formato == dcs::kFormato && pedido)
        hoy = trabajos::Responder(*pedido, &materiales);
    const bool iguales = hoy && hoy->texto == contestacion->texto;
    m_contestacion = iguales ? *hoy : *contestacion;
    mostrarResultados();
    QString consejo = QStringLiteral("Trabajo ") + Q(n) + QStringLiteral(" abierto");
    if (hoy && !iguales)
        consejo += QStringLiteral(" con las cifras guardadas; con el catálogo de hoy daría otras (cambie un valor para "
                                  "calcularlo de nuevo)");
    aconsejar(consejo + (avisos.empty() ? QStringLiteral(".") : QStringLiteral("; revise: ") + Q(avisos)));
}

// The base whose lenses, as worn, keep the astigmatic error least 30° off the
// line of sight, one for the pair by the stronger eye unless the eyes differ
// too much; it goes in the curve box and the job is solved with it.
void Frm_Trabajo::Command_MejorBase_Click()
{
    std::string error;
    const auto pedido = m_formulario.TieneOjos() ? dcs::Pedido::Leer(m_formulario.Pedido(), error) : std::nullopt;
    if (!pedido) {
        aconsejar(QStringLiteral("Escriba la receta y la forma antes de buscar la mejor base."));
        return;
    }
    trabajos::MaterialesDeCatalogo materiales(m_base);
    const trabajos::BasesDelPar par = trabajos::MejorBaseDelPar(*pedido, &materiales);
    const auto& [derecha, izquierda] = par.base;
    if (!derecha && !izquierda) {
        const std::string& falla = par.falla[0].empty() ? par.falla[1] : par.falla[0];
        aconsejar(QStringLiteral("No hay mejor base: ") + Q(falla));
        return;
    }
    const auto d = [](double b) { return cifras(b, 2); };
    // An eye without a lens at any base keeps the other's.
    const double a = derecha.value_or(*izquierda), b = izquierda.value_or(*derecha);
    m_formulario.Confirmar(Campo::Curva, Lado::Derecho, S(a == b ? d(a) : d(a) + QStringLiteral(" / ") + d(b)));
    mostrarCampos();
    calcular();
    QString consejo;
    if (par.guia)
        consejo = QStringLiteral("Mejor base para el par: %1 D, la del ojo %2, el de mayor equivalente esférico.")
                      .arg(d(a), *par.guia == 0 ? QStringLiteral("derecho") : QStringLiteral("izquierdo"));
    else if (derecha && izquierda && a != b)
        consejo = QStringLiteral("Mejor base: %1 D el derecho y %2 D el izquierdo.").arg(d(a), d(b));
    else
        consejo = QStringLiteral("Mejor base: %1 D.").arg(d(derecha ? a : b));
    if (par.anisometropia)
        consejo += QStringLiteral(" Bases distintas: anisometropía.");
    aconsejar(consejo);
}

// A frame a tracer sent for the number takes the place of the job's trace,
// as the host answers the edger with it.
void Frm_Trabajo::usarTrazoDelTrazador(const std::string& numero)
{
    m_delTrazador = false;
    QString error;
    const auto trazo = AlmacenTrabajos(m_base).AbrirTrazo(Q(numero), error);
    if (!trazo)
        return;
    const std::string registros = S(trazo->trazo);
    if (!mismoTrazado(m_formulario.Pedido(), registros) && m_formulario.CargarTrazado(registros))
        return;
    m_delTrazador = true;
}

void Frm_Trabajo::CargarTrazado(const std::filesystem::path& archivo)
{
    // A trace is a few kilobytes; a larger file is not one.
    constexpr std::uintmax_t kTrazoMaximo = 1 << 20;
    std::string texto, motivo;
    const Lectura leido = LeerArchivo(archivo, texto, motivo, kTrazoMaximo);
    const std::string nombre = "\"" + RutaLegible(archivo) + "\"";
    if (leido != Lectura::Leido) {
        aconsejar(Q(leido == Lectura::NoExiste ? "No se encuentra el archivo " + nombre + "."
                                               : "No se puede leer " + nombre + ": " + motivo + "."));
        return;
    }
    if (const auto problema = m_formulario.CargarTrazado(texto)) {
        aconsejar(Q(*problema));
        return;
    }
    m_delTrazador = false;
    aconsejar(QStringLiteral("Trazado cargado de ") + Q(nombre) + QStringLiteral("."));
    mostrarCampos();
    calcular();
}

void Frm_Trabajo::Exportar(const std::filesystem::path& archivo)
{
    if (!numerado() || !m_contestacion)
        return;
    // The request where the user chose, its answer beside it as the batch
    // answers: the same name with the extension .rsp.
    std::filesystem::path respuesta = archivo;
    respuesta.replace_extension(".rsp");
    if (respuesta == archivo)
        respuesta += ".rsp";
    // A stored job unchanged goes out with the exact stored bytes.
    const std::string pedido = m_guardado ? S(m_guardado->trabajo.pedido) : m_formulario.Pedido();
    const std::string contestado = m_guardado ? S(m_guardado->trabajo.respuesta) : m_contestacion->texto;
    std::string error;
    if (!ReemplazarArchivo(archivo, pedido, error) || !ReemplazarArchivo(respuesta, contestado, error)) {
        m_dialogos.Mensaje("Exportar DCS", "No se pudo exportar el trabajo: " + error, Icono::Critico);
        return;
    }
    aconsejar(QStringLiteral("Exportado: ") + Q(RutaLegible(archivo)) + QStringLiteral(" y ") +
              Q(RutaLegible(respuesta)) + QStringLiteral("."));
}

bool Frm_Trabajo::Guardar()
{
    if (!numerado())
        return false;
    if (!m_contestacion) {
        aconsejar(QStringLiteral("No hay nada que guardar: escriba la esfera de algún ojo."));
        return false;
    }
    const std::string n = m_formulario.Numero();
    AlmacenTrabajos almacen(m_base);
    QString error;
    if (const auto problema = almacen.Preparar()) {
        m_dialogos.Mensaje("Guardar trabajo", "No se pudo guardar el trabajo " + n + ": " + S(*problema),
                           Icono::Critico);
        return false;
    }
    const TrabajoGuardado t = TrabajoRespondido(m_formulario.Pedido(), *m_contestacion);
    AlmacenTrabajos::Guardado g = almacen.Guardar(t, false, error);
    if (g == AlmacenTrabajos::Guardado::YaExiste) {
        if (m_dialogos.Mensaje("Guardar trabajo", "El trabajo " + n + " ya está guardado. ¿Reemplazarlo?",
                               Icono::Exclamacion, Botones::SiNo) != Respuesta::Si) {
            aconsejar(QStringLiteral("No se guardó: el trabajo ") + Q(n) + QStringLiteral(" guardado sigue igual."));
            return false;
        }
        g = almacen.Guardar(t, true, error);
    }
    if (g == AlmacenTrabajos::Guardado::Error) {
        m_dialogos.Mensaje("Guardar trabajo", "No se pudo guardar el trabajo " + n + ": " + S(error), Icono::Critico);
        return false;
    }
    m_formulario.MarcarGuardado();
    m_guardado = {t, *m_contestacion};
    mostrarCampos();
    aconsejar(QStringLiteral("Trabajo ") + Q(n) + QStringLiteral(" guardado."));
    return true;
}

void Frm_Trabajo::Imprimir()
{
    if (!numerado())
        return;
    if (!m_contestacion) {
        aconsejar(QStringLiteral("No hay nada que imprimir: escriba la esfera de algún ojo."));
        return;
    }
    // The printer lives as long as its preview.
    auto* impresora = new QPrinter(QPrinter::HighResolution);
    const QString titulo = QStringLiteral("Orden de trabajo ") + Q(m_contestacion->numero);
    impresora->setDocName(titulo);
    auto* vista = new QPrintPreviewDialog(impresora, this);
    vista->setObjectName(QStringLiteral("VistaPreviaTrabajo"));
    vista->setWindowTitle(titulo);
    vista->setAttribute(Qt::WA_DeleteOnClose);
    connect(vista, &QObject::destroyed, [impresora] { delete impresora; });
    // A stored job unchanged prints what was stored, with its dates as the
    // store keeps them (a replaced job keeps its creation).
    TrabajoAImprimir trabajo{m_formulario.Pedido(), dcs::kFormato, *m_contestacion, {}, {}};
    if (m_guardado) {
        QString error;
        const auto t = AlmacenTrabajos(m_base).Abrir(Q(m_guardado->contestacion.numero), error);
        const TrabajoGuardado& g = t && t->respuesta == m_guardado->trabajo.respuesta ? *t : m_guardado->trabajo;
        trabajo = {S(g.pedido), g.formato, m_guardado->contestacion, S(g.creado), S(g.cambiado)};
    }
    connect(vista, &QPrintPreviewDialog::paintRequested, vista, [trabajo](QPrinter* destino) {
        QPainter pintor(destino);
        DibujarTrabajo(pintor, destino->pageLayout(), trabajo);
    });
    vista->open();
}

void Frm_Trabajo::Command_CompararMateriales_Click()
{
    if (!m_formulario.TieneOjos()) {
        aconsejar(QStringLiteral("Escriba la esfera de algún ojo para comparar los materiales."));
        return;
    }
    auto* tabla = new Frm_CompararMateriales(m_formulario, m_base, m_catalogo, this);
    // The chosen material goes in as if picked from its list, with its
    // suggested base.
    connect(tabla, &Frm_CompararMateriales::Elegido, this, [this](const QString& material) {
        const std::string antes = m_formulario.Pedido();
        m_formulario.Confirmar(Campo::Material, Lado::Derecho, S(material));
        m_formulario.Confirmar(Campo::Curva, Lado::Derecho, "");
        if (m_formulario.Pedido() == antes)
            return;
        aconsejar({});
        mostrarCampos();
        calcular();
    });
    tabla->open();
}

bool Frm_Trabajo::preguntarSiGuardar(const QString& para)
{
    if (!m_formulario.Cambiado() || !m_formulario.TieneOjos())
        return true;
    const std::string n = m_formulario.Numero().empty() ? std::string("sin número") : m_formulario.Numero();
    switch (m_dialogos.Mensaje("Trabajo",
                               "El trabajo " + n + " tiene cambios sin guardar. ¿Guardarlos antes de " + S(para) + "?",
                               Icono::Exclamacion, Botones::SiNoCancelar)) {
    case Respuesta::Si:
        return Guardar();
    case Respuesta::No:
        // The changes are let go: the window starts anew.
        m_formulario = trabajos::FormularioTrabajo();
        aconsejar({});
        mostrarCampos();
        calcular();
        return true;
    default:
        return false;
    }
}

void Frm_Trabajo::closeEvent(QCloseEvent* e)
{
    if (preguntarSiGuardar(QStringLiteral("cerrar")))
        e->accept();
    else
        e->ignore();
}

void AgregarVentanaTrabajo(QWidget* ventana, std::function<void()> abrir)
{
    auto* accion = new QAction(QStringLiteral("Trabajo con receta completa…"), ventana);
    accion->setObjectName(QStringLiteral("VentanaTrabajo"));
    accion->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_T));
    accion->setShortcutContext(Qt::WindowShortcut);
    QObject::connect(accion, &QAction::triggered, ventana, std::move(abrir));
    ventana->addAction(accion);
    ventana->setContextMenuPolicy(Qt::ActionsContextMenu);
}
