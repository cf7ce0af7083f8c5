#include "gui/app/form_about.h"

#include "core/base/apptexts.h"
#include "core/base/buildinfo.h"
#include "core/base/dialogs.h"
#include "core/base/urlopener.h"
#include "core/base/userguide.h"
#include "core/db/storage.h"
#include "core/db/storesettings.h"
#include "gui/app/widgets.h"

#include <QDir>
#include <QMouseEvent>
#include <QPainter>
#include <QTextLayout>
#include <QVBoxLayout>

#include <cmath>

namespace lir::gui {

namespace t = apptexts;

namespace {
constexpr int ClientWidth = 329;
constexpr int ClientHeight = 373;

QLabel* makeLabel(const QString& objectName, const QString& text, int pixelSize, QWidget* parent)
{
    auto* l = new QLabel(text, parent);
    l->setObjectName(objectName);
    l->setFont(tahoma(pixelSize));
    l->setWordWrap(true);
    return l;
}
} // namespace

LinkLabel::LinkLabel(QWidget* parent) : QLabel(parent)
{
    setFont(tahoma(13));
    setWordWrap(true);
    setCursor(Qt::PointingHandCursor);
    QPalette pal = palette();
    pal.setColor(QPalette::WindowText, Qt::blue);
    setPalette(pal);
}

void LinkLabel::setTarget(const QString& text, const QUrl& url)
{
    setText(text);
    m_url = url;
    setVisible(!text.isEmpty());
    // Without an address the text is plain: nothing that looks like a link.
    setCursor(url.isValid() ? Qt::PointingHandCursor : Qt::ArrowCursor);
    QPalette pal = palette();
    pal.setColor(QPalette::WindowText, url.isValid() ? QColor(Qt::blue) : QColor(Qt::black));
    setPalette(pal);
}

int LinkLabel::lineCount(const QString& text, int width, qreal* height) const
{
    QTextLayout layout(text, font());
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.beginLayout();
    int lines = 0;
    qreal y = 0;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(std::max(1, width));
        y += line.height();
        ++lines;
    }
    layout.endLayout();
    if (height)
        *height = y;
    return lines;
}

QString LinkLabel::fitted(int width) const
{
    const QString full = text();
    if (lineCount(full, width) <= MaxLines)
        return full;
    // Keep as much of both ends as MaxLines lines hold.
    int lo = 0, hi = int(full.size());
    while (lo < hi) {
        const int keep = (lo + hi + 1) / 2;
        const QString s = full.left(keep - keep / 2) + QChar(0x2026) + full.right(keep / 2);
        if (lineCount(s, width) <= MaxLines)
            lo = keep;
        else
            hi = keep - 1;
    }
    return full.left(lo - lo / 2) + QChar(0x2026) + full.right(lo / 2);
}

int LinkLabel::heightForWidth(int width) const
{
    qreal h = 0;
    lineCount(fitted(width), width, &h);
    return int(std::ceil(h));
}

QSize LinkLabel::sizeHint() const
{
    const int w = width() > 0 ? width() : 200;
    return {w, heightForWidth(w)};
}

QSize LinkLabel::minimumSizeHint() const
{
    return {fontMetrics().horizontalAdvance(QChar(0x2026)) * 4, heightForWidth(width() > 0 ? width() : 200)};
}

void LinkLabel::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setPen(palette().color(QPalette::WindowText));
    p.setFont(font());
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    p.drawText(QRectF(rect()), shownText(), option);
}

void LinkLabel::mouseReleaseEvent(QMouseEvent* e)
{
    if (e->button() == Qt::LeftButton && rect().contains(e->position().toPoint()) && m_url.isValid())
        urlOpener().openUrl(m_url, [url = m_url] {
            // Nothing opens it here: the address, to be copied.
            dialogs().messageBox(apptexts::cannotOpenLink(url.isLocalFile() ? QDir::toNativeSeparators(url.toLocalFile())
                                                                             : url.toString()));
        });
    QLabel::mouseReleaseEvent(e);
}

