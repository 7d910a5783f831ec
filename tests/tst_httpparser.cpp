// The embedded server's pure pieces, byte for byte: request parsing and its
// limits, the reply heads, byte ranges and reading the headset's requests.
#include "common/httpedgecases.h"
#include "common/testenv.h"

#include "servermanager/byterange.h"
#include "servermanager/filevalidators.h"
#include "servermanager/headsetrequest.h"
#include "servermanager/httpparser.h"
#include "servermanager/httpresponse.h"

#include <QTest>

#include <limits>

using namespace LanHttpServer;

Q_DECLARE_METATYPE(ParseResult::Status)
Q_DECLARE_METATYPE(HeadsetRequest::Kind)

class TestHttpParser : public QObject
{
    Q_OBJECT

private slots:
    void parsesACompleteRequest();
    void waitsForTheWholeHeadWhereverItIsCut();
    void bareLineFeedsEndLinesToo();
    void rejectsMalformedRequests_data();
    void rejectsMalformedRequests();
    void rejectsABadRequestLineBeforeTheHeadEnds();
    void limitsTheHead();
    void targetsHostsAndEarlyRefusals_data();
    void targetsHostsAndEarlyRefusals();
    void takesABodyByContentLength();
    void replyHeadsByteForByte();
    void byteRanges_data();
    void byteRanges();
    void ifRangeNamesTheVersionOfTheFile();
    void headsetRequests_data();
    void headsetRequests();
    void logLinesEscapeWhatThePeerSent();
};

void TestHttpParser::parsesACompleteRequest()
{
    const QByteArray head = "GET /video/abc?x=1 HTTP/1.1\r\n"
                            "Host: 10.77.0.1:9000\r\n"
                            "range:bytes=0-1\r\n"
                            "X-Two:  two  \r\n"
                            "X-Two: second\r\n"
                            "\r\n";
    const ParseResult result = parseRequest(head + "trailing bytes of a second request");
    QCOMPARE(result.status, ParseResult::Complete);
    QCOMPARE(result.bytesUsed, head.size());
    QCOMPARE(result.request.method, QString("GET"));
    QCOMPARE(result.request.target, QString("/video/abc?x=1"));
    QCOMPARE(result.request.version, QString("HTTP/1.1"));
    QCOMPARE(result.request.headers.size(), 3);
    // Any case of a name finds the header.
    QCOMPARE(result.request.header("Range"), QString("bytes=0-1"));
    QCOMPARE(result.request.header("RANGE"), QString("bytes=0-1"));
    QCOMPARE(result.request.header("x-two"), QString("second"));
    QCOMPARE(result.request.header("host"), QString("10.77.0.1:9000"));
    QVERIFY(result.request.body.isEmpty());

    // HEAD is read as GET is.
    const ParseResult headRequest = parseRequest("HEAD /post/abc HTTP/1.1\r\nHost: x\r\n\r\n");
    QCOMPARE(headRequest.status, ParseResult::Complete);
    QCOMPARE(headRequest.request.method, QString("HEAD"));
    QCOMPARE(headRequest.request.target, QString("/post/abc"));
}

void TestHttpParser::waitsForTheWholeHeadWhereverItIsCut()
{
    const QByteArray request = "GET /list HTTP/1.0\r\nUser-Agent: headset\r\nAccept: */*\r\n\r\n";
    for (int cut = 0; cut < request.size(); ++cut) {
        const ParseResult partial = parseRequest(request.left(cut));
        QVERIFY2(partial.status == ParseResult::Incomplete, qPrintable(QString("cut at %1").arg(cut)));
    }
    const ParseResult whole = parseRequest(request);
    QCOMPARE(whole.status, ParseResult::Complete);
    QCOMPARE(whole.request.header("user-agent"), QString("headset"));
}

