#include "gui/app/form_main.h"
#include "gui/app/form_company.h"

#include "core/base/apptexts.h"
#include "core/base/dialogs.h"
#include "gui/app/form_about.h"
#include "gui/app/forms.h"
#include "core/orders/orderbooktexts.h"
#include "gui/orders/form_customers.h"
#include "gui/orders/form_batch.h"
#include "gui/orders/form_history.h"
#include "gui/app/widgets.h"
#include "gui/calc/mainmodule6741.h"
#include "gui/calc/mainmodule6741otkid.h"
#include "gui/calc/mainmodule6742.h"
#include "gui/orders/form_sum.h"
#include "gui/prices/form_price.h"

#include <QApplication>
#include <QCloseEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

namespace lir::gui {

namespace {

// The launcher's frame: a sky-blue rectangle, 2 pixels wide.
class Shape : public QWidget
{
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.setPen(QPen(skyBlue(), 2));
        p.drawRect(QRectF(1, 1, width() - 2, height() - 2));
    }
};

} // namespace

TMain::TMain(QWidget* parent) : QWidget(parent, fixedWindowFlags())
{
    setObjectName(QStringLiteral("Main"));
    setWindowTitle(apptexts::launcherCaption());
    setUpFixedWindow(this, {472, 121}, WindowGround::White, QPoint(230, 135));
    setMouseTracking(true);

    m_shape = new Shape(this);
    m_shape->setObjectName(QStringLiteral("MainShape"));
    m_shape->setGeometry(8, 9, 460, 101);
    m_shape->setMouseTracking(true);
    m_shape->installEventFilter(this);

    m_label1 = new QLabel(this);
    m_label1->setObjectName(QStringLiteral("Label1"));
    m_label1->setGeometry(13, 81, 340, 25);
    m_label1->setFont(tahoma(11));
    m_label1->setMouseTracking(true);
    m_label1->installEventFilter(this);

    // Windows that are not part of the program yet have no target: their
    // buttons name them and do nothing on a click.
    addButton(QStringLiteral("Image6742"), QStringLiteral(":/pictures/launcher6742.svg"), 15, 18, 60,
              apptexts::status6742(),
              [] { return static_cast<QWidget*>(forms::MainForm6742); });
    addButton(QStringLiteral("Image6741"), QStringLiteral(":/pictures/launcher6741.svg"), 82, 18, 60,
              apptexts::status6741(),
              [] { return static_cast<QWidget*>(forms::MainForm6741); });
    addButton(QStringLiteral("Image6741otkid"), QStringLiteral(":/pictures/launcher6741otkid.svg"), 144, 19, 60,
              apptexts::status6741otkid(),
              [] { return static_cast<QWidget*>(forms::MainForm6741otkid); });
    addButton(QStringLiteral("ImagePrice"), QStringLiteral(":/pictures/launcherprice.svg"), 206, 18, 60,
              apptexts::statusPrices(), [] { return static_cast<QWidget*>(forms::Price); });
    addButton(QStringLiteral("ImageSum"), QStringLiteral(":/pictures/launchersum.svg"), 271, 18, 60,
              apptexts::statusSum(), [] { return static_cast<QWidget*>(forms::TotalSum); });
    addButton(QStringLiteral("ImageHistory"), QStringLiteral(":/pictures/launcherhistory.svg"), 336, 18, 61,
              apptexts::statusHistory(), [] { return static_cast<QWidget*>(forms::History); });
    addButton(QStringLiteral("ImageLir"), QStringLiteral(":/pictures/launcherlir.svg"), 401, 18, 61,
              apptexts::statusAbout(), [] { return static_cast<QWidget*>(forms::About); });
    // The customers have no picture of their own: a command beside the status line.
    auto* customers = new CommandPanel(orderbooktexts::btCustomers(), this);
    customers->setObjectName(QStringLiteral("bt_customers"));
    customers->setGeometry(360, 83, 104, 24);
    connect(customers, &QPushButton::clicked, this, [this] {
        makePending();
        if (forms::Customers)
            showWindow(forms::Customers);
    });
    // Commands that have no picture of their own, on the status line's row
    // while it is empty, hidden while it names a picture's window: the
    // company details that head every printed quote, and the batch entry
    // where a window schedule is typed or pasted into the current order.
    const auto command = [this](const QString& text, const QString& name, int left, int width) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(name);
        b->setFlat(true);
        b->setFont(tahoma(11));
        b->setGeometry(left, 84, width, 22);
        b->setCursor(Qt::PointingHandCursor);
        return b;
    };
    m_company = command(QStringLiteral("Реквизиты..."), QStringLiteral("CompanyButton"), 252, 100);
    connect(m_company, &QPushButton::clicked, this, [this] { TCompanyDetails::edit(this); });
    m_batch = command(QStringLiteral("Пакетный ввод..."), QStringLiteral("BatchButton"), 140, 110);
    connect(m_batch, &QPushButton::clicked, this, [this] {
        makePending();
        if (forms::Batch)
            showWindow(forms::Batch);
    });
    m_label1->raise();
    m_company->raise();
    m_batch->raise();
}

void TMain::setStatus(const QString& text)
{
    m_label1->setText(text);
    m_company->setVisible(text.isEmpty());
    m_batch->setVisible(text.isEmpty());
}

void TMain::addButton(const QString& name, const QString& picture, int left, int top, int width,
                      const QString& status, std::function<QWidget*()> target)
{
    auto* b = new PictureButton(picture, this);
    b->setObjectName(name);
    b->setGeometry(left, top, width, 60);
    connect(b, &PictureButton::mouseMoved, this, [this, status] { setStatus(status); });
    connect(b, &PictureButton::clicked, this, [this, target] {
        makePending();
        if (QWidget* w = target())
            showWindow(w);
    });
    m_buttons.push_back({b, status});
}

void TMain::makeAfterFirstPaint(std::function<void()> make)
{
    m_make = std::move(make);
}

void TMain::makePending()
{
    if (const std::function<void()> make = std::exchange(m_make, {}))
        make();
}

void TMain::paintEvent(QPaintEvent* e)
{
    QWidget::paintEvent(e);
    if (m_make)
        QTimer::singleShot(0, this, &TMain::makePending);
}

void TMain::showWindow(QWidget* w)
{
    w->show();
    if (w->isMinimized())
        w->showNormal();
    w->raise();
    w->activateWindow();
}

bool TMain::eventFilter(QObject* o, QEvent* e)
{
    if ((o == m_shape || o == m_label1) && e->type() == QEvent::MouseMove)
        setStatus(QString());
    return QWidget::eventFilter(o, e);
}

void TMain::closeEvent(QCloseEvent* e)
{
    // Closing the launcher ends the program: not over an unsaved order
    // without a question, and not with a typed price left hanging.
    if (forms::TotalSum && !agreed(forms::TotalSum->order().quitQuestion())) {
        e->ignore();
        return;
    }
    if (forms::Price)
        forms::Price->close();
    e->accept();
    QApplication::quit();
}

} // namespace lir::gui
