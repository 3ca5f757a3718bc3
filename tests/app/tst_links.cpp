// Links, chat-log helpers and card picture paths, on real rich-text boxes and the build's cards.
#include "app/Deployment.h"
#include "app/modLinks.h"
#include "app/storedvars.h"
#include "platform/Paths.h"
#include "platform/VbCompat.h"
#include "tests/support/ClientFixture.h"

#include <QFile>
#include <QTest>
#include <QTextDocument>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextEdit>
#include <QTreeWidget>

namespace {
QString missingCardText(const QString& name, const QString& colour) {
    return "Missing file " + name + " (color: " + colour +
           "), a black image will be showed instead. Make sure your executable is in the correct installation "
           "directory.  If it is, contact " +
           Deployment::supportAddress() + " with this error.";
}

// The character format at a position of a box's text.
QTextCharFormat formatAt(QTextEdit& box, int position) {
    QTextCursor c(box.document());
    c.setPosition(position + 1);
    return c.charFormat();
}

// A shown rich-text box holding a text.
struct ShownBox {
    QTextEdit box;
    bool show(const QString& text) {
        box.resize(600, 200);
        box.setPlainText(text);
        box.show();
        return QTest::qWaitForWindowExposed(&box);
    }
};

// A point inside the character at a position, in viewport coordinates.
QPoint pointAt(QTextEdit& box, int position) {
    QTextCursor c(box.document());
    c.setPosition(position);
    const QRect r = box.cursorRect(c);
    return QPoint(r.right() + 3, r.center().y());
}
}  // namespace

class TestLinks : public QObject {
    Q_OBJECT

private slots:
    // ---- Card pictures ----------------------------------------------------------------------

    void cardPictures() {
        ClientFixture fx(ClientFixture::Decks);
        QString name = "Emberlark";
        QCOMPARE(CardImagePath(name, "Blue"), fx.path("decks/Blue/Emberlark.jpg"));
        QCOMPARE(name, QStringLiteral("Emberlark.jpg"));  // completed for the caller
        QString again = name;
        QCOMPARE(CardImagePath(again, "Red"), fx.path("decks/Red/Emberlark.jpg"));
        QCOMPARE(again, QStringLiteral("Emberlark.jpg"));
        QVERIFY(fx.services.dialogs->boxes.isEmpty());
    }

    void cardPicturesFoundWithoutRegardToCase() {
        ClientFixture fx(ClientFixture::Decks);
        QString name = "emberLARK";
        QCOMPARE(CardImagePath(name, "blue"), fx.path("decks/Blue/Emberlark.jpg"));
        QVERIFY(QFile::exists(CardImagePath(name, "RED")));
        QString spaced = "basalt vigil";
        QCOMPARE(CardImagePath(spaced, "Blue"), fx.path("decks/Blue/Basalt Vigil.jpg"));
        QVERIFY(fx.services.dialogs->boxes.isEmpty());
    }

    void upperCaseExtensionIsCompletedToo() {
        ClientFixture fx(ClientFixture::Decks);
        fx.write("decks/Blue/Odd.JPG", "jpeg");
        QString name = "Odd.JPG";
        QCOMPARE(CardImagePath(name, "Blue"), QString());
        QCOMPARE(name, QStringLiteral("Odd.JPG.jpg"));
        QCOMPARE(fx.services.dialogs->boxes.size(), 1);
        QCOMPARE(fx.services.dialogs->boxes[0].text, missingCardText("Odd.JPG.jpg", "Blue"));
    }

    void missingCard() {
        ClientFixture fx(ClientFixture::Decks);
        QString name = "Nobody";
        QCOMPARE(CardImagePath(name, "Red"), QString());
        QCOMPARE(fx.services.dialogs->boxes.size(), 1);
        const BoxRecord box = fx.services.dialogs->boxes[0];
        QCOMPARE(box.title, QStringLiteral("Fatal error"));
        QCOMPARE(box.style, int(vb::OKOnly));
        QCOMPARE(box.text, missingCardText("Nobody.jpg", "Red"));
        QCOMPARE(fx.services.lifecycle->ends, 0);
    }

    void cardNamesFromTheServerStayInTheDeckFolder() {
        ClientFixture fx(ClientFixture::Decks);
        fx.write("secret.jpg", "outside the decks");
        fx.write("decks/secret.jpg", "beside the colours");
        const std::pair<const char*, const char*> tries[] = {
            {"../../secret", "Blue"}, {"../secret", "Blue"}, {"x", "../"}, {"secret", ".."}, {"secret", ""},
            {"/etc/hostname", "Blue"}, {"..\\..\\secret", "Blue"}};
        for (const auto& [card, colour] : tries) {
            QString name = card;
            QCOMPARE(CardImagePath(name, colour), QString());
        }
        QCOMPARE(fx.services.dialogs->count("Fatal error"), int(std::size(tries)));
    }

