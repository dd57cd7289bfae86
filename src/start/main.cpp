#include "start/fensterregister.h"
#include "basis/realservices.h"
#include "start/start.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    installRealServices();
    Start::installiereFensterregister();
    Start::bereiteVor(app);
    Start::ersterFenster();
    const int status = app.exec();
    Start::raeumeAuf();
    return status;
}
