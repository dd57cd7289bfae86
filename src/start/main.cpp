#include "start/fensterregister.h"
#include "basis/realservices.h"
#include "basis/sprachausgabe.h"
#include "start/start.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    installRealServices();
    // Lives inside the application: its engine thread ends before Qt does.
    EchteSprachausgabe sprache;
    Services::setSprache(&sprache);
    Start::installiereFensterregister();
    Start::bereiteVor(app);
    Start::ersterFenster();
    const int status = app.exec();
    Services::setSprache(nullptr);
    return status;
}
