#include "mainwin/frmMain.h"

#include <QApplication>
#include <QIcon>
#include <QKeyEvent>
#include <QMouseEvent>
#include <limits>

#include "common/KeyCodes.h"
#include "common/QtKeys.h"
#include "common/Twips.h"
#include "mainwin/gifmod.h"

namespace qb {
namespace {

const QColor kWindowColour(220, 209, 160);
const QColor kBoxColour(230, 222, 172);
const QColor kTextColour(128, 64, 0);
const QString kSkinPicture = QStringLiteral(":/skin.png");

QFont textBoxFont() {
    QFont font;
    // Courier first; the Traditional Chinese faces make sure every character has a glyph.
    font.setFamilies({QStringLiteral("Courier"), QStringLiteral("Courier New"),
                      QStringLiteral("Liberation Mono"), QStringLiteral("AR PL UMing TW"),
                      QStringLiteral("AR PL UMing"), QStringLiteral("WenQuanYi Zen Hei")});
    font.setPointSizeF(9.75);
    font.setWeight(QFont::Normal);
    return font;
}

void paintTextBox(QWidget* box) {
    QPalette pal = box->palette();
    pal.setColor(QPalette::Base, kBoxColour);
    pal.setColor(QPalette::Text, kTextColour);
    box->setPalette(pal);
    box->setFont(textBoxFont());
}

// Pictures go through QIcon so that the @2x drawings are used on dense screens.
QPixmap picture(const QString& name, QSize size) {
    return QIcon(QStringLiteral(":/") + name).pixmap(size);
}

}  // namespace

frmMain::frmMain(AppShared& shared, Library library)
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint),
      shared_(shared),
      behaviour_(*this, shared, shared.services().speech, std::move(library)) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(kApplicationTitle);
    setWindowIcon(programIcon());
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, kWindowColour);
    setPalette(pal);
    resize(twips(0, 0, 8160, 5670).size());
    // The skin box comes first: the start-up fits the window to it and cuts the window's
    // outline from its picture. The other controls are made once the window is on screen.
    pic1 = new PictureBox(this, pngPicture(kSkinPicture), palette().color(QPalette::Button));
    pic1->setObjectName(QStringLiteral("pic1"));
    pic1->setGeometry(twips(0, 0, 6975, 3615));
    pic1->setFrameShape(QFrame::Box);  // until the start-up fits it to its picture
    pic1->setFocusPolicy(Qt::TabFocus);
    connect(pic1, &PictureBox::pressed, this, &frmMain::pressedOnFace);
    shared_.setMainWindow(this);
    shared_.load(this);
}

frmMain::~frmMain() = default;

