#include "basis/services.h"

#include <QtGlobal>

namespace {
MessageBoxes *g_messages = nullptr;
RandomNumbers *g_random = nullptr;
FileDialogs *g_fileDialogs = nullptr;
UrlOpener *g_urls = nullptr;
AppDirectory *g_appDirectory = nullptr;
int g_splashIntervalMs = 60000;
Passwoerter *g_passwoerter = nullptr;

class KeineSprache : public Sprachausgabe {
public:
    bool verfuegbar() override { return false; }
    QString grund() const override { return QStringLiteral("Keine Sprachausgabe eingerichtet."); }
    void sage(const QString &) override {}
    void stopp() override {}
};
Sprachausgabe *g_sprache = nullptr;

template <class T>
T &required(T *service, const char *name)
{
    if (!service)
        qFatal("Kreidolin: service %s is not installed", name);
    return *service;
}
}

namespace Services {
MessageBoxes &messages() { return required(g_messages, "messages"); }
RandomNumbers &random() { return required(g_random, "random"); }
FileDialogs &fileDialogs() { return required(g_fileDialogs, "fileDialogs"); }
UrlOpener &urls() { return required(g_urls, "urls"); }
const AppDirectory &appDirectory() { return required(g_appDirectory, "appDirectory"); }
int splashIntervalMs() { return g_splashIntervalMs; }
Sprachausgabe &sprache()
{
    static KeineSprache keine;
    return g_sprache ? *g_sprache : keine;
}
Passwoerter *passwoerter() { return g_passwoerter; }

void setMessages(MessageBoxes *service) { g_messages = service; }
void setRandom(RandomNumbers *service) { g_random = service; }
void setFileDialogs(FileDialogs *service) { g_fileDialogs = service; }
void setUrls(UrlOpener *service) { g_urls = service; }
void setAppDirectory(AppDirectory *service) { g_appDirectory = service; }
void setSplashIntervalMs(int ms) { g_splashIntervalMs = ms; }
void setSprache(Sprachausgabe *service) { g_sprache = service; }
void setPasswoerter(Passwoerter *service) { g_passwoerter = service; }

QMessageBox::StandardButton meldung(QWidget *parent, const QString &titel, const QString &text)
{
    Meldung m;
    m.titel = titel;
    m.text = text;
    return messages().zeige(parent, m);
}
}
