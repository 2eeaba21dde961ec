#include "frm_comparar_materiales.h"

#include "catalogo.h"
#include "materiales_catalogo.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <cmath>

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

enum Columna { Nombre, Indice, Ojo, Base, Centro, BordeMin, BordeMax, Maximo, Peso, Bloque, PesoPar, Columnas };

const char* const kTitulos[Columnas] = {
    "Material",      "Índice",          "Ojo",  "Base",   "Espesor\ncentral", "Borde\nmínimo",
    "Borde\nmáximo", "Espesor\nmáximo", "Peso", "Bloque", "Peso\ndel par"};

QString cifras(double x, int decimales) { return std::isfinite(x) ? QString::number(x, 'f', decimales) : "?"; }

// A reason the catalogue gives, as the job window says it.
const QString kEstiloFalla = QStringLiteral("background-color: rgb(0,128,128); color: rgb(255,255,0); padding: 2px;");

} // namespace

Frm_CompararMateriales::Frm_CompararMateriales(const trabajos::FormularioTrabajo& trabajo, const BaseMateriales& base,
                                               Catalogo& catalogo, QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("Frm_CompararMateriales"));
    setWindowTitle(QStringLiteral("Comparar materiales"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(700, 450);

    auto* columna = new QVBoxLayout(this);
    auto* explicacion = new QLabel(
        QStringLiteral("Cada material en su curva base sugerida, una para el par; el más delgado primero. Espesores "
                       "en mm, curvas en D a 1.523, pesos en g. Enter o doble clic elige el material; Escape cierra "
                       "sin cambiar nada."),
        this);
    explicacion->setObjectName(QStringLiteral("Lbl_Explicacion"));
    explicacion->setWordWrap(true);
    columna->addWidget(explicacion);
    m_aviso = new QLabel(this);
    m_aviso->setObjectName(QStringLiteral("Lbl_Catalogo"));
    m_aviso->setWordWrap(true);
    m_aviso->setStyleSheet(kEstiloFalla);
    m_aviso->hide();
    columna->addWidget(m_aviso);

    m_tabla = new QTableWidget(0, Columnas, this);
    m_tabla->setObjectName(QStringLiteral("Grid_Materiales"));
    m_tabla->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_tabla->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_tabla->setSelectionMode(QAbstractItemView::SingleSelection);
    m_tabla->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_tabla->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_tabla->verticalHeader()->hide();
    for (int c = 0; c < Columnas; ++c)
        m_tabla->setHorizontalHeaderItem(c, new QTableWidgetItem(QString::fromUtf8(kTitulos[c])));
    m_tabla->installEventFilter(this);
    connect(m_tabla, &QTableWidget::cellDoubleClicked, this, [this](int fila) { Grid_Materiales_Elegir(fila); });
    columna->addWidget(m_tabla, 1);

    auto* botones = new QDialogButtonBox(this);
    auto* elegir = botones->addButton(QStringLiteral("Elegir"), QDialogButtonBox::AcceptRole);
    elegir->setObjectName(QStringLiteral("Command_Elegir"));
    auto* cerrar = botones->addButton(QStringLiteral("Cerrar"), QDialogButtonBox::RejectRole);
    cerrar->setObjectName(QStringLiteral("Command_Cerrar"));
    connect(elegir, &QPushButton::clicked, this, [this] { Grid_Materiales_Elegir(m_tabla->currentRow()); });
    connect(cerrar, &QPushButton::clicked, this, &QDialog::reject);
    columna->addWidget(botones);

    // The list is read now, from the catalogue in use: a material added or
    // changed since the window opened is in it.
    const std::vector<std::string> nombres = catalogo.Productos();
    if (!catalogo.Inaccesible().empty())
        m_aviso->setText(QStringLiteral("No se pudo consultar la Base de Datos de Materiales: ") +
                         Q(catalogo.Inaccesible()));
    else if (nombres.empty())
        m_aviso->setText(QStringLiteral("La Base de Datos de Materiales no tiene materiales."));
    m_aviso->setVisible(!m_aviso->text().isEmpty());
    trabajos::MaterialesDeCatalogo materiales(base);
    m_filas = trabajos::CompararMaterialesDelTrabajo(trabajo, nombres, &materiales);
    llenar(trabajo.Texto(trabajos::Campo::Material));
    m_tabla->setFocus();
}

void Frm_CompararMateriales::llenar(const std::string& actual)
{
    m_tabla->setRowCount(static_cast<int>(m_filas.size()));
    int elegida = 0;
    for (int f = 0; f < m_tabla->rowCount(); ++f) {
        const trabajos::MaterialDelTrabajo& m = m_filas[static_cast<std::size_t>(f)];
        const bool esActual = QString::compare(Q(m.nombre), Q(actual), Qt::CaseInsensitive) == 0;
        if (esActual)
            elegida = f;
        QStringList textos[Columnas];
        textos[Nombre] << Q(m.nombre);
        if (esActual)
            textos[Nombre] << QStringLiteral("(actual)");
        for (int i = 0; i < 2; ++i) {
            const trabajos::OjoResuelto& o = m.ojos[static_cast<std::size_t>(i)];
            if (!o.pedido)
                continue;
            if (textos[Indice].isEmpty() && o.indice > 0)
                textos[Indice] << cifras(o.indice, 3);
            const lente::Resultado* r = o.resultado ? &*o.resultado : nullptr;
            if (!r)
                continue;
            textos[Ojo] << (i == 0 ? QStringLiteral("OD") : QStringLiteral("OI"));
            textos[Base] << cifras(o.base, 2);
            textos[Centro] << cifras(r->espesorCentral, 2);
            textos[BordeMin] << cifras(r->bordeMinimo, 2);
            textos[BordeMax] << cifras(r->bordeMaximo, 2);
            textos[Maximo] << cifras(r->espesorMaximo, 2);
            textos[Peso] << cifras(r->peso, 1);
            textos[Bloque] << (o.bloque ? cifras(*o.bloque, 0) : QStringLiteral("ninguno"));
        }
        if (m.hecha)
            textos[PesoPar] << cifras(m.peso, 1);
        for (int c = 0; c < Columnas; ++c) {
            auto* celda = new QTableWidgetItem(textos[c].join('\n'));
            celda->setTextAlignment(Qt::AlignVCenter | (c == Nombre ? Qt::AlignLeft : Qt::AlignRight));
            if (esActual) {
                QFont negrita = celda->font();
                negrita.setBold(true);
                celda->setFont(negrita);
            }
            m_tabla->setItem(f, c, celda);
        }
        if (!m.hecha) {
            // The reason takes the place of the figures.
            m_tabla->setSpan(f, Ojo, 1, Columnas - Ojo);
            m_tabla->item(f, Ojo)->setText(QStringLiteral("No se puede calcular: ") + Q(m.falla));
            m_tabla->item(f, Ojo)->setTextAlignment(Qt::AlignVCenter | Qt::AlignLeft);
        }
    }
    medir();
    if (m_tabla->rowCount() > 0)
        m_tabla->setCurrentCell(elegida, Nombre);
}

// Every column as wide as its widest line, the names taking what is left;
// every row as tall as its lines, a reason wrapped across the figures'
// columns.
void Frm_CompararMateriales::medir()
{
    constexpr int kMargen = 12;
    const auto ancho = [](const QFontMetrics& fm, const QString& texto) {
        int a = 0;
        for (const QString& linea : texto.split('\n'))
            a = std::max(a, fm.horizontalAdvance(linea));
        return a;
    };
    QFont negrita = m_tabla->font();
    negrita.setBold(true);
    const QFontMetrics cabecera(m_tabla->horizontalHeader()->font()), normal(m_tabla->font()), gruesa(negrita);
    m_tabla->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_tabla->horizontalHeader()->setSectionResizeMode(Nombre, QHeaderView::Stretch);
    for (int c = Indice; c < Columnas; ++c) {
        int a = ancho(cabecera, m_tabla->horizontalHeaderItem(c)->text());
        for (int f = 0; f < m_tabla->rowCount(); ++f)
            if (m_tabla->columnSpan(f, c) == 1)
                a = std::max(a, ancho(gruesa, m_tabla->item(f, c)->text()));
        m_tabla->setColumnWidth(c, a + kMargen);
    }
    int figuras = 0;
    for (int c = Ojo; c < Columnas; ++c)
        figuras += m_tabla->columnWidth(c);
    for (int f = 0; f < m_tabla->rowCount(); ++f) {
        const QFontMetrics& fm = m_tabla->item(f, Nombre)->font().bold() ? gruesa : normal;
        int alto = 0;
        for (int c = 0; c < Columnas; ++c)
            if (m_tabla->columnSpan(f, c) == 1)
                alto = std::max(alto, static_cast<int>(m_tabla->item(f, c)->text().count('\n') + 1) * fm.lineSpacing());
        if (m_tabla->columnSpan(f, Ojo) > 1)
            alto = std::max(alto, fm.boundingRect(QRect(0, 0, figuras - kMargen, 10000), Qt::TextWordWrap,
                                                  m_tabla->item(f, Ojo)->text())
                                      .height());
        m_tabla->setRowHeight(f, alto + kMargen);
    }
}

bool Frm_CompararMateriales::eventFilter(QObject* objeto, QEvent* e)
{
    if (objeto == m_tabla && e->type() == QEvent::KeyPress) {
        const int tecla = static_cast<QKeyEvent*>(e)->key();
        if (tecla == Qt::Key_Return || tecla == Qt::Key_Enter) {
            Grid_Materiales_Elegir(m_tabla->currentRow());
            return true;
        }
    }
    return QDialog::eventFilter(objeto, e);
}

void Frm_CompararMateriales::Grid_Materiales_Elegir(int fila)
{
    if (fila < 0 || fila >= static_cast<int>(m_filas.size()))
        return;
    emit Elegido(Q(m_filas[static_cast<std::size_t>(fila)].nombre));
    accept();
}
