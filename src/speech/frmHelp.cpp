#include "speech/frmHelp.h"

#include <QCloseEvent>
#include <QIcon>

#include "common/PictureControls.h"
#include "common/Twips.h"

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

struct LabelPlace {
    int left, top, width, height;
    const char16_t* text;
};

const LabelPlace kLabels[] = {
    {1080, 240, 3375, 615,
     u"單字精確查詢模式，最適合搜尋英文單字，搜尋時間快，預設鍵為Enter，按上鍵可找上回所輸入字串"},
    {1080, 1200, 3375, 855,
     u"所有字串查詢模式，最適合搜尋所有有關字串，很適用於漢譯英，但搜尋時間久，按上鍵可找上回所輸入"
     u"字串"},
    {1080, 2160, 3375, 495, u"英語發音模式，能發出標準英語口音，最適合不懂併音的朋友。"},
    {1080, 2640, 3375, 495, u"請先下載及安裝好以下2個Mircosoft發音引擎才能啟動本功能："},
    {1200, 3720, 1335, 255, u"[x] 離開程式"},
    {1200, 3960, 2295, 255, u"[-] 將程式縮小到常駐圖示"},
    {2400, 4560, 2055, 735, u"在常駐圖示，雙按後會顯示回字典，或按右鍵出現菜單選擇"},
};

}  // namespace

frmHelp::frmHelp(AppShared& shared)
    : QWidget(nullptr, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowCloseButtonHint),
      shared_(shared) {
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

    for (const LabelPlace& place : kLabels) {
        auto* label = new QLabel(QString::fromUtf16(place.text), this);
        label->setFont(labelFont());
        label->setWordWrap(true);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        label->setGeometry(twips(place.left, place.top, place.width, place.height));
        Label1 << label;
    }
    Line1 << line(this, 240, 4320, 3600) << line(this, 240, 4320, 960)
          << line(this, 240, 4320, 1920) << line(this, 240, 4320, 5400);

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

    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });
    shared_.load(this);
}

void frmHelp::Command1_Click() {
    startInstaller(QStringLiteral("/spchapi.exe"));
}
void frmHelp::Command2_Click() {
    startInstaller(QStringLiteral("/msttsl.exe"));
}

void frmHelp::startInstaller(const QString& name) {
    // Plain concatenation, as every file beside the program is named. A file that is missing
    // or will not start is the installer's matter: nothing is reported.
    shared_.services().programs.startProgram(shared_.programFolder() + name);
}

void frmHelp::closeEvent(QCloseEvent* event) {
    event->accept();
    shared_.unload(this);
}

}  // namespace qb
