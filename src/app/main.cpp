#include "app/realservices.h"
#include "app/start.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    installRealServices();
    Start::bereiteVor(app);
    Start::ersterFenster();
    const int status = app.exec();
    Start::raeumeAuf();
    return status;
}
