#pragma once

#include <QFont>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QSvgRenderer>
#include <QWidget>

#include <optional>

namespace lir::gui {

// Makes the program's pictures available; the GUI library is linked
// statically, so its resources are registered by hand, once.
void initPictures();

// Fonts of the program. The windows were laid out for Tahoma: Debian's
// fonts-wine ships one with the same metrics, registered here when present;
// without it close Debian fonts stand in. Safe to call more than once.
void registerFonts();
// The family that tahoma() resolves to right now.
QString tahomaFamily();
QFont tahoma(int pixelSize, bool bold = false);
QFont bookAntiqua(int pixelSize, bool bold, bool italic);

// The width of the screen the windows are laid out for: the primary screen's,
// unless another was set (tests lay the windows out for other screens).
int screenWidth();
void setScreenWidth(int width); // 0: the primary screen's again

// The sky blue of the grids' fixed cells and of the launcher frame.
QColor skyBlue();

// The flags of the program's windows: a fixed dialog border and a title with
// a close button; the calculators can also be minimised.
Qt::WindowFlags fixedWindowFlags(bool minimizeButton = false);

enum class WindowGround { White, Style };

// Fixes a window at its designed client size on a white ground (or the
// style's, where asked) and centres it on the primary screen, or puts it at
// `at` where the window was designed to stand elsewhere.
void setUpFixedWindow(QWidget* window, QSize size, WindowGround ground = WindowGround::White,
                      std::optional<QPoint> at = std::nullopt);

// A command button of the program: a flat white panel with a single border
// and a bold blue caption. Focused, it wears a thicker frame and Space or
// Enter presses it.
class CommandPanel : public QPushButton
{
    Q_OBJECT
public:
    explicit CommandPanel(const QString& caption, QWidget* parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* e) override;
};

// A picture drawn from an SVG resource, scaled to the widget.
class Picture : public QWidget
{
    Q_OBJECT
public:
    explicit Picture(const QString& resource, QWidget* parent = nullptr);
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent*) override;

private:
    QSvgRenderer m_svg;
};

// A picture that reacts to the mouse: a click, and every mouse move over it.
class PictureButton : public Picture
{
    Q_OBJECT
public:
    explicit PictureButton(const QString& resource, QWidget* parent = nullptr);

signals:
    void clicked();
    void mouseMoved();

protected:
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
};

// An integer spin edit whose text may be limited in length. The value it
// reports follows every change of the text; a text that is not a whole number
// reads as the minimum.
class SpinEdit : public QSpinBox
{
    Q_OBJECT
public:
    explicit SpinEdit(int minimum, int maximum, int maxLength, QWidget* parent = nullptr);
    void setMaxLength(int n);
    int maxLength() const;
    // The value the text stands for.
    int textValue() const;
    // Shows v unless the text already reads as v (so typing is not disturbed).
    void showValue(int v);

signals:
    void textValueChanged(int value);
    void clickedInto();

protected:
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    int m_lastReported;
};

} // namespace lir::gui
