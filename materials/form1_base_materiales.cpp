#include "form1_base_materiales.h"

#include "base_materiales.h"
#include "botones.h"
#include "busqueda_material.h"
#include "codigo_dcs.h"
#include "delegado_numeros.h"
#include "dialecto_sql.h"
#include "espesor_minimo.h"
#include "esquema_materiales.h"
#include "estado_diseno.h"
#include "formatos.h"
#include "mensajes_materiales.h"
#include "motivos_sql.h"
#include "plazo_servidor.h"
#include "tabla_materiales.h"
#include "texto_qt.h"
#include "twips.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDataWidgetMapper>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlTableModel>
#include <algorithm>

namespace m = mensajes_materiales;

namespace {

template <typename Control>
Control* Colocar(QWidget* padre, const char* nombre, QRect lugar)
{
    auto* control = new Control(padre);
    control->setObjectName(QLatin1String(nombre));
    control->setGeometry(lugar);
    return control;
}

QLabel* Etiqueta(QWidget* padre, const char* nombre, const char* texto, QRect lugar)
{
    auto* etiqueta = Colocar<QLabel>(padre, nombre, lugar);
    etiqueta->setText(Q(texto));
    return etiqueta;
}

// Whether the record of that Id is still in the table: on a shared
// catalogue another bench may have deleted it. Nothing when the store cannot
// be asked.
std::optional<bool> Existe(const QSqlDatabase& bd, const QVariant& id)
{
    QSqlQuery q(bd);
    if (!q.prepare(QStringLiteral("SELECT COUNT(*) FROM ") + tabla::Citar(tabla::kTabla) + QStringLiteral(" WHERE ") +
                   tabla::Citar(tabla::kId) + QStringLiteral(" = ?")))
        return std::nullopt;
    q.addBindValue(id);
    if (!q.exec() || !q.next())
        return std::nullopt;
    return q.value(0).toLongLong() > 0;
}

std::string Largo(const QString& texto)
{
    return "tiene " + std::to_string(Caracteres(texto)) + " caracteres; el máximo es " +
           std::to_string(tabla::kLargoNombre) + ".";
}

} // namespace

Form1_BaseMateriales::Form1_BaseMateriales(const BaseMateriales& base, EstadoDiseno& estado, Dialogos& dialogos,
                                           QWidget* parent)
    : QWidget(parent, Qt::Window),
      m_estado(estado),
      m_dialogos(dialogos),
      m_conexion(base, QStringLiteral("Data1")),
      m_abbeObligatorio(base.abbeObligatorio())
{
    crearControles();
    enlazarCampos();
    if (QScreen* pantalla = QGuiApplication::primaryScreen())
        move(pantalla->availableGeometry().center() - rect().center());
    Form_Load();
}

Form1_BaseMateriales::~Form1_BaseMateriales() = default;

