#include "gui/app/widgets.h"

#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

static void initResources()
{
    Q_INIT_RESOURCE(lircomplect);
}

namespace lir::gui {

void initPictures()
{
    static const bool done = (initResources(), true);
    (void)done;
}

namespace {
// Debian's fonts-wine puts its fonts here, outside fontconfig's folders.
const char tahomaFolder[] = "/usr/share/wine/fonts";
bool g_wineTahoma = false;
} // namespace

void registerFonts()
{
    // Only the regular face: the bold file of that package has bold spacing
    // but regular strokes, so captions set with it do not look bold. Bold
    // Tahoma is drawn from the regular face made heavier, which is never
    // wider than the true bold the windows were laid out for.
    const QString path = QDir(QString::fromLatin1(tahomaFolder)).filePath(QStringLiteral("tahoma.ttf"));
    if (!g_wineTahoma && QFileInfo::exists(path))
        g_wineTahoma = QFontDatabase::addApplicationFont(path) >= 0;
    QFont::insertSubstitutions(QStringLiteral("Tahoma"), {QStringLiteral("DejaVu Sans Condensed"), QStringLiteral("DejaVu Sans"),
                                                      QStringLiteral("Liberation Sans")});
    QFont::insertSubstitutions(QStringLiteral("Book Antiqua"),
                               {QStringLiteral("P052"), QStringLiteral("URW Palladio L"),
                                QStringLiteral("TeX Gyre Pagella"), QStringLiteral("DejaVu Serif")});
}

QString tahomaFamily()
{
    return QFontInfo(tahoma(11)).family();
}

QFont tahoma(int pixelSize, bool bold)
{
    QFont f(QStringLiteral("Tahoma"));
    f.setPixelSize(pixelSize);
    f.setBold(bold);
    // The regular face made heavier keeps its narrow advances; a pixel between
    // the letters gives them the room of the true bold.
    if (bold && g_wineTahoma)
        f.setLetterSpacing(QFont::AbsoluteSpacing, 1);
    return f;
}

QFont bookAntiqua(int pixelSize, bool bold, bool italic)
{
    QFont f(QStringLiteral("Book Antiqua"));
    f.setPixelSize(pixelSize);
    f.setBold(bold);
    f.setItalic(italic);
    return f;
}

namespace {
int g_screenWidth = 0;
}

int screenWidth()
{
    if (g_screenWidth > 0)
        return g_screenWidth;
    const QScreen* s = QGuiApplication::primaryScreen();
    return s ? s->geometry().width() : 1024;
}

void setScreenWidth(int width)
{
    g_screenWidth = width;
}

QColor skyBlue()
{
    return QColor(0xA6, 0xCA, 0xF0);
}

Qt::WindowFlags fixedWindowFlags(bool minimizeButton)
{
    Qt::WindowFlags f = Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint
                        | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    if (minimizeButton)
        f |= Qt::WindowMinimizeButtonHint;
    return f;
}

void setUpFixedWindow(QWidget* window, QSize size, WindowGround ground, std::optional<QPoint> at)
{
    if (ground == WindowGround::White) {
        window->setAutoFillBackground(true);
        QPalette pal = window->palette();
        pal.setColor(QPalette::Window, Qt::white);
        window->setPalette(pal);
    }
    window->setFixedSize(size);
    if (at)
        window->move(*at);
    else if (const QScreen* screen = QGuiApplication::primaryScreen())
        window->move(screen->availableGeometry().center() - window->rect().center());
}

CommandPanel::CommandPanel(const QString& caption, QWidget* parent) : QPushButton(caption, parent)
{
    setFont(tahoma(12, true));
    setCursor(Qt::PointingHandCursor);
    setStyleSheet(QStringLiteral(
        "QPushButton { background: white; color: #0000c0; border: 1px solid #7f7f7f; padding: 3px 10px; }"
        "QPushButton:hover { border-color: #0000c0; }"
        "QPushButton:focus { border: 2px solid #0000c0; padding: 2px 9px; }"
        "QPushButton:pressed { background: #e8eefc; }"
        "QPushButton:disabled { color: #8080a0; }"));
}

void CommandPanel::keyPressEvent(QKeyEvent* e)
{
    // Outside a dialog a push button leaves Enter to its window.
    if ((e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter)
        && (e->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        click();
        e->accept();
        return;
    }
    QPushButton::keyPressEvent(e);
}

Picture::Picture(const QString& resource, QWidget* parent) : QWidget(parent), m_svg(resource)
{
}

QSize Picture::sizeHint() const
{
    return m_svg.isValid() ? m_svg.defaultSize() : QSize(60, 60);
}

void Picture::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    if (m_svg.isValid()) {
        // Keep the drawing's proportions inside the widget.
        QSizeF s = m_svg.defaultSize();
        s.scale(size(), Qt::KeepAspectRatio);
        const QRectF r((width() - s.width()) / 2.0, (height() - s.height()) / 2.0, s.width(), s.height());
        m_svg.render(&p, r);
    }
}

PictureButton::PictureButton(const QString& resource, QWidget* parent) : Picture(resource, parent)
{
    setCursor(Qt::PointingHandCursor);
    setMouseTracking(true);
}

void PictureButton::mouseReleaseEvent(QMouseEvent* e)
{
    if (e->button() == Qt::LeftButton && rect().contains(e->position().toPoint()))
        emit clicked();
}

void PictureButton::mouseMoveEvent(QMouseEvent*)
{
    emit mouseMoved();
}

SpinEdit::SpinEdit(int minimum, int maximum, int maxLength, QWidget* parent) : QSpinBox(parent)
{
    setRange(minimum, maximum);
    setMaxLength(maxLength);
    setKeyboardTracking(true);
    setButtonSymbols(QAbstractSpinBox::UpDownArrows);
    m_lastReported = value();
    lineEdit()->installEventFilter(this);
    connect(lineEdit(), &QLineEdit::textChanged, this, [this] {
        const int v = textValue();
        if (v != m_lastReported) {
            m_lastReported = v;
            emit textValueChanged(v);
        }
    });
}

void SpinEdit::setMaxLength(int n)
{
    lineEdit()->setMaxLength(n);
}

int SpinEdit::maxLength() const
{
    return lineEdit()->maxLength();
}

int SpinEdit::textValue() const
{
    bool ok = false;
    const int v = lineEdit()->text().trimmed().toInt(&ok);
    return ok ? v : minimum();
}

void SpinEdit::showValue(int v)
{
    m_lastReported = v;
    if (textValue() == v && !lineEdit()->text().isEmpty())
        return;
    const QSignalBlocker block(this);
    const QSignalBlocker blockEdit(lineEdit());
    setValue(v);
    lineEdit()->setText(QString::number(v));
}

bool SpinEdit::eventFilter(QObject* o, QEvent* e)
{
    if (o == lineEdit() && e->type() == QEvent::MouseButtonPress)
        emit clickedInto();
    return QSpinBox::eventFilter(o, e);
}

} // namespace lir::gui
