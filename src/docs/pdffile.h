#pragma once

#include <QByteArray>
#include <QString>

#include <vector>

namespace lir::docs::pdf {

// The syntax of a PDF file: numbered objects, compressed streams, the table
// of where each object starts, and the numbers and strings they hold.
class File
{
public:
    File();

    // A number for an object written later (objects may refer to it first).
    int newObject();
    int writeObject(int object, const QByteArray& body);
    // The stream compressed; `dict` holds the entries besides its filter and length.
    int writeStream(int object, const QByteArray& dict, const QByteArray& data);
    // The table of objects and the trailer; the file's bytes.
    QByteArray finish(int catalog, int info);

private:
    void begin(int object);

    QByteArray m_out;
    std::vector<qint64> m_offsets{0}; // of each object by its number; 0 is never used
};

// A number as the file writes it: at most `decimals` decimals, no exponent.
void appendNumber(QByteArray& out, double v, int decimals = 3);
double hundredths(double v);
void appendHex4(QByteArray& out, quint32 v);
// A character as UTF-16 in hexadecimal, as the map from glyphs to text has it.
void appendUtf16(QByteArray& out, char32_t ch);
// A text string of the file's dictionaries: UTF-16 with its byte order mark.
QByteArray textString(const QString& s);

} // namespace lir::docs::pdf