// Some clients end lines with LF alone; such a request reads as its CR LF
// twin, not as a head that never ends.
void TestHttpParser::bareLineFeedsEndLinesToo()
{
    const QByteArray crLf = "POST /video/abc HTTP/1.1\r\nHost: x\r\nRange: bytes=1-2\r\nContent-Length: 3\r\n\r\nabc";
    QByteArray lf = crLf;
    lf.replace("\r\n", "\n");
    const ParseResult expected = parseRequest(crLf);
    QCOMPARE(expected.status, ParseResult::Complete);
    const QByteArray mixed = "POST /video/abc HTTP/1.1\r\nHost: x\nRange: bytes=1-2\r\nContent-Length: 3\n\r\nabc";
    for (const QByteArray &input : {lf, mixed}) {
        for (int cut = 0; cut < input.size(); ++cut)
            QCOMPARE(parseRequest(input.left(cut)).status, ParseResult::Incomplete);
        const ParseResult result = parseRequest(input + "GET /next");
        QCOMPARE(result.status, ParseResult::Complete);
        QCOMPARE(result.bytesUsed, input.size());
        QCOMPARE(result.request.method, expected.request.method);
        QCOMPARE(result.request.target, expected.request.target);
        QCOMPARE(result.request.version, expected.request.version);
        QCOMPARE(result.request.headers, expected.request.headers);
        QCOMPARE(result.request.body, QByteArray("abc"));
    }
    QCOMPARE(parseRequest("\nGET / HTTP/1.1\n\n").errorStatus, 400);
    // A CR that does not end a line is still refused.
    QCOMPARE(parseRequest("GET / HTTP/1.1\nA: b\rc\n\n").errorStatus, 400);
}

void TestHttpParser::rejectsMalformedRequests_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<int>("status");

    QTest::newRow("leading empty line") << QByteArray("\r\nGET / HTTP/1.1\r\n\r\n") << 400;
    QTest::newRow("two spaces") << QByteArray("GET  / HTTP/1.1\r\n\r\n") << 400;
    QTest::newRow("four tokens") << QByteArray("GET / HTTP/1.1 extra\r\n\r\n") << 400;
    QTest::newRow("two tokens") << QByteArray("GET /\r\n\r\n") << 400;
    QTest::newRow("other protocol") << QByteArray("GET / FTP/1.0\r\n\r\n") << 400;
    QTest::newRow("HTTP/2 preface") << QByteArray("PRI * HTTP/2.0\r\n\r\nSM\r\n\r\n") << 400;
    QTest::newRow("relative target") << QByteArray("GET list HTTP/1.1\r\n\r\n") << 400;
    QTest::newRow("TLS hello") << QByteArray("\x16\x03\x01\x02\x00\x01\x00\x01\xfc\x03\x03 a b\r\n\r\n", 19) << 400;
    QTest::newRow("lower-case method") << QByteArray("get / HTTP/1.1\r\n\r\n") << 405;
    QTest::newRow("other method") << QByteArray("DELETE /video/x HTTP/1.1\r\n\r\n") << 405;
    QTest::newRow("head in lower case") << QByteArray("head /list HTTP/1.1\r\n\r\n") << 405;
    QTest::newRow("header without colon") << QByteArray("GET / HTTP/1.1\r\nNoColon\r\n\r\n") << 400;
    QTest::newRow("colon first") << QByteArray("GET / HTTP/1.1\r\n:value\r\n\r\n") << 400;
    QTest::newRow("blank before colon") << QByteArray("GET / HTTP/1.1\r\nRange : bytes=0-1\r\n\r\n") << 400;
    QTest::newRow("folded line") << QByteArray("GET / HTTP/1.1\r\nA: b\r\n  c\r\n\r\n") << 400;
    QTest::newRow("control character") << QByteArray("GET / HTTP/1.1\r\nA: b\x01" "c\r\n\r\n") << 400;
    QTest::newRow("chunked body") << QByteArray("POST / HTTP/1.1\r\nTransfer-Encoding: chunked\r\n\r\n") << 501;
    QTest::newRow("length not a number") << QByteArray("POST / HTTP/1.1\r\nContent-Length: 1x\r\n\r\n") << 400;
    QTest::newRow("negative length") << QByteArray("POST / HTTP/1.1\r\nContent-Length: -1\r\n\r\n") << 400;
    QTest::newRow("body too large") << QByteArray("POST / HTTP/1.1\r\nContent-Length: 70000\r\n\r\n") << 413;
    QTest::newRow("two lengths") << QByteArray("POST / HTTP/1.1\r\nContent-Length: 1\r\nContent-Length: 2\r\n\r\nab") << 400;
    QTest::newRow("length, then none") << QByteArray("POST / HTTP/1.1\r\nContent-Length: 1\r\nContent-Length:\r\n\r\na") << 400;
}

