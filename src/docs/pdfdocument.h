#pragma once

#include <QByteArray>
#include <QList>
#include <QPageLayout>
#include <QPaintDevice>
#include <QPointF>
#include <QString>

#include <memory>

class QPainter;
class QRawFont;
class QRectF;

namespace lir::docs {

// A PDF file painted page by page. Text goes in as runs of glyphs of subset,
// embedded TrueType fonts with their characters mapped, so that it can be
// selected and searched; lines, shapes and pictures as a painter draws them.
// Like Qt's PDF writer, the painting starts on the first page and the
// coordinates are device pixels from the top left corner of the page's
// margins. It writes a run of glyphs as one string with the gaps its widths
// do not give, which is what makes a long table quick to write.
class PdfDocument final : public QPaintDevice
{
public:
    explicit PdfDocument(const QPageLayout& layout, int resolution = 300);
    ~PdfDocument() override;
    PdfDocument(const PdfDocument&) = delete;
    PdfDocument& operator=(const PdfDocument&) = delete;

    void setTitle(const QString& title);
    void setCreator(const QString& creator);

    // Ends the page and starts the next.
    void newPage();

    // Glyphs placed from `origin` in the painter's coordinates, in its pen's
    // colour; within `clip` (the same coordinates) when one is given.
    void drawGlyphs(const QPainter& painter, const QRawFont& font, const QList<quint32>& glyphs,
                    const QList<QPointF>& positions, QPointF origin, const QRectF* clip = nullptr);

    // The file, after the painter has ended; nothing can be painted after it.
    QByteArray finish();

    QPaintEngine* paintEngine() const override;

protected:
    int metric(PaintDeviceMetric metric) const override;

private:
    struct Impl;
    class Engine;
    std::unique_ptr<Impl> d;
    std::unique_ptr<Engine> m_engine;
};

} // namespace lir::docs