void Form1_BaseMateriales::crearControles()
{
    setObjectName(QStringLiteral("Form1_BaseMateriales"));
    setWindowTitle(QStringLiteral("Base de Datos de Materiales"));
    // The minimum centre thickness and the exchange's class live in tables
    // of their own, and their boxes below the original layout, which stays
    // as it was drawn.
    setFixedSize(Twips(0, 0, 4965, 5925).size());
    // The positions were drawn for a narrow 8-point face; wider faces need a
    // little less to keep every caption whole.
    QFont letra = font();
    letra.setPointSizeF(7.5);
    setFont(letra);

    Etiqueta(this, "Label_Producto", "Nombre del Producto:", Twips(120, 240, 1770, 285));
    m_Text_Producto = Colocar<QLineEdit>(this, "Text_Producto", Twips(1920, 210, 2895, 345));

    auto* constantes = Colocar<QGroupBox>(this, "SSFrame1", Twips(120, 660, 3165, 1395));
    constantes->setTitle(QStringLiteral("Constantes físicas"));
    Etiqueta(constantes, "Label_Indice", "Indice de refracción:", Twips(120, 300, 1770, 255));
    m_Text_Indice = Colocar<QLineEdit>(constantes, "Text_Indice", Twips(1920, 270, 945, 315));
    Etiqueta(constantes, "Label_Densidad", "Densidad grs./cm3:", Twips(120, 660, 1770, 255));
    m_Text_Densidad = Colocar<QLineEdit>(constantes, "Text_Densidad", Twips(1920, 630, 945, 315));
    Etiqueta(constantes, "Label_Abbe", "Número de  Abbe:", Twips(120, 1020, 1770, 255));
    m_Text_Abbe = Colocar<QLineEdit>(constantes, "Text_Abbe", Twips(1920, 990, 945, 315));

    auto* material = Colocar<QGroupBox>(this, "SSFrame_Material", Twips(120, 2070, 3165, 555));
    material->setTitle(QStringLiteral("Materiales"));
    m_Check_Mineral = Colocar<QCheckBox>(material, "Check_Mineral", Twips(180, 240, 1005, 255));
    m_Check_Mineral->setText(QStringLiteral("Mineral"));
    m_Check_Organico = Colocar<QCheckBox>(material, "Check_Organico", Twips(1830, 270, 1095, 225));
    m_Check_Organico->setText(QStringLiteral("Orgánico"));

    Etiqueta(this, "Label_Descripcion", "Descripción:", Twips(120, 2790, 1020, 285));
    m_Text_Descripcion = Colocar<QPlainTextEdit>(this, "Text_Descripcion", Twips(1170, 2790, 3645, 675));
    m_Text_Descripcion->setTabChangesFocus(true);
    m_Text_Descripcion->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Etiqueta(this, "Label_Proveedor", "Proveedor principal:", Twips(60, 3600, 1545, 285));
    m_Text_proveedor = Colocar<QLineEdit>(this, "Text_proveedor", Twips(1620, 3570, 3195, 375));

    auto* fabricacion = Colocar<QGroupBox>(this, "SSFrame_Fabricacion", Twips(120, 4860, 4695, 915));
    fabricacion->setTitle(QStringLiteral("Fabricación"));
    Etiqueta(fabricacion, "Label_EspesorMinimo", "Espesor central mínimo (mm):", Twips(120, 240, 2400, 255));
    m_Text_EspesorMinimo = Colocar<QLineEdit>(fabricacion, "Text_EspesorMinimo", Twips(2580, 210, 945, 315));
    Etiqueta(fabricacion, "Label_CodigoDCS", "Clase DCS (LMATTYPE):", Twips(120, 600, 2400, 255));
    m_Combo_CodigoDCS = Colocar<QComboBox>(fabricacion, "Combo_CodigoDCS", Twips(2580, 570, 1995, 315));
    m_Combo_CodigoDCS->addItem(QStringLiteral("Sin clase"));
    for (const codigo_dcs::Clase& c : codigo_dcs::kClases)
        m_Combo_CodigoDCS->addItem(QString::number(c.codigo) + QStringLiteral(" ") + Q(c.nombre), c.codigo);

    struct Boton {
        const char* nombre;
        const char* texto;
        QRect lugar;
        void (Form1_BaseMateriales::*click)();
    };
    const Boton botones[] = {
        {"SSCommand_Nuevo", "Nuevo Producto", Twips(3420, 630, 1425, 285),
         &Form1_BaseMateriales::SSCommand_Nuevo_Click},
        {"SSCommand_Editar", "Edita Producto", Twips(3420, 930, 1425, 285),
         &Form1_BaseMateriales::SSCommand_Editar_Click},
        {"SSCommand_Grabar", "Graba Producto", Twips(3420, 1230, 1425, 285),
         &Form1_BaseMateriales::SSCommand_Grabar_Click},
        {"SSCommand_Borrar", "Borra Producto", Twips(3420, 1530, 1425, 285),
         &Form1_BaseMateriales::SSCommand_Borrar_Click},
        {"SSCommand_Cancelar", "Cancelar", Twips(3420, 1830, 1425, 285),
         &Form1_BaseMateriales::SSCommand_Cancelar_Click},
        {"SSCommand_Refrescar", "Actualizar", Twips(3420, 2130, 1425, 285),
         &Form1_BaseMateriales::SSCommand_Refrescar_Click},
        {"SSCommand_Buscar", "Buscar Producto", Twips(3420, 2430, 1425, 285),
         &Form1_BaseMateriales::SSCommand_Buscar_Click},
        // The navigation row sits between the supplier box and "Seleccionar".
        {"SSCommand_Inicio", "| < Inicio", Twips(270, 4050, 1080, 285), &Form1_BaseMateriales::SSCommand_Inicio_Click},
        {"SSCommand_Anterior", " << Anterior", Twips(1425, 4050, 1080, 285),
         &Form1_BaseMateriales::SSCommand_Anterior_Click},
        {"SSCommand_Siguiente", "Siguiente >>", Twips(2580, 4050, 1080, 285),
         &Form1_BaseMateriales::SSCommand_Siguiente_Click},
        {"SSCommand_Final", "Final >|", Twips(3735, 4050, 1080, 285), &Form1_BaseMateriales::SSCommand_Final_Click},
        {"SSCommand_Seleccionar", "Seleccionar", Twips(270, 4470, 4545, 285),
         &Form1_BaseMateriales::SSCommand_Seleccionar_Click},
    };
    for (const Boton& b : botones) {
        auto* boton = Colocar<QPushButton>(this, b.nombre, b.lugar);
        boton->setText(Q(b.texto));
        boton->setAutoDefault(false);
        ConectarBoton(boton, [this, click = b.click] { (this->*click)(); });
    }
    m_SSCommand_Grabar = findChild<QPushButton*>(QStringLiteral("SSCommand_Grabar"));
    m_SSCommand_Cancelar = findChild<QPushButton*>(QStringLiteral("SSCommand_Cancelar"));
    m_SSCommand_Borrar = findChild<QPushButton*>(QStringLiteral("SSCommand_Borrar"));
    m_SSCommand_Seleccionar = findChild<QPushButton*>(QStringLiteral("SSCommand_Seleccionar"));

    connect(m_Check_Mineral, &QCheckBox::clicked, this, &Form1_BaseMateriales::Check_Mineral_Click);
    connect(m_Check_Organico, &QCheckBox::clicked, this, &Form1_BaseMateriales::Check_Organico_Click);
}

