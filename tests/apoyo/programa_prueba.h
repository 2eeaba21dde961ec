#pragma once

#include "apoyo/dialogos_prueba.h"
#include "frm_vantora.h"
#include "programa.h"

#include <QComboBox>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QtTest>

// The whole program on a fresh data folder (or one to be made under it), its
// boxes recorded (or shown by the given ones), with the design window up.
struct ProgramaPrueba {
    QTemporaryDir dir;
    CarpetaDatos carpeta;
    DialogosPrueba dlg;
    Programa programa;
    Frm_Vantora& frm = programa.diseno();

    explicit ProgramaPrueba(const QString& subcarpeta = {}, Dialogos* cajas = nullptr)
        : carpeta((dir.path() + subcarpeta).toStdString()), programa(carpeta, cajas ? *cajas : dlg)
    {
        frm.AlTerminar([] {});
        programa.Mostrar();
    }
    static void clic(QWidget& ventana, const char* nombre)
    {
        QTest::mouseClick(ventana.findChild<QWidget*>(nombre), Qt::LeftButton);
    }
    // +4 D with a 1 mm edge typed as the optician does, each box confirmed
    // with Enter; the list's material when one is given.
    void teclear(const char* base, const char* diametro = "60", int material = 1)
    {
        for (auto [caja, texto] : {std::pair{"Tx_BaseCrown", base},
                                   {"Tx_EspesorBorde", "1"},
                                   {"Tx_PoderVertice", "4"},
                                   {"Tx_DiametroInicial", diametro}}) {
            QTest::keyClicks(frm.findChild<QLineEdit*>(caja), QString(texto) + "\r");
            if (material >= 0 && std::string_view(caja) == "Tx_BaseCrown")
                frm.findChild<QComboBox*>("Combo_Materiales")->setCurrentIndex(material);
        }
    }
};