void frmMain::createControls() {
    // Created back to front, so that each control lies in front of those made before it.
    Text1 = new TextBox(pic1);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setGeometry(twips(480, 120, 1935, 2925));
    Text1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    paintTextBox(Text1);
    Text1->setFocusPolicy(Qt::ClickFocus);  // selected and copied, never reached by Tab
    Text1->setText(QStringView(kTitlePageText).toString());
    nameForScreenReaders(Text1, kAccessibleTitle);

    Command_Min = new PictureBox(pic1, picture(QStringLiteral("hide.png"), {14, 13}), kBoxColour);
    Command_Min->setObjectName(QStringLiteral("Command_Min"));
    Command_Min->setGeometry(twips(720, 2760, 255, 255));
    Command_Close =
        new PictureBox(pic1, picture(QStringLiteral("close.png"), {13, 13}), kBoxColour);
    Command_Close->setObjectName(QStringLiteral("Command_Close"));
    Command_Close->setGeometry(twips(480, 2760, 255, 255));
    Cmd_About = new PictureBox(pic1, picture(QStringLiteral("about.png"), {32, 32}), kBoxColour);
    Cmd_About->setObjectName(QStringLiteral("Cmd_About"));
    Cmd_About->setGeometry(twips(1800, 2400, 495, 495));
    Cmd_Help = new PictureBox(pic1, picture(QStringLiteral("help.png"), {32, 32}), kBoxColour);
    Cmd_Help->setObjectName(QStringLiteral("Cmd_Help"));
    Cmd_Help->setGeometry(twips(1200, 2400, 495, 495));
    for (PictureBox* box : {Command_Min, Command_Close, Cmd_About, Cmd_Help})
        box->setFocusPolicy(Qt::TabFocus);
    Command_Min->actAsButton(kAccessibleHide);
    Command_Close->actAsButton(kAccessibleClose);
    Cmd_About->actAsButton(kAccessibleAbout);
    Cmd_Help->actAsButton(kAccessibleHelp);

    Command_Submit = pictureButton(pic1, QStringLiteral("準確"), QStringLiteral("search.png"),
                                   {28, 28}, twips(530, 1440, 615, 735));
    Command_Submit->setObjectName(QStringLiteral("Command_Submit"));
    Command_AdvanSubmit =
        pictureButton(pic1, QStringLiteral("所有"), QStringLiteral("search_all.png"), {28, 28},
                      twips(1130, 1440, 615, 735));
    Command_AdvanSubmit->setObjectName(QStringLiteral("Command_AdvanSubmit"));
    Cmd_Voice = pictureButton(pic1, QStringLiteral("發音"), QStringLiteral("lips.png"), {38, 23},
                              twips(1730, 1440, 615, 735));
    Cmd_Voice->setObjectName(QStringLiteral("Cmd_Voice"));
    nameForScreenReaders(Command_Submit, kAccessibleSubmit);
    nameForScreenReaders(Command_AdvanSubmit, kAccessibleAdvancedSubmit);
    nameForScreenReaders(Cmd_Voice, kAccessibleVoice);

    Text_Output = new TextBox(this);
    Text_Output->setObjectName(QStringLiteral("Text_Output"));
    Text_Output->setGeometry(twips(2880, 130, 2055, 2950));
    Text_Output->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    paintTextBox(Text_Output);
    nameForScreenReaders(Text_Output, kAccessibleResult);

    Text_Input = new QLineEdit(this);
    Text_Input->setObjectName(QStringLiteral("Text_Input"));
    Text_Input->setGeometry(twips(600, 840, 1695, 375));
    Text_Input->setMaxLength(std::numeric_limits<int>::max());  // no limit on what is typed
    paintTextBox(Text_Input);
    nameForScreenReaders(Text_Input, kAccessibleInput);
    Text_Input->installEventFilter(this);

    // The speech control sits beyond the skin's edge and is never seen; the speaking itself
    // is the speech service's.
    DirectSS1 = new QWidget(this);
    DirectSS1->setObjectName(QStringLiteral("DirectSS1"));
    DirectSS1->setGeometry(twips(7440, 3240, 375, 375));

    connect(Command_Submit, &QToolButton::clicked, this,
            [this] { behaviour_.Command_Submit_Click(); });
    connect(Command_AdvanSubmit, &QToolButton::clicked, this,
            [this] { behaviour_.Command_AdvanSubmit_Click(); });
    connect(Command_Close, &PictureBox::clicked, this,
            [this] { behaviour_.Command_Close_Click(); });
    connect(Command_Min, &PictureBox::clicked, this, [this] { behaviour_.Command_Min_Click(); });
    connect(Cmd_About, &PictureBox::clicked, this, [this] { behaviour_.Cmd_About_Click(); });
    connect(Cmd_Voice, &QToolButton::clicked, this, [this] { behaviour_.Cmd_Voice_Click(); });
    connect(Cmd_Help, &PictureBox::clicked, this, [this] { behaviour_.Cmd_Help_Click(); });
    Cmd_Voice->installEventFilter(this);
    connect(Text_Output, &TextBox::pressed, this, &frmMain::pressedOnFace);
    connect(Text1, &TextBox::pressed, this, &frmMain::pressedOnFace);
}

void frmMain::setTabOrder() {
    const QList<QWidget*> order{
        Text_Output, Text_Input, pic1,     Text1,          Command_Min,         Command_Close,
        DirectSS1,   Cmd_About,  Cmd_Help, Command_Submit, Command_AdvanSubmit, Cmd_Voice};
    for (qsizetype i = 1; i < order.size(); ++i) QWidget::setTabOrder(order[i - 1], order[i]);
}

