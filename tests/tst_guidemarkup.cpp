// The guide's own markup: what the service may write passes as it is meant,
// everything else is dropped or shown as text, and nothing left over can
// make a label load a file of this machine or anything from the network.

#include "common/testenv.h"

#include "Form/FormGuide/guidemarkup.h"

#include <QApplication>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>
#include <QTextFragment>
#include <QTextBlock>

using guidemarkup::safeRichText;

class TestGuideMarkup : public QObject
{
    Q_OBJECT

private slots:
    void allowedMarkupPasses_data();
    void allowedMarkupPasses();
    void everythingElseIsDroppedOrEscaped_data();
    void everythingElseIsDroppedOrEscaped();
    void noResourceIsLoaded();
    void hostileInputEndsQuickly();
};

void TestGuideMarkup::allowedMarkupPasses_data()
{
    QTest::addColumn<QString>("service");
    QTest::addColumn<QString>("shown");
    QTest::newRow("plain") << "Plug in the headset" << "Plug in the headset";
    QTest::newRow("paragraphs and breaks") << "<p>one</p><P>two<br>three<BR/></p>"
                                           << "<p>one</p><p>two<br/>three<br/></p>";
    QTest::newRow("bold italic underline") << "<b>b</b> <strong>s</strong> <i>i</i> <em>e</em> <u>u</u>"
                                           << "<b>b</b> <b>s</b> <i>i</i> <i>e</i> <u>u</u>";
    QTest::newRow("span colours") << "<span style=\"color: #F00\">r</span><span style='color:rgb(0, 128, 255)'>b</span>"
                                     "<span style=\"COLOR:Green\">g</span>"
                                  << "<span style=\"color:#ff0000\">r</span><span style=\"color:#0080ff\">b</span>"
                                     "<span style=\"color:#008000\">g</span>";
    QTest::newRow("span weight") << "<span style=\"font-weight:bold; color:#123456\">w</span><span style=\"font-weight: 600\">6</span>"
                                 << "<span style=\"font-weight:bold;color:#123456\">w</span><span style=\"font-weight:600\">6</span>";
    QTest::newRow("web links") << "<a href=\"https://127.0.0.1/help?a=1&amp;b=2\">help</a> <A HREF='http://127.0.0.1/x y'>x</A>"
                               << "<a href=\"https://127.0.0.1/help?a=1&amp;b=2\">help</a> <a href=\"http://127.0.0.1/x%20y\">x</a>";
    QTest::newRow("entities") << "a &lt;b&gt; &amp; &quot;c&quot; &#65;&#x42; &nbsp;"
                              << QString("a &lt;b&gt; &amp; &quot;c&quot; AB ") + QChar(0xA0);
    QTest::newRow("unclosed are closed") << "<p><b>open <i>still" << "<p><b>open <i>still</i></b></p>";
    QTest::newRow("crossed are mended") << "<b>1<i>2</b>3</i>" << "<b>1<i>2</i></b>3";
    QTest::newRow("paragraph ends the one before") << "<p>a<p>b" << "<p>a</p><p>b</p>";
    QTest::newRow("no link inside a link") << "<a href='https://127.0.0.1/a'>a<a href='https://127.0.0.1/b'>b</a>"
                                           << "<a href=\"https://127.0.0.1/a\">a</a><a href=\"https://127.0.0.1/b\">b</a>";
}

void TestGuideMarkup::allowedMarkupPasses()
{
    QFETCH(QString, service);
    QFETCH(QString, shown);
    QCOMPARE(safeRichText(service), shown);
}

