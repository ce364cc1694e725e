// The macro editor: building its controls, their layout at the scale factor, their texts, and
// which of them work in which state.
#include "macro/ui/macrodialog.h"

#include "buttons/keycodes.h"
#include "macro/macrorecorder.h"
#include "macro/ui/kivmacroitemdelegate.h"
#include "macro/ui/kivtreewidget.h"
#include "macro/ui/macroactiontable.h"
#include "macro/ui/mousecommands.h"
#include "platform/keyboardhook.h"
#include "widgets/kivlabel.h"
#include "widgets/kivlineedit.h"
#include "widgets/kivpushbutton.h"
#include "widgets/theme.h"
#include "widgets/uiscale.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QGraphicsOpacityEffect>
#include <QIntValidator>
#include <QKeyEvent>
#include <QListWidget>
#include <QMenu>
#include <QPainter>

#include <vector>

namespace mc {

namespace {

constexpr int kMaxDelayField = 65535;
constexpr int kMaxLoopTime = 255;
constexpr qreal kDisabledOpacity = 0.35;

struct ToolLook
{
    const char *text;
    int x, y, w, h;
    bool icon; // an icon button: the text is its tool tip only
};

// Design geometry in the 665 x 467 editor: the macro list column on the left, the action table
// over the command tree and the tools on the right.
const ToolLook kTools[MacroDialog::kToolCount] = {
    {QT_TRANSLATE_NOOP("MacroDialog", "START"), 336, 262, 104, 24, false},
    {QT_TRANSLATE_NOOP("MacroDialog", "STOP"), 336, 262, 104, 24, false},
    {QT_TRANSLATE_NOOP("MacroDialog", "RECORD AFTER"), 445, 262, 104, 24, false},
    {QT_TRANSLATE_NOOP("MacroDialog", "INSERT DELAY"), 554, 262, 104, 24, false},
    {QT_TRANSLATE_NOOP("MacroDialog", "EDIT"), 336, 290, 60, 24, false},
    {QT_TRANSLATE_NOOP("MacroDialog", "DELETE"), 401, 290, 60, 24, false},
    {QT_TRANSLATE_NOOP("MacroDialog", "CLEAR"), 466, 290, 60, 24, false},
    {QT_TRANSLATE_NOOP("MacroDialog", "SAVE"), 531, 290, 60, 24, false},
    {QT_TRANSLATE_NOOP("MacroDialog", "CANCEL"), 596, 290, 62, 24, false},
    {QT_TRANSLATE_NOOP("MacroDialog", "MOVE UP"), 336, 318, 80, 24, false},
    {QT_TRANSLATE_NOOP("MacroDialog", "MOVE DOWN"), 420, 318, 90, 24, false},
    {QT_TRANSLATE_NOOP("MacroDialog", "TOP"), 514, 318, 70, 24, false},
    {QT_TRANSLATE_NOOP("MacroDialog", "BOTTOM"), 588, 318, 70, 24, false},
    {QT_TRANSLATE_NOOP("MacroDialog", "ADD"), 10, 376, 24, 24, true},
    {QT_TRANSLATE_NOOP("MacroDialog", "DELETE"), 38, 376, 24, 24, true},
    {QT_TRANSLATE_NOOP("MacroDialog", "CHANGE NAME"), 10, 56, 150, 24, false},
    {QT_TRANSLATE_NOOP("MacroDialog", "BATCH"), 66, 376, 94, 24, false},
    {QT_TRANSLATE_NOOP("MacroDialog", "IMPORT"), 10, 406, 73, 24, false},
    {QT_TRANSLATE_NOOP("MacroDialog", "EXPORT"), 87, 406, 73, 24, false},
    {QT_TRANSLATE_NOOP("MacroDialog", "GUN SET"), 10, 436, 150, 24, false},
};

const char *const kDelayTexts[2] = {
    QT_TRANSLATE_NOOP("MacroDialog", "RECORD DELAYS BETWEEN ACTION"),
    QT_TRANSLATE_NOOP("MacroDialog", "INSERT DEFAULT DELAY")};
const char *const kLoopTexts[3] = {
    QT_TRANSLATE_NOOP("MacroDialog", "LOOPS TIME(1-255)"),
    QT_TRANSLATE_NOOP("MacroDialog", "REPEAT RUN WHEN KEY DOWN"),
    QT_TRANSLATE_NOOP("MacroDialog", "REPEAT RUN UNTIL THE KEY DOWN")};

const QRect kNameCaption(10, 8, 150, 18);
const QRect kNameEdit(10, 28, 150, 24);
const QRect kList(10, 88, 150, 280);
const QRect kTable(168, 8, 490, 200);
const QRect kFit(168, 210, 490, 20);
const QRect kEditCaption(168, 234, 110, 22);
const QRect kEditValue(282, 234, 160, 22);
const QRect kEditNumber(282, 234, 80, 22);
const QRect kEditDistance(446, 234, 60, 22);
const QRect kTree(168, 262, 160, 198);
const QRect kDelayBoxes[2] = {{336, 348, 322, 20}, {336, 370, 250, 20}};
const QRect kDefaultDelay(598, 370, 60, 20);
const QRect kLoopBoxes[3] = {{336, 394, 250, 20}, {336, 416, 322, 20}, {336, 438, 322, 20}};
const QRect kLoopTime(598, 394, 60, 20);
// Where keys are recorded only from the editor's own window, a line says so under START; the
// table and the rows down to START give up its height.
const QRect kCaptureNote(336, 269, 322, 18);
constexpr int kNoteLift = 18;

void place(QWidget *w, const QRect &r)
{
    w->setGeometry(scaledRect(r.x(), r.y(), r.width(), r.height()));
}

QString fieldStyle()
{
    return QStringLiteral("QLineEdit{background-color:rgb(30,30,30);color:white;"
                          "border:1px solid rgb(78,80,90);padding:0px 2px;}"
                          "QLineEdit:disabled{color:rgb(110,110,110);}");
}

} // namespace

MacroDialog::MacroDialog(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("MacroDialog"));
    // The editor takes the focus while recording, so typed keys reach no field of its own.
    setFocusPolicy(Qt::StrongFocus);
    QPalette pal = palette();
    pal.setColor(QPalette::WindowText, Qt::white);
    setPalette(pal);
    m_unit = macro::delayUnit();
    m_prompts = macroDialogPrompts(this);
    m_recorder = new MacroRecorder(this);
    connect(m_recorder, &MacroRecorder::actionAppended, this, &MacroDialog::SelectRow);
    connect(m_recorder, &MacroRecorder::keyEdited, this, &MacroDialog::onKeyEdited);
    build();
    RetranslateUi();
    layoutParts();
    rebuildList(QString());
    setMode(Idle);
}

