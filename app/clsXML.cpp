#include "app/clsXML.h"

#include "app/DataSetBuilder.h"
#include "app/Deployment.h"
#include "app/storedvars.h"

#include <QStringDecoder>
#include <QXmlStreamReader>

#include <expat.h>

#include <cstring>
#include <string_view>

namespace {
const QString kServicePath = QStringLiteral("/RookfellWebService/RookfellWebService.asmx");

// Expat reports a namespaced name as "<uri><kNsSep><local>"; no XML name holds this character.
constexpr char kNsSep = '\x01';
constexpr std::string_view kXsd = "http://www.w3.org/2001/XMLSchema";
constexpr std::string_view kXsdElement = "http://www.w3.org/2001/XMLSchema\x01" "element";

class ExpatReading {
public:
    // encoding: "UTF-8" for text already decoded; nullptr to follow the reply's declaration.
    ExpatReading(const char* encoding, qsizetype inputSize)
        : m_parser(XML_ParserCreateNS(encoding, kNsSep)), m_builder(inputSize) {
        if (!m_parser) return;
        XML_SetUserData(m_parser, this);
        XML_SetElementHandler(m_parser, onStart, onEnd);
        XML_SetCharacterDataHandler(m_parser, onCharacters);
        XML_SetUnknownEncodingHandler(m_parser, onUnknownEncoding, nullptr);
        XML_SetXmlDeclHandler(m_parser, onDeclaration);
    }
    ~ExpatReading() {
        if (m_parser) XML_ParserFree(m_parser);
    }
    ExpatReading(const ExpatReading&) = delete;
    ExpatReading& operator=(const ExpatReading&) = delete;

    // The set, or a failed empty one; errorText phrases a reply that is not well-formed.
    template <class ErrorText>
    RecordSet read(const QByteArray& bytes, ErrorText&& errorText) {
        if (!m_parser) return RecordSet::failure(QStringLiteral("Error: -2 - out of memory"));
        bool ok = true;
        constexpr qsizetype kChunk = 1 << 30;  // expat takes an int length
        for (qsizetype at = 0; ok;) {
            const qsizetype n = qMin(bytes.size() - at, kChunk);
            const bool last = at + n == bytes.size();
            ok = XML_Parse(m_parser, bytes.constData() + at, int(n), last) == XML_STATUS_OK;
            at += n;
            if (last) break;
        }
        if (m_builder.tooLarge()) return RecordSet::failure(QStringLiteral("Error: -3 - The data set is too large"));
        if (!ok) {
            const QString text = errorText();
            return RecordSet::failure(!text.isEmpty() ? text
                                                      : QStringLiteral("Error: -2 - %1 (line %2)")
                                                            .arg(QString::fromUtf8(XML_ErrorString(XML_GetErrorCode(m_parser))))
                                                            .arg(XML_GetCurrentLineNumber(m_parser)));
        }
        return m_builder.take();
    }

private:
    static void XMLCALL onStart(void* data, const XML_Char* name, const XML_Char** attributes) {
        auto* self = static_cast<ExpatReading*>(data);
        const std::string_view qualified(name);
        const size_t sep = qualified.find(kNsSep);
        const bool xsd = sep != std::string_view::npos && qualified.substr(0, sep) == kXsd;
        const std::string_view local = sep != std::string_view::npos ? qualified.substr(sep + 1) : qualified;
        auto attr = [attributes](const char* wanted) -> const char* {
            for (const XML_Char** a = attributes; *a; a += 2)
                if (std::strcmp(a[0], wanted) == 0) return a[1];
            return nullptr;
        };
        if (!self->m_builder.startElement(xsd, local, attr, XML_GetCurrentByteIndex(self->m_parser)))
            XML_StopParser(self->m_parser, XML_FALSE);
    }
    static void XMLCALL onEnd(void* data, const XML_Char* name) {
        static_cast<ExpatReading*>(data)->m_builder.endElement(name == kXsdElement);
    }
    static void XMLCALL onCharacters(void* data, const XML_Char* text, int length) {
        static_cast<ExpatReading*>(data)->m_builder.characters(text, length);
    }
    // Only XML 1.0 is read, as the client always has.
    static void XMLCALL onDeclaration(void* data, const XML_Char* version, const XML_Char*, int) {
        if (version && std::strcmp(version, "1.0") != 0) XML_StopParser(static_cast<ExpatReading*>(data)->m_parser, XML_FALSE);
    }
    // Single-byte encodings beyond expat's own (windows-1252 and the like) through Qt's codecs.
    static int XMLCALL onUnknownEncoding(void*, const XML_Char* name, XML_Encoding* info) {
        if (!QStringDecoder(name).isValid()) return XML_STATUS_ERROR;
        for (int b = 0; b < 256; ++b) {
            const char byte = char(b);
            QStringDecoder decoder(name);
            const QString c = decoder(QByteArrayView(&byte, 1));
            if (c.size() != 1 && !decoder.hasError()) return XML_STATUS_ERROR;  // not one byte per character
            info->map[b] = decoder.hasError() ? -1 : c[0].unicode();
        }
        info->data = nullptr;
        info->convert = nullptr;
        info->release = nullptr;
        return XML_STATUS_OK;
    }