// Binds the boxes to the fields of the current record. The mapper writes the
// boxes into the model only when "Graba Producto" asks it to. The number
// boxes go through DelegadoNumeros, so what is shown can be saved back as it
// is and an empty Abbe box stores no value.
void Form1_BaseMateriales::enlazarCampos()
{
    m_modelo = std::make_unique<QSqlTableModel>(nullptr, m_conexion.bd());
    if (m_conexion.abierta())
        m_modelo->setTable(TablaCitada(m_conexion.bd()));
    m_modelo->setEditStrategy(QSqlTableModel::OnManualSubmit);
    struct Enlace {
        QWidget* control;
        QStringView campo;
        const char* propiedad;
    };
    // No property for the number boxes: the mapper then hands them to the
    // delegate.
    const Enlace enlaces[] = {
        {m_Text_Producto, tabla::kProducto, "text"},   {m_Text_Descripcion, tabla::kDescripcion, "plainText"},
        {m_Text_proveedor, tabla::kProveedor, "text"}, {m_Text_Indice, tabla::kIndice, nullptr},
        {m_Text_Densidad, tabla::kDensidad, nullptr},  {m_Text_Abbe, tabla::kAbbe, nullptr},
        {m_Check_Mineral, tabla::kMineral, "checked"}, {m_Check_Organico, tabla::kOrganico, "checked"},
    };
    m_colId = m_modelo->fieldIndex(tabla::kId.toString());
    if (!m_conexion.abierta() || m_colId < 0)
        return;
    for (const Enlace& e : enlaces)
        if (m_modelo->fieldIndex(e.campo.toString()) < 0)
            return;
    m_modelo->setSort(m_colId, Qt::AscendingOrder);
    m_mapeo = std::make_unique<QDataWidgetMapper>();
    m_mapeo->setModel(m_modelo.get());
    m_mapeo->setSubmitPolicy(QDataWidgetMapper::ManualSubmit);
    const auto columna = [&](QStringView campo) { return m_modelo->fieldIndex(campo.toString()); };
    m_mapeo->setItemDelegate(new DelegadoNumeros(
        {columna(tabla::kIndice), columna(tabla::kDensidad), columna(tabla::kAbbe)}, m_mapeo.get()));
    for (const Enlace& e : enlaces) {
        if (e.propiedad)
            m_mapeo->addMapping(e.control, columna(e.campo), e.propiedad);
        else
            m_mapeo->addMapping(e.control, columna(e.campo));
    }
}