MacroDialog::~MacroDialog() = default;

void MacroDialog::build()
{
    m_nameCaption = new KivLabel(this);
    m_nameEdit = new KivLineEdit(this);
    m_nameEdit->setMaxLength(64);
    connect(m_nameEdit, &QLineEdit::returnPressed, this, [this] { onTool(ChangeName); });
    m_list = new QListWidget(this);
    m_list->setFocusPolicy(Qt::NoFocus);
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    connect(m_list, &QListWidget::currentRowChanged, this, &MacroDialog::CurrentChanged);

    m_table = new MacroActionTable(this);
    m_table->itemDelegate()->setDelayUnit(m_unit);
    connect(m_table, &MacroActionTable::actionsChanged, this, &MacroDialog::onActionsChanged);
    connect(m_table, &QAbstractItemView::pressed, this, &MacroDialog::KivItemPressed);
    m_fitLabel = new KivLabel(this);
    m_fitLabel->setSizeDecrement(1);
    QPalette warn = m_fitLabel->palette();
    warn.setColor(QPalette::WindowText, tooLongColour());
    m_fitLabel->setPalette(warn);

    m_tree = new KivTreeWidget(this);
    connect(m_tree, &QTreeWidget::itemClicked, this, &MacroDialog::TreeitemClick);

    if (!KeyboardHook::desktopWideCapture()) {
        m_captureNote = new KivLabel(this);
        m_captureNote->setSizeDecrement(1);
    }

    buildTools();
    buildSettings();
    buildEditPanel();
}

KivPushButton *MacroDialog::makeButton(Tool tool)
{
    const QStringList images =
        kTools[tool].icon ? QStringList{skinPath(tool == Add ? QStringLiteral("profile_add1.png")
                                                             : QStringLiteral("profile_del1.png")),
                                        skinPath(tool == Add ? QStringLiteral("profile_add2.png")
                                                             : QStringLiteral("profile_del2.png"))}
                          : QStringList{skinPath(QStringLiteral("tabbutton-1.png")),
                                        skinPath(QStringLiteral("tabbutton-3.png")),
                                        skinPath(QStringLiteral("tabbutton-2.png"))};
    auto *b = new KivPushButton(images, this);
    b->setFocusPolicy(Qt::NoFocus);
    if (kTools[tool].icon)
        b->setThemeHighlight(true);
    connect(b, &QPushButton::clicked, this, [this, tool] { onTool(tool); });
    return b;
}

