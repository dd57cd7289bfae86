#include "austausch/xmlleser.h"

bool XmlLeser::weiter()
{
    switch (m_x.readNext()) {
    case QXmlStreamReader::DTD:
        m_x.raiseError(QStringLiteral("Dokumenttyp-Deklarationen werden nicht gelesen"));
        break;
    case QXmlStreamReader::StartElement:
        if (++m_tiefe > kMaxTiefe)
            m_x.raiseError(QStringLiteral("die Elemente sind tiefer als %1 Ebenen verschachtelt").arg(kMaxTiefe));
        break;
    case QXmlStreamReader::EndElement:
        --m_tiefe;
        break;
    default:
        break;
    }
    return !m_x.atEnd() && !m_x.hasError();
}

void XmlLeser::ueberspringe()
{
    // Qt skips with a counter of its own, not by recursion.
    m_x.skipCurrentElement();
    --m_tiefe;
}

QString XmlLeser::text()
{
    QString t;
    int innen = 0;
    while (weiter()) {
        if (m_x.isStartElement())
            ++innen;
        else if (m_x.isEndElement() && innen-- == 0)
            break;
        else if (m_x.isCharacters())
            t += m_x.text();
    }
    return t;
}

QString XmlLeser::fehlertext() const
{
    QString grund;
    switch (m_x.error()) {
    case QXmlStreamReader::CustomError:
        grund = m_x.errorString();
        break;
    case QXmlStreamReader::PrematureEndOfDocumentError:
        grund = QStringLiteral("das Dokument endet mitten in einem Element");
        break;
    case QXmlStreamReader::NotWellFormedError:
        grund = QStringLiteral("kein wohlgeformtes XML");
        break;
    case QXmlStreamReader::UnexpectedElementError:
        grund = QStringLiteral("ein Element steht an falscher Stelle");
        break;
    case QXmlStreamReader::NoError:
        return {};
    }
    return QStringLiteral("%1 (Zeile %2, Spalte %3)").arg(grund).arg(m_x.lineNumber()).arg(m_x.columnNumber());
}