    // ---- Chat log trimming ------------------------------------------------------------------

    void shortLogIsNeverTrimmed() {
        ClientFixture fx;
        QTextEdit box;
        box.setPlainText("0123456789\n123456789");  // 19 characters and the break: 20
        QCOMPARE(chatLength(&box), 20);
        TrimChatBox(&box);
        QCOMPARE(box.toPlainText(), QStringLiteral("0123456789\n123456789"));
        box.setPlainText("0123456789\n1234567890");
        TrimChatBox(&box);
        QCOMPARE(box.toPlainText(), QStringLiteral(" 1234567890"));
    }

    void logWithoutLineBreakIsNeverTrimmed() {
        ClientFixture fx;
        QTextEdit box;
        box.setPlainText(QString(500, u'x'));
        TrimChatBox(&box);
        QCOMPARE(box.toPlainText(), QString(500, u'x'));
    }

    void oldestLineGivesWayToOneBlank() {
        ClientFixture fx;
        QTextEdit box;
        box.setPlainText("[12:00] anna: first line\n[12:01] bob: second\n[12:02] eve: third");
        TrimChatBox(&box);
        QCOMPARE(box.toPlainText(), QStringLiteral(" [12:01] bob: second\n[12:02] eve: third"));
        TrimChatBox(&box);
        QCOMPARE(box.toPlainText(), QStringLiteral(" [12:02] eve: third"));
        TrimChatBox(&box);
        QCOMPARE(box.toPlainText(), QStringLiteral(" [12:02] eve: third"));
        TrimChatBox(static_cast<QTextEdit*>(nullptr));
        TrimChatBox();  // no lobby loaded: nothing happens
    }

    void trimmingLogOfTheLoggedInUserUsesTheChatFont() {
        ClientFixture fx;
        Nickname = "anna";
        fx.write("config/anna.cvc", "[Chat]\r\nFont=Courier New\r\nFontSize=13\r\n");
        QTextEdit box;
        box.setPlainText("a first line of chat\nsecond line of chat");
        TrimChatBox(&box);
        QCOMPARE(box.toPlainText(), QStringLiteral(" second line of chat"));
        const QTextCharFormat f = formatAt(box, 0);
        QCOMPARE(f.fontFamilies().toStringList().value(0), QStringLiteral("Courier New"));
        QCOMPARE(f.fontPointSize(), 13.0);
    }

    // A pane without a rule of its own is trimmed as TrimChatBox over and over while it is too
    // long: the same text and the same blank in the chat font, however many lines go at once.
    void trimChatLogAsTrimChatBoxOverAndOver_data() {
        QTest::addColumn<int>("lines");
        QTest::addColumn<int>("width");
        QTest::newRow("within the limit") << 100 << 40;
        QTest::newRow("one line over") << 400 << 40;
        QTest::newRow("many lines over") << 900 << 37;
        QTest::newRow("empty lines between") << 1500 << 0;
        QTest::newRow("one long line") << 1 << 20000;
    }
    void trimChatLogAsTrimChatBoxOverAndOver() {
        QFETCH(int, lines);
        QFETCH(int, width);
        ClientFixture fx;
        Nickname = "anna";
        fx.write("config/anna.cvc", "[Chat]\r\nFont=Courier New\r\nFontSize=13\r\n");
        QString text;
        for (int i = 0; i < lines; ++i) text += QString::number(i) + QString(i % 3 == 0 ? 0 : width, u'x') + u'\n';
        QTextEdit once, stepwise;
        once.setPlainText(text);
        stepwise.setPlainText(text);
        TrimChatLog(&once);
        while (chatLength(&stepwise) > kChatLogLimit && stepwise.document()->blockCount() >= 2) TrimChatBox(&stepwise);
        QCOMPARE(once.toPlainText(), stepwise.toPlainText());
        QCOMPARE(formatAt(once, 0).fontFamilies(), formatAt(stepwise, 0).fontFamilies());
        QCOMPARE(formatAt(once, 1).fontPointSize(), formatAt(stepwise, 1).fontPointSize());
    }

    // ---- Links ------------------------------------------------------------------------------

