#pragma once

#include <QByteArray>
#include <QString>
#include <QXmlStreamReader>

#include <memory>

struct zip;
struct zip_file;

// The parts of a workbook (a ZIP archive), read with libzip, and an XML
// reader that streams one part: a sheet of a hundred thousand rows is never
// unpacked into memory whole.
namespace lir::io {

class ZipParts
{
public:
    // Opens the archive; `kind` names the format in messages (".xlsx").
    // Refused, before anything is unpacked, when the parts together would
    // unpack to more than maxUnpacked bytes.
    ZipParts(const QString& path, const QString& kind, qint64 maxUnpacked);
    ~ZipParts();
    ZipParts(const ZipParts&) = delete;
    ZipParts& operator=(const ZipParts&) = delete;

    bool has(const QString& part) const;
    // A small part whole (the mimetype, the relationships).
    QByteArray readAll(const QString& part);

    const QString& path() const { return m_path; }
    const QString& kind() const { return m_kind; }
    [[noreturn]] void fail(const QString& reason) const;

private:
    friend class XmlPart;
    zip* m_zip = nullptr;
    QString m_path;
    QString m_kind;
    qint64 m_maxUnpacked = 0;
};

// One XML part of the archive, read as it is unpacked.
class XmlPart
{
public:
    XmlPart(ZipParts& archive, const QString& part);
    ~XmlPart();
    XmlPart(const XmlPart&) = delete;
    XmlPart& operator=(const XmlPart&) = delete;

    // The next token; a damaged part throws, naming the part.
    QXmlStreamReader::TokenType next();
    QXmlStreamReader& xml() { return m_xml; }
    // The text of the current element up to its end (nested elements'
    // text included), leaving the reader on its end element.
    QString text();
    // Skips to the end of the current element.
    void skip();

private:
    bool feed();
    ZipParts& m_archive;
    QString m_part;
    zip_file* m_file = nullptr;
    QXmlStreamReader m_xml;
    qint64 m_read = 0;
    bool m_end = false;
};

} // namespace lir::io