void TestHttpParser::rejectsMalformedRequests()
{
    QFETCH(QByteArray, input);
    QFETCH(int, status);
    const ParseResult result = parseRequest(input);
    QCOMPARE(result.status, ParseResult::BadRequest);
    QCOMPARE(result.errorStatus, status);
    QVERIFY(!result.diagnostic.isEmpty());
}

// A peer that sends a bad first line is answered at once, not when it has
// finished a head that may never end.
void TestHttpParser::rejectsABadRequestLineBeforeTheHeadEnds()
{
    QCOMPARE(parseRequest("GET  / HTTP/1.1\r\nHost: x\r\n").status, ParseResult::BadRequest);
    QCOMPARE(parseRequest("PUT / HTTP/1.1\r\n").errorStatus, 405);
    QCOMPARE(parseRequest("GET / HTTP/1.1\r\nbroken\r\nHost").status, ParseResult::BadRequest);
}

void TestHttpParser::targetsHostsAndEarlyRefusals_data()
{
    QTest::addColumn<QByteArray>("input");
    // "400", "incomplete", or the target the request was read with.
    QTest::addColumn<QString>("outcome");

    const QByteArray host = "Host: a\r\n\r\n";
    QTest::newRow("path") << "GET /list?x HTTP/1.1\r\n" + host << "/list?x";
    QTest::newRow("absolute URI") << "GET http://10.77.0.1:9000/video/a?t=1 HTTP/1.1\r\n" + host << "/video/a?t=1";
    QTest::newRow("https, scheme in capitals") << "GET HTTPS://pc/list HTTP/1.1\r\n" + host << "/list";
    QTest::newRow("absolute URI without a path") << "GET http://pc HTTP/1.1\r\n" + host << "/";
    QTest::newRow("absolute URI with a query only") << "GET http://pc?x=1 HTTP/1.1\r\n" + host << "/?x=1";
    QTest::newRow("another scheme") << "GET ftp://pc/list HTTP/1.1\r\n" + host << "400";
    QTest::newRow("no host in the URI") << "GET http:///list HTTP/1.1\r\n" + host << "400";
    QTest::newRow("asterisk") << "GET * HTTP/1.1\r\n" + host << "400";
    QTest::newRow("NUL in the path") << "GET /post/a%00/../../x HTTP/1.1\r\n" + host << "400";
    QTest::newRow("control byte in the path") << "GET /post/a%1F HTTP/1.1\r\n" + host << "400";
    QTest::newRow("DEL in the path") << "GET /post/a%7f HTTP/1.1\r\n" + host << "400";
    QTest::newRow("NUL in the query") << "GET /list?a=%00 HTTP/1.1\r\n" + host << "/list?a=%00";
    QTest::newRow("encoded percent") << "GET /post/a%2500 HTTP/1.1\r\n" + host << "/post/a%2500";
    QTest::newRow("HTTP/1.1 without Host") << QByteArray("GET /list HTTP/1.1\r\n\r\n") << "400";
    QTest::newRow("HTTP/1.0 without Host") << QByteArray("GET /list HTTP/1.0\r\n\r\n") << "/list";
    QTest::newRow("two Hosts") << QByteArray("GET /list HTTP/1.1\r\nHost: a\r\nHOST: a\r\n\r\n") << "400";
    QTest::newRow("two Hosts in HTTP/1.0") << QByteArray("GET /list HTTP/1.0\r\nHost: a\r\nHost: b\r\n\r\n") << "400";
    QTest::newRow("empty Host") << QByteArray("GET /list HTTP/1.1\r\nHost:\r\n\r\n") << "/list";
    QTest::newRow("Host with a blank") << QByteArray("GET /list HTTP/1.1\r\nHost: a b\r\n\r\n") << "400";
    QTest::newRow("Host with a slash") << QByteArray("GET /list HTTP/1.1\r\nHost: a/b\r\n\r\n") << "400";
    QTest::newRow("IPv6 Host") << QByteArray("GET /list HTTP/1.1\r\nHost: [fe80::1]:9000\r\n\r\n") << "/list";
    // Known to be no request before any line ends.
    QTest::newRow("lone CR") << QByteArray("\r") << "400";
    QTest::newRow("TLS hello") << QByteArray("\x16\x03\x01", 3) << "400";
    QTest::newRow("bare CR in the request line") << QByteArray("GET /\rlist") << "400";
    QTest::newRow("bare CR in a header") << QByteArray("GET / HTTP/1.1\r\nHost: a\rb") << "400";
    QTest::newRow("CR that may end its line") << QByteArray("GET / HTTP/1.1\r\nHost: a\r") << "incomplete";
    QTest::newRow("method so far") << QByteArray("GE") << "incomplete";
    QTest::newRow("not a method") << QByteArray("G{T") << "400";
}

