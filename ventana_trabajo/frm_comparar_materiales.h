#pragma once

#include "comparacion_trabajo.h"

#include <QDialog>
#include <string>
#include <vector>

class BaseMateriales;
class Catalogo;
class QLabel;
class QTableWidget;

// The job in every material of the catalogue, thinnest pair first, one row a
// material with each eye's figures one above the other. Enter or a double
// click chooses the row's material; Escape closes and changes nothing.
class Frm_CompararMateriales : public QDialog {
    Q_OBJECT
public:
    Frm_CompararMateriales(const trabajos::FormularioTrabajo& trabajo, const BaseMateriales& base, Catalogo& catalogo,
                           QWidget* parent = nullptr);

    const std::vector<trabajos::MaterialDelTrabajo>& filas() const { return m_filas; }

signals:
    void Elegido(const QString& material);

protected:
    bool eventFilter(QObject* objeto, QEvent* e) override;

private:
    void llenar(const std::string& actual);
    void medir();
    void Grid_Materiales_Elegir(int fila);

    std::vector<trabajos::MaterialDelTrabajo> m_filas;
    QLabel* m_aviso = nullptr;
    QTableWidget* m_tabla = nullptr;
};
