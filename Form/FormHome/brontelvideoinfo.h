#pragma once

#include <QMetaType>
#include <QByteArray>
#include <QString>

class QJsonObject;

// One entry of the video library: the file the user added, the copy and the
// poster made for it in the shared video folder, and what was measured from
// the video. Passed by pointer from the import worker to the library, which
// owns it from then on; whoever receives it from a signal owns it.
class BrontelVideoInfo
{
public:
    QString videopath;       // base name X of the copy (no folder, no extension)
    QString videopathreal;   // the source file as the user chose or dropped it
    int index = 0;           // ordinal in the library
    QString video;           // source file name with extension; the tile caption
    int length = 0;          // duration in whole seconds
    int size = 0;            // source size in KiB
    QString posterpath;      // X again
    QString poster;          // X + ".png"
    QString posterpathreal;  // shared folder + "/" + poster
    QString videoreq;        // X + "." + source suffix (case kept)
    QString videopathnginx;  // shared folder + "/" + videoreq
    int width = 0;
    int high = 0;
};

Q_DECLARE_METATYPE(BrontelVideoInfo *)

// Makes the record pointer known to queued connections, which the worker's
// signals cross on their way to the GUI thread. Safe to call more than once.
void registerBrontelVideoInfoType();

// The item text of one record as "brontelvideo.dat" stores it and "list.json"
// joins it: every value a JSON string, "videopath" and "posterpath" carrying
// the "video/" and "post/" path segments under which the headset asks for the
// video and the poster. Key order and layout are fixed (no blanks); values are
// escaped so that no file name can break the listing. Empty for a null record.
QString getJsonStringFromVideoInfo(const BrontelVideoInfo *info);
// The "posterpath" and "videopath" values of that text.
QString videoInfoPosterName(const BrontelVideoInfo &info);
QString videoInfoVideoName(const BrontelVideoInfo &info);
// That text parsed and written by Qt in compact form (members sorted by name,
// the same escapes), in UTF-8: what the headset's listing holds of the
// record, made without a parse.
QByteArray compactJsonFromVideoInfo(const BrontelVideoInfo *info);
// Reads an item text laid out exactly as getJsonStringFromVideoInfo() writes
// it (any values) into the record, as parsing it and videoInfoFromJsonObject()
// would (the index left as it is); false for any other text, which is then
// for a JSON parser. The store holds thousands of these, and the headset
// waits for them at start-up: read through Qt's parser (twice, as it was),
// 10,000 entries took some 170 ms of the start-up here; read as written,
// with the store's pages made resident at once, under 50 ms
// (bench/headset_vs_nginx.sh, "store read").
bool videoInfoFromItemText(const QByteArray &text, BrontelVideoInfo *info);

// A new record from one parsed item object, or null for an empty object. Texts
// are read as strings, integers from their decimal text (0 otherwise), and the
// two path prefixes are cut by length. The index is the reader's to assign.
// The caller owns the record.
BrontelVideoInfo *videoInfoFromJsonObject(const QJsonObject &item, int index);