    XML_Parser m_parser;
    DataSetBuilder m_builder;
};

// A reply that is not well-formed is phrased as the client has always phrased it.
template <class Input>
QString phrasedError(const Input& reply) {
    QXmlStreamReader xml(reply);
    while (!xml.atEnd()) xml.readNext();
    if (!xml.hasError()) return {};
    return QStringLiteral("Error: -2 - %1 (line %2)").arg(xml.errorString()).arg(xml.lineNumber());
}
}  // namespace

RecordSet ParseDataSetReply(const QByteArray& reply) {
    return ExpatReading(nullptr, reply.size()).read(reply, [&] { return phrasedError(reply); });
}

RecordSet ParseDataSetText(const QString& reply) {
    return ExpatReading("UTF-8", reply.size()).read(reply.toUtf8(), [&] { return phrasedError(reply); });
}

QString GetDataRequest(const QString& command64, const QString& key64) {
    return QStringLiteral("<?xml version=\"1.0\" encoding=\"utf-8\"?>"
                          "<soap:Envelope xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\""
                          " xmlns:xsd=\"http://www.w3.org/2001/XMLSchema\""
                          " xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\">"
                          "<soap:Body>") +
           QStringLiteral("<GetData xmlns=\"") + Deployment::serviceNamespace() + QStringLiteral("\">") +
           QStringLiteral("<sCommand>") + command64 + QStringLiteral("</sCommand>") + QStringLiteral("<sKey>") + key64 +
           QStringLiteral("</sKey>") + QStringLiteral("</GetData></soap:Body></soap:Envelope>");
}

void clsXML::RookfellWebService(QString& command, QString& key, RecordSet& rs) {
    command = Crypt().Encode(command);
    key = Crypt().Encode(key);
    const QString url = ServiceURL();
    const QString request = GetDataRequest(command, key);
    const HttpResponse reply = PostSoap(url, Deployment::serviceNamespace() + QStringLiteral("GetData"), request);
    rs = reply.ok() ? ParseDataSet(reply.body) : RecordSet::failure(reply.error);
}

QString clsXML::ServiceURL() {
    clsClientConfig& config = ClientConfig();
    const QString defaultHost = Deployment::serverHost();
    if (config.IP().isEmpty()) config.IP(defaultHost);
    const QString override = Deployment::webServiceOverride();
    if (!override.isEmpty()) return override;

    QString host;
    if (config.Username() == Deployment::developerNickname() && config.IP() == defaultHost)
        host = Deployment::developmentServiceHost();
    else if (config.IP() == defaultHost && config.Port() != QStringLiteral("1300"))
        host = Deployment::publicServiceHost();
    else
        host = Deployment::developmentServiceHost();
    return QStringLiteral("http://") + host + QStringLiteral(":3310") + kServicePath;
}

HttpResponse clsXML::PostSoap(const QString& url, const QString& action, const QString& request) {
    return HttpClient::post(url,
                            {QStringLiteral("Content-Type: text/xml; charset=utf-8"), QStringLiteral("SOAPAction: ") + action},
                            request.toUtf8());
}

RecordSet clsXML::ParseDataSet(const QByteArray& reply) { return ParseDataSetReply(reply); }