int Form1_BaseMateriales::filaActual() const { return m_mapeo ? m_mapeo->currentIndex() : -1; }

bool Form1_BaseMateriales::hayRegistro() const
{
    const int fila = filaActual();
    return fila >= 0 && fila < m_modelo->rowCount();
}

// Shows the record of that row, kept within the table; an empty table shows
// empty boxes.
void Form1_BaseMateriales::irA(int fila)
{
    if (!tablaUsable() || m_modelo->rowCount() == 0) {
        for (QLineEdit* caja :
             {m_Text_Producto, m_Text_proveedor, m_Text_Indice, m_Text_Densidad, m_Text_Abbe, m_Text_EspesorMinimo})
            caja->clear();
        m_Text_Descripcion->clear();
        m_Check_Mineral->setChecked(false);
        m_Check_Organico->setChecked(false);
        m_Combo_CodigoDCS->setCurrentIndex(0);
        return;
    }
    m_mapeo->setCurrentIndex(std::clamp(fila, 0, m_modelo->rowCount() - 1));
    mostrarFabricacion();
}

// Read afresh with the record: another bench may have set them.
void Form1_BaseMateriales::mostrarFabricacion()
{
    const QVariant id = m_modelo->data(m_modelo->index(filaActual(), m_colId));
    m_Text_EspesorMinimo->setText(id.isNull() ? QString()
                                              : Q(TextoPlano(EspesorMinimoDe(m_conexion.bd(), id.toLongLong()))));
    const auto codigo = id.isNull() ? std::nullopt : CodigoDcsDe(m_conexion.bd(), id.toLongLong());
    int indice = codigo ? m_Combo_CodigoDCS->findData(*codigo) : 0;
    if (indice < 0) {
        // A class the standard's table does not name, set outside the window.
        m_Combo_CodigoDCS->addItem(QString::number(*codigo), *codigo);
        indice = m_Combo_CodigoDCS->count() - 1;
    }
    m_Combo_CodigoDCS->setCurrentIndex(indice);
}

// Reads the whole table. The model otherwise fetches in pages, and "Final"
// must reach the true last record.
void Form1_BaseMateriales::recargar()
{
    if (!tablaUsable())
        return;
    const VigiaServidor vigia(m_conexion.bd());
    m_modelo->select();
    while (m_modelo->canFetchMore())
        m_modelo->fetchMore();
}

int Form1_BaseMateriales::filaDeId(const QVariant& id) const
{
    for (int fila = 0; fila < m_modelo->rowCount(); ++fila)
        if (m_modelo->data(m_modelo->index(fila, m_colId)) == id)
            return fila;
    return -1;
}

void Form1_BaseMateriales::avisar(std::string_view titulo, std::string_view texto, Icono icono)
{
    m_dialogos.Mensaje(titulo, texto, icono);
}

std::string Form1_BaseMateriales::nombreArchivo() const { return m_conexion.nombreBase(); }

void Form1_BaseMateriales::Form_Load()
{
    m_editando = m_nuevo = false;
    recargar();
    irA(0);
    for (QPushButton* boton : findChildren<QPushButton*>())
        boton->setEnabled(true);
    m_SSCommand_Grabar->setEnabled(false);
    InhabilitarCajas();
    m_Text_Descripcion->setEnabled(true);
    m_Text_Descripcion->setReadOnly(true);
}