void TestHttpParser::targetsHostsAndEarlyRefusals()
{
    QFETCH(QByteArray, input);
    QFETCH(QString, outcome);
    const ParseResult result = parseRequest(input);
    if (outcome == "400") {
        QCOMPARE(result.status, ParseResult::BadRequest);
        QCOMPARE(result.errorStatus, 400);
    } else if (outcome == "incomplete") {
        QCOMPARE(result.status, ParseResult::Incomplete);
    } else {
        QCOMPARE(result.status, ParseResult::Complete);
        QCOMPARE(result.request.target, outcome);
    }
}

void TestHttpParser::limitsTheHead()
{
    // HTTP/1.0, which needs no Host: every header here is one of the test's.
    const QByteArray line = "GET /list HTTP/1.0\r\n";
    // A head of exactly the limit is read.
    QByteArray head = line + "X-Fill: ";
    head += QByteArray(kMaxHeadBytes - head.size() - 4, 'a') + "\r\n\r\n";
    QCOMPARE(head.size(), kMaxHeadBytes);
    QCOMPARE(parseRequest(head).status, ParseResult::Complete);

    // One byte more is refused, whether or not its end has come.
    QByteArray over = line + "X-Fill: " + QByteArray(kMaxHeadBytes - line.size() - 11, 'a') + "\r\n\r\n";
    QCOMPARE(over.size(), kMaxHeadBytes + 1);
    QCOMPARE(parseRequest(over).errorStatus, 431);
    QCOMPARE(parseRequest(line + QByteArray(kMaxHeadBytes, 'a')).errorStatus, 431);
    QCOMPARE(parseRequest("GET /" + QByteArray(kMaxHeadBytes, 'a')).errorStatus, 431);
    QCOMPARE(parseRequest(QByteArray(kMaxHeadBytes - 1, 'a')).status, ParseResult::Incomplete);

    QByteArray many = line;
    for (int i = 0; i < kMaxHeaderCount; ++i)
        many += "X-" + QByteArray::number(i) + ": v\r\n";
    QCOMPARE(parseRequest(many + "\r\n").status, ParseResult::Complete);
    QCOMPARE(parseRequest(many + "X-One-Too-Many: v\r\n\r\n").errorStatus, 431);
}

