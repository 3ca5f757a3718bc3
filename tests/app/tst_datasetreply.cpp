// Edge replies of the data-set reader that the exchange tests do not reach: text in pieces,
// child elements inside a value, schema spellings, other encodings, and replies that are not
// well-formed (cut anywhere, an unbound prefix, trailing content), which must fail as a whole.
#include "app/RecordSet.h"
#include "app/clsXML.h"

#include <QFile>
#include <QTemporaryDir>
#include <QUrl>

#ifdef __GLIBC__
#include <malloc.h>
#endif
#include <QTest>

namespace {
QByteArray reply(const QByteArray& columns, const QByteArray& rows, const QByteArray& prolog = "<?xml version=\"1.0\" encoding=\"utf-8\"?>") {
    return prolog + "<soap:Envelope xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\"><soap:Body><GetDataResult>"
                    "<xs:schema xmlns=\"\" xmlns:xs=\"http://www.w3.org/2001/XMLSchema\"><xs:element name=\"NewDataSet\">"
                    "<xs:complexType><xs:choice><xs:element name=\"Table\"><xs:complexType><xs:sequence>" +
           columns +
           "</xs:sequence></xs:complexType></xs:element></xs:choice></xs:complexType></xs:element></xs:schema>"
           "<diffgr:diffgram xmlns:diffgr=\"urn:schemas-microsoft-com:xml-diffgram-v1\"><NewDataSet xmlns=\"\">" +
           rows + "</NewDataSet></diffgr:diffgram></GetDataResult></soap:Body></soap:Envelope>";
}

const QByteArray kInt = "<xs:element name=\"N\" type=\"xs:integer\" minOccurs=\"0\" />";
const QByteArray kText = "<xs:element name=\"S\" type=\"xs:string\" minOccurs=\"0\" />";

// "field|field;cell|cell;..." with "~" for a null cell, or "failed".
QString shape(const RecordSet& rs) {
    if (rs.failed()) return QStringLiteral("failed");
    QStringList parts{rs.fieldNames().join(u'|')};
    for (int r = 0; r < rs.RecordCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < rs.FieldCount(); ++c) {
            const QVariant v = rs.value(r, c);
            cells << (v.isValid() ? v.toString() : QStringLiteral("~"));
        }
        parts << cells.join(u'|');
    }
    return parts.join(u';');
}
}  // namespace

