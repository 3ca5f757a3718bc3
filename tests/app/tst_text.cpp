// The text helpers every handler uses, the configuration object, the Base64 coder and the
// table slots.
#include "app/clsClientConfig.h"
#include "app/clsCrypt.h"
#include "app/modText.h"
#include "app/storedvars.h"
#include "platform/Codec1252.h"
#include "platform/Paths.h"
#include "platform/RuntimeError.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {
Fields preset(const QString& value) {
    Fields f;
    f.fill(value);
    return f;
}
}  // namespace

class TestText : public QObject {
    Q_OBJECT

private slots:
    void cleanup() {
        ResetStoredVars();
        SetClientFolder(QString());
    }

    // ---- Divide -----------------------------------------------------------------------------

    void divideLeavesUnfilledOutputsAlone() {
        Fields f = preset("x");
        Divide("CHAT bob hi", " ", f);
        QCOMPARE(f[0], QStringLiteral("CHAT"));
        QCOMPARE(f[1], QStringLiteral("bob"));
        QCOMPARE(f[2], QStringLiteral("hi"));
        for (int k = 3; k < kDivideFields; ++k) QCOMPARE(f[k], QStringLiteral("x"));
        QCOMPARE(DivideCount("CHAT bob hi", " "), 3);
    }

    void divideKeepsAtMost35() {
        QStringList parts;
        for (int i = 1; i <= 40; ++i) parts << QStringLiteral("f%1").arg(i);
        Fields f = preset("x");
        Divide(parts.join(u' '), " ", f);
        for (int k = 0; k < kDivideFields; ++k) QCOMPARE(f[k], QStringLiteral("f%1").arg(k + 1));
        QCOMPARE(DivideCount(parts.join(u' '), " "), 35);
        // The 35th piece is the 35th field alone, not the rest of the line.
        QVERIFY(!f[34].contains(u' '));
    }

    void divideEmptyPiecesAndLongDelimiters() {
        Fields f = Divide("A::B", ":");
        QCOMPARE(f[0], QStringLiteral("A"));
        QCOMPARE(f[1], QString());
        QCOMPARE(f[2], QStringLiteral("B"));
        f = Divide("A::B", "::");
        QCOMPARE(f[0], QStringLiteral("A"));
        QCOMPARE(f[1], QStringLiteral("B"));
        QCOMPARE(DivideCount("A::B", "::"), 2);
        f = preset("x");
        Divide("A  B", " ", f);
        QCOMPARE(f[0], QStringLiteral("A"));
        QCOMPARE(f[1], QString());
        QCOMPARE(f[2], QStringLiteral("B"));
        QCOMPARE(f[3], QStringLiteral("x"));
        f = preset("x");
        Divide(" lead trail ", " ", f);
        QCOMPARE(f[0], QString());
        QCOMPARE(f[1], QStringLiteral("lead"));
        QCOMPARE(f[2], QStringLiteral("trail"));
        QCOMPARE(f[3], QString());
        QCOMPARE(f[4], QStringLiteral("x"));
        // The delimiter is matched exactly, case included.
        f = Divide("aXbxc", "x");
        QCOMPARE(f[0], QStringLiteral("aXb"));
        QCOMPARE(f[1], QStringLiteral("c"));
        f = Divide("a:::b:::c", ":::");
        QCOMPARE(f[1], QStringLiteral("b"));
        QCOMPARE(f[2], QStringLiteral("c"));
    }

    void divideEmptyTextOrDelimiter() {
        Fields f = preset("x");
        Divide("", " ", f);
        QCOMPARE(f, preset("x"));
        QCOMPARE(DivideCount("", " "), 0);
        Divide("whole line", "", f);
        QCOMPARE(f[0], QStringLiteral("whole line"));
        QCOMPARE(f[1], QStringLiteral("x"));
        QCOMPARE(DivideCount("whole line", ""), 1);
    }

    // ---- ReplaceCase and friends ------------------------------------------------------------

    void replaceCase() {
        QString t = "a b c";
        QCOMPARE(ReplaceCase(t, {" ", "%20"}), QStringLiteral("a%20b%20c"));
        QCOMPARE(t, QStringLiteral("a%20b%20c"));  // changed in place
        QCOMPARE(ReplaceCaseCopy("a%20b%20c", {"%20", " "}), QStringLiteral("a b c"));
        QCOMPARE(ReplaceCaseCopy("Cat cat CAT", {"cat", "dog"}), QStringLiteral("Dog dog DOG"));
        QCOMPARE(ReplaceCaseCopy("cAt", {"cat", "dog"}), QStringLiteral("dog"));
        QCOMPARE(ReplaceCaseCopy("cAt", {"cat", "DoG"}), QStringLiteral("DoG"));
        // A replacement that holds its find text is not replaced again.
        QCOMPARE(ReplaceCaseCopy("aaa", {"a", "aa"}), QStringLiteral("aaaaaa"));
        QCOMPARE(ReplaceCaseCopy("x%50y", {"%50", "\r\n"}), QStringLiteral("x\r\ny"));
        // Pairs run in order; an odd last element and an empty find are ignored.
        QCOMPARE(ReplaceCaseCopy("a b", {" ", "%20", "%20", "_", "b"}), QStringLiteral("a_b"));
        QCOMPARE(ReplaceCaseCopy("abc", {"", "x"}), QStringLiteral("abc"));
        QCOMPARE(ReplaceCaseCopy("", {" ", "%20"}), QString());
    }