void Form1_BaseMateriales::showEvent(QShowEvent* evento)
{
    if (m_cerrada) {
        m_cerrada = false;
        Form_Load();
    }
    QWidget::showEvent(evento);
}

void Form1_BaseMateriales::closeEvent(QCloseEvent* evento)
{
    if (m_editando)
        cerrarEdicion();
    m_cerrada = true;
    QWidget::closeEvent(evento);
}

void Form1_BaseMateriales::SSCommand_Inicio_Click()
{
    if (hayRegistro())
        irA(0);
}

void Form1_BaseMateriales::SSCommand_Anterior_Click()
{
    if (hayRegistro())
        irA(filaActual() - 1);
}

void Form1_BaseMateriales::SSCommand_Siguiente_Click()
{
    if (hayRegistro())
        irA(filaActual() + 1);
}

void Form1_BaseMateriales::SSCommand_Final_Click()
{
    if (hayRegistro())
        irA(m_modelo->rowCount() - 1);
}

// A cancelled input box counts as an empty answer, which finds the first
// record that has a name. A text longer than any name is refused and the
// shown record stays.
void Form1_BaseMateriales::SSCommand_Buscar_Click()
{
    const std::optional<std::string> respuesta = m_dialogos.PedirTexto(m::kPreguntaBuscar);
    const QString texto = QString::fromStdString(respuesta.value_or(std::string()));
    if (Caracteres(texto) > tabla::kLargoNombre) {
        avisar(m::kTituloBusquedaLarga,
               "El texto a buscar " + Largo(texto) +
                   " Ningún producto tiene un nombre tan "
                   "largo.",
               Icono::Exclamacion);
        return;
    }
    std::optional<QSqlRecord> registro;
    if (tablaUsable()) {
        const VigiaServidor vigia(m_conexion.bd());
        registro = PrimerRegistroPorNombre(m_conexion.bd(), texto);
        // A server that cannot be reached is not a name that is missing.
        if (ConexionPerdida(m_conexion.bd())) {
            avisar(m::kTituloBaseNoDisponible,
                   "No se pudo buscar en la Base de Datos de Materiales " + m_conexion.nombreBase() + ": " +
                       vigia.MotivoPerdida() + ".",
                   Icono::Critico);
            return;
        }
    }
    const int fila = registro ? filaDeId(registro->value(tabla::kId.toString())) : -1;
    if (fila < 0) {
        avisar({}, m::kTextoNoEncontrado, Icono::Ninguno);
        if (tablaUsable())
            irA(m_modelo->rowCount() - 1);
        return;
    }
    irA(fila);
}

void Form1_BaseMateriales::abrirEdicion(bool nuevo)
{
    HabilitarCajas();
    InhabilitarBotones();
    m_SSCommand_Grabar->setEnabled(true);
    m_SSCommand_Cancelar->setEnabled(true);
    m_filaAntesDeEditar = std::max(filaActual(), 0);
    m_editando = true;
    m_nuevo = nuevo;
    if (nuevo) {
        const int fila = m_modelo->rowCount();
        m_modelo->insertRow(fila);
        m_mapeo->setCurrentIndex(fila);
        // An empty number or yes/no field does not reach its box through the
        // mapper, which would keep showing the previous record's values.
        for (QLineEdit* caja : {m_Text_Indice, m_Text_Densidad, m_Text_Abbe, m_Text_EspesorMinimo})
            caja->clear();
        m_Check_Mineral->setChecked(false);
        m_Check_Organico->setChecked(false);
        m_Combo_CodigoDCS->setCurrentIndex(0);
    }
    m_claseAlEditar = m_Combo_CodigoDCS->currentData();
    m_Text_Producto->setFocus();
}

void Form1_BaseMateriales::SSCommand_Nuevo_Click()
{
    if (!tablaUsable()) {
        avisar(m::kTituloBaseNoDisponible, "No se puede agregar un producto: la Base de Datos de Materiales " +
                                               nombreArchivo() + " no está disponible.");
        return;
    }
    abrirEdicion(true);
}