void frmMain::fitToSkin() {
    // Fit the skin box to its picture, without a border, and the window to the box.
    const QPixmap skin = pic1->pixmap();
    pic1->setFrameShape(QFrame::NoFrame);
    pic1->resize(skin.deviceIndependentSize().toSize());
    resize(pic1->size());
    // Cut away every pixel of the top-left pixel's colour, as the box shows the picture. The
    // picture as it was read, not the box's copy for the screen: its colour table makes the
    // drawing and the cutting light.
    const QImage drawn =
        gifmod::drawnOnBackground(pngImage(kSkinPicture), pic1->palette().color(QPalette::Window));
    shared_.services().shape.setShape(*this, gifmod::regionOf(gifmod::BuildPictureRegion(drawn)));
}

void frmMain::showWindow() {
    show();
    if (Text_Input != nullptr) return;
    // Made after the window is mapped and before the event loop paints it: the first paint
    // shows every control all the same, while the font database and the fonts that the
    // controls load no longer hold back the window's mapping.
    createControls();
    // Controls made while their parent is on screen wait to be shown.
    for (QWidget* parent : {static_cast<QWidget*>(this), static_cast<QWidget*>(pic1)})
        for (QWidget* control : parent->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            if (!control->testAttribute(Qt::WA_WState_ExplicitShowHide)) control->show();
    setTabOrder();
}

void frmMain::focusInput() {
    activateWindow();
    Text_Input->setFocus();
}

// As the tray menu's "show" brings the book back for another start of the program, without
// its click: the lookup that follows has its own.
void frmMain::comeForward() {
    shared_.services().placement.showRestored(*this);
    focusInput();
}

int frmMain::MsgBox(std::u16string_view text, int style) {
    return shared_.MsgBox(QStringView(text).toString(), style);
}

void frmMain::unload() {
    shared_.unload(this);
}

std::u16string frmMain::inputText() {
    return Text_Input->text().toStdU16String();
}

void frmMain::setInputText(std::u16string_view text) {
    Text_Input->setText(QStringView(text).toString());
}

void frmMain::setOutputText(std::u16string_view text) {
    Text_Output->setText(QStringView(text).toString());
}

bool frmMain::notificationAreaExists() {
    return shared_.services().tray.isAvailable();
}

void frmMain::minimizeToTaskbar() {
    shared_.services().placement.minimizeToTaskbar(*this);
}

void frmMain::beginMove(int Button) {
    shared_.services().move.beginMove(*this, pressedAt_, static_cast<Qt::MouseButton>(Button));
}

bool frmMain::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Text_Input && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const int code = virtualKeyCode(*key);
        if (code == kVirtualKeyUp) behaviour_.Text_Input_KeyDown(code);
        // The keys that type a carriage return: Return and the keypad's Enter, with or
        // without Shift; with Ctrl or Alt they type none.
        const bool typesCarriageReturn =
            code == kVirtualKeyReturn &&
            !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
        if (typesCarriageReturn) behaviour_.Text_Input_KeyPress(kCharacterCarriageReturn);
    }
    if (watched == Cmd_Voice && event->type() == QEvent::ToolTip)
        Cmd_Voice->setToolTip(QString::fromStdU16String(behaviour_.Cmd_Voice_ToolTip()));
    if (watched == Cmd_Voice && event->type() == QEvent::Enter) behaviour_.Cmd_Voice_MouseEnter();
    return false;  // every key goes on to the box's own handling
}

// Qt's buttons have the numbers the move takes: 1 left, 2 right, 4 middle.
void frmMain::pressedOnFace(QMouseEvent* event) {
    // A press reports its button; a drag that began as a move reports the buttons held.
    auto button = static_cast<unsigned>(event->button());
    if (button == Qt::NoButton) {
        const auto held = static_cast<unsigned>(event->buttons().toInt());
        button = held & (~held + 1);  // the lowest one
    }
    pressedAt_ = event->globalPosition().toPoint();
    behaviour_.Face_MouseDown(static_cast<int>(button));
}

}  // namespace qb
