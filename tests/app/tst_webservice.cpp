// The web-service client against FakeWebService: the request it sends, the record set it reads
// from the data-set reply, and how it fails.
#include "app/Deployment.h"
#include "app/HttpClient.h"
#include "app/RecordSet.h"
#include "app/RecordSetModel.h"
#include "app/RunQuery.h"
#include "app/clsXML.h"
#include "app/storedvars.h"
#include "platform/RuntimeError.h"
#include "tests/support/ClientFixture.h"
#include "tests/support/FakeWebService.h"

#include <QElapsedTimer>
#include <QHeaderView>
#include <QTableView>
#include <QTest>
#include <QXmlStreamReader>

#include <memory>

using Column = FakeWebService::Column;
using Reply = FakeWebService::Reply;

namespace {
const QByteArray kServiceEnv = "CORVADEX_WEBSERVICE";

QByteArray rawReply(const QByteArray& schemaColumns, const QByteArray& rows, const QByteArray& table = "Table") {
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?>"
           "<soap:Envelope xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\"><soap:Body>"
           "<GetDataResponse xmlns=\"http://corvadex.net/webservices/\"><GetDataResult>"
           "<xs:schema id=\"NewDataSet\" xmlns=\"\" xmlns:xs=\"http://www.w3.org/2001/XMLSchema\">"
           "<xs:element name=\"NewDataSet\"><xs:complexType><xs:choice minOccurs=\"0\" maxOccurs=\"unbounded\">"
           "<xs:element name=\"" + table + "\"><xs:complexType><xs:sequence>" + schemaColumns +
           "</xs:sequence></xs:complexType></xs:element></xs:choice></xs:complexType></xs:element></xs:schema>"
           "<diffgr:diffgram xmlns:diffgr=\"urn:schemas-microsoft-com:xml-diffgram-v1\">"
           "<NewDataSet xmlns=\"\">" + rows + "</NewDataSet></diffgr:diffgram>"
           "</GetDataResult></GetDataResponse></soap:Body></soap:Envelope>";
}

QByteArray col(const char* name, const char* type) {
    return QByteArray("<xs:element name=\"") + name + "\" type=\"xs:" + type + "\" minOccurs=\"0\" />";
}

QStringList texts(RecordSet rs, const QString& field) {
    QStringList out;
    for (rs.MoveFirst(); !rs.isEOF(); rs.MoveNext()) out.append(rs.Fields(field).toString());
    return out;
}
}  // namespace

class TestWebService : public QObject {
    Q_OBJECT
    std::unique_ptr<FakeWebService> fake;
    std::unique_ptr<ClientFixture> client;
    HttpTimeouts quick{300, 1500};

    RecordSet query(const QString& command) {
        QString c = command;
        return RunQuery(c);
    }

private slots:
    void initTestCase() {
        // The fake is on this machine; no proxy may stand between.
        for (const char* v : {"http_proxy", "HTTP_PROXY", "https_proxy", "HTTPS_PROXY", "all_proxy", "ALL_PROXY"}) qunsetenv(v);
        fake = std::make_unique<FakeWebService>();
        QVERIFY(fake->port() != 0);
        HttpClient::setTimeouts(quick);
    }
    void init() {
        client = std::make_unique<ClientFixture>(ClientFixture::None);
        qputenv(kServiceEnv, fake->url().toUtf8());
        fake->setMode(FakeWebService::Mode::Normal);
        fake->setLayout(FakeWebService::Layout::Compact);
        fake->clearAnswers();
        fake->clearRecords();
    }
    void cleanup() {
        // The web-service client never shows a box, whatever happens to the exchange.
        const QStringList boxes = client->services.dialogs->titles();
        client.reset();
        QVERIFY2(boxes.isEmpty(), qPrintable(boxes.join(u'\n')));
    }
    void cleanupTestCase() { fake.reset(); }

    void productionTimeoutsAreSensible() {
        const HttpTimeouts t;
        QCOMPARE(t.connectMs, 5000);
        QCOMPARE(t.totalMs, 30000);
    }

