#pragma once

#include <QLabel>
#include <QPushButton>
#include <QWidget>

#include <functional>

namespace lir::gui {

class PictureButton;

// The launcher: seven picture buttons, each showing one of the other windows,
// and a status line naming the button under the mouse.
class TMain : public QWidget
{
    Q_OBJECT
public:
    explicit TMain(QWidget* parent = nullptr);

    struct Button
    {
        PictureButton* picture;
        QString status;
    };
    const QList<Button>& buttons() const { return m_buttons; }
    QLabel* statusLine() const { return m_label1; }
    QWidget* mainShape() const { return m_shape; }
    QPushButton* companyButton() const { return m_company; }
    QPushButton* batchButton() const { return m_batch; }

    // Shows a window of the program and brings it to the front; never a second one.
    static void showWindow(QWidget* w);

    // Runs `make` once, right after the launcher's first painting, or at a
    // click on one of its commands if that comes first: the start shows the
    // launcher before it makes the windows that it does not show.
    void makeAfterFirstPaint(std::function<void()> make);

protected:
    void closeEvent(QCloseEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    void addButton(const QString& name, const QString& picture, int left, int top, int width,
                   const QString& status, std::function<QWidget*()> target);
    // The status line's text; "Реквизиты..." shows only while it is empty.
    void setStatus(const QString& text);
    void makePending();

    std::function<void()> m_make;

    QWidget* m_shape = nullptr;
    QLabel* m_label1 = nullptr;
    QPushButton* m_company = nullptr;
    QPushButton* m_batch = nullptr;
    QList<Button> m_buttons;
};

} // namespace lir::gui