void TestHttpParser::takesABodyByContentLength()
{
    const QByteArray post = "POST /list HTTP/1.1\r\nHost: x\r\nContent-Length: 5\r\n\r\n";
    const ParseResult partial = parseRequest(post + "hel");
    QCOMPARE(partial.status, ParseResult::Incomplete);
    // Its size is known once the head is in: nothing is to be looked at
    // again before that many bytes are.
    QCOMPARE(partial.bytesExpected, post.size() + 5);
    QCOMPARE(parseRequest(post.left(post.size() - 1)).bytesExpected, 0);
    const ParseResult result = parseRequest(post + "helloGET /next HTTP/1.1\r\n\r\n");
    QCOMPARE(result.status, ParseResult::Complete);
    QCOMPARE(result.request.method, QString("POST"));
    QCOMPARE(result.request.body, QByteArray("hello"));
    QCOMPARE(result.bytesUsed, post.size() + 5);

    // The same length twice says one thing.
    const ParseResult twice = parseRequest("POST /list HTTP/1.1\r\nHost: x\r\nContent-Length: 2\r\ncontent-length: 2\r\n\r\nabc");
    QCOMPARE(twice.status, ParseResult::Complete);
    QCOMPARE(twice.request.body, QByteArray("ab"));

    // Without a length a POST has no body and is complete at its head's end.
    const ParseResult bare = parseRequest("POST /list HTTP/1.1\r\nHost: x\r\n\r\nstray");
    QCOMPARE(bare.status, ParseResult::Complete);
    QVERIFY(bare.request.body.isEmpty());
}

void TestHttpParser::replyHeadsByteForByte()
{
    QCOMPARE(contentReplyHead(kJsonContentType, 14),
             QByteArray("HTTP/1.1 200 OK\r\nContent-Type: application/json;charset=UTF-8\r\nContent-Length: 14\r\n"
                        "Access-Control-Allow-Origin: *\r\nConnection: close\r\n\r\n"));
    QCOMPARE(contentReplyHead(kTextContentType, 5),
             QByteArray("HTTP/1.1 200 OK\r\nContent-Type: text;charset=UTF-8\r\nContent-Length: 5\r\n"
                        "Access-Control-Allow-Origin: *\r\nConnection: close\r\n\r\n"));
    QCOMPARE(imageReplyHead(imageContentType("/s/1700000000001.png"), 20000),
             QByteArray("HTTP/1.1 200 OK\r\nContent-Type: image/png\r\nContent-Length: 20000\r\n"
                        "Access-Control-Allow-Origin: *\r\nConnection: close\r\n\r\n"));
    QCOMPARE(imageContentType("/s/cover.JPG"), QByteArray("image/jpeg"));
    QCOMPARE(rangeReplyHead(0, 999, 1000),
             QByteArray("HTTP/1.1 206 Partial Content\r\nConnection: close\r\nContent-Transfer-Encoding: binary\r\n"
                        "Content-Type: application/octet-stream\r\nContent-Length: 1000\r\n"
                        "Content-Range: bytes 0-999/1000\r\n\r\n"));
    QCOMPARE(rangeReplyHead(100, 199, 5000000000LL),
             QByteArray("HTTP/1.1 206 Partial Content\r\nConnection: close\r\nContent-Transfer-Encoding: binary\r\n"
                        "Content-Type: application/octet-stream\r\nContent-Length: 100\r\n"
                        "Content-Range: bytes 100-199/5000000000\r\n\r\n"));
    QCOMPARE(errorReply(404), QByteArray("HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\nConnection: close\r\n\r\n"));
    QCOMPARE(errorReply(405), QByteArray("HTTP/1.1 405 Method Not Allowed\r\nAllow: GET, HEAD, POST\r\n"
                                         "Content-Length: 0\r\nConnection: close\r\n\r\n"));
    QCOMPARE(errorReply(431), QByteArray("HTTP/1.1 431 Request Header Fields Too Large\r\nContent-Length: 0\r\n"
                                         "Connection: close\r\n\r\n"));
    QCOMPARE(rangeNotSatisfiableReply(1000),
             QByteArray("HTTP/1.1 416 Range Not Satisfiable\r\nContent-Range: bytes */1000\r\n"
                        "Content-Length: 0\r\nConnection: close\r\n\r\n"));
}