class TestDataSetReply : public QObject {
    Q_OBJECT
private slots:
    void editedReplies_data() {
        QTest::addColumn<QByteArray>("xml");
        QTest::addColumn<QString>("expected");
        const QByteArray both = kInt + kText;
        QTest::newRow("CDATA between text") << reply(both, "<Table><N>1<![CDATA[2]]>3</N><S><![CDATA[a<b]]>&amp;</S></Table>") << "N|S;123|a<b&";
        QTest::newRow("character references") << reply(both, "<Table><N>&#49;&#x32;</N><S>&#233;&#x20AC;&#10;</S></Table>") << "N|S;12|\u00e9\u20ac\n";
        QTest::newRow("line ends in a value") << reply(kText, "<Table><S>a\r\nb\rc</S></Table>") << "S;a\nb\nc";
        QTest::newRow("child elements in a value skipped") << reply(both, "<Table><N>4<b>9</b>2</N><S>a<b>x<S>y</S></b>c</S></Table>") << "N|S;42|ac";
        QTest::newRow("comment and instruction in a value") << reply(kText, "<Table><S>a<!-- x -->b<?pi y?>c</S></Table>") << "S;abc";
        QTest::newRow("column inside an unknown element") << reply(kText, "<Table><Wrap><S>no</S></Wrap><S>yes</S></Table>") << "S;yes";
        QTest::newRow("first readable value kept") << reply(kInt, "<Table><N>abc</N><N>5</N><N>6</N></Table>") << "N;5";
        QTest::newRow("rows outside the row list") << reply(kText, "<Other><Table><S>no</S></Table></Other><Table><S>yes</S></Table>") << "S;yes";
        QTest::newRow("schema in single quotes, other prefix")
            << reply("<xs:element name='N' type='xsd:integer'/><s:element xmlns:s=\"http://www.w3.org/2001/XMLSchema\" name='S'/>",
                     "<Table><N> 7 </N><S> 7 </S></Table>")
            << "N|S;7| 7 ";
        QTest::newRow("column with a nested type is text")
            << reply("<xs:element name=\"N\"><xs:simpleType><xs:restriction base=\"xs:integer\"/></xs:simpleType></xs:element>",
                     "<Table><N> 7 </N></Table>")
            << "N; 7 ";
        QTest::newRow("schema element of another namespace")
            << reply(kInt + "<q:element xmlns:q=\"urn:other\" name=\"Q\" type=\"xs:string\"/>", "<Table><N>1</N><Q>x</Q></Table>") << "N;1";
        QTest::newRow("windows-1252") << reply(kText, "<Table><S>caf\xe9 \x80</S></Table>", "<?xml version=\"1.0\" encoding=\"windows-1252\"?>")
                                      << "S;caf\u00e9 \u20ac";
        QTest::newRow("ISO-8859-1") << reply(kText, "<Table><S>caf\xe9</S></Table>", "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>") << "S;caf\u00e9";
        QTest::newRow("internal entity") << reply(kText, "<Table><S>&e;</S></Table>", "<!DOCTYPE soap:Envelope [<!ENTITY e \"v&#233;\">]>") << "S;v\u00e9";
        QTest::newRow("Shift_JIS") << reply(kText, "<Table><S>\x93\xfa\x96\x7b</S></Table>", "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>")
                                   << "S;\u65e5\u672c";
        // A reply never makes the client read a file: an outside entity reads as empty.
        QFile secret(m_dir.filePath(QStringLiteral("secret.txt")));
        QVERIFY(secret.open(QIODevice::WriteOnly) && secret.write("secret") == 6);
        secret.close();
        const QByteArray url = QUrl::fromLocalFile(secret.fileName()).toEncoded();
        QTest::newRow("outside entity") << reply(kText, "<Table><S>[&x;]</S></Table>", "<!DOCTYPE soap:Envelope [<!ENTITY x SYSTEM \"" + url + "\">]>")
                                        << "S;[]";
        QTest::newRow("entity of an outside subset") << reply(kText, "<Table><S>[&x;]</S></Table>", "<!DOCTYPE soap:Envelope SYSTEM \"" + url + "\">")
                                                     << "S;[]";
        QByteArray bomb = "<!DOCTYPE soap:Envelope [<!ENTITY e0 \"haha\">";
        for (int i = 1; i < 10; ++i)
            bomb += "<!ENTITY e" + QByteArray::number(i) + " \"" + QByteArray("&e" + QByteArray::number(i - 1) + ";").repeated(10) + "\">";
        QTest::newRow("entity bomb") << reply(kText, "<Table><S>&e9;</S></Table>", bomb + "]>") << "failed";
        // One entity used over and over, in a value, an attribute, or as markup that is skipped.
        const QByteArray wide = "<!DOCTYPE soap:Envelope [<!ENTITY w \"" + QByteArray(10000, 'w') + "\"><!ENTITY m \"" +
                                QByteArray("<x/>").repeated(2500) + "\">]>";
        const QByteArray w = QByteArray("&w;").repeated(900), m = QByteArray("&m;").repeated(900);
        for (const auto& [where, rows] : {std::pair{"value", "<Table><S>" + w + "</S></Table>"},
                                          std::pair{"attribute", "<Table a=\"" + w + "\"><S>a</S></Table>"},
                                          std::pair{"markup", "<Table><Skip>" + m + "</Skip><S>a</S></Table>"}})
            QTest::newRow((QByteArray("entity repeated far past the reply, ") + where).constData()) << reply(kText, rows, wide) << "failed";
        QTest::newRow("]]> in a long value") << reply(kText, "<Table><S>x]]>y" + QByteArray(200000, 'z') + "</S></Table>") << "failed";
        QTest::newRow("attribute default on every row")
            << reply(kText, QByteArray("<Table><S>a</S></Table>").repeated(100),
                     "<!DOCTYPE soap:Envelope [<!ATTLIST Table d CDATA \"" + QByteArray(100000, 'd') + "\">]>")
            << "failed";
        const QString wideText = QString::fromUtf8(reply(kText, "<Table><S>a</S></Table>", "<?xml version=\"1.0\" encoding=\"UTF-16\"?>"));
        QTest::newRow("UTF-16 cut inside a character") << "\xff\xfe" + QByteArray(reinterpret_cast<const char*>(wideText.utf16()), wideText.size() * 2) + "a"
                                                       << "failed";
        QTest::newRow("undecodable bytes after the end")
            << reply(kText, "<Table><S>a</S></Table>", "<?xml version=\"1.0\" encoding=\"windows-1252\"?>") + "\x81\x81" << "failed";

        const QByteArray whole = reply(both, "<Table><N>1</N><S>a</S></Table><Table><N>2</N><S>b</S></Table>");
        for (const QByteArray& cut : {QByteArray("<N>2"), QByteArray("</S></Table></New"), QByteArray("</NewDataSet>"), QByteArray("</soap:Envelope")})
            QTest::newRow(("cut at " + cut).constData()) << whole.left(whole.indexOf(cut) + cut.size()) << "failed";
        QTest::newRow("unknown encoding") << reply(kText, "<Table><S>a</S></Table>", "<?xml version=\"1.0\" encoding=\"no-such\"?>") << "failed";
        QTest::newRow("XML 1.1") << reply(kText, "<Table><S>a</S></Table>", "<?xml version=\"1.1\"?>") << "failed";
        QTest::newRow("unbound prefix") << reply(kText, "<Table><q:S>a</q:S></Table>") << "failed";
        QTest::newRow("bare ampersand") << reply(kText, "<Table><S>a & b</S></Table>") << "failed";
        QTest::newRow("undeclared entity") << reply(kText, "<Table><S>&nbsp;</S></Table>") << "failed";
        QTest::newRow("repeated attribute") << reply(kText, "<Table a=\"1\" a=\"2\"><S>a</S></Table>") << "failed";
        QTest::newRow("second root") << whole + "<extra/>" << "failed";
        QTest::newRow("text after the end") << whole + "x" << "failed";
    }
    void editedReplies() {
        QFETCH(QByteArray, xml);
        QFETCH(QString, expected);
        QCOMPARE(shape(ParseDataSetReply(xml)), expected);
    }

private:
    QTemporaryDir m_dir;

private slots:
    void initTestCase() {
#ifdef __GLIBC__
        // Large blocks go back to the system when freed, so a read of freed input faults at once.
        mallopt(M_MMAP_THRESHOLD, 64 * 1024);
#endif
    }

    // Text is UTF-8 whatever its first characters look like.
    void textIsReadAsUtf8() {
        const QByteArray xml = reply(kText, "<Table><S>a</S></Table>", "<?xml version=\"1.0\"?>");
        QCOMPARE(shape(ParseDataSetText(QChar(0xFEFF) + QString::fromUtf8(xml))), QStringLiteral("S;a"));
        // UTF-16 bytes taken for Latin-1 text: the NULs between the characters are no XML.
        const QString text = QString::fromUtf8(xml);
        const QByteArray utf16(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
        QCOMPARE(shape(ParseDataSetText(QString::fromLatin1(utf16))), QStringLiteral("failed"));
    }

    void failureKeepsTheParsersWording() {
        const RecordSet rs = ParseDataSetReply(reply(kText, "<Table><S>a</S></Table>").chopped(3));
        QCOMPARE(rs.error(), QStringLiteral("Error: -2 - Premature end of document. (line 1)"));
    }
};

QTEST_MAIN(TestDataSetReply)
#include "tst_datasetreply.moc"