void MacroDialog::buildTools()
{
    for (int t = 0; t < kToolCount; ++t)
        m_tools[size_t(t)] = makeButton(Tool(t));
    m_tools[Batch]->setCheckable(true);
}

QCheckBox *MacroDialog::makeCheckBox()
{
    auto *box = new QCheckBox(this);
    box->setFocusPolicy(Qt::NoFocus);
    useSkinIndicator(box);
    return box;
}

KivLineEdit *MacroDialog::makeField(int iMin, int iMax, int iDigits)
{
    auto *edit = new KivLineEdit(this);
    edit->setValidator(new QIntValidator(iMin, iMax, edit));
    edit->setMaxLength(iDigits);
    edit->setAlignment(Qt::AlignCenter);
    return edit;
}

void MacroDialog::buildSettings()
{
    for (int i = 0; i < 2; ++i) {
        m_delayBoxes[size_t(i)] = makeCheckBox();
        connect(m_delayBoxes[size_t(i)], &QCheckBox::clicked, this, &MacroDialog::checkbtn_clicked);
    }
    for (int i = 0; i < 3; ++i) {
        m_loopBoxes[size_t(i)] = makeCheckBox();
        connect(m_loopBoxes[size_t(i)], &QCheckBox::clicked, this, &MacroDialog::checkbtn_clicked);
    }
    // The validators let a field pass through shorter numbers while typing; the stored values
    // are clamped into the fields' ranges.
    m_defaultDelay = makeField(0, kMaxDelayField, 5);
    connect(m_defaultDelay, &QLineEdit::textEdited, this, &MacroDialog::DefDelayChanged);
    m_loopTime = makeField(0, kMaxLoopTime, 3);
    connect(m_loopTime, &QLineEdit::textEdited, this, &MacroDialog::LoopTimeChanged);
}

void MacroDialog::buildEditPanel()
{
    m_editCaption = new KivLabel(this);
    m_keyLabel = new KivLabel(this);
    m_keyLabel->setDarkBackground(true);
    m_keyLabel->setAlignment(Qt::AlignCenter);
    m_delayEdit = makeField(0, kMaxDelayField, 5);
    connect(m_delayEdit, &QLineEdit::textEdited, this, &MacroDialog::EditDelayChanged);
    m_distanceEdit = makeField(0, macro::kMaxMoveStep, 3);
    connect(m_distanceEdit, &QLineEdit::textEdited, this, &MacroDialog::EditMoveChanged);
    m_mouseActionBtn = new KivPushButton({skinPath(QStringLiteral("tabbutton-1.png")),
                                          skinPath(QStringLiteral("tabbutton-3.png")),
                                          skinPath(QStringLiteral("tabbutton-2.png"))},
                                         this);
    m_mouseActionBtn->setFocusPolicy(Qt::NoFocus);
    m_buttonMenu = new QMenu(this);
    for (int b = 0; b < mousecmd::kButtonCount; ++b) {
        QAction *a = m_buttonMenu->addAction(QString());
        connect(a, &QAction::triggered, this, [this, b] { onButtonChosen(b); });
    }
    m_moveMenu = new QMenu(this);
    for (int d = 0; d < mousecmd::kDirectionCount; ++d)
        m_moveMenu->addAction(QString())->setData(d);
    connect(m_moveMenu, &QMenu::triggered, this, &MacroDialog::mousemove_test);
    for (QWidget *w : std::initializer_list<QWidget *>{m_editCaption, m_keyLabel, m_delayEdit,
                                                       m_distanceEdit, m_mouseActionBtn})
        w->hide();
}

QCheckBox *MacroDialog::delayTypeBox(int iType) const
{
    return iType >= 1 && iType <= 2 ? m_delayBoxes[size_t(iType - 1)] : nullptr;
}

QCheckBox *MacroDialog::loopTypeBox(int iType) const
{
    return iType >= 1 && iType <= 3 ? m_loopBoxes[size_t(iType - 1)] : nullptr;
}