    void requestForm() {
        fake->answer(QStringLiteral("call sps_GetPlayers()"), {{{"Player", "string"}}, {{"a:::b:::"}}});
        const RecordSet rs = query(QStringLiteral("call sps_GetPlayers()"));
        QVERIFY2(!rs.failed(), qPrintable(rs.error()));
        const auto requests = fake->requests();
        QCOMPARE(requests.size(), 1);
        const FakeWebService::Request& r = requests.first();
        QCOMPARE(r.method, QStringLiteral("POST"));
        QCOMPARE(r.path, QStringLiteral("/RookfellWebService/RookfellWebService.asmx"));
        QCOMPARE(r.headers.value("content-type"), QStringLiteral("text/xml; charset=utf-8"));
        QCOMPARE(r.headers.value("soapaction"), Deployment::serviceNamespace() + QStringLiteral("GetData"));
        QCOMPARE(r.command, QStringLiteral("call sps_GetPlayers()"));
        QCOMPARE(r.key, QStringLiteral("731904268513746029"));
        // Base64 on the wire, inside the envelope the service expects.
        QVERIFY(r.body.startsWith("<?xml version=\"1.0\" encoding=\"utf-8\"?><soap:Envelope "));
        QVERIFY(r.body.contains("<sCommand>Y2FsbCBzcHNfR2V0UGxheWVycygp</sCommand>"));
        QVERIFY(r.body.contains("<sKey>NzMxOTA0MjY4NTEzNzQ2MDI5</sKey>"));
        QVERIFY(r.body.endsWith("</GetData></soap:Body></soap:Envelope>"));
        QXmlStreamReader xml(r.body);
        QStringList prefixes;
        while (!xml.atEnd()) {
            xml.readNext();
            if (xml.isStartElement() && xml.name() == u"Envelope") {
                QCOMPARE(xml.namespaceUri(), QStringLiteral("http://schemas.xmlsoap.org/soap/envelope/"));
                for (const auto& ns : xml.namespaceDeclarations()) prefixes.append(ns.prefix().toString() + u'=' + ns.namespaceUri().toString());
            }
            if (xml.isStartElement() && xml.name() == u"GetData") QCOMPARE(xml.namespaceUri(), Deployment::serviceNamespace());
        }
        QVERIFY(!xml.hasError());
        prefixes.sort();
        QCOMPARE(prefixes, (QStringList{"soap=http://schemas.xmlsoap.org/soap/envelope/",
                                        "xsd=http://www.w3.org/2001/XMLSchema",
                                        "xsi=http://www.w3.org/2001/XMLSchema-instance"}));
    }

    void callerVariableHoldsBase64() {
        fake->answer(QStringLiteral("call sps_GetPlayers()"), {{{"Player", "string"}}, {}});
        QString command = QStringLiteral("call sps_GetPlayers()");
        RunQuery(command);
        QCOMPARE(command, QStringLiteral("Y2FsbCBzcHNfR2V0UGxheWVycygp"));
    }

    void commandTravelsInTheAnsiCodePage() {
        const QString command = QStringLiteral("call sps_CVCards('Zo\u00eb', 'Caf\u00e9 \u20ac', 1, 10, 0)");
        fake->answer(command, {{{"Card", "string"}}, {{"x"}}});
        const RecordSet rs = query(command);
        QVERIFY2(!rs.failed(), qPrintable(rs.error()));
        QCOMPARE(fake->commands(), QStringList{command});
        QVERIFY(fake->requests().first().body.contains("<sCommand>" + QByteArray("call sps_CVCards('Zo\xeb', 'Caf\xe9 \x80', 1, 10, 0)").toBase64()));
    }