void Form1_BaseMateriales::SSCommand_Editar_Click()
{
    if (hayRegistro())
        abrirEdicion(false);
}

void Form1_BaseMateriales::SSCommand_Grabar_Click()
{
    if (!m_editando)
        return;
    const VigiaServidor vigia(m_conexion.bd());
    if (m_Text_Producto->text().trimmed().isEmpty()) {
        avisar(m::kTituloFaltaNombre, m::kTextoFaltanDatos);
        m_Text_Producto->setFocus();
        return;
    }
    if (Caracteres(m_Text_Producto->text()) > tabla::kLargoNombre) {
        avisar(m::kTituloNombreLargo,
               "El nombre del producto " + Largo(m_Text_Producto->text()) + " Acórtelo para grabar el producto.\n\r");
        m_Text_Producto->setFocus();
        return;
    }
    if (!m_Check_Organico->isChecked() && !m_Check_Mineral->isChecked()) {
        avisar(m::kTituloSinMaterial, m::kTextoSinMaterial);
        return;
    }
    if (m_Check_Organico->isChecked() && m_Check_Mineral->isChecked()) {
        avisar(m::kTituloAmbosMateriales, m::kTextoAmbosMateriales);
        return;
    }
    if (m_Text_Descripcion->toPlainText().trimmed().isEmpty()) {
        avisar(m::kTituloFaltaDescripcion, m::kTextoFaltaDescripcion);
        return;
    }
    // The file keeps the table of the version that made it, which refused an
    // empty Abbe number; it is never rewritten behind the user's back.
    if (m_abbeObligatorio && m_Text_Abbe->text().trimmed().isEmpty()) {
        avisar(m::kTituloFaltaAbbe, "La Base de Datos de Materiales " + nombreArchivo() +
                                        " fue creada por una versión anterior del programa y exige el número de "
                                        "Abbe. Escríbalo (un número entre 0 y 200) para grabar el producto.\n\r");
        m_Text_Abbe->setFocus();
        return;
    }
    // Empty leaves the material at the default thickness.
    const QString espesorTexto = m_Text_EspesorMinimo->text().trimmed();
    const double espesor = espesorTexto.isEmpty() ? 0.0 : LeerNumero(S(espesorTexto));
    if (!espesorTexto.isEmpty() && !(espesor > 0.0 && espesor < 20.0)) {
        avisar(m::kTituloEspesorMinimo, m::kTextoEspesorMinimo);
        m_Text_EspesorMinimo->setFocus();
        return;
    }
    if (grabarRegistro() == Grabacion::Rechazada)
        return;
    m_editando = m_nuevo = false;
    HabilitarBotones();
    m_SSCommand_Grabar->setEnabled(false);
    InhabilitarCajas();
}