void MacroDialog::RetranslateUi()
{
    for (int t = 0; t < kToolCount; ++t) {
        const QString text = QCoreApplication::translate("MacroDialog", kTools[t].text);
        if (kTools[t].icon)
            m_tools[size_t(t)]->setToolTip(text);
        else
            m_tools[size_t(t)]->setText(text);
    }
    m_nameCaption->setText(QCoreApplication::translate("MacroDialog", "MACRO NAME"));
    if (m_captureNote) {
        m_captureNote->setText(QCoreApplication::translate(
            "MacroDialog", "ONLY KEYS TYPED IN THIS WINDOW ARE RECORDED."));
        m_captureNote->setToolTip(QCoreApplication::translate(
            "MacroDialog", "This desktop does not let a program see the keys typed into other "
                           "programs' windows: keep this window in front while recording."));
    }
    for (int i = 0; i < 2; ++i)
        m_delayBoxes[size_t(i)]->setText(
            QCoreApplication::translate("MacroDialog", kDelayTexts[i]));
    for (int i = 0; i < 3; ++i)
        m_loopBoxes[size_t(i)]->setText(QCoreApplication::translate("MacroDialog", kLoopTexts[i]));
    const QList<QAction *> buttons = m_buttonMenu->actions();
    for (int b = 0; b < buttons.size(); ++b)
        buttons.at(b)->setText(mousecmd::buttonName(b));
    const QList<QAction *> moves = m_moveMenu->actions();
    for (int d = 0; d < moves.size(); ++d)
        moves.at(d)->setText(mousecmd::directionName(mousecmd::Direction(d)));
    m_tree->retranslate();
    m_table->retranslate();
    m_table->itemDelegate()->setFrenchNames(useFrenchKeyNames());
    m_table->viewport()->update();
    updateFit();
}

QString MacroDialog::checkStyle(const QString &textColour)
{
    return QStringLiteral("QCheckBox{background:transparent;color:%1;spacing:%2px;}"
                          "QCheckBox:disabled{color:rgb(110,110,110);}"
                          "QCheckBox::indicator{width:%3px;height:%3px;}")
        .arg(textColour)
        .arg(scaled(6))
        .arg(scaled(14));
}

void MacroDialog::applyLook()
{
    const QFont font = sharedFont();
    const QColor t = themeColour();
    const QString check = checkStyle(QStringLiteral("white"));
    for (QCheckBox *b : m_delayBoxes) {
        setStyleOnce(b, check);
        b->setFont(font);
    }
    for (QCheckBox *b : m_loopBoxes) {
        setStyleOnce(b, check);
        b->setFont(font);
    }
    for (KivLineEdit *e : {m_nameEdit, m_defaultDelay, m_loopTime, m_delayEdit, m_distanceEdit}) {
        setStyleOnce(e, fieldStyle());
        e->setFont(font);
    }
    m_list->setFont(font);
    m_list->setIconSize(QSize(scaled(14), scaled(14)));
    m_list->setStyleSheet(
        QStringLiteral("QListWidget{background-color:rgb(24,25,30);color:white;"
                       "border:1px solid rgb(52,54,62);outline:0px;}"
                       "QListWidget::item{padding:%1px %2px;}"
                       "QListWidget::item:selected{background-color:rgba(%3,%4,%5,120);}"
                       "QListWidget::item:hover{background-color:rgb(45,47,55);}"
                       "QListWidget:disabled{color:rgb(110,110,110);}"
                       "QScrollBar:vertical{background:rgb(30,31,37);width:%6px;}"
                       "QScrollBar::handle:vertical{background:rgb(%3,%4,%5);}"
                       "QScrollBar::add-line:vertical,QScrollBar::sub-line:vertical"
                       "{height:0px;}")
            .arg(scaled(2))
            .arg(scaled(4))
            .arg(t.red())
            .arg(t.green())
            .arg(t.blue())
            .arg(scaled(8)));
    styleMenu(m_buttonMenu);
    styleMenu(m_moveMenu);
    for (QMenu *m : {m_buttonMenu, m_moveMenu})
        m->setFixedWidth(scaled(kEditValue.width()));
    m_table->applyScale();
    m_tree->applyScale();
}

void MacroDialog::layoutParts()
{
    const int lift = m_captureNote ? kNoteLift : 0;
    for (int t = 0; t < kToolCount; ++t) {
        const ToolLook &l = kTools[t];
        const int up = t <= InsertDelay ? lift : 0; // the row of START
        m_tools[size_t(t)]->setGeometry(scaledRect(l.x, l.y - up, l.w, l.h));
    }
    place(m_nameCaption, kNameCaption);
    place(m_nameEdit, kNameEdit);
    place(m_list, kList);
    place(m_table, kTable.adjusted(0, 0, 0, -lift));
    place(m_fitLabel, kFit.translated(0, -lift));
    place(m_tree, kTree.adjusted(0, -lift, 0, 0));
    if (m_captureNote)
        place(m_captureNote, kCaptureNote);
    for (int i = 0; i < 2; ++i)
        place(m_delayBoxes[size_t(i)], kDelayBoxes[i]);
    place(m_defaultDelay, kDefaultDelay);
    for (int i = 0; i < 3; ++i)
        place(m_loopBoxes[size_t(i)], kLoopBoxes[i]);
    place(m_loopTime, kLoopTime);
    place(m_editCaption, kEditCaption.translated(0, -lift));
    place(m_keyLabel, kEditValue.translated(0, -lift));
    place(m_mouseActionBtn, kEditValue.translated(0, -lift));
    place(m_delayEdit, kEditNumber.translated(0, -lift));
    place(m_distanceEdit, kEditDistance.translated(0, -lift));
    applyLook();
}