    void typedValues() {
        fake->answer(QStringLiteral("q"),
                     {{{"Num", "integer"}, {"Txt", "string"}, {"Dec", "decimal"}, {"Byte", "unsignedByte"},
                       {"Big", "unsignedLong"}, {"When", "dateTime"}, {"Int", "int"}},
                      {{"12", "12", "12.50", "200", "18446744073709551615", "2024-01-02T03:04:05", "7"}}});
        RecordSet rs = query(QStringLiteral("q"));
        QCOMPARE(rs.RecordCount(), 1);
        QCOMPARE(rs.Fields("Num").typeId(), QMetaType::Int);
        QCOMPARE(rs.Fields("Num").toInt(), 12);
        QCOMPARE(rs.Fields("Txt").typeId(), QMetaType::QString);
        QCOMPARE(rs.Fields("Txt").toString(), QStringLiteral("12"));
        QCOMPARE(rs.Fields("Dec").typeId(), QMetaType::Double);
        QCOMPARE(rs.Fields("Dec").toDouble(), 12.5);
        QCOMPARE(rs.Fields("Dec").toString(), QStringLiteral("12.5"));
        QCOMPARE(rs.Fields("Byte").typeId(), QMetaType::Int);
        QCOMPARE(rs.Fields("Byte").toInt(), 200);
        QCOMPARE(rs.Fields("Big").typeId(), QMetaType::QString);
        QCOMPARE(rs.Fields("Big").toString(), QStringLiteral("18446744073709551615"));
        QCOMPARE(rs.Fields("When").toString(), QStringLiteral("2024-01-02T03:04:05"));
        QCOMPARE(rs.Fields("Int").typeId(), QMetaType::QString);
        QCOMPARE(rs.Fields("Int").toInt(), 7);
    }

    void integersHold32Bits() {
        fake->answer(QStringLiteral("q"), {{{"Gold", "integer"}}, {{"150000"}, {"-40000"}, {"2147483647"}, {"12.5"}}});
        const RecordSet rs = query(QStringLiteral("q"));
        QCOMPARE(texts(rs, "Gold"), (QStringList{"150000", "-40000", "2147483647", "12"}));
    }

    void unconvertibleValuesStayEmpty() {
        fake->answer(QStringLiteral("q"), {{{"Id", "integer"}, {"B", "unsignedByte"}, {"D", "decimal"}, {"Name", "string"}},
                                           {{"abc", "256", "x1", "first"},
                                            {"99999999999", "-1", "", "second"},
                                            {"", "2.5e3", "1e999", "third"},
                                            {"5", "255", "-0.25", "fourth"}}});
        RecordSet rs = query(QStringLiteral("q"));
        QCOMPARE(rs.RecordCount(), 4);
        rs.MoveFirst();
        for (int i = 0; i < 3; ++i, rs.MoveNext()) {
            QVERIFY(!rs.Fields("Id").isValid());
            QVERIFY(!rs.Fields("B").isValid());
            QVERIFY(!rs.Fields("D").isValid());
        }
        QCOMPARE(rs.Fields("Id").toInt(), 5);
        QCOMPARE(rs.Fields("B").toInt(), 255);
        QCOMPARE(rs.Fields("D").toDouble(), -0.25);
        QCOMPARE(texts(rs, "Name"), (QStringList{"first", "second", "third", "fourth"}));
    }

    void spacedColumnName() {
        fake->answer(QStringLiteral("q"), {{{"Deck_x0020_Name", "string"}, {"Total", "integer"}}, {{"Starter Deck", "3"}}});
        RecordSet rs = query(QStringLiteral("q"));
        QCOMPARE(rs.fieldNames(), (QStringList{"Deck Name", "Total"}));
        QCOMPARE(rs.Fields("Deck Name").toString(), QStringLiteral("Starter Deck"));
    }

    void fieldLookupIgnoresCase() {
        fake->answer(QStringLiteral("q"), {{{"Card", "string"}, {"Total", "integer"}}, {{"Ifrit", "2"}}});
        RecordSet rs = query(QStringLiteral("q"));
        QCOMPARE(rs.Fields("card").toString(), QStringLiteral("Ifrit"));
        QCOMPARE(rs.Fields("TOTAL").toInt(), 2);
        QCOMPARE(rs.Fields(0).toString(), QStringLiteral("Ifrit"));
        QCOMPARE(rs.fieldIndex("total"), 1);
        QVERIFY_THROWS_EXCEPTION(RuntimeError, rs.Fields("Cards"));
        QVERIFY_THROWS_EXCEPTION(RuntimeError, rs.Fields(2));
        rs.MoveNext();
        QVERIFY(rs.isEOF());
        QVERIFY_THROWS_EXCEPTION(RuntimeError, rs.Fields("Card"));
        rs.MoveNext();  // past the end stays at the end
        QVERIFY(rs.isEOF());
    }

