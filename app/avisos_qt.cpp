#include "avisos_qt.h"

#include <QString>
#include <QtGlobal>
#include <iostream>

void CallarAvisosDeQt()
{
    qInstallMessageHandler([](QtMsgType tipo, const QMessageLogContext&, const QString& texto) {
        if (tipo == QtFatalMsg)
            std::cerr << texto.toLocal8Bit().constData() << std::endl;
    });
}