    void highlightLinks() {
        ClientFixture fx;
        QTextEdit box;
        box.setPlainText("see http://x.org/a now\nwww.y.com\nend http://z.net");
        HighlightLinks(&box, "http:", 0);
        HighlightLinks(&box, "www.", 0);
        const QString text = box.toPlainText();
        const auto linked = [&](int pos) {
            const QTextCharFormat f = formatAt(box, pos);
            return f.isAnchor() && f.fontUnderline() && f.foreground().color() == vbColor(kLinkColour);
        };
        const int h = int(text.indexOf("http://x.org/a"));
        for (int i = h; i < h + 14; ++i) QVERIFY2(linked(i), qPrintable(QString::number(i)));
        QVERIFY(!linked(h + 14));  // the blank after it
        QVERIFY(!linked(h - 2));
        QCOMPARE(formatAt(box, h).anchorHref(), QStringLiteral("http://x.org/a"));
        const int w = int(text.indexOf("www.y.com"));
        QVERIFY(linked(w) && linked(w + 8));
        QCOMPARE(formatAt(box, w).anchorHref(), QStringLiteral("www.y.com"));
        const int z = int(text.indexOf("http://z.net"));
        QVERIFY(linked(z + 11));
        QVERIFY(!linked(text.indexOf("now")));
        QVERIFY(!linked(text.indexOf("end")));
        QCOMPARE(box.toPlainText(), text);  // nothing but the formats changed
    }

    void highlightFromAStartPosition() {
        ClientFixture fx;
        QTextEdit box;
        box.setPlainText("http://old.org\nhttp://new.org");
        HighlightLinks(&box, "http:", int(box.toPlainText().indexOf("http://new")));
        QVERIFY(!formatAt(box, 3).isAnchor());
        QVERIFY(formatAt(box, int(box.toPlainText().indexOf("new"))).isAnchor());
        HighlightLinks(static_cast<QTextEdit*>(nullptr), "http:", 0);
        HighlightLinks(&box, "", 0);
    }