    void splitAtFirst() {
        QString before = "old", after = "old";
        SplitAtFirst("abc\rdef", "\r", before, after);
        QCOMPARE(before, QStringLiteral("abc"));
        QCOMPARE(after, QStringLiteral("def"));
        SplitAtFirst("abc", "\r", before, after);
        QCOMPARE(before, QStringLiteral("abc"));
        QCOMPARE(after, QString());
        SplitAtFirst("a\rb\rc", "\r", before, after);
        QCOMPARE(before, QStringLiteral("a"));
        QCOMPARE(after, QStringLiteral("b\rc"));
        SplitAtFirst("\r", "\r", before, after);
        QCOMPARE(before, QString());
        QCOMPARE(after, QString());
    }

    void caseTestsAndSpaces() {
        QVERIFY(IsUpper("ABC 1") && !IsUpper("AbC"));
        QVERIFY(IsLower("abc 1") && !IsLower("aBc"));
        QVERIFY(IsProper("Anna") && !IsProper("AnNa") && !IsProper("anna"));
        QVERIFY(IsUpper("") && IsLower("") && IsProper(""));
        QVERIFY(IsUpper("%20") && IsLower("%20"));
        QCOMPARE(ToProper("hELLO wORLD"), QStringLiteral("Hello world"));
        QCOMPARE(ToProper(""), QString());
        QCOMPARE(Spaces(0), QString());
        QCOMPARE(Spaces(9), QString(9, u' '));
        QCOMPARE(Spaces(254).size(), 254);
        QCOMPARE(Spaces(-3), QString());
    }

    void characterChecks() {
        clsText t;
        QVERIFY(t.CheckString("hello, world!"));
        QVERIFY(t.CheckString(""));
        QVERIFY(t.CheckString(QStringLiteral("tab\there \u00a0 \x01")));
        QVERIFY(t.IsAlpha("A") && t.IsAlpha("z") && !t.IsAlpha("1") && !t.IsAlpha("\u00e9") && !t.IsAlpha(""));
        QVERIFY(t.IsNumeric("x") && t.IsChar("\x1f") && t.IsLegit("!"));
        QCOMPARE(SqlQuote("O'Neil's"), QStringLiteral("O''Neil''s"));
    }

    // ---- Configuration object ---------------------------------------------------------------

    void configurationDefaults() {
        QTemporaryDir dir;
        SetClientFolder(dir.path());
        clsClientConfig c;
        QCOMPARE(c.Version(), QStringLiteral("3.4.5.332"));
        QCOMPARE(c.PacketCount(), QStringLiteral("0"));
        QCOMPARE(c.PacketBlock(), QStringLiteral("False"));
        QVERIFY(c.RetryConnection());
        QCOMPARE(c.DeckFolder(), dir.path() + "/decks/");
        QCOMPARE(c.AdminStatus(), int16_t(0));
        QCOMPARE(c.CurrentVersion(), QString());
        QCOMPARE(c.SkinOutofDate(), int16_t(0));
        // The global one is made on first use and kept.
        clsClientConfig* g = &ClientConfig();
        QCOMPARE(&ClientConfig(), g);
        QCOMPARE(ClientConfig().DeckFolder(), dir.path() + "/decks/");
    }

    void configurationConversions() {
        clsClientConfig c;
        c.PacketCount("41");
        QCOMPARE(c.PacketCount(), QStringLiteral("41"));
        c.PacketCount(" -7 ");
        QCOMPARE(c.PacketCount(), QStringLiteral("-7"));
        QVERIFY_THROWS_EXCEPTION(RuntimeError, c.PacketCount("40000"));
        QVERIFY_THROWS_EXCEPTION(RuntimeError, c.PacketCount("many"));
        QCOMPARE(c.PacketCount(), QStringLiteral("-7"));
        c.PacketBlock("True");
        QCOMPARE(c.PacketBlock(), QStringLiteral("True"));
        QVERIFY(c.packetBlocked());
        c.PacketBlock("False");
        QCOMPARE(c.PacketBlock(), QStringLiteral("False"));
        c.PacketBlock("-1");
        QCOMPARE(c.PacketBlock(), QStringLiteral("True"));
        c.PacketBlock("0");
        QCOMPARE(c.PacketBlock(), QStringLiteral("False"));
        QVERIFY_THROWS_EXCEPTION(RuntimeError, c.PacketBlock("maybe"));
        c.RetryConnection(false);
        QVERIFY(!c.RetryConnection());
    }

    void packetCountSaturates() {
        clsClientConfig c;
        c.PacketCount("32766");
        c.countPacket();
        c.countPacket();
        c.countPacket();
        QCOMPARE(c.PacketCount(), QStringLiteral("32767"));
    }