    void fieldsCanBeChanged() {
        fake->answer(QStringLiteral("q"), {{{"Card", "string"}, {"Total", "integer"}}, {{"A", "2"}, {"B", "1"}}});
        RecordSet rs = query(QStringLiteral("q"));
        rs.MoveFirst();
        rs.MoveNext();
        rs.Fields("Total") = rs.Fields("Total").toInt() - 1;
        RecordSet copy = rs;
        copy.MoveFirst();
        copy.Fields("Total") = 99;  // a copy is its own
        QCOMPARE(texts(rs, "Total"), (QStringList{"2", "0"}));
        QCOMPARE(texts(copy, "Total"), (QStringList{"99", "0"}));
    }

    void entitiesDecoded() {
        fake->answer(QStringLiteral("q"), {{{"Name", "string"}}, {{"Tom & Jerry <3> \"q\" 'a'"}, {"Zo\u00eb \u20ac"}}});
        QCOMPARE(texts(query("q"), "Name"), (QStringList{"Tom & Jerry <3> \"q\" 'a'", "Zo\u00eb \u20ac"}));
        QVERIFY(fake->requests().size() == 1);

        fake->answerRaw(QStringLiteral("raw"),
                        rawReply(col("Name", "string"), "<Table><Name>a &amp;amp; b &lt;i&gt; &#233;&#x20AC; <![CDATA[<x>]]></Name></Table>"));
        QCOMPARE(texts(query("raw"), "Name"), QStringList{"a &amp; b <i> \u00e9\u20ac <x>"});
    }

    void whiteSpaceBetweenElements() {
        fake->setLayout(FakeWebService::Layout::Indented);
        fake->answer(QStringLiteral("q"), {{{"Name", "string"}, {"Gold", "integer"}}, {{"  padded  ", "1"}, {"b", "2"}}});
        const RecordSet rs = query(QStringLiteral("q"));
        QCOMPARE(rs.fieldNames(), (QStringList{"Name", "Gold"}));
        QCOMPARE(texts(rs, "Name"), (QStringList{"  padded  ", "b"}));
        QCOMPARE(texts(rs, "Gold"), (QStringList{"1", "2"}));

        const QByteArray spaced = rawReply("\r\n\t\t" + col("Name", "string") + "\n   \t" + col("Gold", "integer") + "\n  ",
                                           "\n  <Table diffgr:id=\"Table1\" xmlns:diffgr=\"urn:schemas-microsoft-com:xml-diffgram-v1\">\r\n"
                                           "\t<Name>x</Name>\n\t<Gold> 7 </Gold>\n  </Table>\n  <Table>\n  </Table>\n");
        fake->answerRaw(QStringLiteral("spaced"), spaced);
        RecordSet r2 = query(QStringLiteral("spaced"));
        QCOMPARE(r2.RecordCount(), 2);
        QCOMPARE(texts(r2, "Name"), (QStringList{"x", ""}));
        r2.MoveFirst();
        QCOMPARE(r2.Fields("Gold").toInt(), 7);
    }

    void missingColumnLeavesValueEmpty() {
        fake->answer(QStringLiteral("q"), {{{"Player", "string"}, {"Guild", "string"}, {"Gold", "integer"}},
                                           {{"ann", QString(), "5"}, {"bob", "Owls", QString()}}});
        RecordSet rs = query(QStringLiteral("q"));
        rs.MoveFirst();
        QCOMPARE(rs.Fields("Player").toString(), QStringLiteral("ann"));
        QVERIFY(rs.Fields("Guild").isNull());
        QCOMPARE(rs.Fields("Guild").toString(), QString());
        QCOMPARE(rs.Fields("Gold").toInt(), 5);
        rs.MoveNext();
        QCOMPARE(rs.Fields("Guild").toString(), QStringLiteral("Owls"));
        QVERIFY(!rs.Fields("Gold").isValid());
        QCOMPARE(rs.Fields("Gold").toInt(), 0);
    }

    void valuesOutOfSchemaOrder() {
        fake->answerRaw(QStringLiteral("q"),
                        rawReply(col("A", "string") + col("B", "integer") + col("C", "string"),
                                 "<Table><C>c1</C><Extra>zz</Extra><A>a1</A><B>1</B><A>again</A></Table><Table><B>2</B></Table>"));
        RecordSet rs = query(QStringLiteral("q"));
        QCOMPARE(texts(rs, "A"), (QStringList{"a1", ""}));
        QCOMPARE(texts(rs, "B"), (QStringList{"1", "2"}));
        QCOMPARE(texts(rs, "C"), (QStringList{"c1", ""}));
    }