TAbout::TAbout(QWidget* parent)
    : QWidget(parent, fixedWindowFlags())
{
    setObjectName(QStringLiteral("About"));
    setWindowTitle(t::aboutCaption());
    setFont(tahoma(11));
    setUpFixedWindow(this, {ClientWidth, ClientHeight});

    m_panel = new QWidget(this);
    m_panel->setObjectName(QStringLiteral("Panel1"));
    m_panel->setAutoFillBackground(true);
    QPalette tint = m_panel->palette();
    tint.setColor(QPalette::Window, QColor(0xEE, 0xF4, 0xFB));
    m_panel->setPalette(tint);
    m_panel->setGeometry(8, 8, ClientWidth - 16, ClientHeight - 16 - 34);

    initPictures();
    m_picture = new Picture(QStringLiteral(":/pictures/launcherlir.svg"), m_panel);
    m_picture->setObjectName(QStringLiteral("Image1"));
    m_picture->setFixedSize(60, 60);

    m_labels[0] = makeLabel(QStringLiteral("Label1"), t::aboutName(QStringLiteral(LIR_VERSION)), 19, m_panel);
    m_labels[0]->setWordWrap(false);
    m_labels[1] = makeLabel(QStringLiteral("Label2"), t::aboutDescription(), 13, m_panel);
    const auto& server = db::server();
    m_labels[2] = makeLabel(QStringLiteral("Label3"), server ? t::aboutCreditServer() : t::aboutCredit(), 13, m_panel);
    m_labels[3] = makeLabel(QStringLiteral("Label4"), t::aboutMaker(), 19, m_panel);
    m_labels[4] = makeLabel(QStringLiteral("Label5"), t::aboutBusiness(), 13, m_panel);

    // The tables are the files of the working directory, or on the server
    // lircomplect.ini names, which has no folder to open.
    m_label7 = new LinkLabel(m_panel);
    m_label7->setObjectName(QStringLiteral("Label7"));
    if (server) {
        m_label7->setTarget(db::serverShown(*server), QUrl());
        m_label7->setToolTip(t::aboutServerHint());
    } else {
        const QString tables = QDir(db::netFileDir()).absolutePath();
        m_label7->setTarget(QDir::toNativeSeparators(tables), QUrl::fromLocalFile(tables));
        m_label7->setToolTip(t::aboutTablesHint() + QLatin1Char('\n') + m_label7->text());
    }
    m_label6 = new LinkLabel(m_panel);
    m_label6->setObjectName(QStringLiteral("Label6"));
    const QString guide = userGuidePath();
    m_label6->setTarget(QDir::toNativeSeparators(guide), guide.isEmpty() ? QUrl() : QUrl::fromLocalFile(guide));
    m_label6->setToolTip(t::aboutGuideHint() + QLatin1Char('\n') + m_label6->text());

    auto* column = new QVBoxLayout(m_panel);
    column->setContentsMargins(8, 8, 8, 8);
    column->setSpacing(4);
    auto* head = new QHBoxLayout;
    head->addWidget(m_labels[0], 1, Qt::AlignLeft | Qt::AlignVCenter);
    head->addWidget(m_picture, 0, Qt::AlignRight | Qt::AlignTop);
    column->addLayout(head);
    column->addWidget(m_labels[1]);
    column->addSpacing(6);
    column->addWidget(m_labels[2]);
    column->addWidget(m_label7);
    column->addSpacing(6);
    column->addWidget(m_labels[3]);
    column->addWidget(m_labels[4]);
    column->addWidget(m_label6);
    column->addStretch(1);

    m_closeGridButton = new CommandPanel(t::aboutClose(), this);
    m_closeGridButton->setObjectName(QStringLiteral("CloseGridButton"));
    m_closeGridButton->setGeometry(ClientWidth - 8 - 90, ClientHeight - 8 - 26, 90, 26);
    connect(m_closeGridButton, &QPushButton::clicked, this, &QWidget::hide);
}

QLabel* TAbout::label(int n) const
{
    switch (n) {
    case 6:
        return m_label6;
    case 7:
        return m_label7;
    default:
        return n >= 1 && n <= 5 ? m_labels[n - 1] : nullptr;
    }
}

} // namespace lir::gui