void TestHttpParser::byteRanges_data()
{
    QTest::addColumn<QString>("header");
    QTest::addColumn<qint64>("size");
    // What is sent: "206 a-b[,c-d...]" (the parts, in the order sent), "200"
    // for the whole file, "416".
    QTest::addColumn<QString>("answer");

    const qint64 max = std::numeric_limits<qint64>::max();
    QTest::newRow("no header") << QString() << 1000LL << "206 0-999";
    QTest::newRow("first byte") << "bytes=0-0" << 1000LL << "206 0-0";
    QTest::newRow("end equals start") << "bytes=10-10" << 1000LL << "206 10-10";
    QTest::newRow("closed") << "bytes=100-199" << 1000LL << "206 100-199";
    QTest::newRow("open-ended") << "bytes=100-" << 1000LL << "206 100-999";
    QTest::newRow("last byte") << "bytes=999-" << 1000LL << "206 999-999";
    QTest::newRow("end clamped") << "bytes=900-5000" << 1000LL << "206 900-999";
    QTest::newRow("end at the largest position") << QStringLiteral("bytes=0-%1").arg(max) << 1000LL << "206 0-999";
    QTest::newRow("start at the largest position") << QStringLiteral("bytes=%1-").arg(max) << 1000LL << "416";
    QTest::newRow("end past 64 bits") << "bytes=0-9223372036854775808" << 1000LL << "416";
    QTest::newRow("start past 64 bits") << "bytes=99999999999999999999-" << 1000LL << "416";
    QTest::newRow("suffix past 64 bits") << "bytes=-18446744073709551617" << 1000LL << "416";
    QTest::newRow("suffix") << "bytes=-500" << 1000LL << "206 500-999";
    QTest::newRow("suffix longer than file") << "bytes=-5000" << 1000LL << "206 0-999";
    QTest::newRow("suffix of the largest length") << QStringLiteral("bytes=-%1").arg(max) << 1000LL << "206 0-999";
    QTest::newRow("two ranges") << "bytes=0-1,5-6" << 1000LL << "206 0-1,5-6";
    QTest::newRow("kept in the order asked") << "bytes=500-599, 0-9 ,-10" << 1000LL << "206 500-599,0-9,990-999";
    QTest::newRow("touching ranges do not overlap") << "bytes=0-9,10-19" << 1000LL << "206 0-9,10-19";
    QTest::newRow("overlapping: the whole file") << "bytes=0-9,5-14" << 1000LL << "200";
    QTest::newRow("overlap once clamped") << "bytes=990-2000,-5" << 1000LL << "200";
    QTest::newRow("one unsatisfiable of two") << "bytes=99999999-,0-9" << 1000LL << "206 0-9";
    QTest::newRow("unsatisfiable ones left out") << "bytes=5000-,0-9,3000-4000,20-29" << 1000LL << "206 0-9,20-29";
    QTest::newRow("end before start, left out") << "bytes=5-3,7-8" << 1000LL << "206 7-8";
    QTest::newRow("empty list elements") << "bytes=,0-1,,2-3," << 1000LL << "206 0-1,2-3";
    const QString sixteen = "bytes=" + QString::fromLatin1(httpedges::manyRanges(16));
    QTest::newRow("sixteen ranges") << sixteen << 1000LL
                                    << "206 0-0,2-2,4-4,6-6,8-8,10-10,12-12,14-14,16-16,18-18,20-20,22-22,24-24,26-26,28-28,30-30";
    QTest::newRow("seventeen: the whole file") << sixteen + ",32-32" << 1000LL << "200";
    QTest::newRow("unit in capitals") << "BYTES=2-3" << 1000LL << "206 2-3";
    QTest::newRow("blanks") << " bytes= 4 - 5 " << 1000LL << "206 4-5";
    QTest::newRow("other unit is ignored") << "items=0-5" << 1000LL << "206 0-999";
    QTest::newRow("no unit is ignored") << "100-200" << 1000LL << "206 0-999";
    QTest::newRow("large file") << "bytes=4294967296-" << 5000000000LL << "206 4294967296-4999999999";
    QTest::newRow("start at end") << "bytes=1000-" << 1000LL << "416";
    QTest::newRow("start past end") << "bytes=1000-2000" << 1000LL << "416";
    QTest::newRow("none satisfiable") << "bytes=1000-,2000-2999,-0" << 1000LL << "416";
    QTest::newRow("empty suffix") << "bytes=-0" << 1000LL << "416";
    QTest::newRow("end before start") << "bytes=5-3" << 1000LL << "416";
    QTest::newRow("not a number") << "bytes=abc" << 1000LL << "416";
    QTest::newRow("one of several not a number") << "bytes=0-1,x-2" << 1000LL << "416";
    QTest::newRow("no dash") << "bytes=100" << 1000LL << "416";
    QTest::newRow("nothing asked") << "bytes=" << 1000LL << "416";
    QTest::newRow("signs") << "bytes=+1-+2" << 1000LL << "416";
    QTest::newRow("empty file: sent whole") << "bytes=0-" << 0LL << "200";
    QTest::newRow("empty file, not a range") << "bytes=x" << 0LL << "416";
}