    // The chat's one scan marks what marking each prefix over the text in turn marks, by the
    // document's own search: the same runs, colours and addresses, the later prefix's address
    // where two links of a word overlap.
    void chatLinksAsEachPrefixInTurn_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("start");
        QTest::newRow("each kind") << "a http://x.org b www.y.com c mailto:e@f.org d ftp.g.net" << 0;
        QTest::newRow("overlapping") << "http://www.x.org/ftp.y and mailto:www.z" << 0;
        QTest::newRow("any case") << "HTTP://X.ORG Www.Y.com MAILTO:A@B FTP.C" << 0;
        QTest::newRow("inside words") << "xhttp:y,www.z http:http://again" << 0;
        QTest::newRow("other blanks") << "tab\twww.a.org\tend\nnext http://b.org\n" << 0;
        QTest::newRow("from the middle") << "www.old.org http://old.org\nwww.new.org http://new.org" << 27;
        QTest::newRow("start inside a word") << "www.old.org" << 2;
        QTest::newRow("nothing") << "just words, no addresses: wwwx ftp:x mail" << 0;
        QTest::newRow("beyond Latin-1") << QString::fromUtf8("\u00e9t\u00e9 www.caf\u00e9.fr \u4e2d http://\u4e2d.cn") << 0;
    }
    void chatLinksAsEachPrefixInTurn() {
        QFETCH(QString, text);
        QFETCH(int, start);
        ClientFixture fx;
        QTextEdit chat, reference;
        chat.setPlainText(text);
        reference.setPlainText(text);
        HighlightChatLinks(&chat, start);
        QTextDocument* doc = reference.document();
        for (const QString prefix : {"http:", "www.", "mailto:", "ftp."}) {
            for (QTextCursor found = doc->find(prefix, start); !found.isNull();) {
                const int p = found.selectionStart();
                int end = p;
                while (end < doc->characterCount() - 1 && !QString(" \n\r\t").contains(doc->characterAt(end)) &&
                       doc->characterAt(end) != QChar::ParagraphSeparator)
                    ++end;
                QTextCursor c(doc);
                c.setPosition(p);
                c.setPosition(end, QTextCursor::KeepAnchor);
                QTextCharFormat fmt;
                fmt.setForeground(vbColor(kLinkColour));
                fmt.setFontUnderline(true);
                fmt.setAnchor(true);
                fmt.setAnchorHref(c.selectedText());
                c.mergeCharFormat(fmt);
                found = doc->find(prefix, end);
            }
        }
        QCOMPARE(chat.toPlainText(), text);
        for (int i = 0; i < int(text.size()); ++i) {
            const QTextCharFormat a = formatAt(chat, i), b = formatAt(reference, i);
            QVERIFY2(a.isAnchor() == b.isAnchor() && a.anchorHref() == b.anchorHref() && a.fontUnderline() == b.fontUnderline() &&
                         a.foreground() == b.foreground(),
                     qPrintable(QStringLiteral("at %1: %2 / %3").arg(i).arg(a.anchorHref(), b.anchorHref())));
        }
    }

    void hoverTooltips_data() {
        QTest::addColumn<QString>("word");
        QTest::addColumn<QString>("hovered");
        QTest::addColumn<QString>("tip");
        QTest::newRow("web") << "http://x.org" << "http://x.org" << "Click here to navigate at http://x.org";
        QTest::newRow("www") << "www.x.org/a" << "www.x.org/a" << "Click here to navigate at www.x.org/a";
        QTest::newRow("mailto") << "mailto:" << "mailto:bob@y.org" << "Click here to send mail to bob@y.org";
        QTest::newRow("mail") << "eve@" << "eve@z.org" << "Click here to send mail to eve@z.org";
        QTest::newRow("ampersand") << "http://q.org" << "http://q.org/?a=1&b=2" << "Click here to navigate at http://q.org/?a=1&b=2";
        QTest::newRow("markup") << "http://m.org" << "http://m.org/<b>bold</b>" << "Click here to navigate at http://m.org/<b>bold</b>";
        QTest::newRow("entity") << "www.e.org" << "www.e.org/&amp;" << "Click here to navigate at www.e.org/&amp;";
        QTest::newRow("plain") << "plain" << "plain" << "";
    }
    void hoverTooltips() {
        QFETCH(QString, word);
        QFETCH(QString, hovered);
        QFETCH(QString, tip);
        ClientFixture fx;
        ShownBox shown;
        QTextEdit& box = shown.box;
        QVERIFY(shown.show("hello http://x.org www.x.org/a mailto:bob@y.org eve@z.org http://q.org/?a=1&b=2 "
                           "http://m.org/<b>bold</b> www.e.org/&amp; plain"));
        QCOMPARE(HyperlinkHover(&box, pointAt(box, int(box.toPlainText().indexOf(word)) + 1)), hovered);
        // What the tooltip shows: markup is drawn, anything else stands as it is.
        QTextDocument drawn;
        if (Qt::mightBeRichText(box.toolTip()))
            drawn.setHtml(box.toolTip());
        else
            drawn.setPlainText(box.toolTip());
        QCOMPARE(drawn.toPlainText(), tip);
        QCOMPARE(HyperlinkHover(static_cast<QTextEdit*>(nullptr), QPoint(1, 1)), QString());
    }

    void linksOpenOnlyWebAndMail() {
        ClientFixture fx;
        QVERIFY(ShellOpen("http://corvadex.net/a") > 32);
        QVERIFY(ShellOpen("HTTPS://corvadex.net/b") > 32);
        QVERIFY(ShellOpen("mailto:support@corvadex.net") > 32);
        QVERIFY(ShellOpen("www.corvadex.net") > 32);
        for (const char* refused : {"javascript:alert(1)", "file:///etc/passwd", "ftp://x.org", "", "   ",
                                    "/bin/sh", "data:text/html,hi"})
            QVERIFY2(ShellOpen(refused) <= 32, refused);
        QCOMPARE(fx.services.shell->opened,
                 (QStringList{"http://corvadex.net/a", "HTTPS://corvadex.net/b", "mailto:support@corvadex.net",
                              "http://www.corvadex.net"}));
        QCOMPARE(fx.services.shell->started, QStringList());
    }

    void programsInTheClientFolderStart() {
        ClientFixture fx;
        fx.write("client/Updater.exe", "MZ");
        fx.write("beside-the-client.exe", "MZ");
        SetClientFolder(fx.folder() + "/client");
        QVERIFY(ShellOpen(ClientFolder() + "\\updater.EXE") > 32);
        QCOMPARE(fx.services.shell->started, QStringList{fx.path("client/Updater.exe")});
        QVERIFY(ShellOpen(ClientFolder() + "\\Missing.exe") <= 32);
        QVERIFY(ShellOpen(ClientFolder() + "/../beside-the-client.exe") <= 32);
        QVERIFY(ShellOpen(fx.folder() + "/beside-the-client.exe") <= 32);
        QVERIFY(ShellOpen(ClientFolder()) <= 32);
        QCOMPARE(fx.services.shell->started.size(), 1);
        OpenLink("http://corvadex.net/forum");  // no lobby loaded: just the link
        QCOMPARE(fx.services.shell->opened.last(), QStringLiteral("http://corvadex.net/forum"));
    }

    void treeTextColour() {
        ClientFixture fx;
        QTreeWidget tree;
        SetTreeTextColor(0x0000FF, &tree);
        QCOMPARE(tree.palette().color(QPalette::Text), QColor(255, 0, 0));
        SetTreeTextColor(0, nullptr);
    }
};

QTEST_MAIN(TestLinks)
#include "tst_links.moc"