    void standsOnLastRowAfterQuery() {
        fake->answer(QStringLiteral("q"), {{{"N", "string"}}, {{"one"}, {"two"}, {"three"}}});
        RecordSet rs = query(QStringLiteral("q"));
        QCOMPARE(rs.RecordCount(), 3);
        QVERIFY(!rs.isEOF());
        QCOMPARE(rs.Fields("N").toString(), QStringLiteral("three"));
        QCOMPARE(texts(rs, "N"), (QStringList{"one", "two", "three"}));
    }

    void replyWithoutSchemaOrRows() {
        fake->answer(QStringLiteral("none"), {});
        const RecordSet noSchema = query(QStringLiteral("none"));
        QVERIFY2(!noSchema.failed(), qPrintable(noSchema.error()));
        QCOMPARE(noSchema.FieldCount(), 0);
        QCOMPARE(noSchema.RecordCount(), 0);
        QVERIFY(noSchema.isEOF());

        fake->answer(QStringLiteral("empty"), {{{"Player", "string"}}, {}});
        const RecordSet noRows = query(QStringLiteral("empty"));
        QVERIFY(!noRows.failed());
        QCOMPARE(noRows.fieldNames(), QStringList{"Player"});
        QCOMPARE(noRows.RecordCount(), 0);
        QVERIFY(noRows.isEOF());
    }

    void rowElementNamedBySchema() {
        const QByteArray rows =
            "<Players><Name>p1</Name></Players><Table><Name>not a row</Name></Table><Players><Name>p2</Name></Players>";
        fake->answerRaw(QStringLiteral("q"), rawReply(col("Name", "string"), rows, "Players"));
        QCOMPARE(texts(query("q"), "Name"), (QStringList{"p1", "p2"}));
    }

    void diffgramBeforeImageIgnored() {
        QByteArray reply = rawReply(col("Name", "string"), "<Table><Name>now</Name></Table>");
        reply.replace("</diffgr:diffgram>", "<diffgr:before><Table xmlns=\"\"><Name>old</Name></Table></diffgr:before></diffgr:diffgram>");
        fake->answerRaw(QStringLiteral("q"), reply);
        QCOMPARE(texts(query("q"), "Name"), QStringList{"now"});
    }

    void namelessAndRepeatedColumnsSteppedOver() {
        fake->answerRaw(QStringLiteral("q"), rawReply("<xs:element type=\"xs:string\" />" + col("A", "string") + col("", "string") +
                                                          col("a", "integer") + col("B", "integer"),
                                                      "<Table><A>x</A><a>9</a><B>3</B></Table>"));
        RecordSet rs = query(QStringLiteral("q"));
        QCOMPARE(rs.fieldNames(), (QStringList{"A", "B"}));
        QCOMPARE(rs.Fields("A").toString(), QStringLiteral("x"));
        QCOMPARE(rs.Fields("B").toInt(), 3);
    }

    void serviceDownGivesFailedEmptySet() {
        fake->setMode(FakeWebService::Mode::Refuse);
        QElapsedTimer t;
        t.start();
        const RecordSet rs = query(QStringLiteral("call sps_GetPlayers()"));
        QVERIFY(t.elapsed() < quick.totalMs);
        QVERIFY(rs.failed());
        QVERIFY(rs.error().startsWith(QStringLiteral("Error: ")));
        QCOMPARE(rs.FieldCount(), 0);
        QCOMPARE(rs.RecordCount(), 0);
        QVERIFY(rs.isEOF());
        QVERIFY(fake->requests().isEmpty());
        fake->setMode(FakeWebService::Mode::Normal);
        fake->answer(QStringLiteral("q"), {{{"N", "string"}}, {{"back"}}});
        QCOMPARE(texts(query("q"), "N"), QStringList{"back"});
    }

    void badRepliesGiveFailedEmptySet_data() {
        QTest::addColumn<int>("mode");
        QTest::newRow("500") << int(FakeWebService::Mode::Error500);
        QTest::newRow("garbage") << int(FakeWebService::Mode::Garbage);
        QTest::newRow("dropped") << int(FakeWebService::Mode::Drop);
    }
    void badRepliesGiveFailedEmptySet() {
        QFETCH(int, mode);
        fake->answer(QStringLiteral("q"), {{{"N", "string"}}, {{"x"}}});
        fake->setMode(FakeWebService::Mode(mode));
        const RecordSet rs = query(QStringLiteral("q"));
        QVERIFY(rs.failed());
        QCOMPARE(rs.FieldCount(), 0);
        QCOMPARE(rs.RecordCount(), 0);
        QCOMPARE(fake->commands(), QStringList{"q"});
    }