void TestHttpParser::byteRanges()
{
    QFETCH(QString, header);
    QFETCH(qint64, size);
    QFETCH(QString, answer);

    const ByteRange range = header.isNull() ? ByteRange::whole() : ByteRange::fromHeader(header);
    const ByteRange::Answer got = range.answerFor(size);
    QString text;
    switch (got.kind) {
    case ByteRange::Answer::WholeAsRange:
    case ByteRange::Answer::Parts: {
        QStringList parts;
        for (const ByteRange::Span &part : got.parts)
            parts << QStringLiteral("%1-%2").arg(part.first).arg(part.last);
        text = "206 " + parts.join(',');
        break;
    }
    case ByteRange::Answer::WholeFile:
        text = "200";
        break;
    case ByteRange::Answer::NotSatisfiable:
        text = "416";
        break;
    }
    QCOMPARE(text, answer);
}

// If-Range, with the validators nginx writes for the same file: a range is
// answered only of the version of the file the client names.
void TestHttpParser::ifRangeNamesTheVersionOfTheFile()
{
    // 2026-12-10 01:25:47 UTC, 1,000 bytes: as nginx writes it.
    const FileValidators validators = FileValidators::of(1796865947, 1000);
    QCOMPARE(validators.etag, QByteArray("\"6b19ff9b-3e8\""));
    QCOMPARE(validators.lastModified, QByteArray("Thu, 10 Dec 2026 01:25:47 GMT"));
    QCOMPARE(validators.headerLines(),
             QByteArray("ETag: \"6b19ff9b-3e8\"\r\nLast-Modified: Thu, 10 Dec 2026 01:25:47 GMT\r\n"));

    QVERIFY(validators.ifRangeHolds("\"6b19ff9b-3e8\""));
    QVERIFY(validators.ifRangeHolds(" Thu, 10 Dec 2026 01:25:47 GMT "));
    QVERIFY(!validators.ifRangeHolds("\"x\""));
    // A weak tag never stands for a range, even of the same file.
    QVERIFY(!validators.ifRangeHolds("W/\"6b19ff9b-3e8\""));
    QVERIFY(!validators.ifRangeHolds("\"6b19ff9b-3e9\""));
    QVERIFY(!validators.ifRangeHolds("Thu, 10 Dec 2026 01:25:48 GMT"));
    QVERIFY(!validators.ifRangeHolds("Thursday, 10-Dec-26 01:25:47 GMT"));

    const ByteRange range = ByteRange::fromHeader("bytes=0-9").withIfRange("\"x\"");
    QCOMPARE(range.answerFor(1000, false).kind, ByteRange::Answer::WholeFile);
    QCOMPARE(range.answerFor(1000, true).kind, ByteRange::Answer::Parts);
    // Even a range that could not be answered is not looked at: the file changed.
    QCOMPARE(ByteRange::fromHeader("bytes=5000-").withIfRange("\"x\"").answerFor(1000, false).kind,
             ByteRange::Answer::WholeFile);
    // Without a Range, If-Range says nothing.
    QCOMPARE(ByteRange::whole().withIfRange("\"x\"").answerFor(1000, false).kind, ByteRange::Answer::WholeAsRange);
    // Without an If-Range, nothing is to hold.
    QCOMPARE(ByteRange::fromHeader("bytes=0-9").answerFor(1000, false).kind, ByteRange::Answer::Parts);
}

