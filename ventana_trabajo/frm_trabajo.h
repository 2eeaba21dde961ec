#pragma once

#include "almacen_trabajos.h"
#include "formulario_trabajo.h"
#include "responder_trabajo.h"

#include <QString>
#include <QWidget>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>

class BaseMateriales;
class Catalogo;
class Dialogos;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class VistaErrores;
class VistaEspesor;

// The job window: a whole prescription for both eyes, its frame and how it
// sits on the face, the lenses solved with the laboratory's rules (the back
// compensated for the frame's tilt and wrap), drawn in their shape with their
// thickness and their errors as worn, stored, printed and sent. Every box is confirmed by Enter and
// each confirmed change solves the job again.
class Frm_Trabajo : public QWidget {
    Q_OBJECT
public:
    Frm_Trabajo(const BaseMateriales& base, Catalogo& catalogo, Dialogos& dialogos, QWidget* parent = nullptr);
    ~Frm_Trabajo() override;

    // Pulls a stored job up by its number, as typing it in "Trabajo" does.
    void AbrirTrabajo(const QString& numero);
    void CargarTrazado(const std::filesystem::path& archivo);
    void Exportar(const std::filesystem::path& pedido);
    bool Guardar();
    void Imprimir();

    // Where the file boxes ask for a name; the tests answer instead. An
    // empty answer is a cancel.
    std::function<QString(const QString& titulo, const QString& filtro, bool guardar)> elegirArchivo;

    const trabajos::FormularioTrabajo& formulario() const { return m_formulario; }
    const std::optional<trabajos::Contestacion>& contestacion() const { return m_contestacion; }

protected:
    void closeEvent(QCloseEvent* e) override;
    bool eventFilter(QObject* objeto, QEvent* e) override;

private:
    struct Casilla {
        trabajos::Campo campo;
        dcs::Lado lado;
    };
    QLineEdit* caja(const QString& nombre, trabajos::Campo c, dcs::Lado lado);
    // Takes a box's text; on Enter a good value moves on to the next box and
    // a refused one keeps the focus.
    bool confirmar(QWidget* control, bool porEnter);
    void mostrarCampos();
    void calcular();
    void mostrarResultados();
    void aconsejar(const QString& texto);
    bool preguntarSiGuardar(const QString& para);
    QString elegir(const QString& titulo, const QString& filtro, bool guardar);
    bool numerado();
    void usarTrazoDelTrazador(const std::string& numero);
    void Command_MejorBase_Click();
    void Command_CompararMateriales_Click();

    const BaseMateriales& m_base;
    Catalogo& m_catalogo;
    Dialogos& m_dialogos;
    trabajos::FormularioTrabajo m_formulario;
    std::optional<trabajos::Contestacion> m_contestacion;
    // The job as stored, while nothing has changed since it was opened or
    // stored: what is printed and exported.
    struct Guardado {
        TrabajoGuardado trabajo;
        trabajos::Contestacion contestacion;
    };
    std::optional<Guardado> m_guardado;
    std::map<QWidget*, Casilla> m_casillas;
    QLineEdit* m_numero = nullptr;
    QComboBox* m_material = nullptr;
    QComboBox* m_montura = nullptr;
    QComboBox* m_seguridad = nullptr;
    QPushButton* m_quitarTrazado = nullptr;
    QPushButton* m_guardar = nullptr;
    QPushButton* m_exportar = nullptr;
    QLabel* m_trazado = nullptr;
    QLabel* m_conservados = nullptr;
    QLabel* m_salida = nullptr;
    QLabel* m_resultados[2] = {};
    QLabel* m_avisos[2] = {};
    QLabel* m_lectura = nullptr;
    VistaEspesor* m_vista = nullptr;
    VistaErrores* m_errores = nullptr;
    bool m_mostrando = false;
    bool m_delTrazador = false; // the trace is the one a tracer sent
};

// "Trabajo con receta completa…" in a window's right-button menu and Ctrl+T
// run `abrir`; nothing is added to the window's layout.
void AgregarVentanaTrabajo(QWidget* ventana, std::function<void()> abrir);
