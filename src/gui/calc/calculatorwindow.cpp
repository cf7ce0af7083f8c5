#include "gui/calc/calculatorwindow.h"

#include "gui/app/guidialogs.h"
#include "gui/app/quoteprint.h"
#include "gui/app/widgets.h"
#include "core/base/dialogs.h"
#include "core/calc/calctexts.h"
#include "core/export/kitexport.h"
#include "core/orders/ordertable.h"
#include "core/prices/pricetable.h"

#include <QApplication>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QDir>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QRadioButton>
#include <QShortcut>
#include <QStyleOptionHeader>
#include <QStyleOptionViewItem>
#include <QTimer>

#include <utility>

namespace lir::gui {

namespace t = calctexts;

namespace {

// Holds the two drawings and the result grid on the same place.
class PictureArea : public QWidget
{
public:
    using QWidget::QWidget;

protected:
    void resizeEvent(QResizeEvent*) override
    {
        for (QObject* o : children())
            if (auto* w = qobject_cast<QWidget*>(o))
                w->setGeometry(rect());
    }
};

// The height of the spin edits, as the windows were designed.
constexpr int InputHeight = 21;

QComboBox* makeCombo(const QString& objectName, const QStringList& items, QWidget* parent)
{
    auto* c = new QComboBox(parent);
    c->setObjectName(objectName);
    c->addItems(items);
    c->setMaxVisibleItems(15);
    return c;
}

QGroupBox* radioGroup(const QString& objectName, const QString& caption, const QStringList& items,
                      QButtonGroup*& group, QWidget* parent)
{
    auto* box = new QGroupBox(caption, parent);
    box->setObjectName(objectName);
    auto* l = new QVBoxLayout(box);
    l->setContentsMargins(6, 2, 6, 2);
    l->setSpacing(0);
    group = new QButtonGroup(box);
    for (int i = 0; i < items.size(); ++i) {
        auto* rb = new QRadioButton(items.at(i), box);
        group->addButton(rb, i);
        l->addWidget(rb);
    }
    return box;
}

void compactForm(QFormLayout* form)
{
    form->setVerticalSpacing(2);
    form->setLabelAlignment(Qt::AlignLeft | Qt::AlignVCenter);
}

void showIndex(QButtonGroup* g, int index)
{
    if (QAbstractButton* b = g->button(index)) {
        const QSignalBlocker block(g);
        b->setChecked(true);
    }
}

void showComboIndex(QComboBox* c, int index)
{
    if (c->currentIndex() != index) {
        const QSignalBlocker block(c);
        c->setCurrentIndex(index);
    }
}

} // namespace

CalculatorWindow::CalculatorWindow(KitCalculator* calc, const QString& caption, QWidget* parent)
    : QWidget(parent, fixedWindowFlags(true)),
      m_calc(calc)
{
    m_calc->setParent(this);
    setWindowTitle(caption);
    setFont(tahoma(11));
}

namespace {

int syncHolds = 0;
QList<CalculatorWindow*>& heldWindows()
{
    static QList<CalculatorWindow*> windows;
    return windows;
}

} // namespace

CalculatorWindow::~CalculatorWindow()
{
    heldWindows().removeAll(this);
}

QString CalculatorWindow::suffix() const
{
    return m_calc->kind() == KitCalculator::Kind::TiltTurn ? QStringLiteral("6742") : QStringLiteral("6741");
}

QString CalculatorWindow::saveChangesCaption() const
{
    return t::btSaveChanges;
}

QString CalculatorWindow::ghLabel() const
{
    return t::lblGH;
}

QCheckBox* CalculatorWindow::addCheckBox(QVBoxLayout* into, const QString& objectName, const QString& text,
                                         KitCalculator::Input input)
{
    auto* box = new QCheckBox(text, m_panel);
    box->setObjectName(objectName);
    into->addWidget(box);
    forwardClicks(box, input);
    return box;
}

void CalculatorWindow::forwardClicks(QCheckBox* box, KitCalculator::Input input)
{
    connect(box, &QCheckBox::clicked, this, [this, input](bool on) { m_calc->userSet(input, on ? 1 : 0); });
}

void CalculatorWindow::forwardClicks(QButtonGroup* group, KitCalculator::Input input)
{
    connect(group, &QButtonGroup::idClicked, this, [this, input](int id) { m_calc->userSet(input, id); });
}

void CalculatorWindow::showChecked(QCheckBox* box, bool on)
{
    if (box->isChecked() != on) {
        const QSignalBlocker block(box);
        box->setChecked(on);
    }
}

bool CalculatorWindow::eventFilter(QObject* o, QEvent* e)
{
    // A press into a list is its click; the choice follows as its own signal.
    if (e->type() == QEvent::MouseButtonPress) {
        const auto it = m_clickInputs.constFind(o);
        if (it != m_clickInputs.cend())
            m_calc->userClick(*it);
    }
    return QWidget::eventFilter(o, e);
}

bool CalculatorWindow::event(QEvent* e)
{
    if (e->type() == QEvent::Show && std::exchange(m_columnsStale, false))
        fitColumns(false);
    if (e->type() == QEvent::WindowActivate) {
        // Decided once the focus change has been announced as well.
        QTimer::singleShot(0, this, [this] {
            const bool handled = std::exchange(m_activationHandled, false);
            if (ActivationTracker::instance().consumeActivation(windowHandle()) && !handled)
                m_calc->FormActivate();
        });
    }
    return QWidget::event(e);
}

void CalculatorWindow::build()
{
    KitCalculator& c = *m_calc;
    const QString sfx = suffix();
    const bool tilt = c.kind() == KitCalculator::Kind::Tilt;

    auto* root = new QGridLayout(this);
    root->setContentsMargins(8, 8, 8, 8);
    root->setHorizontalSpacing(10);
    root->setVerticalSpacing(6);

    // ---------------------------------------------------------------- inputs
    m_panel = new QWidget(this);
    m_panel->setObjectName(QStringLiteral("LIR") + sfx + QStringLiteral("PANEL"));
    // Narrow enough that the grid shows its six columns whole beside it in a
    // window 1000 pixels wide.
    m_panel->setFixedWidth(310);
    auto* panel = new QVBoxLayout(m_panel);
    panel->setContentsMargins(0, 0, 0, 0);
    panel->setSpacing(3);

    // Tight groups: every input of the widest state (a wooden sash with the
    // window handle) fits the designed height without squeezing another.
    auto* common = new QGroupBox(t::groupCommon, m_panel);
    auto* commonLayout = new QVBoxLayout(common);
    commonLayout->setContentsMargins(6, 2, 6, 4);
    commonLayout->setSpacing(2);
    auto* commonForm = new QFormLayout;
    compactForm(commonForm);
    m_kolKomlektov = new SpinEdit(1, 100000, 6, common);
    m_kolKomlektov->setObjectName(QStringLiteral("KolKomlektov") + sfx);
    m_kolKomlektov->setFixedSize(90, InputHeight);
    commonForm->addRow(t::lblKolKomlektov, m_kolKomlektov);
    m_ral = new SpinEdit(0, 9999, 4, common);
    m_ral->setObjectName(QStringLiteral("RAL") + sfx);
    m_ral->setFixedSize(90, InputHeight);
    commonForm->addRow(t::lblRal, m_ral);
    commonLayout->addLayout(commonForm);
    auto* radios = new QHBoxLayout;
    radios->addWidget(radioGroup(QStringLiteral("ProfilTypeBox"), t::lblProfil, t::profilTypes, m_profilType, common));
    m_profilType->setObjectName(QStringLiteral("ProfilType"));
    m_weightGroup = radioGroup(QStringLiteral("RadioGroup1"),
                               c.kind() == KitCalculator::Kind::TiltTurn ? t::lblWeight6742 : t::lblWeight,
                               c.kind() == KitCalculator::Kind::TiltTurn ? t::weights6742 : t::weights, m_weight,
                               common);
    radios->addWidget(m_weightGroup);
    commonLayout->addLayout(radios);
    addKitVariant(commonLayout);
    panel->addWidget(common);

    auto* sizes = new QGroupBox(t::groupSizes, m_panel);
    auto* sizesForm = new QFormLayout(sizes);
    sizesForm->setContentsMargins(6, 2, 6, 4);
    compactForm(sizesForm);
    m_ffh = new SpinEdit(0, 9999, 4, sizes);
    m_ffh->setObjectName(QStringLiteral("FFH") + sfx);
    m_ffh->setFixedSize(90, InputHeight);
    sizesForm->addRow(t::lblFFH, m_ffh);
    m_ffb = new SpinEdit(0, 9999, 4, sizes);
    m_ffb->setObjectName(QStringLiteral("FFB") + sfx);
    m_ffb->setFixedSize(90, InputHeight);
    sizesForm->addRow(t::lblFFB, m_ffb);
    m_gh = new SpinEdit(0, 9999, 4, sizes);
    m_gh->setObjectName(QStringLiteral("GH") + sfx);
    m_gh->setFixedSize(90, InputHeight);
    sizesForm->addRow(ghLabel(), m_gh);
    m_ruchkaVcentre = new QCheckBox(t::lblRuchkaVcentre, sizes);
    m_ruchkaVcentre->setObjectName(QStringLiteral("RuchkaVcentre") + sfx);
    sizesForm->addRow(QString(), m_ruchkaVcentre);
    m_ruchkaVcentre->setVisible(!tilt);
    if (!tilt) {
        m_pol = makeCombo(QStringLiteral("PolStvorki") + sfx, t::polStvorki, sizes);
        m_polLabel = new QLabel(t::lblPolStvorki, sizes);
        sizesForm->addRow(m_polLabel, m_pol);
    } else {
        // The tilt window has no sash side: its row stays out of the form.
        sizesForm->setRowVisible(m_ruchkaVcentre, false);
    }
    panel->addWidget(sizes);

    auto* extra = new QGroupBox(t::groupExtra, m_panel);
    auto* extraLayout = new QVBoxLayout(extra);
    extraLayout->setContentsMargins(6, 2, 6, 4);
    extraLayout->setSpacing(2);
    auto* lists = new QGridLayout;
    lists->setVerticalSpacing(2);
    m_system = makeCombo(QStringLiteral("SystemProfiles") + sfx, t::systemProfiles, extra);
    m_system->setEnabled(false);
    lists->addWidget(new QLabel(t::lblSystemProfiles, extra), 0, 0);
    lists->addWidget(m_system, 0, 1);
    m_nazvLabel = new QLabel(t::lblNazvSystemProfiles, extra);
    m_nazvLabel->setObjectName(QStringLiteral("LabelNazvSystemProfiles") + sfx);
    m_nazv = makeCombo(QStringLiteral("NazvSystemProfiles") + sfx, c.nazvItems(), extra);
    m_ramaLabel = new QLabel(t::lblRamaType, extra);
    m_ramaLabel->setObjectName(QStringLiteral("lb_ramaType"));
    m_rama = makeCombo(QStringLiteral("cb_ramaType"), t::ramaTypes, extra);
    // The rebate type takes the place of the profile-system name for a wooden sash.
    lists->addWidget(m_nazvLabel, 1, 0);
    lists->addWidget(m_nazv, 1, 1);
    lists->addWidget(m_ramaLabel, 1, 0);
    lists->addWidget(m_rama, 1, 1);
    lists->setColumnStretch(1, 1);
    extraLayout->addLayout(lists);
    extraLayout->addWidget(new QLabel(t::lblDopKomplektaciya, extra));
    auto* handleRow = new QHBoxLayout;
    m_ruchkaOkon = new QCheckBox(t::lblRuchkaOkon, extra);
    m_ruchkaOkon->setObjectName(QStringLiteral("RuchkaOkon") + sfx);
    m_tipRuchki = makeCombo(QStringLiteral("TipRuchki") + sfx, t::tipRuchki, extra);
    m_panel2 = new CommandPanel(t::lblShow, extra);
    m_panel2->setObjectName(QStringLiteral("Panel2"));
    m_panel2->setFont(tahoma(11, true));
    handleRow->addWidget(m_ruchkaOkon);
    handleRow->addWidget(m_tipRuchki, 1);
    handleRow->addWidget(m_panel2);
    extraLayout->addLayout(handleRow);
    m_provetrivatel = new QCheckBox(t::lblProvetrivatel, extra);
    m_provetrivatel->setObjectName(QStringLiteral("Provetrivatel") + sfx);
    extraLayout->addWidget(m_provetrivatel);
    addOptions(extraLayout);
    panel->addWidget(extra);
    panel->addStretch(1);

    m_rashet = new CommandPanel(t::btRashet, this);
    m_rashet->setObjectName(QStringLiteral("RashetButton"));

    // ---------------------------------------------------------------- result side
    auto* top = new QHBoxLayout;
    auto* lirlBox = new QVBoxLayout;
    m_lirlLabel = new QLabel(t::lblLIRL, this);
    m_lirl = new QLineEdit(this);
    m_lirl->setObjectName(QStringLiteral("LIRL"));
    m_lirl->setFont(bookAntiqua(21, true, true));
    m_lirl->setStyleSheet(QStringLiteral("QLineEdit { color: red; }"));
    m_lirl->setMinimumWidth(330);
    m_lirl->setReadOnly(c.lirlReadOnly());
    // No more than the order table keeps of a designation.
    m_lirl->setMaxLength(orders::DesignationSize);
    lirlBox->addWidget(m_lirlLabel);
    lirlBox->addWidget(m_lirl);
    top->addLayout(lirlBox);
    top->addStretch(1);
    auto* emblem = new Picture(QStringLiteral(":/pictures/emblem.svg"), this);
    emblem->setObjectName(QStringLiteral("Image2"));
    emblem->setFixedSize(60, 60);
    top->addWidget(emblem);

    m_pictureArea = new PictureArea(this);
    // The sash as typed, drawn live from the state.
    m_image1 = new SashView(*m_calc, m_pictureArea);
    m_image1->setObjectName(QStringLiteral("Image1"));
    m_image3 = new Picture(QStringLiteral(":/pictures/handles.svg"), m_pictureArea);
    m_image3->setObjectName(QStringLiteral("Image3"));
    m_grid = new QTableWidget(c.gridRowCount() - 1, 6, m_pictureArea);
    m_grid->setObjectName(QStringLiteral("StringGrid1"));
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->verticalHeader()->hide();
    m_grid->verticalHeader()->setDefaultSectionSize(20);
    m_grid->verticalHeader()->setMinimumSectionSize(20);
    m_grid->horizontalHeader()->setFixedHeight(20);
    m_grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    m_grid->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_grid->setStyleSheet(QStringLiteral("QHeaderView::section { background-color: #A6CAF0; border: 0px;"
                                         " border-right: 1px solid #7f9fc0; border-bottom: 1px solid #7f9fc0;"
                                         " padding-left: 3px; }"));
    m_grid->setWordWrap(false);
    m_grid->setTabKeyNavigation(false); // Tab goes on to the commands
    m_grid->raise();

    // Headers and widths follow the screen width.
    const int screen = screenWidth();
    m_grid->setHorizontalHeaderLabels(KitCalculator::gridHeaders(screen));
    for (int r = 0; r < m_grid->rowCount(); ++r)
        for (int col = 0; col < 6; ++col)
            m_grid->setItem(r, col, new QTableWidgetItem);
    m_designedWidths = KitCalculator::gridColumnWidths(screen);
    fitColumns(true);

    auto* bottom = new QHBoxLayout;
    m_panel1 = new CommandPanel(saveChangesCaption(), this);
    m_panel1->setObjectName(QStringLiteral("Panel1"));
    m_export = new CommandPanel(t::btExcel, this);
    m_export->setObjectName(QStringLiteral("ExportButton"));
    // The kit's quote, shown with "EXCEL" after a successful calculation.
    m_print = new CommandPanel(QStringLiteral("ПЕЧАТЬ"), this);
    m_print->setObjectName(QStringLiteral("PrintButton"));
    m_print->setMenu(quoteMenu(this, [this]() -> std::optional<Quote> {
        // Inputs changed since the calculation are calculated first, as for
        // "EXCEL"; a failed calculation leaves no kit to quote, and has said why.
        if (!m_calc->calculateIfChanged() && m_calc->lastCalculationFailed())
            return std::nullopt;
        return kitQuote(*m_calc, prices::documentLookup(), readCompanyDetails(QDir::currentPath()),
                        QDate::currentDate());
    }));
    m_sum = new CommandPanel(t::btSum, this);
    m_sum->setObjectName(QStringLiteral("SumButton"));
    m_close = new CommandPanel(t::btClose, this);
    m_close->setObjectName(QStringLiteral("bt_close"));
    bottom->addWidget(m_panel1);
    bottom->addStretch(1);
    bottom->addWidget(m_export);
    bottom->addWidget(m_print);
    bottom->addWidget(m_sum);
    bottom->addWidget(m_close);

    root->addWidget(m_panel, 0, 0, 2, 1);
    root->addWidget(m_rashet, 2, 0);
    root->addLayout(top, 0, 1);
    root->addWidget(m_pictureArea, 1, 1);
    root->addLayout(bottom, 2, 1);
    root->setColumnStretch(1, 1);
    root->setRowStretch(1, 1);

    // ---------------------------------------------------------------- a person's changes
    // Every widget signal goes to the state object, which decides what the
    // change does and whether the input takes it now.
    using In = KitCalculator::Input;
    const std::pair<SpinEdit*, In> spins[] = {
        {m_kolKomlektov, In::KolKomlektov}, {m_ral, In::RAL}, {m_ffh, In::FFH}, {m_ffb, In::FFB}, {m_gh, In::GH}};
    for (const auto& [spin, input] : spins) {
        connect(spin, &SpinEdit::clickedInto, this, [this, in = input] { m_calc->userClick(in); });
        connect(spin, &SpinEdit::textValueChanged, this, [this, in = input](int v) { m_calc->userChange(in, v); });
    }
    const std::pair<QComboBox*, In> choices[] = {
        {m_pol, In::PolStvorki}, {m_nazv, In::NazvSystemProfiles}, {m_rama, In::RamaType}, {m_tipRuchki, In::TipRuchki}};
    for (const auto& [list, input] : choices) {
        if (!list)
            continue;
        m_clickInputs.insert(list, input);
        list->installEventFilter(this);
        connect(list, &QComboBox::activated, this, [this, in = input](int i) { m_calc->userChange(in, i); });
    }
    forwardClicks(m_profilType, In::ProfilType);
    forwardClicks(m_weight, In::RadioGroup1);
    forwardClicks(m_ruchkaVcentre, In::RuchkaVcentre);
    forwardClicks(m_ruchkaOkon, In::RuchkaOkon);
    forwardClicks(m_provetrivatel, In::Provetrivatel);
    connect(m_panel2, &QPushButton::clicked, this, [this] { m_calc->Panel2Click(); });
    connect(m_lirl, &QLineEdit::textEdited, this, [this](const QString& s) { m_calc->userSetLirl(s); });
    connect(m_rashet, &QPushButton::clicked, this, [this] { m_calc->RashetButtonClick(); });
    connect(m_panel1, &QPushButton::clicked, this, [this] {
        const HeldSync held; // "Сохранить изменения" replays the whole order
        m_calc->Panel1Click();
    });
    connect(m_sum, &QPushButton::clicked, this, [this] { m_calc->SumButtonClick(); });
    connect(m_export, &QPushButton::clicked, this, [this] {
        runGuarded([this] { ExportButtonClick(*m_calc, prices::documentLookup()); });
    });
    connect(m_close, &QPushButton::clicked, this, &QWidget::close);

    connect(m_calc, &KitCalculator::changed, this, &CalculatorWindow::syncFromState);
    addKeys();
    syncFromState();

    // A fixed window as wide as the screen allows, at most 1000 pixels, and
    // as high as designed.
    setUpFixedWindow(this, {std::max(KitCalculator::windowWidth(screen), minimumSizeHint().width()), 546},
                     WindowGround::Style);
}

// A run of kits by keyboard: Enter in an input calculates, Ctrl+Enter adds
// the kit to the order.
void CalculatorWindow::addKeys()
{
    m_rashet->setToolTip(t::hintRashet);
    m_sum->setToolTip(t::hintSum);
    // Even a calculation that repeats the last one starts at the first part.
    connect(m_rashet, &QPushButton::clicked, m_grid, &QTableView::scrollToTop);
    for (const QKeySequence& keys : {QKeySequence(Qt::CTRL | Qt::Key_Return), QKeySequence(Qt::CTRL | Qt::Key_Enter)}) {
        auto* shortcut = new QShortcut(keys, this);
        // Only while the button is there to press.
        connect(shortcut, &QShortcut::activated, this, [this] {
            if (m_sum->isVisible() && m_sum->isEnabled())
                m_sum->click();
        });
    }
}

void CalculatorWindow::keyPressEvent(QKeyEvent* e)
{
    // The inputs leave Enter to their window; the commands take their own.
    const bool enter = e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter;
    QWidget* focus = focusWidget();
    if (enter && (e->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier && focus && m_panel->isAncestorOf(focus)) {
        if (m_rashet->isVisible() && m_rashet->isEnabled())
            m_rashet->click();
        e->accept();
        return;
    }
    QWidget::keyPressEvent(e);
}

void CalculatorWindow::showOpenedEntry()
{
    // The activation of this showing comes after the calculation: it counts
    // as done now, before it, as it happens when a window is shown at once.
    if (!isActiveWindow()) {
        m_calc->FormActivate();
        m_activationHandled = true;
    }
    show();
    if (isMinimized())
        showNormal();
    raise();
    activateWindow();
}

CalculatorWindow::HeldSync::HeldSync()
{
    ++syncHolds;
}

CalculatorWindow::HeldSync::~HeldSync()
{
    if (--syncHolds > 0)
        return;
    const QList<CalculatorWindow*> held = std::exchange(heldWindows(), {});
    for (CalculatorWindow* w : held) {
        w->m_syncHeld = false;
        w->syncFromState();
    }
}

void CalculatorWindow::syncFromState()
{
    if (syncHolds > 0) {
        if (!std::exchange(m_syncHeld, true))
            heldWindows().append(this);
        return;
    }
    const KitCalculator& c = *m_calc;
    m_kolKomlektov->showValue(c.kolKomlektov());
    m_ral->showValue(c.ral());
    showIndex(m_profilType, c.profilType());
    showIndex(m_weight, c.radioGroup1());
    m_weightGroup->setVisible(c.weightVisible());
    m_ffh->showValue(c.ffh());
    m_ffb->showValue(c.ffb());
    m_gh->showValue(c.gh());
    m_gh->setEnabled(c.ghEnabled());
    showChecked(m_ruchkaVcentre, c.ruchkaVcentre());
    if (m_pol)
        showComboIndex(m_pol, c.polStvorki());
    showComboIndex(m_system, c.systemProfiles());
    showComboIndex(m_nazv, c.nazvSystemProfiles());
    m_nazv->setVisible(c.nazvVisible());
    m_nazvLabel->setVisible(c.nazvVisible());
    showComboIndex(m_rama, c.ramaType());
    m_rama->setVisible(c.ramaTypeVisible());
    m_ramaLabel->setVisible(c.ramaTypeVisible());
    showChecked(m_ruchkaOkon, c.ruchkaOkon());
    showComboIndex(m_tipRuchki, c.tipRuchki());
    m_tipRuchki->setVisible(c.handleTypeVisible());
    m_panel2->setVisible(c.handleTypeVisible());
    showChecked(m_provetrivatel, c.provetrivatel());

    if (m_lirl->text() != c.lirlText())
        m_lirl->setText(c.lirlText());
    m_lirl->setVisible(c.lirlVisible());
    m_lirlLabel->setVisible(c.lirlVisible());
    m_image1->refresh();
    m_image1->setVisible(c.image1Visible());
    m_image3->setVisible(c.image3Visible());
    m_grid->setVisible(c.resultVisible());
    m_export->setVisible(c.commandsVisible());
    m_print->setVisible(c.commandsVisible());
    m_sum->setVisible(c.commandsVisible());
    m_panel1->setVisible(c.saveChangesVisible());
    m_panel1->setEnabled(c.saveChangesEnabled());
    syncGrid();
    syncExtras();
}

// The designed widths are the least a column gets: it widens where its header,
// a total of 100000 kits (seven digits) or a text it shows would be cut.
void CalculatorWindow::fitColumns(bool atCreation)
{
    QHeaderView* header = m_grid->horizontalHeader();
    header->ensurePolished();
    QStyleOptionViewItem cell;
    cell.initFrom(m_grid);
    cell.font = m_grid->font();
    // The grid line takes the last pixel of every cell.
    const int gridLine = m_grid->showGrid() ? 1 : 0;
    auto cellNeeds = [&](int row, int col) {
        return m_grid->itemDelegate()->sizeHint(cell, m_grid->model()->index(row, col)).width() + gridLine;
    };
    for (int col = 0; col < m_designedWidths.size(); ++col) {
        int width = atCreation ? m_designedWidths.at(col) : m_grid->columnWidth(col);
        if (atCreation) {
            QStyleOptionHeader opt;
            opt.initFrom(header);
            opt.section = col;
            opt.text = m_grid->horizontalHeaderItem(col)->text();
            opt.rect = QRect(0, 0, 1000, header->height());
            const QRect label = header->style()->subElementRect(QStyle::SE_HeaderLabel, &opt, header);
            width = std::max(width, opt.fontMetrics.horizontalAdvance(opt.text) + opt.rect.width() - label.width());
            if (col >= 3) {
                QTableWidgetItem* probe = m_grid->item(0, col);
                probe->setText(QStringLiteral("0000000"));
                width = std::max(width, cellNeeds(0, col));
                probe->setText(QString());
            }
        }
        for (int r = 0; r < m_grid->rowCount(); ++r)
            if (!m_grid->item(r, col)->text().isEmpty())
                width = std::max(width, cellNeeds(r, col));
        if (width != m_grid->columnWidth(col))
            m_grid->setColumnWidth(col, width);
    }
}

void CalculatorWindow::syncGrid()
{
    const KitCalculator& c = *m_calc;
    if (m_grid->rowCount() != c.gridRowCount() - 1) {
        const int old = m_grid->rowCount();
        m_grid->setRowCount(c.gridRowCount() - 1);
        for (int r = old; r < m_grid->rowCount(); ++r)
            for (int col = 0; col < 6; ++col)
                m_grid->setItem(r, col, new QTableWidgetItem);
    }
    bool changed = false;
    for (int r = 1; r < c.gridRowCount(); ++r) {
        const GridRow& row = c.gridRow(r);
        for (int col = 0; col < 6; ++col) {
            QTableWidgetItem* item = m_grid->item(r - 1, col);
            if (item->text() != row[col]) {
                item->setText(row[col]);
                changed = true;
            }
        }
    }
    // A new calculation is read from its first part.
    if (changed)
        m_grid->scrollToTop();
    // Measuring every cell is dear, and a replay of an order recalculates
    // hidden windows hundreds of times: a hidden window fits its columns when
    // it is shown.
    if (isVisible())
        fitColumns(false);
    else
        m_columnsStale = true;
}

} // namespace lir::gui