// Saves the open record in one transaction. A refusal leaves the record open
// with what was typed, for the user to correct. The record being edited may
// have been deleted meanwhile by another bench or program, and then the
// update touches nothing; so is a commit that fails: in both cases the typed
// values cannot be kept, and the table is read again as it is in the store.
Form1_BaseMateriales::Grabacion Form1_BaseMateriales::grabarRegistro()
{
    QSqlDatabase bd = m_conexion.bd();
    QVariant id = m_nuevo ? QVariant() : m_modelo->data(m_modelo->index(filaActual(), m_colId));
    const std::string falla =
        "No se pudo grabar el registro en la Base de Datos de Materiales " + nombreArchivo() + ": ";
    m_mapeo->submit();
    if (!bd.transaction()) {
        avisar(m::kTituloError, falla + Motivo(bd.lastError(), bd) + ".");
        return Grabacion::Rechazada;
    }
    if (!m_modelo->submitAll()) {
        const QSqlError error = m_modelo->lastError();
        bd.rollback();
        if (EsRechazoDeDatos(error, bd))
            avisar(m::kTituloFaltaUnDato, m::kTextoFaltanDatos);
        else
            avisar(m::kTituloError, falla + Motivo(error, bd) + ".");
        return Grabacion::Rechazada;
    }
    if (!m_nuevo && Existe(bd, id) == false) {
        bd.rollback();
        avisar(m::kTituloBorradoEnOtroPuesto,
               "El producto \"" + S(m_Text_Producto->text()) + "\" fue borrado de la Base de Datos de Materiales " +
                   nombreArchivo() +
                   ", desde otro puesto o programa, mientras se lo editaba aquí. Los cambios no se grabaron; si "
                   "quiere conservarlo, agréguelo con \"Nuevo Producto\".",
               Icono::Exclamacion);
        recargar();
        irA(m_filaAntesDeEditar);
        return Grabacion::Perdida;
    }
    if (!bd.commit()) {
        const QSqlError error = bd.lastError();
        bd.rollback();
        avisar(m::kTituloError, falla + Motivo(error, bd) + ".");
        recargar();
        irA(m_filaAntesDeEditar);
        return Grabacion::Perdida;
    }
    // Asked after the commit, where the answer still holds for this
    // connection: on a server a bench may lack the right to ask, and a
    // refusal inside the transaction would have undone the save. Without the
    // answer the last record stands in.
    if (m_nuevo) {
        QSqlQuery ultimo(bd);
        if (ultimo.exec(DialectoDe(bd).ultimoId) && ultimo.next())
            id = ultimo.value(0);
    }
    // The material's own record is saved: a store that refuses the
    // thickness (a bench that may not write that table) is said so, and the
    // material keeps the thickness it had.
    const QString espesorTexto = m_Text_EspesorMinimo->text().trimmed();
    if (!espesorTexto.isEmpty() && !GuardarEspesorMinimo(bd, id.toLongLong(), LeerNumero(S(espesorTexto))))
        avisar(m::kTituloError, "El producto se grabó, pero no su espesor central mínimo en la Base de Datos de "
                                "Materiales " +
                                    nombreArchivo() + ".");
    // Only a class changed is written: a bench that may not write that
    // table still saves its materials.
    const QVariant clase = m_Combo_CodigoDCS->currentData();
    if (clase != m_claseAlEditar &&
        !GuardarCodigoDcs(bd, id.toLongLong(), clase.isValid() ? std::optional<int>(clase.toInt()) : std::nullopt))
        avisar(m::kTituloError, "El producto se grabó, pero no su clase en los trabajos (LMATTYPE) en la Base de "
                                "Datos de Materiales " +
                                    nombreArchivo() + ".");
    recargar();
    const int fila = filaDeId(id);
    irA(fila >= 0 ? fila : m_modelo->rowCount() - 1);
    return Grabacion::Grabada;
}

// Discards what was typed and a record not yet saved, and shows the stored
// values of the record that was current.
void Form1_BaseMateriales::cerrarEdicion()
{
    m_modelo->revertAll();
    irA(m_nuevo ? m_filaAntesDeEditar : filaActual());
    m_editando = m_nuevo = false;
}

void Form1_BaseMateriales::SSCommand_Cancelar_Click()
{
    if (m_editando)
        cerrarEdicion();
    else
        irA(filaActual());
    HabilitarBotones();
    m_SSCommand_Grabar->setEnabled(false);
    InhabilitarCajas();
}

void Form1_BaseMateriales::SSCommand_Borrar_Click()
{
    if (m_editando || !hayRegistro())
        return;
    InhabilitarBotones();
    m_SSCommand_Borrar->setEnabled(true);
    const int fila = filaActual();
    if (m_dialogos.Mensaje(m::kTituloBorrar, m::kTextoBorrar, Icono::Ninguno, Botones::SiNo) == Respuesta::Si) {
        if (borrarRegistro(fila)) {
            // The record that followed now holds this row; past the end, the new last one.
            irA(fila);
        } else {
            avisar(m::kTituloError,
                   "No se pudo borrar el registro de la Base de Datos de Materiales " + nombreArchivo() + ": " +
                       m_motivoBorrado + ".",
                   Icono::Ninguno);
            irA(fila);
        }
    }
    HabilitarBotones();
    m_SSCommand_Grabar->setEnabled(false);
}

