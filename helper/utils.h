#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// Free helpers shared by the whole program: folder clearing, and the text
// helpers that online requests are built and read with.

// Deletes everything inside the folder, hidden entries included, and with
// removeFolders also its subfolders and the folder itself. A symbolic link
// is removed as a link; what it points to is never touched, and a folder
// given as a link is not cleared. Folders above the given one are never
// removed. Entries that cannot be removed are left.
void clearDirectory(const QString &path, bool removeFolders);

// Base64 with the standard alphabet and "=" padding, no line breaks.
QByteArray base64Encode(const unsigned char *bytes, int length);
// Decodes base64 text; line breaks are skipped. Text that is not base64
// gives an empty result.
QByteArray base64Decode(const char *text, int length);

// Every UTF-8 byte but A-Z a-z 0-9 - . _ ~ as "%" and two upper-case hex
// digits ("a b&c" gives "a%20b%26c").
QString percentEncode(const QString &text);
// The same with a blank as "+" ("a b&c" gives "a+b%26c").
QString formEncode(const QString &text);

// The signature of a request's key=value parameters: sorted by key, the
// ones with a value joined as key=formEncode(value) with "&", and hashed
// with MD5; 32 lower-case hex digits.
QString makeQuerySign(const QStringList &parameters);

// Cuts the first balanced block from open to close (a JSON object, say) out
// of the data after the first occurrence of the marker (or of the whole data
// when the marker does not occur). Brackets inside JSON strings do not count.
// An unclosed block runs to the end; an empty marker gives an empty text.
QString extractBracketed(const QByteArray &data, const QByteArray &marker, char open, char close);

// The named folder in the user's local application-data folder, made when
// missing; empty when the system gives no such folder.
QString getLocalAppDataDir(const QString &name);

// count characters drawn from 0-9, A-Z and a-z.
QString randomString(int count);
