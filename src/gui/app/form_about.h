#pragma once

#include <QLabel>
#include <QUrl>
#include <QWidget>

namespace lir::gui {

class CommandPanel;
class Picture;

// A label that opens an address when clicked: blue, with a hand cursor. The
// address wraps after its slashes, or anywhere in a name too long for a line,
// and one too long for MaxLines lines loses its middle ("…").
class LinkLabel : public QLabel
{
    Q_OBJECT
public:
    static constexpr int MaxLines = 2;

    explicit LinkLabel(QWidget* parent = nullptr);
    // Shows the address as the label's text and opens it on a click; an empty
    // address hides the label (no link that leads nowhere).
    void setTarget(const QString& text, const QUrl& url);
    QUrl target() const { return m_url; }
    // The text as drawn at the label's width.
    QString shownText() const { return fitted(width()); }

    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void mouseReleaseEvent(QMouseEvent* e) override;
    void paintEvent(QPaintEvent* e) override;

private:
    QString fitted(int width) const;
    int lineCount(const QString& text, int width, qreal* height = nullptr) const;

    QUrl m_url;
};

// The About window: the program's name and version, what it calculates, who
// made it, and two links: the folder that holds the program's tables and the
// user guide. It keeps no state.
class TAbout : public QWidget
{
    Q_OBJECT
public:
    explicit TAbout(QWidget* parent = nullptr);

    QLabel* label(int n) const; // Label1 .. Label7
    LinkLabel* tablesLink() const { return m_label7; }
    LinkLabel* guideLink() const { return m_label6; }
    CommandPanel* closeButton() const { return m_closeGridButton; }
    QWidget* panel() const { return m_panel; }
    Picture* picture() const { return m_picture; }

private:
    QWidget* m_panel = nullptr;
    Picture* m_picture = nullptr;
    QLabel* m_labels[5] = {}; // Label1 .. Label5
    LinkLabel* m_label6 = nullptr;
    LinkLabel* m_label7 = nullptr;
    CommandPanel* m_closeGridButton = nullptr;
};

} // namespace lir::gui
