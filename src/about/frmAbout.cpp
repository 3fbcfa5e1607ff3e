#include "about/frmAbout.h"

#include <QCloseEvent>
#include <QIcon>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include "about/AboutTexts.h"
#include "common/PictureControls.h"
#include "common/QtKeys.h"
#include "common/Twips.h"

namespace qb {
namespace {

const QColor kLinkColour(0, 128, 0);

QString text(std::u16string_view fixed) {
    return QStringView(fixed).toString();
}

QFont arial(qreal points, QFont::Weight weight = QFont::Normal) {
    QFont font;
    // Liberation Sans has Arial's metrics, so the texts fill their labels as designed.
    font.setFamilies({QStringLiteral("Arial"), QStringLiteral("Liberation Sans")});
    font.setPointSizeF(points);
    font.setWeight(weight);
    return font;
}

}  // namespace

frmAbout::frmAbout(AppShared& shared)
    : QDialog(nullptr, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowCloseButtonHint),
      shared_(shared),
      behaviour_(*this, shared.services().desktop()) {
    setObjectName(QStringLiteral("frmAbout"));
    setWindowIcon(programIcon());
    setGeometry(twips(2340, 1935, 4890, 3540));
    setFixedSize(size());
    // Moves over the bare surface reach the window; each control keeps its own.
    setMouseTracking(true);
    createControls();
    shared_.load(this);
    behaviour_.Form_Load();
}

frmAbout::~frmAbout() = default;

void frmAbout::createControls() {
    auto label = [this](const char* name, const QRect& where, const QFont& font,
                        const QString& text = QString()) {
        auto* control = new QLabel(text, this);
        control->setObjectName(QString::fromLatin1(name));
        control->setGeometry(where);
        control->setFont(font);
        control->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        control->setAttribute(Qt::WA_NoMousePropagation);
        QPalette pal = control->palette();
        pal.setColor(QPalette::WindowText, Qt::black);
        control->setPalette(pal);
        return control;
    };
    const QFont small = arial(8.25);

    Image1 = label("Image1", twips(120, 240, 1500, 1620), small);
    Image1->setPixmap(QIcon(QStringLiteral(":/mascot.png")).pixmap(QSize(100, 108)));
    silenceForScreenReaders(Image1);
    lblTitle = label("lblTitle", twips(1800, 240, 3165, 480), arial(14.25, QFont::Bold));
    lblVersion[2] = label("lblVersion(2)", twips(3960, 360, 1095, 255), small, text(kAboutVersion));
    lblVersion[0] =
        label("lblVersion(0)", twips(1800, 720, 3375, 255), small, text(kAboutRequirement));
    lblVersion[3] =
        label("lblVersion(3)", twips(1800, 960, 3375, 255), small, text(kAboutDevelopment));
    lblVersion[1] =
        label("lblVersion(1)", twips(1800, 1320, 3375, 255), small, text(kAboutProgrammer));
    lblVersion[4] = label("lblVersion(4)", twips(1800, 1680, 3375, 255), small, text(kAboutNotice));
    QFont linkFont = arial(9);
    linkFont.setUnderline(true);
    Label3 = label("Label3", twips(1800, 2040, 2295, 255), linkFont, text(kAboutHomePageShown));
    QPalette linkPalette = Label3->palette();
    linkPalette.setColor(QPalette::WindowText, kLinkColour);
    Label3->setPalette(linkPalette);
    Label3->setFrameShadow(QFrame::Plain);
    Label3->setMouseTracking(true);
    Label3->installEventFilter(this);
    nameForScreenReaders(Label3, kAccessibleAboutHomePage);
    lblDisclaimer = label("lblDisclaimer", twips(120, 2520, 750, 225), small, text(kAboutWarning));
    label_warning = label("label_warning", twips(120, 2760, 3255, 855), arial(6.75));
    label_warning->setWordWrap(true);

    Line1[1] = {twips(105, 2445, 0, 0).topLeft(), twips(4920, 2445, 0, 0).topLeft(),
                QColor(128, 128, 128), 1};
    Line1[0] = {twips(105, 2460, 0, 0).topLeft(), twips(4920, 2460, 0, 0).topLeft(),
                QColor(255, 255, 255), 2};

    cmdOK = new QPushButton(QStringLiteral("Exit"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setGeometry(twips(3600, 2625, 1140, 345));
    cmdSysInfo = new QPushButton(QStringLiteral("System(&S)..."), this);
    cmdSysInfo->setObjectName(QStringLiteral("cmdSysInfo"));
    cmdSysInfo->setGeometry(twips(3600, 3075, 1125, 345));
    for (QPushButton* button : {cmdOK, cmdSysInfo}) {
        button->setFont(small);
        button->setAttribute(Qt::WA_NoMousePropagation);
    }
    nameForScreenReaders(cmdOK, kAccessibleAboutExit);
    nameForScreenReaders(cmdSysInfo, kAccessibleAboutSystemInfo);
    cmdOK->setDefault(true);
    QWidget::setTabOrder(cmdOK, cmdSysInfo);
    cmdOK->setFocus();

    connect(cmdOK, &QPushButton::clicked, this, [this] { behaviour_.cmdOK_Click(); });
    connect(cmdSysInfo, &QPushButton::clicked, this, [this] { behaviour_.cmdSysInfo_Click(); });
}

int frmAbout::MsgBox(std::u16string_view text, int style) {
    return shared_.MsgBox(QStringView(text).toString(), style, this);
}

void frmAbout::unload() {
    shared_.unload(this);
}

void frmAbout::setCaption(std::u16string_view text) {
    setWindowTitle(QStringView(text).toString());
}
void frmAbout::setTitle(std::u16string_view text) {
    lblTitle->setText(QStringView(text).toString());
}
void frmAbout::setDisclaimer(std::u16string_view text) {
    label_warning->setText(QStringView(text).toString());
}

void frmAbout::showLinkBorder(bool shown) {
    Label3->setFrameShape(shown ? QFrame::Box : QFrame::NoFrame);
}

bool frmAbout::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Label3) {
        if (event->type() == QEvent::MouseMove) behaviour_.Label3_MouseMove();
        // A click: the left button released over the link it went down on.
        if (event->type() == QEvent::MouseButtonRelease) {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() == Qt::LeftButton &&
                Label3->rect().contains(mouse->position().toPoint()))
                behaviour_.Label3_Click();
        }
    }
    return false;
}

void frmAbout::mouseMoveEvent(QMouseEvent*) {
    behaviour_.Form_MouseMove();
}

void frmAbout::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    // The white line first: the grey one lies on it and the two together look cut in.
    for (const Line& line : {Line1[0], Line1[1]})
        painter.fillRect(QRect(line.from, QSize(line.to.x() - line.from.x(), line.width)),
                         line.colour);
}

void frmAbout::keyPressEvent(QKeyEvent* event) {
    if (behaviour_.Form_KeyDown(virtualKeyCode(*event), shiftState(*event))) return;
    QDialog::keyPressEvent(event);
}

void frmAbout::closeEvent(QCloseEvent* event) {
    // The close box unloads the window as Exit does.
    behaviour_.cmdOK_Click();
    event->accept();
}

}  // namespace qb
