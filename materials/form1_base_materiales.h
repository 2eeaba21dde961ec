#pragma once

#include "conexion_materiales.h"
#include "dialogos.h"

#include <QVariant>
#include <QWidget>
#include <memory>
#include <string_view>

class BaseMateriales;
struct EstadoDiseno;
class QCheckBox;
class QComboBox;
class QDataWidgetMapper;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QSqlTableModel;

// The materials window: browses, searches, adds, edits and deletes the
// records of the materials table on a cursor of its own (Data1), and hands
// the shown material to the design with "Seleccionar".
//
// Build it once and show it with show(): it is not modal, and "Seleccionar"
// only hides it, so a later show() finds it as it was left. Closing it with
// the title bar discards a record still open for editing, and the next show()
// loads it afresh (Form_Load). Message boxes and the input box go through
// Dialogos.
//
// Nothing reaches the table but through "Graba Producto" and "Borra
// Producto", each in one transaction. While no record is open for editing the
// description box can be read and scrolled but not typed in, and a click on a
// check box puts back the stored flag: what the window shows is what is
// stored. With an empty table, navigation, "Edita Producto" and "Borra
// Producto" do nothing; "Seleccionar" says there is nothing to select and
// never hands the design an empty name or an index of 0.
class Form1_BaseMateriales : public QWidget {
    Q_OBJECT

public:
    Form1_BaseMateriales(const BaseMateriales& base, EstadoDiseno& estado, Dialogos& dialogos,
                         QWidget* parent = nullptr);
    ~Form1_BaseMateriales() override;

public slots:
    void Form_Load();

    void SSCommand_Inicio_Click();
    void SSCommand_Anterior_Click();
    void SSCommand_Siguiente_Click();
    void SSCommand_Final_Click();
    void SSCommand_Buscar_Click();
    void SSCommand_Nuevo_Click();
    void SSCommand_Editar_Click();
    void SSCommand_Grabar_Click();
    void SSCommand_Cancelar_Click();
    void SSCommand_Borrar_Click();
    void SSCommand_Refrescar_Click();
    void SSCommand_Seleccionar_Click();
    void Check_Mineral_Click();
    void Check_Organico_Click();

    void InhabilitarCajas();
    void HabilitarCajas();
    void InhabilitarBotones();
    void HabilitarBotones();

protected:
    void showEvent(QShowEvent* evento) override;
    void closeEvent(QCloseEvent* evento) override;

private:
    enum class Grabacion { Grabada, Rechazada, Perdida };

    void crearControles();
    void enlazarCampos();
    bool tablaUsable() const { return m_mapeo != nullptr; }
    int filaActual() const;
    bool hayRegistro() const;
    void irA(int fila);
    void recargar();
    int filaDeId(const QVariant& id) const;
    Grabacion grabarRegistro();
    bool borrarRegistro(int fila);
    void abrirEdicion(bool nuevo);
    void cerrarEdicion();
    void avisar(std::string_view titulo, std::string_view texto, Icono icono = Icono::Critico);
    std::string nombreArchivo() const;
    void mostrarFabricacion();

    EstadoDiseno& m_estado;
    Dialogos& m_dialogos;
    // Declared in this order so that the mapper and the model, which hold the
    // connection, are destroyed before it.
    ConexionMateriales m_conexion;
    std::unique_ptr<QSqlTableModel> m_modelo;
    std::unique_ptr<QDataWidgetMapper> m_mapeo;
    int m_colId = -1;

    QLineEdit* m_Text_Producto = nullptr;
    QPlainTextEdit* m_Text_Descripcion = nullptr;
    QLineEdit* m_Text_proveedor = nullptr;
    QLineEdit* m_Text_Indice = nullptr;
    QLineEdit* m_Text_Densidad = nullptr;
    QLineEdit* m_Text_Abbe = nullptr;
    QLineEdit* m_Text_EspesorMinimo = nullptr;
    QComboBox* m_Combo_CodigoDCS = nullptr;
    QVariant m_claseAlEditar; // the class shown when the record was opened for editing
    QCheckBox* m_Check_Mineral = nullptr;
    QCheckBox* m_Check_Organico = nullptr;
    QPushButton* m_SSCommand_Grabar = nullptr;
    QPushButton* m_SSCommand_Cancelar = nullptr;
    QPushButton* m_SSCommand_Borrar = nullptr;
    QPushButton* m_SSCommand_Seleccionar = nullptr;

    bool m_abbeObligatorio = false;
    std::string m_motivoBorrado;
    bool m_editando = false;
    bool m_nuevo = false;
    bool m_cerrada = false;
    int m_filaAntesDeEditar = 0;
};
