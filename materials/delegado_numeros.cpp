#include "delegado_numeros.h"

#include <QLineEdit>
#include <QLocale>
#include <cmath>

DelegadoNumeros::DelegadoNumeros(QList<int> columnas, QObject* padre)
    : QItemDelegate(padre), m_columnas(std::move(columnas))
{
}

void DelegadoNumeros::setEditorData(QWidget* editor, const QModelIndex& indice) const
{
    auto* caja = qobject_cast<QLineEdit*>(editor);
    if (!caja || !m_columnas.contains(indice.column())) {
        QItemDelegate::setEditorData(editor, indice);
        return;
    }
    const QVariant valor = indice.data(Qt::EditRole);
    caja->setText(valor.isNull() ? QString() : valor.toString());
}

void DelegadoNumeros::setModelData(QWidget* editor, QAbstractItemModel* modelo, const QModelIndex& indice) const
{
    auto* caja = qobject_cast<QLineEdit*>(editor);
    if (!caja || !m_columnas.contains(indice.column())) {
        QItemDelegate::setModelData(editor, modelo, indice);
        return;
    }
    const QString texto = caja->text().trimmed();
    if (texto.isEmpty()) {
        modelo->setData(indice, QVariant(QMetaType::fromType<double>()));
        return;
    }
    QLocale c = QLocale::c();
    c.setNumberOptions(QLocale::RejectGroupSeparator);
    bool ok = false;
    const double numero = c.toDouble(texto, &ok);
    modelo->setData(indice, ok && std::isfinite(numero) ? QVariant(numero) : QVariant(caja->text()));
}
