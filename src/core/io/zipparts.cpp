#include "core/io/zipparts.h"

#include "core/base/error.h"
#include "core/io/iotexts.h"

#include <QFile>
#include <QFileInfo>

#include <zip.h>

#include <algorithm>
#include <utility>

namespace lir::io {

namespace t = iotexts;

ZipParts::ZipParts(const QString& path, const QString& kind, qint64 maxUnpacked)
    : m_path(path), m_kind(kind), m_maxUnpacked(maxUnpacked)
{
    if (!QFile::exists(path))
        throw Error(t::cannotRead(path, QStringLiteral("файла нет")));
    if (QFileInfo(path).size() == 0)
        throw Error(t::cannotRead(path, t::emptyFile()));
    int error = 0;
    m_zip = zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY | ZIP_CHECKCONS, &error);
    if (!m_zip)
        throw Error(t::cannotRead(path, t::notWorkbook(kind)));
    // The sizes the archive's directory declares, summed before anything is
    // unpacked: a small file may unpack to gigabytes. Reading checks them too.
    // A refusal here leaves no object whose destructor would close the archive.
    try {
        const zip_int64_t n = zip_get_num_entries(m_zip, 0);
        qint64 total = 0;
        for (zip_int64_t i = 0; i < n; ++i) {
            zip_stat_t st;
            zip_stat_init(&st);
            if (zip_stat_index(m_zip, zip_uint64_t(i), 0, &st) != 0)
                fail(t::damagedArchive(QString::fromUtf8(zip_strerror(m_zip))));
            if (st.valid & ZIP_STAT_SIZE)
                total += qint64(std::min<zip_uint64_t>(st.size, zip_uint64_t(1) << 50));
        }
        if (total > m_maxUnpacked)
            fail(t::tooLargeUnpacked(total, m_maxUnpacked));
    } catch (...) {
        zip_discard(std::exchange(m_zip, nullptr));
        throw;
    }
}

ZipParts::~ZipParts()
{
    if (m_zip)
        zip_discard(m_zip);
}

void ZipParts::fail(const QString& reason) const
{
    throw Error(t::cannotRead(m_path, reason));
}

bool ZipParts::has(const QString& part) const
{
    return zip_name_locate(m_zip, part.toUtf8().constData(), 0) >= 0;
}

QByteArray ZipParts::readAll(const QString& part)
{
    zip_file_t* f = zip_fopen(m_zip, part.toUtf8().constData(), 0);
    if (!f)
        fail(t::partMissing(m_kind, part));
    QByteArray out;
    char buffer[16384];
    for (;;) {
        const zip_int64_t got = zip_fread(f, buffer, sizeof buffer);
        if (got < 0) {
            const QString why = QString::fromUtf8(zip_error_strerror(zip_file_get_error(f)));
            zip_fclose(f);
            fail(t::damagedArchive(why));
        }
        if (got == 0)
            break;
        out.append(buffer, qsizetype(got));
        if (out.size() > m_maxUnpacked) {
            zip_fclose(f);
            fail(t::tooLargeUnpacked(out.size(), m_maxUnpacked));
        }
    }
    zip_fclose(f);
    return out;
}

XmlPart::XmlPart(ZipParts& archive, const QString& part) : m_archive(archive), m_part(part)
{
    m_file = zip_fopen(archive.m_zip, part.toUtf8().constData(), 0);
    if (!m_file)
        archive.fail(t::partMissing(archive.kind(), part));
}

XmlPart::~XmlPart()
{
    if (m_file)
        zip_fclose(m_file);
}

bool XmlPart::feed()
{
    if (m_end)
        return false;
    char buffer[65536];
    const zip_int64_t got = zip_fread(m_file, buffer, sizeof buffer);
    if (got < 0)
        m_archive.fail(t::damagedArchive(QString::fromUtf8(zip_error_strerror(zip_file_get_error(m_file)))));
    if (got == 0) {
        m_end = true;
        return false;
    }
    m_read += got;
    if (m_read > m_archive.m_maxUnpacked)
        m_archive.fail(t::tooLargeUnpacked(m_read, m_archive.m_maxUnpacked));
    m_xml.addData(QByteArray(buffer, qsizetype(got)));
    return true;
}

QXmlStreamReader::TokenType XmlPart::next()
{
    for (;;) {
        const QXmlStreamReader::TokenType token = m_xml.readNext();
        if (m_xml.error() == QXmlStreamReader::PrematureEndOfDocumentError) {
            if (feed())
                continue;
            if (m_read == 0)
                m_archive.fail(t::badXml(m_part, 0, QStringLiteral("часть пуста")));
        }
        if (m_xml.hasError())
            m_archive.fail(t::badXml(m_part, m_xml.lineNumber(), m_xml.errorString()));
        return token;
    }
}

QString XmlPart::text()
{
    QString s;
    int depth = 1;
    while (depth > 0) {
        switch (next()) {
        case QXmlStreamReader::StartElement:
            ++depth;
            break;
        case QXmlStreamReader::EndElement:
            --depth;
            break;
        case QXmlStreamReader::Characters:
            s += m_xml.text();
            break;
        case QXmlStreamReader::EndDocument:
            return s;
        default:
            break;
        }
    }
    return s;
}

void XmlPart::skip()
{
    int depth = 1;
    while (depth > 0) {
        const auto token = next();
        if (token == QXmlStreamReader::StartElement)
            ++depth;
        else if (token == QXmlStreamReader::EndElement)
            --depth;
        else if (token == QXmlStreamReader::EndDocument)
            return;
    }
}

} // namespace lir::io
