#include "core/db/paradox.h"

#include "core/base/codec.h"
#include "core/base/error.h"
#include "core/db/storagetexts.h"

#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QSet>
#include <QStringList>

// pxlib's header declares C functions without saying so.
extern "C" {
#include <paradox.h>
}

#include <dlfcn.h>

#include <cstring>
#include <optional>
#include <type_traits>

namespace lir::db::paradox {

namespace {

// pxlib is loaded the first time a Paradox table is read, not with the
// program: only a folder of the old program's tables needs it, and its
// dependencies would lengthen every start.
#define LIR_PX_FUNCTIONS(X)                                                                                     \
    X(PX_new3) X(PX_close) X(PX_delete) X(PX_open_file) X(PX_get_field) X(PX_get_data_short) X(PX_get_data_long)    \
    X(PX_get_data_double) X(PX_get_data_bcd) X(PX_get_data_byte) X(PX_date2string) X(PX_time2string)               \
    X(PX_timestamp2string) X(PX_get_record)

struct PxLib
{
#define LIR_PX(f) decltype(&::f) f = nullptr;
    LIR_PX_FUNCTIONS(LIR_PX)
#undef LIR_PX
};

const PxLib& px()
{
    static PxLib lib;
    static bool loaded = false;
    if (loaded)
        return lib;
    void* handle = dlopen("libpx.so.0", RTLD_NOW | RTLD_LOCAL);
    if (!handle)
        throw Error(texts::paradoxLibraryMissing(QString::fromLocal8Bit(dlerror())));
    const auto bind = [handle](auto& f, const char* name) {
        f = reinterpret_cast<std::remove_reference_t<decltype(f)>>(dlsym(handle, name));
        if (!f)
            throw Error(texts::paradoxLibraryMissing(QString::fromLatin1(name)));
    };
#define LIR_PX(f) bind(lib.f, #f);
    LIR_PX_FUNCTIONS(LIR_PX)
#undef LIR_PX
    loaded = true;
    return lib;
}

} // namespace

namespace {

// The fixed part of the file header, as far as it is checked here before
// pxlib is given the file.
constexpr int HeaderBytes = 0x58;
constexpr int DataHeaderBytes = 0x20; // after the fixed part, from Paradox 4 on
constexpr int DataBlockHeader = 6;    // next block, previous block, offset of the last record

struct Header
{
    int recordSize = 0;
    int headerSize = 0;
    int fileType = 0;
    int blockKilobytes = 0;
    qint64 numRecords = 0;
    int fileBlocks = 0;
    int firstBlock = 0;
    int numFields = 0;
    bool encrypted = false;
    int versionId = 0;
};

unsigned u8(const QByteArray& b, int at)
{
    return uchar(b[at]);
}
unsigned u16(const QByteArray& b, int at)
{
    return u8(b, at) | (u8(b, at + 1) << 8);
}
quint32 u32(const QByteArray& b, int at)
{
    return quint32(u16(b, at)) | (quint32(u16(b, at + 2)) << 16);
}

bool parseHeader(const QByteArray& b, Header* h)
{
    if (b.size() < HeaderBytes || b.startsWith(QByteArrayLiteral("SQLite format 3")))
        return false;
    h->recordSize = int(u16(b, 0x00));
    h->headerSize = int(u16(b, 0x02));
    h->fileType = int(u8(b, 0x04));
    h->blockKilobytes = int(u8(b, 0x05));
    h->numRecords = qint64(u32(b, 0x06));
    h->fileBlocks = int(u16(b, 0x0C));
    h->firstBlock = int(u16(b, 0x0E));
    h->numFields = int(u16(b, 0x21));
    h->versionId = int(u8(b, 0x39));
    // From Paradox 4 on, the key may be in the data header that follows, and
    // the old place holds a filler; read as pxlib reads it.
    quint32 key = u32(b, 0x25);
    if (key == 0xFF00FF00u)
        key = h->versionId >= 5 && b.size() >= HeaderBytes + 8 ? u32(b, 0x5C) : 0;
    h->encrypted = key != 0;
    // Data tables only (indexed or not): an index file is no table.
    const bool dataFile = h->fileType == 0 || h->fileType == 2;
    const bool blockSize = QSet<int>{1, 2, 3, 4, 8, 16, 32}.contains(h->blockKilobytes);
    return dataFile && blockSize && h->versionId >= 3 && h->versionId <= 12 && h->recordSize > 0 &&
           h->numFields > 0 && h->numFields <= 255 && h->headerSize >= HeaderBytes;
}

// Walks the chain of data blocks from the first one: each block of the file at
// most once, every block whole enough for the records it claims, and as many
// records in them as the header counts.
void checkBlockChain(const QString& file, const Header& h, QFile& f)
{
    const qint64 fileSize = f.size();
    const qint64 blockSize = qint64(h.blockKilobytes) * 1024;
    const qint64 perBlock = (blockSize - DataBlockHeader) / h.recordSize;
    QSet<int> seen;
    qint64 counted = 0;
    for (int block = h.firstBlock; block != 0;) {
        if (block > h.fileBlocks || seen.contains(block))
            throw Error(texts::paradoxDamaged(file, texts::paradoxBadBlock(block)));
        seen.insert(block);
        const qint64 position = h.headerSize + qint64(block - 1) * blockSize;
        if (position + DataBlockHeader > fileSize)
            throw Error(texts::paradoxTruncated(file, fileSize, position + DataBlockHeader));
        const QByteArray head = f.seek(position) ? f.read(DataBlockHeader) : QByteArray();
        if (head.size() != DataBlockHeader)
            throw Error(texts::paradoxTruncated(file, fileSize, position + DataBlockHeader));
        const int lastOffset = qint16(u16(head, 4));
        // The offset of the block's last record; one record less than none for an empty block.
        if (lastOffset % h.recordSize != 0 || lastOffset < -h.recordSize)
            throw Error(texts::paradoxDamaged(file, texts::paradoxBadBlockSize(block)));
        const qint64 records = lastOffset / h.recordSize + 1;
        if (records > perBlock)
            throw Error(texts::paradoxDamaged(file, texts::paradoxBadBlockSize(block)));
        const qint64 used = position + DataBlockHeader + records * h.recordSize;
        if (used > fileSize)
            throw Error(texts::paradoxTruncated(file, fileSize, used));
        counted += records;
        block = int(u16(head, 0));
    }
    if (counted != h.numRecords)
        throw Error(texts::paradoxDamaged(file, texts::paradoxRecordCount(counted, h.numRecords)));
}

// One document of pxlib, closed and freed on every way out. Its messages are
// collected, so that a failure can say what pxlib found.
class Document
{
public:
    Document() { m_doc = px().PX_new3(&Document::onError, nullptr, nullptr, nullptr, this); }
    ~Document()
    {
        if (m_doc) {
            if (m_open)
                px().PX_close(m_doc);
            px().PX_delete(m_doc);
        }
    }
    Document(const Document&) = delete;
    Document& operator=(const Document&) = delete;

