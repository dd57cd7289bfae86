#include "app/realservices.h"
#include "app/start.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    installRealServices();
    Start::bereiteVor(app);
    Start::ersterFenster();
    return app.exec();
}
