#pragma once

#include <QItemDelegate>
#include <QList>

// Between the number boxes of the materials window and the record: a stored
// number is shown with "." whatever the regional settings, and a NULL as an
// empty box. What is typed reaches the store as a number when it reads as a
// finite one with "." (no thousands separators), as NULL when the box is
// empty, and otherwise as the text typed, which the store refuses: the
// window does not check the numbers itself.
class DelegadoNumeros : public QItemDelegate {
public:
    DelegadoNumeros(QList<int> columnas, QObject* padre);

    void setEditorData(QWidget* editor, const QModelIndex& indice) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* modelo, const QModelIndex& indice) const override;

private:
    QList<int> m_columnas;
};