bool Form1_BaseMateriales::borrarRegistro(int fila)
{
    const VigiaServidor vigia(m_conexion.bd());
    QSqlDatabase bd = m_conexion.bd();
    if (!bd.transaction())
        return false;
    const long long id = m_modelo->data(m_modelo->index(fila, m_colId)).toLongLong();
    // The thickness row goes with the material; a store without that table
    // has none to remove.
    if (m_modelo->removeRow(fila) && m_modelo->submitAll() && BorrarEspesorMinimo(bd, id) && BorrarCodigoDcs(bd, id) &&
        bd.commit()) {
        recargar();
        return true;
    }
    const QSqlError error = m_modelo->lastError().type() != QSqlError::NoError ? m_modelo->lastError() : bd.lastError();
    m_motivoBorrado = Motivo(error, bd);
    bd.rollback();
    m_modelo->revertAll();
    recargar();
    return false;
}

void Form1_BaseMateriales::SSCommand_Refrescar_Click()
{
    if (m_editando)
        return;
    recargar();
    irA(0);
    HabilitarBotones();
    m_SSCommand_Grabar->setEnabled(false);
}

// The design calculates with what it is handed, so a record without a name
// or with an index or density that cannot be a material's is not handed on.
void Form1_BaseMateriales::SSCommand_Seleccionar_Click()
{
    if (m_editando)
        return;
    const VigiaServidor vigia(m_conexion.bd());
    if (!hayRegistro()) {
        avisar(m::kTituloSinProductos, m::kTextoSinProductos, Icono::Exclamacion);
        return;
    }
    const std::string nombre = S(m_Text_Producto->text());
    const double indice = LeerNumero(S(m_Text_Indice->text()));
    const double densidad = LeerNumero(S(m_Text_Densidad->text()));
    if (m_Text_Producto->text().trimmed().isEmpty() || !(indice > 1) || !(densidad > 0)) {
        avisar(m::kTituloDatosIncompletos, m::kTextoDatosIncompletos, Icono::Exclamacion);
        return;
    }
    // A server that cannot be asked does not stop the selection: the boxes
    // hold the values the user sees.
    if (Existe(m_conexion.bd(), m_modelo->data(m_modelo->index(filaActual(), m_colId))) == false) {
        avisar(m::kTituloBorradoEnOtroPuesto,
               "El producto \"" + nombre + "\" ya no está en la Base de Datos de Materiales " + nombreArchivo() +
                   ": fue borrado desde otro puesto o programa. No se seleccionó; la lista muestra ahora los "
                   "productos que quedan.",
               Icono::Exclamacion);
        const int fila = filaActual();
        recargar();
        irA(fila);
        return;
    }
    hide();
    m_estado.MaterialDeBase = "Si";
    m_estado.IndiceMaterial = indice;
    m_estado.Densidad = densidad;
    m_estado.NombreMaterial = nombre;
}

void Form1_BaseMateriales::Check_Mineral_Click()
{
    if (!m_editando)
        irA(filaActual());
}

void Form1_BaseMateriales::Check_Organico_Click()
{
    if (!m_editando)
        irA(filaActual());
}

void Form1_BaseMateriales::InhabilitarCajas()
{
    for (QLineEdit* caja : findChildren<QLineEdit*>())
        caja->setEnabled(false);
    m_Text_Descripcion->setEnabled(false);
    m_Combo_CodigoDCS->setEnabled(false);
}

void Form1_BaseMateriales::HabilitarCajas()
{
    for (QLineEdit* caja : findChildren<QLineEdit*>())
        caja->setEnabled(true);
    m_Text_Descripcion->setEnabled(true);
    m_Combo_CodigoDCS->setEnabled(true);
    m_Text_Descripcion->setReadOnly(false);
}

void Form1_BaseMateriales::InhabilitarBotones()
{
    for (QPushButton* boton : findChildren<QPushButton*>())
        boton->setEnabled(false);
}

void Form1_BaseMateriales::HabilitarBotones()
{
    for (QPushButton* boton : findChildren<QPushButton*>())
        boton->setEnabled(true);
    m_SSCommand_Seleccionar->setEnabled(false);
}