    void unknownCommandIsAFault() {
        const RecordSet rs = query(QStringLiteral("call sps_Nothing()"));
        QVERIFY(rs.failed());
        QVERIFY2(rs.error().contains(u"500"), qPrintable(rs.error()));
    }

    void truncatedReplyFails() {
        const QByteArray whole = FakeWebService::dataSetXml({{{"N", "string"}}, {{"a"}, {"b"}, {"c"}}});
        fake->answerRaw(QStringLiteral("q"), whole.left(whole.indexOf("<Table diffgr:id=\"Table3\"")));
        const RecordSet rs = query(QStringLiteral("q"));
        QVERIFY(rs.failed());
        QCOMPARE(rs.RecordCount(), 0);
    }

    void stalledServiceTimesOut() {
        fake->setMode(FakeWebService::Mode::Stall);
        QElapsedTimer t;
        t.start();
        const RecordSet rs = query(QStringLiteral("q"));
        const qint64 ms = t.elapsed();
        QVERIFY(rs.failed());
        QVERIFY2(ms >= quick.totalMs - 100 && ms < quick.totalMs + 1000, qPrintable(QString::number(ms)));
        QCOMPARE(fake->commands(), QStringList{"q"});
    }

    void emptyHostTakesDefault() {
        ClientConfig().IP(QString());
        fake->answer(QStringLiteral("q"), {});
        query(QStringLiteral("q"));
        QCOMPARE(ClientConfig().IP(), Deployment::serverHost());
    }

    void serviceUrlChoice_data() {
        QTest::addColumn<QString>("user");
        QTest::addColumn<QString>("ip");
        QTest::addColumn<QString>("port");
        QTest::addColumn<QString>("host");
        const QString def = Deployment::serverHost();
        const QString pub = Deployment::publicServiceHost();
        const QString dev = Deployment::developmentServiceHost();
        QTest::newRow("no host given") << "someone" << "" << "4000" << pub;
        QTest::newRow("default server") << "someone" << def << "4000" << pub;
        QTest::newRow("developer") << Deployment::developerNickname() << def << "4000" << dev;
        QTest::newRow("port 1300") << "someone" << def << "1300" << dev;
        QTest::newRow("other server") << "someone" << "other.example" << "4000" << dev;
        QTest::newRow("developer elsewhere") << Deployment::developerNickname() << "other.example" << "1300" << dev;
    }
    void serviceUrlChoice() {
        QFETCH(QString, user);
        QFETCH(QString, ip);
        QFETCH(QString, port);
        QFETCH(QString, host);
        qunsetenv(kServiceEnv);
        ClientConfig().Username(user);
        ClientConfig().IP(ip);
        ClientConfig().Port(port);
        clsXML xml;
        QCOMPARE(xml.ServiceURL(), QStringLiteral("http://%1:3310/RookfellWebService/RookfellWebService.asmx").arg(host));
        qputenv(kServiceEnv, fake->url().toUtf8());
        QCOMPARE(xml.ServiceURL(), fake->url());
    }

    void versionRecordFetched() {
        fake->setVersionRecord("[Info]\r\nVersion=3.4.6\r\nWhatsNew=Faster lists\r\n");
        const HttpResponse r = HttpClient::get(fake->baseUrl() + QStringLiteral("/programs/updater/version.txt"));
        QVERIFY2(r.ok(), qPrintable(r.error));
        QCOMPARE(r.status, 200L);
        QCOMPARE(r.body, QByteArray("[Info]\r\nVersion=3.4.6\r\nWhatsNew=Faster lists\r\n"));
        QCOMPARE(fake->versionRequests(), 1);

        const HttpResponse missing = HttpClient::get(fake->baseUrl() + QStringLiteral("/programs/updater/nothing.txt"));
        QVERIFY(!missing.ok());
        QCOMPARE(missing.status, 404L);

        fake->setMode(FakeWebService::Mode::Refuse);
        const HttpResponse down = HttpClient::get(fake->baseUrl() + QStringLiteral("/programs/updater/version.txt"));
        QVERIFY(!down.ok());
        QCOMPARE(down.status, 0L);
        QVERIFY(down.body.isEmpty());
    }

