#include "speech/frmHelp.h"

#include <QCloseEvent>
#include <QIcon>

#include "common/PictureControls.h"
#include "common/Twips.h"
#include "speech/HelpTexts.h"

namespace qb {
namespace {

// Labels: a face with a glyph for every character, sized so that each text fits its label
// at the layout's own size.
QFont labelFont() {
    QFont font;
    font.setFamilies({QStringLiteral("AR PL UMing TW"), QStringLiteral("AR PL UMing"),
                      QStringLiteral("WenQuanYi Zen Hei"), QStringLiteral("Noto Sans CJK TC")});
    font.setPixelSize(12);
    return font;
}

QLabel* image(QWidget* parent, const QString& name, const QRect& where) {
    auto* label = new QLabel(parent);
    label->setPixmap(QIcon(QStringLiteral(":/") + name).pixmap(where.size()));
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setGeometry(where);
    return label;
}

// A line of the layout, from (x1, y) to (x2, y) in twips, one pixel thick.
QFrame* line(QWidget* parent, int x1, int x2, int y) {
    auto* frame = new QFrame(parent);
    frame->setFrameShape(QFrame::HLine);
    frame->setFrameShadow(QFrame::Plain);
    frame->setLineWidth(1);
    const QRect at = twips(x1, y, x2 - x1, 0);
    frame->setGeometry(at.x(), at.y(), at.width() + 1, 1);
    return frame;
}

}  // namespace

frmHelp::frmHelp(AppShared& shared)
    : QWidget(nullptr, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowCloseButtonHint),
      shared_(shared),
      behaviour_(*this, shared.services().desktop(), shared.programFolder().toStdU16String()) {
    setObjectName(QStringLiteral("frmHelp"));
    setWindowTitle(QStringLiteral("Help"));
    setWindowIcon(programIcon());
    setFixedSize(twips(0, 0, 4695, 5625).size());

    Command_Submit = pictureButton(this, QStringLiteral("準確"), QStringLiteral("search.png"),
                                   {28, 28}, twips(240, 120, 615, 735));
    Command_AdvanSubmit =
        pictureButton(this, QStringLiteral("所有"), QStringLiteral("search_all.png"), {28, 28},
                      twips(240, 1080, 615, 735));
    Cmd_Voice = pictureButton(this, QStringLiteral("發音"), QStringLiteral("lips.png"), {38, 23},
                              twips(240, 2040, 615, 735));
    Command1 = new QPushButton(QStringLiteral("spchapi.exe"), this);
    Command1->setGeometry(twips(1080, 3120, 1575, 255));
    Command2 = new QPushButton(QStringLiteral("msttsl.exe"), this);
    Command2->setGeometry(twips(2760, 3120, 1575, 255));
    // Enter presses the focused push button, as Space does.
    for (QPushButton* button : {Command1, Command2}) button->setAutoDefault(true);
    Image1 = image(this, QStringLiteral("help_buttons.png"), twips(240, 3720, 765, 495));
    Image2 = image(this, QStringLiteral("help_tray.png"), twips(240, 4320, 2025, 960));
    const std::pair<QWidget*, AccessibleText> spoken[] = {
        {Command_Submit, kAccessibleSubmit},
        {Command_AdvanSubmit, kAccessibleAdvancedSubmit},
        {Cmd_Voice, kAccessibleVoice},
        {Command1, kAccessibleHelpDownloadSpeech},
        {Command2, kAccessibleHelpDownloadVoice}};
    for (const auto& [control, text] : spoken) nameForScreenReaders(control, text);
    // The pictures show the buttons and the tray icon that the labels beside them explain.
    for (QWidget* picture : {static_cast<QWidget*>(Image1), static_cast<QWidget*>(Image2)})
        silenceForScreenReaders(picture);

    for (const HelpLabel& place : kHelpLabels) {
        auto* label = new QLabel(QStringView(place.text).toString(), this);
        label->setFont(labelFont());
        label->setWordWrap(true);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        label->setGeometry(twips(place.left, place.top, place.width, place.height));
        Label1 << label;
    }
    for (const HelpLine& place : kHelpLines) {
        Line1 << line(this, place.x1, place.x2, place.y);
        silenceForScreenReaders(Line1.back());
    }

    const std::pair<QWidget*, const char*> names[] = {{Command_Submit, "Command_Submit"},
                                                      {Command_AdvanSubmit, "Command_AdvanSubmit"},
                                                      {Cmd_Voice, "Cmd_Voice"},
                                                      {Command1, "Command1"},
                                                      {Command2, "Command2"},
                                                      {Image1, "Image1"},
                                                      {Image2, "Image2"}};
    for (const auto& [widget, name] : names) widget->setObjectName(QLatin1String(name));
    for (qsizetype i = 0; i < Label1.size(); ++i)
        Label1[i]->setObjectName(QStringLiteral("Label1(%1)").arg(i));

    // The labels between them in the tab order take no focus and have no access keys.
    const QList<QWidget*> order{Command_Submit, Command_AdvanSubmit, Cmd_Voice, Command1, Command2};
    for (qsizetype i = 1; i < order.size(); ++i) QWidget::setTabOrder(order[i - 1], order[i]);

    connect(Command1, &QPushButton::clicked, this, [this] { behaviour_.Command1_Click(); });
    connect(Command2, &QPushButton::clicked, this, [this] { behaviour_.Command2_Click(); });
    shared_.load(this);
}

int frmHelp::MsgBox(std::u16string_view text, int style) {
    return shared_.MsgBox(QStringView(text).toString(), style, this);
}

void frmHelp::unload() {
    shared_.unload(this);
}

void frmHelp::closeEvent(QCloseEvent* event) {
    event->accept();
    behaviour_.closeBox_Click();
}

}  // namespace qb