void TestGuideMarkup::everythingElseIsDroppedOrEscaped_data()
{
    QTest::addColumn<QString>("service");
    QTest::addColumn<QString>("shown");
    QTest::newRow("local picture") << "see <img src=\"file:///etc/hostname\"> here" << "see  here";
    QTest::newRow("remote picture") << "<IMG SRC=http://127.0.0.1:1/p.png/>x" << "x";
    QTest::newRow("file link") << "<a href=\"file:///etc/passwd\">passwd</a>" << "passwd";
    QTest::newRow("other schemes") << "<a href='ftp://127.0.0.1/x'>f</a><a href='javascript:alert(1)'>j</a>"
                                      "<a href='qrc:/Brontel/x'>q</a><a>n</a><a href='https://'>h</a>"
                                   << "fjqnh";
    QTest::newRow("relative link") << "<a href='/etc/passwd'>r</a>" << "r";
    QTest::newRow("style sheet") << "<style>p{background-image:url(file:///etc/x.png)}</style>after" << "after";
    QTest::newRow("script") << "<script>bad()</script>ok<SCRIPT type=x>more</script >" << "ok";
    QTest::newRow("unended style drops the rest") << "a<style>p{}" << "a";
    QTest::newRow("span backgrounds") << "<span style=\"background-image:url(file:///etc/x.png);color:red\">s</span>"
                                      << "<span style=\"color:#ff0000\">s</span>";
    QTest::newRow("colours that hide something") << "<span style=\"color:url(x)\">a</span><span style=\"color:#12345\">b</span>"
                                                    "<span style=\"color:rgb(300,0,0)\">c</span><span style=\"color:transparent\">d</span>"
                                                 << "<span>a</span><span>b</span><span>c</span><span>d</span>";
    QTest::newRow("other attributes") << "<p align=right style='background:url(x)'>p</p><b class=x onclick=y>b</b>"
                                      << "<p>p</p><b>b</b>";
    QTest::newRow("tables and fonts") << "<table background='file:///x.png'><tr><td>cell</td></tr></table><font color=red>f</font>"
                                      << "cellf";
    QTest::newRow("comments and declarations") << "<!DOCTYPE html><!-- <img src=x> -->t<?xml version='1.0'?>" << "t";
    QTest::newRow("brackets around words") << QString::fromUtf8("点击<设置>按钮 </设置>")
                                           << QString::fromUtf8("点击&lt;设置&gt;按钮 &lt;/设置&gt;");
    QTest::newRow("lone brackets") << "a < b > c <3 </ x" << "a &lt; b &gt; c &lt;3 &lt;/ x";
    QTest::newRow("unended tag is text") << "fine <a href='https://127.0.0.1/" << "fine &lt;a href='https://127.0.0.1/";
    QTest::newRow("stray closers") << "</b>x</p></span>" << "x";
    QTest::newRow("unknown entities stay text") << "&bogus; &#xZZ; &#0; & alone" << QString("&amp;bogus; &amp;#xZZ; ")
                                                                                    + QChar(0xFFFD) + " &amp; alone";
    QTest::newRow("escaped markup stays text") << "&lt;img src=x&gt;" << "&lt;img src=x&gt;";
}

void TestGuideMarkup::everythingElseIsDroppedOrEscaped()
{
    QFETCH(QString, service);
    QFETCH(QString, shown);
    QCOMPARE(safeRichText(service), shown);
}

// Qt's rich text asks its document for every picture and style sheet that
// the markup names; after the filter a label's document asks for none.
class RecordingDocument : public QTextDocument
{
public:
    QList<QUrl> asked;

protected:
    QVariant loadResource(int type, const QUrl &name) override
    {
        asked << name;
        return QTextDocument::loadResource(type, name);
    }
};

void TestGuideMarkup::noResourceIsLoaded()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString local = QUrl::fromLocalFile(dir.filePath("secret.png")).toString();
    QImage(4, 4, QImage::Format_RGB32).save(dir.filePath("secret.png"));
    const QString hostile = QString("<img src='%1'><p style=\"background-image:url(%1)\">p</p>"
                                    "<span style=\"background-image:url(%1)\">s</span>"
                                    "<table background='%1'><tr><td background='%1'>t</td></tr></table>"
                                    "<body background='%1'>b</body><style>p{background-image:url(%1)}</style>"
                                    "<link rel=stylesheet href='%1'><a href='https://127.0.0.1/'>l</a>")
                                .arg(local);

    // The unfiltered text does make the document ask for the file ...
    RecordingDocument raw;
    raw.setHtml(hostile);
    raw.size();
    QVERIFY(raw.asked.contains(QUrl(local)));

    // ... the filtered one asks for nothing, and its words and link remain.
    RecordingDocument filtered;
    filtered.setHtml(safeRichText(hostile));
    filtered.size();
    QCOMPARE(filtered.asked, QList<QUrl>());
    QCOMPARE(filtered.toPlainText(), QString("p\nstbl"));
    bool linkFound = false;
    for (QTextBlock block = filtered.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            if (it.fragment().charFormat().anchorHref() == "https://127.0.0.1/")
                linkFound = it.fragment().text() == "l";
        }
    }
    QVERIFY(linkFound);
}

// Text that never closes what it opens is read once, not once per bracket
// (read once per bracket, these would run far past the test's time limit).
void TestGuideMarkup::hostileInputEndsQuickly()
{
    const QString brackets = QString("<a").repeated(200000);
    const QString quotes = QString("<b x='").repeated(100000);
    const QString ampersands = QString("&").repeated(400000);
    const QString nested = QString("<b>").repeated(100000);
    QCOMPARE(safeRichText(brackets), QString("&lt;a").repeated(200000));
    QVERIFY(safeRichText(quotes).startsWith("&lt;b x='&lt;b x="));
    QCOMPARE(safeRichText(ampersands), QString("&amp;").repeated(400000));
    // Nesting stops at a depth no guide needs; every opened tag is closed.
    const QString deep = safeRichText(nested);
    QCOMPARE(deep.count("<b>"), deep.count("</b>"));
    QVERIFY(deep.count("<b>") <= 32);
}

QTEST_MAIN(TestGuideMarkup)
#include "tst_guidemarkup.moc"