    pxdoc_t* get() const { return m_doc; }
    bool open(const QString& path)
    {
        // PX_boot() is not called: it would set the process's locale from the environment.
        m_open = m_doc && px().PX_open_file(m_doc, QFile::encodeName(path).constData()) == 0;
        return m_open;
    }
    // What pxlib reported since the last call, or `fallback`.
    QString takeMessages(const QString& fallback)
    {
        const QString text = m_messages.isEmpty() ? fallback : m_messages.join(QStringLiteral("; "));
        m_messages.clear();
        return text;
    }

private:
    static void onError(pxdoc_t*, int, const char* message, void* data)
    {
        static_cast<Document*>(data)->m_messages << QString::fromLocal8Bit(message).trimmed();
    }

    pxdoc_t* m_doc = nullptr;
    bool m_open = false;
    QStringList m_messages;
};

struct FieldInfo
{
    Field field;
    int pxType = 0;
    int decimals = 0;
};

// The field types of the format: how long each is in the record (0: a text
// of 1 to 255 bytes) and what Paradox calls it. Those without a type of ours
// are not carried over.
struct TypeInfo
{
    int pxType;
    std::optional<FieldType> type;
    int length;
    const char* name;
};
constexpr TypeInfo Types[] = {
    {pxfAlpha, FieldType::Alpha, 0, "Alpha"},
    {pxfShort, FieldType::Short, 2, "Short"},
    {pxfLong, FieldType::Long, 4, "Long"},
    {pxfAutoInc, FieldType::AutoInc, 4, "AutoInc"},
    {pxfNumber, FieldType::Number, 8, "Number"},
    {pxfCurrency, FieldType::Currency, 8, "Money"},
    {pxfBCD, FieldType::Bcd, 17, "BCD"},
    {pxfLogical, FieldType::Logical, 1, "Logical"},
    {pxfDate, FieldType::Date, 4, "Date"},
    {pxfTime, FieldType::Time, 4, "Time"},
    {pxfTimestamp, FieldType::Timestamp, 8, "Timestamp"},
    {pxfMemoBLOb, std::nullopt, 0, "Memo"},
    {pxfFmtMemoBLOb, std::nullopt, 0, "Formatted Memo"},
    {pxfBLOb, std::nullopt, 0, "Binary"},
    {pxfOLE, std::nullopt, 0, "OLE"},
    {pxfGraphic, std::nullopt, 0, "Graphic"},
    {pxfBytes, std::nullopt, 0, "Bytes"},
};

const TypeInfo* typeInfo(int pxType)
{
    for (const TypeInfo& t : Types)
        if (t.pxType == pxType)
            return &t;
    return nullptr;
}

QVector<FieldInfo> readFields(const QString& file, pxdoc_t* doc, const Header& h)
{
    const pxhead_t* head = doc->px_head;
    if (!head || head->px_numfields != h.numFields || head->px_recordsize != h.recordSize)
        throw Error(texts::cannotReadParadox(file, texts::notParadoxTable(file)));
    QVector<FieldInfo> fields;
    QSet<QString> names;
    int total = 0;
    for (int i = 0; i < head->px_numfields; ++i) {
        const pxfield_t* f = px().PX_get_field(doc, i);
        if (!f)
            throw Error(texts::paradoxDamaged(file, texts::paradoxBadField(i + 1, 0, 0)));
        FieldInfo info;
        info.pxType = uchar(f->px_ftype);
        info.decimals = f->px_fdc;
        info.field.length = f->px_flen;
        info.field.name = f->px_fname ? fromWindows1251(QByteArray(f->px_fname)) : QString();
        const TypeInfo* type = typeInfo(info.pxType);
        const bool lengthOk =
            type && (type->length ? f->px_flen == type->length : f->px_flen >= 1 && f->px_flen <= 255);
        if (!lengthOk || info.field.name.trimmed().isEmpty())
            throw Error(texts::paradoxDamaged(file, texts::paradoxBadField(i + 1, info.pxType, f->px_flen)));
        if (!type->type)
            throw Error(
                texts::paradoxFieldNotCarried(info.field.name, file, QString::fromLatin1(type->name)));
        info.field.type = *type->type;
        const QString folded = info.field.name.toCaseFolded();
        if (names.contains(folded))
            throw Error(texts::paradoxDamaged(file, texts::paradoxDuplicateField(info.field.name)));
        names.insert(folded);
        total += f->px_flen;
        fields.push_back(info);
    }
    if (total != h.recordSize)
        throw Error(texts::paradoxDamaged(file, texts::paradoxRecordLayout(h.recordSize, total)));
    return fields;
}

// A text that pxlib made with its own allocator.
QString takeText(pxdoc_t* doc, char* text)
{
    if (!text)
        return {};
    const QString s = QString::fromLatin1(text);
    doc->free(doc, text);
    return s;
}

// One field of a record; nothing when pxlib cannot read it. An empty field
// has all its bytes zero, whatever pxlib would make of them (it reads an
// empty Long as -2147483648 and an empty Number as 0).
std::optional<QVariant> fieldValue(pxdoc_t* doc, const FieldInfo& info, char* data)
{
    const int len = info.field.length;
    bool empty = true;
    for (int i = 0; i < len && empty; ++i)
        empty = data[i] == 0;
    if (empty)
        return QVariant();
    switch (info.field.type) {
    case FieldType::Alpha: {
        // A text fills its field or ends at the first zero byte.
        const QByteArray bytes(data, int(qstrnlen(data, uint(len))));
        return bytes.isEmpty() ? QVariant() : QVariant(fromWindows1251(bytes));
    }
    case FieldType::Short: {
        short v = 0;
        if (px().PX_get_data_short(doc, data, len, &v) < 0)
            return std::nullopt;
        return QVariant(qlonglong(v));
    }
    case FieldType::Long:
    case FieldType::AutoInc: {
        long v = 0;
        if (px().PX_get_data_long(doc, data, len, &v) < 0)
            return std::nullopt;
        return QVariant(qlonglong(v));
    }
    case FieldType::Number:
    case FieldType::Currency: {
        double v = 0;
        if (px().PX_get_data_double(doc, data, len, &v) < 0)
            return std::nullopt;
        return QVariant(v);
    }
    case FieldType::Bcd: {
        char* text = nullptr;
        const int rc = px().PX_get_data_bcd(doc, reinterpret_cast<unsigned char*>(data), info.decimals, &text);
        if (rc == 0)
            return QVariant(); // pxlib's own mark of an empty number
        bool ok = false;
        const double v = QLocale::c().toDouble(takeText(doc, text).trimmed(), &ok);
        if (rc < 0 || !ok)
            return std::nullopt;
        return QVariant(v);
    }
    case FieldType::Logical: {
        char v = 0;
        if (px().PX_get_data_byte(doc, data, len, &v) < 0)
            return std::nullopt;
        return QVariant(v != 0);
    }
    case FieldType::Date:
    case FieldType::Time: {
        long v = 0;
        if (px().PX_get_data_long(doc, data, len, &v) < 0)
            return std::nullopt;
        const QString text =
            takeText(doc, info.field.type == FieldType::Date ? px().PX_date2string(doc, v, "Y-m-d")
                                                             : px().PX_time2string(doc, v, "H:i:s"));
        return text.isEmpty() ? std::nullopt : std::optional<QVariant>(text);
    }
    case FieldType::Timestamp: {
        double v = 0;
        if (px().PX_get_data_double(doc, data, len, &v) < 0)
            return std::nullopt;
        const QString text = takeText(doc, px().PX_timestamp2string(doc, v, "Y-m-d H:i:s"));
        return text.isEmpty() ? std::nullopt : std::optional<QVariant>(text);
    }
    }
    return std::nullopt;
}

} // namespace

bool isParadoxTable(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    Header h;
    return parseHeader(f.read(HeaderBytes + DataHeaderBytes), &h);
}

Table readTable(const QString& path)
{
    const QString file = QFileInfo(path).fileName();
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        throw Error(texts::cannotReadParadox(file, f.errorString()));
    const qint64 fileSize = f.size();
    Header h;
    if (!parseHeader(f.read(HeaderBytes + DataHeaderBytes), &h))
        throw Error(texts::notParadoxTable(file));
    if (h.headerSize > fileSize)
        throw Error(texts::paradoxTruncated(file, fileSize, h.headerSize));
    // pxlib trusts the chain of data blocks: a chain that runs in a circle
    // keeps its open reading for ever, and blocks that do not add up make it
    // print a warning of its own. So the chain is checked before pxlib opens
    // the file, which cannot be done for an encrypted table: its block heads
    // are encrypted too.
    if (h.encrypted)
        throw Error(texts::paradoxEncrypted(file));
    checkBlockChain(file, h, f);
    f.close();

    Document doc;
    if (!doc.open(path))
        throw Error(texts::cannotReadParadox(file, doc.takeMessages(texts::notParadoxTable(file))));
    pxdoc_t* d = doc.get();
    const QVector<FieldInfo> fields = readFields(file, d, h);

    Table table;
    for (const FieldInfo& info : fields)
        table.fields.push_back(info.field);
    QByteArray record(h.recordSize, '\0');
    table.rows.reserve(int(h.numRecords));
    for (int r = 0; r < int(h.numRecords); ++r) {
        if (!px().PX_get_record(d, r, record.data()))
            throw Error(texts::paradoxDamaged(
                file, texts::paradoxCannotReadRecord(r + 1, doc.takeMessages(QString()))));
        QVector<QVariant> row;
        row.reserve(fields.size());
        int offset = 0;
        for (const FieldInfo& info : fields) {
            const std::optional<QVariant> v = fieldValue(d, info, record.data() + offset);
            if (!v)
                throw Error(texts::paradoxDamaged(
                    file, texts::paradoxCannotReadField(
                              r + 1, info.field.name,
                              doc.takeMessages(texts::paradoxUnreadableValue(typeName(info.field.type))))));
            row.push_back(*v);
            offset += info.field.length;
        }
        table.rows.push_back(std::move(row));
    }
    return table;
}

QString typeName(FieldType type)
{
    for (const TypeInfo& t : Types)
        if (t.type == type)
            return QString::fromLatin1(t.name);
    return {};
}

} // namespace lir::db::paradox