void TestHttpParser::headsetRequests_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("range");
    QTest::addColumn<HeadsetRequest::Kind>("kind");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("rangeText");

    QTest::newRow("listing") << "/list" << QString() << HeadsetRequest::Listing << "" << "whole";
    QTest::newRow("listing, whatever follows") << "/list/more/parts?refresh=1" << QString() << HeadsetRequest::Listing
                                               << "more/parts" << "whole";
    QTest::newRow("poster") << "/post/1700000000001" << QString() << HeadsetRequest::Poster << "1700000000001" << "whole";
    QTest::newRow("poster, empty name") << "/post/" << QString() << HeadsetRequest::Poster << "" << "whole";
    QTest::newRow("video with query") << "/video/1700000000001?t=5#x" << QString() << HeadsetRequest::Video
                                      << "1700000000001" << "whole";
    QTest::newRow("percent-decoded") << "/video/a%20b%C3%A9" << QString() << HeadsetRequest::Video
                                     << QString::fromUtf8("a b\xc3\xa9") << "whole";
    QTest::newRow("every decoded byte kept") << "/post/a%00b" << QString() << HeadsetRequest::Poster
                                             << QString::fromLatin1("a\0b", 3) << "whole";
    QTest::newRow("encoded slashes stay in the name") << "/video/..%2F..%2Fetc%2Fpasswd" << QString()
                                                      << HeadsetRequest::Video << "../../etc/passwd" << "whole";
    QTest::newRow("video range") << "/video/x" << "bytes=100-" << HeadsetRequest::Video << "x" << "100-";
    QTest::newRow("suffix range") << "/video/x" << "bytes=-500" << HeadsetRequest::Video << "x" << "-500";
    QTest::newRow("range on a poster is not read") << "/post/x" << "bytes=1-2" << HeadsetRequest::Poster << "x"
                                                   << "whole";
    QTest::newRow("favicon") << "/favicon.ico" << QString() << HeadsetRequest::Unknown << "" << "whole";
    QTest::newRow("root") << "/" << QString() << HeadsetRequest::Unknown << "" << "whole";
    QTest::newRow("case matters") << "/LIST" << QString() << HeadsetRequest::Unknown << "" << "whole";
}

void TestHttpParser::headsetRequests()
{
    QFETCH(QString, target);
    QFETCH(QString, range);
    QFETCH(HeadsetRequest::Kind, kind);
    QFETCH(QString, name);
    QFETCH(QString, rangeText);

    Request request;
    request.method = "GET";
    request.target = target;
    if (!range.isNull())
        request.headers.insert("range", range);
    const HeadsetRequest wanted = HeadsetRequest::fromRequest(request);
    QCOMPARE(wanted.kind, kind);
    QCOMPARE(wanted.name, name);
    QCOMPARE(wanted.range.toString(), rangeText);
}

void TestHttpParser::logLinesEscapeWhatThePeerSent()
{
    Request request;
    request.method = "GET";
    request.target = QString("/video/a\x1b[31m\r\nInjected: line") + QString(400, 'x');
    request.headers.insert("range", "bytes=0-\n1");
    request.peerAddress = QHostAddress("10.77.0.2");
    const QString line = requestLogLine(request, "video 404");
    QVERIFY(line.startsWith("http 10.77.0.2 GET /video/a\\x1b[31m\\x0d\\x0aInjected: line"));
    QVERIFY(line.contains(" range=bytes=0-\\x0a1 -> video 404"));
    QVERIFY(line.size() < 300);
    for (const QChar c : line)
        QVERIFY(c.unicode() >= 0x20);
}

QTEST_GUILESS_MAIN(TestHttpParser)
#include "tst_httpparser.moc"