    void otherSchemesRefused() {
        const HttpResponse r = HttpClient::get(QStringLiteral("file:///etc/hostname"));
        QVERIFY(!r.ok());
        QVERIFY(r.body.isEmpty());
    }

    void oversizedDataSetRefused() {
        // Many columns and many empty rows would need far more memory than the reply's size.
        QByteArray cols;
        for (int i = 0; i < 2000; ++i) cols += col(QByteArray("c" + QByteArray::number(i)).constData(), "string");
        const QByteArray rows = QByteArray("<Table/>").repeated(20000);
        const RecordSet rs = ParseDataSetReply(rawReply(cols, rows));
        QVERIFY(rs.failed());
        QCOMPARE(rs.RecordCount(), 0);
        // The same columns with a few rows are read.
        const RecordSet fine = ParseDataSetReply(rawReply(cols, QByteArray("<Table><c1999>z</c1999></Table>").repeated(3)));
        QVERIFY(!fine.failed());
        QCOMPARE(fine.RecordCount(), 3);
        QCOMPARE(fine.FieldCount(), 2000);
    }

    void gridModel() {
        fake->answer(QStringLiteral("q"), {{{"Card", "string"}, {"Total", "integer"}, {"Note", "string"}},
                                           {{"bahamut", "10", "9"}, {"Ifrit", "2", "10"}, {"atlas", "2", "x"}}});
        const RecordSet rs = query(QStringLiteral("q"));
        RecordSetModel model;
        model.setRecordSet(rs);
        QTableView view;
        view.setModel(&model);
        view.show();
        QCOMPARE(model.rowCount(), 3);
        QCOMPARE(model.columnCount(), 3);
        QCOMPARE(model.headerData(1, Qt::Horizontal).toString(), QStringLiteral("Total"));
        QCOMPARE(model.data(model.index(0, 0)).toString(), QStringLiteral("bahamut"));

        auto column = [&](int c) {
            QStringList out;
            for (int r = 0; r < model.rowCount(); ++r) out.append(model.data(model.index(r, c)).toString());
            return out;
        };
        view.setCurrentIndex(model.index(0, 0));
        model.sort(1, Qt::AscendingOrder);  // numbers by value, ties keep their order
        QCOMPARE(column(0), (QStringList{"Ifrit", "atlas", "bahamut"}));
        QCOMPARE(view.currentIndex().row(), 2);  // the selection follows its record
        QCOMPARE(model.recordRow(0), 1);
        QCOMPARE(model.headerData(1, Qt::Horizontal).toString(), QStringLiteral("> Total"));
        QCOMPARE(model.headerData(0, Qt::Horizontal).toString(), QStringLiteral("Card"));
        model.sort(0, Qt::DescendingOrder);  // text without regard to case
        QCOMPARE(column(0), (QStringList{"Ifrit", "bahamut", "atlas"}));
        QCOMPARE(model.headerData(0, Qt::Horizontal).toString(), QStringLiteral("< Card"));
        QCOMPARE(model.headerData(1, Qt::Horizontal).toString(), QStringLiteral("Total"));
        model.sort(2, Qt::AscendingOrder);  // numeric texts by value, the rest as text
        QCOMPARE(column(2), (QStringList{"9", "10", "x"}));

        // The grid shows what was bound; a later change shows once bound again, in the set's
        // own order and with plain headers.
        RecordSet changed = rs;
        changed.MoveFirst();
        changed.Fields("Total") = 9;
        QCOMPARE(model.recordSet().value(0, 1).toInt(), 10);
        model.setRecordSet(changed);
        QCOMPARE(column(0), (QStringList{"bahamut", "Ifrit", "atlas"}));
        QCOMPARE(column(1), (QStringList{"9", "2", "2"}));
        QCOMPARE(model.headerData(0, Qt::Horizontal).toString(), QStringLiteral("Card"));
        QCOMPARE(model.sortColumn(), -1);
    }
};

QTEST_MAIN(TestWebService)
#include "tst_webservice.moc"
