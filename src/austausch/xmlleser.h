#pragma once

#include <QString>
#include <QXmlStreamReader>

// Qt's stream reader as the exchange formats read it: a document type
// declaration (and with it any entity) ends the reading instead of being
// expanded, elements nest at most kMaxTiefe deep, and an element's text is
// gathered without recursion, however deep the file tries to nest.
class XmlLeser {
public:
    static constexpr int kMaxTiefe = 256;

    explicit XmlLeser(const QByteArray &xml) : m_x(xml) {}
    // Read piece by piece: a large file is not held as UTF-16 whole.
    explicit XmlLeser(QIODevice *geraet) : m_x(geraet) {}

    // Reads on; false at the end or after a fault.
    bool weiter();
    // Leaves the element the reader stands on, with everything inside it.
    void ueberspringe();
    // The text of the element the reader stands on and of all its children;
    // ends on the element's end.
    QString text();
    bool beginnt(QLatin1String name) const { return m_x.isStartElement() && m_x.name() == name; }
    bool endet(QLatin1String name) const { return m_x.isEndElement() && m_x.name() == name; }

    // Elements open around the reader's place, the one it stands on included.
    int tiefe() const { return m_tiefe; }
    QXmlStreamReader &x() { return m_x; }
    bool fehler() const { return m_x.hasError(); }
    // The fault in German, with where it is.
    QString fehlertext() const;

private:
    QXmlStreamReader m_x;
    int m_tiefe = 0;
};