void MacroDialog::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    layoutParts();
}

void MacroDialog::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), QColor(33, 35, 35, 128));
    // A rule between the macro list column and the macro's own controls.
    p.setPen(QColor(52, 54, 62));
    const int x = scaled(164);
    p.drawLine(x, scaled(8), x, height() - scaled(8));
}

void MacroDialog::keyPressEvent(QKeyEvent *event)
{
    // Keys typed while recording belong to the recording, not to the editor.
    event->ignore();
}

void MacroDialog::keyReleaseEvent(QKeyEvent *event)
{
    event->ignore();
}

void MacroDialog::onTool(Tool tool)
{
    switch (tool) {
    case Start:
    case RecordAfter:
        startRecording(tool == RecordAfter);
        break;
    case Stop:
        stopRecording();
        break;
    case InsertDelay:
        insertDelay();
        break;
    case Edit:
        beginEdit();
        break;
    case DeleteAction:
        m_table->removeCurrent();
        break;
    case Clear:
        m_table->clearActions();
        break;
    case Save:
        endEdit(true);
        break;
    case Cancel:
        endEdit(false);
        break;
    case MoveUp:
        m_table->moveCurrent(m_table->currentAction() - 1);
        break;
    case MoveDown:
        m_table->moveCurrent(m_table->currentAction() + 1);
        break;
    case Top:
        m_table->moveCurrent(0);
        break;
    case Bottom:
        m_table->moveCurrent(m_table->count() - 1);
        break;
    case Add:
        addMacro();
        break;
    case DeleteMacro:
        deleteMacro();
        break;
    case ChangeName:
        renameMacro();
        break;
    case Batch:
        toggleBatch();
        break;
    case Import:
        importFiles();
        break;
    case Export:
        exportFiles();
        break;
    case GunSet:
        runGunSet();
        break;
    case kToolCount:
        break;
    }
}

void MacroDialog::setMode(Mode mode)
{
    const bool wasIdle = m_mode == Idle;
    m_mode = mode;
    applyEnabled();
    if (wasIdle != (mode == Idle))
        emit EnableButtonsSignal(mode == Idle);
}

void MacroDialog::applyEnabled()
{
    const bool idle = m_mode == Idle;
    for (int t = 0; t < kToolCount; ++t) {
        bool on = idle;
        if (t == Stop)
            on = m_mode == Recording;
        else if (t == Save || t == Cancel)
            on = m_mode != Recording;
        m_tools[size_t(t)]->setEnabled(on);
    }
    m_tools[Start]->setVisible(m_mode != Recording);
    m_tools[Stop]->setVisible(m_mode == Recording);
    for (QWidget *w : std::initializer_list<QWidget *>{m_nameEdit, m_list, m_table, m_tree,
                                                       m_defaultDelay, m_loopTime})
        w->setEnabled(idle);
    for (QCheckBox *b : m_delayBoxes)
        b->setEnabled(idle);
    for (QCheckBox *b : m_loopBoxes)
        b->setEnabled(idle);
    // The "+" and "-" images and the boxes' indicator images have no look of their own for a
    // control that takes no click: they are dimmed while it does not.
    std::vector<QWidget *> dimmed{m_tools[Add], m_tools[DeleteMacro]};
    dimmed.insert(dimmed.end(), m_delayBoxes.begin(), m_delayBoxes.end());
    dimmed.insert(dimmed.end(), m_loopBoxes.begin(), m_loopBoxes.end());
    for (QWidget *w : dimmed) {
        if (w->isEnabled()) {
            w->setGraphicsEffect(nullptr);
        } else if (!w->graphicsEffect()) {
            auto *dim = new QGraphicsOpacityEffect(w);
            dim->setOpacity(kDisabledOpacity);
            w->setGraphicsEffect(dim);
        }
    }
}

} // namespace mc
