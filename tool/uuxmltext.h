#pragma once

#include <QByteArray>

class QDomDocument;

// The bytes of the toolkit's XML configuration as it is written to disk.
//
// The layout is the one QDomDocument::save produces (indent spaces per level,
// a line per element, text kept inline), except that the attributes of every
// element are written in name order: Qt keeps them in a hash whose order
// changes from run to run, and a file that reorders itself on every save is
// hard to compare and to keep under version control. Name order also puts a
// value's "id" before its "value".
namespace uuxml {

enum class Declaration {
    // The document's own nodes as they are, XML declaration included, encoded
    // in the encoding that declaration names (UTF-8 when it names none).
    FromDocument,
    // A fresh UTF-8 declaration in place of the document's own one.
    Utf8,
};

QByteArray documentBytes(const QDomDocument &document, int indent, Declaration declaration);

} // namespace uuxml