    // ---- Base64 -----------------------------------------------------------------------------

    void base64Vectors_data() {
        QTest::addColumn<QString>("plain");
        QTest::addColumn<QString>("coded");
        QTest::newRow("empty") << "" << "";
        QTest::newRow("a") << "a" << "YQ==";
        QTest::newRow("ab") << "ab" << "YWI=";
        QTest::newRow("abc") << "abc" << "YWJj";
        QTest::newRow("f") << "f" << "Zg==";
        QTest::newRow("fo") << "fo" << "Zm8=";
        QTest::newRow("foo") << "foo" << "Zm9v";
        QTest::newRow("foob") << "foob" << "Zm9vYg==";
        QTest::newRow("fooba") << "fooba" << "Zm9vYmE=";
        QTest::newRow("foobar") << "foobar" << "Zm9vYmFy";
        QTest::newRow("ansi") << QStringLiteral("caf\u00e9 \u20ac") << "Y2Fm6SCA";
        QTest::newRow("command") << "EXEC GetPlayers 'anna'" << "RVhFQyBHZXRQbGF5ZXJzICdhbm5hJw==";
    }

    void base64Vectors() {
        QFETCH(QString, plain);
        QFETCH(QString, coded);
        clsCrypt c;
        QCOMPARE(c.Encode(plain), coded);
        QCOMPARE(c.Decode(coded), plain);
    }

    void base64Lines() {
        clsCrypt c;
        QCOMPARE(c.Decode("YW\r\nJj"), QStringLiteral("abc"));
        QCOMPARE(c.Decode("YWJj\r\nYWJj\r\n"), QStringLiteral("abcabc"));
        QCOMPARE(c.Decode("YQ"), QStringLiteral("a"));
        QCOMPARE(c.Decode("YWI"), QStringLiteral("ab"));
        const QString long58 = QString(58, u'x');
        const QString coded = c.Encode(long58 + long58);
        QVERIFY(!coded.contains(u'\r') && !coded.contains(u'\n'));
        QCOMPARE(coded.size(), (116 + 2) / 3 * 4);
        QCOMPARE(c.Decode(coded), long58 + long58);
        // Characters outside the alphabet count as 0 and do not stop the decoding.
        QCOMPARE(c.DecodeArr("A*A*"), QByteArray(3, '\0'));
        QCOMPARE(c.DecodeArr(QStringLiteral("\u4e2d\u4e2dAA")), QByteArray(3, '\0'));
        QCOMPARE(c.DecodeArr("Q"), QByteArray());  // a lone character makes no byte
    }

    void base64AllBytesRoundTrip() {
        clsCrypt c;
        for (int n = 0; n < 260; n += 1) {
            QByteArray bytes(n, 0);
            for (int i = 0; i < n; ++i) bytes[i] = char((i * 37 + n) & 0xFF);
            const QString coded = c.EncodeArr(bytes);
            QCOMPARE(coded.toLatin1(), bytes.toBase64());
            QCOMPARE(c.DecodeArr(coded), bytes);
        }
        QCOMPARE(Crypt().Encode("abc"), QStringLiteral("YWJj"));
    }

    void base64Files() {
        QTemporaryDir dir;
        clsCrypt c;
        const QString src = dir.filePath("in.bin");
        {
            QFile f(src);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(QByteArray("\x00\x01\xfe\xff payload", 12));
        }
        const QString coded = c.EncodeFromFile(src);
        QCOMPARE(coded.toLatin1(), QByteArray("\x00\x01\xfe\xff payload", 12).toBase64());
        QCOMPARE(c.EncodeFromFile(dir.filePath("missing.bin")), QString());

        const QString out = dir.filePath("out.bin");
        c.DecodeToFile(coded, out);
        QFile f(out);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray("\x00\x01\xfe\xff payload", 12));
        f.close();
        try {
            c.DecodeToFile("YWJj", out);
            QFAIL("an existing file must not be overwritten");
        } catch (const RuntimeError& e) {
            QCOMPARE(e.description(), QStringLiteral("File already exists."));
            QCOMPARE(e.number(), -2147221504 + 1000);
        }
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray("\x00\x01\xfe\xff payload", 12));
    }

    // ---- Table slots ------------------------------------------------------------------------

    void tables() {
        QVERIFY(!TableSlot(7));
        InitTables();
        for (int i = 1; i <= kTableCount; ++i) {
            QVERIFY(TableSlot(i));
            QCOMPARE(TableSlot(i)->tableid, int16_t(i));
        }
        QCOMPARE(TableSlot(7)->tableleft, QString());
        QCOMPARE(TableSlot(7)->tableright, QString());
        QCOMPARE(TableSlot(7)->Rules, QString());
        QCOMPARE(TableSlot(7)->comment, QString());
        QVERIFY(!TableSlot(0));
        QVERIFY(!TableSlot(51));
        QVERIFY(!TableSlot(-1));
        TableSlot(7)->comment = "old";
        InitTables();
        QCOMPARE(TableSlot(7)->comment, QString());
    }
};

QTEST_GUILESS_MAIN(TestText)
#include "tst_text.moc"
